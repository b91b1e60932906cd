// Whole Unicode runs through the engine: sources in UTF-8, UTF-16 and Big5
// against each other, with the exact bytes of every file they write; and
// tessel-cli's --encoding and --unicode.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ComparisonRun.h"
#include "DifferenceSink.h"
#include "RoundTrip.h"
#include "SignSet.h"
#include "TestSupport.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

// The end line of a Unicode run's difference file, as it reaches the disk.
const std::string kUtf8EndLine = OnDisk("\n====== 檔案比對結束 ======\n\n");

// A difference line of two sources whose spans take `width1` display
// columns (the first span is padded to 31 columns, not bytes).
std::string DiffLine(int a, int b, const std::string& span1, int width1,
                     const std::string& span2) {
  return Lines(a, b) + span1 + std::string(31 - width1, ' ') + ", " + span2 +
         "\r\n";
}

std::string Big5(const std::string& utf8) {
  return ConvertText(utf8, Encoding::kUtf8, Encoding::kBig5);
}

// A shared stretch long enough to anchor the search after a difference.
const std::string kTail = "天地玄黃";

std::string Utf16Le(const std::string& utf8) {
  return ConvertText(utf8, Encoding::kUtf8, Encoding::kUtf16Le);
}

struct UnicodeRunCase {
  std::string name;
  std::string source1, source2;
  std::string encodings;  // tessel-cli's --encoding value; "" for auto
  bool unicode = false;
  std::string result1, result2, difference;
};

class UnicodeRunTest : public ::testing::TestWithParam<UnicodeRunCase> {};

TEST_P(UnicodeRunTest, WritesEveryFileExactly) {
  const UnicodeRunCase& c = GetParam();
  TempDir dir;
  RunOptions options;
  SetTwoSourceRun(options, dir, c.source1, c.source2);
  options.unicode = c.unicode;
  if (!c.encodings.empty()) {
    const auto choices = ParseEncodingChoices(c.encodings, 3);
    ASSERT_TRUE(choices.has_value());
    for (std::size_t k = 0; k < 2; ++k) {
      options.encodings[k] = (*choices)[choices->size() > 1 ? k : 0];
    }
  }
  NotationTable notations;
  RecordingHost host;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(options);
  ASSERT_TRUE(status.ended_normally());
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")), BytesText(c.result1));
  EXPECT_EQ(BytesText(ReadFile(dir / "r2")), BytesText(c.result2));
  EXPECT_EQ(BytesText(ReadFile(dir / "d")), BytesText(c.difference));
}

