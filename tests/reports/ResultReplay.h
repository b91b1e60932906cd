// Rebuilds, from the result files of a completed Big5 run, the calls a run
// makes on its report sinks, so the writers can be tried on real editions
// before the run hands them over itself.
//
// Each result file is its source with every difference inline, so the
// text outside the blocks is what the run copied and the file's own part
// of each block is its span. Blocks are found character by character in
// Big5, so a character whose second byte is "|" or "}" never ends one.
// Ignored characters are told by the same sign set and token reader as the
// run's; texts are converted to UTF-8 by iconv (code page 950). Offsets
// count the result file's bytes, which equal the source's but where the
// README says result files differ from their sources.

#ifndef TESSEL_TESTS_REPORTS_RESULTREPLAY_H_
#define TESSEL_TESTS_REPORTS_RESULTREPLAY_H_

#include <string>
#include <vector>

#include "DifferenceSink.h"
#include "TokenReader.h"

namespace tessel::testing {

// Replays the run whose result files hold `results` (one per source, in
// source order) to `sink`, with `description` as its start. Returns an
// empty string, or what is wrong with the files.
std::string ReplayResults(const std::vector<std::string>& results,
                          TokenReader& reader,
                          const RunDescription& description,
                          DifferenceSink& sink);

// `bytes` of Big5 as UTF-8, read with `reader` as a run reads it.
std::string Big5TextToUtf8(const std::string& bytes, TokenReader& reader);

}  // namespace tessel::testing

#endif  // TESSEL_TESTS_REPORTS_RESULTREPLAY_H_
