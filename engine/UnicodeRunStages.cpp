#include "UnicodeRunStages.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "DisplayWidth.h"
#include "FileTexts.h"
#include "LookAheadSearch.h"
#include "ResultWriters.h"
#include "UnicodeText.h"

namespace tessel {

namespace {

Encoding EncodingOf(const UnicodeReaders& readers, int k) {
  return readers.sources[k]->encoding();
}

// A fixed text of FileTexts.h (Big5 bytes) in `encoding`.
std::string FixedText(std::string_view big5, Encoding encoding) {
  return ConvertText(big5, Encoding::kBig5, encoding);
}

std::string LineNumber(const char* format, std::int64_t line) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long long>(line));
  return text;
}

void WriteBlock(UnicodeReaders& readers, RunSources& sources,
                const DifferenceSpans& spans, std::span<const int> order,
                OutputStream& out, Encoding encoding) {
  out.Write(FixedText(file_texts::kBlockOpen, encoding));
  bool first = true;
  for (int k : order) {
    if (!first) out.Write(FixedText(file_texts::kBlockSeparator, encoding));
    first = false;
    readers.sources[k]->CopySpan(*sources.streams[k], spans.start[k],
                                 spans.length[k], readers.signs, out, encoding);
  }
  out.Write(FixedText(file_texts::kBlockClose, encoding));
}

}  // namespace

Key AdvanceUnicode(UnicodeTokenReader& reader, const UnicodeSignSet& signs,
                   SourceStream& src, OutputStream& out, std::int64_t& lines) {
  for (;;) {
    const Key key = reader.ReadKey(src);
    if (!signs.IsIgnored(key)) return key;
    if (key == kEndOfSource) return key;
    if (reader.LastIsLineFeed()) ++lines;
    reader.WriteLast(out, reader.encoding());
  }
}

bool FindResyncUnicode(UnicodeReaders& readers, RunSources& sources,
                       WalkPosition& position, LookAhead& look_ahead,
                       DifferenceSpans& spans) {
  const int n = sources.count;
  std::array<SourceStream*, kMaxSources> streams{};
  for (int k = 0; k < n; ++k) {
    SourceStream& src = *sources.streams[k];
    streams[k] = &src;
    if (position.current[k] != kEndOfSource) {
      src.SeekRelative(-readers.sources[k]->LastLength());
    }
    spans.start[k] = src.Tell();
    look_ahead.wide_kept.Start(k, spans.start[k]);
  }
  UnicodeSlotReader slot_reader(readers);
  return SearchLookAhead(
      look_ahead.wide_kept, slot_reader, streams, n, look_ahead, position,
      spans, [](int, const SlotFrame&, std::span<const std::uint32_t> keys) {
        // The slots hold each character's compare key already.
        return keys;
      });
}

void WriteDifferenceUnicode(UnicodeReaders& readers, RunSources& sources,
                            const WalkPosition& position,
                            const DifferenceSpans& spans, RunOutputs& outputs) {
  OutputStream& diff = *outputs.difference;
  const bool three = sources.count == 3;
  const auto write_column = [&](int k) {
    return readers.sources[k]->CopySpan(*sources.streams[k], spans.start[k],
                                        spans.length[k], readers.signs, diff,
                                        Encoding::kUtf8);
  };
  const auto pad = [&](std::size_t columns) {
    for (std::size_t b = PaddingBlanks(columns, kColumnWidth); b > 0; --b) {
      diff.Put(' ');
    }
  };
  for (int k = 0; k < sources.count; ++k) {
    diff.Write(LineNumber("%6lld, ", position.lines[k]));
  }
  pad(write_column(0));
  diff.Write(file_texts::kColumnSeparator);
  const std::size_t second = write_column(1);
  if (three) {
    pad(second);
    diff.Write(file_texts::kColumnSeparator);
    write_column(2);
  }
  diff.Put('\n');

  // Three sources: 1, 2, 3 in every file; two: the file's own text first.
  static constexpr std::array<int, 3> kAll{0, 1, 2};
  static constexpr std::array<int, 2> kSecondFirst{1, 0};
  for (int k = 0; k < sources.count; ++k) {
    const std::span<const int> order =
        three ? std::span<const int>(kAll)
              : (k == 0 ? std::span<const int>(kAll).first(2)
                        : std::span<const int>(kSecondFirst));
    WriteBlock(readers, sources, spans, order, *outputs.results[k],
               EncodingOf(readers, k));
  }
}