const std::string kNoDifference = kUtf8EndLine;

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeRunTest,
    ::testing::Values(
        UnicodeRunCase{"Big5NotationMeetsUtf8Character", "&x-4BB6;\xAC\xFC",
                       "䮶美", "", false, "&x-4BB6;\xAC\xFC", "䮶美",
                       kNoDifference},
        UnicodeRunCase{"EveryNumericFormNamesTheCharacter",
                       "&#x4bb6;&#19382;&X-4BB6;", "䮶䮶䮶", "", false,
                       "&#x4bb6;&#19382;&X-4BB6;", "䮶䮶䮶", kNoDifference},
        UnicodeRunCase{"UnicodeMakesBig5NotationMeetBig5Character",
                       "&x-70BA;\xAC\xFC", "\xAC\xB0\xAC\xFC", "", true,
                       "&x-70BA;\xAC\xFC", "\xAC\xB0\xAC\xFC", kNoDifference},
        UnicodeRunCase{"Big5DuplicateCodesAreOneCharacter", "\xC9\x4A",
                       "\xA4\x61", "", true, "\xC9\x4A", "\xA4\x61",
                       kNoDifference},
        UnicodeRunCase{"CompatibilityIdeographMeetsUnifiedForm", "\uFA0C", "兀",
                       "", false, "\uFA0C", "兀", kNoDifference},
        UnicodeRunCase{"PlaneTwoMeetsItsBig5Notation", "\U00020000",
                       "&x-20000;", "utf-8,big5", false, "\U00020000",
                       "&x-20000;", kNoDifference},
        UnicodeRunCase{"ControlCharacterEndsNoUtf8Source",
                       "a\x1A"
                       "b",
                       "ab", "utf-8", false,
                       "a\x1A"
                       "b",
                       "ab", kNoDifference},
        UnicodeRunCase{"CrossEncodingBlockAndWidthPadding", "甲乙" + kTail,
                       Big5("甲丁" + kTail), "", false, "甲{{乙||丁}}" + kTail,
                       Big5("甲{{丁||乙}}" + kTail),
                       DiffLine(1, 1, "乙", 2, "丁") + kUtf8EndLine},
        UnicodeRunCase{"CharacterBig5LacksIsSpelledInBig5Result",
                       "甲䮶" + kTail, Big5("甲丁" + kTail), "", false,
                       "甲{{䮶||丁}}" + kTail,
                       Big5("甲{{丁||&x-4BB6;}}" + kTail),
                       DiffLine(1, 1, "䮶", 2, "丁") + kUtf8EndLine},
        UnicodeRunCase{"RawBytesKeepTheirBytesInTheirOwnEncoding",
                       "a\xFF" + kTail, "a\xFE" + kTail, "utf-8", false,
                       "a{{\xFF||\xFE}}" + kTail, "a{{\xFE||\xFF}}" + kTail,
                       DiffLine(1, 1, "\xFF", 1, "\xFE") + kUtf8EndLine},
        UnicodeRunCase{"RawByteBecomesReplacementInBig5", "a\xFF" + kTail,
                       Big5("a丁" + kTail), "utf-8,big5", false,
                       "a{{\xFF||丁}}" + kTail,
                       Big5("a{{丁||&x-FFFD;}}" + kTail),
                       DiffLine(1, 1, "\xFF", 1, "丁") + kUtf8EndLine},
        UnicodeRunCase{"SameRawByteIsEqual",
                       "\xE4\xB8"
                       "A",
                       "\xE4\xB8"
                       "A",
                       "utf-8", false,
                       "\xE4\xB8"
                       "A",
                       "\xE4\xB8"
                       "A",
                       kNoDifference},
        UnicodeRunCase{"Utf16ResultKeepsItsMarkAndWritesMarkersInUtf16",
                       "\xFF\xFE" + Utf16Le("甲乙" + kTail), "甲丙" + kTail, "",
                       false, "\xFF\xFE" + Utf16Le("甲{{乙||丙}}" + kTail),
                       "甲{{丙||乙}}" + kTail,
                       DiffLine(1, 1, "乙", 2, "丙") + kUtf8EndLine},
        UnicodeRunCase{"Utf16ByteTenIsNoLineFeed",
                       Utf16Le("\u3A0A\n甲乙" + kTail), "\u3A0A\n甲丙" + kTail,
                       "utf-16le,utf-8", false,
                       Utf16Le("\u3A0A\n甲{{乙||丙}}" + kTail),
                       "\u3A0A\n甲{{丙||乙}}" + kTail,
                       DiffLine(2, 2, "乙", 2, "丙") + kUtf8EndLine}),
    [](const ::testing::TestParamInfo<UnicodeRunCase>& info) {
      return info.param.name;
    });

// A run cut off writes its closing lines in each file's encoding. The
// look-ahead has read both short sources to their ends, so both have ended.
TEST(UnicodeRunClosingLines, AreWrittenInEachFilesEncoding) {
  TempDir dir;
  RunOptions options;
  SetTwoSourceRun(options, dir, "\xFF\xFE" + Utf16Le("甲乙" + kTail),
                  Big5("甲丁" + kTail));
  options.diff_limit = 1;
  NotationTable notations;
  RecordingHost host;
  ComparisonRun run(host, notations);
  EXPECT_EQ(run.RunComparison(options).outcome, RunOutcome::kCutOffLimit);

  const std::string name1 = (dir / "s1").string();
  const std::string name2 = (dir / "s2").string();
  const std::string closing =
      "\r\n\r\n====== 檔案 " + name1 +
      " 比對至 1 行結束, 該檔案已經結束.   ======\r\n====== 檔案 " + name2 +
      " 比對至 1 行結束, 該檔案已經結束.   ======\r\n";
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")),
            BytesText("\xFF\xFE" + Utf16Le("甲{{乙||丁}}" + closing)));
  EXPECT_EQ(BytesText(ReadFile(dir / "r2")),
            BytesText(ConvertText("甲{{丁||乙}}" + closing, Encoding::kUtf8,
                                  Encoding::kBig5)));
  EXPECT_EQ(BytesText(ReadFile(dir / "d")),
            BytesText(DiffLine(1, 1, "乙", 2, "丁") + closing));
}

