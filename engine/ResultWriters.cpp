#include "ResultWriters.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "FileTexts.h"

namespace tessel {

namespace {

// What the writing of one difference reads its span texts from.
struct SpanSource {
  TokenReader& reader;
  RunSources& sources;
  const DifferenceSpans& spans;

  std::size_t Write(int k, OutputStream& out) const {
    return reader.CopySource(*sources.streams[k], spans.start[k],
                             spans.length[k], out);
  }
};

void WriteBlanks(std::size_t written, OutputStream& out) {
  for (std::size_t w = written; w < kColumnWidth; ++w) out.Put(' ');
}

// "{{" first "||" second ["||" third] "}}".
void WriteBlock(const SpanSource& spans, std::initializer_list<int> order,
                OutputStream& out) {
  out.Write(file_texts::kBlockOpen);
  bool first = true;
  for (int k : order) {
    if (!first) out.Write(file_texts::kBlockSeparator);
    first = false;
    spans.Write(k, out);
  }
  out.Write(file_texts::kBlockClose);
}

std::string LineNumber(const char* format, std::int64_t line) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long long>(line));
  return text;
}

}  // namespace

void WriteDifference(TokenReader& reader, RunSources& sources,
                     const WalkPosition& position, const DifferenceSpans& spans,
                     RunOutputs& outputs) {
  const SpanSource span{reader, sources, spans};
  OutputStream& diff = *outputs.difference;
  const bool three = sources.count == 3;
  for (int k = 0; k < sources.count; ++k) {
    diff.Write(LineNumber("%6lld, ", position.lines[k]));
  }
  WriteBlanks(span.Write(0, diff), diff);
  diff.Write(file_texts::kColumnSeparator);
  const std::size_t second = span.Write(1, diff);
  if (three) {
    WriteBlanks(second, diff);
    diff.Write(file_texts::kColumnSeparator);
    span.Write(2, diff);
  }
  diff.Put('\n');

  if (three) {
    for (int k = 0; k < 3; ++k)
      WriteBlock(span, {0, 1, 2}, *outputs.results[k]);
  } else {
    WriteBlock(span, {0, 1}, *outputs.results[0]);
    WriteBlock(span, {1, 0}, *outputs.results[1]);
  }
}

void WriteEndLine(RunOutputs& outputs) {
  outputs.difference->Write(file_texts::kEndLine);
}

void WriteVariantCount(std::int64_t count, RunOutputs& outputs) {
  OutputStream& diff = *outputs.difference;
  diff.Write(file_texts::kVariantCountStart);
  diff.Write(LineNumber("%lld", count));
  diff.Write(file_texts::kVariantCountEnd);
  diff.Write(file_texts::kDifferenceLineEnd);
}

void WriteClosingLines(const RunSources& sources, const WalkPosition& position,
                       const LookAhead& look_ahead, RunOutputs& outputs) {
  const int n = sources.count;
  for (int k = 0; k < n; ++k) {
    outputs.results[k]->Write(file_texts::kResultLineEnd);
    outputs.results[k]->Write(file_texts::kResultLineEnd);
  }
  outputs.difference->Write(file_texts::kDifferenceLineEnd);
  outputs.difference->Write(file_texts::kDifferenceLineEnd);

  for (int k = 0; k < n; ++k) {
    std::string line(file_texts::kClosingStart);
    line += sources.names[k];
    line += file_texts::kClosingMiddle;
    line += LineNumber("%lld", position.lines[k]);
    line += position.current[k] != kEndOfSource
                ? file_texts::kClosingInterrupted
                : file_texts::kClosingEnded;
    for (int r = 0; r < n; ++r) {
      outputs.results[r]->Write(line);
      outputs.results[r]->Write(file_texts::kResultLineEnd);
    }
    outputs.difference->Write(line);
    outputs.difference->Write(file_texts::kDifferenceLineEnd);
  }
  // A growing look-ahead says how far it reached, so the user knows what a
  // larger MAX would have to beat.
  if (look_ahead.auto_window) {
    std::string line(file_texts::kClosingReachedStart);
    line += LineNumber("%lld", look_ahead.reached_window);
    line += file_texts::kClosingReachedEnd;
    for (int r = 0; r < n; ++r) {
      outputs.results[r]->Write(line);
      outputs.results[r]->Write(file_texts::kResultLineEnd);
    }
    outputs.difference->Write(line);
    outputs.difference->Write(file_texts::kDifferenceLineEnd);
  }
}

}  // namespace tessel
