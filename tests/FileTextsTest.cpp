// The Big5 texts written into files, checked against an independent
// encoder: glibc's iconv with code page 950.

#include "FileTexts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "SignSet.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

std::string ToCp950(const std::string& utf8) {
  iconv_t cd = iconv_open("CP950", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "iconv has no CP950";
  std::string in = utf8;
  std::string out(in.size() * 2 + 8, '\0');
  char* inp = in.data();
  char* outp = out.data();
  std::size_t inleft = in.size(), outleft = out.size();
  const std::size_t done = iconv(cd, &inp, &inleft, &outp, &outleft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) return "not encodable";
  out.resize(out.size() - outleft);
  return out;
}

struct TextCase {
  std::string_view big5;
  std::string utf8;
};

class FileTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(FileTextsTest, AreTheCodePage950Bytes) {
  const TextCase& c = GetParam();
  EXPECT_EQ(BytesText(c.big5), BytesText(ToCp950(c.utf8))) << c.utf8;
}

// The rows below, in order.
const char* const kRowNames[] = {
    "end_line",      "closing_start",   "closing_middle", "closing_interrupted",
    "closing_ended", "closing_reached", "default_signs"};

INSTANTIATE_TEST_SUITE_P(
    Cases, FileTextsTest,
    ::testing::Values(TextCase{file_texts::kEndLine,
                               "\n====== 檔案比對結束 ======\n\n"},
                      TextCase{file_texts::kClosingStart, "====== 檔案 "},
                      TextCase{file_texts::kClosingMiddle, " 比對至 "},
                      TextCase{file_texts::kClosingInterrupted,
                               " 行中斷, 該檔案尚未結束... ======"},
                      TextCase{file_texts::kClosingEnded,
                               " 行結束, 該檔案已經結束.   ======"},
                      TextCase{kDefaultSigns, " 　0123456789\nTn_pabc║\n"}),
    [](const auto& info) { return std::string(kRowNames[info.index]); });

}  // namespace
}  // namespace tessel::testing
