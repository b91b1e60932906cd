#include "ResultsSink.h"

#include <algorithm>

namespace tessel::app {

void ResultsSink::BeginRun(const RunDescription& run) {
  *this = ResultsSink();
  started_ = true;
  description_ = run;
}

void ResultsSink::CopyText(int source, std::string_view text, bool ignored) {
  std::string& kept = texts_[source];
  if (ignored && !text.empty()) {
    std::vector<Stretch>& stretches = ignored_[source];
    // A run may hand one stretch over in several pieces: they are one.
    if (!stretches.empty() &&
        stretches.back().start + stretches.back().length == kept.size()) {
      stretches.back().length += text.size();
    } else {
      stretches.push_back({kept.size(), text.size()});
    }
  }
  kept += text;
}

void ResultsSink::Difference(const DifferenceRecord& record) {
  KeptDifference difference;
  difference.number = record.number;
  difference.same_as = record.same_as;
  for (int k = 0; k < description_.source_count; ++k) {
    const DifferenceSpan& from = record.spans[k];
    KeptSpan& span = difference.spans[k];
    span.line = from.line;
    span.byte_offset = from.byte_offset;
    span.byte_length = from.byte_length;
    span.text_start = texts_[k].size();
    span.text_length = from.text.size();
    span.compared_start = compared_[k].size();
    span.compared_length = from.compared.size();
    span.compared_count = from.compared_count;
    texts_[k] += from.text;
    compared_[k] += from.compared;
  }
  differences_.push_back(difference);
}

void ResultsSink::Variant(const VariantRecord& record) {
  KeptVariant variant;
  variant.number = record.number;
  variant.differences_before = differences_.size();
  for (int k = 0; k < description_.source_count; ++k) {
    const VariantPlace& from = record.places[k];
    // The character's text comes as the source's next copied text.
    variant.places[k] = {from.line,        from.byte_offset, from.byte_length,
                         texts_[k].size(), from.text.size(), from.character};
  }
  variants_.push_back(variant);
}

void ResultsSink::EndRun(const RunEnd& end) {
  ended_ = true;
  end_ = end;
}

std::string_view ResultsSink::SpanText(std::size_t i, int k) const {
  const KeptSpan& span = differences_[i].spans[k];
  return std::string_view(texts_[k]).substr(span.text_start, span.text_length);
}

void ResultsSink::ReplayCopy(DifferenceSink& sink, int k, std::size_t from,
                             std::size_t to, std::size_t& next) const {
  const std::vector<Stretch>& stretches = ignored_[k];
  const std::string_view text = texts_[k];
  while (from < to) {
    while (next < stretches.size() &&
           stretches[next].start + stretches[next].length <= from) {
      ++next;
    }
    const bool in_ignored =
        next < stretches.size() && stretches[next].start <= from;
    std::size_t until = to;
    if (in_ignored) {
      until = std::min(to, stretches[next].start + stretches[next].length);
    } else if (next < stretches.size()) {
      until = std::min(to, stretches[next].start);
    }
    sink.CopyText(k, text.substr(from, until - from), in_ignored);
    from = until;
  }
}

void ResultsSink::ReplayVariant(
    DifferenceSink& sink, const KeptVariant& variant,
    std::array<std::size_t, kMaxReportSources>& cursor,
    std::array<std::size_t, kMaxReportSources>& next) const {
  const int count = description_.source_count;
  VariantRecord record;
  record.number = variant.number;
  for (int k = 0; k < count; ++k) {
    const KeptPlace& place = variant.places[k];
    ReplayCopy(sink, k, cursor[k], place.text_start, next[k]);
    cursor[k] = place.text_start;
    record.places[k] = {
        place.line, place.byte_offset, place.byte_length,
        std::string_view(texts_[k]).substr(place.text_start, place.text_length),
        place.character};
  }
  sink.Variant(record);
  for (int k = 0; k < count; ++k) {
    const KeptPlace& place = variant.places[k];
    ReplayCopy(sink, k, cursor[k], place.text_start + place.text_length,
               next[k]);
    cursor[k] = place.text_start + place.text_length;
  }
}

void ResultsSink::Replay(DifferenceSink& sink) const {
  if (!started_) return;
  sink.BeginRun(description_);
  const int count = description_.source_count;
  std::array<std::size_t, kMaxReportSources> cursor{};
  std::array<std::size_t, kMaxReportSources> next_stretch{};
  std::size_t next_variant = 0;
  for (std::size_t i = 0; i <= differences_.size(); ++i) {
    while (next_variant < variants_.size() &&
           variants_[next_variant].differences_before == i) {
      ReplayVariant(sink, variants_[next_variant++], cursor, next_stretch);
    }
    if (i == differences_.size()) break;
    const KeptDifference& kept = differences_[i];
    DifferenceRecord record;
    record.number = kept.number;
    record.same_as = kept.same_as;
    for (int k = 0; k < count; ++k) {
      const KeptSpan& span = kept.spans[k];
      ReplayCopy(sink, k, cursor[k], span.text_start, next_stretch[k]);
      cursor[k] = span.text_start + span.text_length;
      DifferenceSpan& out = record.spans[k];
      out.line = span.line;
      out.byte_offset = span.byte_offset;
      out.byte_length = span.byte_length;
      out.text = SpanText(i, k);
      out.compared = std::string_view(compared_[k])
                         .substr(span.compared_start, span.compared_length);
      out.compared_count = span.compared_count;
    }
    sink.Difference(record);
  }
  for (int k = 0; k < count; ++k) {
    ReplayCopy(sink, k, cursor[k], texts_[k].size(), next_stretch[k]);
  }
  if (ended_) sink.EndRun(end_);
}

}  // namespace tessel::app
