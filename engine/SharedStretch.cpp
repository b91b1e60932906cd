#include "SharedStretch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace tessel {

namespace {

// Looking further than this gains little and delays the timer.
constexpr std::size_t kLongestStretch = 32 * 1024;
// Shorter stretches are left to the walk. Between two places where the
// editions' layouts differ (a line break, a punctuation mark) there are
// seldom more than a few dozen bytes, so even short stretches pay.
constexpr std::size_t kShortestStretch = 4;
// Sources are compared this many bytes at a time.
constexpr std::size_t kBlock = 256;
// The buffers are refilled only when fewer bytes than this are left in
// them: refilling on every pass would cost more than it saves.
constexpr std::size_t kRefillBelow = 256;

std::size_t CommonPrefix(std::span<const unsigned char> a,
                         std::span<const unsigned char> b, std::size_t limit) {
  std::size_t i = 0;
  while (i + 8 <= limit && std::memcmp(a.data() + i, b.data() + i, 8) == 0) {
    i += 8;
  }
  while (i < limit && a[i] == b[i]) ++i;
  return i;
}

// Bytes that end a plain stretch: 0x1A, and the openers when notations
// fold. With stretches or notes, also every byte that may begin one (a lead
// byte too), where the walk must decide.
using StopTable = std::array<bool, 256>;
constexpr auto kStops = [] {
  std::array<StopTable, 2> stops{};
  for (auto& table : stops) table[kEndOfFileByte] = true;
  stops[1]['['] = stops[1]['&'] = true;
  return stops;
}();

struct Stops {
  StopTable table;
  // Whether a lead byte may stop too; otherwise only single bytes are
  // looked up, as ever.
  bool high = false;
};
constexpr std::array<Stops, 2> kPlainStops = {Stops{kStops[0]},
                                              Stops{kStops[1]}};

Stops StopsOf(const TokenReader& reader) {
  Stops stops{kStops[reader.fold_notations() ? 1 : 0]};
  if (reader.has_special_starts()) {
    const auto& starts = reader.special_starts();
    for (std::size_t b = 0; b < starts.size(); ++b) {
      stops.table[b] = stops.table[b] || starts[b];
      stops.high = stops.high || (starts[b] && b >= kFirstHighByte);
    }
  }
  return stops;
}

// How the walk reads a byte 0x80 or above followed by `second`.
enum class HighByte {
  kPair,   // one double-byte character with it
  kAlone,  // a character of its own, before a line end
  kStop,   // before a NUL or 0x1A: not copied unchanged, left to the walk
};

inline HighByte ReadHighByte(unsigned char second) {
  if (second > kEndOfFileByte)
    return HighByte::kPair;  // by far the most common
  if (second == kLineFeedByte || second == kCarriageReturnByte) {
    return HighByte::kAlone;
  }
  if (second == 0 || second == kEndOfFileByte) return HighByte::kStop;
  return HighByte::kPair;
}

}  // namespace

namespace {

template <bool kHighStops>
std::size_t PlainPrefixOf(std::span<const unsigned char> bytes,
                          const StopTable& stops, std::int64_t* line_feeds) {
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
                            const Stops& stops, std::int64_t* line_feeds) {
  return stops.high ? PlainPrefixOf<true>(bytes, stops.table, line_feeds)
                    : PlainPrefixOf<false>(bytes, stops.table, line_feeds);
}

}  // namespace

std::size_t PlainPrefix(std::span<const unsigned char> bytes, bool fold,
                        std::int64_t* line_feeds) {
  return PlainPrefixOf<false>(bytes, kStops[fold ? 1 : 0], line_feeds);
}

std::size_t CopySharedStretch(const TokenReader& reader, RunSources& sources,
                              RunOutputs& outputs, WalkPosition& position) {
  const int n = sources.count;
  std::array<std::span<const unsigned char>, kMaxSources> ahead;
  std::size_t available = kLongestStretch;
  for (int k = 0; k < n; ++k) {
    ahead[k] = sources.streams[k]->Peek(kRefillBelow);
    available = std::min(available, ahead[k].size());
  }
  if (available < kShortestStretch) return 0;

  // Sources that differ at once cost no more than this.
  for (int k = 1; k < n; ++k) {
    if (std::memcmp(ahead[0].data(), ahead[k].data(), kShortestStretch) != 0) {
      return 0;
    }
  }

  // Block by block, so that a stretch that ends early costs little.
  // A run without stretches or notes keeps its constant table, uncopied.
  Stops special;
  if (reader.has_special_starts()) special = StopsOf(reader);
  const Stops& stops = reader.has_special_starts()
                           ? special
                           : kPlainStops[reader.fold_notations() ? 1 : 0];
  std::int64_t feeds = 0;
  std::size_t length = 0;
  while (length < available) {
    const std::size_t block = std::min(kBlock, available - length);
    std::size_t same = block;
    for (int k = 1; k < n; ++k) {
      same = CommonPrefix(ahead[0].subspan(length), ahead[k].subspan(length),
                          same);
    }
    const std::size_t plain =
        PlainPrefixWith(ahead[0].subspan(length, same), stops, &feeds);
    length += plain;
    // Go on only past a block that held the same plain bytes throughout,
    // perhaps but for the first byte of a character cut by its end.
    if (same < block || plain + 1 < same || plain == 0) break;
  }
  if (length < kShortestStretch) return 0;
  const std::string_view stretch(reinterpret_cast<const char*>(ahead[0].data()),
                                 length);
  for (int k = 0; k < n; ++k) {
    outputs.results[k]->Write(stretch);
    sources.streams[k]->Skip(length);
    position.lines[k] += feeds;
  }
  return length;
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
                          const StopTable& stops, const SignSet& signs) {
  std::size_t i = *at;
  for (;;) {
    if (i + 1 >= size) return kEndOfSource;
    const unsigned char b = bytes[i];
    Code code;
    if (b >= kFirstHighByte) {
      if (kHighStops && stops[b]) return kEndOfSource;
      const unsigned char second = bytes[i + 1];
      switch (ReadHighByte(second)) {
        case HighByte::kPair:
          code = b * 256u + second;
          i += 2;
          break;
        case HighByte::kAlone:
          code = kSingleByteBase + b;
          i += 1;
          break;
        case HighByte::kStop:
          return kEndOfSource;
      }
    } else {
      if (stops[b]) return kEndOfSource;
      code = kSingleByteBase + b;
      i += 1;
    }
    if (!signs.IsIgnored(code)) {
      *at = i;
      return code;
    }
    *feeds += code == kLineFeed;
  }
}

template <int N, bool kHighStops>
std::size_t CopyAgreeing(const TokenReader& reader, const StopTable& stops,
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
    const StopTable& stops = kStops[reader.fold_notations() ? 1 : 0];
    return sources.count == 3 ? CopyAgreeing<3, false>(reader, stops, sources,
                                                       outputs, position)
                              : CopyAgreeing<2, false>(reader, stops, sources,
                                                       outputs, position);
  }
  const Stops stops = StopsOf(reader);
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
