// The token reader: codes, positions, notation folding and copying.

#include "TokenReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OutputStream.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

// Bytes that a code stands for, as the search steps back over it: a high
// byte that swallowed a NUL stands for two.
std::int64_t StepBack(const TokenReader& reader, Code code, bool took_nul) {
  if (IsSingleByteCode(code)) return took_nul ? 2 : 1;
  if (IsDoubleByteCode(code)) return 2;
  return static_cast<std::int64_t>(reader.TokenLength(code));
}

struct ReadCase {
  std::string input;
  bool fold;
  std::string codes;  // the codes read, one more 0 than the input holds
};

class ReadTokenTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadTokenTest, YieldsCodesAndStandsAfterEach) {
  const ReadCase& c = GetParam();
  NotationTable notations;
  SignSet signs;
  TokenReader reader(notations, signs, c.fold);
  auto src = SourceStream::FromBytes(c.input);
  std::vector<Code> codes;
  // Read until two zeros in a row: a 0x1A yields 0 and goes on after it.
  for (int zeros = 0; zeros < 2 && codes.size() < 400;) {
    const std::int64_t before = src->Tell();
    const Code code = reader.ReadToken(*src);
    codes.push_back(code);
    zeros = code == 0 ? zeros + 1 : 0;
    if (code != 0) {
      const bool took_nul = code >= 384 && code < 512 &&
                            before + 2 == src->Tell() &&
                            c.input[static_cast<std::size_t>(before) + 1] == 0;
      EXPECT_EQ(src->Tell() - StepBack(reader, code, took_nul), before)
          << "code " << CodesText({code}) << " in " << BytesText(c.input);
    }
  }
  EXPECT_EQ(CodesText(codes), c.codes) << BytesText(c.input);
}

const std::string k98Letters(98, 'q');
const std::string k18Letters(18, 'q');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTokenTest,
    ::testing::Values(
        ReadCase{"", true, "0000 0000"},
        ReadCase{"AB", true, "0141 0142 0000 0000"},
        ReadCase{"\r\n", true, "010D 010A 0000 0000"},
        ReadCase{"\xA4\xA4", true, "A4A4 0000 0000"},
        // A high byte before a line end keeps the line end unread.
        ReadCase{"\xA4\n", true, "01A4 010A 0000 0000"},
        ReadCase{"\xA4\r", true, "01A4 010D 0000 0000"},
        ReadCase{"\xA4\x1A"
                 "B",
                 true, "01A4 0000 0142 0000 0000"},
        // A high byte at the very end is dropped.
        ReadCase{"\xA4", true, "0000 0000"},
        ReadCase{"A\xA4", true, "0141 0000 0000"},
        // A high byte swallows a NUL after it.
        ReadCase{"\xA4\0x"s, true, "01A4 0178 0000 0000"},
        // Every byte 0x80..0xFF is a first byte, not only the lead bytes.
        ReadCase{"\x80\x41\xFF\x40", true, "8041 FF40 0000 0000"},
        // 0x1A ends the source, and the next call goes on after it.
        ReadCase{"A\x1A"
                 "B",
                 true, "0141 0000 0142 0000 0000"},
        ReadCase{"\x1A\x1A", true, "0000 0000"},
        ReadCase{"\0\t"s, true, "0100 0109 0000 0000"},

        ReadCase{"[ab]c", true, "0228 0163 0000 0000"},
        ReadCase{"[ab]c", false, "015B 0161 0162 015D 0163 0000 0000"},
        ReadCase{"&x-1234;", false,
                 "0126 0178 012D 0131 0132 0133 0134 013B "
                 "0000 0000"},
        // A second opener before the closer: the first is ordinary.
        ReadCase{"[a[b]", true, "015B 0161 0228 0000 0000"},
        // The closer must stand on the same line.
        ReadCase{"[a\n]", true, "015B 0161 010A 015D 0000 0000"},
        ReadCase{"[a\r]", true, "0228 0000 0000"},
        // The lookahead ends at a NUL.
        ReadCase{"[a\0]"s, true, "015B 0161 0100 015D 0000 0000"},
        // Empty inside, and the other kind inside.
        ReadCase{"[]&;", true, "0228 0229 0000 0000"},
        ReadCase{"[&x-1234;]", true, "0228 0000 0000"},
        ReadCase{"&amp;", true, "0228 0000 0000"},
        ReadCase{"&a&b;", true, "0126 0161 0228 0000 0000"},
        // Longest notations: 100 bytes with "[", 20 with "&".
        ReadCase{std::string("[") + k98Letters + "]", true, "0228 0000 0000"},
        ReadCase{std::string("&") + k18Letters + ";", true, "0228 0000 0000"},
        // A closer that is a second byte does not close.
        ReadCase{"[\xA4]x", true, "015B A45D 0178 0000 0000"},
        ReadCase{"[\xA4]]", true, "0228 0000 0000"},
        ReadCase{"&\xA4;x", true, "0126 A43B 0178 0000 0000"},
        // 0x80 and 0xFF are not lead bytes of code page 950.
        ReadCase{"[\x80]", true, "0228 0000 0000"},
        // An opener as the last byte, or without a closer.
        ReadCase{"[", true, "015B 0000 0000"},
        ReadCase{"A&", true, "0141 0126 0000 0000"},
        ReadCase{"[ab", true, "015B 0161 0162 0000 0000"},
        // A notation before a 0x1A, and a 0x1A inside a lookahead.
        ReadCase{"[a]\x1A"
                 "b",
                 true, "0228 0000 0162 0000 0000"},
        ReadCase{"[a\x1A]", true, "0228 0000 0000"}),
    [](const auto& info) {
      return BytesName(info.index, info.param.input) +
             (info.param.fold ? "_fold" : "_nofold");
    });

