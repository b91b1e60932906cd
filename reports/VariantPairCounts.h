// The variants of a run counted by the characters they stood for: 爲/為
// 312 times, 説/說 40. A pair keeps the sources' order, so 爲/為 (source 1
// writes 爲) and 為/爲 are counted apart; with three sources a place is
// counted under all three characters (爲/為/爲).
//
// Memory: one entry per distinct pair, whatever the number of variants.

#ifndef TESSEL_REPORTS_VARIANTPAIRCOUNTS_H_
#define TESSEL_REPORTS_VARIANTPAIRCOUNTS_H_

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "DifferenceSink.h"

namespace tessel::reports {

struct VariantPair {
  // Each source's character; entries past the run's sources are 0.
  std::array<char32_t, kMaxReportSources> characters{};
  std::int64_t count = 0;
};

class VariantPairCounts {
 public:
  void Clear() { counts_.clear(); }

  // Counts `record` under the characters of its first `source_count`
  // sources.
  void Add(const VariantRecord& record, int source_count);

  // Every pair, the most frequent first; pairs of one count in the order
  // of their characters' code points, source 1 first.
  std::vector<VariantPair> Sorted() const;

  std::size_t size() const { return counts_.size(); }

 private:
  // The characters of a pair packed 21 bits each, which holds any three
  // Unicode scalar values.
  std::unordered_map<std::uint64_t, std::int64_t> counts_;
};

// "爲/為": the characters of `pair` joined with "/", as UTF-8; a character
// the run knew none for (0) is written U+FFFD.
std::string VariantPairText(const VariantPair& pair, int source_count);

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_VARIANTPAIRCOUNTS_H_
