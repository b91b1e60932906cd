// The command line of tessel-cli: what it accepts and refuses, and what a
// user sees from a real process.

#include "CommandLine.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <algorithm>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

using cli::CommandLine;
using cli::ParseCommandLine;

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line + " ") {
    if (c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

struct RefusedCase {
  std::string name;
  std::string args;
  std::string error;
};

class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, SaysWhy) {
  const CommandLine line = ParseCommandLine(Words(GetParam().args));
  EXPECT_EQ(line.action, CommandLine::Action::kUsageError) << GetParam().args;
  EXPECT_EQ(line.error, GetParam().error) << GetParam().args;
}

const std::string kTwo = " a b --result ra --result rb --diff d";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTest,
    ::testing::Values(
        RefusedCase{"one source", "a --result ra --diff d",
                    "give two or three sources"},
        RefusedCase{"four sources", "a b c d --diff d",
                    "give two or three sources"},
        RefusedCase{"one result for two sources", "a b --result ra --diff d",
                    "give one --result for each source, in source order"},
        RefusedCase{"no difference file", "a b --result ra --result rb",
                    "give the difference file with --diff"},
        RefusedCase{"a report with results but no difference file",
                    "a b --result ra --result rb --html h",
                    "give the difference file with --diff"},
        RefusedCase{"a report with the difference file alone",
                    "a b --diff d --json j",
                    "give one --result for each source, in source order"},
        RefusedCase{"a report twice", kTwo + " --tei t --tei u",
                    "--tei given twice"},
        RefusedCase{"unknown option", "--bogus" + kTwo,
                    "unknown option --bogus"},
        RefusedCase{"value for an unknown option", "--bogus=1" + kTwo,
                    "option --bogus takes no value"},
        RefusedCase{"result given as the last word", kTwo + " --result",
                    "option --result needs a value"},
        RefusedCase{"difference file twice", kTwo + " --diff e",
                    "--diff given twice"},
        RefusedCase{"memo file twice", kTwo + " --sign-memo m --sign-memo n",
                    "--sign-memo given twice"},
        RefusedCase{"option without its value", kTwo + " --window",
                    "option --window needs a value"},
        RefusedCase{"value for a flag", kTwo + " --quiet=1",
                    "option --quiet takes no value"},
        RefusedCase{"sign file with default symbols",
                    kTwo + " --sign-file s --default-signs",
                    "--sign-file cannot be combined with --sign-memo or "
                    "--default-signs"},
        RefusedCase{"window not a number", kTwo + " --window abc",
                    "最大比對數字該欄必需為數字!"},
        RefusedCase{"window below 2", kTwo + " --window 1",
                    "最大比對數字該欄必需介於 2 ~ 65535 之間!"},
        RefusedCase{"window above 65535", kTwo + " --window 65536",
                    "最大比對數字該欄必需介於 2 ~ 65535 之間!"},
        RefusedCase{"limit not a number", kTwo + " --max-diff 1e3",
                    "最大差異數字該欄必需為數字!"},
        RefusedCase{"auto below its least", kTwo + " --window auto:99",
                    "--window auto:MAX takes MAX from 100 to 16777216"},
        RefusedCase{"auto above its most", kTwo + " --window auto:16777217",
                    "--window auto:MAX takes MAX from 100 to 16777216"},
        RefusedCase{"auto with an empty max", kTwo + " --window auto:",
                    "--window auto:MAX takes MAX from 100 to 16777216"},
        RefusedCase{"auto run on", kTwo + " --window autox",
                    "--window auto:MAX takes MAX from 100 to 16777216"},
        RefusedCase{"variants twice", kTwo + " --variants z --variants forms",
                    "--variants given twice"},
        RefusedCase{"variants empty",
                    kTwo + " --variants=", "--variants needs a table"}),
    [](const auto& info) { return RowName(info.param.name); });

TEST(CommandLineTest, ReadsTheGrowingLookAhead) {
  struct Row {
    std::string window;
    std::int32_t max_window;
  };
  // A Unicode run takes it as a Big5 run does.
  for (const Row& row : {Row{"auto", 1048576}, Row{"auto:100", 100},
                         Row{"auto:16777216", 16777216}, Row{"auto:5000", 5000},
                         Row{"auto --unicode", 1048576},
                         Row{"auto:400 --encoding utf-8,big5", 400}}) {
    const CommandLine line =
        ParseCommandLine(Words("--window " + row.window + kTwo));
    ASSERT_EQ(line.action, CommandLine::Action::kRun) << row.window;
    EXPECT_TRUE(line.options.auto_window) << row.window;
    EXPECT_EQ(line.options.max_window, row.max_window) << row.window;
  }
  const CommandLine fixed = ParseCommandLine(Words("--window 300" + kTwo));
  EXPECT_FALSE(fixed.options.auto_window);
  EXPECT_EQ(fixed.options.window_size, 300);
}

