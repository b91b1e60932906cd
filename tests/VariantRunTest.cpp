// Whole runs with variant tables: variants agree in the walk and in the
// search, are counted and handed on, and a table at fault refuses the run
// before any output is touched.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComparisonRun.h"
#include "FileTexts.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

// Big5 characters. 裏 (F9D8) and 裡 (B8CC) are semantic variants; 甲 and 丁
// are joined only by the test's own table file.
const std::string kJia = "\xA5\xD2";      // 甲
const std::string kYi = "\xA4\x41";       // 乙
const std::string kBing = "\xA4\xFE";     // 丙
const std::string kDing = "\xA4\x42";     // 丁
const std::string kWu = "\xA5\xB3";       // 戊
const std::string kJi = "\xA4\x76";       // 己
const std::string kLiOld = "\xF9\xD8";    // 裏
const std::string kLiNew = "\xB8\xCC";    // 裡
const std::string kOwnTable = "甲 丁\n";  // UTF-8, as a user writes it

const std::string kEnd = BytesText(OnDisk(file_texts::kEndLine));

std::string VariantLine(int count) {
  return BytesText(OnDisk(std::string(file_texts::kVariantCountStart) +
                          std::to_string(count) +
                          std::string(file_texts::kVariantCountEnd) + "\n"));
}

class Recorder : public VariantSink {
 public:
  void Variant(const VariantMet& v) override { met.push_back(v); }
  std::vector<VariantMet> met;
};

class VariantRunTest : public ::testing::Test {
 protected:
  void Sources(const std::vector<std::string>& texts) {
    RunOptions& o = host_.options;
    o.three_files = texts.size() == 3;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const std::string n = std::to_string(k + 1);
      WriteFile(dir_ / ("s" + n), texts[k]);
      o.sources[k] = dir_ / ("s" + n);
      o.results[k] = dir_ / ("r" + n);
    }
    o.difference = dir_ / "d";
    WriteFile(dir_ / "own.txt", kOwnTable);
  }
  void Tables(const std::string& list) { host_.options.variant_tables = list; }
  RunStatus Run() {
    ComparisonRun run(host_, notations_);
    run.SetVariantSink(&recorder_);
    return run.RunComparison(host_.options);
  }
  std::string Out(const std::string& name) {
    return BytesText(ReadFile(dir_ / name));
  }

  TempDir dir_;
  NotationTable notations_;
  RecordingHost host_;
  Recorder recorder_;
};

struct WholeCase {
  const char* name;
  std::vector<std::string> sources;
  std::string tables;  // "own" stands for the test's table file
  std::string result1;
  std::string difference;
  int variants;
  int differences;
};

class VariantWholeRunTest : public VariantRunTest,
                            public ::testing::WithParamInterface<WholeCase> {};

