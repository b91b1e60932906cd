// Hands a run's text and differences to its DifferenceSinks (see
// DifferenceSink.h), as UTF-8.
//
// The feed reads each source a second time, through readers of its own
// that only ever move forward and follow the walk at a distance: the
// walk's streams, positions and outputs are never touched, so a run with
// sinks writes the same result and difference files as one without. A run
// without sinks makes no feed at all.

#ifndef TESSEL_ENGINE_DIFFERENCEFEED_H_
#define TESSEL_ENGINE_DIFFERENCEFEED_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DifferenceSink.h"
#include "RunOptions.h"
#include "RunState.h"
#include "RunStatus.h"
#include "SourceStream.h"
#include "TokenReader.h"
#include "VariantSink.h"

namespace tessel {

// What a run tells its sinks at the start: the sources as `options` names
// them (UTF-8) with the sizes of the opened `sources`, the options, and
// every ignored code above the control codes, in code order.
RunDescription DescribeRun(const RunOptions& options, const RunSources& sources,
                           const SignSet& signs,
                           const NotationTable& notations);

// The sinks' word for how a run ended.
ReportOutcome ReportOutcomeOf(RunOutcome outcome);

class DifferenceFeed {
 public:
  // Copied text is handed over in pieces of at most about this many bytes,
  // so a sink is fed while a long agreeing stretch is still being read.
  static constexpr std::size_t kCopyPiece = 64 * 1024;

  // `sinks` (not empty) belong to the caller; `reader` must be the run's
  // own, so that every notation reads as the walk read it, and outlive the
  // feed. `sources[k]` reads source k from its start, for the feed alone.
  DifferenceFeed(std::vector<DifferenceSink*> sinks, TokenReader& reader,
                 std::array<std::unique_ptr<SourceStream>, kMaxSources> sources,
                 int source_count);

  // Calls BeginRun on every sink.
  void Begin(const RunDescription& run);

  // Hands over each source's text up to its span, then the difference
  // `number` of `spans`, with the lines the walk had reached.
  void Difference(std::int64_t number, const WalkPosition& position,
                  const DifferenceSpans& spans);

  // Hands over each source's text up to the variant's characters, then the
  // variant, then each character as copied text of its own.
  void Variant(const VariantMet& met);

  // Hands over each source's text up to `reached[k]`, the walk's position
  // when it left off, and notes the lines and which sources had ended:
  // read to their last byte, or every one after a completed run.
  // Called once, before the walk's streams close.
  void CatchUp(const std::array<std::int64_t, kMaxSources>& reached,
               const WalkPosition& position);

  // Calls EndRun on every sink. Nothing may be called after it.
  void End(ReportOutcome outcome, std::int64_t difference_count);

 private:
  // Reads source k up to `offset`, handing it over as copied text.
  void CopyTo(int k, std::int64_t offset);
  void FlushCopy(int k);
  // Appends the UTF-8 of what a result file holds for `code`, read last.
  void AppendToken(Code code, std::string& out) const;
  // Reads the span of source k as the result writers copy it.
  DifferenceSpan ReadSpan(int k, std::int64_t start, std::int64_t length);

  std::vector<DifferenceSink*> sinks_;
  TokenReader& reader_;
  std::array<std::unique_ptr<SourceStream>, kMaxSources> sources_;
  int source_count_;
  // The copied text of one source not yet handed over, and whether it is
  // ignored.
  std::string copy_;
  bool copy_ignored_ = false;
  // One difference's texts, per source: the whole span, its compared
  // characters.
  std::array<std::string, kMaxSources> span_text_, span_compared_;
  // One variant's character texts, per source.
  std::array<std::string, kMaxSources> variant_text_;
  RunEnd end_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_DIFFERENCEFEED_H_