TEST(CommandLineTest, ReadsEveryOption) {
  const CommandLine line = ParseCommandLine(
      Words("--no-fold --window=$40 a --max-diff -3 b c --result ra --result "
            "rb --result rc --diff d --sign-memo m --default-signs --quiet"));
  ASSERT_EQ(line.action, CommandLine::Action::kRun) << line.error;
  const RunOptions& o = line.options;
  EXPECT_TRUE(o.three_files);
  EXPECT_FALSE(o.fold_notations);
  EXPECT_EQ(o.window_size, 64);
  EXPECT_EQ(o.diff_limit, -3);
  EXPECT_EQ(o.sources[2], "c");
  EXPECT_EQ(o.results[2], "rc");
  EXPECT_EQ(o.difference, "d");
  EXPECT_TRUE(o.use_sign_memo);
  EXPECT_FALSE(o.use_sign_file);
  EXPECT_EQ(o.other_inputs, std::vector<std::filesystem::path>{"m"});
  EXPECT_TRUE(line.default_signs);
  EXPECT_TRUE(line.quiet);
}

TEST(CommandLineTest, IgnoreBetweenTakesTwoValuesInBig5) {
  const CommandLine line = ParseCommandLine(
      Words("a --ignore-between ( ) b --ignore-between=（ ） --result ra "
            "--result rb --diff d --variants z,semantic"));
  ASSERT_EQ(line.action, CommandLine::Action::kRun) << line.error;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"(", ")"}, {"\xA1\x5D", "\xA1\x5E"}};
  EXPECT_EQ(line.options.ignore_between, expected);
  EXPECT_EQ(line.options.sources[1], "b");
  EXPECT_EQ(line.options.variant_tables, "z,semantic");
}

// Both work in Unicode runs too; --notes takes only "unordered", once.
TEST(CommandLineTest, NotesAndIgnoredStretchesInAnyRun) {
  const CommandLine line = ParseCommandLine(
      Words("a b --result ra --result rb --diff d --encoding utf-16le "
            "--ignore-between ( ) --notes unordered"));
  ASSERT_EQ(line.action, CommandLine::Action::kRun) << line.error;
  EXPECT_TRUE(line.options.notes_unordered);
  EXPECT_EQ(line.options.ignore_between.size(), 1u);
  EXPECT_FALSE(ParseCommandLine(Words("a b --result ra --result rb --diff d"))
                   .options.notes_unordered);
  for (const char* words :
       {"a b --result ra --result rb --diff d --notes ordered",
        "a b --result ra --result rb --diff d --notes unordered --notes "
        "unordered"}) {
    EXPECT_EQ(ParseCommandLine(Words(words)).action,
              CommandLine::Action::kUsageError)
        << words;
  }
}

TEST(CommandLineTest, DefaultsAndNamesThatLookLikeOptions) {
  const CommandLine line =
      ParseCommandLine({"--result", "-r1", "--result", "-r2", "--diff", "-d",
                        "--", "-a", "--b"});
  ASSERT_EQ(line.action, CommandLine::Action::kRun) << line.error;
  EXPECT_EQ(line.options.sources[0], "-a");
  EXPECT_EQ(line.options.sources[1], "--b");
  EXPECT_EQ(line.options.results[0], "-r1");
  EXPECT_FALSE(line.options.three_files);
  EXPECT_TRUE(line.options.fold_notations);
  EXPECT_FALSE(line.options.use_sign_file || line.options.use_sign_memo);
  EXPECT_EQ(line.options.window_size, 100);
  EXPECT_EQ(line.options.diff_limit, 2147483647);
}

TEST(CommandLineTest, ReportsAloneSendTheOtherOutputsToTheNullDevice) {
  const CommandLine line =
      ParseCommandLine({"--html", "h", "a", "b", "c", "--json", "j"});
  ASSERT_EQ(line.action, CommandLine::Action::kRun) << line.error;
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(line.options.results[k], cli::NullDevice());
  EXPECT_EQ(line.options.difference, cli::NullDevice());
  EXPECT_EQ(line.options.report_outputs,
            (std::vector<std::filesystem::path>{"h", "j"}));
  EXPECT_FALSE(line.reports.tei.has_value());
}

