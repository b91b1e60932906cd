#include "UnicodeEncoder.h"

#include "Cp950.h"

namespace tessel {

namespace {

constexpr char32_t kLastAscii = 0x7F;
constexpr char32_t kLastTwoByteUtf8 = 0x7FF;
constexpr char32_t kLastBmp = 0xFFFF;
// The notation for a character Big5 lacks: "&x-" hex ";".
constexpr char kNotationOpen[] = "&x-";
constexpr std::size_t kMinNotationDigits = 4;
// U+10FFFF; a larger value is no character and keeps only its low digits.
constexpr std::size_t kMaxNotationDigits = 6;

char Byte(char32_t value) { return static_cast<char>(value & 0xFF); }

std::size_t PutUnit(char32_t unit, bool big_endian, char* out) {
  out[big_endian ? 0 : 1] = Byte(unit >> 8);
  out[big_endian ? 1 : 0] = Byte(unit);
  return 2;
}

std::size_t WriteNotation(char32_t c, char* out) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::size_t n = 0;
  for (const char* p = kNotationOpen; *p != '\0'; ++p) out[n++] = *p;
  std::size_t digits = kMinNotationDigits;
  while (digits < kMaxNotationDigits && (c >> (4 * digits)) != 0) ++digits;
  for (std::size_t d = digits; d-- > 0;)
    out[n++] = kHexDigits[(c >> (4 * d)) & 0xF];
  out[n++] = ';';
  return n;
}

}  // namespace

std::size_t EncodeUtf8(char32_t c, char* out) {
  if (c <= kLastAscii) {
    out[0] = Byte(c);
    return 1;
  }
  if (c <= kLastTwoByteUtf8) {
    out[0] = Byte(0xC0 | c >> 6);
    out[1] = Byte(0x80 | (c & 0x3F));
    return 2;
  }
  if (c <= kLastBmp) {
    out[0] = Byte(0xE0 | c >> 12);
    out[1] = Byte(0x80 | (c >> 6 & 0x3F));
    out[2] = Byte(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = Byte(0xF0 | c >> 18);
  out[1] = Byte(0x80 | (c >> 12 & 0x3F));
  out[2] = Byte(0x80 | (c >> 6 & 0x3F));
  out[3] = Byte(0x80 | (c & 0x3F));
  return 4;
}

std::size_t EncodeUtf16(char32_t c, bool big_endian, char* out) {
  if (c <= kLastBmp) return PutUnit(c, big_endian, out);
  const char32_t offset = c - 0x10000;
  PutUnit(kFirstSurrogate + (offset >> 10), big_endian, out);
  PutUnit(kFirstLowSurrogate + (offset & 0x3FF), big_endian, out + 2);
  return 4;
}

std::size_t EncodeBig5(char32_t c, char* out) {
  if (c <= kLastAscii) {
    out[0] = Byte(c);
    return 1;
  }
  if (const std::optional<std::uint16_t> code = UnicodeToCp950(c)) {
    out[0] = Byte(*code >> 8);
    out[1] = Byte(*code);
    return 2;
  }
  return WriteNotation(c, out);
}

std::size_t EncodeScalar(char32_t c, Encoding encoding, char* out) {
  switch (encoding) {
    case Encoding::kUtf8:
      return EncodeUtf8(c, out);
    case Encoding::kUtf16Le:
      return EncodeUtf16(c, false, out);
    case Encoding::kUtf16Be:
      return EncodeUtf16(c, true, out);
    case Encoding::kBig5:
      break;
  }
  return EncodeBig5(c, out);
}

std::size_t EncodeDecoded(const DecodedChar& c, Encoding encoding, char* out) {
  if (!c.raw) return EncodeScalar(c.value, encoding, out);
  if (c.length == 1) {
    out[0] = Byte(c.value);
    return 1;
  }
  return PutUnit(c.value, encoding == Encoding::kUtf16Be, out);
}

}  // namespace tessel
