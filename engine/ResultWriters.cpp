#include "ResultWriters.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "FileTexts.h"

namespace tessel {

namespace {

std::size_t WriteSpanText(RunState& state, int k, OutputStream& out) {
  return state.reader.CopySource(*state.sources[k], state.span_start[k],
                                 state.span_length[k], out);
}

void WriteBlanks(std::size_t written, OutputStream& out) {
  for (std::size_t w = written; w < kColumnWidth; ++w) out.Put(' ');
}

// "{{" first "||" second ["||" third] "}}".
void WriteBlock(RunState& state, std::initializer_list<int> order,
                OutputStream& out) {
  out.Write(file_texts::kBlockOpen);
  bool first = true;
  for (int k : order) {
    if (!first) out.Write(file_texts::kBlockSeparator);
    first = false;
    WriteSpanText(state, k, out);
  }
  out.Write(file_texts::kBlockClose);
}

std::string LineNumber(const char* format, std::int64_t line) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long long>(line));
  return text;
}

}  // namespace

void WriteDifference(RunState& state) {
  OutputStream& diff = *state.difference;
  const bool three = state.source_count == 3;
  for (int k = 0; k < state.source_count; ++k) {
    diff.Write(LineNumber("%6lld, ", state.lines[k]));
  }
  WriteBlanks(WriteSpanText(state, 0, diff), diff);
  diff.Write(file_texts::kColumnSeparator);
  const std::size_t second = WriteSpanText(state, 1, diff);
  if (three) {
    WriteBlanks(second, diff);
    diff.Write(file_texts::kColumnSeparator);
    WriteSpanText(state, 2, diff);
  }
  diff.Put('\n');

  if (three) {
    for (int k = 0; k < 3; ++k) WriteBlock(state, {0, 1, 2}, *state.results[k]);
  } else {
    WriteBlock(state, {0, 1}, *state.results[0]);
    WriteBlock(state, {1, 0}, *state.results[1]);
  }
}

void WriteEndLine(RunState& state) {
  state.difference->Write(file_texts::kEndLine);
}

void WriteClosingLines(RunState& state) {
  const int n = state.source_count;
  for (int k = 0; k < n; ++k) {
    state.results[k]->Write(file_texts::kResultLineEnd);
    state.results[k]->Write(file_texts::kResultLineEnd);
  }
  state.difference->Write(file_texts::kDifferenceLineEnd);
  state.difference->Write(file_texts::kDifferenceLineEnd);

  for (int k = 0; k < n; ++k) {
    std::string line(file_texts::kClosingStart);
    line += state.source_names[k];
    line += file_texts::kClosingMiddle;
    line += LineNumber("%lld", state.lines[k]);
    line += state.current[k] != kEndOfSource ? file_texts::kClosingInterrupted
                                             : file_texts::kClosingEnded;
    for (int r = 0; r < n; ++r) {
      state.results[r]->Write(line);
      state.results[r]->Write(file_texts::kResultLineEnd);
    }
    state.difference->Write(line);
    state.difference->Write(file_texts::kDifferenceLineEnd);
  }
  // A growing look-ahead says how far it reached, so the user knows what a
  // larger MAX would have to beat.
  if (state.auto_window) {
    std::string line(file_texts::kClosingReachedStart);
    line += LineNumber("%lld", state.reached_window);
    line += file_texts::kClosingReachedEnd;
    for (int r = 0; r < n; ++r) {
      state.results[r]->Write(line);
      state.results[r]->Write(file_texts::kResultLineEnd);
    }
    state.difference->Write(line);
    state.difference->Write(file_texts::kDifferenceLineEnd);
  }
}

}  // namespace tessel
