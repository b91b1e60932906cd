// What a difference is, read from its compared characters: its kind, and
// which sources agree in it. Ignored symbols inside a span never count.

#ifndef TESSEL_REPORTS_DIFFERENCEKINDS_H_
#define TESSEL_REPORTS_DIFFERENCEKINDS_H_

#include <array>
#include <string>
#include <string_view>

#include "DifferenceSink.h"

namespace tessel::reports {

enum class DifferenceKind {
  kOneForOne,  // every source has exactly one compared character
  kInsertion,  // source 1 has none, another source has some
  kOmission,   // source 1 has some, another source has none
  kLonger,     // anything else: several characters on some side
};
constexpr int kDifferenceKindCount = 4;

DifferenceKind Classify(const DifferenceRecord& record, int source_count);

// "one-for-one", "insertion", "omission", "longer".
std::string_view KindName(DifferenceKind kind);

// For each source, the number of its group: sources whose compared
// characters are the same share a group (as the record's `same_as` says,
// or else as their compared texts are equal); groups are numbered 0, 1, 2
// in the order of their first source.
using Agreement = std::array<int, kMaxReportSources>;
Agreement AgreeingGroups(const DifferenceRecord& record, int source_count);

// The agreement as the sources' numbers: those of a group joined by "=",
// groups by "≠", in group order: "1=3≠2", "1≠2≠3", "1≠2".
std::string AgreementLabel(const Agreement& groups, int source_count);

// The source (0-based) that stands alone while all the others agree, or
// -1. With two sources no source stands alone.
int LoneSource(const Agreement& groups, int source_count);

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_DIFFERENCEKINDS_H_
