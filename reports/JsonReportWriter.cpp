#include "JsonReportWriter.h"

#include <string>

#include "DifferenceKinds.h"
#include "TextEscape.h"
#include "UnicodeEncoder.h"

namespace tessel::reports {

namespace {

// Appends `c` as a JSON string, escaped as WriteJsonString escapes; a
// character the run knew none for (0) is U+FFFD.
void AppendJsonCharacter(char32_t c, std::string& out) {
  if (c == 0) c = kReplacementCharacter;
  out += '"';
  if (c == '"' || c == '\\') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c < 0x20 || c == '<' || c == 0x2028 || c == 0x2029) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
      out += kHex[(c >> shift) & 0xF];
  } else {
    AppendUtf8(c, out);
  }
  out += '"';
}

}  // namespace

std::string_view OutcomeName(ReportOutcome outcome) {
  switch (outcome) {
    case ReportOutcome::kCompleted:
      return "completed";
    case ReportOutcome::kCutOffNoAnchor:
    case ReportOutcome::kCutOffLimit:
      return "cut-off";
    case ReportOutcome::kLeftAtSourceEnd:
      return "left-at-source-end";
    case ReportOutcome::kStopped:
      return "stopped";
    case ReportOutcome::kFailed:
      break;
  }
  return "failed";
}

std::string_view CutOffReasonName(ReportOutcome outcome) {
  switch (outcome) {
    case ReportOutcome::kCutOffNoAnchor:
      return "no-common-stretch";
    case ReportOutcome::kCutOffLimit:
      return "difference-limit";
    default:
      return "";
  }
}

JsonReportWriter::JsonReportWriter(OutputStream& out, std::string program)
    : out_(out), program_(std::move(program)) {}

void JsonReportWriter::WriteInteger(std::int64_t value) {
  out_.Write(std::to_string(value));
}

void JsonReportWriter::BeginRun(const RunDescription& run) {
  source_count_ = run.source_count;
  first_difference_ = true;
  variants_ = !run.variant_tables.empty();
  variant_count_ = 0;
  pairs_.Clear();
  out_.Write("{\"format\":");
  WriteJsonString(kJsonFormatName, out_);
  out_.Write(",\"version\":");
  WriteInteger(kJsonFormatVersion);
  if (variants_) {
    out_.Write(",\"minor\":");
    WriteInteger(kJsonFormatMinorVersion);
  }
  out_.Write(",\"program\":");
  WriteJsonString(program_, out_);
  out_.Write(",\n\"sources\":[");
  for (int k = 0; k < source_count_; ++k) {
    const ReportSource& source = run.sources[k];
    out_.Write(k == 0 ? "{\"name\":" : ",{\"name\":");
    WriteJsonString(source.name, out_);
    out_.Write(",\"encoding\":");
    WriteJsonString(source.encoding, out_);
    out_.Write(",\"bytes\":");
    WriteInteger(source.byte_size);
    out_.Put('}');
  }
  out_.Write("],\n\"options\":{\"window\":");
  WriteInteger(run.window_size);
  out_.Write(",\"limit\":");
  if (run.diff_limit == kNoReportLimit) {
    out_.Write("null");
  } else {
    WriteInteger(run.diff_limit);
  }
  out_.Write(",\"fold_notations\":");
  out_.Write(run.fold_notations ? "true" : "false");
  out_.Write(",\"ignored\":[");
  for (std::size_t i = 0; i < run.ignored_symbols.size(); ++i) {
    if (i > 0) out_.Put(',');
    WriteJsonString(run.ignored_symbols[i], out_);
  }
  out_.Put(']');
  if (variants_) {
    out_.Write(",\"variant_tables\":[");
    for (std::size_t i = 0; i < run.variant_tables.size(); ++i) {
      if (i > 0) out_.Put(',');
      WriteJsonString(run.variant_tables[i], out_);
    }
    out_.Put(']');
  }
  out_.Write("},\n\"differences\":[");
}

void JsonReportWriter::CopyText(int, std::string_view, bool) {}

