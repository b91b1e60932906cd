#include "ComparisonRun.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "Messages.h"
#include "PlatformFile.h"
#include "ResultWriters.h"
#include "Resync.h"
#include "SharedStretch.h"

namespace tessel {

namespace {

constexpr std::array<RunField, kMaxSources> kSourceFields = {
    RunField::kFile1, RunField::kFile2, RunField::kFile3};
constexpr std::array<RunField, kMaxSources> kResultFields = {
    RunField::kResult1, RunField::kResult2, RunField::kResult3};

// Writing to a character device such as /dev/null destroys nothing, so it
// may stand for several outputs.
bool IsCharacterDevice(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_character_file(path, ec);
}

}  // namespace

ComparisonRun::ComparisonRun(RunHost& host, NotationTable& notations)
    : host_(host), notations_(notations) {}

ComparisonRun::~ComparisonRun() = default;

bool ComparisonRun::Fail() {
  EndRun();
  outcome_ = RunOutcome::kFailed;
  return false;
}

bool ComparisonRun::LoadSignFile() {
  const std::string name = DisplayName(options_.SignFileName);
  std::unique_ptr<SourceStream> file =
      SourceStream::OpenFile(options_.SignFileName);
  if (file == nullptr || file->Length() < 0) {
    host_.ShowMessage(messages::SignFileOpenFailed(name));
    host_.FocusField(RunField::kSignFile);
    return false;
  }
  signs_.LoadSignFile(*reader_, *file);
  if (file->Error()) {
    host_.ShowMessage(messages::ReadFailed(name));
    host_.FocusField(RunField::kSignFile);
    return false;
  }
  return true;
}

bool ComparisonRun::OpenSources() {
  for (int k = 0; k < state_->source_count; ++k) {
    state_->sources[k] = SourceStream::OpenFile(options_.Sources[k]);
    if (state_->sources[k] == nullptr) {
      host_.ShowMessage(messages::OpenFailed(DisplayName(options_.Sources[k])));
      host_.FocusField(kSourceFields[k]);
      return false;
    }
    state_->source_names[k] = NativeName(options_.Sources[k]);
  }
  return true;
}

bool ComparisonRun::CheckOverwrites() {
  std::vector<std::filesystem::path> inputs;
  for (int k = 0; k < state_->source_count; ++k) {
    inputs.push_back(options_.Sources[k]);
  }
  if (options_.UseSignFile) inputs.push_back(options_.SignFileName);
  for (const auto& other : options_.OtherInputs) inputs.push_back(other);

  std::vector<std::pair<std::filesystem::path, RunField>> outputs;
  for (int k = 0; k < state_->source_count; ++k) {
    outputs.emplace_back(options_.Results[k], kResultFields[k]);
  }
  outputs.emplace_back(options_.Difference, RunField::kResult);

  for (std::size_t j = 0; j < outputs.size(); ++j) {
    const auto& [output, field] = outputs[j];
    if (IsCharacterDevice(output)) continue;
    bool clash = false;
    for (const auto& input : inputs) clash = clash || SameFile(output, input);
    for (std::size_t i = 0; i < j; ++i) {
      clash = clash || SameFile(output, outputs[i].first);
    }
    if (clash) {
      host_.ShowMessage(messages::WouldOverwrite(DisplayName(output)));
      host_.FocusField(field);
      return false;
    }
  }
  return true;
}

bool ComparisonRun::OpenOutputs() {
  std::vector<std::tuple<std::filesystem::path, OutputStream::Mode, RunField,
                         std::unique_ptr<OutputStream>*>>
      outputs;
  for (int k = 0; k < state_->source_count; ++k) {
    outputs.emplace_back(options_.Results[k], OutputStream::Mode::kBinary,
                         kResultFields[k], &state_->results[k]);
  }
  outputs.emplace_back(options_.Difference, OutputStream::Mode::kText,
                       RunField::kResult, &state_->difference);

  const auto refuse = [&](const std::filesystem::path& path, RunField field) {
    host_.ShowMessage(messages::OpenFailed(DisplayName(path)));
    host_.FocusField(field);
    return false;
  };

  // Every output must open before any is emptied: a run that cannot start
  // leaves the results of the last one whole, and creates nothing.
  std::vector<std::filesystem::path> created;
  for (const auto& [path, mode, field, stream] : outputs) {
    bool made = false;
    const bool ok = CanOpenForWriting(path, &made);
    if (made) created.push_back(path);
    if (!ok) {
      std::error_code ec;
      for (const auto& made_path : created) {
        std::filesystem::remove(made_path, ec);
      }
      return refuse(path, field);
    }
  }
  for (const auto& [path, mode, field, stream] : outputs) {
    *stream = OutputStream::OpenFile(path, mode);
    if (*stream == nullptr) return refuse(path, field);
  }
  return true;
}

bool ComparisonRun::StartRun() {
  options_ = host_.Options();
  const int source_count = options_.ThreeFiles ? 3 : 2;
  signs_.Clear();
  reader_ =
      std::make_unique<TokenReader>(notations_, signs_, options_.DoLoseWord);
  state_ =
      std::make_unique<RunState>(*reader_, source_count, options_.WindowSize);
  state_->auto_window = options_.AutoWindow;
  state_->max_window = options_.MaxWindow;

  if (options_.UseSignFile && !LoadSignFile()) return false;
  if (options_.UseSignMemo) signs_.LoadSignMemo(options_.SignMemo);

  if (!OpenSources() || !CheckOverwrites() || !OpenOutputs()) return false;

  diff_count_ = 0;
  host_.SetDiffCount(0);
  SourceStream& first = *state_->sources[0];
  host_.SetProgressMaximum(std::max<std::int64_t>(first.Length(), 0));
  first.Seek(0);
  return true;
}

namespace {

// Reads codes from `src` until one is compared or the source has ended,
// writing the ignored ones to `out` and counting line feeds. Returns the
// code that ended the advance.
inline Code Advance(TokenReader& reader, SourceStream& src, OutputStream& out,
                    std::int64_t& lines) {
  for (;;) {
    const Code code = reader.ReadToken(src);
    if (!reader.IsIgnored(code)) return code;
    if (code == kEndOfSource) return code;
    if (code == kLineFeed) ++lines;
    reader.WriteCodeText(code, out);
  }
}

// In fast mode the timer is looked at after every difference and after
// this many passes without one, which keeps a stop well within a tick.
constexpr int kFastPassesPerTickCheck = 1024;
// After n failed attempts in a row, the next comes 2^n passes later.
constexpr int kMostSharedBackoff = 6;

}  // namespace

bool ComparisonRun::CheckReadErrors() {
  for (int k = 0; k < state_->source_count; ++k) {
    if (state_->sources[k]->Error()) {
      host_.ShowMessage(messages::ReadFailed(DisplayName(options_.Sources[k])));
      host_.FocusField(kSourceFields[k]);
      return false;
    }
  }
  return true;
}

bool ComparisonRun::Walk() {
  RunState& state = *state_;
  TokenReader& reader = *reader_;
  const int n = state.source_count;
  std::array<SourceStream*, kMaxSources> sources{};
  std::array<OutputStream*, kMaxSources> results{};
  for (int k = 0; k < n; ++k) {
    sources[k] = state.sources[k].get();
    results[k] = state.results[k].get();
  }
  bool fast = false;
  int passes_to_tick_check = 0;
  int passes_to_shared_try = 0;
  int shared_misses = 0;

  for (;;) {
    // In fast mode no pass is seen from outside, so a stretch that every
    // source holds alike may be copied whole. Where the sources differ in
    // layout the attempt fails at once; it is then not repeated for a
    // while.
    if (fast && --passes_to_shared_try <= 0) {
      if (CopySharedStretch(state) > 0 || CopyAgreeingStretch(state) > 0) {
        passes_to_tick_check = 0;
        shared_misses = 0;
        passes_to_shared_try = 0;
      } else {
        // The longer the sources go on differing, the rarer the attempts.
        shared_misses = std::min(shared_misses + 1, kMostSharedBackoff);
        passes_to_shared_try = 1 << shared_misses;
      }
    }

    int ended = 0;
    for (int k = 0; k < n; ++k) {
      state.current[k] =
          Advance(reader, *sources[k], *results[k], state.lines[k]);
      if (state.current[k] == kEndOfSource) ++ended;
    }
    // A read error reads as the end, so it is looked for only then.
    if (ended > 0 && !CheckReadErrors()) return Fail();
    if (ended == n) {
      WriteEndLine(state);
      outcome_ = RunOutcome::kCompleted;
      return EndRun();
    }
    // With two sources the third code mirrors the first, so the test below
    // compares sources 1 and 2 only.
    if (n == 2) state.current[2] = state.current[0];

    bool differed = false;
    if (state.current[0] == state.current[1] &&
        state.current[1] == state.current[2]) {
      for (int k = 0; k < n; ++k) {
        reader.WriteCodeText(state.current[k], *results[k]);
      }
    } else {
      differed = true;
      bool found = false;
      try {
        found = FindResync(state);
      } catch (const std::bad_alloc&) {
        // A growing look-ahead may ask for more than the machine has.
        host_.ShowMessage(messages::kNoMemory);
        return Fail();
      }
      if (!CheckReadErrors()) return Fail();
      WriteDifference(state);
      ++diff_count_;
      host_.SetDiffCount(diff_count_);
      if (!found) {
        // Every look-ahead reached the end of its source: the rest was
        // reported, and the walk finishes by itself.
        bool all_ended = true;
        for (int k = 0; k < n; ++k) all_ended &= state.current[k] == 0;
        found = all_ended;
      }
      if (!found || diff_count_ >= options_.DiffLimit) {
        WriteClosingLines(state);
        outcome_ =
            found ? RunOutcome::kCutOffLimit : RunOutcome::kCutOffNoAnchor;
        return EndRun();
      }
    }

    // Fast mode processes no events, so nothing can turn it off again; the
    // host is not asked after it first said yes.
    if (!fast) {
      fast = host_.FastMode();
      if (!fast) host_.ProcessEvents();
    }
    if (!fast || differed || --passes_to_tick_check <= 0) {
      passes_to_tick_check = kFastPassesPerTickCheck;
      if (host_.TimerTick()) {
        host_.SetProgressPosition(sources[0]->Tell());
        if (host_.StopRequested()) break;
        host_.ClearTimerTick();
      }
    }

    // Only a read that meets the end sets the indicator, and such a read
    // yields 0; a difference leaves every source repositioned.
    if (ended > 0 || differed) {
      bool at_eof = false;
      for (int k = 0; k < n; ++k) at_eof |= sources[k]->Eof();
      if (at_eof) break;
    }
  }

  if (!EndRun()) return false;
  if (host_.StopRequested()) {
    host_.ShowMessage(messages::kStopped);
    outcome_ = RunOutcome::kStopped;
    return false;
  }
  outcome_ = RunOutcome::kLeftAtEndOfFile;
  return true;
}

bool ComparisonRun::RunComparison() {
  outcome_ = RunOutcome::kFailed;
  reached_window_ = 0;
  lines_reached_ = {};
  if (!StartRun()) return Fail();
  return Walk();
}

bool ComparisonRun::EndRun() {
  if (state_ == nullptr) return true;
  RunState& state = *state_;
  if (state.sources[0] != nullptr) {
    host_.SetProgressPosition(state.sources[0]->Tell());
  }
  reached_window_ = state.reached_window;
  lines_reached_ = state.lines;
  state.lookahead.Clear();
  signs_.Clear();
  for (auto& source : state.sources) source.reset();

  // Every output is closed; the first that failed is reported.
  bool written = true;
  const auto close = [&](std::unique_ptr<OutputStream>& out,
                         const std::filesystem::path& path, RunField field) {
    if (out == nullptr) return;
    if (!out->Close() && written) {
      written = false;
      host_.ShowMessage(messages::WriteFailed(DisplayName(path)));
      host_.FocusField(field);
    }
    out.reset();
  };
  for (int k = 0; k < kMaxSources; ++k) {
    close(state.results[k], options_.Results[k], kResultFields[k]);
  }
  close(state.difference, options_.Difference, RunField::kResult);
  state_.reset();
  reader_.reset();
  if (!written) outcome_ = RunOutcome::kFailed;
  return written;
}

}  // namespace tessel
