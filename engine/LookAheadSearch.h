// The tries of the search after a difference, over the slots kept in a
// look-ahead: one try of a fixed look-ahead, or the growing look-ahead's
// tries of 100, 400, 1600, ... characters. Big5 and Unicode runs share
// them; they differ only in what a slot holds and how it is read.

#ifndef TESSEL_ENGINE_LOOKAHEADSEARCH_H_
#define TESSEL_ENGINE_LOOKAHEADSEARCH_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "AnchorRules.h"
#include "LookAheadSlots.h"
#include "NearestAnchor.h"
#include "Resync.h"
#include "RunState.h"

namespace tessel {

// With every source's look-ahead started at its span start (Start), reads
// the slots through `reader` and searches them: a fixed look-ahead of
// look_ahead.window_size, or the growing look-ahead while no anchor is
// found and some look-ahead did not reach the end of its source, up to
// look_ahead.max_window. `keyed(k, window)` gives what the search sees of
// source k's window (its variant keys, or the window itself). Sets the
// span lengths (the anchor offsets, capped at the rest of the current
// line), each current code to the last code of the look-ahead used, and
// raises look_ahead.reached_window. Returns whether an anchor was found.
template <typename Unit, typename SlotReader, typename Keyed>
bool SearchLookAhead(BasicLookAheadSlots<Unit>& kept, SlotReader& reader,
                     std::array<SourceStream*, kMaxSources> streams, int n,
                     LookAhead& look_ahead, WalkPosition& position,
                     DifferenceSpans& spans, Keyed&& keyed) {
  // A fixed look-ahead is tried once; the growing one from its first size
  // on, while it finds nothing and some source goes on beyond it.
  std::int32_t window = look_ahead.auto_window
                            ? std::min(kAutoFirstWindow, look_ahead.max_window)
                            : look_ahead.window_size;
  AnchorMatch match;
  bool found = false;
  for (;;) {
    // The first try of the growing look-ahead is that of a fixed one.
    const bool fixed_rules =
        !look_ahead.auto_window || window <= kAutoFirstWindow;
    const AnchorRules& rules = fixed_rules ? kFixedRules : kAutoRules;
    kept.ReadSlotsWith(reader, streams, n, window);
    std::array<std::span<const Unit>, kMaxSources> strings;
    bool all_ended = true;
    for (int k = 0; k < n; ++k) {
      const std::span<const Unit> slots = kept.Window(k, window);
      all_ended &= slots.size() < static_cast<std::size_t>(window);
      strings[k] = keyed(k, slots);
    }
    // A later try of the growing look-ahead comes after one that found no
    // anchor within a quarter of its size, so it searches the whole of it
    // at once.
    match = fixed_rules ? SearchNearestAnchor(strings, n, rules)
                        : SearchAnchor(strings, n, rules);
    found = match.found();
    if (!look_ahead.auto_window || found || all_ended ||
        window >= look_ahead.max_window) {
      break;
    }
    window = NextAutoWindow(window, look_ahead.max_window);
  }
  look_ahead.reached_window = std::max(look_ahead.reached_window, window);

  for (int k = 0; k < n; ++k) {
    const std::int64_t line_rest = 2 * kept.RestOfLine(k, window);
    spans.length[k] =
        found ? std::min<std::int64_t>(match.offsets[k], line_rest) : line_rest;
    position.current[k] = kept.CodeAt(k, window - 1);
  }
  return found;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_LOOKAHEADSEARCH_H_
