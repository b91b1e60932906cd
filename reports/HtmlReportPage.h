// The fixed parts of the HTML report: its style sheet and its script.
//
// The writer puts kHtmlStyle in the head. The body it writes holds, in
// order: the header (#top), the side panel (#side, with #list and the
// summary tab #sum), the editions view (#view), one script element that
// defines META (source count and names) and D (the data, see below), the
// summary section (#summary, with #verdict, #strip and the statistics),
// and last kHtmlScript, which moves the summary into place, builds the
// views and sets data-report="ready" on the root element, or
// data-report="error: ..." when anything throws.
//
// D is a list of items in the order the run produced them:
//   [k, "text"]                         text of source k (0-based) passed
//                                       unchanged; ignored stretches are
//                                       enclosed in U+FDD0 pairs
//   [-1, number, [lines], ["texts"], "agreement", kind, lone]
//                                       a difference; kind indexes
//                                       one-for-one, insertion, omission,
//                                       longer; lone is the source that
//                                       stands alone, or -1
//   [-2, number, [lines], ["characters"]]
//                                       a variant (only with variant
//                                       tables); each source's character
//                                       stands, enclosed in a U+FDD1 pair,
//                                       in that source's text between the
//                                       same two differences, so the j-th
//                                       variant item there is the j-th
//                                       enclosed character of each text
//
// With variant tables the side panel has a third tab (#tabVar, #varPane)
// whose pair table (#vpairs) the summary section holds until the script
// moves it.

#ifndef TESSEL_REPORTS_HTMLREPORTPAGE_H_
#define TESSEL_REPORTS_HTMLREPORTPAGE_H_

#include <string_view>

namespace tessel::reports {

// Encloses the ignored stretches in D's texts: a noncharacter, which no
// text converted from Big5 holds; one met in a source is written as
// U+FFFD.
inline constexpr std::string_view kIgnoredMark = "\xEF\xB7\x90";  // U+FDD0
// Encloses a variant's character in D's texts, in the same way.
inline constexpr std::string_view kVariantMark = "\xEF\xB7\x91";  // U+FDD1

extern const std::string_view kHtmlStyle;
extern const std::string_view kHtmlScript;

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_HTMLREPORTPAGE_H_
