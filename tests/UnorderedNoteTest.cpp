// Whole runs with unordered notes: a note "(A/B)" is one compared unit that
// equals "(B/A)", while every result keeps its source's own text. Each case
// runs as a Big5 run and as a Unicode run over the same text (read as Big5,
// as UTF-8 and as UTF-16LE), in the slow walk and in fast mode; all must
// agree.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ComparisonRun.h"
#include "TestSupport.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

struct NoteCase {
  const char* name;
  std::vector<std::string> sources;
  std::vector<std::string> results;
  int differences;
  std::vector<std::pair<std::string, std::string>> stretches = {};
  std::string signs = {};
};

enum class Reading { kBig5Run, kUnicodeRunOfBig5, kUtf8, kUtf16 };

// The cases' text is ASCII, the same bytes in Big5 and UTF-8.
std::string Stored(const std::string& text, Reading reading) {
  return reading == Reading::kUtf16
             ? ConvertText(text, Encoding::kUtf8, Encoding::kUtf16Le)
             : text;
}

class UnorderedNoteTest : public ::testing::TestWithParam<NoteCase> {
 protected:
  RunStatus Run(Reading reading, bool fast) {
    const NoteCase& c = GetParam();
    RunOptions& o = host_.options;
    o = RunOptions{};
    o.three_files = c.sources.size() == 3;
    for (std::size_t k = 0; k < c.sources.size(); ++k) {
      const auto name = std::to_string(k);
      WriteFile(dir_ / ("s" + name), Stored(c.sources[k], reading));
      o.sources[k] = dir_ / ("s" + name);
      o.results[k] = dir_ / ("r" + name);
      o.encodings[k] = reading == Reading::kUtf8    ? EncodingChoice::kUtf8
                       : reading == Reading::kUtf16 ? EncodingChoice::kUtf16Le
                                                    : EncodingChoice::kBig5;
    }
    o.unicode = reading == Reading::kUnicodeRunOfBig5;
    o.difference = dir_ / "d";
    o.notes_unordered = true;
    o.ignore_between = c.stretches;
    o.use_sign_memo = !c.signs.empty();
    o.sign_memo = c.signs;
    host_.fast = fast;
    ComparisonRun run(host_, notations_);
    return run.RunComparison(o);
  }

  TempDir dir_;
  NotationTable notations_;
  RecordingHost host_;
};

