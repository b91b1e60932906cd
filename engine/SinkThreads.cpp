#include "SinkThreads.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <utility>

namespace tessel {

namespace {

// Where a text lies in a batch's bytes.
struct TextRef {
  std::size_t at = 0, size = 0;
};

enum class CallKind : std::uint8_t {
  kCopyText,
  kCopyPieces,
  kDifference,
  kVariant,
};

}  // namespace

// Calls as recorded: their texts copied into `bytes`, their records kept
// without texts (the views would point into the caller's buffers) and the
// texts' places beside them.
struct SinkThreads::Batch {
  struct Call {
    CallKind kind;
    bool ignored;
    int source;
    TextRef text;
    // kCopyPieces: its pieces in `pieces`; kDifference and kVariant: the
    // index of its record.
    std::size_t first = 0, count = 0;
  };
  struct KeptDifference {
    DifferenceRecord record;
    std::array<TextRef, kMaxReportSources> text, compared;
  };
  struct KeptVariant {
    VariantRecord record;
    std::array<TextRef, kMaxReportSources> text;
  };

  std::string bytes;
  std::vector<CopiedPiece> pieces;
  std::vector<Call> calls;
  std::vector<KeptDifference> differences;
  std::vector<KeptVariant> variants;

  void Clear() {
    bytes.clear();
    pieces.clear();
    calls.clear();
    differences.clear();
    variants.clear();
  }
  TextRef Keep(std::string_view text) {
    const TextRef ref{bytes.size(), text.size()};
    bytes.append(text);
    return ref;
  }
  std::string_view View(TextRef ref) const {
    return std::string_view(bytes).substr(ref.at, ref.size);
  }
  void ReplayOnto(DifferenceSink& sink) const;
};

void SinkThreads::Batch::ReplayOnto(DifferenceSink& sink) const {
  for (const Call& call : calls) {
    switch (call.kind) {
      case CallKind::kCopyText:
        sink.CopyText(call.source, View(call.text), call.ignored);
        break;
      case CallKind::kCopyPieces:
        sink.CopyPieces(
            call.source,
            {View(call.text), std::span<const CopiedPiece>(pieces).subspan(
                                  call.first, call.count)});
        break;
      case CallKind::kDifference: {
        const KeptDifference& kept = differences[call.first];
        DifferenceRecord record = kept.record;
        for (int k = 0; k < kMaxReportSources; ++k) {
          record.spans[k].text = View(kept.text[k]);
          record.spans[k].compared = View(kept.compared[k]);
        }
        sink.Difference(record);
        break;
      }
      case CallKind::kVariant: {
        const KeptVariant& kept = variants[call.first];
        VariantRecord record = kept.record;
        for (int k = 0; k < kMaxReportSources; ++k) {
          record.places[k].text = View(kept.text[k]);
        }
        sink.Variant(record);
        break;
      }
    }
  }
}

SinkThreads::SinkThreads(std::vector<DifferenceSink*> sinks)
    : sinks_(std::move(sinks)), recording_(std::make_unique<Batch>()) {}

SinkThreads::~SinkThreads() { Finish(); }

void SinkThreads::BeginRun(const RunDescription& run) {
  Finish();
  for (DifferenceSink* sink : sinks_) sink->BeginRun(run);
  recording_->Clear();
  batches_.clear();
  first_batch_ = 0;
  next_batch_.assign(sinks_.size(), 0);
  thrown_.assign(sinks_.size(), nullptr);
  finished_ = false;
  try {
    for (std::size_t i = 0; i < sinks_.size(); ++i) {
      threads_.emplace_back([this, i] { Replay(i); });
    }
  } catch (const std::system_error&) {
    // No thread to be had: the sinks are called directly instead, slower
    // but the same.
    Finish();
    direct_ = true;
    return;
  }
  direct_ = false;
}

bool SinkThreads::WantsCopiedText(int source) const {
  return std::any_of(sinks_.begin(), sinks_.end(),
                     [source](const DifferenceSink* sink) {
                       return sink->WantsCopiedText(source);
                     });
}

void SinkThreads::CopyText(int source, std::string_view text, bool ignored) {
  recording_->calls.push_back(
      {CallKind::kCopyText, ignored, source, recording_->Keep(text)});
  PublishIfFull();
}

void SinkThreads::CopyPieces(int source, const CopiedPieces& copied) {
  Batch& batch = *recording_;
  batch.calls.push_back({CallKind::kCopyPieces, false, source,
                         batch.Keep(copied.text), batch.pieces.size(),
                         copied.pieces.size()});
  batch.pieces.insert(batch.pieces.end(), copied.pieces.begin(),
                      copied.pieces.end());
  PublishIfFull();
}

void SinkThreads::Difference(const DifferenceRecord& record) {
  Batch& batch = *recording_;
  Batch::KeptDifference& kept = batch.differences.emplace_back();
  kept.record = record;
  for (int k = 0; k < kMaxReportSources; ++k) {
    kept.text[k] = batch.Keep(record.spans[k].text);
    kept.compared[k] = batch.Keep(record.spans[k].compared);
    kept.record.spans[k].text = {};
    kept.record.spans[k].compared = {};
  }
  batch.calls.push_back(
      {CallKind::kDifference, false, 0, {}, batch.differences.size() - 1});
  PublishIfFull();
}

void SinkThreads::Variant(const VariantRecord& record) {
  Batch& batch = *recording_;
  Batch::KeptVariant& kept = batch.variants.emplace_back();
  kept.record = record;
  for (int k = 0; k < kMaxReportSources; ++k) {
    kept.text[k] = batch.Keep(record.places[k].text);
    kept.record.places[k].text = {};
  }
  batch.calls.push_back(
      {CallKind::kVariant, false, 0, {}, batch.variants.size() - 1});
  PublishIfFull();
}

void SinkThreads::EndRun(const RunEnd& end) {
  Finish();
  std::exception_ptr first_thrown;
  for (std::size_t i = 0; i < sinks_.size(); ++i) {
    if (thrown_[i] == nullptr) {
      sinks_[i]->EndRun(end);
    } else if (first_thrown == nullptr) {
      first_thrown = thrown_[i];
    }
  }
  if (first_thrown != nullptr) std::rethrow_exception(first_thrown);
}

void SinkThreads::PublishIfFull() {
  const Batch& batch = *recording_;
  if (direct_ ||
      batch.bytes.size() + batch.pieces.size() * sizeof(CopiedPiece) >=
          kBatchBytes ||
      batch.calls.size() >= kBatchCalls) {
    Publish();
  }
}

void SinkThreads::Publish() {
  if (recording_->calls.empty()) return;
  if (direct_) {
    for (DifferenceSink* sink : sinks_) recording_->ReplayOnto(*sink);
    recording_->Clear();
    return;
  }
  std::unique_ptr<Batch> next;
  {
    std::unique_lock lock(mutex_);
    read_.wait(lock, [this] { return batches_.size() < kMaxBatches; });
    batches_.push_back(std::move(recording_));
    if (!spare_.empty()) {
      next = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  published_.notify_all();
  if (next == nullptr) next = std::make_unique<Batch>();
  next->Clear();
  recording_ = std::move(next);
}

void SinkThreads::Replay(std::size_t index) {
  DifferenceSink& sink = *sinks_[index];
  bool failed = false;
  for (;;) {
    const Batch* batch = nullptr;
    {
      std::unique_lock lock(mutex_);
      published_.wait(lock, [&] {
        return next_batch_[index] < first_batch_ + batches_.size() || finished_;
      });
      if (next_batch_[index] == first_batch_ + batches_.size()) return;
      // Stays put until every thread has read it, this one included.
      batch = batches_[next_batch_[index] - first_batch_].get();
    }
    if (!failed) {
      try {
        batch->ReplayOnto(sink);
      } catch (...) {
        failed = true;
        const std::lock_guard lock(mutex_);
        thrown_[index] = std::current_exception();
      }
    }
    {
      const std::lock_guard lock(mutex_);
      ++next_batch_[index];
      const std::uint64_t slowest =
          *std::min_element(next_batch_.begin(), next_batch_.end());
      while (first_batch_ < slowest) {
        spare_.push_back(std::move(batches_.front()));
        batches_.pop_front();
        ++first_batch_;
      }
    }
    read_.notify_one();
  }
}

void SinkThreads::Finish() {
  if (threads_.empty()) return;
  Publish();
  {
    const std::lock_guard lock(mutex_);
    finished_ = true;
  }
  published_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

}  // namespace tessel
