#include "TeiWriter.h"

#include <algorithm>
#include <span>
#include <utility>

#include "JsonReportWriter.h"
#include "TextEscape.h"
#include "UnicodeEncoder.h"

namespace tessel::reports {

namespace {

struct CodeRange {
  char32_t first;
  char32_t last;
};

// The characters that may start an XML name, colon left out (XML 1.0,
// fifth edition, NameStartChar).
constexpr CodeRange kNameStart[] = {
    {'A', 'Z'},       {'_', '_'},       {'a', 'z'},        {0xC0, 0xD6},
    {0xD8, 0xF6},     {0xF8, 0x2FF},    {0x370, 0x37D},    {0x37F, 0x1FFF},
    {0x200C, 0x200D}, {0x2070, 0x218F}, {0x2C00, 0x2FEF},  {0x3001, 0xD7FF},
    {0xF900, 0xFDCF}, {0xFDF0, 0xFFFD}, {0x10000, 0xEFFFF}};
// The further characters a name may hold after its first.
constexpr CodeRange kNameRest[] = {
    {'-', '.'}, {'0', '9'}, {0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040}};

template <std::size_t N>
bool InRanges(char32_t cp, const CodeRange (&ranges)[N]) {
  for (const CodeRange& range : ranges) {
    if (cp >= range.first && cp <= range.last) return true;
  }
  return false;
}

std::string FileNamePart(std::string_view name) {
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  return std::string(name);
}

std::string MakeName(std::string_view text) {
  std::string name;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const DecodedChar c = DecodeAt(text, pos);
    // A stray byte, or U+FFFD, which XML 1.0 names may hold but older
    // readers (xmllint's xml:id check) refuse, is a "_" like any other
    // character a name cannot hold.
    const char32_t cp = c.raw ? kReplacementCharacter : c.value;
    const bool start = cp != kReplacementCharacter && InRanges(cp, kNameStart);
    if (name.empty() && !start) name += '_';
    if (start || (cp != kReplacementCharacter && InRanges(cp, kNameRest))) {
      char buffer[kMaxEncodedLength];
      name.append(buffer, EncodeUtf8(cp, buffer));
    } else {
      name += '_';
    }
    pos += c.length;
  }
  return name.empty() ? "_" : name;
}

// Whether XML 1.0 can hold `c` as text; the run's control characters other
// than tab and line feed are always ignored, so leaving them out loses no
// compared character.
bool IsLeftOut(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 && c != '\t' && c != '\n';
}

}  // namespace

std::array<std::string, kMaxReportSources> WitnessIds(
    const RunDescription& run) {
  std::array<std::string, kMaxReportSources> ids;
  for (int k = 0; k < run.source_count; ++k) {
    const std::string base = MakeName(FileNamePart(run.sources[k].name));
    ids[k] = base;
    for (int repeat = 2;; ++repeat) {
      bool taken = false;
      for (int j = 0; j < k; ++j) taken = taken || ids[j] == ids[k];
      if (!taken) break;
      ids[k] = base + "-" + std::to_string(repeat);
    }
  }
  return ids;
}

TeiWriter::TeiWriter(OutputStream& out, std::string program)
    : out_(out), program_(std::move(program)) {}

void TeiWriter::WriteText(std::string_view text, bool line_breaks) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool at_end = i == text.size();
    if (!at_end && !IsLeftOut(text[i]) && !(line_breaks && text[i] == '\n')) {
      continue;
    }
    WriteXmlText(text.substr(start, i - start), out_);
    start = i + 1;
    if (!at_end && text[i] == '\n') {
      ++base_line_;
      out_.Write("\n<lb n=\"");
      out_.Write(std::to_string(base_line_));
      out_.Write("\"/>");
    }
  }
}

void TeiWriter::BeginRun(const RunDescription& run) {
  source_count_ = run.source_count;
  ids_ = WitnessIds(run);
  base_line_ = 1;
  variant_bytes_ = 0;
  out_.Write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<TEI xmlns=\"http://www.tei-c.org/ns/1.0\">\n<teiHeader>\n"
      "<fileDesc>\n<titleStmt>\n<title>Collation of ");
  for (int k = 0; k < source_count_; ++k) {
    if (k > 0) out_.Write(k + 1 == source_count_ ? " and " : ", ");
    WriteXmlText(FileNamePart(run.sources[k].name), out_);
  }
  out_.Write("</title>\n</titleStmt>\n<publicationStmt>\n<p>Written by ");
  WriteXmlText(program_, out_);
  out_.Write(".</p>\n</publicationStmt>\n<sourceDesc>\n<listWit>\n");
  for (int k = 0; k < source_count_; ++k) {
    out_.Write("<witness xml:id=\"");
    WriteXmlText(ids_[k], out_);
    out_.Write("\" n=\"");
    out_.Write(std::to_string(k + 1));
    out_.Write("\">");
    WriteXmlText(run.sources[k].name, out_);
    out_.Write("</witness>\n");
  }
  out_.Write(
      "</listWit>\n</sourceDesc>\n</fileDesc>\n<encodingDesc>\n"
      "<variantEncoding method=\"parallel-segmentation\" "
      "location=\"internal\"/>\n</encodingDesc>\n</teiHeader>\n"
      "<text>\n<body>\n<p><lb n=\"1\"/>");
}

