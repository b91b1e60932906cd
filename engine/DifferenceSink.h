// The output hooks of a comparison run: what a run tells the writers of its
// reports (HTML, JSON, TEI) while it walks the sources.
//
// A run calls, in this order: BeginRun once; then, interleaved, CopyPieces
// for the stretches of a source it passes unchanged, Difference for every
// difference and, with variant tables in use, Variant for every variant, in
// the order found; then EndRun once, also when the run was stopped or
// failed. CopyPieces hands over several pieces at once; unless a sink
// overrides it, it calls CopyText for each piece in order, and what follows
// holds of those calls. For each source, the texts of its CopyText calls and
// of its spans, taken in call order, are the whole source read so far, each
// character once, as its result file holds it (which leaves out what the
// README says, and a byte-order mark): a span starts where the text before
// it ended, and the text after it starts where the span ended. So a sink
// sees every source once, as it is read, and never needs a second pass.
//
// Every text reaches a sink as UTF-8, whatever the source's encoding; a
// folded notation is its own spelling ("&x-65E0;", "[彳*&x-656B;]"),
// converted like the rest; a character that maps to nothing (a raw byte or
// unit, a lone high byte, a Big5 code the page lacks) is U+FFFD. A sink must
// not keep a string_view beyond the call that gave it. Sinks write nothing back
// to the run: each reports its own write errors through its output.

#ifndef TESSEL_ENGINE_DIFFERENCESINK_H_
#define TESSEL_ENGINE_DIFFERENCESINK_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// Index k of every per-source array is source k + 1.
constexpr int kMaxReportSources = 3;

// The difference limit of a run that has none: the largest signed 32-bit
// value, as the run's own options say.
constexpr std::int32_t kNoReportLimit = 2147483647;

// One source as the run opened it.
struct ReportSource {
  std::string name;      // the file name as the user gave it, UTF-8
  std::string encoding;  // as the run read it: "big5", "utf-8", ...
  std::int64_t byte_size = 0;
};

// What a run is about to do: its sources and its options.
struct RunDescription {
  int source_count = 2;  // 2 or 3
  std::array<ReportSource, kMaxReportSources> sources;
  std::int32_t window_size = 0;
  // The difference limit; kNoReportLimit when none was set.
  std::int32_t diff_limit = 0;
  bool fold_notations = true;
  // The ignored symbols besides the control characters (always ignored),
  // each once, as its UTF-8 text; a Big5 run lists them in the order of
  // their codes.
  std::vector<std::string> ignored_symbols;
  // The variant tables in use, each item of the run's list as given
  // ("semantic", "taboo.txt"); empty when none is, and then Variant is
  // never called.
  std::vector<std::string> variant_tables;
};

// One source's side of a difference.
struct DifferenceSpan {
  // The line the source had reached (from 1), as the difference file shows.
  std::int64_t line = 1;
  // Where the span's bytes lie in the source: exactly the bytes whose text
  // the difference file shows for it. An empty span has length 0 and
  // stands where the source's next text starts.
  std::int64_t byte_offset = 0;
  std::int64_t byte_length = 0;
  // The span's text as the difference file shows it, ignored symbols
  // between its compared characters included.
  std::string_view text;
  // The compared characters alone, concatenated, and how many there are
  // (a folded notation is one character of several code points).
  std::string_view compared;
  std::int32_t compared_count = 0;
};

// One difference as the run found it.
struct DifferenceRecord {
  std::int64_t number = 0;  // from 1, in the order found
  std::array<DifferenceSpan, kMaxReportSources> spans;
  // For each source k, the first source j <= k whose compared characters
  // the run counts as the same as k's, by its own comparison (so a note
  // and its halves swapped, or variants of one class with a table, are the
  // same); k itself when none before it is. All kSameAsUnknown when the
  // caller cannot tell: the compared texts then decide.
  static constexpr int kSameAsUnknown = -1;
  std::array<int, kMaxReportSources> same_as{kSameAsUnknown, kSameAsUnknown,
                                             kSameAsUnknown};
};

