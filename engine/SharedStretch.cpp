#include "SharedStretch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "PlainBig5.h"
#include "SharedBytes.h"

namespace tessel {

namespace {

template <bool kHighStops>
std::size_t PlainPrefixOf(std::span<const unsigned char> bytes,
                          const PlainStopTable& stops,
                          std::int64_t* line_feeds) {
  const unsigned char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::int64_t feeds = 0;
  std::size_t i = 0;
  while (i + 1 < n) {
    const unsigned char b = p[i];
    if (b >= kFirstHighByte) {
      if (kHighStops && stops[b]) break;
      const unsigned char second = p[i + 1];
      const HighByte reading = ReadHighByte(second);
      if (reading == HighByte::kStop) break;
      // Alone, the high byte is followed by a line end of its own: two
      // bytes all the same, and a line feed to count.
      if (reading == HighByte::kAlone) feeds += second == kLineFeedByte;
      i += 2;
    } else {
      if (stops[b]) break;
      feeds += b == kLineFeedByte;
      ++i;
    }
  }
  // A last single byte; a last high byte may start a character cut off.
  if (i + 1 == n && p[i] < kFirstHighByte && !stops[p[i]]) {
    feeds += p[i] == kLineFeedByte;
    ++i;
  }
  *line_feeds += feeds;
  return i;
}

std::size_t PlainPrefixWith(std::span<const unsigned char> bytes,
                            const PlainStops& stops, std::int64_t* line_feeds) {
  return stops.high ? PlainPrefixOf<true>(bytes, stops.table, line_feeds)
                    : PlainPrefixOf<false>(bytes, stops.table, line_feeds);
}

}  // namespace

std::size_t PlainPrefix(std::span<const unsigned char> bytes, bool fold,
                        std::int64_t* line_feeds) {
  return PlainPrefixOf<false>(bytes, kConstantPlainStops[fold ? 1 : 0].table,
                              line_feeds);
}

std::size_t CopySharedStretch(const TokenReader& reader, RunSources& sources,
                              RunOutputs& outputs, WalkPosition& position) {
  // A run without stretches or notes keeps its constant table, uncopied.
  PlainStops special;
  if (reader.has_special_starts()) special = PlainStopsOf(reader);
  const PlainStops& stops =
      reader.has_special_starts()
          ? special
          : kConstantPlainStops[reader.fold_notations() ? 1 : 0];
  // A block's end may cut a double-byte character after its first byte.
  constexpr std::size_t kMostCutBytes = 1;
  return CopySameBytes(
      sources, outputs, position, kMostCutBytes,
      [&stops](std::span<const unsigned char> bytes, std::int64_t* feeds) {
        return PlainPrefixWith(bytes, stops, feeds);
      });
}

namespace {

// The walk's advance over `bytes` from `*at` up to the next compared
// character, for the characters the walk copies unchanged. Returns its
// code and moves `*at` past it, counting ignored line feeds in `*feeds`;
// returns 0 where such a character does not follow, or fewer than two
// bytes are left to decide it.
template <bool kHighStops>
inline Code NextAgreeable(const unsigned char* bytes, std::size_t size,
                          std::size_t* at, std::int64_t* feeds,
                          const PlainStopTable& stops, const SignSet& signs) {
  std::size_t i = *at;
  for (;;) {
    const Code code = ReadPlainCode<kHighStops>(bytes, size, &i, stops);
    if (code == kEndOfSource) return kEndOfSource;
    if (!signs.IsIgnored(code)) {
      *at = i;
      return code;
    }
    *feeds += code == kLineFeed;
  }
}

template <int N, bool kHighStops>
std::size_t CopyAgreeing(const TokenReader& reader, const PlainStopTable& stops,
                         RunSources& sources, RunOutputs& outputs,
                         WalkPosition& position) {
  const SignSet& signs = reader.signs();
  std::array<const unsigned char*, N> bytes;
  std::array<std::size_t, N> size, at{}, agreed{};
  std::array<std::int64_t, N> feeds{}, agreed_feeds{};
  for (int k = 0; k < N; ++k) {
    const auto ahead = sources.streams[k]->Peek(kRefillBelow);
    bytes[k] = ahead.data();
    size[k] = ahead.size();
  }
  std::size_t passes = 0;
  for (;;) {
    const Code first = NextAgreeable<kHighStops>(bytes[0], size[0], &at[0],
                                                 &feeds[0], stops, signs);
    if (first == kEndOfSource) break;
    bool agree = true;
    for (int k = 1; k < N && agree; ++k) {
      agree = NextAgreeable<kHighStops>(bytes[k], size[k], &at[k], &feeds[k],
                                        stops, signs) == first;
    }
    if (!agree) break;
    ++passes;
    agreed = at;
    agreed_feeds = feeds;
  }
  if (passes == 0) return 0;
  for (int k = 0; k < N; ++k) {
    outputs.results[k]->Write(
        std::string_view(reinterpret_cast<const char*>(bytes[k]), agreed[k]));
    sources.streams[k]->Skip(agreed[k]);
    position.lines[k] += agreed_feeds[k];
  }
  return passes;
}

}  // namespace

std::size_t CopyAgreeingStretch(const TokenReader& reader, RunSources& sources,
                                RunOutputs& outputs, WalkPosition& position) {
  if (!reader.has_special_starts()) {
    const PlainStopTable& stops =
        kConstantPlainStops[reader.fold_notations() ? 1 : 0].table;
    return sources.count == 3 ? CopyAgreeing<3, false>(reader, stops, sources,
                                                       outputs, position)
                              : CopyAgreeing<2, false>(reader, stops, sources,
                                                       outputs, position);
  }
  const PlainStops stops = PlainStopsOf(reader);
  if (!stops.high) {
    return sources.count == 3
               ? CopyAgreeing<3, false>(reader, stops.table, sources, outputs,
                                        position)
               : CopyAgreeing<2, false>(reader, stops.table, sources, outputs,
                                        position);
  }
  return sources.count == 3 ? CopyAgreeing<3, true>(reader, stops.table,
                                                    sources, outputs, position)
                            : CopyAgreeing<2, true>(reader, stops.table,
                                                    sources, outputs, position);
}

}  // namespace tessel
