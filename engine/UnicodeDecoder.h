// Reading UTF-8 and UTF-16 into Unicode scalar values, one character at a
// time, straight over a buffer.
//
// Nothing is ever refused. In UTF-8, a character is a well-formed sequence
// (Unicode's table of well-formed byte sequences: no overlong forms, no
// surrogates, nothing above U+10FFFF) that lies whole in the buffer; any
// other byte is a raw byte of its own, and reading goes on at the next
// byte. So E4 B8 41 reads as raw E4, raw B8, "A", and every byte of the
// buffer belongs to exactly one character. In UTF-16, a surrogate pair is
// one character; a surrogate without its partner is a raw unit; a last odd
// byte is a raw byte.
//
// Each character says how many bytes it stood for, so that a caller can
// copy and count bytes exactly, and a raw one keeps its byte or unit so
// that it can be written back unchanged.

#ifndef TESSEL_ENGINE_UNICODEDECODER_H_
#define TESSEL_ENGINE_UNICODEDECODER_H_

#include <cstddef>
#include <cstdint>

namespace tessel {

inline constexpr char32_t kLastScalarValue = 0x10FFFF;
inline constexpr char32_t kFirstSurrogate = 0xD800;
inline constexpr char32_t kFirstLowSurrogate = 0xDC00;
inline constexpr char32_t kLastSurrogate = 0xDFFF;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr char32_t kByteOrderMark = 0xFEFF;
// The longest character in either form.
inline constexpr std::size_t kMaxUnicodeCharLength = 4;

inline bool IsSurrogate(char32_t c) {
  return c >= kFirstSurrogate && c <= kLastSurrogate;
}
inline bool IsScalarValue(char32_t c) {
  return c <= kLastScalarValue && !IsSurrogate(c);
}

struct DecodedChar {
  // The scalar value; for a raw character its byte (UTF-8, or a last odd
  // byte of UTF-16) or its 16-bit unit (an unpaired surrogate).
  char32_t value;
  // The bytes it stood for: 1 to 4.
  std::uint8_t length;
  bool raw;
};

// Whether the `n` bytes at `p` (1 to 3) could begin a well-formed UTF-8
// sequence longer than `n`: the start of a character that was cut.
bool IsUtf8Prefix(const unsigned char* p, std::size_t n);

// The general case of DecodeUtf8.
DecodedChar DecodeUtf8Slow(const unsigned char* p, const unsigned char* end);

// Whether a well-formed three-byte sequence led by E1..EC or EE..EF (which
// take any continuation bytes, so no other check is needed) lies whole at
// `p` before `end`: most characters of Chinese text.
inline bool IsWholeCommonThreeByteUtf8(const unsigned char* p,
                                       const unsigned char* end) {
  return end - p >= 3 && p[0] >= 0xE1 && p[0] <= 0xEF && p[0] != 0xED &&
         (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80;
}

// The end of the run of such characters that starts at `p` (`p` itself when
// none does). Two characters at a time, without a branch between their
// checks, as long as two fit.
inline const unsigned char* SkipCommonThreeByteUtf8(const unsigned char* p,
                                                    const unsigned char* end) {
  const auto is_lead = [](unsigned b) {
    return (b - 0xE1u <= 0xEFu - 0xE1u) & (b != 0xEDu);
  };
  while (end - p >= 6) {
    const unsigned tails = p[1] | p[2] << 8 | p[4] << 16 | unsigned{p[5]} << 24;
    if (!(is_lead(p[0]) & is_lead(p[3]) &
          ((tails & 0xC0C0C0C0u) == 0x80808080u))) {
      break;
    }
    p += 6;
  }
  while (IsWholeCommonThreeByteUtf8(p, end)) p += 3;
  return p;
}

// The scalar value of the common three-byte character at `p`
// (IsWholeCommonThreeByteUtf8).
inline char32_t CommonThreeByteUtf8Value(const unsigned char* p) {
  return (char32_t{p[0]} & 0x0F) << 12 | (char32_t{p[1]} & 0x3F) << 6 |
         (char32_t{p[2]} & 0x3F);
}

// Reads the UTF-8 character at `p`; `p` < `end`. ASCII and the three-byte
// characters of the CJK blocks are taken inline.
inline DecodedChar DecodeUtf8(const unsigned char* p,
                              const unsigned char* end) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) return {b0, 1, false};
  // E1..EC and EE..EF take any continuation bytes; E0 and ED do not.
  if (b0 >= 0xE1 && b0 <= 0xEF && b0 != 0xED && end - p >= 3 &&
      (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
    return {CommonThreeByteUtf8Value(p), 3, false};
  }
  return DecodeUtf8Slow(p, end);
}

// Reads the UTF-16 character at `p`; `p` < `end`.
template <bool kBigEndian>
inline DecodedChar DecodeUtf16(const unsigned char* p,
                               const unsigned char* end) {
  if (end - p < 2) return {p[0], 1, true};
  const auto unit_at = [](const unsigned char* q) -> char32_t {
    return kBigEndian ? (char32_t{q[0]} << 8 | q[1])
                      : (char32_t{q[1]} << 8 | q[0]);
  };
  const char32_t unit = unit_at(p);
  if (!IsSurrogate(unit)) return {unit, 2, false};
  if (unit < kFirstLowSurrogate && end - p >= 4) {
    const char32_t low = unit_at(p + 2);
    if (low >= kFirstLowSurrogate && low <= kLastSurrogate) {
      return {0x10000 + ((unit - kFirstSurrogate) << 10) +
                  (low - kFirstLowSurrogate),
              4, false};
    }
  }
  return {unit, 2, true};
}

inline DecodedChar DecodeUtf16Le(const unsigned char* p,
                                 const unsigned char* end) {
  return DecodeUtf16<false>(p, end);
}
inline DecodedChar DecodeUtf16Be(const unsigned char* p,
                                 const unsigned char* end) {
  return DecodeUtf16<true>(p, end);
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODEDECODER_H_
