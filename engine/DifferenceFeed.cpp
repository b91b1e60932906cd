#include "DifferenceFeed.h"

#include <utility>

#include "Big5Utf8.h"

namespace tessel {

RunDescription DescribeRun(const RunOptions& options, const RunSources& sources,
                           const SignSet& signs,
                           const NotationTable& notations) {
  RunDescription run;
  run.source_count = sources.count;
  for (int k = 0; k < sources.count; ++k) {
    const std::u8string name = options.sources[k].u8string();
    run.sources[k].name.assign(name.begin(), name.end());
    run.sources[k].encoding = "Big5";
    run.sources[k].byte_size = sources.streams[k]->Length();
  }
  run.window_size = options.window_size;
  run.diff_limit = options.diff_limit;
  run.fold_notations = options.fold_notations;
  std::string_view tables = options.variant_tables;
  while (!tables.empty()) {
    const std::size_t comma = tables.find(',');
    run.variant_tables.emplace_back(tables.substr(0, comma));
    if (comma == std::string_view::npos) break;
    tables.remove_prefix(comma + 1);
  }
  for (Code code = kLastControl + 1; code < kCodeLimit; ++code) {
    if (!signs.IsIgnored(code)) continue;
    std::string text;
    AppendCodeAsUtf8(code, notations, text);
    if (!text.empty()) run.ignored_symbols.push_back(std::move(text));
  }
  return run;
}

ReportOutcome ReportOutcomeOf(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kCompleted:
      return ReportOutcome::kCompleted;
    case RunOutcome::kCutOffNoAnchor:
      return ReportOutcome::kCutOffNoAnchor;
    case RunOutcome::kCutOffLimit:
      return ReportOutcome::kCutOffLimit;
    case RunOutcome::kLeftAtEndOfFile:
      return ReportOutcome::kLeftAtSourceEnd;
    case RunOutcome::kStopped:
      return ReportOutcome::kStopped;
    case RunOutcome::kFailed:
      break;
  }
  return ReportOutcome::kFailed;
}

DifferenceFeed::DifferenceFeed(
    std::vector<DifferenceSink*> sinks, TokenReader& reader,
    std::array<std::unique_ptr<SourceStream>, kMaxSources> sources,
    int source_count)
    : sinks_(std::move(sinks)),
      reader_(reader),
      sources_(std::move(sources)),
      source_count_(source_count) {
  copy_.reserve(kCopyPiece + 64);
}

void DifferenceFeed::Begin(const RunDescription& run) {
  for (DifferenceSink* sink : sinks_) sink->BeginRun(run);
}

void DifferenceFeed::AppendToken(Code code, std::string& out) const {
  // A stretch or a note has no stored text of its own: the reader keeps the
  // bytes it read last.
  if (code == kIgnoredStretch || reader_.IsNoteCode(code)) {
    AppendBig5AsUtf8(reader_.LastSpecialText(code), out);
  } else {
    AppendCodeAsUtf8(code, reader_.notations(), out);
  }
}

void DifferenceFeed::FlushCopy(int k) {
  if (copy_.empty()) return;
  for (DifferenceSink* sink : sinks_) sink->CopyText(k, copy_, copy_ignored_);
  copy_.clear();
}

void DifferenceFeed::CopyTo(int k, std::int64_t offset) {
  SourceStream& src = *sources_[k];
  while (src.Tell() < offset) {
    const std::int64_t before = src.Tell();
    const Code code = reader_.ReadToken(src);
    // A 0x1A, or a high byte the source ends after, reads as the end and
    // is written nowhere; only the true end leaves the position where it
    // was.
    if (code == kEndOfSource) {
      if (src.Tell() == before) break;
      continue;
    }
    const bool ignored = reader_.IsIgnored(code);
    if (ignored != copy_ignored_ || copy_.size() >= kCopyPiece) {
      FlushCopy(k);
      copy_ignored_ = ignored;
    }
    AppendToken(code, copy_);
  }
  FlushCopy(k);
}

// The same reading as TokenReader::CopySource, which writes the span to
// the result and difference files.
DifferenceSpan DifferenceFeed::ReadSpan(int k, std::int64_t start,
                                        std::int64_t length) {
  SourceStream& src = *sources_[k];
  std::string& text = span_text_[k];
  std::string& compared = span_compared_[k];
  text.clear();
  compared.clear();
  DifferenceSpan span;
  span.byte_offset = start;
  std::int64_t counted = 0;
  while (counted < length) {
    const Code code = reader_.ReadToken(src);
    if (code == kEndOfSource) break;
    if (!reader_.IsIgnored(code)) {
      counted += 2;
      ++span.compared_count;
      AppendToken(code, compared);
    }
    AppendToken(code, text);
  }
  span.byte_length = src.Tell() - start;
  span.text = text;
  span.compared = compared;
  return span;
}

void DifferenceFeed::Difference(std::int64_t number,
                                const WalkPosition& position,
                                const DifferenceSpans& spans) {
  DifferenceRecord record;
  record.number = number;
  for (int k = 0; k < source_count_; ++k) {
    CopyTo(k, spans.start[k]);
    record.spans[k] = ReadSpan(k, spans.start[k], spans.length[k]);
    record.spans[k].line = position.lines[k];
  }
  for (DifferenceSink* sink : sinks_) sink->Difference(record);
}

void DifferenceFeed::Variant(const VariantMet& met) {
  VariantRecord record;
  record.number = ++end_.variant_count;
  for (int k = 0; k < source_count_; ++k) {
    CopyTo(k, met.offsets[k]);
    // The character is read here rather than by the next CopyTo, so that
    // the sinks hear of the variant before its text.
    SourceStream& src = *sources_[k];
    std::string& text = variant_text_[k];
    text.clear();
    const std::int64_t end = met.offsets[k] + met.lengths[k];
    while (src.Tell() < end) {
      const Code code = reader_.ReadToken(src);
      if (code == kEndOfSource) break;
      AppendCodeAsUtf8(code, reader_.notations(), text);
    }
    VariantPlace& place = record.places[k];
    place.line = met.lines[k];
    place.byte_offset = met.offsets[k];
    place.byte_length = met.lengths[k];
    place.text = text;
    place.character = met.characters[k];
  }
  for (DifferenceSink* sink : sinks_) sink->Variant(record);
  for (int k = 0; k < source_count_; ++k) {
    if (variant_text_[k].empty()) continue;
    for (DifferenceSink* sink : sinks_) {
      sink->CopyText(k, variant_text_[k], false);
    }
  }
}

void DifferenceFeed::CatchUp(
    const std::array<std::int64_t, kMaxSources>& reached,
    const WalkPosition& position) {
  // The closing lines of a cut-off run can call a source ended that still
  // has text (its current code is 0 after the search); the sinks are told
  // the truth instead: a source has ended when every byte of it was read,
  // or when the run completed (a 0x1A ends one early).
  for (int k = 0; k < source_count_; ++k) {
    CopyTo(k, reached[k]);
    end_.lines[k] = position.lines[k];
    end_.source_ended[k] = reached[k] >= sources_[k]->Length();
  }
}

void DifferenceFeed::End(ReportOutcome outcome, std::int64_t difference_count) {
  end_.outcome = outcome;
  if (outcome == ReportOutcome::kCompleted) end_.source_ended.fill(true);
  end_.difference_count = difference_count;
  for (DifferenceSink* sink : sinks_) sink->EndRun(end_);
}

}  // namespace tessel
