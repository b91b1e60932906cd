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

namespace tessel {

// One reader per source, the run's ignored symbols, and the walk's
// shortcuts over them when the run has any.
struct UnicodeReaders {
  std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> sources;
  UnicodeSignSet signs;
  std::unique_ptr<UnicodeShortcuts> shortcuts;
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

// The closing lines (WriteClosingLines) in each file's encoding, the names
// taken from their UTF-8 form.
void WriteClosingLinesUnicode(const UnicodeReaders& readers,
                              const RunSources& sources,
                              const WalkPosition& position,
                              RunOutputs& outputs);

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODERUNSTAGES_H_
