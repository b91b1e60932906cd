// The figures a report shows about all differences of a run: how many of
// each kind, how many where one source stands alone, the most frequent
// one-for-one substitutions, and where along source 1 they lie.
//
// Memory: fixed counters, a fixed number of strip bins, and one entry per
// distinct substitution (its compared texts and a count). Nothing else
// grows with the number of differences.

#ifndef TESSEL_REPORTS_DIFFERENCESTATISTICS_H_
#define TESSEL_REPORTS_DIFFERENCESTATISTICS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "DifferenceKinds.h"
#include "DifferenceSink.h"

namespace tessel::reports {

// The strip divides source 1 into this many equal stretches of bytes.
constexpr int kStripBins = 200;

struct StripBin {
  std::int64_t count = 0;
  std::int64_t first_number = 0;  // the first difference in it; 0 if none
};

class DifferenceStatistics {
 public:
  // Forgets everything; `source1_size` is source 1's size in bytes.
  void Begin(int source_count, std::int64_t source1_size);
  void Add(const DifferenceRecord& record);

  std::int64_t total() const { return total_; }
  std::int64_t kind_count(DifferenceKind kind) const {
    return kinds_[static_cast<int>(kind)];
  }
  // With three sources: the differences where source k stands alone, and
  // those where all three differ.
  std::int64_t lone_count(int k) const { return lone_[k]; }
  std::int64_t all_differ_count() const { return all_differ_; }
  const std::array<StripBin, kStripBins>& strip() const { return strip_; }

  // The `limit` most frequent one-for-one substitutions, most frequent
  // first, ties in the order of the texts. Each key is the sources'
  // characters joined by "/" in source order.
  std::vector<std::pair<std::string, std::int64_t>> TopSubstitutions(
      std::size_t limit) const;

 private:
  int source_count_ = 2;
  std::int64_t source1_size_ = 0;
  std::int64_t total_ = 0;
  std::array<std::int64_t, kDifferenceKindCount> kinds_{};
  std::array<std::int64_t, kMaxReportSources> lone_{};
  std::int64_t all_differ_ = 0;
  std::array<StripBin, kStripBins> strip_{};
  std::unordered_map<std::string, std::int64_t> substitutions_;
};

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_DIFFERENCESTATISTICS_H_
