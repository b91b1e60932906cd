// The rule by which a field's text is read as a signed 32-bit integer: the
// window's number fields, the command line's numbers and the settings
// file's integers all use it.

#ifndef TESSEL_ENGINE_INTEGERTEXT_H_
#define TESSEL_ENGINE_INTEGERTEXT_H_

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessel {

// Reads `text` as an integer: optional leading blanks, then either an
// optional sign and decimal digits within -2147483648..2147483647, or "$",
// "x" or "0x" (either case of x) and hexadecimal digits within 32 unsigned
// bits, taken as a two's-complement pattern. Nothing may follow. Returns
// nothing for any other text, the empty text included.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

}  // namespace tessel

#endif  // TESSEL_ENGINE_INTEGERTEXT_H_
