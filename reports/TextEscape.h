// Writing UTF-8 text safely into JSON, HTML and XML.
//
// Every function here reads its input as UTF-8 through the engine's decoder
// (UnicodeDecoder.h) and writes each byte that starts no well-formed
// sequence there (a stray byte, an overlong form, a surrogate, a value
// above U+10FFFF, a sequence cut short) as U+FFFD, one per offending
// byte, so whatever a run hands over, the output stays well-formed.
//
// Speed: stretches that need no escaping are written in one piece, so the
// cost per character is one table look-up (ASCII) or one decoded character.

#ifndef TESSEL_REPORTS_TEXTESCAPE_H_
#define TESSEL_REPORTS_TEXTESCAPE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "OutputStream.h"
#include "UnicodeDecoder.h"

namespace tessel::reports {

// The character at `text[pos]` (pos < size) as the engine reads it: a raw
// one for each byte that starts no well-formed sequence, length 1.
inline DecodedChar DecodeAt(std::string_view text, std::size_t pos) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  return DecodeUtf8(p + pos, p + text.size());
}

// The number of characters in `text`, each ill-formed byte counting one.
std::size_t CountCodePoints(std::string_view text);

// Writes `text` as a JSON string with its quotes. Escapes the quote, the
// backslash, every control character, U+2028 and U+2029 (which end a line
// in older JavaScript), and "<", so the string may also stand inside an
// HTML script element without ending it.
void WriteJsonString(std::string_view text, OutputStream& out);

// Appends `text` to `out` as WriteJsonString writes it, without the quotes.
void AppendJsonStringContent(std::string_view text, std::string& out);

// Writes `text` as HTML character data or attribute value: escapes & < > "
// and ', and shows each control character other than tab and line feed as
// its visible picture (U+2400 + code; DEL as U+2421) since a browser would
// show nothing.
void WriteHtmlText(std::string_view text, OutputStream& out);

// Writes `text` as XML 1.0 character data or attribute value: escapes & < >
// and ", writes carriage return and tab as character references so a
// parser keeps them, and writes U+FFFD for each character that XML 1.0
// cannot hold (the other control characters, U+FFFE, U+FFFF).
void WriteXmlText(std::string_view text, OutputStream& out);

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_TEXTESCAPE_H_
