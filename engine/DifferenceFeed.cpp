#include "DifferenceFeed.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <unordered_set>
#include <utility>

#include "Big5Utf8.h"
#include "UnicodeEncoder.h"

namespace tessel {

namespace {

// Plain Big5 text is converted this many bytes at a time.
constexpr std::size_t kPlainPeek = 4096;
// One token at a time through a Big5 run's reader.
class Big5Tokens {
 public:
  explicit Big5Tokens(TokenReader& reader)
      : reader_(reader), utf8_(CodeUtf8Table()) {}
  Code Read(SourceStream& src) { return code_ = reader_.ReadToken(src); }
  bool Ignored() const { return reader_.IsIgnored(code_); }
  void AppendText(std::string& out) const {
    const CodeUtf8& character = utf8_[code_];
    if (character.length != CodeUtf8::kNotACharacterCode) {
      out.append(character.bytes, character.length);
    } else if (code_ == kIgnoredStretch || reader_.IsNoteCode(code_)) {
      // A stretch or a note has no stored text of its own: the reader keeps
      // the bytes it read last.
      AppendReadBig5AsUtf8(reader_.LastSpecialText(code_), out);
    } else {
      AppendCodeAsUtf8(code_, reader_.notations(), out);
    }
  }

 private:
  TokenReader& reader_;
  const std::array<CodeUtf8, kCodeLimit>& utf8_;
  Code code_ = kEndOfSource;
};

// One token at a time through a Unicode run's reader of one source.
class UnicodeTokens {
 public:
  UnicodeTokens(UnicodeTokenReader& reader, const UnicodeSignSet& signs)
      : reader_(reader), signs_(signs) {}
  Key Read(SourceStream& src) { return key_ = reader_.ReadKey(src); }
  bool Ignored() const { return signs_.IsIgnored(key_); }
  void AppendText(std::string& out) const { reader_.AppendLastUtf8(out); }

 private:
  UnicodeTokenReader& reader_;
  const UnicodeSignSet& signs_;
  Key key_ = kEndOfSource;
};

// A run's ignored symbols as a report lists them: each text once, though
// several codes or keys read alike (every one the page lacks, and every
// raw character, is U+FFFD).
class IgnoredSymbolList {
 public:
  explicit IgnoredSymbolList(RunDescription& run) : run_(run) {}
  void Add(std::string text) {
    if (text.empty() || !listed_.insert(text).second) return;
    run_.ignored_symbols.push_back(std::move(text));
  }