// One source's side of a variant: a compared character that differs from
// another source's but stands in one class with it.
struct VariantPlace {
  // The line the character stands on, from 1.
  std::int64_t line = 1;
  // Where the character's bytes lie in the source.
  std::int64_t byte_offset = 0;
  std::int64_t byte_length = 0;
  // The character's text as the result file holds it (a folded notation
  // is its spelling), and the Unicode character it stands for: the
  // notation's character, or 0 when the run knows none.
  std::string_view text;
  char32_t character = 0;
};

// One variant as the walk met it: a place where the sources' compared
// characters are not all the same but are all variants of one another.
// With three sources a place counts once, whichever sources differ.
struct VariantRecord {
  std::int64_t number = 0;  // from 1, in the order met
  std::array<VariantPlace, kMaxReportSources> places;
};

// How a run ended.
enum class ReportOutcome {
  kCompleted,        // every source was read to its end
  kCutOffNoAnchor,   // no common stretch within the look-ahead
  kCutOffLimit,      // the difference limit was reached
  kLeftAtSourceEnd,  // the walk left off where it met the end of a source
  kStopped,          // the user stopped it
  kFailed,           // a file could not be read or written
};

struct RunEnd {
  ReportOutcome outcome = ReportOutcome::kCompleted;
  std::int64_t difference_count = 0;
  // The line each source had reached (its line count after a completed
  // run: line feeds + 1), and whether it had been read to its end.
  std::array<std::int64_t, kMaxReportSources> lines{1, 1, 1};
  std::array<bool, kMaxReportSources> source_ended{};
  // The variants handed over (0 without variant tables).
  std::int64_t variant_count = 0;
};

// Whether a writer may copy the character `c` as it is: no report escapes
// it or uses it as a mark.
inline bool CopiesVerbatim(char32_t c) {
  return c >= 0x80 && c != 0x2028 && c != 0x2029 && c != 0xFDD0 &&
         c != 0xFDD1 && c != 0xFFFE && c != 0xFFFF;
}

// Pieces of one source's copied text, one after another in `text`: piece i
// ends at byte ends[i].end (counted from the start of `text`; the last ends
// at its end), starts where the one before ended, is never empty, and is
// ignored or not as ends[i].ignored says. Two pieces in a row may both be
// ignored or both not. A piece whose `verbatim` is set holds only
// characters that no report escapes or marks: well-formed UTF-8 of
// characters from U+0080 up, none of them U+2028, U+2029, U+FDD0, U+FDD1,
// U+FFFE or U+FFFF (CopiesVerbatim); so a writer may copy it as it is.
// Unset says nothing.
struct CopiedPiece {
  std::uint32_t end;
  bool ignored;
  bool verbatim = false;
};
struct CopiedPieces {
  std::string_view text;
  std::span<const CopiedPiece> pieces;
};

class DifferenceSink {
 public:
  virtual ~DifferenceSink() = default;

  virtual void BeginRun(const RunDescription& run) = 0;

  // Whether the sink needs the copied text of source `source` (0-based).
  // Asked once, after BeginRun. Where no sink needs it, the feed passes
  // over that text without reading it, and hands none of it over, but a
  // variant's character still comes as copied text.
  virtual bool WantsCopiedText(int /*source*/) const { return true; }

  // Text of source `source` (0-based) that the run passed without a
  // difference. `ignored` says whether its characters are ignored symbols
  // (line ends and other control characters are); a run may split a
  // stretch anywhere between characters, never inside one.
  virtual void CopyText(int source, std::string_view text, bool ignored) = 0;

  // The pieces of `copied` as CopyText calls, in order. A sink that can
  // take them together overrides it, and saves a call per piece.
  virtual void CopyPieces(int source, const CopiedPieces& copied) {
    std::uint32_t start = 0;
    for (const CopiedPiece& piece : copied.pieces) {
      CopyText(source, copied.text.substr(start, piece.end - start),
               piece.ignored);
      start = piece.end;
    }
  }

  virtual void Difference(const DifferenceRecord& record) = 0;

  // A variant. The copied text of every source reaches up to the variant's
  // characters when it is called, and each source's next CopyText starts
  // with exactly its character's text (never ignored), so a sink can mark
  // it. A sink that shows no variants need not override it.
  virtual void Variant(const VariantRecord&) {}

  // Completes the output. Nothing is called after it.
  virtual void EndRun(const RunEnd& end) = 0;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_DIFFERENCESINK_H_
