// Character codes: one unsigned value per character of a Big5 source.
//
//   0              end of a source (or a 0x1A, which ends it too)
//   256 + b        a single byte b; 0x00..0x7F, or 0x80..0xFF without a
//                  usable second byte
//   520            a stretch between an opener and its closer that the run
//                  ignores (see TokenReader::SetIgnoredStretches)
//   552..32751     a folded notation such as "[xxxx]" or "&x-xxxx;"
//   32769..65535   a double-byte character: first byte * 256 + second byte
//
// Every code fits in 16 bits. In packed form (high byte first) both bytes
// of every code other than 0 and the control codes 256..287 are non-zero.

#ifndef TESSEL_ENGINE_CHARCODES_H_
#define TESSEL_ENGINE_CHARCODES_H_

#include <cstdint>

namespace tessel {

using Code = std::uint32_t;

constexpr Code kEndOfSource = 0;
constexpr Code kSingleByteBase = 256;
constexpr Code kLineFeed = kSingleByteBase + 0x0A;
constexpr Code kCarriageReturn = kSingleByteBase + 0x0D;
// Control bytes 0x00..0x1F are always ignored by the comparison.
constexpr Code kLastControl = kSingleByteBase + 0x1F;
// Codes below this stand for one byte of source.
constexpr Code kFirstNotation = 512;
// Below the notation table's first code, so that no notation has it.
constexpr Code kIgnoredStretch = 520;
// Codes above this stand for two bytes of source.
constexpr Code kLastNotationRange = 0x8000;
constexpr Code kCodeLimit = 0x10000;

// Bytes with a special meaning in a source.
constexpr unsigned char kEndOfFileByte = 0x1A;
constexpr unsigned char kLineFeedByte = 0x0A;
constexpr unsigned char kCarriageReturnByte = 0x0D;
constexpr unsigned char kFirstHighByte = 0x80;

inline bool IsSingleByteCode(Code code) { return code < kFirstNotation; }
inline bool IsDoubleByteCode(Code code) { return code > kLastNotationRange; }
inline bool IsNotationCode(Code code) {
  return code >= kFirstNotation && code <= kLastNotationRange;
}

// Whether b starts a two-byte character of code page 950.
inline bool IsCp950LeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Makes A-Z small; only ASCII letters fold together in notations.
inline unsigned char FoldAsciiLetter(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A'))
                                : b;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_CHARCODES_H_
