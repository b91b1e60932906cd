// Whole runs through the engine with a recording host: the worked examples,
// the ends of a run, its failures, and the guards against lost data.

#include "ComparisonRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileTexts.h"
#include "TestSupport.h"

namespace tessel {

// Failed rows name the error, not its bytes.
void PrintTo(const RunError& error, std::ostream* out) {
  *out << "error " << static_cast<int>(error.kind) << " of file "
       << static_cast<int>(error.file) << " " << error.path;
}

namespace testing {
namespace {

using namespace std::string_literals;

class RunTest : public ::testing::Test {
 protected:
  // Writes the sources and points the options at them and at out/.
  void Sources(std::vector<std::string> texts) {
    RunOptions& o = host_.options;
    o.three_files = texts.size() == 3;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const std::string n = std::to_string(k + 1);
      WriteFile(dir_ / ("s" + n), texts[k]);
      o.sources[k] = dir_ / ("s" + n);
      o.results[k] = dir_ / ("r" + n);
    }
    o.difference = dir_ / "d";
  }

  // Whether the run came to a normal end.
  bool Run() {
    ComparisonRun run(host_, notations_);
    status_ = run.RunComparison(host_.options);
    outcome_ = status_.outcome;
    return status_.ended_normally();
  }

  std::string Out(const std::string& name) {
    return BytesText(ReadFile(dir_ / name));
  }
  bool Exists(const std::string& name) {
    return std::filesystem::exists(dir_ / name);
  }

