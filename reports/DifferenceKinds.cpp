#include "DifferenceKinds.h"

namespace tessel::reports {

DifferenceKind Classify(const DifferenceRecord& record, int source_count) {
  bool all_single = true;
  bool other_empty = false;
  for (int k = 0; k < source_count; ++k) {
    const std::int32_t count = record.spans[k].compared_count;
    all_single = all_single && count == 1;
    if (k > 0 && count == 0) other_empty = true;
  }
  if (all_single) return DifferenceKind::kOneForOne;
  if (record.spans[0].compared_count == 0) return DifferenceKind::kInsertion;
  if (other_empty) return DifferenceKind::kOmission;
  return DifferenceKind::kLonger;
}

std::string_view KindName(DifferenceKind kind) {
  switch (kind) {
    case DifferenceKind::kOneForOne:
      return "one-for-one";
    case DifferenceKind::kInsertion:
      return "insertion";
    case DifferenceKind::kOmission:
      return "omission";
    case DifferenceKind::kLonger:
      break;
  }
  return "longer";
}

Agreement AgreeingGroups(const DifferenceRecord& record, int source_count) {
  const bool run_says = record.same_as[0] != DifferenceRecord::kSameAsUnknown;
  Agreement groups{0, 0, 0};
  int next_group = 0;
  for (int k = 0; k < source_count; ++k) {
    groups[k] = -1;
    for (int j = 0; j < k && groups[k] < 0; ++j) {
      const bool same =
          run_says ? record.same_as[k] == j
                   : record.spans[j].compared == record.spans[k].compared;
      if (same) groups[k] = groups[j];
    }
    if (groups[k] < 0) groups[k] = next_group++;
  }
  return groups;
}

std::string AgreementLabel(const Agreement& groups, int source_count) {
  std::string label;
  for (int group = 0; group < source_count; ++group) {
    bool first_in_group = true;
    for (int k = 0; k < source_count; ++k) {
      if (groups[k] != group) continue;
      if (first_in_group && group > 0) label += "\xE2\x89\xA0";  // ≠
      if (!first_in_group) label += '=';
      label += static_cast<char>('1' + k);
      first_in_group = false;
    }
  }
  return label;
}

int LoneSource(const Agreement& groups, int source_count) {
  if (source_count < 3) return -1;
  for (int k = 0; k < source_count; ++k) {
    const int a = (k + 1) % source_count;
    const int b = (k + 2) % source_count;
    if (groups[a] == groups[b] && groups[k] != groups[a]) return k;
  }
  return -1;
}

}  // namespace tessel::reports
