// Notations that name a character by its Unicode scalar value: "&x-H;",
// "&#xH;" (H: 1 to 6 hexadecimal digits, either case) and "&#D;" (D: one or
// more decimal digits, leading zeros allowed). In a Unicode run such a
// notation is the character it names, so that a Big5 edition's "&x-4BB6;"
// meets a UTF-8 edition's U+4BB6.
//
// The "x" may be upper-case too: notation lookup folds ASCII letters, so
// "&X-4BB6;" and "&x-4BB6;" are one notation and must name one character.
// A value above U+10FFFF or in the surrogates D800..DFFF names no character:
// such a notation stays an ordinary notation, compared by its text.

#ifndef TESSEL_ENGINE_CHARACTERNOTATION_H_
#define TESSEL_ENGINE_CHARACTERNOTATION_H_

#include <optional>
#include <string_view>

namespace tessel {

// The scalar value that `text`, a whole notation from "&" through ";",
// names; nullopt when it is no such notation. The forms are ASCII, so
// `text` may be Big5 or UTF-8 bytes alike.
std::optional<char32_t> ParseCharacterNotation(std::string_view text);

}  // namespace tessel

#endif  // TESSEL_ENGINE_CHARACTERNOTATION_H_