  TempDir dir_;
  NotationTable notations_;
  RecordingHost host_;
  RunStatus status_;
  RunOutcome outcome_ = RunOutcome::kFailed;
};

// The end line as the text-mode difference file holds it.
const std::string kEnd = BytesText(OnDisk(file_texts::kEndLine));

TEST_F(RunTest, ReplacedCharacter) {
  Sources({"ABCDEFGHIJKLMN", "AXCDEFGHIJKLMN"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kCompleted);
  EXPECT_EQ(Out("r1"), "A{{B||X}}CDEFGHIJKLMN");
  EXPECT_EQ(Out("r2"), "A{{X||B}}CDEFGHIJKLMN");
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("B") + ", X\\r\\n" + kEnd);
  EXPECT_EQ(host_.diff_count, 1);
}

TEST_F(RunTest, InsertedCharacter) {
  Sources({"ABCDEFGHIJKLMN", "ABXCDEFGHIJKLMN"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "AB{{||X}}CDEFGHIJKLMN");
  EXPECT_EQ(Out("r2"), "AB{{X||}}CDEFGHIJKLMN");
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("") + ", X\\r\\n" + kEnd);
}

TEST_F(RunTest, RefinedBySingleCharacter) {
  Sources({"PQRSABCDEFGHIJ", "TRUVABCDEFGHIJ"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "{{PQ||T}}R{{S||UV}}ABCDEFGHIJ");
  EXPECT_EQ(host_.diff_count, 2);
}

TEST_F(RunTest, NoAnchorWithinWindowCutsOff) {
  Sources({"ABCDEFGHIJKLMN", "AXCDEFGHIJKLMN"});
  host_.options.window_size = 3;
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kCutOffNoAnchor);
  const std::string s1 = (dir_ / "s1").string(), s2 = (dir_ / "s2").string();
  const auto line = [](const std::string& name) {
    return BytesText(std::string(file_texts::kClosingStart) + name +
                     std::string(file_texts::kClosingMiddle) + "1" +
                     std::string(file_texts::kClosingInterrupted));
  };
  const std::string closing_r =
      "\\r\\n\\r\\n" + line(s1) + "\\r\\n" + line(s2) + "\\r\\n";
  EXPECT_EQ(Out("r1"), "A{{BCD||XCD}}" + closing_r);
  EXPECT_EQ(Out("r2"), "A{{XCD||BCD}}" + closing_r);
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("BCD") + ", XCD\\r\\n" + closing_r);
}

// The window words a cut-off from the lines the run returns, so they must
// be those of the closing lines, for every source and however it ended.
TEST_F(RunTest, ReturnsTheLinesEachSourceReached) {
  struct Case {
    const char* name;
    std::vector<std::string> sources;
    std::int32_t window, limit;
    RunOutcome outcome;
    std::array<std::int64_t, 3> lines;
  };
  const Case cases[] = {
      {"no anchor",
       {"A\nB\nCDEFGHIJ", "A\nB\n\n\nXYZW"},
       3,
       kNoDiffLimit,
       RunOutcome::kCutOffNoAnchor,
       {3, 5, 1}},
      {"limit, three sources",
       {"AB\nCDEFGHIJKLMN", "AB\nCXEFGHIJKLMN", "\nAB\nCDEFGHIJKLMN"},
       100,
       1,
       RunOutcome::kCutOffLimit,
       {2, 2, 3}},
      {"completed",
       {"A\nB\nC", "A\nB\nC\n"},
       100,
       kNoDiffLimit,
       RunOutcome::kCompleted,
       {3, 4, 1}},
  };
  for (const Case& c : cases) {
    Sources(c.sources);
    host_.options.window_size = c.window;
    host_.options.diff_limit = c.limit;
    EXPECT_TRUE(Run()) << c.name;
    EXPECT_EQ(outcome_, c.outcome) << c.name;
    EXPECT_EQ(status_.lines_reached, c.lines) << c.name;
  }
}

// What a caller needs to say of a run cut off: where each source stood and
// how far the look-ahead reached.
TEST_F(RunTest, CutOffTellsTheLinesAndTheLookAheadReached) {
  struct Row {
    const char* name;
    bool auto_window;
    std::int32_t window;
    RunOutcome outcome;
    std::int64_t line1, line2;
    std::int32_t reached;
  };
  const std::string gap(300, 'Z');
  for (const Row& row :
       {// D against X finds no anchor of 4 within 3.
        Row{"window 3", false, 3, RunOutcome::kCutOffNoAnchor, 2, 3, 3},
        // Within 100 it does, but the run of Z then has none.
        Row{"auto up to 100", true, 100, RunOutcome::kCutOffNoAnchor, 2, 4,
            100},
        // 400 bridges the Zs, and the run reads both sources to the end.
        Row{"auto", true, kDefaultAutoMaxWindow, RunOutcome::kCompleted, 4, 5,
            400}}) {
    Sources({"AB\nCDEFGHIJKLMN" + gap + "\nOPQRSTUVWXYZ\n",
             "AB\n\nCXEFGHIJKLMN\nOPQRSTUVWXYZ\n"});
    host_.options.auto_window = row.auto_window;
    host_.options.window_size = row.window;
    host_.options.max_window = row.window;
    EXPECT_TRUE(Run()) << row.name;
    EXPECT_EQ(outcome_, row.outcome) << row.name;
    EXPECT_EQ(status_.lines_reached[0], row.line1) << row.name;
    EXPECT_EQ(status_.lines_reached[1], row.line2) << row.name;
    EXPECT_EQ(status_.reached_window, row.reached) << row.name;
  }
}

TEST_F(RunTest, ShortTailCompletes) {
  Sources({"ABC", "AXC"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kCompleted);
  EXPECT_EQ(Out("r1"), "A{{BC||XC}}");
  EXPECT_EQ(Out("r2"), "A{{XC||BC}}");
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("BC") + ", XC\\r\\n" + kEnd);
}

TEST_F(RunTest, EmptySourcesComplete) {
  Sources({"", ""});
  host_.diff_count = 7;
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "");
  EXPECT_EQ(Out("d"), kEnd);
  EXPECT_EQ(host_.diff_count, 0);
}

TEST_F(RunTest, LayoutOnlyDifferencesCopyEachSource) {
  const std::string a = "\xA4\xA4\xA4\xE5, [ab]\r\nX\xA4\0Y\x1A"s;
  const std::string b = "\xA4\xA4\r\n\xA4\xE5[AB]  X\n\xA4\r\nY"s;
  Sources({a, b});
  host_.options.use_sign_memo = true;
  host_.options.sign_memo = " ,";
  EXPECT_TRUE(Run());
  EXPECT_EQ(host_.diff_count, 0);
  // The NUL after a high byte and the 0x1A are not written.
  EXPECT_EQ(Out("r1"), BytesText("\xA4\xA4\xA4\xE5, [ab]\r\nX\xA4Y"));
  // The notation is written in the form met first.
  EXPECT_EQ(Out("r2"), BytesText("\xA4\xA4\r\n\xA4\xE5[ab]  X\n\xA4\r\nY"));
}

