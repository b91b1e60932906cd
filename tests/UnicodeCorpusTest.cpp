// The real corpus: each Big5 edition, read through code page 950 with its
// &x-HHHH; notations taken as the characters they name, is its UTF-8 twin
// character for character, and detection tells the two apart. Skipped where
// the corpus (../shared/corpus, or TESSEL_CORPUS_DIR) is not at hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CharacterNotation.h"
#include "Cp950.h"
#include "Encoding.h"
#include "TestSupport.h"
#include "UnicodeDecoder.h"

namespace tessel::testing {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  if (const char* dir = std::getenv("TESSEL_CORPUS_DIR")) return dir;
  return TESSEL_CORPUS_DIR;
}

std::span<const unsigned char> Bytes(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// A plain Big5 reading: a high byte and the next are one code, a notation
// that names a character is that character, every other byte itself. A code
// the page lacks becomes a value no character has, so it cannot match.
std::u32string ReadBig5(const std::string& bytes) {
  constexpr std::size_t kLongestNotation = 20;
  constexpr char32_t kUnmapped = 0xFFFFFFFF;
  std::u32string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x80 && i + 1 < bytes.size()) {
      const auto code = static_cast<std::uint16_t>(
          b << 8 | static_cast<unsigned char>(bytes[i + 1]));
      text += Cp950ToUnicode(code).value_or(kUnmapped);
      i += 2;
      continue;
    }
    if (b == '&') {
      const std::size_t end = bytes.find(';', i);
      if (end != std::string::npos && end - i < kLongestNotation) {
        if (const auto c = ParseCharacterNotation(
                std::string_view(bytes).substr(i, end - i + 1))) {
          text += *c;
          i = end + 1;
          continue;
        }
      }
    }
    text += b;
    ++i;
  }
  return text;
}

std::u32string ReadUtf8(const std::string& bytes, int* raw) {
  std::u32string text;
  const auto* p = Bytes(bytes).data();
  const auto* const end = p + bytes.size();
  while (p < end) {
    const DecodedChar c = DecodeUtf8(p, end);
    *raw += c.raw ? 1 : 0;
    text += c.value;
    p += c.length;
  }
  return text;
}

TEST(UnicodeCorpusTest, Big5EditionsReadAsTheirUtf8Twins) {
  const fs::path dir = CorpusDir();
  if (!fs::is_directory(dir / "utf8")) GTEST_SKIP() << "no corpus at " << dir;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(dir / "utf8")) {
    const fs::path name = entry.path().filename();
    if (name.extension() != ".txt" || !fs::exists(dir / name)) continue;
    SCOPED_TRACE(name.string());
    const std::string big5 = ReadFile(dir / name);
    const std::string utf8 = ReadFile(entry.path());
    EXPECT_EQ(DetectEncoding(Bytes(big5)), Encoding::kBig5);
    EXPECT_EQ(DetectEncoding(Bytes(utf8)), Encoding::kUtf8);
    int raw = 0;
    const std::u32string want = ReadUtf8(utf8, &raw);
    EXPECT_EQ(raw, 0);
    const std::u32string got = ReadBig5(big5);
    ASSERT_EQ(got.size(), want.size());
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin());
    EXPECT_TRUE(g == got.end())
        << "first difference at character " << (g - got.begin()) << ": "
        << std::hex << static_cast<unsigned>(*g) << " against "
        << static_cast<unsigned>(*w);
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace tessel::testing
