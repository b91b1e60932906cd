// The ignored-symbol set, from a file and from the memo.

#include "SignSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SignFile.h"
#include "TestSupport.h"
#include "TokenReader.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

// Codes worth asking about: every single byte, a few double-byte
// characters, the first notations.
std::vector<Code> Probes() {
  std::vector<Code> probes;
  for (Code c = 256; c < 512; ++c) probes.push_back(c);
  for (Code c : {0xA140u, 0xA144u, 0xA4A4u, 0xF9F8u, 0xA15Du, 0x41A4u}) {
    probes.push_back(c);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    probes.push_back(NotationTable::CodeOfIndex(i));
  }
  return probes;
}

// The ignored probes beyond the control bytes, as text.
std::string IgnoredText(const SignSet& set) {
  std::vector<Code> ignored;
  for (Code code : Probes()) {
    if (code > kLastControl && set.IsIgnored(code)) ignored.push_back(code);
  }
  return CodesText(ignored);
}

struct FileCase {
  std::string bytes;
  bool fold;
  std::string ignored;
};

class LoadSignFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(LoadSignFileTest, TakesEveryCharacterButLineEnds) {
  const FileCase& c = GetParam();
  NotationTable notations;
  SignSet set;
  TokenReader reader(notations, set, c.fold);
  auto file = SourceStream::FromBytes(c.bytes);
  LoadSignFile(reader, *file, set);
  EXPECT_EQ(IgnoredText(set), c.ignored) << BytesText(c.bytes);
  // The control bytes and the end are always ignored, whatever the set.
  for (Code code : {0u, 256u, 265u, 266u, 269u, 287u}) {
    EXPECT_TRUE(set.IsIgnored(code)) << code << " " << BytesText(c.bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadSignFileTest,
    ::testing::Values(
        FileCase{"", true, ""}, FileCase{"\r\n\n\r", true, ""},
        FileCase{"\xA1\x40 \r\nA\nA", true, "0120 0141 A140"},
        // 0x1A ends the file; a NUL ends the set.
        FileCase{"A\x1A"
                 "B",
                 true, "0141"},
        FileCase{"A\0B"s, true, "0141"},
        // Folded, a notation is one symbol; unfolded, its bytes are.
        FileCase{"[xx]", true, "0228"},
        FileCase{"[xx]", false, "015B 015D 0178"},
        FileCase{"\xA1\x5D", true, "A15D"}),
    [](const auto& info) {
      return BytesName(info.index, info.param.bytes) +
             (info.param.fold ? "_fold" : "_nofold");
    });

TEST(LoadSignFileTest, NotationsAfterANulStillEnterTheTable) {
  NotationTable notations;
  SignSet set;
  TokenReader reader(notations, set, true);
  auto file = SourceStream::FromBytes("[a]\0[b]"s);
  LoadSignFile(reader, *file, set);
  EXPECT_EQ(notations.size(), 2u);
  EXPECT_TRUE(set.IsIgnored(NotationTable::CodeOfIndex(0)));
  EXPECT_FALSE(set.IsIgnored(NotationTable::CodeOfIndex(1)));
}

struct MemoCase {
  std::string text;
  std::string ignored;
};

class LoadSignMemoTest : public ::testing::TestWithParam<MemoCase> {};

TEST_P(LoadSignMemoTest, TakesBytesAndPairs) {
  const MemoCase& c = GetParam();
  SignSet set;
  set.LoadSignMemo(c.text);
  EXPECT_EQ(IgnoredText(set), c.ignored) << BytesText(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadSignMemoTest,
    ::testing::Values(
        MemoCase{"", ""},
        // The defaults: space, full-width space, digits, T n _ p a b c, the
        // double bar.
        MemoCase{std::string(kDefaultSigns),
                 "0120 0130 0131 0132 0133 0134 0135 0136 0137 0138 0139 "
                 "0154 015F 0161 0162 0163 016E 0170 A140 F9F8"},
        // Never folded.
        MemoCase{"[xx]", "015B 015D 0178"},
        // A high byte takes the next byte along, whatever it is.
        MemoCase{"\xA4\xA4\xA1", "A4A4"}, MemoCase{"\xA1\r\n", ""},
        // A NUL, or a high byte before one, ends the set.
        MemoCase{"A\0B"s, "0141"}, MemoCase{"A\xA4\0B"s, "0141"},
        // "A", then A4 41: the bytes 41 A4 straddle two entries, which
        // never counts although 0x41A4 is a notation code.
        MemoCase{"A\xA4\x41", "0141"}),
    [](const auto& info) { return BytesName(info.index, info.param.text); });

TEST(SignSetTest, DefaultSymbolsAreTheTwentyFourBytes) {
  EXPECT_EQ(kDefaultSigns.size(), 24u);
  EXPECT_EQ(BytesText(kDefaultSigns), " <A1>@0123456789\\nTn_pabc<F9><F8>\\n");
}

}  // namespace
}  // namespace tessel::testing
