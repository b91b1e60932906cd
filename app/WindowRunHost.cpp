#include "WindowRunHost.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>
#include <limits>

#include "FileNames.h"
#include "IntegerText.h"
#include "RadioAlternatives.h"
#include "Tesselunit.h"

namespace tessel::app {

RunOptions WindowRunHost::Options() {
  TfmTessel& w = window_;
  const RunControlState& state = w.run_control();
  RunOptions options;
  options.three_files = state.ThreeFiles;
  options.fold_notations = w.cbDoLoseWord->isChecked();
  options.use_sign_file = w.rbUseSignFile->isChecked();
  options.sign_file = FieldFileName(w.edSignFile->text());
  options.use_sign_memo = w.rbUseSignMemo->isChecked();
  options.sign_memo = ToBig5(w.mmSign->toPlainText());
  options.sources = {FieldFileName(w.edFile1->text()),
                     FieldFileName(w.edFile2->text()),
                     FieldFileName(w.edFile3->text())};
  options.results = {FieldFileName(w.edResult1->text()),
                     FieldFileName(w.edResult2->text()),
                     FieldFileName(w.edResult3->text())};
  options.difference = FieldFileName(w.edResult->text());
  options.window_size = ParseIntegerText(w.edNum1->text().toStdString())
                            .value_or(kDefaultWindowSize);
  options.diff_limit = state.DiffLimit;
  return options;
}

bool WindowRunHost::FastMode() { return window_.cbDoFast->isChecked(); }

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
  window_.pbVorn->setRange(0, std::max(scaled, 1));
}

void WindowRunHost::SetProgressPosition(std::int64_t position) {
  QProgressBar* bar = window_.pbVorn;
  const std::int64_t scaled =
      std::max<std::int64_t>(position, 0) >> progress_shift_;
  bar->setValue(
      static_cast<int>(std::min<std::int64_t>(scaled, bar->maximum())));
}

}  // namespace tessel::app
