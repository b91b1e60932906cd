#include "FarAnchorMemo.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

#include "Resync.h"

namespace tessel {

namespace {
constexpr std::int64_t kRun = kLongestAnchor;
}  // namespace

void FarAnchorMemo::Keep(const SlotFrame& frame, const SlotCounts& sizes, int n,
                         LongestSweepRecord&& record) {
  const std::size_t runs =
      record.everywhere.size() / static_cast<std::size_t>(n);
  if (runs == 0) return;
  // The anchor the sweep took: the first run with the smallest sum.
  std::size_t taken = 0;
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (std::size_t r = 0; r < runs; ++r) {
    const auto at =
        record.everywhere.begin() +
        static_cast<std::ptrdiff_t>(r * static_cast<std::size_t>(n));
    const std::int64_t sum = std::accumulate(at, at + n, std::int64_t{0});
    if (sum < best) {
      best = sum;
      taken = r;
    }
  }
  kept_ = true;
  n_ = n;
  frame_ = frame;
  best_ = best;
  for (int k = 0; k < n; ++k) {
    ends_[k] = frame.first[k] + sizes[k];
    anchor_[k] =
        frame.first[k] + record.everywhere[taken * static_cast<std::size_t>(n) +
                                           static_cast<std::size_t>(k)];
  }
  tried_end_ = frame.first[0] + record.tried;
  everywhere_ = std::move(record.everywhere);
}

FarAnchorMemo::Verdict FarAnchorMemo::Judge(const SlotFrame& frame,
                                            const SlotCounts& sizes, int n,
                                            AnchorMatch& longest) const {
  if (!kept_ || n != n_) return Verdict::kUnknown;
  std::int64_t walked = 0;
  SlotCounts ends{};
  for (int k = 0; k < n; ++k) {
    if (frame.generation[k] != frame_.generation[k] ||
        frame.first[k] < frame_.first[k] || anchor_[k] < frame.first[k]) {
      return Verdict::kUnknown;
    }
    walked += frame.first[k] - frame_.first[k];
    ends[k] = frame.first[k] + sizes[k];
  }
  // The sum the kept anchor has from here; no run the record saw can have
  // less.
  const std::int64_t near = best_ - walked;
  // A run found only beyond what was recorded must lie further out still.
  for (int k = 1; k < n; ++k) {
    if (ends[k] > ends_[k] && ends_[k] - kRun + 1 - frame.first[k] <= near) {
      return Verdict::kUnknown;
    }
  }
  if (ends[0] - kRun >= tried_end_ && tried_end_ - frame.first[0] <= near) {
    return Verdict::kUnknown;
  }
  bool held = true;
  for (int k = 0; k < n; ++k) held &= anchor_[k] + kRun <= ends[k];
  if (held) {
    longest.best = static_cast<std::int32_t>(2 * near);
    longest.longest_best = longest.best;
    longest.bound = std::numeric_limits<std::int32_t>::max();
    longest.offsets = {};
    for (int k = 0; k < n; ++k) {
      longest.offsets[k] =
          static_cast<std::int32_t>(2 * (anchor_[k] - frame.first[k]));
    }
    ++answered_;
    return Verdict::kLongest;
  }
  // Windows too short for the kept anchor: any other run in them has a sum
  // of at least `near`, which they may be too short to hold at all.
  bool room = true;
  std::int64_t widest = 0;
  for (int k = 0; k < n; ++k) {
    room &= sizes[k] >= kRun;
    widest += sizes[k] - kRun;
  }
  if (!room || widest < near || !MayHoldAnchor(frame, ends)) {
    ++answered_;
    return Verdict::kNoAnchor;
  }
  return Verdict::kUnknown;
}

bool FarAnchorMemo::MayHoldAnchor(const SlotFrame& frame,
                                  const SlotCounts& ends) const {
  for (int k = 1; k < n_; ++k) {
    if (ends[k] > ends_[k]) return true;
  }
  if (ends[0] - kRun >= tried_end_) return true;
  const auto n = static_cast<std::size_t>(n_);
  const std::size_t runs = everywhere_.size() / n;
  const std::int64_t from = frame.first[0] - frame_.first[0];
  const std::int64_t last = ends[0] - kRun - frame_.first[0];
  // The runs were recorded in the order tried, so by offset in window 0.
  std::size_t lo = 0, hi = runs;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (everywhere_[mid * n] < from) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  for (std::size_t r = lo; r < runs && everywhere_[r * n] <= last; ++r) {
    bool within = true;
    for (std::size_t k = 1; k < n && within; ++k) {
      const std::int64_t slot = frame_.first[k] + everywhere_[r * n + k];
      // A run walked past may occur again further on, where the record
      // did not look.
      if (slot < frame.first[k]) return true;
      within = slot + kRun <= ends[k];
    }
    if (within) return true;
  }
  return false;
}

}  // namespace tessel
