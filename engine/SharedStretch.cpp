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

}  // namespace

std::size_t PlainPrefix(std::span<const unsigned char> bytes, bool fold,
                        std::int64_t* line_feeds) {
  // Single bytes that end a plain stretch: 0x1A, and the openers when
  // notations fold.
  static constexpr auto kStops = [] {
    std::array<std::array<bool, 128>, 2> stops{};
    for (auto& table : stops) table[kEndOfFileByte] = true;
    stops[1]['['] = stops[1]['&'] = true;
    return stops;
  }();
  const std::array<bool, 128>& stops = kStops[fold ? 1 : 0];
  const unsigned char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::int64_t feeds = 0;
  std::size_t i = 0;
  while (i + 1 < n) {
    const unsigned char b = p[i];
    if (b >= kFirstHighByte) {
      const unsigned char second = p[i + 1];
      if (second <= kEndOfFileByte) {
        if (second == 0 || second == kEndOfFileByte) break;
        // Before a line end the high byte is a character of its own, and
        // the line end the next one: two bytes all the same.
        feeds += second == kLineFeedByte;
      }
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

std::size_t CopySharedStretch(RunState& state) {
  const int n = state.source_count;
  std::array<std::span<const unsigned char>, kMaxSources> ahead;
  std::size_t available = kLongestStretch;
  for (int k = 0; k < n; ++k) {
    ahead[k] = state.sources[k]->Peek(kRefillBelow);
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
  const bool fold = state.reader.do_lose_word();
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
        PlainPrefix(ahead[0].subspan(length, same), fold, &feeds);
    length += plain;
    // Go on only past a block that held the same plain bytes throughout,
    // perhaps but for the first byte of a character cut by its end.
    if (same < block || plain + 1 < same || plain == 0) break;
  }
  if (length < kShortestStretch) return 0;
  const std::string_view stretch(reinterpret_cast<const char*>(ahead[0].data()),
                                 length);
  for (int k = 0; k < n; ++k) {
    state.results[k]->Write(stretch);
    state.sources[k]->Skip(length);
    state.lines[k] += feeds;
  }
  return length;
}

}  // namespace tessel
