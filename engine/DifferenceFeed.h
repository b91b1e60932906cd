// Hands a run's text and differences to its DifferenceSinks (see
// DifferenceSink.h), as UTF-8.
//
// The feed reads each source a second time, through streams of its own
// that only ever move forward and follow the walk at a distance: the
// walk's streams, positions and outputs are never touched, so a run with
// sinks writes the same result and difference files as one without. A run
// without sinks makes no feed at all.
//
// A Big5 run's feed reads through the run's own TokenReader; a Unicode
// run's through a UnicodeTokenReader per source of its own, made like the
// walk's, so that every token reads as the walk read it. A byte-order mark
// is neither copied text nor part of a span: a span's offset counts it, as
// it counts every byte of the file.

#ifndef TESSEL_ENGINE_DIFFERENCEFEED_H_
#define TESSEL_ENGINE_DIFFERENCEFEED_H_

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "DifferenceSink.h"
#include "PlainBig5.h"
#include "RunOptions.h"
#include "RunState.h"
#include "RunStatus.h"
#include "SourceStream.h"
#include "TokenReader.h"
#include "UnicodeRunStages.h"
#include "VariantSink.h"

namespace tessel {

// What a run tells its sinks at the start: the sources as `options` names
// them (UTF-8) with the sizes of the opened `sources`, the options, and
// every ignored code above the control codes, in code order.
RunDescription DescribeRun(const RunOptions& options, const RunSources& sources,
                           const SignSet& signs,
                           const NotationTable& notations);

// The same for a Unicode run: each source's encoding as `encodings` says,
// and every ignored key above the control characters as its UTF-8 text,
// characters in the order of their scalar values, then notations (a raw
// character, which has no text, as U+FFFD, listed once).
RunDescription DescribeUnicodeRun(
    const RunOptions& options, const RunSources& sources,
    const std::array<Encoding, kMaxSources>& encodings,
    const UnicodeSignSet& signs, const NotationTable& notations);

// The sinks' word for how a run ended.
ReportOutcome ReportOutcomeOf(RunOutcome outcome);

class DifferenceFeed {
 public:
  // Copied text is handed over in pieces of at most about this many bytes,
  // so a sink is fed while a long agreeing stretch is still being read;
  // pieces are gathered up to about as many bytes before they are handed
  // over together.
  static constexpr std::size_t kCopyPiece = 64 * 1024;

  // `sinks` (not empty) belong to the caller; `reader` must be the run's
  // own, so that every notation reads as the walk read it, and outlive the
  // feed. `sources[k]` reads source k from its start, for the feed alone.
  DifferenceFeed(std::vector<DifferenceSink*> sinks, TokenReader& reader,
                 std::array<std::unique_ptr<SourceStream>, kMaxSources> sources,
                 int source_count);

  // A Unicode run's feed: `readers[k]` reads source k (each made for its
  // source's encoding, the feed's own), `signs` are the run's and must
  // outlive the feed. Steps over each source's byte-order mark.
  DifferenceFeed(
      std::vector<DifferenceSink*> sinks,
      std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> readers,
      const UnicodeSignSet& signs,
      std::array<std::unique_ptr<SourceStream>, kMaxSources> sources,
      int source_count);

  // How the run compares a compared code or key: two are the same where
  // `key` gives the same for both. Without it, where they are equal. Used
  // to say which sources' spans are the same (DifferenceRecord::same_as).
  void SetCompareKey(std::function<Code(Code)> key) {
    compare_key_ = std::move(key);
  }

  // Calls BeginRun on every sink.
  void Begin(const RunDescription& run);

  // Hands over each source's text up to its span, then the difference
  // `number` of `spans`, with the lines the walk had reached.
  void Difference(std::int64_t number, const WalkPosition& position,
                  const DifferenceSpans& spans);

  // Hands over each source's text up to the variant's characters, then the
  // variant, then each character as copied text of its own.
  void Variant(const VariantMet& met);

  // Hands over each source's text up to `reached[k]`, the walk's position
  // when it left off, and notes the lines and which sources had ended:
  // read to their last byte, or every one after a completed run.
  // Called once, before the walk's streams close.
  void CatchUp(const std::array<std::int64_t, kMaxSources>& reached,
               const WalkPosition& position);

