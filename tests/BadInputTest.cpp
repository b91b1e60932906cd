// Bad input through tessel-cli, as a new user would give it: each case
// wants a clear message, the right exit status, no damaged file, and an
// end within a bound that only a hang exceeds.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FileTexts.h"
#include "NotationTable.h"
#include "RoundTrip.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

constexpr int kSmallBoundMs = 60'000;
constexpr int kBigBoundMs = 600'000;

const std::string kEnd = OnDisk(file_texts::kEndLine);

// The closing lines of a result file, every source at line 1. The
// difference file has them too, with its own line ends.
std::string Closing(const std::vector<std::string>& names, bool ended,
                    const std::string& line_end = "\r\n") {
  std::string text = line_end + line_end;
  for (const std::string& name : names) {
    text += std::string(file_texts::kClosingStart) + name +
            std::string(file_texts::kClosingMiddle) + "1" +
            std::string(ended ? file_texts::kClosingEnded
                              : file_texts::kClosingInterrupted) +
            line_end;
  }
  return text;
}

class BadInputTest : public ::testing::Test {
 protected:
  // Writes a file the run must leave as it is.
  void Keep(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / name, bytes);
    kept_[name] = bytes;
  }
  void ExpectKept(const std::string& input) {
    for (const auto& [name, bytes] : kept_) {
      EXPECT_TRUE(ReadFile(dir_ / name) == bytes)
          << input << ": " << name << " changed";
    }
  }
  ProcessResult Cli(const std::vector<std::string>& args,
                    int bound_ms = kSmallBoundMs) {
    return RunProcess(CliPath(), args, dir_.path(), -1, bound_ms);
  }
  bool Exists(const std::string& name) {
    return std::filesystem::exists(dir_ / name);
  }
  // The round trip of result file `result` against source `source`.
  std::string RoundTrip(const std::string& source, const std::string& result,
                        int own, RunEnd end,
                        const std::vector<std::string>& names) {
    const std::string source_bytes = ReadFile(dir_ / source);
    const std::string result_bytes = ReadFile(dir_ / result);
    RoundTripCase c;
    c.source = source_bytes;
    c.result = result_bytes;
    c.own = own;
    c.end = end;
    c.names = names;
    NotationTable notations;
    return CheckRoundTrip(c, notations);
  }

  TempDir dir_;
  std::map<std::string, std::string> kept_;
};

struct RefusedCase {
  std::string name;
  std::vector<std::string> args;
  std::string err;
};

std::ostream& operator<<(std::ostream& out, const RefusedCase& c) {
  out << c.name << ":";
  for (const std::string& arg : c.args) out << " " << arg;
  return out;
}

class RefusedRunTest : public BadInputTest,
                       public ::testing::WithParamInterface<RefusedCase> {};

// Refused before any output is opened: nothing is created or emptied.
TEST_P(RefusedRunTest, SaysWhyAndTouchesNothing) {
  const RefusedCase& c = GetParam();
  Keep("a", "ABC");
  Keep("b", "ABD");
  Keep("c", "ABE");
  Keep("ra", "old result a");
  Keep("rb", "old result b");
  Keep("sign", ",");
  std::filesystem::create_directory(dir_ / "folder");
  const ProcessResult run = Cli(c.args);
  EXPECT_EQ(run.status, 2) << c;
  EXPECT_EQ(run.out, "") << c;
  EXPECT_EQ(run.err, "tessel-cli: " + c.err + "\n") << c;
  ExpectKept(c.name);
  EXPECT_FALSE(Exists("d")) << c;
  EXPECT_FALSE(Exists("rc")) << c;
}