// A sink that counts what it hears.
struct CountingSink : DifferenceSink {
  int heard = 0;
  void BeginRun(const RunDescription&) override { ++heard; }
  void CopyText(int, std::string_view, bool) override { ++heard; }
  void Difference(const DifferenceRecord&) override { ++heard; }
  void EndRun(const tessel::RunEnd&) override { ++heard; }
};

// Every option a Big5 run takes, a Unicode run takes too, and feeds its
// sinks as a Big5 run does.
TEST(UnicodeRunOptions, EveryOptionIsTakenAndFeedsTheSinks) {
  struct Row {
    const char* name;
    bool auto_window;
    bool report;
    bool unicode;
    const char* variants = "";
    bool ignore_between = false;
  };
  for (const Row& row :
       {Row{"growing look-ahead", true, false, true},
        Row{"report output", false, true, true},
        Row{"variant table", false, false, true, "z"},
        Row{"ignored stretches", false, false, true, "", true},
        Row{"plain sink", false, false, true},
        Row{"big5 growing with a report", true, true, false}}) {
    TempDir dir;
    const auto text = [&](const std::string& utf8) {
      return row.unicode ? utf8 : Big5(utf8);
    };
    RunOptions options;
    SetTwoSourceRun(options, dir, text("甲乙" + kTail), text("甲丁" + kTail));
    options.encodings.fill(row.unicode ? EncodingChoice::kUtf8
                                       : EncodingChoice::kBig5);
    options.auto_window = row.auto_window;
    options.max_window = kDefaultAutoMaxWindow;
    if (row.report) options.report_outputs = {dir / "h"};
    options.variant_tables = row.variants;
    if (row.ignore_between) options.ignore_between = {{"(", ")"}};
    NotationTable notations;
    RecordingHost host;
    CountingSink sink;
    ComparisonRun run(host, notations, {&sink});
    const RunStatus status = run.RunComparison(options);
    EXPECT_TRUE(status.ended_normally()) << row.name;
    EXPECT_EQ(status.diff_count, 1) << row.name;
    EXPECT_GT(sink.heard, 0) << row.name;
  }
}

// Nothing lost: every result file, decoded, with each block replaced by its
// own text, gives back its source, whatever the encodings met.
TEST(UnicodeRunRoundTrip, EveryResultGivesBackItsSource) {
  struct Source {
    std::string bytes;
    Encoding encoding;
  };
  const std::vector<std::vector<Source>> runs = {
      {{"\xEF\xBB\xBF甲乙[丙]丁\n戊己", Encoding::kUtf8},
       {"\xFF\xFE" + Utf16Le("甲乙丁\r\n戊庚"), Encoding::kUtf16Le},
       {"\xA5\xD2&x-4E59;\xA4\x42\r\n\xA5\xB3", Encoding::kBig5}},
      {{"\xFE\xFF" + ConvertText("𠀀甲\n乙&#x4E19;", Encoding::kUtf8,
                                 Encoding::kUtf16Be),
        Encoding::kUtf16Be},
       {"𠀀甲\n丁丙", Encoding::kUtf8}},
  };
  for (const auto& sources : runs) {
    TempDir dir;
    RunOptions options;
    options.three_files = sources.size() == 3;
    for (std::size_t k = 0; k < sources.size(); ++k) {
      const std::string n = std::to_string(k + 1);
      WriteFile(dir / ("s" + n), sources[k].bytes);
      options.sources[k] = dir / ("s" + n);
      options.results[k] = dir / ("r" + n);
    }
    options.difference = dir / "d";
    NotationTable notations;
    RecordingHost host;
    ComparisonRun run(host, notations);
    ASSERT_TRUE(run.RunComparison(options).ended_normally());
    for (std::size_t k = 0; k < sources.size(); ++k) {
      SCOPED_TRACE("source " + std::to_string(k + 1) + " of " +
                   std::to_string(sources.size()));
      const Encoding e = sources[k].encoding;
      const std::string result =
          ConvertText(ReadFile(options.results[k]), e, Encoding::kUtf8);
      std::string text;
      // With two sources each file shows its own text first.
      const int own = sources.size() == 2 ? 0 : static_cast<int>(k);
      ASSERT_EQ(
          ReplaceBlocks(result, own, static_cast<int>(sources.size()), &text),
          "");
      EXPECT_EQ(BytesText(text),
                BytesText(ConvertText(sources[k].bytes, e, Encoding::kUtf8)));
    }
  }
}

