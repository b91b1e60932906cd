// Reading Big5 text straight from a buffer, for the stretches where the
// token reader would read nothing but plain characters: the shortcuts of
// the walk and the report feed step over such text without a call per
// character.

#ifndef TESSEL_ENGINE_PLAINBIG5_H_
#define TESSEL_ENGINE_PLAINBIG5_H_

#include <array>
#include <cstddef>

#include "CharCodes.h"
#include "TokenReader.h"

namespace tessel {

// Bytes that end a plain stretch: 0x1A, and the openers when notations
// fold. With stretches or notes, also every byte that may begin one (a lead
// byte too), where the token reader must decide.
using PlainStopTable = std::array<bool, 256>;

struct PlainStops {
  PlainStopTable table{};
  // Whether a lead byte may stop too; otherwise only single bytes are
  // looked up.
  bool high = false;
};

// The stops of a run without stretches or notes, folding notations or not:
// constant, so a shortcut taken at every pass need not build its table.
inline constexpr std::array<PlainStops, 2> kConstantPlainStops = [] {
  std::array<PlainStops, 2> stops{};
  for (PlainStops& s : stops) s.table[kEndOfFileByte] = true;
  stops[1].table['['] = stops[1].table['&'] = true;
  return stops;
}();

// The stops of a run that reads through `reader`.
inline PlainStops PlainStopsOf(const TokenReader& reader) {
  PlainStops stops = kConstantPlainStops[reader.fold_notations() ? 1 : 0];
  if (reader.has_special_starts()) {
    const auto& starts = reader.special_starts();
    for (std::size_t b = 0; b < starts.size(); ++b) {
      stops.table[b] = stops.table[b] || starts[b];
      stops.high = stops.high || (starts[b] && b >= kFirstHighByte);
    }
  }
  return stops;
}

// How the token reader reads a byte 0x80 or above followed by `second`.
enum class HighByte {
  kPair,   // one double-byte character with it
  kAlone,  // a character of its own, before a line end
  kStop,   // before a NUL or 0x1A: not plain, left to the token reader
};

inline HighByte ReadHighByte(unsigned char second) {
  if (second > kEndOfFileByte) return HighByte::kPair;  // by far the most
  if (second == kLineFeedByte || second == kCarriageReturnByte) {
    return HighByte::kAlone;
  }
  if (second == 0 || second == kEndOfFileByte) return HighByte::kStop;
  return HighByte::kPair;
}

// Reads the character at `bytes[*at]` as the token reader would, if it is
// plain: returns its code and moves `*at` past it. Returns kEndOfSource,
// with `*at` unmoved, at a stop, and where fewer than two bytes are left
// to decide the character by.
template <bool kHighStops>
inline Code ReadPlainCode(const unsigned char* bytes, std::size_t size,
                          std::size_t* at, const PlainStopTable& stops) {
  const std::size_t i = *at;
  if (i + 1 >= size) return kEndOfSource;
  const unsigned char b = bytes[i];
  if (b < kFirstHighByte) {
    if (stops[b]) return kEndOfSource;
    *at = i + 1;
    return kSingleByteBase + b;
  }
  if (kHighStops && stops[b]) return kEndOfSource;
  const unsigned char second = bytes[i + 1];
  switch (ReadHighByte(second)) {
    case HighByte::kPair:
      *at = i + 2;
      return static_cast<Code>(b * 256u + second);
    case HighByte::kAlone:
      *at = i + 1;
      return kSingleByteBase + b;
    case HighByte::kStop:
      break;
  }
  return kEndOfSource;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_PLAINBIG5_H_
