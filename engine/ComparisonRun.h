// One whole comparison of two or three sources: loads the ignored symbols,
// opens its files, walks the sources in lockstep and resynchronises after
// each difference, and ends through EndRun, which closes every file. It
// tells the host what happens while it runs, and returns how it ended.

#ifndef TESSEL_ENGINE_COMPARISONRUN_H_
#define TESSEL_ENGINE_COMPARISONRUN_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "NotationTable.h"
#include "RunHost.h"
#include "RunOptions.h"
#include "RunState.h"
#include "RunStatus.h"
#include "SignSet.h"

namespace tessel {

class ComparisonRun {
 public:
  // `host` and `notations` must outlive the run. The table belongs to the
  // caller: handed to run after run, it keeps every notation's code from
  // one run to the next, as the front ends do for the life of the program.
  ComparisonRun(RunHost& host, NotationTable& notations);
  ComparisonRun(const ComparisonRun&) = delete;
  ComparisonRun& operator=(const ComparisonRun&) = delete;
  ~ComparisonRun();

  // Performs one run with `options`, which it copies. A failed run has
  // created no output that could not all be opened, and left no input
  // touched; the errors say why it failed.
  RunStatus RunComparison(const RunOptions& options);

 private:
  bool StartRun();
  bool LoadSignFile();
  bool OpenSources();
  bool CheckOverwrites();
  bool OpenOutputs();
  bool Walk();
  bool CheckReadErrors();
  // Closes every file and frees the run's state. Returns false, with its
  // error recorded, when an output could not be written completely.
  bool EndRun();
  bool Fail();
  // Records the error and returns false.
  bool Refuse(RunErrorKind kind, RunFile file,
              const std::filesystem::path& path);

  RunHost& host_;
  NotationTable& notations_;
  RunOptions options_;
  SignSet signs_;
  std::unique_ptr<TokenReader> reader_;
  std::unique_ptr<RunState> state_;
  std::int32_t diff_count_ = 0;
  RunOutcome outcome_ = RunOutcome::kFailed;
  std::vector<RunError> errors_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_COMPARISONRUN_H_
