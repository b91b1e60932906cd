// Notations that name a character: the three forms, their limits, and what
// names no character.

#include "CharacterNotation.h"

#include <gtest/gtest.h>

namespace tessel::testing {
namespace {

TEST(CharacterNotationTest, NamesScalarValuesOnly) {
  const struct {
    const char* text;
    std::optional<char32_t> c;
  } cases[] = {
      {"&x-4BB6;", 0x4BB6},
      {"&x-4bb6;", 0x4BB6},
      {"&X-4BB6;", 0x4BB6},
      {"&x-41;", 0x41},
      {"&x-0;", 0x0},
      {"&x-323AF;", 0x323AF},
      {"&x-10FFFF;", 0x10FFFF},
      {"&#x4BB6;", 0x4BB6},
      {"&#X4bb6;", 0x4BB6},
      {"&#x00004E00;", std::nullopt},  // more than six digits
      {"&#19382;", 0x4BB6},
      {"&#0019382;", 0x4BB6},
      {"&#1114111;", 0x10FFFF},
      // Beyond Unicode, or a surrogate: no character.
      {"&x-110000;", std::nullopt},
      {"&#1114112;", std::nullopt},
      {"&#99999999999999999;", std::nullopt},
      {"&x-D800;", std::nullopt},
      {"&#xDFFF;", std::nullopt},
      {"&#55296;", std::nullopt},
      // Not these forms at all.
      {"&x-;", std::nullopt},
      {"&#x;", std::nullopt},
      {"&#;", std::nullopt},
      {"&x-1234567;", std::nullopt},
      {"&x-12G4;", std::nullopt},
      {"&#x+41;", std::nullopt},
      {"&#-1;", std::nullopt},
      {"&#1a;", std::nullopt},
      {"&x+41;", std::nullopt},
      {"&x 41;", std::nullopt},
      {"& x-41;", std::nullopt},
      {"&x-41", std::nullopt},
      {"x-41;", std::nullopt},
      {"&amp;", std::nullopt},
      {"[x-4BB6]", std::nullopt},
      {"&", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseCharacterNotation(c.text), c.c) << c.text;
  }
}

}  // namespace
}  // namespace tessel::testing