TEST_P(UnorderedNoteTest, ComparesNotesAsUnorderedUnits) {
  const NoteCase& c = GetParam();
  for (const Reading reading : {Reading::kBig5Run, Reading::kUnicodeRunOfBig5,
                                Reading::kUtf8, Reading::kUtf16}) {
    for (const bool fast : {false, true}) {
      std::string run = c.name;
      run.append(" reading ").append(std::to_string(static_cast<int>(reading)));
      run.append(fast ? " fast" : " slow");
      const RunStatus status = Run(reading, fast);
      ASSERT_EQ(status.outcome, RunOutcome::kCompleted) << run;
      for (std::size_t k = 0; k < c.sources.size(); ++k) {
        EXPECT_EQ(BytesText(ReadFile(host_.options.results[k])),
                  BytesText(Stored(c.results[k], reading)))
            << run << " result " << k + 1;
      }
      EXPECT_EQ(status.diff_count, c.differences) << run;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnorderedNoteTest,
    ::testing::Values(
        NoteCase{"HalvesInEitherOrderAgree",
                 {"AB(xy/z)CDEFGH", "AB(z/xy)CDEFGH"},
                 {"AB(xy/z)CDEFGH", "AB(z/xy)CDEFGH"},
                 0},
        // One character apart, the notes differ as wholes.
        NoteCase{"DifferenceInsideIsTheWholeNote",
                 {"AB(xy/z)CDEFGH", "AB(xw/z)CDEFGH"},
                 {"AB{{(xy/z)||(xw/z)}}CDEFGH", "AB{{(xw/z)||(xy/z)}}CDEFGH"},
                 1},
        NoteCase{"NoteInOneEditionOnly",
                 {"AB(x/y)CDEFGH", "ABCDEFGH"},
                 {"AB{{(x/y)||}}CDEFGH", "AB{{||(x/y)}}CDEFGH"},
                 1},
        NoteCase{"IgnoredSymbolsInsideAreLeftOut",
                 {"AB(x\ty/z)CDEFGH", "AB(z/x y)CDEFGH"},
                 {"AB(x\ty/z)CDEFGH", "AB(z/x y)CDEFGH"},
                 0,
                 {},
                 " "},
        // The markers make a note even where they are ignored symbols; a
        // "(" that makes none is then skipped as any ignored symbol.
        NoteCase{"IgnoredMarkersStillMakeNotes",
                 {"AB(x/y)CD(EF", "AB(y/x)CDEF"},
                 {"AB(x/y)CD(EF", "AB(y/x)CDEF"},
                 0,
                 {},
                 "()/"},
        // Only the inner note is one: the outer "(" meets another first.
        NoteCase{"NestedOpenerMakesTheInnerNote",
                 {"A(b(c/d)e)FGHIJ", "A(b(d/c)e)FGHIJ"},
                 {"A(b(c/d)e)FGHIJ", "A(b(d/c)e)FGHIJ"},
                 0},
        NoteCase{"UnclosedOpenerIsACharacter",
                 {"AB(x/yCDEFGH", "AB(y/xCDEFGH"},
                 {"AB({{||y/}}x{{/y||}}CDEFGH", "AB({{y/||}}x{{||/y}}CDEFGH"},
                 2},
        NoteCase{"NoNoteAcrossALineEnd",
                 {"AB(x/\ny)CDEFGH", "AB(y/\nx)CDEFGH"},
                 {"AB({{||y/}}x{{/||}}\n{{y||}})CDEFGH",
                  "AB({{y/||}}\nx{{||/}}{{||y}})CDEFGH"},
                 3},
        NoteCase{
            "TwoSeparatorsMakeNoNote",
            {"AB(x/y/z)CDEFGH", "AB(z/y/x)CDEFGH"},
            {"AB({{x||z}}/y/{{z||x}})CDEFGH", "AB({{z||x}}/y/{{x||z}})CDEFGH"},
            2},
        NoteCase{"NoSeparatorMakesNoNote",
                 {"AB(xy)CDEFGH", "AB(yx)CDEFGH"},
                 {"AB({{||y}}x{{y||}})CDEFGH", "AB({{y||}}x{{||y}})CDEFGH"},
                 2},
        NoteCase{"IgnoredStretchesWin",
                 {"AB(x/y)CDEFGH", "AB(q/r)CDEFGH"},
                 {"AB(x/y)CDEFGH", "AB(q/r)CDEFGH"},
                 0,
                 {{"(", ")"}}},
        NoteCase{"MarkInsideANoteIsIgnored",
                 {"AB(x<p1>/y)CDEFGH", "AB(y/x)CDEFGH"},
                 {"AB(x<p1>/y)CDEFGH", "AB(y/x)CDEFGH"},
                 0,
                 {{"<", ">"}}},
        NoteCase{"ThreeSources",
                 {"AB(x/y)CDEFGH", "AB(y/x)CDEFGH", "AB(x/z)CDEFGH"},
                 {"AB{{(x/y)||(y/x)||(x/z)}}CDEFGH",
                  "AB{{(x/y)||(y/x)||(x/z)}}CDEFGH",
                  "AB{{(x/y)||(y/x)||(x/z)}}CDEFGH"},
                 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessel::testing

namespace tessel::testing {
namespace {

// A sign file is read as symbols: its "(x/y)" adds "(", "x", "/", "y" and
// ")", never a note that would then be skipped wherever it stands.
TEST(UnorderedNoteSigns, ASignFileHoldsNoNotes) {
  TempDir dir;
  WriteFile(dir / "signs", "(x/y)");
  RecordingHost host;
  RunOptions& o = host.options;
  SetTwoSourceRun(o, dir, "AB(x/y)CDEFGH", "ABq/rCDEFGH");
  o.encodings.fill(EncodingChoice::kBig5);
  o.use_sign_file = true;
  o.sign_file = dir / "signs";
  o.notes_unordered = true;
  NotationTable notations;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(o);
  ASSERT_EQ(status.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(status.diff_count, 1);
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")),
            BytesText("AB{{(x/y)||q/r}}CDEFGH"));
}

// A high byte swallows the NUL after it, and a result file writes it alone;
// a note over such a pair would be written back with the NUL, so there is
// no note there: the run is the one without notes.
TEST(UnorderedNoteBytes, NoNoteOverASwallowedNul) {
  using namespace std::string_literals;
  TempDir dir;
  RecordingHost host;
  RunOptions& o = host.options;
  SetTwoSourceRun(o, dir,
                  "XB(e/\xA9\x00"
                  "b)CDEFGHIJ"s,
                  "AB(e/\xA9\x00"
                  "b)CDEFGHIJ"s);
  o.encodings.fill(EncodingChoice::kBig5);
  o.notes_unordered = true;
  NotationTable notations;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(o);
  ASSERT_EQ(status.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(status.diff_count, 1);
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")), BytesText("{{X||A}}B(e/\xA9"
                                                       "b)CDEFGHIJ"));
}

}  // namespace
}  // namespace tessel::testing
