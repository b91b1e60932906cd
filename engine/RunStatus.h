// What a comparison run tells its caller when it is over: how it ended,
// how many differences it wrote, and, when it failed, what went wrong with
// which file. The engine words nothing: each front end turns these values
// into its own messages.

#ifndef TESSEL_ENGINE_RUNSTATUS_H_
#define TESSEL_ENGINE_RUNSTATUS_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "Encoding.h"
#include "VariantTableFile.h"

namespace tessel {

// How a run ended.
enum class RunOutcome {
  kFailed,           // before or during the walk; see RunStatus::errors
  kStopped,          // the host asked it to stop
  kCompleted,        // every source was read to its end; end line written
  kLeftAtEndOfFile,  // the walk met an end-of-file indicator
  kCutOffNoAnchor,   // no common stretch within the look-ahead
  kCutOffLimit,      // the difference limit was reached
};

// The part a file plays in a run.
enum class RunFile {
  kNone,  // the error concerns no file
  kSource1,
  kSource2,
  kSource3,
  kResult1,
  kResult2,
  kResult3,
  kDifference,  // the difference file
  kSignFile,    // the ignored-symbol file
  kMemoFile,    // a file read as the memo's text (tessel-cli's --sign-memo)
  kReport,      // a report the caller writes (RunOptions::report_outputs)
};

// Source k (0-based) and its result file.
constexpr RunFile SourceFile(int k) {
  return static_cast<RunFile>(static_cast<int>(RunFile::kSource1) + k);
}
constexpr RunFile ResultFile(int k) {
  return static_cast<RunFile>(static_cast<int>(RunFile::kResult1) + k);
}

enum class RunErrorKind {
  kOpenFailed,      // the file could not be opened; a folder cannot
  kWouldOverwrite,  // an output names an input or an earlier output
  kReadFailed,      // reading an opened input failed part way
  kWriteFailed,     // an output could not be written completely
  kOutOfMemory,     // the look-ahead could not be allocated; no file.
                    // A growing look-ahead may meet it part way.
  kVariantTable,    // a variant table was refused; no file (see
                    // RunStatus::variant_table)
  kTooLarge,        // a sign file or memo file goes on past
                    // kMaxWholeFileSize bytes
                    // Nothing was opened or written.
};

struct RunError {
  RunErrorKind kind = RunErrorKind::kOpenFailed;
  RunFile file = RunFile::kNone;
  // The path as the options gave it; empty when `file` is kNone.
  std::filesystem::path path;

  friend bool operator==(const RunError&, const RunError&) = default;
};

struct RunStatus {
  RunOutcome outcome = RunOutcome::kFailed;
  // Differences written, as last given to the host.
  std::int32_t diff_count = 0;
  // Places where the sources held variants of one character, which the
  // run compared as equal; 0 without a variant table.
  std::int64_t variant_count = 0;
  // In the order met. A failed run has at least one. A second one comes
  // only from closing the outputs after an earlier error, and is kept so
  // that a lost output is never left unreported.
  std::vector<RunError> errors;
  // The widest look-ahead a search used (0 when the run met no
  // difference); what a growing look-ahead reached.
  std::int32_t reached_window = 0;
  // The line each source had reached when the run ended (from 1; index k
  // is source k + 1), as a cut-off's closing lines name it. Filled for
  // every run that opened its sources; unused sources stay at 1.
  std::array<std::int64_t, 3> lines_reached{1, 1, 1};
  // Which table was refused and why, with a kVariantTable error.
  VariantTableError variant_table;
  // The encoding each source was read in (index k is source k + 1): the
  // one named in the options, or what auto detected. Filled for every run,
  // before any file is opened; unused sources stay big5.
  std::array<Encoding, 3> encodings{Encoding::kBig5, Encoding::kBig5,
                                    Encoding::kBig5};

  // Whether the run came to a normal end: completed, cut off with closing
  // lines, or left at an end-of-file indicator.
  bool ended_normally() const {
    return outcome != RunOutcome::kFailed && outcome != RunOutcome::kStopped;
  }
  bool cut_off() const {
    return outcome == RunOutcome::kCutOffNoAnchor ||
           outcome == RunOutcome::kCutOffLimit;
  }
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_RUNSTATUS_H_
