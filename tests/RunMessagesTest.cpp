// How tessel-cli words a run's errors and cut-offs: one exact line per
// kind of error, the file's name as given, and one per way a run is cut
// off.

#include "RunMessages.h"

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

struct WordingCase {
  std::string name;
  RunError error;
  std::string text;
};

std::ostream& operator<<(std::ostream& out, const WordingCase& c) {
  return out << c.name;
}

class RunErrorTextTest : public ::testing::TestWithParam<WordingCase> {};

TEST_P(RunErrorTextTest, IsTheExactLine) {
  EXPECT_EQ(cli::RunErrorText(GetParam().error), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunErrorTextTest,
    ::testing::Values(
        WordingCase{"source not opened",
                    {RunErrorKind::kOpenFailed, RunFile::kSource2, "甲 b"},
                    "錯誤 : 甲 b 檔案開啟失敗."},
        WordingCase{"memo file not opened",
                    {RunErrorKind::kOpenFailed, RunFile::kMemoFile, "m"},
                    "錯誤 : m 檔案開啟失敗."},
        // The ignored-symbol file alone has no blank before the rest.
        WordingCase{"sign file not opened",
                    {RunErrorKind::kOpenFailed, RunFile::kSignFile, "s"},
                    "錯誤 : s檔案開啟失敗."},
        WordingCase{"sign file not read",
                    {RunErrorKind::kReadFailed, RunFile::kSignFile, "s"},
                    "錯誤 : s 檔案讀取失敗."},
        WordingCase{"source not read",
                    {RunErrorKind::kReadFailed, RunFile::kSource1, "a"},
                    "錯誤 : a 檔案讀取失敗."},
        WordingCase{"output not written",
                    {RunErrorKind::kWriteFailed, RunFile::kDifference, "d"},
                    "錯誤 : d 檔案寫入失敗."},
        WordingCase{"output would overwrite",
                    {RunErrorKind::kWouldOverwrite, RunFile::kResult3, "./r"},
                    "錯誤 : ./r 與來源檔或其他輸出檔相同, 不可覆蓋."},
        WordingCase{"out of memory",
                    {RunErrorKind::kOutOfMemory, RunFile::kNone, ""},
                    "錯誤：記憶體配置失敗, 程式結束！"}),
    [](const auto& info) { return RowName(info.param.name); });

// Which look-ahead the line names, and what it suggests, turns on the
// options and on the look-ahead the run reached.
TEST(CutOffTextTest, NamesTheLookAheadAndWhatToTry) {
  struct Row {
    const char* name;
    RunOutcome outcome;
    bool auto_window;
    std::int32_t max_window;
    std::int32_t reached;
    std::string text;
  };
  const std::string none =
      "cut off: no common stretch within the look-ahead of ";
  for (const Row& row : {
           Row{"fixed window", RunOutcome::kCutOffNoAnchor, false, 0, 300,
               none + "300 characters; try --window auto"},
           Row{"auto at a MAX that may grow", RunOutcome::kCutOffNoAnchor, true,
               6400, 6400,
               none + "6400 characters, the largest allowed; try a larger MAX "
                      "in --window auto:MAX (at most 16777216)"},
           Row{"auto at the most allowed", RunOutcome::kCutOffNoAnchor, true,
               kMostAutoMaxWindow, kMostAutoMaxWindow,
               none + "16777216 characters"},
           // Every look-ahead ended below MAX: nothing larger would help.
           Row{"auto below its MAX", RunOutcome::kCutOffNoAnchor, true, 6400,
               1600, none + "1600 characters"},
           Row{"difference limit", RunOutcome::kCutOffLimit, true, 6400, 400,
               "cut off: the limit of 12 differences was reached"},
       }) {
    RunOptions options;
    options.window_size = 300;
    options.auto_window = row.auto_window;
    options.max_window = row.max_window;
    options.diff_limit = 12;
    RunStatus status;
    status.outcome = row.outcome;
    status.reached_window = row.reached;
    EXPECT_EQ(cli::CutOffText(status, options), row.text) << row.name;
  }
}

struct TableWordingCase {
  const char* name;
  VariantTableError::Kind kind;
  const char* file;
  std::size_t line;
  const char* text;
};

class VariantTableErrorTextTest
    : public ::testing::TestWithParam<TableWordingCase> {};

TEST_P(VariantTableErrorTextTest, NamesTheTableAndLine) {
  const TableWordingCase& c = GetParam();
  VariantTableError error;
  error.kind = c.kind;
  error.file = c.file;
  error.line = c.line;
  EXPECT_EQ(cli::VariantTableErrorText(error), c.text);
}

using TableKind = VariantTableError::Kind;
INSTANTIATE_TEST_SUITE_P(
    Cases, VariantTableErrorTextTest,
    ::testing::Values(
        TableWordingCase{"empty item", TableKind::kEmptyName, "", 0,
                         "錯誤 : 異體字表清單有空項目."},
        TableWordingCase{"not read", TableKind::kCannotRead, "甲.txt", 0,
                         "錯誤 : 異體字表 甲.txt 檔案開啟失敗."},
        TableWordingCase{"bad encoding", TableKind::kBadEncoding, "t", 12,
                         "錯誤 : 異體字表 t 第 12 行 不是 UTF-8 或 Big5 文字."},
        TableWordingCase{"control character", TableKind::kControlCharacter, "t",
                         1, "錯誤 : 異體字表 t 第 1 行 含有控制字元."},
        TableWordingCase{"too large", TableKind::kTooLarge, "big", 0,
                         "錯誤 : 異體字表 big 檔案過大 (至多 16 MiB)."}),
    [](const auto& info) { return RowName(info.param.name); });

}  // namespace
}  // namespace tessel::testing
