// Whole runs through the engine with a recording host: the worked examples,
// the ends of a run, its failures, and the guards against lost data.

#include "ComparisonRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileTexts.h"
#include "Messages.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

class RunTest : public ::testing::Test {
 protected:
  // Writes the sources and points the options at them and at out/.
  void Sources(std::vector<std::string> texts) {
    RunOptions& o = host_.options;
    o.ThreeFiles = texts.size() == 3;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const std::string n = std::to_string(k + 1);
      WriteFile(dir_ / ("s" + n), texts[k]);
      o.Sources[k] = dir_ / ("s" + n);
      o.Results[k] = dir_ / ("r" + n);
    }
    o.Difference = dir_ / "d";
  }

  bool Run() {
    ComparisonRun run(host_, notations_);
    const bool result = run.RunComparison();
    outcome_ = run.outcome();
    lines_reached_ = run.LinesReached();
    reached_window_ = run.ReachedWindow();
    return result;
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
  RunOutcome outcome_ = RunOutcome::kFailed;
  std::array<std::int64_t, kMaxSources> lines_reached_{};
  std::int32_t reached_window_ = -1;
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
  host_.options.WindowSize = 3;
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
    host_.options.AutoWindow = row.auto_window;
    host_.options.WindowSize = row.window;
    host_.options.MaxWindow = row.window;
    EXPECT_TRUE(Run()) << row.name;
    EXPECT_EQ(outcome_, row.outcome) << row.name;
    EXPECT_EQ(lines_reached_[0], row.line1) << row.name;
    EXPECT_EQ(lines_reached_[1], row.line2) << row.name;
    EXPECT_EQ(reached_window_, row.reached) << row.name;
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
  host_.options.UseSignMemo = true;
  host_.options.SignMemo = " ,";
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
    host_.options.DiffLimit = limit;
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
  host_.options.WindowSize = 3;
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
  EXPECT_EQ(host_.messages, std::vector<std::string>{"被中斷了 !"});
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
  std::string message;  // with <dir> for the folder
  RunField focus;
  bool outputs_created;
};

class RunFailureTest : public RunTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunFailureTest, ShowsItsMessageAndTouchesNothing) {
  const FailureCase& c = GetParam();
  Sources({"ABC", "ABD"});
  WriteFile(dir_ / "r2", "keep me");
  c.setup(host_.options, dir_.path());
  EXPECT_FALSE(Run()) << c.name;
  EXPECT_EQ(outcome_, RunOutcome::kFailed) << c.name;
  std::string message = c.message;
  if (const auto at = message.find("<dir>"); at != std::string::npos) {
    message.replace(at, 5, dir_.path().string());
  }
  EXPECT_EQ(host_.messages, std::vector<std::string>{message}) << c.name;
  EXPECT_EQ(host_.focus, std::vector<RunField>{c.focus}) << c.name;
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
                      o.UseSignFile = true;
                      o.SignFileName = d / "nosign";
                    },
                    "\n錯誤 : <dir>/nosign檔案開啟失敗.\n", RunField::kSignFile,
                    false},
        FailureCase{"folder as sign file",
                    [](RunOptions& o, const auto& d) {
                      o.UseSignFile = true;
                      o.SignFileName = d;
                    },
                    "\n錯誤 : <dir>檔案開啟失敗.\n", RunField::kSignFile,
                    false},
        FailureCase{
            "missing source",
            [](RunOptions& o, const auto& d) { o.Sources[1] = d / "x"; },
            "\n錯誤 : <dir>/x 檔案開啟失敗.\n", RunField::kFile2, false},
        FailureCase{"folder as source",
                    [](RunOptions& o, const auto& d) { o.Sources[0] = d; },
                    "\n錯誤 : <dir> 檔案開啟失敗.\n", RunField::kFile1, false},
        FailureCase{
            "result is a source",
            [](RunOptions& o, const auto& d) { o.Results[1] = d / "s1"; },
            "\n錯誤 : <dir>/s1 與來源檔或其他輸出檔相同, 不可覆蓋.\n",
            RunField::kResult2, false},
        FailureCase{
            "result reaches a source by another path",
            [](RunOptions& o, const auto& d) { o.Difference = d / "." / "s2"; },
            "\n錯誤 : <dir>/./s2 與來源檔或其他輸出檔相同, 不可覆蓋.\n",
            RunField::kResult, false},
        FailureCase{
            "two outputs are one file",
            [](RunOptions& o, const auto& d) { o.Difference = d / "r1"; },
            "\n錯誤 : <dir>/r1 與來源檔或其他輸出檔相同, 不可覆蓋.\n",
            RunField::kResult, false},
        FailureCase{"result is the sign file",
                    [](RunOptions& o, const auto& d) {
                      WriteFile(d / "sign", ",");
                      o.UseSignFile = true;
                      o.SignFileName = d / "sign";
                      o.Results[0] = d / "sign";
                    },
                    "\n錯誤 : <dir>/sign 與來源檔或其他輸出檔相同, 不可覆蓋.\n",
                    RunField::kResult1, false},
        FailureCase{"result is another input",
                    [](RunOptions& o, const auto& d) {
                      WriteFile(d / "memo", ",");
                      o.OtherInputs.push_back(d / "memo");
                      o.Results[0] = d / "memo";
                    },
                    "\n錯誤 : <dir>/memo 與來源檔或其他輸出檔相同, 不可覆蓋.\n",
                    RunField::kResult1, false},
        FailureCase{
            "output in a missing folder",
            [](RunOptions& o, const auto& d) { o.Difference = d / "no" / "d"; },
            "\n錯誤 : <dir>/no/d 檔案開啟失敗.\n", RunField::kResult, false},
        FailureCase{
            "full disk",
            [](RunOptions& o, const auto&) { o.Difference = "/dev/full"; },
            "\n錯誤 : /dev/full 檔案寫入失敗.\n", RunField::kResult, true},
        FailureCase{
            "read error",
            [](RunOptions& o, const auto&) { o.Sources[1] = "/proc/self/mem"; },
            "\n錯誤 : /proc/self/mem 檔案讀取失敗.\n", RunField::kFile2, true}),
    [](const auto& info) { return RowName(info.param.name); });

TEST_F(RunTest, CharacterDevicesMayTakeSeveralOutputs) {
  Sources({"ABC", "ABD"});
  host_.options.Results[0] = host_.options.Results[1] = "/dev/null";
  host_.options.Difference = "/dev/null";
  EXPECT_TRUE(Run());
  EXPECT_TRUE(host_.messages.empty());
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
  host_.options.Sources[0] = source;
  host_.options.Results[0] = folder / "r1";
  host_.options.WindowSize = 3;
  EXPECT_TRUE(Run());
  EXPECT_GT(source.string().size(), 320u);
  const std::string d = ReadFile(dir_ / "d");
  EXPECT_NE(d.find(std::string(file_texts::kClosingStart) + source.string() +
                   std::string(file_texts::kClosingMiddle) + "1"),
            std::string::npos);
}

TEST_F(RunTest, IgnoredNotationFromSignFile) {
  Sources({"A&x-1;BCD[", "A&X-1;BCD["});
  WriteFile(dir_ / "sign", "&x-1;");
  host_.options.UseSignFile = true;
  host_.options.SignFileName = dir_ / "sign";
  EXPECT_TRUE(Run());
  EXPECT_EQ(host_.diff_count, 0);
  // Ignored, the notation is copied in the form first met: the sign file's.
  EXPECT_EQ(Out("r2"), "A&x-1;BCD[");
}

}  // namespace
}  // namespace tessel::testing
