// Nothing lost: a result file, with every block "{{" a "||" b ["||" c] "}}"
// replaced by its own source's text, gives back that source.
//
// "Its own text" is the first of a block with two sources (each result
// file shows its own source first) and the i-th with three. What comes
// back is the source as the token reader sees it: a notation in the form
// the table stored, no NUL after a high byte, no 0x1A, no lone high byte at
// the very end. A 0x1A ends nothing while another source still has text;
// where every source stood at an end at once the run completed, so a
// result may stop at a 0x1A. A run cut off gives a prefix, then exactly
// the closing lines; a stopped run gives a prefix.
//
// The checks here also hold every character code to its range and to the
// bytes it stands for. They use no test framework, so the fuzz targets
// share them. Each returns an empty string when all is well, otherwise
// what went wrong.

#ifndef TESSEL_TESTS_ROUNDTRIP_H_
#define TESSEL_TESTS_ROUNDTRIP_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CharCodes.h"
#include "NotationTable.h"
#include "TokenReader.h"

namespace tessel::testing {

// Whether `code` is one the reader may yield: 0, 256..511, a notation code
// 552..32751 with a low byte of 40..239, or 32769..65535.
std::string CheckCodeRange(Code code);

// Checks one ReadToken of `code` that moved a source over `bytes` from
// `before` to `after`: the code is in range, stepping back by its length
// returns to `before`, and the code stands for exactly those bytes (a
// notation up to the case of its letters).
std::string CheckToken(std::string_view bytes, std::int64_t before,
                       std::int64_t after, Code code,
                       const TokenReader& reader);

// A source as the token reader gives it back: the text of every code in
// order, and where a 0x1A stood (offsets into `text`).
struct SourceText {
  std::string text;
  std::vector<std::size_t> marks;
  std::string error;  // a token that broke CheckToken
};

// Reads `source` from start to end with a reader of its own over
// `notations` (the run's table, after the run).
SourceText ReadSourceText(std::string_view source, bool fold,
                          NotationTable& notations);

// Replaces every block of `result` by its text number `own` (0-based) of
// `count`. Returns "" and sets `*text` (and, if given, `*owns` to those
// texts, a block each), or says what is malformed.
std::string ReplaceBlocks(std::string_view result, int own, int count,
                          std::string* text,
                          std::vector<std::string>* owns = nullptr);

// How a run ended, as far as its result files tell.
enum class RunEnd {
  kCompleted,  // every source at an end at once
  kCutOff,     // closing lines follow
  kUnfinished  // stopped, or left at an end-of-file indicator
};

struct RoundTripCase {
  std::string_view source;  // the bytes of source `own`
  std::string_view result;  // its result file
  int own = 0;
  int count = 2;
  bool fold = true;
  RunEnd end = RunEnd::kCompleted;
  // The source names the closing lines carry (only read after a cut-off).
  std::vector<std::string> names;
  // The closing lines end with the look-ahead reached (--window auto).
  bool reached_line = false;
};

std::string CheckRoundTrip(const RoundTripCase& c, NotationTable& notations);

}  // namespace tessel::testing

#endif  // TESSEL_TESTS_ROUNDTRIP_H_
