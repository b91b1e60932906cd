#include "HtmlReportWriter.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "DifferenceKinds.h"
#include "HtmlReportPage.h"
#include "JsonReportWriter.h"
#include "TextEscape.h"
#include "UnicodeEncoder.h"

namespace tessel::reports {

namespace {

// A non-empty strip bin is drawn at least this high, in percent, so a lone
// difference still shows.
constexpr std::int64_t kLeastBinHeight = 4;

// "1234567" as "1,234,567".
std::string Grouped(std::int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return value < 0 ? "-" + out : out;
}

// `text` with every U+FDD0 and U+FDD1 made U+FFFD, since the page uses
// them to enclose ignored stretches and variants.
std::string_view WithoutMarks(std::string_view text, std::string& scratch) {
  if (text.find(kIgnoredMark) == std::string_view::npos &&
      text.find(kVariantMark) == std::string_view::npos) {
    return text;
  }
  scratch.assign(text);
  for (const std::string_view mark : {kIgnoredMark, kVariantMark}) {
    for (std::size_t at = 0;
         (at = scratch.find(mark, at)) != std::string::npos;) {
      scratch.replace(at, mark.size(), "\xEF\xBF\xBD");
    }
  }
  return scratch;
}

std::string_view OutcomeText(ReportOutcome outcome) {
  switch (outcome) {
    case ReportOutcome::kCompleted:
      return "completed: every source was read to its end";
    case ReportOutcome::kCutOffNoAnchor:
      return "cut off: no common stretch within the look-ahead";
    case ReportOutcome::kCutOffLimit:
      return "cut off: the difference limit was reached";
    case ReportOutcome::kLeftAtSourceEnd:
      return "left off where a source ended, without closing lines";
    case ReportOutcome::kStopped:
      return "stopped by the user";
    case ReportOutcome::kFailed:
      break;
  }
  return "failed: a file could not be read or written";
}

}  // namespace

HtmlReportWriter::HtmlReportWriter(OutputStream& out, std::string program)
    : out_(out), program_(std::move(program)) {}

void HtmlReportWriter::BeginRun(const RunDescription& run) {
  run_ = run;
  statistics_.Begin(run.source_count, run.sources[0].byte_size);
  variants_ = !run.variant_tables.empty();
  pairs_.Clear();
  for (int k = 0; k < kMaxReportSources; ++k) {
    pending_[k].clear();
    pending_ignored_[k] = false;
    variant_bytes_[k] = 0;
  }
  out_.Write(
      "<!DOCTYPE html>\n<html lang=\"zh-Hant\">\n<head>\n<meta "
      "charset=\"utf-8\">\n<meta name=\"generator\" content=\"");
  WriteHtmlText(program_, out_);
  out_.Write("\">\n<title>");
  for (int k = 0; k < run.source_count; ++k) {
    if (k > 0) out_.Write(" \xC2\xB7 ");  // ·
    WriteHtmlText(run.sources[k].name, out_);
  }
  out_.Write("</title>\n<style>");
  out_.Write(kHtmlStyle);
  out_.Write(
      "</style>\n</head>\n<body>\n<div id=\"top\"><h1>Tessel</h1></div>\n"
      "<div id=\"main\">\n<div id=\"side\">\n<div id=\"tabs\">"
      "<button id=\"tabList\" class=\"on\">\xE5\xB7\xAE\xE7\x95\xB0 "
      "Differences</button><button id=\"tabSum\">\xE6\x91\x98\xE8\xA6\x81 "
      "Summary</button>");
  if (variants_) {
    out_.Write(
        "<button id=\"tabVar\">\xE7\x95\xB0\xE9\xAB\x94 Variants</button>");
  }
  out_.Write(
      "</div>\n<div id=\"listPane\"><div id=\"filters\">"
      "<select id=\"lone\" title=\"Agreement\">"
      "<option value=\"-1\">every agreement</option>"
      "<option value=\"0\">source 1 stands alone</option>"
      "<option value=\"1\">source 2 stands alone</option>"
      "<option value=\"2\">source 3 stands alone</option>"
      "<option value=\"-2\">all three differ</option></select>"
      "<select id=\"kind\" title=\"Kind\">"
      "<option value=\"-1\">every kind</option>"
      "<option value=\"0\">one for one</option>"
      "<option value=\"1\">insertion</option>"
      "<option value=\"2\">omission</option>"
      "<option value=\"3\">longer</option></select></div>"
      "<div id=\"count\"></div><div id=\"list\"><div id=\"listIn\"></div>"
      "</div></div>\n<div id=\"sum\"></div>\n");
  if (variants_) {
    out_.Write(
        "<div id=\"varPane\"><div id=\"vpairsBox\"></div>"
        "<div id=\"vcount\"></div><div id=\"vlist\"><div id=\"vlistIn\">"
        "</div></div></div>\n");
  }
  out_.Write("</div>\n<div id=\"view\"><div id=\"heads\">");
  for (int k = 0; k < run.source_count; ++k) {
    out_.Write("<div>");
    out_.Write(std::to_string(k + 1));
    out_.Write(" \xC2\xB7 ");
    WriteHtmlText(run.sources[k].name, out_);
    if (k == 0) out_.Write("<span id=\"pos\"></span>");
    out_.Write("</div>");
  }
  out_.Write(
      "</div><div id=\"scroller\"><div id=\"rows\"></div></div></div>\n"
      "</div>\n<script>\nvar META={\"n\":");
  out_.Write(std::to_string(run.source_count));
  out_.Write("};\nvar D=[\n");
}

void HtmlReportWriter::CopyText(int source, std::string_view text,
                                bool ignored) {
  Add(source, text, ignored, false);
}

void HtmlReportWriter::CopyPieces(int source, const CopiedPieces& copied) {
  const std::span<const CopiedPiece> pieces = copied.pieces;
  std::uint32_t start = 0;
  for (std::size_t i = 0; i < pieces.size();) {
    if (pieces[i].verbatim && variant_bytes_[source] == 0) {
      i = AddVerbatimPieces(source, copied, i);
    } else {
      Add(source, copied.text.substr(start, pieces[i].end - start),
          pieces[i].ignored, pieces[i].verbatim);
      ++i;
    }
    start = pieces[i - 1].end;
  }
}

std::size_t HtmlReportWriter::AddVerbatimPieces(int source,
                                                const CopiedPieces& copied,
                                                std::size_t first) {
  const std::span<const CopiedPiece> pieces = copied.pieces;
  std::string& pending = pending_[source];
  bool ignored = pending_ignored_[source];
  std::size_t last = first;
  while (last < pieces.size() && pieces[last].verbatim) ++last;
  const std::uint32_t start = first == 0 ? 0 : pieces[first - 1].end;
  // Room for the text and a mark before every piece, written through a
  // pointer: the pieces are a few characters each.
  const std::size_t size = pending.size();
  pending.resize(size + (pieces[last - 1].end - start) +
                 kIgnoredMark.size() * (last - first));
  char* out = pending.data() + size;
  std::uint32_t from = start;
  std::size_t i = first;
  while (i < last) {
    const CopiedPiece& piece = pieces[i++];
    if (piece.ignored != ignored) {
      std::memcpy(out, kIgnoredMark.data(), kIgnoredMark.size());
      out += kIgnoredMark.size();
      ignored = piece.ignored;
    }
    std::memcpy(out, copied.text.data() + from, piece.end - from);
    out += piece.end - from;
    from = piece.end;
    // Items end where Add would end them, so the file is the same.
    if (static_cast<std::size_t>(out - pending.data()) >= kHtmlFlushBytes) {
      break;
    }
  }
  pending.resize(static_cast<std::size_t>(out - pending.data()));
  pending_ignored_[source] = ignored;
  if (pending.size() >= kHtmlFlushBytes) Flush(source);
  return i;
}

void HtmlReportWriter::AddText(int source, std::string_view text,
                               bool verbatim) {
  std::string& pending = pending_[source];
  if (verbatim) {
    pending += text;
    return;
  }
  std::string scratch;
  AppendJsonStringContent(WithoutMarks(text, scratch), pending);
}

void HtmlReportWriter::Add(int source, std::string_view text, bool ignored,
                           bool verbatim) {
  if (text.empty()) return;
  std::string& pending = pending_[source];
  if (ignored != pending_ignored_[source]) {
    pending += kIgnoredMark;
    pending_ignored_[source] = ignored;
  }
  if (std::size_t& marked = variant_bytes_[source]; marked > 0) {
    // The run hands a variant's character over at the start of a copied
    // text, never ignored and never split.
    const std::string_view character = text.substr(0, marked);
    pending += kVariantMark;
    AddText(source, character, verbatim);
    pending += kVariantMark;
    text.remove_prefix(character.size());
    marked = 0;
  }
  AddText(source, text, verbatim);
  if (pending.size() >= kHtmlFlushBytes) Flush(source);
}

void HtmlReportWriter::Flush(int source) {
  std::string& pending = pending_[source];
  if (pending.empty()) return;
  // Each item closes its own ignored stretch, so items can be joined.
  if (pending_ignored_[source]) pending += kIgnoredMark;
  pending_ignored_[source] = false;
  out_.Put('[');
  out_.Write(std::to_string(source));
  out_.Write(",\"");
  out_.Write(pending);
  out_.Write("\"],\n");
  pending.clear();
}

void HtmlReportWriter::Difference(const DifferenceRecord& record) {
  const int n = run_.source_count;
  for (int k = 0; k < n; ++k) Flush(k);
  statistics_.Add(record);
  const Agreement groups = AgreeingGroups(record, n);
  out_.Write("[-1,");
  out_.Write(std::to_string(record.number));
  out_.Write(",[");
  for (int k = 0; k < n; ++k) {
    if (k > 0) out_.Put(',');
    out_.Write(std::to_string(record.spans[k].line));
  }
  out_.Write("],[");
  std::string scratch;
  for (int k = 0; k < n; ++k) {
    if (k > 0) out_.Put(',');
    WriteJsonString(WithoutMarks(record.spans[k].text, scratch), out_);
  }
  out_.Write("],");
  WriteJsonString(AgreementLabel(groups, n), out_);
  out_.Put(',');
  out_.Write(std::to_string(static_cast<int>(Classify(record, n))));
  out_.Put(',');
  out_.Write(std::to_string(LoneSource(groups, n)));
  out_.Write("],\n");
}

void HtmlReportWriter::Variant(const VariantRecord& record) {
  if (!variants_) return;
  const int n = run_.source_count;
  pairs_.Add(record, n);
  out_.Write("[-2,");
  out_.Write(std::to_string(record.number));
  out_.Write(",[");
  for (int k = 0; k < n; ++k) {
    if (k > 0) out_.Put(',');
    out_.Write(std::to_string(record.places[k].line));
  }
  out_.Write("],[");
  std::string character;
  for (int k = 0; k < n; ++k) {
    if (k > 0) out_.Put(',');
    const char32_t c = record.places[k].character;
    character.clear();
    AppendUtf8(c == 0 ? kReplacementCharacter : c, character);
    WriteJsonString(character, out_);
    variant_bytes_[k] = record.places[k].text.size();
  }
  out_.Write("]],\n");
}

void HtmlReportWriter::EndRun(const RunEnd& end) {
  for (int k = 0; k < run_.source_count; ++k) Flush(k);
  out_.Write("];\n</script>\n<section id=\"summary\">\n");
  WriteVerdict(end);
  WriteStrip();
  WriteSources(end);
  WriteOptions();
  WriteStatistics();
  if (variants_) WriteVariantPairs();
  out_.Write("</section>\n<script>");
  out_.Write(kHtmlScript);
  out_.Write("</script>\n</body>\n</html>\n");
}

void HtmlReportWriter::WriteVerdict(const RunEnd& end) {
  out_.Write("<p id=\"verdict\"><b>");
  out_.Write(Grouped(end.difference_count));
  out_.Write(end.difference_count == 1 ? " difference</b>, "
                                       : " differences</b>, ");
  if (variants_) {
    out_.Write("<b class=\"vr\">");
    out_.Write(Grouped(end.variant_count));
    out_.Write(end.variant_count == 1 ? " variant</b>, " : " variants</b>, ");
  }
  out_.Write(OutcomeText(end.outcome));
  out_.Write("</p>\n");
}

void HtmlReportWriter::WriteStrip() {
  const auto& strip = statistics_.strip();
  std::int64_t most = 0;
  for (const StripBin& bin : strip) most = std::max(most, bin.count);
  out_.Write(
      "<div id=\"strip\" title=\"Where the differences lie along source "
      "1\">");
  for (std::size_t b = 0; b < strip.size(); ++b) {
    const StripBin& bin = strip[b];
    if (bin.count == 0) {
      out_.Write("<i style=\"height:0\"></i>");
      continue;
    }
    const std::int64_t height =
        std::max(kLeastBinHeight, bin.count * 100 / most);
    out_.Write("<i style=\"height:");
    out_.Write(std::to_string(height));
    out_.Write("%\" data-first=\"");
    out_.Write(std::to_string(bin.first_number));
    out_.Write("\" title=\"");
    out_.Write(std::to_string(b * 100 / strip.size()));
    out_.Write("% of source 1: ");
    out_.Write(Grouped(bin.count));
    out_.Write(bin.count == 1 ? " difference\"></i>" : " differences\"></i>");
  }
  out_.Write("</div>\n");
}

void HtmlReportWriter::WriteSources(const RunEnd& end) {
  out_.Write(
      "<h2>Sources</h2>\n<table><tr><th></th><th>name</th><th>encoding</th>"
      "<th>bytes</th><th>lines</th></tr>\n");
  for (int k = 0; k < run_.source_count; ++k) {
    out_.Write("<tr><td>");
    out_.Write(std::to_string(k + 1));
    out_.Write("</td><td class=\"name\">");
    WriteHtmlText(run_.sources[k].name, out_);
    out_.Write("</td><td>");
    WriteHtmlText(run_.sources[k].encoding, out_);
    out_.Write("</td><td class=\"r\">");
    out_.Write(Grouped(run_.sources[k].byte_size));
    out_.Write("</td><td class=\"r\">");
    out_.Write(Grouped(end.lines[k]));
    if (!end.source_ended[k]) out_.Write(" (reached)");
    out_.Write("</td></tr>\n");
  }
  out_.Write("</table>\n");
}

void HtmlReportWriter::WriteOptions() {
  out_.Write("<h2>Options</h2>\n<table><tr><td>look-ahead</td><td>");
  out_.Write(Grouped(run_.window_size));
  out_.Write(" characters</td></tr>\n<tr><td>difference limit</td><td>");
  out_.Write(run_.diff_limit == kNoReportLimit ? "none"
                                               : Grouped(run_.diff_limit));
  out_.Write("</td></tr>\n<tr><td>notations</td><td>");
  out_.Write(run_.fold_notations ? "folded into single characters"
                                 : "compared as written");
  out_.Write("</td></tr>\n<tr><td>ignored</td><td>control characters");
  for (const std::string& symbol : run_.ignored_symbols) {
    out_.Write(" <code>");
    WriteHtmlText(symbol == " " ? "\xE2\x90\xA0" : symbol, out_);  // ␠
    out_.Write("</code>");
  }
  out_.Write("</td></tr>\n");
  if (variants_) {
    out_.Write("<tr><td>variant tables</td><td>");
    for (std::size_t i = 0; i < run_.variant_tables.size(); ++i) {
      if (i > 0) out_.Write(", ");
      WriteHtmlText(run_.variant_tables[i], out_);
    }
    out_.Write("</td></tr>\n");
  }
  out_.Write("</table>\n");
}

void HtmlReportWriter::WriteStatistics() {
  static constexpr std::string_view kKindTexts[kDifferenceKindCount] = {
      "one for one", "insertion (source 1 lacks)",
      "omission (another source lacks)", "longer"};
  out_.Write("<h2>Kinds</h2>\n<table>\n");
  for (int kind = 0; kind < kDifferenceKindCount; ++kind) {
    out_.Write("<tr><td>");
    out_.Write(kKindTexts[kind]);
    out_.Write("</td><td class=\"r\">");
    out_.Write(
        Grouped(statistics_.kind_count(static_cast<DifferenceKind>(kind))));
    out_.Write("</td></tr>\n");
  }
  out_.Write("</table>\n");
  if (run_.source_count == 3) {
    out_.Write("<h2>Agreement</h2>\n<table>\n");
    for (int k = 0; k < 3; ++k) {
      out_.Write("<tr><td>source ");
      out_.Write(std::to_string(k + 1));
      out_.Write(" stands alone</td><td class=\"r\">");
      out_.Write(Grouped(statistics_.lone_count(k)));
      out_.Write("</td></tr>\n");
    }
    out_.Write("<tr><td>all three differ</td><td class=\"r\">");
    out_.Write(Grouped(statistics_.all_differ_count()));
    out_.Write("</td></tr>\n</table>\n");
  }
  out_.Write(
      "<h2>Most frequent one-for-one substitutions</h2>\n<table "
      "class=\"zh\">\n");
  for (const auto& [pair, count] :
       statistics_.TopSubstitutions(kTopSubstitutions)) {
    out_.Write("<tr><td>");
    WriteHtmlText(pair, out_);
    out_.Write("</td><td class=\"r\">");
    out_.Write(Grouped(count));
    out_.Write("</td></tr>\n");
  }
  out_.Write("</table>\n");
}

void HtmlReportWriter::WriteVariantPairs() {
  // Every pair, however many: one row per distinct pair is small beside
  // the texts, and the rare ones are where a user finds a misread table.
  out_.Write(
      "<table id=\"vpairs\" class=\"zh\">\n<tr><th>variant pair</th>"
      "<th>places</th></tr>\n");
  for (const VariantPair& pair : pairs_.Sorted()) {
    const std::string text = VariantPairText(pair, run_.source_count);
    out_.Write("<tr data-p=\"");
    WriteHtmlText(text, out_);
    out_.Write("\"><td>");
    WriteHtmlText(text, out_);
    out_.Write("</td><td class=\"r\">");
    out_.Write(Grouped(pair.count));
    out_.Write("</td></tr>\n");
  }
  out_.Write("</table>\n");
}

}  // namespace tessel::reports
