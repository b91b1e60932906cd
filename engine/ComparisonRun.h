// One whole comparison of two or three sources: loads the ignored symbols,
// opens its files, walks the sources in lockstep and resynchronises after
// each difference, and ends through EndRun, which closes every file. It
// tells the host what happens while it runs, and returns how it ended.

#ifndef TESSEL_ENGINE_COMPARISONRUN_H_
#define TESSEL_ENGINE_COMPARISONRUN_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "DifferenceFeed.h"
#include "DifferenceSink.h"
#include "NotationTable.h"
#include "RunHost.h"
#include "RunOptions.h"
#include "RunState.h"
#include "RunStatus.h"
#include "SignSet.h"
#include "TokenReader.h"
#include "UnicodeRunStages.h"
#include "VariantKeys.h"
#include "VariantSink.h"
#include "VariantTable.h"

namespace tessel {

class ComparisonRun {
 public:
  // `host` and `notations` must outlive the run. The table belongs to the
  // caller: handed to run after run, it keeps every notation's code from
  // one run to the next, as the front ends do for the life of the program.
  //
  // Each run hands its text and differences to `sinks` as it goes (see
  // DifferenceSink.h); they belong to the caller, who writes and closes
  // their outputs. With none, a run does no work for them.
  ComparisonRun(RunHost& host, NotationTable& notations,
                std::vector<DifferenceSink*> sinks = {});
  ComparisonRun(const ComparisonRun&) = delete;
  ComparisonRun& operator=(const ComparisonRun&) = delete;
  ~ComparisonRun();

  // Performs one run with `options`, which it copies. A failed run has
  // created no output that could not all be opened, and left no input
  // touched; the errors say why it failed.
  RunStatus RunComparison(const RunOptions& options);

  // Every variant the following runs meet is handed to `sink`, which must
  // outlive them; nullptr hands them to no one. They are counted either way.
  void SetVariantSink(VariantSink* sink) { variant_sink_ = sink; }

  // In fast mode the timer is looked at after every difference and after
  // this many passes without one, which keeps a stop well within a tick.
  static constexpr int kFastPassesPerTickCheck = 1024;

 private:
  // The walk's own counters, kept from pass to pass.
  struct WalkPace {
    bool fast = false;  // the host said fast mode; never asked again
    int passes_to_tick_check = 0;
    int passes_to_shared_try = 0;
    int shared_misses = 0;  // shortcut attempts that failed in a row
  };

  bool StartRun();
  bool LoadSignFile();
  // Builds the variant table and keys of options_.variant_tables.
  bool LoadVariantTables();
  bool OpenSources();
  // Decides each source's encoding, and so whether the run is a Unicode
  // run; with one, makes its readers and loads its ignored symbols.
  bool ChooseEncodings();
  bool LoadUnicodeSigns();
  // Gives a Unicode run its shortcuts, unless they must stand aside.
  void StartUnicodeShortcuts();
  // A Big5 run's sign file or memo that is Unicode text, turned into Big5.
  bool LoadUnicodeSignFileAsBig5(Encoding encoding);
  // Gives a Unicode run's readers their ignored stretches and notes.
  void SetUnicodeTokens(const std::vector<IgnoredStretch>& stretches);
  // Gives `reader` the run's ignored stretches and notes, as the walk's
  // readers have them.
  void ReadLikeTheWalk(UnicodeTokenReader& reader,
                       const std::vector<IgnoredStretch>& stretches);
  bool CheckOverwrites();
  bool OpenOutputs();
  // Opens the sources a second time for the sinks and tells them the run
  // begins.
  bool StartFeed();

  // The lockstep walk, pass by pass, to the end of the run: sets outcome_,
  // and closes the files.
  void Walk();
  template <bool kUnicode>
  void WalkAll();
  // Copies a stretch the sources share in one go, when one follows, and
  // spaces out the attempts while none does.
  void TryShortcuts(WalkPace& pace);
  // The same for a Unicode run (UnicodeSharedStretch.h), when it has them.
  void TryUnicodeShortcuts(WalkPace& pace);
  // After an attempt: the next one comes at once after a copy, and ever
  // later while none is made.
  void PaceShortcuts(WalkPace& pace, bool copied);
  // Reads the next compared code of every source into position_.current,
  // copying what is ignored. Returns how many sources have ended.
  int AdvanceSources();
  int AdvanceSourcesUnicode();
  // Whether the current codes agree, as characters or as variants; counts
  // and hands on a variant.
  bool SourcesAgree();
  void RecordVariant();
  // The same for a Unicode run's keys, joined through its variant table.
  bool SourcesAgreeUnicode();
  void RecordVariantUnicode();
  void WriteAgreeingCodes();
  void WriteAgreeingUnicode();
  // Finds where the sources agree again and writes the difference. Returns
  // false when the run ended there: a read error, or cut off with its
  // closing lines.
  bool WriteDifferenceAndResync();
  // Processes events, and on a timer tick moves the progress and reads the
  // stop request. Returns true when the run is to stop.
  bool PollHost(WalkPace& pace, bool differed);
  bool AnySourceAtEndOfFile() const;
  // Writes the variant count line when a table is in use.
  void WriteVariantCountLine();
  // Every source has ended: the end line, then the files are closed.
  void EndOfSources();
  // The walk left its loop, stopped or at an end-of-file indicator.
  void LeaveWalk();
  // Records a read error of any source; returns false if there was one.
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
  // Set for a Unicode run, from StartRun to EndRun.
  std::unique_ptr<UnicodeReaders> unicode_;
  std::array<Encoding, kMaxSources> encodings_{};
  std::optional<Encoding> sign_file_encoding_;
  // The run's state in the parts the stages change (see RunState.h), from
  // StartRun to EndRun.
  RunSources sources_;
  RunOutputs outputs_;
  WalkPosition position_;
  DifferenceSpans spans_;
  std::unique_ptr<LookAhead> look_ahead_;
  std::int32_t diff_count_ = 0;
  // Taken from the state as EndRun frees it, for the run's status.
  std::int32_t reached_window_ = 0;
  std::array<std::int64_t, kMaxSources> lines_reached_{1, 1, 1};
  VariantTable variant_table_;
  VariantKeys variant_keys_;
  VariantSink* variant_sink_ = nullptr;
  std::int64_t variant_count_ = 0;
  RunOutcome outcome_ = RunOutcome::kFailed;
  std::vector<RunError> errors_;
  VariantTableError variant_table_error_;
  std::vector<DifferenceSink*> sinks_;
  // From StartFeed to the end of RunComparison, when there are sinks.
  std::unique_ptr<DifferenceFeed> feed_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_COMPARISONRUN_H_