 private:
  RunDescription& run_;
  std::unordered_set<std::string> listed_;
};

void DescribeSources(const RunOptions& options, const RunSources& sources,
                     const std::array<Encoding, kMaxSources>& encodings,
                     RunDescription& run) {
  run.source_count = sources.count;
  for (int k = 0; k < sources.count; ++k) {
    const std::u8string name = options.sources[k].u8string();
    run.sources[k].name.assign(name.begin(), name.end());
    run.sources[k].encoding = EncodingName(encodings[k]);
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
}

}  // namespace

RunDescription DescribeRun(const RunOptions& options, const RunSources& sources,
                           const SignSet& signs,
                           const NotationTable& notations) {
  RunDescription run;
  DescribeSources(options, sources, {}, run);
  IgnoredSymbolList list(run);
  for (Code code = kLastControl + 1; code < kCodeLimit; ++code) {
    if (!signs.IsIgnored(code)) continue;
    std::string text;
    AppendCodeAsUtf8(code, notations, text);
    list.Add(std::move(text));
  }
  return run;
}

RunDescription DescribeUnicodeRun(
    const RunOptions& options, const RunSources& sources,
    const std::array<Encoding, kMaxSources>& encodings,
    const UnicodeSignSet& signs, const NotationTable& notations) {
  RunDescription run;
  DescribeSources(options, sources, encodings, run);
  IgnoredSymbolList list(run);
  for (const Key key : signs.Keys()) {
    // A stretch is no symbol: the options name its openers and closers.
    if (key <= kLastControlKey || key == kIgnoredStretchKey) continue;
    char buffer[kMaxEncodedLength];
    if (key < kCharacterKeyLimit) {
      list.Add({buffer, EncodeUtf8(key - kCharacterKeyBase, buffer)});
    } else if (key >= kNotationKeyBase) {
      list.Add(notations.TextAt(key - kNotationKeyBase));
    } else {
      // A raw character has no text of its own.
      list.Add({buffer, EncodeUtf8(kReplacementCharacter, buffer)});
    }
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
      reader_(&reader),
      sources_(std::move(sources)),
      source_count_(source_count),
      plain_stops_(PlainStopsOf(reader)),
      plain_info_(PlainInfoTable(reader.signs())) {
  MakeRoom(2 * kCopyPiece, kCopyPiece);
}

DifferenceFeed::DifferenceFeed(
    std::vector<DifferenceSink*> sinks,
    std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> readers,
    const UnicodeSignSet& signs,
    std::array<std::unique_ptr<SourceStream>, kMaxSources> sources,
    int source_count)
    : sinks_(std::move(sinks)),
      unicode_(std::move(readers)),
      signs_(&signs),
      sources_(std::move(sources)),
      source_count_(source_count) {
  MakeRoom(2 * kCopyPiece, kCopyPiece);
  for (int k = 0; k < source_count_; ++k) {
    SourceStream& src = *sources_[k];
    src.Skip(ByteOrderMarkLength(unicode_[k]->encoding(), src.Peek(3)));
  }
}

void DifferenceFeed::Begin(const RunDescription& run) {
  for (DifferenceSink* sink : sinks_) sink->BeginRun(run);
  for (int k = 0; k < source_count_; ++k) {
    for (const DifferenceSink* sink : sinks_) {
      wanted_[k] = wanted_[k] || sink->WantsCopiedText(k);
    }
  }
}

void DifferenceFeed::EndPiece(int k, bool flush) {
  if (copy_size_ > piece_start_) {
    MakeRoom(0, 1);
    pieces_[piece_count_++] = {static_cast<std::uint32_t>(copy_size_),
                               copy_ignored_, copy_verbatim_};
    piece_start_ = copy_size_;
  }
  copy_verbatim_ = true;
  if (piece_count_ == 0 || (!flush && copy_size_ < kCopyPiece)) return;
  const CopiedPieces copied{std::string_view(copy_.data(), copy_size_),
                            std::span(pieces_.data(), piece_count_)};
  for (DifferenceSink* sink : sinks_) sink->CopyPieces(k, copied);
  copy_size_ = 0;
  piece_count_ = 0;
  piece_start_ = 0;
}

void DifferenceFeed::CopyTo(int k, std::int64_t offset) {
  if (!wanted_[k]) {
    // The walk hands over places at character boundaries, so the next
    // span reads as it would after reading up to it.
    if (sources_[k]->Tell() < offset) sources_[k]->Seek(offset);
    return;
  }
  if (reader_ != nullptr) {
    CopyWith(Big5Tokens(*reader_), k, offset);
  } else {
    CopyWith(UnicodeTokens(*unicode_[k], *signs_), k, offset);
  }
}

template <typename Tokens>
void DifferenceFeed::CopyWith(Tokens tokens, int k, std::int64_t offset) {
  SourceStream& src = *sources_[k];
  while (src.Tell() < offset) {
    if (reader_ != nullptr || unicode_[k]->reads_common_inline()) {
      const std::span<const unsigned char> ahead = src.Peek(kPlainPeek);
      const std::span<const unsigned char> room =
          ahead.first(static_cast<std::size_t>(std::min<std::int64_t>(
              offset - src.Tell(), static_cast<std::int64_t>(ahead.size()))));
      if (reader_ == nullptr) {
        src.Skip(CopyCommonUtf8(k, room));
      } else {
        src.Skip(plain_stops_.high ? CopyPlainBig5<true>(k, room)
                                   : CopyPlainBig5<false>(k, room));
      }
      if (src.Tell() >= offset) break;
    }
    const std::int64_t before = src.Tell();
    const Code code = tokens.Read(src);
    // A 0x1A, or a high byte the source ends after, reads as the end and
    // is written nowhere; only the true end leaves the position where it
    // was.
    if (code == kEndOfSource) {
      if (src.Tell() == before) break;
      continue;
    }
    const bool ignored = tokens.Ignored();
    if (ignored != copy_ignored_ || copy_size_ - piece_start_ >= kCopyPiece) {
      EndPiece(k, false);
      copy_ignored_ = ignored;
    }
    copy_verbatim_ = false;
    token_text_.clear();
    tokens.AppendText(token_text_);
    MakeRoom(token_text_.size(), 0);
    std::memcpy(copy_.data() + copy_size_, token_text_.data(),
                token_text_.size());
    copy_size_ += token_text_.size();
  }
  EndPiece(k, true);
}

// The same reading as TokenReader::CopySource, which writes the span to
// the result and difference files.
DifferenceSpan DifferenceFeed::ReadSpan(int k, std::int64_t start,
                                        std::int64_t length) {
  if (reader_ != nullptr) {
    return ReadSpanWith(Big5Tokens(*reader_), k, start, length);
  }
  return ReadSpanWith(UnicodeTokens(*unicode_[k], *signs_), k, start, length);
}

template <typename Tokens>
DifferenceSpan DifferenceFeed::ReadSpanWith(Tokens tokens, int k,
                                            std::int64_t start,
                                            std::int64_t length) {
  SourceStream& src = *sources_[k];
  std::string& text = span_text_[k];
  std::string& compared = span_compared_[k];
  std::vector<Code>& codes = span_codes_[k];
  text.clear();
  compared.clear();
  codes.clear();
  DifferenceSpan span;
  span.byte_offset = start;
  std::int64_t counted = 0;
  // A 0x1A, or a high byte the source ends with, is read as the end and
  // shown nowhere: it is not part of the span's bytes.
  std::int64_t end = src.Tell();
  while (counted < length) {
    const Code code = tokens.Read(src);
    if (code == kEndOfSource) break;
    if (!tokens.Ignored()) {
      counted += 2;
      ++span.compared_count;
      tokens.AppendText(compared);
      codes.push_back(code);
    }
    tokens.AppendText(text);
    end = src.Tell();
  }
  span.byte_length = end - start;
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
  for (int k = 0; k < source_count_; ++k) {
    record.same_as[k] = k;
    for (int j = 0; j < k; ++j) {
      if (SameSpans(j, k)) {
        record.same_as[k] = j;
        break;
      }
    }
  }
  for (DifferenceSink* sink : sinks_) sink->Difference(record);
}

bool DifferenceFeed::SameSpans(int a, int b) const {
  const std::vector<Code>& x = span_codes_[a];
  const std::vector<Code>& y = span_codes_[b];
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (x[i] != y[i] &&
        (!compare_key_ || compare_key_(x[i]) != compare_key_(y[i]))) {
      return false;
    }
  }
  return true;
}

template <typename Tokens>
void DifferenceFeed::ReadTextWith(Tokens tokens, int k, std::int64_t end,
                                  std::string& text) {
  SourceStream& src = *sources_[k];
  while (src.Tell() < end) {
    if (tokens.Read(src) == kEndOfSource) break;
    tokens.AppendText(text);
  }
}

void DifferenceFeed::Variant(const VariantMet& met) {
  VariantRecord record;
  record.number = ++end_.variant_count;
  for (int k = 0; k < source_count_; ++k) {
    CopyTo(k, met.offsets[k]);
    // The character is read here rather than by the next CopyTo, so that
    // the sinks hear of the variant before its text.
    std::string& text = variant_text_[k];
    text.clear();
    const std::int64_t end = met.offsets[k] + met.lengths[k];
    if (reader_ != nullptr) {
      ReadTextWith(Big5Tokens(*reader_), k, end, text);
    } else {
      ReadTextWith(UnicodeTokens(*unicode_[k], *signs_), k, end, text);
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
