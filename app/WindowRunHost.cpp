#include "WindowRunHost.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

#include "CompareOptions.h"
#include "FileNames.h"
#include "IntegerText.h"
#include "Tesselunit.h"

namespace tessel::app {

RunOptions WindowRunHost::Options() {
  const MainWindow::RunFields w = window_.FieldsForRun();
  const RunControlState& state = window_.run_control();
  RunOptions options;
  options.three_files = state.ThreeFiles;
  options.fold_notations = w.fold_notations;
  options.use_sign_file = w.use_sign_file;
  options.sign_file = FieldFileName(w.sign_file);
  options.use_sign_memo = w.use_sign_memo;
  // A memo that Big5 can hold goes as Big5 bytes, as it always has; one
  // that it cannot would lose characters that a Unicode run compares, and
  // goes as UTF-8, which a Big5 run turns into Big5 itself.
  if (FitsBig5(w.sign_memo)) {
    options.sign_memo = ToBig5(w.sign_memo);
  } else {
    options.sign_memo = w.sign_memo.toStdString();
    options.sign_memo_encoding = Encoding::kUtf8;
  }
  options.sources = {FieldFileName(w.sources[0]), FieldFileName(w.sources[1]),
                     FieldFileName(w.sources[2])};
  options.results = {FieldFileName(w.results[0]), FieldFileName(w.results[1]),
                     FieldFileName(w.results[2])};
  options.difference = FieldFileName(w.difference);
  options.window_size =
      ParseIntegerText(w.look_ahead.toStdString()).value_or(kDefaultWindowSize);
  options.auto_window = state.AutoWindow;
  if (state.AutoWindow) options.max_window = state.MaxWindow;
  options.diff_limit = state.DiffLimit;
  ApplyCompareOptions(w.compare, options);
  return options;
}

bool WindowRunHost::FastMode() { return window_.FastModeChosen(); }

void WindowRunHost::ProcessEvents() { QCoreApplication::processEvents(); }

bool WindowRunHost::TimerTick() { return window_.run_control().TimerTick; }

void WindowRunHost::ClearTimerTick() {
  window_.run_control().TimerTick = false;
}

bool WindowRunHost::StopRequested() {
  return window_.run_control().StopRequested;
}

void WindowRunHost::SetDiffCount(std::int32_t count) {
  window_.run_control().DiffCount = count;
  window_.ShowDiffCount(count);
}

void WindowRunHost::SetProgressMaximum(std::int64_t maximum) {
  maximum = std::max<std::int64_t>(maximum, 0);
  progress_shift_ = 0;
  while ((maximum >> progress_shift_) > std::numeric_limits<int>::max()) {
    ++progress_shift_;
  }
  // An empty range would turn the bar into a busy indicator.
  const int scaled = static_cast<int>(maximum >> progress_shift_);
  window_.SetProgressMaximum(std::max(scaled, 1));
}

void WindowRunHost::SetProgressPosition(std::int64_t position) {
  const std::int64_t scaled =
      std::max<std::int64_t>(position, 0) >> progress_shift_;
  window_.SetProgress(static_cast<int>(
      std::min<std::int64_t>(scaled, window_.ProgressMaximum())));
}

}  // namespace tessel::app
