// The anchor search over token windows.

#include "Resync.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "NearestAnchor.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

// A window of single-byte characters; a '#' stands for the next of a run
// of double-byte characters that occur nowhere else.
std::vector<std::uint16_t> Window(const std::string& letters,
                                  std::uint16_t* unique) {
  std::vector<std::uint16_t> window;
  for (char c : letters) {
    window.push_back(c == '#' ? (*unique)++
                              : static_cast<std::uint16_t>(256 + c));
  }
  return window;
}

struct AnchorCase {
  std::vector<std::string> windows;
  std::int32_t best;
  std::vector<std::int32_t> offsets;
};

class SearchAnchorTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(SearchAnchorTest, FindsTheNearestAnchor) {
  const AnchorCase& c = GetParam();
  std::uint16_t unique = 0xA440;
  std::vector<std::vector<std::uint16_t>> storage;
  for (const std::string& w : c.windows) storage.push_back(Window(w, &unique));
  std::array<std::span<const std::uint16_t>, kMaxSources> windows;
  for (std::size_t k = 0; k < storage.size(); ++k) windows[k] = storage[k];
  const AnchorMatch match =
      SearchAnchor(windows, static_cast<int>(storage.size()));
  const std::string name =
      c.windows[0].substr(0, 20) + " / " + c.windows[1].substr(0, 20);
  EXPECT_EQ(match.best, c.best) << name;
  for (std::size_t k = 0; k < c.offsets.size(); ++k) {
    EXPECT_EQ(match.offsets[k], c.offsets[k]) << name << " window " << k;
  }
}

std::string Many(char c, int n) {
  return std::string(static_cast<std::size_t>(n), c);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchAnchorTest,
    ::testing::Values(
        // A replaced character.
        AnchorCase{{"BCDEFGHIJKLMN", "XCDEFGHIJKLMN"}, 4, {2, 2}},
        // An inserted character.
        AnchorCase{{"CDEFGHIJKLMN", "XCDEFGHIJKLMN"}, 2, {0, 2}},
        // A long anchor moved closer by a single common character.
        AnchorCase{{"PQRSABCDEFGHIJ", "TRUVABCDEFGHIJ"}, 6, {4, 2}},
        // Fewer than 4 common characters in a row: no anchor, and the
        // offsets are the windows' lengths.
        AnchorCase{{"BCD", "XCD"}, kAnchorSumLimit, {6, 6}},
        AnchorCase{{"QABXCDYEF", "RABZCDWEF"}, kAnchorSumLimit, {18, 18}},
        // A single common character alone is never tried.
        AnchorCase{{"PQRS", "TQUV"}, kAnchorSumLimit, {8, 8}},
        AnchorCase{{"", "ABCD"}, kAnchorSumLimit, {0, 8}},
        // Ties go to the smaller offset in the first window; the first
        // occurrence in the others.
        AnchorCase{{"PABCDQEFGH", "EFGHZABCD"}, 12, {2, 10}},
        AnchorCase{{"YZABCDEFG", "ABCDEFGABCDEFG"}, 4, {4, 0}},
        // Three windows: the anchor must occur in all three.
        AnchorCase{
            {"XABCDEFGHIJ", "YABCDEFGHIJ", "ZZABCDEFGHIJ"}, 8, {2, 2, 4}},
        AnchorCase{{"XABCDEFGHIJ", "YABCDEFGHIJ", "ZZZZ"},
                   kAnchorSumLimit,
                   {22, 22, 8}},
        // An anchor whose offsets add up to 9999 or more never counts ...
        AnchorCase{{std::string("P") + Many('#', 1) + "ABCDEFGHIJ",
                    std::string("R") + Many('#', 5000) + "ABCDEFGHIJ"},
                   kAnchorSumLimit,
                   {24, 2 * 5011}},
        // Offsets beyond 9998 bytes in the first window are never tried, so
        // such an anchor does not open the sweep with one character.
        AnchorCase{{std::string("PQ") + Many('#', 4998) + "ABCDEFGHIJ",
                    "RQABCDEFGHIJ"},
                   kAnchorSumLimit,
                   {2 * 5010, 24}},
        // ... but one that is tried and too far opens it.
        AnchorCase{{"PQABCDEFGHIJ",
                    std::string("RQ") + Many('#', 5000) + "ABCDEFGHIJ"},
                   4,
                   {2, 2}}),
    [](const auto& info) {
      std::string joined;
      for (const std::string& w : info.param.windows) {
        if (!joined.empty()) joined += '/';
        joined.append(w, 0, 12);
      }
      return BytesName(info.index, joined);
    });

