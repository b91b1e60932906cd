// A critical apparatus: a TEI P5 document in parallel segmentation, written
// as the run goes.
//
// The header lists one witness per source; its xml:id is the source's file
// name made a valid XML name (see WitnessId). The body is one paragraph
// holding the text of source 1, every difference an <app> in its place
// with one <rdg> per distinct span text, naming the witnesses that read it
// ("#id #id"); an empty span is an empty <rdg/>. Each line feed of source 1
// is kept and followed by <lb n="..."/> with the number of the line it
// starts. Carriage returns and the control characters XML cannot hold are
// left out; they are always ignored, so no compared character is lost. A
// run that did not complete ends the body with <note type="outcome">.
//
// With variant tables, each variant is an <app type="variant" n="vN"> in
// its place, its readings made as a difference's are, so that a witness
// keeps its own forms (為 where the base has 爲).
//
// So for every witness, the base text with that witness's readings put in
// its apps gives back the witness's compared characters in order; for
// source 1 it gives back its whole text but the characters left out.
//
// Memory: one difference's texts at a time.

#ifndef TESSEL_REPORTS_TEIWRITER_H_
#define TESSEL_REPORTS_TEIWRITER_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "DifferenceSink.h"
#include "OutputStream.h"

namespace tessel::reports {

// The xml:id of each witness: the file name part of its source's name,
// each character that may not stand in an XML name (NCName) replaced by
// "_", "_" put in front when it may not start one, and "-2", "-3" added
// when it repeats an earlier witness's id.
std::array<std::string, kMaxReportSources> WitnessIds(
    const RunDescription& run);

class TeiWriter : public DifferenceSink {
 public:
  // `out` must outlive the writer; the caller closes it and checks it.
  TeiWriter(OutputStream& out, std::string program);

  void BeginRun(const RunDescription& run) override;
  // The base text is source 1's; the others' show only in readings.
  bool WantsCopiedText(int source) const override { return source == 0; }
  void CopyText(int source, std::string_view text, bool ignored) override;
  // Source 1's pieces, ignored or not, are text; verbatim ones are written
  // as they are.
  void CopyPieces(int source, const CopiedPieces& copied) override;
  void Difference(const DifferenceRecord& record) override;
  void Variant(const VariantRecord& record) override;
  void EndRun(const RunEnd& end) override;

 private:
  // Writes text of source 1 or of a reading, leaving out what XML cannot
  // hold; with `line_breaks`, each line feed is followed by an <lb/>.
  void WriteText(std::string_view text, bool line_breaks);
  // Writes one <rdg> per distinct text of `texts` (one per source).
  void WriteReadings(
      const std::array<std::string_view, kMaxReportSources>& texts);

  OutputStream& out_;
  std::string program_;
  int source_count_ = 2;
  std::array<std::string, kMaxReportSources> ids_;
  std::int64_t base_line_ = 1;
  // The bytes at the start of source 1's next copied text that a variant's
  // app already holds.
  std::size_t variant_bytes_ = 0;
};

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_TEIWRITER_H_
