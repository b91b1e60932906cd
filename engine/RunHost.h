// The one interface through which a running comparison reaches its caller
// (the desktop window, the command-line tool, or a test's recorder) while
// it runs: events, the stop request, the difference count and progress.
// How the run ended comes back as its RunStatus, never through the host.

#ifndef TESSEL_ENGINE_RUNHOST_H_
#define TESSEL_ENGINE_RUNHOST_H_

#include <cstdint>

namespace tessel {

class RunHost {
 public:
  virtual ~RunHost() = default;

  // Read on every pass until it first returns true: in fast mode the run
  // processes no events, so nothing can turn fast mode off again. From
  // then on TimerTick is read after every difference and every so many
  // passes rather than on every pass.
  virtual bool FastMode() = 0;
  // Lets the caller handle what is pending (repaint, clicks, the timer).
  virtual void ProcessEvents() = 0;
  // Set by the caller at least every 500 ms; read after events, and
  // cleared by the run when it has acted on it.
  virtual bool TimerTick() = 0;
  virtual void ClearTimerTick() = 0;
  // Read only when TimerTick is set, and once more when the run has left
  // its loop.
  virtual bool StopRequested() = 0;

  // The number of differences so far, also shown as its decimal caption.
  virtual void SetDiffCount(std::int32_t count) = 0;
  // The progress range is the size of source 1 in bytes; the position is
  // the byte offset reached in it.
  virtual void SetProgressMaximum(std::int64_t maximum) = 0;
  virtual void SetProgressPosition(std::int64_t position) = 0;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_RUNHOST_H_