struct RulesCase {
  std::string name;
  AnchorRules rules;
  std::vector<std::string> windows;
  std::int32_t best;
  std::vector<std::int32_t> offsets;
};

class RulesSearchTest : public ::testing::TestWithParam<RulesCase> {};

// Both the plain search and the one that widens its reach.
TEST_P(RulesSearchTest, FindsTheAnchorTheRulesAllow) {
  const RulesCase& c = GetParam();
  std::uint16_t unique = 0xA440;
  std::vector<std::vector<std::uint16_t>> storage;
  for (const std::string& w : c.windows) storage.push_back(Window(w, &unique));
  std::array<std::span<const std::uint16_t>, kMaxSources> windows;
  for (std::size_t k = 0; k < storage.size(); ++k) windows[k] = storage[k];
  const int n = static_cast<int>(storage.size());
  for (const bool nearest : {false, true}) {
    const AnchorMatch match = nearest ? SearchNearestAnchor(windows, n, c.rules)
                                      : SearchAnchor(windows, n, c.rules);
    const std::string name = c.name + (nearest ? " (nearest)" : " (plain)");
    EXPECT_EQ(match.best, c.best) << name;
    for (std::size_t k = 0; k < c.offsets.size(); ++k) {
      EXPECT_EQ(match.offsets[k], c.offsets[k]) << name << " window " << k;
    }
  }
}

constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, RulesSearchTest,
    ::testing::Values(
        // Beyond the first reach of 64: an anchor whose sum is 57 lies
        // within it, but one with sum 55 starts at 55 in window 0 and ends
        // beyond 64, so the reach must widen to see it.
        RulesCase{"hidden nearer anchor",
                  kFixedRules,
                  {Many('#', 28) + "ABCDEFGHIJ" + Many('#', 17) + "KLMNOPQRST" +
                       Many('#', 20),
                   "KLMNOPQRST" + Many('#', 19) + "ABCDEFGHIJ" + Many('#', 40)},
                  110,
                  {110, 0}},
        // A 7-character anchor near the start, and a 10-character one that
        // only a wider reach sees: the sweep with 10 cuts window 1 before
        // the 7-character anchor, which then does not count.
        RulesCase{"shorter anchor cut off by a far longer one",
                  kFixedRules,
                  {"UVWXYZ!" + Many('#', 60) + "ABCDEFGHIJ",
                   "ABCDEFGHIJ" + Many('#', 3) + "UVWXYZ!" + Many('#', 60)},
                  2 * 67,
                  {2 * 67, 0}},
        // The growing look-ahead takes any anchor in its windows: a sum far
        // beyond the fixed bound of 9999 bytes.
        RulesCase{"no bound",
                  kAutoRules,
                  {"P" + Many('#', 6000) + "ABCDEFGHIJ", "ABCDEFGHIJ"},
                  2 * 6001,
                  {2 * 6001, 0}},
        // It takes a shorter anchor only before one of the longest ...
        RulesCase{
            "four characters without a longest anchor",
            kAutoRules,
            {"P" + Many('#', 300) + "ABCD", "Q" + Many('#', 200) + "ABCD"},
            kNone,
            {2 * 305, 2 * 205}},
        RulesCase{"four characters before a longest anchor",
                  kAutoRules,
                  {"PABCD" + Many('#', 300) + "KLMNOPQRST",
                   "QABCD" + Many('#', 5) + "KLMNOPQRST"},
                  4,
                  {2, 2}},
        // ... and bridges with a single character only within the first
        // 100 characters of each window.
        RulesCase{"single character within reach",
                  kAutoRules,
                  {"PZ" + Many('#', 300) + "KLMNOPQRST",
                   "QZ" + Many('#', 300) + "KLMNOPQRST"},
                  4,
                  {2, 2}},
        RulesCase{"single character beyond reach",
                  kAutoRules,
                  {Many('#', 150) + "Z" + Many('#', 150) + "KLMNOPQRST",
                   "Z" + Many('#', 10) + "KLMNOPQRST"},
                  2 * 312,
                  {2 * 301, 2 * 11}}),
    [](const ::testing::TestParamInfo<RulesCase>& info) {
      return RowName(info.param.name);
    });

}  // namespace
}  // namespace tessel::testing
