// Code page 950 (Big5 with Microsoft's additions) and Unicode, as glibc's
// CP950 converter maps them, frozen in generated tables (engine/tables,
// made by scripts/gen-unicode-tables).
//
// A code is first byte * 256 + second byte, as CharCodes.h packs it. Single
// bytes 0x00..0x7F are ASCII and need no table. Of the double-byte codes,
// 13,911 map to a character, all of them in the Basic Multilingual Plane;
// the user-defined areas and every other code map to nothing.

#ifndef TESSEL_ENGINE_CP950_H_
#define TESSEL_ENGINE_CP950_H_

#include <cstdint>
#include <optional>

#include "tables/UnicodeTables.h"

namespace tessel {

// The character the double-byte `code` stands for, or nullopt when it
// stands for none (any code whose bytes fall outside the mapped rows).
inline std::optional<char32_t> Cp950ToUnicode(std::uint16_t code) {
  const std::uint32_t lead = code >> 8;
  const std::uint32_t trail = code & 0xFF;
  if (lead < tables::kCp950FirstLead || lead > tables::kCp950LastLead ||
      trail < tables::kCp950FirstTrail || trail > tables::kCp950LastTrail) {
    return std::nullopt;
  }
  const char32_t c = tables::kCp950Rows[(lead - tables::kCp950FirstLead) *
                                            tables::kCp950RowLength +
                                        (trail - tables::kCp950FirstTrail)];
  if (c == 0) return std::nullopt;
  return c;
}

// The double-byte code that writes `c`, or nullopt when the page lacks it
// (ASCII included: it is written as one byte). Ten characters have two
// codes; the inverse takes the one glibc's encoder writes, the code of the
// standard Big5 rows: A2A4 over F9F9 for U+2550 and the other box-drawing
// pieces that the F9 row repeats, A451 over A2CC for U+5341 and A4CA over
// A2CE for U+5345. Every code it gives reads back as `c`.
inline std::optional<std::uint16_t> UnicodeToCp950(char32_t c) {
  if (c > 0xFFFF) return std::nullopt;
  const std::uint16_t code =
      tables::kUnicodeToCp950Blocks[tables::kUnicodeToCp950Index[c >> 8] *
                                        0x100 +
                                    (c & 0xFF)];
  if (code == 0) return std::nullopt;
  return code;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_CP950_H_