// Detection and the options through tessel-cli itself.
TEST(UnicodeRunCli, DetectsAndTakesEncodings) {
  struct Row {
    std::string name;
    std::vector<std::string> options;
    int status;
    std::string err;
  };
  const std::vector<Row> rows = {
      {"auto detects a UTF-8 source", {}, 0, ""},
      {"one encoding for all: the Big5 file holds raw bytes",
       {"--encoding", "UTF-8"},
       1,
       ""},
      {"one per source", {"--encoding=utf-8,big5"}, 0, ""},
      {"read as Big5, the UTF-8 text differs", {"--encoding", "big5"}, 1, ""},
      {"unknown name",
       {"--encoding", "utf8"},
       2,
       "tessel-cli: --encoding: give auto, big5, utf-8, utf-16le or "
       "utf-16be, or one of them per source separated by commas\n"
       "Try 'tessel-cli --help' for more information.\n"},
      {"three names for two sources",
       {"--encoding", "auto,auto,auto"},
       2,
       "tessel-cli: --encoding: give one encoding, or one for each source\n"
       "Try 'tessel-cli --help' for more information.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    WriteFile(dir / "a", "甲乙&x-4E19;");
    WriteFile(dir / "b", "\xA5\xD2\xA4\x41\xA4\xFE");
    std::vector<std::string> args = row.options;
    for (const char* arg : {"--quiet", "--result", "ra", "--result", "rb",
                            "--diff", "d", "a", "b"}) {
      args.push_back(arg);
    }
    const ProcessResult r = RunProcess(CliPath(), args, dir.path());
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.err, row.err);
  }
}

// The status tells each source's encoding as the run read it, so that a
// front end can show what auto decided; a source a later run leaves out
// does not keep an earlier run's.
TEST(UnicodeRunStatus, TellsTheEncodingEachSourceWasReadIn) {
  TempDir dir;
  WriteFile(dir / "utf8", "甲乙");
  std::string bom16 = "\xFF\xFE";
  bom16 += Utf16Le("甲乙");
  WriteFile(dir / "bom16", bom16);
  WriteFile(dir / "big5", Big5("甲乙"));
  struct Row {
    std::string name;
    std::vector<std::string> sources;
    std::array<EncodingChoice, 3> choices;
    std::array<Encoding, 3> expected;
  };
  constexpr auto kAuto = EncodingChoice::kAuto;
  const std::vector<Row> rows = {
      {"three detected",
       {"utf8", "bom16", "big5"},
       {kAuto, kAuto, kAuto},
       {Encoding::kUtf8, Encoding::kUtf16Le, Encoding::kBig5}},
      {"named wins over detection; the third is unused",
       {"utf8", "utf8"},
       {EncodingChoice::kBig5, EncodingChoice::kUtf16Be, kAuto},
       {Encoding::kBig5, Encoding::kUtf16Be, Encoding::kBig5}},
      {"a missing source is big5, and the run fails",
       {"big5", "none"},
       {kAuto, kAuto, kAuto},
       {Encoding::kBig5, Encoding::kBig5, Encoding::kBig5}},
  };
  NotationTable notations;
  RecordingHost host;
  ComparisonRun run(host, notations);  // one run object for all rows
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RunOptions options;
    options.three_files = row.sources.size() == 3;
    for (std::size_t k = 0; k < row.sources.size(); ++k) {
      options.sources[k] = dir / row.sources[k];
      options.results[k] = dir / "r";
      options.results[k] += std::to_string(k);
    }
    options.difference = dir / "d";
    options.encodings = row.choices;
    EXPECT_EQ(run.RunComparison(options).encodings, row.expected);
  }
}

}  // namespace
}  // namespace tessel::testing

