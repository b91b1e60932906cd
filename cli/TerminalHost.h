// The run host of tessel-cli: progress on stderr, Ctrl-C as the stop
// button, and a 500 ms ticker thread as the window's timer.

#ifndef TESSEL_CLI_TERMINALHOST_H_
#define TESSEL_CLI_TERMINALHOST_H_

#include <atomic>
#include <cstdint>
#include <thread>

#include "RunHost.h"

namespace tessel::cli {

class TerminalHost : public RunHost {
 public:
  // `show_progress`: draw a progress line on stderr.
  explicit TerminalHost(bool show_progress);
  ~TerminalHost() override;

  // A terminal has no events to process.
  bool FastMode() override { return true; }
  void ProcessEvents() override {}
  bool TimerTick() override { return tick_.load(std::memory_order_relaxed); }
  void ClearTimerTick() override {
    tick_.store(false, std::memory_order_relaxed);
  }
  bool StopRequested() override;
  void SetDiffCount(std::int32_t count) override { diff_count_ = count; }
  void SetProgressMaximum(std::int64_t maximum) override;
  void SetProgressPosition(std::int64_t position) override;

  // Erases the progress line, if one is shown.
  void ClearProgress();

 private:
  bool show_progress_;
  bool progress_shown_ = false;
  int progress_width_ = 0;
  std::int64_t maximum_ = 0;
  // A run that fails before it knows source 1's size has read nothing:
  // its closing progress would be a false "100%" before the message.
  bool maximum_known_ = false;
  std::int32_t diff_count_ = 0;
  std::atomic<bool> tick_{false};
  std::jthread ticker_;
};

}  // namespace tessel::cli

#endif  // TESSEL_CLI_TERMINALHOST_H_