const std::string kClash = " 與來源檔或其他輸出檔相同, 不可覆蓋.";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedRunTest,
    ::testing::Values(
        RefusedCase{"missing third source",
                    {"a", "b", "nothing", "--result", "ra", "--result", "rb",
                     "--result", "rc", "--diff", "d"},
                    "錯誤 : nothing 檔案開啟失敗."},
        RefusedCase{
            "folder as source",
            {"folder", "b", "--result", "ra", "--result", "rb", "--diff", "d"},
            "錯誤 : folder 檔案開啟失敗."},
        RefusedCase{"folder as sign file",
                    {"--sign-file", "folder", "a", "b", "--result", "ra",
                     "--result", "rb", "--diff", "d"},
                    "錯誤 : folder檔案開啟失敗."},
        RefusedCase{
            "result is a source",
            {"a", "b", "--result", "ra", "--result", "a", "--diff", "d"},
            "錯誤 : a" + kClash},
        RefusedCase{"difference file is a source by another path",
                    {"a", "b", "--result", "ra", "--result", "rb", "--diff",
                     "./folder/../b"},
                    "錯誤 : ./folder/../b" + kClash},
        RefusedCase{
            "two results are one file",
            {"a", "b", "--result", "ra", "--result", "./ra", "--diff", "d"},
            "錯誤 : ./ra" + kClash},
        RefusedCase{
            "difference file is a result",
            {"a", "b", "--result", "ra", "--result", "rb", "--diff", "rb"},
            "錯誤 : rb" + kClash},
        // A memo file is read whole before the run: a folder, or a file
        // whose read fails part way, is refused as not openable.
        RefusedCase{"folder as memo file",
                    {"--sign-memo", "folder", "a", "b", "--result", "ra",
                     "--result", "rb", "--diff", "d"},
                    "錯誤 : folder 檔案開啟失敗."},
        RefusedCase{"unreadable memo file",
                    {"--sign-memo", "/proc/self/mem", "a", "b", "--result",
                     "ra", "--result", "rb", "--diff", "d"},
                    "錯誤 : /proc/self/mem 檔案開啟失敗."},
        // Read up to a bound: an endless device is refused, not read
        // forever into memory.
        RefusedCase{"endless memo file",
                    {"--sign-memo", "/dev/zero", "a", "b", "--result", "ra",
                     "--result", "rb", "--diff", "d"},
                    "錯誤 : /dev/zero 檔案過大 (至多 16 MiB)."},
        RefusedCase{"endless sign file",
                    {"--sign-file", "/dev/zero", "a", "b", "--result", "ra",
                     "--result", "rb", "--diff", "d"},
                    "錯誤 : /dev/zero 檔案過大 (至多 16 MiB)."},
        RefusedCase{"endless sign file in a Unicode run",
                    {"--unicode", "--sign-file", "/dev/zero", "a", "b",
                     "--result", "ra", "--result", "rb", "--diff", "d"},
                    "錯誤 : /dev/zero 檔案過大 (至多 16 MiB)."},
        RefusedCase{"result is the sign file",
                    {"--sign-file", "sign", "a", "b", "--result", "sign",
                     "--result", "rb", "--diff", "d"},
                    "錯誤 : sign" + kClash}),
    [](const auto& info) { return RowName(info.param.name); });

