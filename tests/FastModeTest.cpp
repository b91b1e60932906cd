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
const std::vector<std::string> kPieces = {
    "\xA4\xA4", "\xA4\x40", "\xB3\x5C",
    "\xA1\x41", "A",        "b",
    " ",        "\n",       "\r\n",
    "[ab]",     "&x-1;",    "[",
    "&",        "\xA4\n",   std::string("\xA4\0", 2),
    "\x1A",     "\xA4\xA5", "\xF9\xF8",
    "\xA4",     ",",        std::string(1, '\0')};

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
  o.ThreeFiles = texts.size() == 3;
  o.DoLoseWord = fold;
  o.WindowSize = window;
  o.UseSignMemo = true;
  o.SignMemo = " ,\xA1\x41";
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    WriteFile(dir / ("s" + n), texts[k]);
    o.Sources[k] = dir / ("s" + n);
    o.Results[k] = dir / ("r" + n);
  }
  o.Difference = dir / "d";
  NotationTable notations;
  ComparisonRun run(host, notations);
  run.RunComparison();
  std::vector<std::string> outputs;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    outputs.push_back(ReadFile(o.Results[k]));
  }
  outputs.push_back(ReadFile(o.Difference));
  outputs.push_back(std::to_string(static_cast<int>(run.outcome())));
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

}  // namespace
}  // namespace tessel::testing
