// Encoding names, byte-order marks and the auto rule, at the 1 MiB edge
// too.

#include "Encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

Encoding Detect(std::string_view bytes) {
  return DetectEncoding(std::span(
      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

TEST(EncodingTest, ParsesNamesInAnyCaseAndNothingElse) {
  const struct {
    const char* text;
    std::optional<EncodingChoice> choice;
  } cases[] = {
      {"auto", EncodingChoice::kAuto},
      {"big5", EncodingChoice::kBig5},
      {"BIG5", EncodingChoice::kBig5},
      {"utf-8", EncodingChoice::kUtf8},
      {"UTF-8", EncodingChoice::kUtf8},
      {"utf-16le", EncodingChoice::kUtf16Le},
      {"UTF-16BE", EncodingChoice::kUtf16Be},
      {"utf8", std::nullopt},
      {"utf-16", std::nullopt},
      {" utf-8", std::nullopt},
      {"utf-8 ", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseEncodingChoice(c.text), c.choice) << '"' << c.text << '"';
    if (c.choice) {
      EXPECT_EQ(ParseEncodingChoice(EncodingChoiceName(*c.choice)), c.choice);
    }
  }
}

TEST(EncodingTest, ParsesOneNameOrOnePerSource) {
  using V = std::vector<EncodingChoice>;
  const struct {
    const char* text;
    std::optional<V> choices;
  } cases[] = {
      {"utf-8", V{EncodingChoice::kUtf8}},
      {"big5,utf-8", V{EncodingChoice::kBig5, EncodingChoice::kUtf8}},
      {"auto,utf-16le,BIG5", V{EncodingChoice::kAuto, EncodingChoice::kUtf16Le,
                               EncodingChoice::kBig5}},
      {"big5,big5,big5,big5", std::nullopt},
      {"big5,", std::nullopt},
      {",big5", std::nullopt},
      {"big5,,utf-8", std::nullopt},
      {"big5, utf-8", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseEncodingChoices(c.text, 3), c.choices) << c.text;
  }
}

TEST(EncodingTest, ByteOrderMarkOnlyOfTheFilesOwnEncoding) {
  const struct {
    const char* name;
    Encoding encoding;
    std::string head;
    std::size_t length;
  } cases[] = {
      {"utf-8", Encoding::kUtf8,
       "\xEF\xBB\xBF"
       "A",
       3},
      {"utf-8 cut", Encoding::kUtf8, "\xEF\xBB", 0},
      {"utf-16le", Encoding::kUtf16Le,
       "\xFF\xFE"
       "A\0"s,
       2},
      {"utf-16be", Encoding::kUtf16Be, "\xFE\xFF\0A"s, 2},
      {"utf-16le given a big-endian mark", Encoding::kUtf16Le, "\xFE\xFF", 0},
      {"utf-8 given a utf-16 mark", Encoding::kUtf8, "\xFF\xFE", 0},
      {"big5 has none", Encoding::kBig5, "\xEF\xBB\xBF", 0},
      {"empty", Encoding::kUtf8, "", 0},
  };
  for (const auto& c : cases) {
    const auto* p = reinterpret_cast<const unsigned char*>(c.head.data());
    EXPECT_EQ(ByteOrderMarkLength(c.encoding, std::span(p, c.head.size())),
              c.length)
        << c.name;
  }
}

TEST(EncodingTest, DetectsByMarksAndWellFormedUtf8) {
  const struct {
    const char* name;
    std::string bytes;
    Encoding encoding;
  } cases[] = {
      {"empty", "", Encoding::kBig5},
      {"pure ASCII", "abc\r\n", Encoding::kBig5},
      {"utf-8 mark", "\xEF\xBB\xBF", Encoding::kUtf8},
      {"utf-8 mark before Big5", "\xEF\xBB\xBF\xA4\xA4", Encoding::kUtf8},
      {"utf-16le mark", "\xFF\xFE", Encoding::kUtf16Le},
      {"utf-16be mark",
       "\xFE\xFF"
       "A",
       Encoding::kUtf16Be},
      {"utf-8 text", "A\xE4\xB8\x80", Encoding::kUtf8},
      {"plane 3", "\xF0\xB2\x8E\xAF", Encoding::kUtf8},
      {"Big5 text", "\xA4\xA4\xA4\xE5", Encoding::kBig5},
      {"one ill-formed byte", "\xE4\xB8\x80\xFF", Encoding::kBig5},
      {"surrogate in utf-8", "\xED\xA0\x80", Encoding::kBig5},
      {"overlong", "\xC0\xAF", Encoding::kBig5},
      {"cut by the end of a short file", "\xE4\xB8\x80\xE4\xB8",
       Encoding::kBig5},
      {"utf-16 without a mark", "A\0B\0"s, Encoding::kBig5},
      // Runs of ASCII and of Chinese, which detection reads in bulk.
      {"high byte after a word of ASCII", "abcdefgh\xE4\xB8\x80",
       Encoding::kUtf8},
      {"ill-formed byte inside long ASCII",
       "abcdefghijklmnop\xFFqrstuvwxyz\xE4\xB8\x80", Encoding::kBig5},
      {"cut character inside a run of Chinese",
       "\xE4\xB8\x80\xE4\xB8\xE4\xB8\x80", Encoding::kBig5},
      {"surrogate after Chinese", "\xE4\xB8\x80\xED\xA0\x80", Encoding::kBig5},
      {"overlong after Chinese", "\xE4\xB8\x80\xE0\x80\x80", Encoding::kBig5},
      {"Chinese then two-byte then Chinese", "\xE4\xB8\x80\xC3\xA9\xE4\xB8\x80",
       Encoding::kUtf8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Detect(c.bytes), c.encoding) << c.name;
  }
}

TEST(EncodingTest, LooksOnlyAtTheFirstMebibyte) {
  const std::string ascii(kDetectionLimit, 'a');
  const std::string han = "\xE4\xB8\x80";
  // A sequence the limit cuts counts as well-formed, and holds the high
  // byte, but only when the file goes on past the limit.
  const std::string cut_one = ascii.substr(2) + han + "a";
  const std::string cut_two = ascii.substr(1) + han + "a";
  const struct {
    const char* name;
    std::string bytes;
    Encoding encoding;
  } cases[] = {
      {"high byte only past the limit", ascii + han, Encoding::kBig5},
      {"ill-formed only past the limit", han + ascii + "\xFF", Encoding::kUtf8},
      {"last character ends at the limit", ascii.substr(3) + han,
       Encoding::kUtf8},
      {"limit cuts after two bytes", cut_one, Encoding::kUtf8},
      {"limit cuts after one byte", cut_two, Encoding::kUtf8},
      {"file ends where the limit would cut",
       cut_one.substr(0, kDetectionLimit), Encoding::kBig5},
      {"cut part cannot begin a character",
       ascii.substr(2) + "\xE0\x80"
                         "aa",
       Encoding::kBig5},
      {"cut part is a lone continuation",
       ascii.substr(1) + "\x80"
                         "a",
       Encoding::kBig5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Detect(c.bytes), c.encoding) << c.name;
  }
}

TEST(EncodingTest, DetectsFilesAndSaysWhenOneCannotBeRead) {
  TempDir dir;
  WriteFile(dir / "utf8", std::string(kDetectionLimit - 1, 'a') +
                              "\xE4\xB8\x80" + std::string(10, '\xFF'));
  WriteFile(dir / "big5", "\xA4\xA4");
  EXPECT_EQ(DetectFileEncoding(dir / "utf8"), Encoding::kUtf8);
  EXPECT_EQ(DetectFileEncoding(dir / "big5"), Encoding::kBig5);
  EXPECT_EQ(DetectFileEncoding(dir / "missing"), std::nullopt);
  EXPECT_EQ(DetectFileEncoding(dir.path()), std::nullopt);
}

}  // namespace
}  // namespace tessel::testing