TEST_F(BadInputTest, OutputInAMissingFolder) {
  Keep("a", "ABC");
  Keep("b", "ABD");
  const ProcessResult run =
      Cli({"a", "b", "--result", "ra", "--result", "rb", "--diff", "no/d"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tessel-cli: 錯誤 : no/d 檔案開啟失敗.\n");
  EXPECT_FALSE(Exists("no"));
  ExpectKept("output in a missing folder");
}

// Every output must open before any is emptied, so a run that fails at its
// start leaves the results of the last run whole.
TEST_F(BadInputTest, FailedStartLeavesEarlierOutputsWhole) {
  Keep("a", "ABC");
  Keep("b", "ABD");
  Keep("ra", "old result a");
  Keep("rb", "old result b");
  const ProcessResult run =
      Cli({"a", "b", "--result", "ra", "--result", "rb", "--diff", "no/d"});
  EXPECT_EQ(run.status, 2);
  ExpectKept("output in a missing folder, earlier outputs present");
}

TEST_F(BadInputTest, FullDiskAsAResult) {
  Keep("a", "ABC");
  Keep("b", "ABD");
  const ProcessResult run =
      Cli({"a", "b", "--result", "/dev/full", "--result", "rb", "--diff", "d"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tessel-cli: 錯誤 : /dev/full 檔案寫入失敗.\n");
  // The other outputs are whole.
  EXPECT_EQ(BytesText(ReadFile(dir_ / "rb")), "AB{{D||C}}");
  ExpectKept("/dev/full as result 1");
}

struct ExactCase {
  std::string name;
  std::string s1, s2;
  std::vector<std::string> options;
  int status;
  std::string out, err, r1, r2, d;
};

std::ostream& operator<<(std::ostream& out, const ExactCase& c) {
  out << c.name << ": " << BytesText(c.s1) << " against " << BytesText(c.s2);
  for (const std::string& option : c.options) out << " " << option;
  return out;
}

class ExactRunTest : public BadInputTest,
                     public ::testing::WithParamInterface<ExactCase> {};

TEST_P(ExactRunTest, GivesWhatTheRulesSay) {
  const ExactCase& c = GetParam();
  Keep("s1", c.s1);
  Keep("s2", c.s2);
  std::vector<std::string> args = c.options;
  for (const char* arg :
       {"s1", "s2", "--result", "r1", "--result", "r2", "--diff", "d"}) {
    args.push_back(arg);
  }
  const ProcessResult run = Cli(args);
  EXPECT_EQ(run.status, c.status) << c;
  EXPECT_EQ(run.out, c.out) << c;
  EXPECT_EQ(run.err, c.err) << c;
  EXPECT_EQ(BytesText(ReadFile(dir_ / "r1")), BytesText(c.r1)) << c;
  EXPECT_EQ(BytesText(ReadFile(dir_ / "r2")), BytesText(c.r2)) << c;
  EXPECT_EQ(BytesText(ReadFile(dir_ / "d")), BytesText(c.d)) << c;
  ExpectKept(c.name);
}

const std::string kDiffs0 = "differences: 0\n";
const std::string kDiffs1 = "differences: 1\n";
const std::string kAlpha = "ABCDEFGHIJKLMN";
const std::string kAlphaX = "AXCDEFGHIJKLMN";
// "道可道，非常道。" in Big5 and in UTF-8.
const std::string kBig5 =
    "\xB9\x44\xA5\x69\xB9\x44\xA1\x41\xAB\x44\xB1\x60"
    "\xB9\x44\xA1\x43";
const std::string kUtf8 =
    "\xE9\x81\x93\xE5\x8F\xAF\xE9\x81\x93\xEF\xBC\x8C\xE9\x9D\x9E\xE5\xB8\xB8"
    "\xE9\x81\x93\xE3\x80\x82";
const std::vector<std::string> kNames = {"s1", "s2"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ExactRunTest,
    ::testing::Values(
        ExactCase{"both empty", "", "", {}, 0, kDiffs0, "", "", "", kEnd},
        // Source 1 at its end: one difference for the rest of the line.
        ExactCase{"one empty",
                  "",
                  "ABC",
                  {},
                  1,
                  kDiffs1,
                  "",
                  "{{||ABC}}",
                  "{{ABC||}}",
                  Lines(1, 1) + Pad("") + ", ABC\r\n" + kEnd},
        // The first 0x1A ends source 1 while source 2 is at its end too.
        ExactCase{"only 0x1A against empty",
                  "\x1A\x1A\x1A",
                  "",
                  {},
                  0,
                  kDiffs0,
                  "",
                  "",
                  "",
                  kEnd},
        // Source 2 still has text: the walk goes on after the first 0x1A
        // and ends at the second, where source 2 is at its end.
        ExactCase{"only 0x1A against text",
                  "\x1A\x1A\x1A",
                  "AB",
                  {},
                  1,
                  kDiffs1,
                  "",
                  "{{||AB}}",
                  "{{AB||}}",
                  Lines(1, 1) + Pad("") + ", AB\r\n" + kEnd},
        // NULs are control bytes: ignored, and copied.
        ExactCase{"only NULs",
                  "\0\0\0"s,
                  "\0"s,
                  {},
                  0,
                  kDiffs0,
                  "",
                  "\0\0\0"s,
                  "\0"s,
                  kEnd},
        // Lead bytes pair up; a lone one at the very end is dropped.
        ExactCase{"only lead bytes",
                  "\xFE\xFE\xFE\xFE",
                  "\xFE\xFE\xFE",
                  {},
                  1,
                  kDiffs1,
                  "",
                  "\xFE\xFE{{\xFE\xFE||}}",
                  "\xFE\xFE{{||\xFE\xFE}}",
                  Lines(1, 1) + Pad("\xFE\xFE") + ", \r\n" + kEnd},
        // UTF-8 named Big5 shares nothing with the Big5 edition; both
        // look-aheads reach the end, so the line is one difference.
        ExactCase{"UTF-8 against Big5",
                  kBig5,
                  kUtf8,
                  {"--encoding", "big5"},
                  1,
                  kDiffs1,
                  "",
                  "{{" + kBig5 + "||" + kUtf8 + "}}",
                  "{{" + kUtf8 + "||" + kBig5 + "}}",
                  Lines(1, 1) + Pad(kBig5) + ", " + kUtf8 + "\r\n" + kEnd},
        // Detected, the UTF-8 edition is the same text: a Unicode run,
        // whose difference file is UTF-8.
        ExactCase{"UTF-8 detected against Big5",
                  kBig5,
                  kUtf8,
                  {},
                  0,
                  kDiffs0,
                  "",
                  kBig5,
                  kUtf8,
                  "\r\n====== 檔案比對結束 ======\r\n\r\n"},
        // The smallest look-ahead: no anchor can be found.
        ExactCase{"window 2",
                  kAlpha,
                  kAlphaX,
                  {"--window", "2"},
                  3,
                  kDiffs1,
                  "tessel-cli: cut off: no common stretch within the "
                  "look-ahead of 2 characters; try --window auto\n",
                  "A{{BC||XC}}" + Closing(kNames, false),
                  "A{{XC||BC}}" + Closing(kNames, false),
                  Lines(1, 1) + Pad("BC") + ", XC\r\n" +
                      OnDisk(Closing(kNames, false, "\n"))},
        ExactCase{"window 65535",
                  kAlpha,
                  kAlphaX,
                  {"--window", "65535"},
                  1,
                  kDiffs1,
                  "",
                  "A{{B||X}}CDEFGHIJKLMN",
                  "A{{X||B}}CDEFGHIJKLMN",
                  Lines(1, 1) + Pad("B") + ", X\r\n" + kEnd},
        // The limit is tested after a difference: none, no cut-off.
        ExactCase{"limit 0 without differences",
                  kAlpha,
                  kAlpha,
                  {"--max-diff", "0"},
                  0,
                  kDiffs0,
                  "",
                  kAlpha,
                  kAlpha,
                  kEnd},
        // A negative limit cuts off after the first difference. The
        // look-aheads reached the ends, so both sources count as ended.
        ExactCase{"negative limit",
                  kAlpha,
                  kAlphaX,
                  {"--max-diff", "-1"},
                  3,
                  kDiffs1,
                  "tessel-cli: cut off: the limit of -1 differences was "
                  "reached\n",
                  "A{{B||X}}" + Closing(kNames, true),
                  "A{{X||B}}" + Closing(kNames, true),
                  Lines(1, 1) + Pad("B") + ", X\r\n" +
                      OnDisk(Closing(kNames, true, "\n"))}),
    [](const auto& info) { return RowName(info.param.name); });

TEST_F(BadInputTest, NamesWithBlanksChineseAndDashes) {
  const std::vector<std::string> names = {"-one two", "版本 二"};
  Keep(names[0], kAlpha);
  Keep(names[1], kAlphaX);
  const ProcessResult run =
      Cli({"--window", "3", "--result", "--r 1", "--result", "結果 二",
           "--diff", "-d 差異", "--", names[0], names[1]});
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, kDiffs1);
  EXPECT_EQ(BytesText(ReadFile(dir_ / "--r 1")),
            BytesText("A{{BCD||XCD}}" + Closing(names, false)));
  EXPECT_EQ(BytesText(ReadFile(dir_ / "結果 二")),
            BytesText("A{{XCD||BCD}}" + Closing(names, false)));
  EXPECT_EQ(BytesText(ReadFile(dir_ / "-d 差異")),
            BytesText(Lines(1, 1) + Pad("BCD") + ", XCD\r\n" +
                      OnDisk(Closing(names, false, "\n"))));
  ExpectKept("names");
}

// More notations than the table holds: the first 25,200 fold, case and
// all, so "[a00000]" and "[A00000]" agree; later ones stay bytes, where
// "a" and "A" differ once per line.
TEST_F(BadInputTest, ThirtyThousandDistinctNotations) {
  constexpr int kCount = 30'000;
  const int capacity = static_cast<int>(NotationTable::kCapacity);
  std::string s1, s2, r1, r2, d;
  for (int i = 0; i < kCount; ++i) {
    char digits[12];
    std::snprintf(digits, sizeof digits, "%05d", i);
    s1 += "[a" + std::string(digits) + "]\n";
    s2 += "[A" + std::string(digits) + "]\n";
    if (i < capacity) {
      r1 += "[a" + std::string(digits) + "]\n";
      r2 += "[a" + std::string(digits) + "]\n";
    } else {
      r1 += "[{{a||A}}" + std::string(digits) + "]\n";
      r2 += "[{{A||a}}" + std::string(digits) + "]\n";
      d += Lines(i + 1, i + 1) + Pad("a") + ", A\r\n";
    }
  }
  Keep("s1", s1);
  Keep("s2", s2);
  const ProcessResult run =
      Cli({"s1", "s2", "--result", "r1", "--result", "r2", "--diff", "d"},
          kBigBoundMs);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out,
            "differences: " + std::to_string(kCount - capacity) + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(ReadFile(dir_ / "r1") == r1);
  EXPECT_TRUE(ReadFile(dir_ / "r2") == r2);
  EXPECT_TRUE(ReadFile(dir_ / "d") == d + kEnd);
  ExpectKept("30,000 notations");
}

// Letters and Big5 characters from a fixed sequence, never a brace or bar.
std::string Text(std::size_t size, std::uint32_t seed) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRST";
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1664525 + 1013904223;
    text[i] = kLetters[(seed >> 16) % 20];
  }
  return text;
}

TEST_F(BadInputTest, OneLineOfHundredMegabytes) {
  const std::size_t size = 100u << 20;
  std::string s1 = Text(size, 1);
  std::string s2 = s1;
  const std::size_t changes[] = {0, size / 2, size - 20};
  std::string d;
  for (std::size_t at : changes) {
    s2[at] = '#';
    d += Lines(1, 1) + Pad(std::string(1, s1[at])) + ", #\r\n";
  }
  Keep("s1", s1);
  Keep("s2", s2);
  s1.clear(), s2.clear();
  const ProcessResult run =
      Cli({"s1", "s2", "--result", "r1", "--result", "r2", "--diff", "d"},
          kBigBoundMs);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "differences: 3\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(dir_ / "d"), d + kEnd);
  ExpectKept("one line of 100 MB");
#ifdef TESSEL_SANITIZED
  GTEST_SKIP() << "The round trip of 200 MB takes over a minute when "
                  "instrumented; the plain build checks it.";
#endif
  EXPECT_EQ(RoundTrip("s1", "r1", 0, RunEnd::kCompleted, {}), "");
  EXPECT_EQ(RoundTrip("s2", "r2", 0, RunEnd::kCompleted, {}), "");
}

// Random bytes, with "{", "|" and "}" moved aside so the blocks can be
// read, and without 0x1A, which would end both sources at its first.
std::string RandomBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& b : bytes) {
    seed = seed * 1664525 + 1013904223;
    b = static_cast<char>(seed >> 24);
    if (b == '{' || b == '|' || b == '}' || b == '\x1A') b = '~';
  }
  return bytes;
}