TEST(CommandLineTest, TakesReportsInAUnicodeRun) {
  struct Row {
    std::string words;
    std::vector<std::filesystem::path> reports;
  };
  for (const Row& row :
       {Row{kTwo + " --encoding big5,utf-8 --json j --html h --tei t",
            {"h", "j", "t"}},
        Row{kTwo + " --unicode --tei t", {"t"}}}) {
    const CommandLine line = ParseCommandLine(Words(row.words));
    ASSERT_EQ(line.action, CommandLine::Action::kRun) << row.words;
    EXPECT_EQ(line.options.report_outputs, row.reports) << row.words;
  }
}

class CliProcessTest : public ::testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    return RunProcess(CliPath(), args, dir_.path());
  }
  TempDir dir_;
};

TEST_F(CliProcessTest, ReportsHowTheRunEnded) {
  WriteFile(dir_ / "a", "ABCDEFGHIJKLMN");
  WriteFile(dir_ / "b", "AXCDEFGHIJKLMN");
  const std::vector<std::string> outs = {"--result", "ra",     "--result",
                                         "rb",       "--diff", "d"};
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.end(), outs.begin(), outs.end());
    return args;
  };

  ProcessResult same = Cli(with({"a", "a"}));
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "differences: 0\n");

  ProcessResult different = Cli(with({"a", "b"}));
  EXPECT_EQ(different.status, 1);
  EXPECT_EQ(different.out, "differences: 1\n");
  EXPECT_EQ(different.err, "");

  ProcessResult cut = Cli(with({"--window", "3", "a", "b"}));
  EXPECT_EQ(cut.status, 3);
  EXPECT_EQ(cut.out, "differences: 1\n");
  EXPECT_EQ(cut.err,
            "tessel-cli: cut off: no common stretch within the look-ahead of "
            "3 characters; try --window auto\n");

  ProcessResult limited = Cli(with({"--max-diff", "0", "a", "b"}));
  EXPECT_EQ(limited.status, 3);
  EXPECT_NE(limited.err.find("limit of 0 differences"), std::string::npos);

  ProcessResult missing = Cli(with({"a", "nothing"}));
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "tessel-cli: 錯誤 : nothing 檔案開啟失敗.\n");

  ProcessResult full = Cli(
      {"a", "b", "--result", "ra", "--result", "rb", "--diff", "/dev/full"});
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.out, "");
  EXPECT_EQ(full.err, "tessel-cli: 錯誤 : /dev/full 檔案寫入失敗.\n");

  ProcessResult memo_clash = Cli({"a", "b", "--sign-memo", "ra", "--result",
                                  "ra", "--result", "rb", "--diff", "d"});
  EXPECT_EQ(memo_clash.status, 2);
  EXPECT_EQ(memo_clash.err,
            "tessel-cli: 錯誤 : ra 與來源檔或其他輸出檔相同, 不可覆蓋.\n");

  ProcessResult usage = Cli({"a"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "");
}

// The folder's files but the sources, sorted.
std::vector<std::string> Outputs(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name != "a" && name != "b") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(CliProcessTest, WritesReportsUnderTheSafetyRulesOfEveryOutput) {
  WriteFile(dir_ / "a", "ABCDEFGHIJKLMN");
  WriteFile(dir_ / "b", "AXCDEFGHIJKLMN");
  const std::vector<std::string> reports = {"--html", "h",     "--json",
                                            "j",      "--tei", "t"};
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.end(), reports.begin(), reports.end());
    return args;
  };

  ProcessResult alone = Cli(with({"a", "b"}));
  EXPECT_EQ(alone.status, 1) << alone.err;
  EXPECT_EQ(alone.out, "differences: 1\n");
  EXPECT_EQ(Outputs(dir_.path()), (std::vector<std::string>{"h", "j", "t"}));
  const std::string json = ReadFile(dir_ / "j");
  EXPECT_EQ(json.substr(json.rfind("\n\"end\"")),
            "\n\"end\":{\"outcome\":\"completed\",\"differences\":1,"
            "\"lines\":[1,1],\"ended\":[true,true]}}\n");

  // A device is written as it is, never replaced; a full one fails.
  ProcessResult device = Cli({"a", "b", "--html", "/dev/null"});
  EXPECT_EQ(device.status, 1) << device.err;
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  ProcessResult full = Cli({"a", "b", "--json", "/dev/full"});
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.err, "tessel-cli: 錯誤 : /dev/full 檔案寫入失敗.\n");

  // Refused runs: the reports' old contents stay, and nothing else is made.
  WriteFile(dir_ / "h", "old");
  struct Refused {
    const char* name;
    std::vector<std::string> args;
    std::string err;
  };
  const Refused refused[] = {
      {"report names a source",
       {"a", "b", "--json", "a"},
       "tessel-cli: 錯誤 : a 與來源檔或其他輸出檔相同, 不可覆蓋.\n"},
      {"report names a result",
       {"a", "b", "--result", "r1", "--result", "r2", "--diff", "d", "--tei",
        "r2"},
       "tessel-cli: 錯誤 : r2 與來源檔或其他輸出檔相同, 不可覆蓋.\n"},
      {"two reports alike",
       {"a", "b", "--html", "h", "--tei", "h"},
       "tessel-cli: 錯誤 : h 與來源檔或其他輸出檔相同, 不可覆蓋.\n"},
      {"report in no folder",
       {"a", "b", "--html", "none/h"},
       "tessel-cli: 錯誤 : none/h 檔案開啟失敗.\n"},
      {"a source missing",
       {"a", "c", "--html", "h"},
       "tessel-cli: 錯誤 : c 檔案開啟失敗.\n"},
  };
  for (const Refused& r : refused) {
    const ProcessResult run = Cli(r.args);
    EXPECT_EQ(run.status, 2) << r.name;
    EXPECT_EQ(run.err, r.err) << r.name;
    EXPECT_EQ(ReadFile(dir_ / "h"), "old") << r.name;
    EXPECT_EQ(ReadFile(dir_ / "a"), "ABCDEFGHIJKLMN") << r.name;
    EXPECT_EQ(Outputs(dir_.path()), (std::vector<std::string>{"h", "j", "t"}))
        << r.name;
  }
}