TEST_F(RunTest, ThreeSourcesShareOneBlock) {
  Sources({"ABCDEFGHIJKL", "AXCDEFGHIJKL", "AYYCDEFGHIJKL"});
  EXPECT_TRUE(Run());
  for (const char* r : {"r1", "r2", "r3"}) {
    EXPECT_EQ(Out(r), "A{{B||X||YY}}CDEFGHIJKL") << r;
  }
  char prefix[40];
  std::snprintf(prefix, sizeof prefix, "%6d, %6d, %6d, ", 1, 1, 1);
  EXPECT_EQ(Out("d"),
            prefix + Pad("B") + ", " + Pad("X") + ", YY\\r\\n" + kEnd);
}

TEST_F(RunTest, DifferencesAreReportedLineByLine) {
  Sources({"AB\nCDEFGHIJKL", "AX\nYDEFGHIJKL"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "A{{B||X}}\\n{{C||Y}}DEFGHIJKL");
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("B") + ", X\\r\\n" + Lines(2, 2) +
                          Pad("C") + ", Y\\r\\n" + kEnd);
}

TEST_F(RunTest, LongSpansGetNoFill) {
  Sources({"A" + std::string(60, 'Q') + "ZBCDEFGHIJKLM",
           "A" + std::string(20, 'Q') + "BCDEFGHIJKLM"});
  // Source 1's span is 41 bytes, beyond 31: the comma follows at once.
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("d"), Lines(1, 1) + std::string(40, 'Q') + "Z, \\r\\n" + kEnd);
}

