// The state of one comparison run, in the parts its stages change. The run
// (ComparisonRun) owns all of them and hands each stage only the parts it
// needs; a part passed as const is only read. Index k is source k + 1.
//
//   stage               changes                         reads
//   walk, shortcuts     sources, results, WalkPosition  the ignored symbols
//   search (Resync)     sources, WalkPosition.current,  WalkPosition.lines
//                       DifferenceSpans, LookAhead
//   writers             sources, every output           WalkPosition,
//                                                       DifferenceSpans

#ifndef TESSEL_ENGINE_RUNSTATE_H_
#define TESSEL_ENGINE_RUNSTATE_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CharCodes.h"
#include "FarAnchorMemo.h"
#include "KeyedSlots.h"
#include "LookAheadSlots.h"
#include "OutputStream.h"
#include "SourceStream.h"

namespace tessel {

constexpr int kMaxSources = 3;
static_assert(LookAheadSlots::kMaxSources == kMaxSources);

// The sources of a run, opened and closed by the run alone. Every stage
// reads them and moves their positions.
struct RunSources {
  int count = 2;  // 2, or 3 with three files
  std::array<std::unique_ptr<SourceStream>, kMaxSources> streams;
  // The names as given, in the system's bytes, for the closing lines.
  std::array<std::string, kMaxSources> names;
  // The same names in UTF-8, for the closing lines of a Unicode run.
  std::array<std::string, kMaxSources> utf8_names;
};

// The outputs of a run, opened and closed by the run alone.
struct RunOutputs {
  std::array<std::unique_ptr<OutputStream>, kMaxSources> results;
  std::unique_ptr<OutputStream> difference;
};

// Where the walk stands in each source.
struct WalkPosition {
  // The last code read from each source.
  std::array<Code, kMaxSources> current{};
  // The line each source has reached, from 1; only the walk counts lines.
  std::array<std::int64_t, kMaxSources> lines{1, 1, 1};
};

// The differing stretch of each source: its byte offset, and its length in
// packed bytes (2 per compared character).
struct DifferenceSpans {
  std::array<std::int64_t, kMaxSources> start{};
  std::array<std::int64_t, kMaxSources> length{};
};

// The search's look-ahead: its size, and the slots of each source, one per
// compared character, kept from one difference to the next. The run
// reserves a fixed look-ahead (or the first try of a growing one) at its
// start, so that a lack of memory shows before the walk writes anything.
struct LookAhead {
  explicit LookAhead(std::int32_t size) : window_size(size) {}
  std::int32_t window_size;
  // The growing look-ahead: window_size is then not used; the look-ahead
  // grows up to max_window, and reached_window is the widest one a search
  // has used so far (0 before the first difference).
  bool auto_window = false;
  std::int32_t max_window = 0;
  std::int32_t reached_window = 0;
  LookAheadSlots kept;
  // The slots of a Unicode run, whose keys need 32 bits.
  WideLookAheadSlots wide_kept;
  // What the growing look-ahead's last full try learned, for the searches
  // that follow it through a long gap. It holds slot numbers only, so it
  // serves kept and wide_kept alike (a run uses one of them).
  FarAnchorMemo far_anchor;
  // With variant tables in a Big5 run: the keys of the slots, for the
  // search. A Unicode run's slots hold their keys already.
  KeyedSlots keyed;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_RUNSTATE_H_