void TeiWriter::CopyText(int source, std::string_view text, bool) {
  if (source != 0) return;
  // A variant's character reaches here after its app, which holds it.
  const std::size_t held = std::min(variant_bytes_, text.size());
  text.remove_prefix(held);
  variant_bytes_ -= held;
  WriteText(text, true);
}

void TeiWriter::CopyPieces(int source, const CopiedPieces& copied) {
  if (source != 0) return;
  const std::span<const CopiedPiece> pieces = copied.pieces;
  std::uint32_t start = 0;
  for (std::size_t i = 0; i < pieces.size();) {
    // Pieces in a row that are all verbatim, or all not, are written at
    // once: ignored or not, they are all text here.
    const bool verbatim = pieces[i].verbatim;
    while (i < pieces.size() && pieces[i].verbatim == verbatim) ++i;
    const std::uint32_t end = pieces[i - 1].end;
    const std::string_view text = copied.text.substr(start, end - start);
    if (verbatim) {
      out_.Write(text);
    } else {
      WriteText(text, true);
    }
    start = end;
  }
}

void TeiWriter::Difference(const DifferenceRecord& record) {
  out_.Write("<app n=\"");
  out_.Write(std::to_string(record.number));
  out_.Write("\">");
  std::array<bool, kMaxReportSources> written{};
  for (int k = 0; k < source_count_; ++k) {
    if (written[k]) continue;
    out_.Write("<rdg wit=\"");
    for (int j = k; j < source_count_; ++j) {
      if (record.spans[j].text != record.spans[k].text) continue;
      written[j] = true;
      if (j > k) out_.Put(' ');
      out_.Put('#');
      WriteXmlText(ids_[j], out_);
    }
    if (record.spans[k].text.empty()) {
      out_.Write("\"/>");
      continue;
    }
    out_.Write("\">");
    WriteText(record.spans[k].text, false);
    out_.Write("</rdg>");
  }
  out_.Write("</app>");
}

void TeiWriter::WriteReadings(
    const std::array<std::string_view, kMaxReportSources>& texts) {
  std::array<bool, kMaxReportSources> written{};
  for (int k = 0; k < source_count_; ++k) {
    if (written[k]) continue;
    out_.Write("<rdg wit=\"");
    for (int j = k; j < source_count_; ++j) {
      if (texts[j] != texts[k]) continue;
      written[j] = true;
      if (j > k) out_.Put(' ');
      out_.Put('#');
      WriteXmlText(ids_[j], out_);
    }
    out_.Write("\">");
    WriteText(texts[k], false);
    out_.Write("</rdg>");
  }
}

void TeiWriter::Variant(const VariantRecord& record) {
  out_.Write("<app type=\"variant\" n=\"v");
  out_.Write(std::to_string(record.number));
  out_.Write("\">");
  std::array<std::string_view, kMaxReportSources> texts;
  for (int k = 0; k < source_count_; ++k) texts[k] = record.places[k].text;
  WriteReadings(texts);
  out_.Write("</app>");
  variant_bytes_ = record.places[0].text.size();
}

void TeiWriter::EndRun(const RunEnd& end) {
  out_.Write("</p>\n");
  if (end.outcome != ReportOutcome::kCompleted) {
    out_.Write("<note type=\"outcome\">");
    WriteXmlText(OutcomeName(end.outcome), out_);
    const std::string_view reason = CutOffReasonName(end.outcome);
    if (!reason.empty()) {
      out_.Write(": ");
      WriteXmlText(reason, out_);
    }
    out_.Write(" after ");
    out_.Write(std::to_string(end.difference_count));
    out_.Write(" differences</note>\n");
  }
  out_.Write("</body>\n</text>\n</TEI>\n");
}

}  // namespace tessel::reports
