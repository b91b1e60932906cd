#include "VariantPairCounts.h"

#include <algorithm>

#include "TextEscape.h"
#include "UnicodeEncoder.h"

namespace tessel::reports {

namespace {

constexpr int kBitsPerCharacter = 21;
constexpr std::uint64_t kCharacterMask =
    (std::uint64_t{1} << kBitsPerCharacter) - 1;

}  // namespace

void VariantPairCounts::Add(const VariantRecord& record, int source_count) {
  std::uint64_t key = 0;
  for (int k = 0; k < source_count; ++k) {
    key |= (record.places[k].character & kCharacterMask)
           << (kBitsPerCharacter * k);
  }
  ++counts_[key];
}

std::vector<VariantPair> VariantPairCounts::Sorted() const {
  std::vector<VariantPair> pairs;
  pairs.reserve(counts_.size());
  for (const auto& [key, count] : counts_) {
    VariantPair pair;
    for (int k = 0; k < kMaxReportSources; ++k) {
      pair.characters[k] = static_cast<char32_t>(
          (key >> (kBitsPerCharacter * k)) & kCharacterMask);
    }
    pair.count = count;
    pairs.push_back(pair);
  }
  std::sort(pairs.begin(), pairs.end(),
            [](const VariantPair& a, const VariantPair& b) {
              if (a.count != b.count) return a.count > b.count;
              return a.characters < b.characters;
            });
  return pairs;
}

std::string VariantPairText(const VariantPair& pair, int source_count) {
  std::string text;
  for (int k = 0; k < source_count; ++k) {
    if (k > 0) text += '/';
    const char32_t c = pair.characters[k];
    AppendUtf8(c == 0 ? kReplacementCharacter : c, text);
  }
  return text;
}

}  // namespace tessel::reports