  // Calls EndRun on every sink. Nothing may be called after it.
  void End(ReportOutcome outcome, std::int64_t difference_count);

 private:
  // Reads source k up to `offset`, handing it over as copied text; moves
  // straight there when no sink wants the text.
  void CopyTo(int k, std::int64_t offset);
  template <typename Tokens>
  void CopyWith(Tokens tokens, int k, std::int64_t offset);
  // Converts the plain characters at the start of `bytes` (PlainBig5.h)
  // into the copied text of source k. Returns the bytes read.
  template <bool kHighStops>
  std::size_t CopyPlainBig5(int k, std::span<const unsigned char> bytes);
  // The same for the ASCII characters other than "[", "&" and "(", and the
  // common three-byte characters (UnicodeDecoder.h), at the start of a
  // UTF-8 source's `bytes`, where its reader takes the latter inline.
  std::size_t CopyCommonUtf8(int k, std::span<const unsigned char> bytes);
  class Gatherer;
  // Makes room for `bytes` more of copied text and `pieces` more pieces.
  void MakeRoom(std::size_t bytes, std::size_t pieces);
  // Every plain Big5 character's UTF-8 length, with kPlainIgnored where
  // `signs` ignores it (plain_info_).
  static std::vector<std::uint8_t> PlainInfoTable(const SignSet& signs);
  // Ends the piece being gathered, if it holds anything; and hands the
  // pieces over once they hold kCopyPiece bytes, or with `flush`.
  void EndPiece(int k, bool flush);
  // Reads source k up to byte `end`, appending its text to `text`.
  template <typename Tokens>
  void ReadTextWith(Tokens tokens, int k, std::int64_t end, std::string& text);
  // Reads the span of source k as the result writers copy it.
  DifferenceSpan ReadSpan(int k, std::int64_t start, std::int64_t length);
  // Whether the spans just read of sources a and b are the same by the
  // run's comparison.
  bool SameSpans(int a, int b) const;
  template <typename Tokens>
  DifferenceSpan ReadSpanWith(Tokens tokens, int k, std::int64_t start,
                              std::int64_t length);

  std::vector<DifferenceSink*> sinks_;
  // The Big5 run's reader, or null in a Unicode run.
  TokenReader* reader_ = nullptr;
  // A Unicode run's readers and signs, or null in a Big5 run.
  std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> unicode_;
  const UnicodeSignSet* signs_ = nullptr;
  std::array<std::unique_ptr<SourceStream>, kMaxSources> sources_;
  int source_count_;
  // Whether some sink wants each source's copied text.
  std::array<bool, kMaxSources> wanted_{};
  // Where a Big5 run's plain text stops (PlainBig5.h).
  PlainStops plain_stops_;
  // The copied text of one source not yet handed over, its pieces, and
  // where the last one (not yet ended) starts and whether it is ignored.
  // Both are used up to copy_size_ and piece_count_; MakeRoom grows them.
  std::string copy_;
  std::size_t copy_size_ = 0;
  std::vector<CopiedPiece> pieces_;
  std::size_t piece_count_ = 0;
  // One token's text, read the long way.
  std::string token_text_;
  std::size_t piece_start_ = 0;
  bool copy_ignored_ = false;
  bool copy_verbatim_ = true;
  // A Big5 run's plain characters (PlainBig5.h), indexed by code: the
  // length of the UTF-8, and kPlainIgnored where the run ignores the
  // character. A byte a code, apart from the UTF-8 itself, so that the
  // part of the table the text uses stays in the processor's first cache:
  // where the next character goes waits on this look-up alone.
  static constexpr std::uint8_t kPlainIgnored = 0x80;
  static constexpr std::uint8_t kPlainLengthMask = 0x7F;
  std::vector<std::uint8_t> plain_info_;
  // One difference's texts, per source: the whole span, its compared
  // characters; and the codes or keys of those characters.
  std::array<std::string, kMaxSources> span_text_, span_compared_;
  std::array<std::vector<Code>, kMaxSources> span_codes_;
  std::function<Code(Code)> compare_key_;
  // One variant's character texts, per source.
  std::array<std::string, kMaxSources> variant_text_;
  RunEnd end_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_DIFFERENCEFEED_H_
