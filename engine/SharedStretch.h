// Shortcuts of the lockstep walk. Where the sources agree, each pass writes
// every byte it reads to its source's result file unchanged (as long as no
// notation, ignored stretch, note, 0x1A or swallowed NUL is met): a stretch of
// such passes can be found straight in the sources' buffers and copied whole,
// which gives the same files in a fraction of the time.

#ifndef TESSEL_ENGINE_SHAREDSTRETCH_H_
#define TESSEL_ENGINE_SHAREDSTRETCH_H_

#include <cstddef>
#include <cstdint>
#include <span>

#include "RunState.h"
#include "TokenReader.h"

namespace tessel {

// The length of the longest prefix of `bytes` that reads as whole
// characters which the walk would copy unchanged: it stops before a 0x1A, a
// notation opener when `fold` is on, a high byte followed by a NUL or a
// 0x1A, and a character whose bytes do not all lie in `bytes`. Adds the line
// feeds in that prefix to
// `*line_feeds`.
std::size_t PlainPrefix(std::span<const unsigned char> bytes, bool fold,
                        std::int64_t* line_feeds);

// If every source continues with the same bytes, copies the longest plain
// stretch of them (which also stops before every byte that may begin one of
// the reader's ignored stretches or notes, a lead byte included) to every
// result file, moves every source past it and counts its lines in `position`.
// Returns the number of bytes copied from each source, or 0 when they do not
// continue with a plain stretch long enough to be worth it.
std::size_t CopySharedStretch(const TokenReader& reader, RunSources& sources,
                              RunOutputs& outputs, WalkPosition& position);

// Walks every source straight over its buffer as the lockstep walk would, as
// long as the compared characters agree and every character is one that the
// walk copies unchanged (no notation opener when folding, no 0x1A, no high byte
// before a NUL, no byte that may begin a stretch or a note), and copies what it
// passed, ignored characters included, to each result file. Stops after the
// last compared character on which all agree, and counts the lines passed in
// `position`. Returns the number of such characters.
std::size_t CopyAgreeingStretch(const TokenReader& reader, RunSources& sources,
                                RunOutputs& outputs, WalkPosition& position);

}  // namespace tessel

#endif  // TESSEL_ENGINE_SHAREDSTRETCH_H_
