// One whole comparison of two or three sources: takes its options from the
// host, loads the ignored symbols, opens its files, walks the sources in
// lockstep and resynchronises after each difference, and ends through
// EndRun, which closes every file.

#ifndef TESSEL_ENGINE_COMPARISONRUN_H_
#define TESSEL_ENGINE_COMPARISONRUN_H_

#include <cstdint>
#include <memory>

#include "NotationTable.h"
#include "RunHost.h"
#include "RunOptions.h"
#include "RunState.h"
#include "SignSet.h"

namespace tessel {

// How the last run ended.
enum class RunOutcome {
  kFailed,           // before or during the walk; a message was shown
  kStopped,          // the user stopped it; "被中斷了 !" was shown
  kCompleted,        // every source was read to its end; end line written
  kLeftAtEndOfFile,  // the walk met an end-of-file indicator
  kCutOffNoAnchor,   // no common stretch within the look-ahead
  kCutOffLimit,      // the difference limit was reached
};

class ComparisonRun {
 public:
  // `host` and `notations` must outlive the run. The notation table is the
  // process's own unless a test gives another.
  explicit ComparisonRun(RunHost& host,
                         NotationTable& notations = NotationTable::Process());
  ComparisonRun(const ComparisonRun&) = delete;
  ComparisonRun& operator=(const ComparisonRun&) = delete;
  ~ComparisonRun();

  // Performs one run. Returns true when it completed, was cut off with
  // closing lines, or left its loop at an end-of-file indicator; false when
  // it failed (a message has been shown) or was stopped.
  bool RunComparison();

  RunOutcome outcome() const { return outcome_; }
  std::int32_t DiffCount() const { return diff_count_; }
  // The widest look-ahead a search of the last run used (0 when it met no
  // difference).
  std::int32_t ReachedWindow() const { return reached_window_; }
  // The line each source had reached when the last run ended, from 1, as
  // its closing lines give it; what a caller says of a run cut off.
  const std::array<std::int64_t, kMaxSources>& LinesReached() const {
    return lines_reached_;
  }

 private:
  bool StartRun();
  bool LoadSignFile();
  bool OpenSources();
  bool CheckOverwrites();
  bool OpenOutputs();
  bool Walk();
  bool CheckReadErrors();
  // Closes every file and frees the run's state. Returns false, after its
  // message, when an output could not be written completely.
  bool EndRun();
  bool Fail();

  RunHost& host_;
  NotationTable& notations_;
  RunOptions options_;
  SignSet signs_;
  std::unique_ptr<TokenReader> reader_;
  std::unique_ptr<RunState> state_;
  std::int32_t diff_count_ = 0;
  std::int32_t reached_window_ = 0;
  std::array<std::int64_t, kMaxSources> lines_reached_{};
  RunOutcome outcome_ = RunOutcome::kFailed;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_COMPARISONRUN_H_