TEST_F(BadInputTest, RandomBinaryData) {
  const std::size_t size = 1u << 20;
  const std::string a = RandomBytes(size, 7);
  std::string b = a;
  for (std::size_t at = 1000; at < size; at += 9973) b[at] = '~';
  Keep("a", a);
  Keep("b", b);
  Keep("other", RandomBytes(size, 8));

  // Against a copy with sparse changes: differences, nothing lost.
  ProcessResult run =
      Cli({"a", "b", "--result", "ra", "--result", "rb", "--diff", "d"},
          kBigBoundMs);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(run.out.starts_with("differences: ")) << run.out;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(RoundTrip("a", "ra", 0, RunEnd::kCompleted, {}), "");
  EXPECT_EQ(RoundTrip("b", "rb", 0, RunEnd::kCompleted, {}), "");

  // Against unrelated bytes: nothing in common, cut off at once.
  run = Cli({"a", "other", "--result", "ra", "--result", "rb", "--diff", "d"},
            kBigBoundMs);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, kDiffs1);
  EXPECT_EQ(run.err,
            "tessel-cli: cut off: no common stretch within the look-ahead of "
            "100 characters; try --window auto\n");
  EXPECT_EQ(RoundTrip("a", "ra", 0, RunEnd::kCutOff, {"a", "other"}), "");
  EXPECT_EQ(RoundTrip("other", "rb", 0, RunEnd::kCutOff, {"a", "other"}), "");
  ExpectKept("random binary data");
}

}  // namespace
}  // namespace tessel::testing