namespace tessel::testing {
namespace {

// An opener that starts no notation, near the end of the reading buffer:
// looking for its closer moves the buffer, and the opener must still be
// written as itself.
TEST(UnicodeRunOpener, NearTheBufferEdgeIsWrittenAsItself) {
  constexpr std::size_t kBuffer = 64 * 1024;
  for (std::size_t before : {kBuffer - 100, kBuffer - 200, kBuffer - 390}) {
    SCOPED_TRACE("opener at " + std::to_string(before));
    const std::string source =
        std::string(before, 'x') + "&甲乙丙丁戊己庚辛壬癸&[子丑寅卯" + "\n";
    TempDir dir;
    RunOptions options;
    SetTwoSourceRun(options, dir, source, source);
    NotationTable notations;
    RecordingHost host;
    ComparisonRun run(host, notations);
    EXPECT_EQ(run.RunComparison(options).diff_count, 0);
    EXPECT_TRUE(ReadFile(dir / "r1") == source);
  }
}

}  // namespace
}  // namespace tessel::testing

namespace tessel::testing {
namespace {

struct SignCase {
  std::string name;
  std::string source1, source2;
  std::string sign_file;  // used when not empty
  std::string memo;       // used when not empty
  Encoding memo_encoding = Encoding::kBig5;
  bool fold = true;
};

class UnicodeSignTest : public ::testing::TestWithParam<SignCase> {};

// Every row's sources differ only in symbols its sign file or memo ignores.
TEST_P(UnicodeSignTest, IgnoresTheSymbolsInAnyEncoding) {
  const SignCase& c = GetParam();
  TempDir dir;
  RunOptions options;
  SetTwoSourceRun(options, dir, c.source1, c.source2);
  options.fold_notations = c.fold;
  if (!c.sign_file.empty()) {
    WriteFile(dir / "sign", c.sign_file);
    options.use_sign_file = true;
    options.sign_file = dir / "sign";
  }
  if (!c.memo.empty()) {
    options.use_sign_memo = true;
    options.sign_memo = c.memo;
    options.sign_memo_encoding = c.memo_encoding;
  }
  NotationTable notations;
  RecordingHost host;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(options);
  EXPECT_EQ(status.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(status.diff_count, 0);
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")), BytesText(c.source1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeSignTest,
    ::testing::Values(SignCase{"Big5RunSpellsWhatBig5LacksInAUtf8SignFile",
                               Big5("甲，") + "&x-4BB6;" + Big5("乙"),
                               Big5("甲乙"), "，䮶\n", ""},
                      SignCase{"Big5RunLeavesOutWhatBig5LacksWithoutFolding",
                               Big5("甲，乙"), Big5("甲乙"), "\xEF\xBB\xBF䮶，",
                               "", Encoding::kBig5, false},
                      SignCase{"Big5RunTakesAUtf8Memo", Big5("甲，乙"),
                               Big5("甲乙"), "", "，\r\n", Encoding::kUtf8},
                      SignCase{"UnicodeRunTakesTheBig5Defaults", "甲 乙　丙1",
                               "甲乙丙", "", std::string(kDefaultSigns)},
                      SignCase{"NotationInASignFileIgnoresItsCharacter",
                               "甲䮶乙", "甲乙", "&#x4BB6;", ""},
                      SignCase{"NulInAUnicodeSignFileHidesNothing", "甲，乙",
                               "甲乙",
                               "\xEF\xBB\xBF"
                               "a\x00，"s,
                               ""}),
    [](const ::testing::TestParamInfo<SignCase>& info) {
      return info.param.name;
    });

}  // namespace
}  // namespace tessel::testing
