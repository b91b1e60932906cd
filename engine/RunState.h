// The state of one comparison run, shared by the lockstep walk, the
// resynchronisation search and the writers. Index k is source k + 1.

#ifndef TESSEL_ENGINE_RUNSTATE_H_
#define TESSEL_ENGINE_RUNSTATE_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CharCodes.h"
#include "LookAhead.h"
#include "OutputStream.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel {

constexpr int kMaxSources = 3;
static_assert(LookAhead::kMaxSources == kMaxSources);

struct RunState {
  RunState(TokenReader& token_reader, int sources, std::int32_t window)
      : reader(token_reader), source_count(sources), window_size(window) {}

  TokenReader& reader;
  int source_count;  // 2, or 3 with three files
  std::int32_t window_size;
  // The growing look-ahead: window_size is then not used; the look-ahead
  // grows up to max_window, and reached_window is the widest one a search
  // has used so far.
  bool auto_window = false;
  std::int32_t max_window = 0;
  std::int32_t reached_window = 0;

  std::array<std::unique_ptr<SourceStream>, kMaxSources> sources;
  std::array<std::unique_ptr<OutputStream>, kMaxSources> results;
  std::unique_ptr<OutputStream> difference;
  // Source names as given, in the system's bytes, for the closing lines.
  std::array<std::string, kMaxSources> source_names;

  // The last code read from each source.
  std::array<Code, kMaxSources> current{};
  // The line each source has reached, from 1; only the walk counts lines.
  std::array<std::int64_t, kMaxSources> lines{1, 1, 1};
  // The differing stretch of each source: its byte offset, and its length
  // in packed bytes (2 per compared character).
  std::array<std::int64_t, kMaxSources> span_start{};
  std::array<std::int64_t, kMaxSources> span_length{};
  // The look-ahead of each source: one slot per compared character, kept
  // from one difference to the next.
  LookAhead lookahead;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_RUNSTATE_H_
