// Reading a UTF-8 source token by token. The reader takes the common
// three-byte characters of Chinese text a short way; whatever the bytes and
// wherever a buffer's edge falls, each token must still have the key, the
// length and the bytes the decoder gives, and the short way must stand
// aside while ignored stretches, which may open with such a character, are
// on.

#include "UnicodeTokenReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

struct Token {
  Key key;
  std::int64_t length;
  std::string written;

  bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& token) {
  return out << "key " << token.key << " length " << token.length;
}

// Every token of `src` through `reader`, with what WriteLast writes of it.
std::vector<Token> ReadAll(UnicodeTokenReader& reader, SourceStream& src) {
  std::vector<Token> tokens;
  for (Key key = reader.ReadKey(src); key != kEndOfSource;
       key = reader.ReadKey(src)) {
    std::string written;
    const auto out =
        OutputStream::ToString(&written, OutputStream::Mode::kBinary);
    reader.WriteLast(*out, Encoding::kUtf8);
    EXPECT_TRUE(out->Close());
    tokens.push_back({key, reader.LastLength(), written});
  }
  return tokens;
}

// The tokens of `bytes` as the decoder reads them, one character each.
std::vector<Token> DecodedTokens(const std::string& bytes) {
  std::vector<Token> tokens;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    const DecodedChar c = DecodeUtf8(p, end);
    tokens.push_back(
        {c.raw ? RawKey(Encoding::kUtf8, c.value) : CharacterKey(c.value),
         c.length, std::string(reinterpret_cast<const char*>(p), c.length)});
    p += c.length;
  }
  return tokens;
}

// SourceStream's buffer holds 64 KiB, so its first edge lies there.
constexpr std::size_t kFirstBufferEdge = 64 * 1024;

// `tail` placed so that the buffer's first edge falls `cut` bytes into it.
std::string AcrossTheEdge(const std::string& tail, std::size_t cut) {
  return std::string(kFirstBufferEdge - cut, 'a') + tail;
}

TEST(UnicodeTokenReaderTest, Utf8TokensAreTheDecodersCharacters) {
  const std::string common = "\xE6\xBC\xA2\xE5\xAD\x97";  // 漢字
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"common characters", common + common},
      {"ASCII and line feeds between them", "a" + common + "\n\r" + common},
      {"E0 and ED leads, read the long way",
       "\xE0\xA4\x85\xED\x9F\xBF" + common},
      {"four-byte character", "\xF0\xA0\x80\x80" + common},
      {"cut character before a common one", "\xE6\xBC" + common},
      {"stray continuation byte", "\x80" + common + "\xBF"},
      {"encoded surrogate", "\xED\xA0\x80" + common},
      {"common character last, fewer bytes ahead than the longest",
       "ab" + common},
      {"source ending in a cut character", common + "\xE6\xBC"},
      {"common character across the buffer edge, cut after its lead",
       AcrossTheEdge(common + "z", 1)},
      {"common character across the buffer edge, cut before its last",
       AcrossTheEdge(common + "z", 2)},
      {"four-byte character across the buffer edge",
       AcrossTheEdge("\xF0\xA0\x80\x80" + common, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteFile(dir / "source", c.bytes);
    std::vector<std::unique_ptr<SourceStream>> sources;
    sources.push_back(SourceStream::OpenFile(dir / "source"));
    sources.push_back(SourceStream::FromBytes(c.bytes));
    for (auto& src : sources) {
      NotationTable notations;
      UnicodeTokenReader reader(Encoding::kUtf8, notations, true);
      EXPECT_EQ(ReadAll(reader, *src), DecodedTokens(c.bytes));
    }
  }
}

TEST(UnicodeTokenReaderTest, StretchesOpeningWithACommonCharacterAreFound) {
  // 一 and 乙, in Big5 for the stretch and in UTF-8 in the source.
  const IgnoredStretch stretch{"\xA4\x40", "\xA4\x41"};
  const std::string open = "\xE4\xB8\x80";
  const std::string close = "\xE4\xB9\x99";
  const std::string bytes = "a" + open + "xy" + close + "b";
  NotationTable notations;
  UnicodeTokenReader reader(Encoding::kUtf8, notations, true);

  reader.SetIgnoredStretches({stretch});
  auto src = SourceStream::FromBytes(bytes);
  const std::vector<Token> with_stretch = {
      {CharacterKey('a'), 1, "a"},
      {kIgnoredStretchKey, 8, open + "xy" + close},
      {CharacterKey('b'), 1, "b"},
  };
  EXPECT_EQ(ReadAll(reader, *src), with_stretch);

  // Without stretches the opener is a character again.
  reader.SetIgnoredStretches({});
  src = SourceStream::FromBytes(bytes);
  EXPECT_EQ(ReadAll(reader, *src), DecodedTokens(bytes));
}

TEST(UnicodeTokenReaderTest, AStretchReachesTheReportsAsUtf8) {
  // A raw byte in a stretch is a U+FFFD of its own, as anywhere else.
  const std::string open = "\xE4\xB8\x80";   // 一
  const std::string close = "\xE4\xB9\x99";  // 乙
  NotationTable notations;
  UnicodeTokenReader reader(Encoding::kUtf8, notations, true);
  reader.SetIgnoredStretches({{"\xA4\x40", "\xA4\x41"}});
  auto src = SourceStream::FromBytes(open + "x\xE5\xA4y" + close);
  ASSERT_EQ(reader.ReadKey(*src), kIgnoredStretchKey);
  std::string text;
  reader.AppendLastUtf8(text);
  EXPECT_EQ(text, open + "x\xEF\xBF\xBD\xEF\xBF\xBDy" + close);
}

}  // namespace
}  // namespace tessel::testing
