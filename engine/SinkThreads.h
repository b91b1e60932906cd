// Runs DifferenceSinks on threads of their own, so that writing the reports
// overlaps the walk instead of adding to it.
//
// SinkThreads is itself a DifferenceSink: a run hands it every call, it
// records them into batches, and one thread per sink replays each batch
// onto its sink, in the order the calls came. Every sink sees exactly the
// calls, in exactly the order, that it would see fed directly; only the
// thread differs. BeginRun reaches the sinks on the caller's thread before
// their threads start; EndRun waits until every thread has replayed every
// call, then reaches the sinks on the caller's thread. So once EndRun
// returns, the sinks are idle and their outputs may be closed.
//
// Memory: at most kMaxBatches batches wait between the run and the slowest
// sink, and one more is being recorded; a batch is handed over once its
// texts and pieces take kBatchBytes or it holds kBatchCalls calls (or
// more: one call is never split). The run waits while the sinks are that
// far behind.
//
// An exception thrown by a sink on its thread ends that sink's replay (it
// hears of nothing more) and is thrown again by EndRun, or lost if EndRun
// never comes. Where no thread can be started, every call goes straight
// to the sinks.

#ifndef TESSEL_ENGINE_SINKTHREADS_H_
#define TESSEL_ENGINE_SINKTHREADS_H_

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "DifferenceSink.h"

namespace tessel {

class SinkThreads : public DifferenceSink {
 public:
  static constexpr std::size_t kBatchBytes = 256 * 1024;
  static constexpr std::size_t kBatchCalls = 4096;
  static constexpr std::size_t kMaxBatches = 8;

  // `sinks` (not empty) belong to the caller and must outlive this object.
  explicit SinkThreads(std::vector<DifferenceSink*> sinks);
  SinkThreads(const SinkThreads&) = delete;
  SinkThreads& operator=(const SinkThreads&) = delete;
  // Without EndRun, lets each thread replay what was recorded and joins it.
  ~SinkThreads() override;

  void BeginRun(const RunDescription& run) override;
  // Whether any of the sinks wants it.
  bool WantsCopiedText(int source) const override;
  void CopyText(int source, std::string_view text, bool ignored) override;
  void CopyPieces(int source, const CopiedPieces& copied) override;
  void Difference(const DifferenceRecord& record) override;
  void Variant(const VariantRecord& record) override;
  void EndRun(const RunEnd& end) override;

 private:
  struct Batch;
  // Hands the batch being recorded to the threads, waiting while
  // kMaxBatches are still unread by some thread; without threads, replays
  // it onto the sinks at once.
  void Publish();
  void PublishIfFull();
  // Replays every batch onto sink `index` until the last is read.
  void Replay(std::size_t index);
  // Publishes what is left, tells the threads no more comes, joins them.
  void Finish();

  std::vector<DifferenceSink*> sinks_;
  std::vector<std::thread> threads_;
  std::unique_ptr<Batch> recording_;
  // No threads: each call is replayed onto the sinks as it comes.
  bool direct_ = false;

  // Shared with the threads, under mutex_.
  std::mutex mutex_;
  std::condition_variable published_, read_;
  // Batches not yet read by every thread; the front one has number
  // first_batch_. Read ones are kept as spares, to be recorded into again.
  std::deque<std::unique_ptr<Batch>> batches_;
  std::vector<std::unique_ptr<Batch>> spare_;
  std::uint64_t first_batch_ = 0;
  // Per thread, the number of the next batch it reads.
  std::vector<std::uint64_t> next_batch_;
  bool finished_ = false;
  // Per thread, what its sink threw, if anything.
  std::vector<std::exception_ptr> thrown_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_SINKTHREADS_H_
