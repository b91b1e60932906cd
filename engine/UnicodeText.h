// Whole texts between encodings: the fixed texts, source names and memos
// that a run converts once, as opposed to the characters it reads.

#ifndef TESSEL_ENGINE_UNICODETEXT_H_
#define TESSEL_ENGINE_UNICODETEXT_H_

#include <string>
#include <string_view>

#include "Encoding.h"

namespace tessel {

// Decodes `bytes` in `encoding` to scalar values. A byte-order mark of that
// encoding at the start is left out; a raw character becomes U+FFFD. Big5
// is read pair by pair as the memo is: a byte below 0x80 is a character, a
// higher byte goes with the next; a pair the page lacks becomes U+FFFD.
std::u32string DecodeText(std::string_view bytes, Encoding encoding);

// Encodes `text` in `encoding`: in Big5 a character the page lacks becomes
// "&x-HHHH;" (see EncodeBig5).
std::string EncodeText(std::u32string_view text, Encoding encoding);

// `bytes` from one encoding to another, through DecodeText and EncodeText.
std::string ConvertText(std::string_view bytes, Encoding from, Encoding to);

// A UTF-8 or UTF-16 ignored-symbol text turned into Big5 for a Big5 run: a
// character that Big5 lacks becomes "&x-HHHH;" when `spell_missing`, and is
// left out otherwise; a raw character is left out.
std::string UnicodeSignsToBig5(std::string_view bytes, Encoding encoding,
                               bool spell_missing);

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODETEXT_H_
