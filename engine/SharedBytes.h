// What the shortcuts of Big5 and Unicode runs share: how far they look, and
// the copy of a stretch of bytes that every source continues with. Each
// kind of run says which of those bytes the walk would copy unchanged.

#ifndef TESSEL_ENGINE_SHAREDBYTES_H_
#define TESSEL_ENGINE_SHAREDBYTES_H_

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "RunState.h"

namespace tessel {

// Looking further than this gains little and delays the timer.
inline constexpr std::size_t kLongestStretch = 32 * 1024;
// Shorter stretches are left to the walk. Between two places where the
// editions' layouts differ (a line break, a punctuation mark) there are
// seldom more than a few dozen bytes, so even short stretches pay.
inline constexpr std::size_t kShortestStretch = 4;
// Sources are compared this many bytes at a time.
inline constexpr std::size_t kBlock = 256;
// The buffers are refilled only when fewer bytes than this are left in
// them: refilling on every pass would cost more than it saves.
inline constexpr std::size_t kRefillBelow = 256;

// The bytes at `p` as one machine word, whatever their alignment.
template <typename Word>
inline Word LoadWord(const unsigned char* p) {
  Word word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The length of the common prefix of the `limit` bytes at `a` and `b`.
inline std::size_t CommonPrefix(const unsigned char* a, const unsigned char* b,
                                std::size_t limit) {
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= limit; i += sizeof(std::uint64_t)) {
    const std::uint64_t differ =
        LoadWord<std::uint64_t>(a + i) ^ LoadWord<std::uint64_t>(b + i);
    if (differ != 0) {
      // The first differing byte is the lowest in memory.
      return i +
             static_cast<std::size_t>(std::endian::native == std::endian::little
                                          ? std::countr_zero(differ) / 8
                                          : std::countl_zero(differ) / 8);
    }
  }
  while (i < limit && a[i] == b[i]) ++i;
  return i;
}

// If every source continues with the same bytes, copies the longest stretch
// of them that `plain_prefix(bytes, &line_feeds)` accepts (the length of the
// prefix of `bytes` the walk would copy unchanged, adding its line feeds) to
// every result file, moves every source past it and counts its lines in
// `position`. A block of the same bytes whose plain prefix falls short of it
// by at most `most_cut_bytes` (a character cut by the block's end) is read
// on into the next block. Returns the bytes copied from each source, or 0
// when the stretch would be shorter than kShortestStretch.
template <typename PlainPrefixOf>
std::size_t CopySameBytes(RunSources& sources, RunOutputs& outputs,
                          WalkPosition& position, std::size_t most_cut_bytes,
                          PlainPrefixOf plain_prefix) {
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
  std::int64_t feeds = 0;
  std::size_t length = 0;
  while (length < available) {
    const std::size_t block = std::min(kBlock, available - length);
    std::size_t same = block;
    for (int k = 1; k < n; ++k) {
      same = CommonPrefix(ahead[0].data() + length, ahead[k].data() + length,
                          same);
    }
    const std::size_t plain =
        plain_prefix(ahead[0].subspan(length, same), &feeds);
    length += plain;
    if (same < block || plain + most_cut_bytes < same || plain == 0) break;
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

}  // namespace tessel

#endif  // TESSEL_ENGINE_SHAREDBYTES_H_