void JsonReportWriter::Difference(const DifferenceRecord& record) {
  out_.Write(first_difference_ ? "\n{\"number\":" : ",\n{\"number\":");
  first_difference_ = false;
  WriteInteger(record.number);
  out_.Write(",\"kind\":");
  WriteJsonString(KindName(Classify(record, source_count_)), out_);
  out_.Write(",\"agree\":[");
  const Agreement groups = AgreeingGroups(record, source_count_);
  for (int group = 0; group < source_count_; ++group) {
    bool first = true;
    for (int k = 0; k < source_count_; ++k) {
      if (groups[k] != group) continue;
      out_.Write(first ? (group == 0 ? "[" : ",[") : ",");
      first = false;
      WriteInteger(k + 1);
    }
    if (!first) out_.Put(']');
  }
  out_.Write("],\"spans\":[");
  for (int k = 0; k < source_count_; ++k) {
    const DifferenceSpan& span = record.spans[k];
    out_.Write(k == 0 ? "{\"line\":" : ",{\"line\":");
    WriteInteger(span.line);
    out_.Write(",\"offset\":");
    WriteInteger(span.byte_offset);
    out_.Write(",\"length\":");
    WriteInteger(span.byte_length);
    out_.Write(",\"text\":");
    WriteJsonString(span.text, out_);
    out_.Put('}');
  }
  out_.Write("]}");
}

void JsonReportWriter::Variant(const VariantRecord& record) {
  if (!variants_) return;
  pairs_.Add(record, source_count_);
  std::string& line = variant_line_;
  line.assign(variant_count_ == 0 ? "\n{\"number\":" : ",\n{\"number\":");
  ++variant_count_;
  line += std::to_string(record.number);
  line += ",\"places\":[";
  for (int k = 0; k < source_count_; ++k) {
    const VariantPlace& place = record.places[k];
    line += k == 0 ? "{\"line\":" : ",{\"line\":";
    line += std::to_string(place.line);
    line += ",\"offset\":";
    line += std::to_string(place.byte_offset);
    line += ",\"length\":";
    line += std::to_string(place.byte_length);
    line += ",\"character\":";
    AppendJsonCharacter(place.character, line);
    line += '}';
  }
  line += "]}";
  variant_spill_.Append(line);
}

void JsonReportWriter::WriteVariants() {
  out_.Write("\"variants\":[");
  // A spill that cannot be read back would leave the list short: the
  // output is then failed, as a full disk fails it.
  if (!variant_spill_.MoveTo(out_)) out_.MarkFailed();
  out_.Write(variant_count_ == 0 ? "],\n\"variant_pairs\":["
                                 : "\n],\n\"variant_pairs\":[");
  bool first = true;
  for (const VariantPair& pair : pairs_.Sorted()) {
    out_.Write(first ? "\n{\"characters\":[" : ",\n{\"characters\":[");
    first = false;
    std::string characters;
    for (int k = 0; k < source_count_; ++k) {
      if (k > 0) characters += ',';
      AppendJsonCharacter(pair.characters[k], characters);
    }
    out_.Write(characters);
    out_.Write("],\"count\":");
    WriteInteger(pair.count);
    out_.Put('}');
  }
  out_.Write(first ? "],\n" : "\n],\n");
}

void JsonReportWriter::EndRun(const RunEnd& end) {
  out_.Write(first_difference_ ? "],\n" : "\n],\n");
  if (variants_) WriteVariants();
  out_.Write("\"end\":{\"outcome\":");
  WriteJsonString(OutcomeName(end.outcome), out_);
  const std::string_view reason = CutOffReasonName(end.outcome);
  if (!reason.empty()) {
    out_.Write(",\"reason\":");
    WriteJsonString(reason, out_);
  }
  out_.Write(",\"differences\":");
  WriteInteger(end.difference_count);
  if (variants_) {
    out_.Write(",\"variants\":");
    WriteInteger(variant_count_);
  }
  out_.Write(",\"lines\":[");
  for (int k = 0; k < source_count_; ++k) {
    if (k > 0) out_.Put(',');
    WriteInteger(end.lines[k]);
  }
  out_.Write("],\"ended\":[");
  for (int k = 0; k < source_count_; ++k) {
    if (k > 0) out_.Put(',');
    out_.Write(end.source_ended[k] ? "true" : "false");
  }
  out_.Write("]}}\n");
}

}  // namespace tessel::reports
