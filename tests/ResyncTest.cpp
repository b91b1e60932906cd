// The anchor search over token windows.

#include "Resync.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace tessel::testing
