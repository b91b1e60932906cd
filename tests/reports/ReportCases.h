// The made-up runs every report test uses: small hand-made ones for exact
// outputs and awkward texts, and generated ones for the properties.

#ifndef TESSEL_TESTS_REPORTS_REPORTCASES_H_
#define TESSEL_TESTS_REPORTS_REPORTCASES_H_

#include <string>
#include <vector>

#include "SyntheticRun.h"

namespace tessel::testing {

struct ReportCase {
  std::string name;
  SyntheticRun run;
};

// Two sources, completed: a notation, an omission whose text needs
// escaping (< & ") and holds 會, whose Big5 second byte is "|".
SyntheticRun SmallTwoSourceRun();

// Three sources cut off at the difference limit: 1=3≠2, 1≠2≠3, an
// insertion, empty spans, 四 and 州 (Big5 second bytes "|" and "}").
SyntheticRun SmallThreeSourceRun();

// Every case of the file-level checks (schema, xmllint, the TEI property,
// the browser): the small runs, runs with no difference, stopped and cut
// off runs, generated runs of two and three sources.
// Two sources with variant tables: variants before and after a difference,
// one a notation, and a pair met twice.
SyntheticRun SmallVariantRun();
// Three sources, stopped, with variants one source alone writes, one of
// them a character JSON must escape.
SyntheticRun ThreeSourceVariantRun();

std::vector<ReportCase> ReportCases();

// About the size of the largest corpus pair at window 5000: 46,000
// differences over editions of about 1.8 MB.
SyntheticRun LargeRun();

}  // namespace tessel::testing

#endif  // TESSEL_TESTS_REPORTS_REPORTCASES_H_
