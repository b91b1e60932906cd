// The writers of the result files and the difference file.
//
// A result file is its own source with every difference written inline as
// "{{" a "||" b "}}" (three sources: "{{" 1 "||" 2 "||" 3 "}}" in every
// file; two sources: the file's own text first). The difference file gets
// one line per difference: the line numbers, then the span texts in
// columns of at least 31 bytes.

#ifndef TESSEL_ENGINE_RESULTWRITERS_H_
#define TESSEL_ENGINE_RESULTWRITERS_H_

#include <cstddef>
#include <cstdint>

#include "RunState.h"
#include "TokenReader.h"

namespace tessel {

// Span texts shorter than this are filled with blanks in the difference
// file, so the columns line up.
constexpr std::size_t kColumnWidth = 31;

// Writes the difference of `spans`: its line (with the lines reached) to
// the difference file, then its block to each result file. Every span text
// is read afresh from its source through `reader`; afterwards each source
// stands right after its span.
void WriteDifference(TokenReader& reader, RunSources& sources,
                     const WalkPosition& position, const DifferenceSpans& spans,
                     RunOutputs& outputs);

// Writes the end line of a completed run to the difference file.
void WriteEndLine(RunOutputs& outputs);

// Writes the closing lines of a cut-off run: a blank line, then for each
// source whether it was interrupted (current code not 0) or had ended, with
// its name and the line reached, and with the growing look-ahead a line
// with the widest look-ahead used; to every result file and the difference
// file.
void WriteClosingLines(const RunSources& sources, const WalkPosition& position,
                       const LookAhead& look_ahead, RunOutputs& outputs);

// Writes the variant count line of a run with variant tables to the
// difference file, after its end line or closing lines.
void WriteVariantCount(std::int64_t count, RunOutputs& outputs);

}  // namespace tessel

#endif  // TESSEL_ENGINE_RESULTWRITERS_H_