void CopyByteOrderMarks(const UnicodeReaders& readers, RunSources& sources,
                        RunOutputs& outputs) {
  for (int k = 0; k < sources.count; ++k) {
    SourceStream& src = *sources.streams[k];
    const std::span<const unsigned char> head = src.Peek(3);
    const std::size_t mark = ByteOrderMarkLength(EncodingOf(readers, k), head);
    outputs.results[k]->Write(
        {reinterpret_cast<const char*>(head.data()), mark});
    src.Skip(mark);
  }
}

void WriteEndLineUnicode(RunOutputs& outputs) {
  outputs.difference->Write(FixedText(file_texts::kEndLine, Encoding::kUtf8));
}

void WriteVariantCountUnicode(std::int64_t count, RunOutputs& outputs) {
  std::string line(file_texts::kVariantCountStart);
  line += LineNumber("%lld", count);
  line += file_texts::kVariantCountEnd;
  line += file_texts::kDifferenceLineEnd;
  outputs.difference->Write(FixedText(line, Encoding::kUtf8));
}

void WriteClosingLinesUnicode(const UnicodeReaders& readers,
                              const RunSources& sources,
                              const WalkPosition& position,
                              const LookAhead& look_ahead,
                              RunOutputs& outputs) {
  const int n = sources.count;
  std::array<Encoding, kMaxSources + 1> encodings{};
  std::array<OutputStream*, kMaxSources + 1> files{};
  for (int k = 0; k < n; ++k) {
    encodings[k] = EncodingOf(readers, k);
    files[k] = outputs.results[k].get();
  }
  // The difference file last, in UTF-8, with its own line end.
  encodings[n] = Encoding::kUtf8;
  files[n] = outputs.difference.get();
  const auto line_end = [&](int f) {
    return f == n ? FixedText(file_texts::kDifferenceLineEnd, encodings[f])
                  : FixedText(file_texts::kResultLineEnd, encodings[f]);
  };
  for (int f = 0; f <= n; ++f) {
    files[f]->Write(line_end(f));
    files[f]->Write(line_end(f));
  }
  for (int k = 0; k < n; ++k) {
    const std::u32string name =
        DecodeText(sources.utf8_names[k], Encoding::kUtf8);
    const std::string_view state = position.current[k] != kEndOfSource
                                       ? file_texts::kClosingInterrupted
                                       : file_texts::kClosingEnded;
    const std::string line_number = LineNumber("%lld", position.lines[k]);
    for (int f = 0; f <= n; ++f) {
      std::string line = FixedText(file_texts::kClosingStart, encodings[f]);
      line += EncodeText(name, encodings[f]);
      line += FixedText(file_texts::kClosingMiddle, encodings[f]);
      line += FixedText(line_number, encodings[f]);
      line += FixedText(state, encodings[f]);
      line += line_end(f);
      files[f]->Write(line);
    }
  }
  // A growing look-ahead says how far it reached, as in a Big5 run.
  if (look_ahead.auto_window) {
    const std::string reached = LineNumber("%lld", look_ahead.reached_window);
    for (int f = 0; f <= n; ++f) {
      std::string line =
          FixedText(file_texts::kClosingReachedStart, encodings[f]);
      line += FixedText(reached, encodings[f]);
      line += FixedText(file_texts::kClosingReachedEnd, encodings[f]);
      line += line_end(f);
      files[f]->Write(line);
    }
  }
}

}  // namespace tessel
