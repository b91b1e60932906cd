// Whole runs with ignored stretches: notes and marks between an opener and
// its closer on one line are copied and never compared, in the slow walk
// and in fast mode alike.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ComparisonRun.h"
#include "FileTexts.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

const std::string kEnd = BytesText(OnDisk(file_texts::kEndLine));
const std::pair<std::string, std::string> kNote{"(", ")"};
const std::pair<std::string, std::string> kMark{"<", ">"};
// The full-width parentheses of Big5: （ A15D and ） A15E.
const std::pair<std::string, std::string> kWideNote{"\xA1\x5D", "\xA1\x5E"};

struct StretchCase {
  const char* name;
  std::string source1, source2;
  std::vector<std::pair<std::string, std::string>> stretches;
  std::string result1, result2;
  int differences;
};

class IgnoredStretchTest : public ::testing::TestWithParam<StretchCase> {
 protected:
  RunStatus Run(bool fast) {
    const StretchCase& c = GetParam();
    RunOptions& o = host_.options;
    WriteFile(dir_ / "s1", c.source1);
    WriteFile(dir_ / "s2", c.source2);
    o.sources = {dir_ / "s1", dir_ / "s2", {}};
    o.results = {dir_ / "r1", dir_ / "r2", {}};
    o.difference = dir_ / "d";
    o.ignore_between = c.stretches;
    host_.fast = fast;
    ComparisonRun run(host_, notations_);
    return run.RunComparison(o);
  }

  TempDir dir_;
  NotationTable notations_;
  RecordingHost host_;
};

TEST_P(IgnoredStretchTest, CopiesTheStretchesAndComparesTheRest) {
  const StretchCase& c = GetParam();
  for (const bool fast : {false, true}) {
    const RunStatus status = Run(fast);
    EXPECT_EQ(status.outcome, RunOutcome::kCompleted) << c.name;
    EXPECT_EQ(BytesText(ReadFile(dir_ / "r1")), BytesText(c.result1))
        << c.name << (fast ? " fast" : " slow");
    EXPECT_EQ(BytesText(ReadFile(dir_ / "r2")), BytesText(c.result2))
        << c.name << (fast ? " fast" : " slow");
    EXPECT_EQ(status.diff_count, c.differences) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IgnoredStretchTest,
    ::testing::Values(
        StretchCase{"NotesOfOtherTextsAgree",
                    "AB(xy)CDEFGH",
                    "AB(zw)CDEFGH",
                    {kNote},
                    "AB(xy)CDEFGH",
                    "AB(zw)CDEFGH",
                    0},
        StretchCase{"NoteInOneEditionOnly",
                    "AB(xy)CDEFGH",
                    "ABCDEFGH",
                    {kNote},
                    "AB(xy)CDEFGH",
                    "ABCDEFGH",
                    0},
        // A closer on the next line closes nothing: both parentheses are
        // compared as ordinary characters.
        StretchCase{"NoStretchAcrossALineEnd",
                    "AB(x\ny)CDEFGH",
                    "AB(z\nw)CDEFGH",
                    {kNote},
                    "AB({{x||z}}\n{{y||w}})CDEFGH",
                    "AB({{z||x}}\n{{w||y}})CDEFGH",
                    2},
        StretchCase{"UnclosedOpenerIsACharacter",
                    "AB(xyCDEFGH",
                    "ABxyCDEFGH",
                    {kNote},
                    "AB{{(||}}xyCDEFGH",
                    "AB{{||(}}xyCDEFGH",
                    1},
        // The stretch ends at the first closer; the rest is compared.
        StretchCase{"NestedOpenerEndsAtTheFirstCloser",
                    "A(b(c)d)EFGH",
                    "A(x)d)EFGH",
                    {kNote},
                    "A(b(c)d)EFGH",
                    "A(x)d)EFGH",
                    0},
        StretchCase{"MarksAndNotesTogether",
                    "<pb:1>AB(n)CDEFGH",
                    "AB<lb/>CD(m/o)EFGH",
                    {kNote, kMark},
                    "<pb:1>AB(n)CDEFGH",
                    "AB<lb/>CD(m/o)EFGH",
                    0},
        StretchCase{"Big5Parentheses",
                    "\xA5\xD2\xA1\x5D\xA4\x41\xA1\x5E\xA4\xFE"
                    "ABCD",
                    "\xA5\xD2\xA4\xFE"
                    "ABCD",
                    {kWideNote},
                    "\xA5\xD2\xA1\x5D\xA4\x41\xA1\x5E\xA4\xFE"
                    "ABCD",
                    "\xA5\xD2\xA4\xFE"
                    "ABCD",
                    0},
        // Fast mode's shortcuts stop at the lead byte of （, so that the
        // walk reads both stretches whole.
        StretchCase{"Big5ParenthesesInBoth",
                    "\xA5\xD2\xA1\x5D\xA4\x41\xA1\x5E\xA4\xFE"
                    "ABCD",
                    "\xA5\xD2\xA1\x5D\xA4\x42\xA1\x5E\xA4\xFE"
                    "ABCD",
                    {kWideNote},
                    "\xA5\xD2\xA1\x5D\xA4\x41\xA1\x5E\xA4\xFE"
                    "ABCD",
                    "\xA5\xD2\xA1\x5D\xA4\x42\xA1\x5E\xA4\xFE"
                    "ABCD",
                    0},
        // The second byte of （ (A15D) is the byte of "]", and must not
        // close a "[" stretch.
        StretchCase{"CloserInsideACharacterDoesNotClose",
                    "A[\xA1\x5D]BCDEFGH",
                    "A[]BCDEFGH",
                    {{"[", "]"}},
                    "A[\xA1\x5D]BCDEFGH",
                    "A[]BCDEFGH",
                    0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessel::testing
