// The generated tables: code page 950 at its edges and both ways, the
// canonical singletons, and East Asian Width with display columns.

#include <gtest/gtest.h>

#include <string>

#include "CanonicalSingleton.h"
#include "Cp950.h"
#include "DisplayWidth.h"

namespace tessel::testing {
namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

char32_t Cp950(std::uint16_t code) {
  return Cp950ToUnicode(code).value_or(kNone);
}

TEST(Cp950Test, MapsCodesAsGlibcDoes) {
  const struct {
    std::uint16_t code;
    char32_t c;
  } cases[] = {
      {0x8140, kNone},   // first code: user-defined, maps to nothing
      {0xA0FE, kNone},   // last user-defined code before the page proper
      {0xA140, 0x3000},  // first mapped code
      {0xA145, 0x2027},
      {0xA1C3, 0xFFE3},
      {0xA3BF, 0x02CB},
      {0xA3C0, kNone},  // the gap after the symbols
      {0xA3E1, 0x20AC},
      {0xA440, 0x4E00},
      {0xA461, 0x5140},
      {0xC94A, 0xFA0C},  // the duplicate of A461, a compatibility ideograph
      {0xA2CC, 0x5341},
      {0xA451, 0x5341},
      {0xC6A1, 0xF6B1},  // private use, as glibc has it
      {0xF9D5, 0x9F98},  // last of standard Big5
      {0xF9D6, 0x7881},  // first of the F9 row additions
      {0xF9F8, 0x2551},
      {0xF9FE, 0x2593},  // last mapped code
      {0xFA40, kNone},
      {0xFEFE, kNone},  // last code
      {0xA420, kNone},  // second bytes 0x00..0x3F, 0x7F..0xA0 and 0xFF
      {0xA47F, kNone},
      {0xA4A0, kNone},
      {0xA4FF, kNone},
      {0x0041, kNone},  // not a double-byte code
      {0xFFFF, kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp950(c.code), c.c) << std::hex << c.code;
  }
}

TEST(Cp950Test, EveryMappedCodeHasAWayBack) {
  int mapped = 0;
  for (std::uint32_t code = 0; code < 0x10000; ++code) {
    const std::optional<char32_t> c = Cp950ToUnicode(code);
    if (!c) continue;
    ++mapped;
    // The inverse gives this code or another that reads as the same.
    const std::optional<std::uint16_t> back = UnicodeToCp950(*c);
    ASSERT_TRUE(back.has_value()) << std::hex << code;
    EXPECT_EQ(Cp950ToUnicode(*back), c) << std::hex << code;
  }
  EXPECT_EQ(mapped, 13911);
  for (char32_t c : {0x41, 0x80, 0x4BB6, 0xFFFD, 0x20000, 0x10FFFF}) {
    EXPECT_EQ(UnicodeToCp950(c), std::nullopt)
        << std::hex << static_cast<unsigned>(c);
  }
}

TEST(CanonicalSingletonTest, FoldsOnlyOneCharacterDecompositions) {
  const struct {
    const char* name;
    char32_t c;
    char32_t folded;
  } cases[] = {
      {"compatibility ideograph of Big5 C94A", 0xFA0C, 0x5140},
      {"first compatibility ideograph", 0xF900, 0x8C48},
      {"first supplementary one", 0x2F800, 0x4E3D},
      {"last supplementary one", 0x2FA1D, 0x2A600},
      {"angstrom sign", 0x212B, 0x00C5},
      {"ohm sign", 0x2126, 0x03A9},
      {"combining grave tone mark", 0x0340, 0x0300},
      {"two-character decomposition", 0x00C5, 0x00C5},
      {"compatibility decomposition", 0xFF21, 0xFF21},
      {"unified ideograph", 0x5140, 0x5140},
      {"compatibility ideograph without one", 0xFA0E, 0xFA0E},
      {"above the table", 0x323AF, 0x323AF},
      {"last scalar value", 0x10FFFF, 0x10FFFF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FoldCanonicalSingleton(c.c), c.folded) << c.name;
  }
  // Big5's two codes for 兀 meet once folded.
  EXPECT_EQ(FoldCanonicalSingleton(Cp950(0xC94A)),
            FoldCanonicalSingleton(Cp950(0xA461)));
}

TEST(DisplayWidthTest, WideAndFullWidthTakeTwoColumns) {
  const struct {
    const char* name;
    char32_t c;
    std::size_t columns;
  } cases[] = {
      {"ascii", 0x41, 1},
      {"control", 0x1A, 1},
      {"ideographic space (F)", 0x3000, 2},
      {"fullwidth A (F)", 0xFF21, 2},
      {"halfwidth katakana (H)", 0xFF61, 1},
      {"middle dot (A)", 0x00B7, 1},
      {"private use (A)", 0xE000, 1},
      {"double bar (A)", 0x2551, 1},
      {"first of Extension A", 0x3400, 2},
      {"unified ideograph", 0x4E00, 2},
      {"compatibility ideograph", 0xFA0C, 2},
      {"emoji", 0x1F600, 2},
      {"plane 2 start", 0x20000, 2},
      {"last of Extension H", 0x323AF, 2},
      {"unassigned in plane 3", 0x3FFFD, 2},
      {"plane 3 noncharacter", 0x3FFFE, 1},
      {"replacement character", 0xFFFD, 1},
      {"last scalar value", 0x10FFFF, 1},
      {"beyond Unicode", 0x110000, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharacterColumns(c.c), c.columns) << c.name;
  }
}

TEST(DisplayWidthTest, PadsUtf8TextToColumns) {
  const struct {
    const char* name;
    std::string text;
    std::size_t width;
  } cases[] = {
      {"empty", "", 0},
      {"ascii", "ab c", 4},
      {"han", "\xE4\xB8\x80\xE4\xBA\x8C", 4},
      {"plane 3",
       "\xF0\xB2\x8E\xAF"
       "a",
       3},
      {"raw bytes", "\xFF\xE4\xB8", 3},
      {"notation", "&x-4BB6;", 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayWidth(c.text), c.width) << c.name;
    std::string padded = c.text;
    EXPECT_EQ(PadToColumns(padded, 31), 31 - c.width) << c.name;
    EXPECT_EQ(padded, c.text + std::string(31 - c.width, ' ')) << c.name;
  }
  // A text as wide as the column or wider is left alone.
  std::string wide;
  for (int i = 0; i < 16; ++i) wide += "\xE4\xB8\x80";
  std::string padded = wide;
  EXPECT_EQ(PadToColumns(padded, 31), 0u);
  EXPECT_EQ(padded, wide);
  std::string odd(1, 'a');
  odd.append(wide, 0, 45);  // 31 columns exactly
  EXPECT_EQ(PadToColumns(odd, 31), 0u);
}

}  // namespace
}  // namespace tessel::testing
