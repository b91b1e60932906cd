// The run host of the desktop program: how a comparison run reaches the
// main window.

#ifndef TESSEL_APP_WINDOWRUNHOST_H_
#define TESSEL_APP_WINDOWRUNHOST_H_

#include <cstdint>

#include "RunHost.h"
#include "RunOptions.h"

namespace tessel::app {

class MainWindow;

// Connects one run to the window: the options come from its controls and
// its run-control state, events are processed once per pass unless fast
// mode is ticked, and the difference count and progress go to the window.
// Lives for one run.
class WindowRunHost : public RunHost {
 public:
  explicit WindowRunHost(MainWindow& window) : window_(window) {}

  // The texts of the fields as file names, the memo as Big5 bytes (as UTF-8
  // when Big5 cannot hold it), the options dialog's choices, and the state
  // CheckInput has set. Meant to be called after CheckInput passed.
  RunOptions Options();
  bool FastMode() override;
  void ProcessEvents() override;
  bool TimerTick() override;
  void ClearTimerTick() override;
  bool StopRequested() override;
  void SetDiffCount(std::int32_t count) override;
  // The bar's range is an int: a larger size is scaled down by a power of
  // two, and every position with it.
  void SetProgressMaximum(std::int64_t maximum) override;
  void SetProgressPosition(std::int64_t position) override;

 private:
  MainWindow& window_;
  int progress_shift_ = 0;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_WINDOWRUNHOST_H_
