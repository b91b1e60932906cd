// The UTF-8 text of the characters a Big5 run reads, for the report
// writers, which take every text as Unicode.

#ifndef TESSEL_ENGINE_BIG5UTF8_H_
#define TESSEL_ENGINE_BIG5UTF8_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "CharCodes.h"
#include "NotationTable.h"

namespace tessel {

// Appends the UTF-8 of Big5 (code page 950) `bytes`: ASCII as it is, a
// lead byte and the byte after it as the character they map to, and
// U+FFFD for a pair that maps to nothing and for every other byte of 0x80
// or above (a lone lead byte, a byte that leads nothing).
void AppendBig5AsUtf8(std::string_view bytes, std::string& out);

// Appends the UTF-8 of Big5 `bytes` read a character at a time as the
// token reader reads them: a byte 0x80..0xFF and the byte after it as one
// code (U+FFFD where it maps to nothing), but before a line feed, carriage
// return or 0x1A, at the end, and before a NUL (which it drops) a
// character of its own, U+FFFD. For the text of an ignored stretch or a
// note, which the reader reads so.
void AppendReadBig5AsUtf8(std::string_view bytes, std::string& out);

// Appends the UTF-8 of what a result file holds for `code`: a single byte
// or a double-byte character converted as above, a folded notation as its
// stored spelling converted as above. Appends nothing for the end (0) or
// for a notation code that `notations` does not hold.
void AppendCodeAsUtf8(Code code, const NotationTable& notations,
                      std::string& out);

// The UTF-8 of one single- or double-byte code as AppendCodeAsUtf8 writes
// it; `length` is kNotACharacterCode for the codes it leaves to the table
// of notations (and for the end).
struct CodeUtf8 {
  static constexpr std::uint8_t kNotACharacterCode = 0xFF;
  char bytes[3];
  std::uint8_t length;
};

// Every code's CodeUtf8, indexed by code: a look-up instead of a
// conversion for each character the report feed hands over. Made on first
// use, and constant after.
const std::array<CodeUtf8, kCodeLimit>& CodeUtf8Table();

}  // namespace tessel

#endif  // TESSEL_ENGINE_BIG5UTF8_H_