TEST(ReadTokenTest, LookaheadLimitsAreExact) {
  const std::string too_long_bracket =
      std::string("[") + std::string(99, 'q') + "]";
  const std::string too_long_entity =
      std::string("&") + std::string(19, 'q') + ";";
  for (const std::string& input : {too_long_bracket, too_long_entity}) {
    NotationTable notations;
    SignSet signs;
    TokenReader reader(notations, signs, true);
    auto src = SourceStream::FromBytes(input);
    EXPECT_EQ(reader.ReadToken(*src),
              256u + static_cast<unsigned char>(input[0]))
        << input;
    EXPECT_EQ(src->Tell(), 1) << input;
    EXPECT_EQ(notations.size(), 0u) << input;
  }
}

TEST(NotationTableTest, CodesFollowTheIndex) {
  EXPECT_EQ(NotationTable::CodeOfIndex(0), 552u);
  EXPECT_EQ(NotationTable::CodeOfIndex(199), 751u);
  EXPECT_EQ(NotationTable::CodeOfIndex(200), 808u);
  EXPECT_EQ(NotationTable::CodeOfIndex(25199), 32751u);
  for (std::size_t i : {0u, 1u, 199u, 200u, 12345u, 25199u}) {
    EXPECT_EQ(NotationTable::IndexOfCode(NotationTable::CodeOfIndex(i)), i);
  }
}

TEST(NotationTableTest, MatchesAsciiLettersWithoutRegardToCase) {
  NotationTable table;
  EXPECT_EQ(table.InternNotation("[AB]"), 552u);
  EXPECT_EQ(table.InternNotation("[ab]"), 552u);
  EXPECT_EQ(table.InternNotation("[aB]"), 552u);
  EXPECT_EQ(table.NotationText(552), "[AB]");
  // A second byte that looks like a letter is part of its character.
  EXPECT_EQ(table.InternNotation("[\xA4"
                                 "a]"),
            553u);
  EXPECT_EQ(table.InternNotation("[\xA4"
                                 "A]"),
            554u);
  // Only A-Z and a-z fold.
  EXPECT_EQ(table.InternNotation("[\xC3]"), 555u);
  EXPECT_EQ(table.InternNotation("[\xE3]"), 556u);
  EXPECT_EQ(table.size(), 5u);
}

