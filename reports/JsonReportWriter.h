// The differences as data: a JSON document (UTF-8), written as the run goes.
//
// Layout (docs/json-format.md describes every field; reports/
// tessel-differences.schema.json is its schema): an object holding
// "format", "version", "program", "sources", "options", then
// "differences", one per line, and last "end", which holds what is known
// only when the run is over (outcome, reason, line counts).
//
// With variant tables in use the document says "minor":1 and holds, after
// the differences, "variants" (every variant place, in order) and
// "variant_pairs" (their counts). The run hands the variants over between
// the differences, so they wait in a spill file (SpillFile.h) until the
// differences are written.
//
// Memory: one difference's texts at a time, and one entry per distinct
// variant pair; nothing else grows with the number of differences or
// variants or the size of the sources.

#ifndef TESSEL_REPORTS_JSONREPORTWRITER_H_
#define TESSEL_REPORTS_JSONREPORTWRITER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "DifferenceSink.h"
#include "OutputStream.h"
#include "SpillFile.h"
#include "VariantPairCounts.h"

namespace tessel::reports {

// The format's name and version; a reader that meets another version
// should refuse the file.
inline constexpr std::string_view kJsonFormatName = "tessel-differences";
constexpr int kJsonFormatVersion = 1;
// The minor version of a document that uses the members it added
// ("variants", "variant_pairs", "options.variant_tables", "end.variants").
// A document without them says no minor version, which means 0.
constexpr int kJsonFormatMinorVersion = 1;

class JsonReportWriter : public DifferenceSink {
 public:
  // `out` must outlive the writer; the caller closes it and checks it.
  // `program` names the writing program, such as "Tessel 1.3.0".
  JsonReportWriter(OutputStream& out, std::string program);

  void BeginRun(const RunDescription& run) override;
  // The file holds no copied text.
  bool WantsCopiedText(int) const override { return false; }
  void CopyText(int source, std::string_view text, bool ignored) override;
  void CopyPieces(int, const CopiedPieces&) override {}
  void Difference(const DifferenceRecord& record) override;
  void Variant(const VariantRecord& record) override;
  void EndRun(const RunEnd& end) override;

 private:
  void WriteInteger(std::int64_t value);
  void WriteVariants();

  OutputStream& out_;
  std::string program_;
  int source_count_ = 2;
  bool first_difference_ = true;
  bool variants_ = false;  // variant tables are in use
  std::int64_t variant_count_ = 0;
  std::string variant_line_;
  SpillFile variant_spill_;
  VariantPairCounts pairs_;
};

// The names the JSON uses for an outcome and for the reason of a cut-off
// ("" when the outcome is not a cut-off).
std::string_view OutcomeName(ReportOutcome outcome);
std::string_view CutOffReasonName(ReportOutcome outcome);

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_JSONREPORTWRITER_H_
