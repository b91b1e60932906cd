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

#include "GrowingSearch.h"
#include "LookAheadSlots.h"
#include "Resync.h"
#include "RunState.h"

namespace tessel {

// With every source's look-ahead started at its span start (Start), reads
// the slots through `reader` and searches them with TryLookAheads
// (GrowingSearch.h): a fixed look-ahead of look_ahead.window_size, or the
// growing look-ahead while no anchor is found and some look-ahead did not
// reach the end of its source, up to look_ahead.max_window, its later tries
// answered from look_ahead.far_anchor where it can tell.
// `keyed(k, frame, window)` gives what the search sees of source k's
// window, whose first slot is frame.first[k] (its variant keys, or the
// window itself). Sets the span lengths (the anchor offsets, capped at the
// rest of the current line), each current code to the last code of the
// look-ahead used, and raises look_ahead.reached_window. Returns whether an
// anchor was found.
template <typename Unit, typename SlotReader, typename Keyed>
bool SearchLookAhead(BasicLookAheadSlots<Unit>& kept, SlotReader& reader,
                     std::array<SourceStream*, kMaxSources> streams, int n,
                     LookAhead& look_ahead, WalkPosition& position,
                     DifferenceSpans& spans, Keyed&& keyed) {
  // Slot numbers stay the same across searches, so that what one search
  // learned can be told to the next.
  SlotFrame frame;
  for (int k = 0; k < n; ++k) {
    frame.first[k] = kept.FirstSlot(k);
    frame.generation[k] = kept.Generation(k);
  }
  const auto windows_of = [&](std::int32_t window) {
    kept.ReadSlotsWith(reader, streams, n, window);
    std::array<std::span<const Unit>, kMaxSources> strings;
    for (int k = 0; k < n; ++k) {
      strings[k] = keyed(k, frame, kept.Window(k, window));
    }
    return strings;
  };
  const LookAheadTry tried =
      TryLookAheads(windows_of, n, look_ahead.auto_window,
                    look_ahead.window_size, look_ahead.max_window, frame,
                    look_ahead.auto_window ? &look_ahead.far_anchor : nullptr);
  const bool found = tried.match.found();
  const std::int32_t window = tried.window;
  look_ahead.reached_window = std::max(look_ahead.reached_window, window);

  for (int k = 0; k < n; ++k) {
    const std::int64_t line_rest = 2 * kept.RestOfLine(k, window);
    spans.length[k] =
        found ? std::min<std::int64_t>(tried.match.offsets[k], line_rest)
              : line_rest;
    position.current[k] = kept.CodeAt(k, window - 1);
  }
  return found;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_LOOKAHEADSEARCH_H_