TEST_P(VariantWholeRunTest, WritesTheFilesAndCounts) {
  const WholeCase& c = GetParam();
  Sources(c.sources);
  Tables(c.tables == "own" ? (dir_ / "own.txt").string() : c.tables);
  const RunStatus status = Run();
  EXPECT_EQ(status.outcome, RunOutcome::kCompleted) << c.name;
  EXPECT_EQ(Out("r1"), BytesText(c.result1)) << c.name;
  EXPECT_EQ(Out("d"), c.difference) << c.name;
  EXPECT_EQ(status.variant_count, c.variants) << c.name;
  EXPECT_EQ(status.diff_count, c.differences) << c.name;
  EXPECT_EQ(recorder_.met.size(), static_cast<std::size_t>(c.variants))
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantWholeRunTest,
    ::testing::Values(
        WholeCase{"VariantNeverOpensADifference",
                  {kJia + kLiOld + kYi, kJia + kLiNew + kYi},
                  "semantic",
                  kJia + kLiOld + kYi,
                  kEnd + VariantLine(1),
                  1,
                  0},
        // Without the table, 戊 丁 乙 丙 is no anchor of four and the run
        // would be cut off; 甲 and 丁 as one character make it one.
        WholeCase{
            "VariantInsideAnAnchorStillAnchors",
            {kBing + kWu + kJia + kYi + kBing + "AB",
             kJi + kWu + kDing + kYi + kBing + "AB"},
            "own",
            "{{" + kBing + "||" + kJi + "}}" + kWu + kJia + kYi + kBing + "AB",
            BytesText(Lines(1, 1)) +
                BytesText(Pad(kBing) + ", " + kJi + "\r\n") + kEnd +
                VariantLine(1),
            1,
            1},
        WholeCase{"TableWithoutVariantsChangesOnlyTheCountLine",
                  {"ABCDEFGHIJ", "AXCDEFGHIJ"},
                  "semantic",
                  "A{{B||X}}CDEFGHIJ",
                  BytesText(Lines(1, 1)) + BytesText(Pad("B") + ", X\r\n") +
                      kEnd + VariantLine(0),
                  0,
                  1},
        WholeCase{
            "ThreeSourcesCountAPlaceOnce",
            {kJia + kLiOld + kYi, kJia + kLiNew + kYi, kJia + kLiOld + kYi},
            "semantic",
            kJia + kLiOld + kYi,
            kEnd + VariantLine(1),
            1,
            0},
        // A notation that names a character is that character.
        WholeCase{"NotationNamingAVariant",
                  {kJia + "&x-88CF;" + kYi, kJia + kLiNew + kYi},
                  "semantic",
                  kJia + "&x-88CF;" + kYi,
                  kEnd + VariantLine(1),
                  1,
                  0},
        WholeCase{"NotationNamingNoCharacterStaysADifference",
                  {kJia + "[xx]" + kYi + "ABCD", kJia + kLiNew + kYi + "ABCD"},
                  "semantic",
                  kJia + "{{[xx]||" + kLiNew + "}}" + kYi + "ABCD",
                  BytesText(Lines(1, 1)) +
                      BytesText(Pad("[xx]") + ", " + kLiNew + "\r\n") + kEnd +
                      VariantLine(0),
                  0,
                  1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VariantRunTest, SinkGetsThePlaceAndTheCharacters) {
  Sources({"A\n" + kJia + kLiOld, "A\n\n" + kJia + kLiNew});
  Tables("semantic");
  Run();
  ASSERT_EQ(recorder_.met.size(), 1u);
  const VariantMet& v = recorder_.met[0];
  EXPECT_EQ(v.lines[0], 2);
  EXPECT_EQ(v.lines[1], 3);
  EXPECT_EQ(v.offsets[0], 4);
  EXPECT_EQ(v.offsets[1], 5);
  EXPECT_EQ(v.characters[0], U'裏');
  EXPECT_EQ(v.characters[1], U'裡');
}

TEST_F(VariantRunTest, CutOffRunWritesTheCountAfterTheClosingLines) {
  Sources({kLiOld + "A" + kJia, kLiNew + "B" + kDing});
  Tables("semantic");
  host_.options.diff_limit = 1;
  const RunStatus status = Run();
  EXPECT_EQ(status.outcome, RunOutcome::kCutOffLimit);
  const std::string d = Out("d");
  EXPECT_TRUE(d.ends_with("======\\r\\n" + VariantLine(1))) << d;
}

// The shortcuts of fast mode compare bytes only; a variant must still
// agree, be counted once, and leave the files as the slow walk writes them.
TEST_F(VariantRunTest, FastModeWritesWhatTheSlowWalkWrites) {
  std::string a, b;
  for (int i = 0; i < 300; ++i) {
    const std::string line = "ABCDEFGH" + kJia + kYi;
    a += line + kLiOld + (i % 7 == 0 ? "X" : "") + "\n";
    b += line + kLiNew + "\n";
  }
  Sources({a, b});
  Tables("semantic");
  const RunStatus slow = Run();
  const std::string slow_r1 = Out("r1"), slow_r2 = Out("r2"), slow_d = Out("d");
  host_.fast = true;
  recorder_.met.clear();
  const RunStatus fast = Run();
  EXPECT_EQ(slow.variant_count, 300);
  EXPECT_EQ(fast.variant_count, slow.variant_count);
  EXPECT_EQ(fast.diff_count, slow.diff_count);
  EXPECT_EQ(Out("r1"), slow_r1);
  EXPECT_EQ(Out("r2"), slow_r2);
  EXPECT_EQ(Out("d"), slow_d);
}

struct BadTableCase {
  const char* name;
  std::string table_bytes;  // written to bad.txt; the list names it
  std::string list_suffix;  // added after the file's name
  VariantTableError::Kind kind;
  std::size_t line;
};

class BadTableTest : public VariantRunTest,
                     public ::testing::WithParamInterface<BadTableCase> {};

TEST_P(BadTableTest, RefusesTheRunBeforeAnyOutputIsTouched) {
  const BadTableCase& c = GetParam();
  Sources({"AB", "AC"});
  WriteFile(dir_ / "r1", "earlier result");
  WriteFile(dir_ / "bad.txt", c.table_bytes);
  const std::string name = (dir_ / "bad.txt").string();
  Tables("z," + name + c.list_suffix);
  const RunStatus status = Run();
  EXPECT_EQ(status.outcome, RunOutcome::kFailed) << c.name;
  ASSERT_EQ(status.errors.size(), 1u) << c.name;
  EXPECT_EQ(status.errors[0].kind, RunErrorKind::kVariantTable) << c.name;
  EXPECT_EQ(status.variant_table.kind, c.kind) << c.name;
  EXPECT_EQ(status.variant_table.line, c.line) << c.name;
  if (c.kind != VariantTableError::Kind::kEmptyName) {
    EXPECT_EQ(status.variant_table.file, name + c.list_suffix) << c.name;
  }
  EXPECT_EQ(ReadFile(dir_ / "r1"), "earlier result") << c.name;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "r2")) << c.name;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "d")) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadTableTest,
    ::testing::Values(BadTableCase{"ControlCharacter", "甲 丁\n\x01\n", "",
                                   VariantTableError::Kind::kControlCharacter,
                                   2},
                      BadTableCase{"NeitherUtf8NorBig5",
                                   "# ok\n\xA4\x41 \x80\n", "",
                                   VariantTableError::Kind::kBadEncoding, 2},
                      BadTableCase{"EmptyItem", "甲 丁\n", ",",
                                   VariantTableError::Kind::kEmptyName, 0},
                      BadTableCase{"Missing", "", "-missing",
                                   VariantTableError::Kind::kCannotRead, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessel::testing
