#include "Resync.h"

#include <algorithm>
#include <cassert>

#include "GramIndex.h"

namespace tessel {

namespace {

// Returns the first index at which `pattern` occurs in `text`, or -1. Only
// whole characters are compared, which is the rule that a match counts at
// even byte offsets only.
std::int32_t FindFirst(std::span<const std::uint16_t> text,
                       std::span<const std::uint16_t> pattern) {
  const auto hit =
      std::search(text.begin(), text.end(), pattern.begin(), pattern.end());
  if (hit == text.end()) return -1;
  return static_cast<std::int32_t>(hit - text.begin());
}

// The number of slots before the first 0: the window as a C string.
std::span<const std::uint16_t> WindowString(
    const std::vector<std::uint16_t>& window) {
  const auto end = std::find(window.begin(), window.end(), 0);
  return {window.data(), static_cast<std::size_t>(end - window.begin())};
}

}  // namespace

AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count) {
  // A scan of the window answers the first few lookups of a sweep; an index
  // pays for itself once many anchors are tried against a long window.
  constexpr int kScansBeforeIndex = 8;
  std::array<GramIndex, kMaxSources> indexes;
  AnchorMatch match;
  for (int k = 0; k < window_count; ++k) {
    match.offsets[k] = static_cast<std::int32_t>(2 * windows[k].size());
  }
  bool found = false;
  for (int length = kLongestAnchor; length > 0; length -= kAnchorStep) {
    // A single common character only moves an anchor of 4 or more closer.
    if (length > 1 || found) {
      int lookups = 0;
      for (std::int32_t i = 0;; i += 2) {
        const std::size_t first = static_cast<std::size_t>(i / 2);
        if (windows[0].size() < first + static_cast<std::size_t>(length)) {
          break;
        }
        const auto anchor = windows[0].subspan(first, length);
        std::int32_t sum = i;
        std::array<std::int32_t, kMaxSources> at{i, 0, 0};
        bool everywhere = true;
        if (++lookups == kScansBeforeIndex) {
          for (int k = 1; k < window_count; ++k) {
            indexes[k].Build(windows[k], static_cast<std::size_t>(length));
          }
        }
        for (int k = 1; k < window_count && everywhere; ++k) {
          const std::int32_t p = lookups >= kScansBeforeIndex
                                     ? indexes[k].FindFirst(anchor)
                                     : FindFirst(windows[k], anchor);
          everywhere = p >= 0;
          at[k] = 2 * p;
          sum += 2 * p;
        }
        if (everywhere) {
          if (sum < match.best) {
            match.best = sum;
            match.offsets = at;
          }
          found = true;
        }
        if (i + 2 > match.best) break;
      }
    }
    // Later sweeps see only what lies before the best anchor so far.
    for (int k = 0; k < window_count; ++k) {
      windows[k] = windows[k].first(static_cast<std::size_t>(
          std::min<std::int64_t>(match.offsets[k] / 2, windows[k].size())));
    }
  }
  return match;
}

bool FindResync(TokenReader& reader, RunSources& sources,
                WalkPosition& position, LookAhead& look_ahead,
                DifferenceSpans& spans, VariantKeys& keys) {
  const int n = sources.count;
  const std::int32_t window_size = look_ahead.window_size;
  auto& windows = look_ahead.windows;

  for (int k = 0; k < n; ++k) {
    SourceStream& src = *sources.streams[k];
    const Code code = position.current[k];
    std::int64_t back = 0;
    if (code == kEndOfSource) {
      back = 0;
    } else if (IsSingleByteCode(code)) {
      // A high byte that took a NUL along with it stands for two bytes.
      back = (code >= kSingleByteBase + kFirstHighByte && src.PrecededByNul())
                 ? 2
                 : 1;
    } else if (IsDoubleByteCode(code)) {
      back = 2;
    } else {
      back = static_cast<std::int64_t>(reader.TokenLength(code));
    }
    src.SeekRelative(-back);
    spans.start[k] = src.Tell();
  }

  std::array<std::int64_t, kMaxSources> line_rest{};
  std::array<std::int64_t, kMaxSources> local_line = position.lines;
  // Every slot is written below, so the windows need no clearing.
  for (int k = 0; k < n; ++k) {
    windows[k].resize(static_cast<std::size_t>(window_size));
  }
  for (std::int32_t slot = 0; slot < window_size; ++slot) {
    for (int k = 0; k < n; ++k) {
      SourceStream& src = *sources.streams[k];
      Code code;
      for (;;) {
        code = reader.ReadToken(src);
        if (!reader.IsIgnored(code)) {
          if (local_line[k] == position.lines[k]) line_rest[k] += 2;
          break;
        }
        if (code == kEndOfSource) break;
        if (code == kLineFeed) ++local_line[k];
      }
      position.current[k] = code;
      windows[k][static_cast<std::size_t>(slot)] =
          static_cast<std::uint16_t>(keys.Key(code));
    }
  }

  std::array<std::span<const std::uint16_t>, kMaxSources> strings;
  for (int k = 0; k < n; ++k) strings[k] = WindowString(windows[k]);
  const AnchorMatch match = SearchAnchor(strings, n);

  const bool found = match.found();
  for (int k = 0; k < n; ++k) {
    spans.length[k] =
        found ? std::min<std::int64_t>(match.offsets[k], line_rest[k])
              : line_rest[k];
  }
  return found;
}

}  // namespace tessel
