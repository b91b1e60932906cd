// A report to read: one self-contained HTML file (inline style and script,
// nothing fetched), written as the run goes.
//
// It shows a summary of the run, the editions side by side aligned at every
// difference with their own line breaks and numbers (ignored symbols
// faded), the list of differences with a filter for the one source that
// stands alone, statistics, and a strip of where the differences lie. The
// texts travel as compact data (HtmlReportPage.h) from which the page's
// script draws only what is near sight, so 46,000 differences over
// editions of 2 MB open in seconds.
//
// With variant tables in use, the summary names the tables and counts the
// variants, a tab lists the variant pairs with their counts and every
// variant place, and the editions mark the variants' characters lightly.
//
// Memory: per source, copied text up to kHtmlFlushBytes before it is
// written out; one difference's texts; and the statistics
// (DifferenceStatistics.h: one entry per distinct one-for-one
// substitution, fixed counters otherwise; VariantPairCounts.h: one entry
// per distinct variant pair). Nothing else grows with the sources or the
// number of differences or variants.

#ifndef TESSEL_REPORTS_HTMLREPORTWRITER_H_
#define TESSEL_REPORTS_HTMLREPORTWRITER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "DifferenceSink.h"
#include "DifferenceStatistics.h"
#include "OutputStream.h"
#include "VariantPairCounts.h"

namespace tessel::reports {

// Copied text of a source is held back until this much has gathered or a
// difference comes.
constexpr std::size_t kHtmlFlushBytes = 64 * 1024;
// The summary lists this many of the most frequent substitutions.
constexpr std::size_t kTopSubstitutions = 40;

class HtmlReportWriter : public DifferenceSink {
 public:
  // `out` must outlive the writer; the caller closes it and checks it.
  HtmlReportWriter(OutputStream& out, std::string program);

  void BeginRun(const RunDescription& run) override;
  void CopyText(int source, std::string_view text, bool ignored) override;
  // As CopyText for each piece, copying verbatim pieces as they are.
  void CopyPieces(int source, const CopiedPieces& copied) override;
  void Difference(const DifferenceRecord& record) override;
  void Variant(const VariantRecord& record) override;
  void EndRun(const RunEnd& end) override;

 private:
  // Adds `text` to the source's pending text, which is held as the inside
  // of a JSON string with the page's marks: `verbatim` text as it is
  // (DifferenceSink.h), other text escaped and with every mark made U+FFFD.
  void Add(int source, std::string_view text, bool ignored, bool verbatim);
  void AddText(int source, std::string_view text, bool verbatim);
  // As Add for the verbatim pieces of `copied` from index `first` on, up to
  // the first that is not or the one that fills the pending text. Returns
  // the index of the next piece.
  std::size_t AddVerbatimPieces(int source, const CopiedPieces& copied,
                                std::size_t first);
  void Flush(int source);
  void WriteVerdict(const RunEnd& end);
  void WriteStrip();
  void WriteSources(const RunEnd& end);
  void WriteOptions();
  void WriteStatistics();
  void WriteVariantPairs();

  OutputStream& out_;
  std::string program_;
  RunDescription run_;
  std::array<std::string, kMaxReportSources> pending_;
  std::array<bool, kMaxReportSources> pending_ignored_{};
  DifferenceStatistics statistics_;
  bool variants_ = false;  // variant tables are in use
  // Per source, the bytes at the start of its next copied text that are a
  // variant's character, to be marked.
  std::array<std::size_t, kMaxReportSources> variant_bytes_{};
  VariantPairCounts pairs_;
};

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_HTMLREPORTWRITER_H_
