// Display width: how many columns a text takes on a screen whose fonts give
// East Asian characters two columns, as the difference file of a Unicode
// run is laid out. A character whose East Asian Width (EastAsianWidth.txt,
// unassigned code points in the CJK blocks and planes 2 and 3 taken as W)
// is W or F takes 2 columns; every other character, control characters and
// raw bytes included, takes 1.

#ifndef TESSEL_ENGINE_DISPLAYWIDTH_H_
#define TESSEL_ENGINE_DISPLAYWIDTH_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "UnicodeDecoder.h"
#include "tables/UnicodeTables.h"

namespace tessel {

// Whether the East Asian Width of `c` is W or F.
inline bool IsWide(char32_t c) {
  if (c > kLastScalarValue) return false;
  const std::uint32_t word =
      tables::kWideBlocks[tables::kWideIndex[c >> 8] * 8 + ((c >> 5) & 7)];
  return ((word >> (c & 31)) & 1) != 0;
}

// The columns `c` takes: 2 when wide, otherwise 1.
inline std::size_t CharacterColumns(char32_t c) { return IsWide(c) ? 2 : 1; }

// The columns the UTF-8 text `utf8` takes; each raw byte takes 1.
std::size_t DisplayWidth(std::string_view utf8);

// The blanks that pad a text of `width` columns to at least `columns`.
inline std::size_t PaddingBlanks(std::size_t width, std::size_t columns) {
  return width < columns ? columns - width : 0;
}

// Appends blanks to the UTF-8 text `utf8` until it takes at least `columns`
// columns. A text as wide or wider is left as it is. Returns the number of
// blanks appended.
std::size_t PadToColumns(std::string& utf8, std::size_t columns);

}  // namespace tessel

#endif  // TESSEL_ENGINE_DISPLAYWIDTH_H_
