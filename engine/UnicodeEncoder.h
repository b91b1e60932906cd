// Writing Unicode characters in each encoding a source may have.
//
// Every function writes into a buffer the caller provides and returns the
// number of bytes written; kMaxEncodedLength bytes always suffice.

#ifndef TESSEL_ENGINE_UNICODEENCODER_H_
#define TESSEL_ENGINE_UNICODEENCODER_H_

#include <cstddef>
#include <string>

#include "Encoding.h"
#include "UnicodeDecoder.h"

namespace tessel {

// "&x-10FFFF;", the longest Big5 form of a character.
inline constexpr std::size_t kMaxEncodedLength = 10;

// Writes the scalar value `c` as UTF-8 (1 to 4 bytes).
std::size_t EncodeUtf8(char32_t c, char* out);

// Appends the scalar value `c` to `out` as UTF-8.
inline void AppendUtf8(char32_t c, std::string& out) {
  char bytes[kMaxEncodedLength];
  out.append(bytes, EncodeUtf8(c, bytes));
}

// Writes `c` as UTF-16: a scalar value as one unit or a surrogate pair; a
// lone surrogate value as that one unit, which is how a raw unit goes back.
std::size_t EncodeUtf16(char32_t c, bool big_endian, char* out);

// Writes the scalar value `c` in code page 950: U+0000..U+007F as one byte,
// a character the page has as its two bytes, and any other as "&x-HHHH;"
// (upper-case hex, at least four digits). Where two codes give the same
// character, the one glibc's encoder writes is used (see Cp950.h).
std::size_t EncodeBig5(char32_t c, char* out);

// Writes `c` in `encoding`: the three functions above.
std::size_t EncodeScalar(char32_t c, Encoding encoding, char* out);

// Writes back the bytes a character read from a source in `encoding` stood
// for: a raw byte as itself, a raw unit as its unit, anything else as
// EncodeScalar does. Decoding and then writing every character this way
// gives the source's bytes again.
std::size_t EncodeDecoded(const DecodedChar& c, Encoding encoding, char* out);

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODEENCODER_H_
