// Writing UTF-8 text safely into JSON, HTML and XML.
//
// Every function here reads its input as UTF-8 and writes each byte
// sequence that is not well-formed UTF-8 (a stray byte, an overlong form, a
// surrogate, a value above U+10FFFF) as U+FFFD, one per offending byte, so
// whatever a run hands over, the output stays well-formed.

#ifndef TESSEL_REPORTS_TEXTESCAPE_H_
#define TESSEL_REPORTS_TEXTESCAPE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "OutputStream.h"

namespace tessel::reports {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at `text[pos]`: stores it in `*cp` and returns
// the number of bytes it takes (1..4). A byte that does not start a
// well-formed sequence gives U+FFFD and 1.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t* cp);

// Appends the UTF-8 form of `cp` to `out`.
void AppendUtf8(char32_t cp, std::string& out);

// The number of code points in `text`, each ill-formed byte counting one.
std::size_t CountCodePoints(std::string_view text);

// Writes `text` as a JSON string with its quotes. Escapes the quote, the
// backslash, every control character, U+2028 and U+2029 (which end a line
// in older JavaScript), and "<", so the string may also stand inside an
// HTML script element without ending it.
void WriteJsonString(std::string_view text, OutputStream& out);

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