// 裏 (F9D8) and 裡 (B8CC) are semantic variants: a table makes them agree,
// and the count follows the difference count.
TEST_F(CliProcessTest, CountsVariantsAndNamesATableAtFault) {
  WriteFile(dir_ / "a",
            "A\xF9\xD8"
            "BCDEFG");
  WriteFile(dir_ / "b",
            "A\xB8\xCC"
            "XCDEFG");
  WriteFile(dir_ / "bad.txt", "# taboo\n玄 \x01\n");
  const std::vector<std::string> outs = {"--result", "ra",     "--result",
                                         "rb",       "--diff", "d"};
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.end(), outs.begin(), outs.end());
    return args;
  };
  ProcessResult plain = Cli(with({"a", "b"}));
  EXPECT_EQ(plain.out, "differences: 1\n");

  ProcessResult semantic = Cli(with({"--variants", "semantic", "a", "b"}));
  EXPECT_EQ(semantic.status, 1);
  EXPECT_EQ(semantic.out, "differences: 1\nvariants: 1\n");

  WriteFile(dir_ / "d", "kept");
  ProcessResult bad = Cli(with({"--variants", "z,bad.txt", "a", "b"}));
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err,
            "tessel-cli: 錯誤 : 異體字表 bad.txt 第 2 行 含有控制字元.\n");
  EXPECT_EQ(ReadFile(dir_ / "d"), "kept");
}

TEST_F(CliProcessTest, InterruptStopsTheRunAndKeepsTheFiles) {
  // A passage of 900,000 characters that one edition lacks keeps a
  // growing look-ahead busy for seconds (14 s on a 2-core machine; 180,000
  // took half a second once far anchors were remembered, too close to the
  // interrupt): each of its lines is a difference whose anchor lies beyond
  // the rest of the passage.
  std::string a, b;
  std::uint32_t seed = 12345;
  for (int i = 1; i <= 1'000'000; ++i) {
    seed = seed * 1103515245 + 12345;
    const char c = static_cast<char>('A' + (seed >> 16) % 26);
    const bool kept = i <= 50'000 || i > 950'000;
    a += c;
    if (kept) b += c;
    if (i % 50 == 0) {
      a += '\n';
      if (kept) b += '\n';
    }
  }
  WriteFile(dir_ / "a", a);
  WriteFile(dir_ / "b", b);
  const ProcessResult run =
      RunProcess(CliPath(),
                 {"--quiet", "--window", "auto", "a", "b", "--result", "ra",
                  "--result", "rb", "--diff", "d", "--json", "j"},
                 dir_.path(), /*interrupt_after_ms=*/300);
  ASSERT_EQ(run.status, 130) << run.err;
  EXPECT_EQ(run.err, "tessel-cli: 被中斷了 !\n");
  EXPECT_EQ(run.out, "");
  // What was written stays; no closing lines, no end line.
  const std::string d = ReadFile(dir_ / "d");
  EXPECT_EQ(d.substr(d.size() - 2), "\r\n");
  EXPECT_EQ(d.find("===="), std::string::npos);
  // The report is whole, and says the run was stopped.
  const std::string json = ReadFile(dir_ / "j");
  EXPECT_NE(json.find("\n\"end\":{\"outcome\":\"stopped\""), std::string::npos);
  EXPECT_EQ(json.substr(json.size() - 3), "}}\n");
}

}  // namespace
}  // namespace tessel::testing
