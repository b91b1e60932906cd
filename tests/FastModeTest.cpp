// Fast mode takes shortcuts (stretches the sources share are copied whole)
// that must never change a byte of the output: random editions with long
// shared stretches, run once with events on every pass and once in fast
// mode, give the same files.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ComparisonRun.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

// Pieces that meet every rule a shortcut could trip on: double-byte
// characters, high bytes before line ends and NULs, notations, 0x1A, line
// feeds, ignored symbols.
const std::vector<std::string> kPieces = {"\xA4\xA4",
                                          "\xA4\x40",
                                          "\xB3\x5C",
                                          "\xA1\x41",
                                          "A",
                                          "b",
                                          " ",
                                          "\n",
                                          "\r\n",
                                          "[ab]",
                                          "&x-1;",
                                          "[",
                                          "&",
                                          "\xA4\n",
                                          "\xA4\t",
                                          "\xA4\r",
                                          std::string("\xA4\0", 2),
                                          "\x1A",
                                          "\xA4\xA5",
                                          "\xF9\xF8",
                                          "\xA4",
                                          ",",
                                          std::string(1, '\0')};

std::string RandomText(std::mt19937& random, std::size_t pieces) {
  std::string text;
  for (std::size_t i = 0; i < pieces; ++i) {
    // Mostly plain double-byte text, as real editions are.
    text += random() % 4 == 0 ? kPieces[random() % kPieces.size()]
                              : kPieces[random() % 3];
  }
  return text;
}

// Copies `base`, changing a few places.
std::string Edition(std::mt19937& random, const std::string& base,
                    int changes) {
  std::string text = base;
  for (int c = 0; c < changes && !text.empty(); ++c) {
    const std::size_t at = random() % text.size();
    text.insert(at, kPieces[random() % kPieces.size()]);
  }
  return text;
}

// Runs in `dir`, so that both runs name their sources alike.
std::vector<std::string> RunAll(const TempDir& dir,
                                const std::vector<std::string>& texts,
                                bool fast, bool fold, std::int32_t window) {
  RecordingHost host;
  host.fast = fast;
  RunOptions& o = host.options;
  o.three_files = texts.size() == 3;
  o.fold_notations = fold;
  o.window_size = window;
  o.use_sign_memo = true;
  o.sign_memo = " ,\xA1\x41";
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    WriteFile(dir / ("s" + n), texts[k]);
    o.sources[k] = dir / ("s" + n);
    o.results[k] = dir / ("r" + n);
  }
  o.difference = dir / "d";
  NotationTable notations;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(o);
  std::vector<std::string> outputs;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    outputs.push_back(ReadFile(o.results[k]));
  }
  outputs.push_back(ReadFile(o.difference));
  outputs.push_back(std::to_string(static_cast<int>(status.outcome)));
  return outputs;
}

TEST(FastModeTest, ShortcutsChangeNoByte) {
  std::mt19937 random(2024);
  for (int round = 0; round < 60; ++round) {
    // Now and then long enough to cross the sources' 64 KiB buffers.
    const std::size_t pieces = round % 6 == 0 ? 60'000 : 400;
    const std::string base = RandomText(random, pieces);
    std::vector<std::string> texts;
    const int count = 2 + round % 2;
    for (int k = 0; k < count; ++k) {
      texts.push_back(Edition(random, base, round % 3 == 0 ? 0 : 3));
    }
    const bool fold = round % 4 != 1;
    const std::int32_t window = round % 5 == 0 ? 8 : 100;
    TempDir dir;
    EXPECT_EQ(RunAll(dir, texts, true, fold, window),
              RunAll(dir, texts, false, fold, window))
        << "round " << round;
  }
}

// Places where a shortcut could read a character otherwise than the walk:
// a high byte before a control byte, a line end, a NUL or a 0x1A, and the
// openers. Each is set between long stretches that the shortcuts take.
TEST(FastModeTest, ShortcutsReadHighBytesAsTheWalkDoes) {
  // Line breaks in one edition only: no two stretches are alike byte for
  // byte, and the shortcut that follows the compared characters runs
  // across the place that matters.
  std::string broken, whole;
  for (int i = 0; i < 150; ++i) broken += "QQQ\n", whole += "QQQ";
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"\xA4\t", "\xA4\n"},     {"\xA4\x01", "\xA4\r"},
      {"\xA4\x19", "\xA4\x1A"}, {std::string("\xA4\0", 2), "\xA4"},
      {"\xA4\r\n", "\xA4\n"},   {"[ab]", "[AB]"},
      {"&x-1;", "&X-1;"},       {"\x1A", ""},
      {"\xA4[ab]", "\xA4]ab]"}};
  for (const auto& [a, b] : pairs) {
    const std::vector<std::string> texts = {broken + a + broken,
                                            whole + b + whole};
    for (const bool fold : {true, false}) {
      TempDir dir;
      EXPECT_EQ(RunAll(dir, texts, true, fold, 100),
                RunAll(dir, texts, false, fold, 100))
          << BytesText(a) << " against " << BytesText(b) << " fold " << fold;
    }
  }
}

// How often a run looks at the timer, seen through the progress it moves
// on every look (the timer always ticks here). Each '[' is one byte and
// one compared character that no shortcut takes, so the walk makes one
// pass per byte of source 1. A run with events looks after every pass; a
// fast run after its first pass, after every difference, and otherwise
// every kFastPassesPerTickCheck passes. The last position is the run's end.
TEST(FastModeTest, LooksForAStopAsOftenAsItPromises) {
  constexpr std::int64_t k = ComparisonRun::kFastPassesPerTickCheck;
  const std::string plain(3 * k, '[');
  // "X" inserted: a difference at byte 1.5k of source 1, which then
  // stands at 1.5k, before the '[' that agrees again.
  const std::string inserted =
      plain.substr(0, 3 * k / 2) + "X" + plain.substr(3 * k / 2);
  std::vector<std::int64_t> every_pass;
  for (std::int64_t p = 1; p <= 3 * k; ++p) every_pass.push_back(p);
  every_pass.push_back(3 * k);

  struct PollCase {
    std::string name;
    bool fast;
    std::string second;
    std::vector<std::int64_t> progress;
  };
  const std::vector<PollCase> cases = {
      {"with events", false, plain, every_pass},
      {"fast", true, plain, {1, 1 + k, 1 + 2 * k, 3 * k}},
      {"fast, a difference",
       true,
       inserted,
       {1, 1 + k, 3 * k / 2, 3 * k / 2 + k, 3 * k}},
  };
  for (const PollCase& c : cases) {
    TempDir dir;
    RecordingHost host;
    host.fast = c.fast;
    RunOptions& o = host.options;
    WriteFile(dir / "s1", plain);
    WriteFile(dir / "s2", c.second);
    o.sources = {dir / "s1", dir / "s2"};
    o.results = {dir / "r1", dir / "r2"};
    o.difference = dir / "d";
    NotationTable notations;
    ComparisonRun run(host, notations);
    EXPECT_EQ(run.RunComparison(o).outcome, RunOutcome::kCompleted) << c.name;
    EXPECT_EQ(host.progress, c.progress) << c.name;
  }
}

}  // namespace
}  // namespace tessel::testing