TEST(NotationTableTest, AFullTableLeavesTheOpenerOrdinary) {
  NotationTable notations;
  for (std::size_t i = 0; i < NotationTable::kCapacity; ++i) {
    std::string text = "&";
    text += std::to_string(i);
    text += ';';
    notations.InternNotation(text);
  }
  SignSet signs;
  TokenReader reader(notations, signs, true);
  auto src = SourceStream::FromBytes("&new;&7;");
  EXPECT_EQ(CodesText({reader.ReadToken(*src)}), "0126");
  EXPECT_EQ(src->Tell(), 1);
  src->Seek(5);
  // Notations already in the table still fold.
  EXPECT_EQ(reader.ReadToken(*src), NotationTable::CodeOfIndex(7));
  EXPECT_EQ(notations.size(), NotationTable::kCapacity);
}

TEST(NotationTableTest, CodesCarryOverFromReaderToReader) {
  NotationTable notations;
  SignSet signs;
  {
    TokenReader first(notations, signs, true);
    auto src = SourceStream::FromBytes("[x][Y]");
    first.ReadToken(*src);
    first.ReadToken(*src);
  }
  TokenReader second(notations, signs, true);
  auto src = SourceStream::FromBytes("[y][X]");
  EXPECT_EQ(CodesText({second.ReadToken(*src), second.ReadToken(*src)}),
            "0229 0228");
}

struct CopyCase {
  std::string input;
  std::int64_t start;
  std::int64_t count;
  std::string written;
  std::int64_t stands_at;
};

class CopySourceTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopySourceTest, CopiesCountedCharactersAndWhatLiesBetween) {
  const CopyCase& c = GetParam();
  NotationTable notations;
  notations.InternNotation("[AB]");
  SignSet signs;
  signs.LoadSignMemo(" ,");
  TokenReader reader(notations, signs, true);
  auto src = SourceStream::FromBytes(c.input);
  std::string sink;
  auto out = OutputStream::ToString(&sink, OutputStream::Mode::kBinary);
  const std::size_t written = reader.CopySource(*src, c.start, c.count, *out);
  out->Close();
  EXPECT_EQ(BytesText(sink), BytesText(c.written)) << BytesText(c.input);
  EXPECT_EQ(written, c.written.size()) << BytesText(c.input);
  EXPECT_EQ(src->Tell(), c.stands_at) << BytesText(c.input);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopySourceTest,
    ::testing::Values(
        // Ignored before and between are copied, after the last are not.
        CopyCase{" A, B ,C", 0, 4, " A, B", 5},
        CopyCase{" A, B ,C", 2, 2, ", B", 5}, CopyCase{"ABC", 1, 0, "", 1},
        CopyCase{"ABC", 1, -2, "", 1},
        // A notation is written in its stored form.
        CopyCase{"x[ab]y", 1, 2, "[AB]", 5},
        CopyCase{"\xA4\xA4\xA5\xA5", 0, 4, "\xA4\xA4\xA5\xA5", 4},
        // The NUL after a high byte is dropped; the control bytes between
        // compared characters stay.
        CopyCase{"\xA4\0\tB"s, 0, 4, "\xA4\tB", 4},
        // The end of the source, or a 0x1A, stops the copy.
        CopyCase{"AB", 0, 8, "AB", 2},
        CopyCase{"A\x1A"
                 "B",
                 0, 4, "A", 2}),
    [](const auto& info) {
      const CopyCase& c = info.param;
      return RowName(BytesName(info.index, c.input) + "_from_" +
                     std::to_string(c.start) + "_count_" +
                     std::to_string(c.count));
    });

}  // namespace
}  // namespace tessel::testing
