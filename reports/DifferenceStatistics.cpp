#include "DifferenceStatistics.h"

#include <algorithm>

namespace tessel::reports {

void DifferenceStatistics::Begin(int source_count, std::int64_t source1_size) {
  *this = DifferenceStatistics();
  source_count_ = source_count;
  source1_size_ = source1_size;
}

void DifferenceStatistics::Add(const DifferenceRecord& record) {
  ++total_;
  const DifferenceKind kind = Classify(record, source_count_);
  ++kinds_[static_cast<int>(kind)];

  const Agreement groups = AgreeingGroups(record, source_count_);
  const int lone = LoneSource(groups, source_count_);
  if (lone >= 0) ++lone_[lone];
  if (source_count_ == 3 && groups[2] == 2) ++all_differ_;

  // An offset at or past the end (a span at the very end) falls into the
  // last bin.
  std::int64_t bin = 0;
  if (source1_size_ > 0) {
    bin = record.spans[0].byte_offset * kStripBins / source1_size_;
    bin = std::clamp<std::int64_t>(bin, 0, kStripBins - 1);
  }
  StripBin& strip_bin = strip_[static_cast<std::size_t>(bin)];
  if (strip_bin.count++ == 0) strip_bin.first_number = record.number;

  if (kind == DifferenceKind::kOneForOne) {
    std::string key(record.spans[0].compared);
    for (int k = 1; k < source_count_; ++k) {
      key += '/';
      key += record.spans[k].compared;
    }
    ++substitutions_[key];
  }
}

std::vector<std::pair<std::string, std::int64_t>>
DifferenceStatistics::TopSubstitutions(std::size_t limit) const {
  std::vector<std::pair<std::string, std::int64_t>> top(substitutions_.begin(),
                                                        substitutions_.end());
  const auto more_frequent = [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  };
  const std::size_t kept = std::min(limit, top.size());
  std::partial_sort(top.begin(), top.begin() + static_cast<long>(kept),
                    top.end(), more_frequent);
  top.resize(kept);
  return top;
}

}  // namespace tessel::reports
