#include "TerminalHost.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <string>

#include "ConsoleText.h"

namespace tessel::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
  g_interrupted = 1;
  // A second Ctrl-C ends the program at once.
  std::signal(SIGINT, SIG_DFL);
}

constexpr auto kTickInterval = std::chrono::milliseconds(500);

}  // namespace

TerminalHost::TerminalHost(bool show_progress) : show_progress_(show_progress) {
  g_interrupted = 0;
  std::signal(SIGINT, OnInterrupt);
  ticker_ = std::jthread([this](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    while (!wake.wait_for(lock, stop, kTickInterval,
                          [&] { return stop.stop_requested(); })) {
      tick_.store(true, std::memory_order_relaxed);
    }
  });
}

TerminalHost::~TerminalHost() {
  ticker_.request_stop();
  ticker_.join();
  std::signal(SIGINT, SIG_DFL);
}

bool TerminalHost::StopRequested() { return g_interrupted != 0; }

void TerminalHost::SetProgressMaximum(std::int64_t maximum) {
  maximum_ = maximum;
  maximum_known_ = true;
}

void TerminalHost::SetProgressPosition(std::int64_t position) {
  if (!show_progress_ || !maximum_known_) return;
  const int percent =
      maximum_ > 0
          ? static_cast<int>(100 * std::min(position, maximum_) / maximum_)
          : 100;
  progress_width_ =
      std::fprintf(stderr, "\r%3d%% of source 1 read, %d differences", percent,
                   static_cast<int>(diff_count_));
  std::fflush(stderr);
  progress_shown_ = true;
}

void TerminalHost::ClearProgress() {
  if (!progress_shown_) return;
  EraseLine(stderr, progress_width_);
  progress_shown_ = false;
}

}  // namespace tessel::cli
