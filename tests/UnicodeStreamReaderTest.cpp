// Reading characters through a source's buffer: a character that straddles
// the buffer's edge, cut at any place, reads as it does from the whole bytes.

#include "UnicodeStreamReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

using Decoder = DecodedChar (*)(const unsigned char*, const unsigned char*);

template <Encoding kEncoding>
void ExpectReadsAsWhole(const std::string& bytes, Decoder decode) {
  TempDir dir;
  WriteFile(dir / "source", bytes);
  std::vector<std::unique_ptr<SourceStream>> sources;
  sources.push_back(SourceStream::OpenFile(dir / "source"));
  sources.push_back(SourceStream::FromBytes(bytes));
  for (auto& src : sources) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    DecodedChar got;
    std::int64_t count = 0;
    while (p < end) {
      const DecodedChar want = decode(p, end);
      ASSERT_TRUE(ReadUnicodeChar<kEncoding>(*src, &got)) << count;
      ASSERT_EQ(got.value, want.value) << "character " << count;
      ASSERT_EQ(got.length, want.length) << "character " << count;
      ASSERT_EQ(got.raw, want.raw) << "character " << count;
      p += want.length;
      ++count;
      ASSERT_EQ(src->Tell(),
                p - reinterpret_cast<const unsigned char*>(bytes.data()));
    }
    EXPECT_FALSE(ReadUnicodeChar<kEncoding>(*src, &got));
    EXPECT_EQ(src->Tell(), static_cast<std::int64_t>(bytes.size()));
  }
}

// SourceStream's buffer holds 64 KiB, so its first edge lies there.
constexpr std::size_t kFirstBufferEdge = 64 * 1024;

// For every piece and every place within it where a buffer edge can fall,
// a source of `unit`s up to that place, the piece, and one more unit.
template <Encoding kEncoding>
void ExpectEveryCutReads(const std::vector<std::string>& pieces,
                         const std::string& unit, Decoder decode) {
  for (const std::string& piece : pieces) {
    for (std::size_t cut = unit.size(); cut < piece.size();
         cut += unit.size()) {
      std::string bytes;
      while (bytes.size() + cut < kFirstBufferEdge) bytes += unit;
      bytes += piece + unit;
      SCOPED_TRACE(BytesText(piece) + " cut after " + std::to_string(cut));
      ExpectReadsAsWhole<kEncoding>(bytes, decode);
    }
  }
}

TEST(UnicodeStreamReaderTest, Utf8CharactersAcrossTheBufferEdge) {
  ExpectEveryCutReads<Encoding::kUtf8>(
      {"\xC3\xA9", "\xE4\xB8\x80", "\xF0\xB2\x8E\xAF",
       "\xE4\xB8"
       "A",
       "\xED\xA0\x80"},
      "A", DecodeUtf8);
}

TEST(UnicodeStreamReaderTest, Utf16PairsAcrossTheBufferEdge) {
  const std::vector<std::string> little = {"\x40\xD8\x00\xDC"s,
                                           "\x40\xD8\x41\x00"s};
  ExpectEveryCutReads<Encoding::kUtf16Le>(little, "A\0"s, DecodeUtf16Le);
  const std::vector<std::string> big = {"\xD8\x40\xDC\x00"s,
                                        "\xD8\x40\x00\x41"s};
  ExpectEveryCutReads<Encoding::kUtf16Be>(big, "\0A"s, DecodeUtf16Be);
  // A last odd byte is read on its own.
  ExpectReadsAsWhole<Encoding::kUtf16Le>("A\0B"s, DecodeUtf16Le);
}

}  // namespace
}  // namespace tessel::testing
