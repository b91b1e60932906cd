// Comparison keys of a Unicode run: one 32-bit value per character, so that
// characters from sources in different encodings compare by what they are.
//
//   0                      end of a source
//   1 + c                  the scalar value c, after FoldCanonicalSingleton;
//                          so U+0000..U+001F are keys 1..32, always ignored
//   kRawKeyBase | e << 16 | unit
//                          a raw byte or unit of a source in encoding e, or a
//                          Big5 code that maps to nothing (a lone high byte
//                          is its byte): equal only to the same raw
//                          character of the same encoding
//   kIgnoredStretchKey     a stretch between an opener and its closer
//   kNotationKeyBase + i   a folded notation that names no character
//   kNoteKeyBase + i       a note compared as a unit (NoteTable.h)
//
// With variant tables, the walk compares the keys above and, where they
// differ, their VariantKey; the search sees VariantKeys only.
//
// Big5 runs keep their 16-bit codes (CharCodes.h); these keys never meet
// them.

#ifndef TESSEL_ENGINE_UNICODEKEYS_H_
#define TESSEL_ENGINE_UNICODEKEYS_H_

#include <cstddef>
#include <cstdint>

#include "CanonicalSingleton.h"
#include "CharCodes.h"
#include "Encoding.h"
#include "VariantTable.h"

namespace tessel {

using Key = Code;

constexpr Key kCharacterKeyBase = 1;
constexpr Key kLineFeedKey = kCharacterKeyBase + 0x0A;
constexpr Key kCarriageReturnKey = kCharacterKeyBase + 0x0D;
constexpr Key kLastControlKey = kCharacterKeyBase + 0x1F;
// One past the key of U+10FFFF.
constexpr Key kCharacterKeyLimit = kCharacterKeyBase + 0x110000;
constexpr Key kRawKeyBase = 0x200000;
constexpr int kRawEncodingShift = 16;
constexpr Key kIgnoredStretchKey = 0x300000;
constexpr Key kNotationKeyBase = 0x400000;
constexpr Key kNoteKeyBase = 0x600000;

// The key a character compares by. This is the one place where two
// characters are made equal; variant tables then join keys (VariantKey).
inline Key CharacterKey(char32_t c) {
  return kCharacterKeyBase + FoldCanonicalSingleton(c);
}

// The key `key` compares by under variant tables: a character's key
// becomes that of its class's representative (VariantTable.h), the
// character looked up after its canonical fold. Raw characters and
// notations that name no character join no class and keep their keys.
inline Key VariantKey(const VariantTable& table, Key key) {
  if (key < kCharacterKeyBase || key >= kCharacterKeyLimit) return key;
  return kCharacterKeyBase + table.Representative(key - kCharacterKeyBase);
}

// The key of a raw byte or unit (or an unmapped Big5 code) of a source in
// `encoding`.
inline Key RawKey(Encoding encoding, std::uint32_t unit) {
  return kRawKeyBase | static_cast<Key>(encoding) << kRawEncodingShift |
         (unit & 0xFFFF);
}

// The key of the notation with table index `index`.
inline Key NotationKey(std::size_t index) {
  return kNotationKeyBase + static_cast<Key>(index);
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODEKEYS_H_