TEST_F(RunTest, DifferenceLimitCountsBeforeItCuts) {
  for (const std::int32_t limit : {0, 1, -5}) {
    Sources({"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "AXCDEFGHIJKLMNOPQRSYUVWXYZ"});
    host_.options.diff_limit = limit;
    EXPECT_TRUE(Run()) << limit;
    EXPECT_EQ(outcome_, RunOutcome::kCutOffLimit) << limit;
    EXPECT_EQ(host_.diff_count, 1) << limit;
  }
}

TEST_F(RunTest, SourceEndedWhileTheOtherGoesOn) {
  // Few characters left: each line is one difference, then completion.
  Sources({"AB", "ABCDE\nFG\n\nH"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kCompleted);
  EXPECT_EQ(Out("r2"), "AB{{CDE||}}\\n{{FG||}}\\n\\n{{H||}}");
  EXPECT_EQ(host_.diff_count, 3);
  // At least a window's worth left: cut off, source 1 marked as ended.
  Sources({"AB", "ABCDE"});
  host_.options.window_size = 3;
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kCutOffNoAnchor);
  EXPECT_NE(Out("d").find(BytesText(std::string(file_texts::kClosingEnded))),
            std::string::npos);
}

TEST_F(RunTest, HighByteWithNulKeepsItsByteInTheSpan) {
  // The differing character is A4 followed by a NUL: the span must start
  // at A4, not at the NUL.
  Sources({"AB\xA4\0CDEFGHIJKL"s, "ABXCDEFGHIJKL"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "AB{{<A4>||X}}CDEFGHIJKL");
  EXPECT_EQ(Out("r2"), "AB{{X||<A4>}}CDEFGHIJKL");
}

TEST_F(RunTest, LineNumbersStayExactPastFloatPrecision) {
  // 2^24 + 5 line feeds: a 32-bit float counter would stop at 2^24.
  const std::string feeds((1 << 24) + 5, '\n');
  Sources({feeds + "ABCDEFGHIJ", feeds + "XBCDEFGHIJ"});
  EXPECT_TRUE(Run());
  const std::string d = ReadFile(dir_ / "d");
  EXPECT_EQ(d.substr(0, 18), "16777222, 16777222");
}

TEST_F(RunTest, StopEndsTheRunWithoutClosingLines) {
  Sources({"ABCDEFGHIJKLMN", "AXCDEFGHIJKLMN"});
  host_.stop_at_pass = 3;
  EXPECT_FALSE(Run());
  EXPECT_EQ(outcome_, RunOutcome::kStopped);
  EXPECT_TRUE(status_.errors.empty());
  EXPECT_EQ(Out("r1"), "A{{B||X}}C");
  EXPECT_EQ(Out("d"), Lines(1, 1) + Pad("B") + ", X\\r\\n");
}

TEST_F(RunTest, FastModeProcessesNoEvents) {
  Sources({"ABCDEFGHIJKLMN", "AXCDEFGHIJKLMN"});
  host_.fast = true;
  EXPECT_TRUE(Run());
  EXPECT_EQ(host_.passes, 0);
}

TEST_F(RunTest, ProgressFollowsSourceOne) {
  Sources({"ABCDEFGHIJKLMN", "ABCDEFGHIJKLMN"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(host_.progress_maximum, 14);
  ASSERT_FALSE(host_.progress.empty());
  EXPECT_EQ(host_.progress.back(), 14);
}

struct FailureCase {
  std::string name;
  // Adjusts the options of a two-source run in `dir`.
  std::function<void(RunOptions&, const std::filesystem::path&)> setup;
  RunErrorKind kind;
  RunFile file;
  std::string path;  // with <dir> for the folder
  bool outputs_created;
};

std::ostream& operator<<(std::ostream& out, const FailureCase& c) {
  return out << c.name;
}

class RunFailureTest : public RunTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunFailureTest, SaysWhatFailedAndTouchesNothing) {
  const FailureCase& c = GetParam();
  Sources({"ABC", "ABD"});
  WriteFile(dir_ / "r2", "keep me");
  c.setup(host_.options, dir_.path());
  EXPECT_FALSE(Run()) << c.name;
  EXPECT_EQ(outcome_, RunOutcome::kFailed) << c.name;
  std::string path = c.path;
  if (const auto at = path.find("<dir>"); at != std::string::npos) {
    path.replace(at, 5, dir_.path().string());
  }
  const std::vector<RunError> expected = {{c.kind, c.file, path}};
  EXPECT_EQ(status_.errors, expected) << c.name;
  EXPECT_EQ(ReadFile(dir_ / "s1"), "ABC") << c.name;
  EXPECT_EQ(ReadFile(dir_ / "s2"), "ABD") << c.name;
  // Outputs that could not all be opened are neither emptied nor created.
  if (!c.outputs_created) {
    EXPECT_EQ(ReadFile(dir_ / "r2"), "keep me") << c.name;
    EXPECT_FALSE(Exists("r1")) << c.name;
    EXPECT_FALSE(Exists("d")) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunFailureTest,
    ::testing::Values(
        FailureCase{"missing sign file",
                    [](RunOptions& o, const auto& d) {
                      o.use_sign_file = true;
                      o.sign_file = d / "nosign";
                    },
                    RunErrorKind::kOpenFailed, RunFile::kSignFile,
                    "<dir>/nosign", false},
        FailureCase{"folder as sign file",
                    [](RunOptions& o, const auto& d) {
                      o.use_sign_file = true;
                      o.sign_file = d;
                    },
                    RunErrorKind::kOpenFailed, RunFile::kSignFile, "<dir>",
                    false},
        FailureCase{
            "missing source",
            [](RunOptions& o, const auto& d) { o.sources[1] = d / "x"; },
            RunErrorKind::kOpenFailed, RunFile::kSource2, "<dir>/x", false},
        FailureCase{"folder as source",
                    [](RunOptions& o, const auto& d) { o.sources[0] = d; },
                    RunErrorKind::kOpenFailed, RunFile::kSource1, "<dir>",
                    false},
        FailureCase{
            "result is a source",
            [](RunOptions& o, const auto& d) { o.results[1] = d / "s1"; },
            RunErrorKind::kWouldOverwrite, RunFile::kResult2, "<dir>/s1",
            false},
        FailureCase{
            "result reaches a source by another path",
            [](RunOptions& o, const auto& d) { o.difference = d / "." / "s2"; },
            RunErrorKind::kWouldOverwrite, RunFile::kDifference, "<dir>/./s2",
            false},
        FailureCase{
            "two outputs are one file",
            [](RunOptions& o, const auto& d) { o.difference = d / "r1"; },
            RunErrorKind::kWouldOverwrite, RunFile::kDifference, "<dir>/r1",
            false},
        FailureCase{"result is the sign file",
                    [](RunOptions& o, const auto& d) {
                      WriteFile(d / "sign", ",");
                      o.use_sign_file = true;
                      o.sign_file = d / "sign";
                      o.results[0] = d / "sign";
                    },
                    RunErrorKind::kWouldOverwrite, RunFile::kResult1,
                    "<dir>/sign", false},
        FailureCase{"result is another input",
                    [](RunOptions& o, const auto& d) {
                      WriteFile(d / "memo", ",");
                      o.other_inputs.push_back(d / "memo");
                      o.results[0] = d / "memo";
                    },
                    RunErrorKind::kWouldOverwrite, RunFile::kResult1,
                    "<dir>/memo", false},
        FailureCase{
            "output in a missing folder",
            [](RunOptions& o, const auto& d) { o.difference = d / "no" / "d"; },
            RunErrorKind::kOpenFailed, RunFile::kDifference, "<dir>/no/d",
            false},
        FailureCase{
            "full disk",
            [](RunOptions& o, const auto&) { o.difference = "/dev/full"; },
            RunErrorKind::kWriteFailed, RunFile::kDifference, "/dev/full",
            true},
        FailureCase{
            "read error",
            [](RunOptions& o, const auto&) { o.sources[1] = "/proc/self/mem"; },
            RunErrorKind::kReadFailed, RunFile::kSource2, "/proc/self/mem",
            true}),
    [](const auto& info) { return RowName(info.param.name); });

TEST_F(RunTest, CharacterDevicesMayTakeSeveralOutputs) {
  Sources({"ABC", "ABD"});
  host_.options.results[0] = host_.options.results[1] = "/dev/null";
  host_.options.difference = "/dev/null";
  EXPECT_TRUE(Run());
  EXPECT_TRUE(status_.errors.empty());
}

TEST_F(RunTest, FileNamesHaveNoLengthLimit) {
  // A name of over 300 bytes, written whole into the closing lines.
  std::filesystem::path folder = dir_.path();
  for (int i = 0; i < 4; ++i)
    folder /= std::string(80, static_cast<char>('a' + i));
  std::filesystem::create_directories(folder);
  const std::filesystem::path source = folder / "\xE6\xBA\x90 1";
  WriteFile(source, "ABCDEFGHIJKLMN");
  Sources({"", "AXCDEFGHIJKLMN"});
  host_.options.sources[0] = source;
  host_.options.results[0] = folder / "r1";
  host_.options.window_size = 3;
  EXPECT_TRUE(Run());
  EXPECT_GT(source.string().size(), 320u);
  const std::string d = ReadFile(dir_ / "d");
  EXPECT_NE(d.find(std::string(file_texts::kClosingStart) + source.string() +
                   std::string(file_texts::kClosingMiddle) + "1"),
            std::string::npos);
}

// The caller's table outlives a run: a notation met in an earlier run keeps
// its code, and is written in the form that run met first.
TEST_F(RunTest, NotationsKeepTheirFirstFormFromRunToRun) {
  Sources({"[ab]X", "[ab]X"});
  EXPECT_TRUE(Run());
  Sources({"[AB]Y", "[AB]Y"});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Out("r1"), "[ab]Y");
  EXPECT_EQ(notations_.size(), 1u);

  NotationTable fresh;
  ComparisonRun run(host_, fresh);
  EXPECT_TRUE(run.RunComparison(host_.options).ended_normally());
  EXPECT_EQ(Out("r1"), "[AB]Y");
}

// Neither front end sets both symbol sources; a run given both takes the
// memo's symbols, yet still reads the sign file and reports its errors.
TEST_F(RunTest, MemoGovernsWhenBothSymbolSourcesAreSet) {
  Sources({"ABCDEFGHIJ", "ABYCDEFGHIJ"});
  WriteFile(dir_ / "sign", "X");
  RunOptions& o = host_.options;
  o.use_sign_file = o.use_sign_memo = true;
  o.sign_file = dir_ / "sign";
  o.sign_memo = "Y";
  EXPECT_TRUE(Run());
  EXPECT_EQ(status_.diff_count, 0);
  EXPECT_EQ(Out("r2"), "ABYCDEFGHIJ");

  o.sign_file = dir_ / "nosign";
  EXPECT_FALSE(Run());
  const std::vector<RunError> expected = {
      {RunErrorKind::kOpenFailed, RunFile::kSignFile, dir_ / "nosign"}};
  EXPECT_EQ(status_.errors, expected);
}

TEST_F(RunTest, IgnoredNotationFromSignFile) {
  Sources({"A&x-1;BCD[", "A&X-1;BCD["});
  WriteFile(dir_ / "sign", "&x-1;");
  host_.options.use_sign_file = true;
  host_.options.sign_file = dir_ / "sign";
  EXPECT_TRUE(Run());
  EXPECT_EQ(host_.diff_count, 0);
  // Ignored, the notation is copied in the form first met: the sign file's.
  EXPECT_EQ(Out("r2"), "A&x-1;BCD[");
}

}  // namespace
}  // namespace testing
}  // namespace tessel
