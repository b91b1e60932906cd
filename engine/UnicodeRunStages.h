// The stages of a Unicode run that differ from a Big5 run's: reading past
// ignored keys, the resynchronisation's look-ahead, and the writers, which
// write every text in its file's encoding. The walk itself and the anchor
// search are shared with Big5 runs (ComparisonRun, Resync).

#ifndef TESSEL_ENGINE_UNICODERUNSTAGES_H_
#define TESSEL_ENGINE_UNICODERUNSTAGES_H_

#include <array>
#include <cstdint>
#include <memory>

#include "RunState.h"
#include "UnicodeSharedStretch.h"
#include "UnicodeSignSet.h"
#include "UnicodeTokenReader.h"
#include "VariantTable.h"

namespace tessel {

// One reader per source, the run's ignored symbols, its variant table when
// it has one, and the walk's shortcuts over them when the run has any.
struct UnicodeReaders {
  std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> sources;
  UnicodeSignSet signs;
  // The notes met, for every source alike, with unordered notes on.
  NoteTable notes{NoteTable::kUnicodeCapacity};
  const VariantTable* variants = nullptr;
  std::unique_ptr<UnicodeShortcuts> shortcuts;

  // The key `key` of a compared character is compared by.
  Key CompareKey(Key key) const {
    return variants == nullptr ? key : VariantKey(*variants, key);
  }
};

// Reads the slots of a Unicode run's look-ahead (LookAheadSlots.h): each
// source through its own reader, past the run's ignored symbols. Inline: it
// runs once per slot.
class UnicodeSlotReader {
 public:
  explicit UnicodeSlotReader(UnicodeReaders& readers) : readers_(readers) {}

  Key Read(int k, SourceStream& src, std::int64_t& start, std::int64_t& feeds) {
    UnicodeTokenReader& reader = *readers_.sources[k];
    const UnicodeSignSet& signs = readers_.signs;
    Key key;
    for (;;) {
      start = src.Tell();
      key = reader.ReadKey(src);
      if (!signs.IsIgnored(key)) break;
      if (key == kEndOfSource) break;
      if (reader.LastIsLineFeed()) ++feeds;
    }
    // The search sees variants as one character.
    return readers_.CompareKey(key);
  }

  // A UTF source has no 0x1A that ends it: a 0 is its end.
  bool Ended(int k, const SourceStream& src) const {
    return readers_.sources[k]->encoding() != Encoding::kBig5 || src.Eof() ||
           src.Error();
  }

 private:
  UnicodeReaders& readers_;
};

// Reads keys from `src` until one is compared or the source has ended,
// writing the ignored ones to `out` (in the source's encoding) and counting
// the source's line feeds. Returns the key that ended the advance.
Key AdvanceUnicode(UnicodeTokenReader& reader, const UnicodeSignSet& signs,
                   SourceStream& src, OutputStream& out, std::int64_t& lines);

// FindResync (Resync.h) for a Unicode run.
bool FindResyncUnicode(UnicodeReaders& readers, RunSources& sources,
                       WalkPosition& position, LookAhead& look_ahead,
                       DifferenceSpans& spans);

// WriteDifference (ResultWriters.h) for a Unicode run: each result file in
// its source's encoding, the difference file in UTF-8 with its columns
// padded to kColumnWidth display columns.
void WriteDifferenceUnicode(UnicodeReaders& readers, RunSources& sources,
                            const WalkPosition& position,
                            const DifferenceSpans& spans, RunOutputs& outputs);

// Copies a byte-order mark at the start of each UTF source to its result
// file, and leaves the source after it.
void CopyByteOrderMarks(const UnicodeReaders& readers, RunSources& sources,
                        RunOutputs& outputs);

// The end line, in UTF-8.
void WriteEndLineUnicode(RunOutputs& outputs);

// The variant count line (WriteVariantCount), in UTF-8.
void WriteVariantCountUnicode(std::int64_t count, RunOutputs& outputs);

// The closing lines (WriteClosingLines) in each file's encoding, the names
// taken from their UTF-8 form; with the growing look-ahead, the line of the
// widest look-ahead used last.
void WriteClosingLinesUnicode(const UnicodeReaders& readers,
                              const RunSources& sources,
                              const WalkPosition& position,
                              const LookAhead& look_ahead, RunOutputs& outputs);

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODERUNSTAGES_H_
