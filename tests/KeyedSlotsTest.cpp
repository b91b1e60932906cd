// The keys of the look-ahead's slots, kept across tries and searches.

#include "KeyedSlots.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tessel::testing {
namespace {

// Windows moving through a text as a walk's look-ahead does: mostly on,
// now and then back, wider or narrower; and now and then the slots read
// afresh (a new generation numbered from 0 again, over other text). Every
// key handed out must be the key of the window's own code.
TEST(KeyedSlotsTest, KeysAreThoseOfTheWindowsCodes) {
  std::mt19937 random(7);
  const auto key_of = [](std::uint16_t code) {
    return static_cast<std::uint16_t>(code / 3);
  };
  for (int round = 0; round < 20; ++round) {
    KeyedSlots keyed;
    std::uint64_t generation = 1;
    std::array<std::vector<std::uint16_t>, 2> texts;
    std::array<std::int64_t, 2> first{};
    for (int step = 0; step < 500; ++step) {
      const std::uint32_t roll = random() % 40;
      if (roll == 0) ++generation;
      for (int k = 0; k < 2; ++k) {
        if (step == 0 || roll == 0) {
          texts[k].resize(20000);
          for (auto& code : texts[k]) {
            code = static_cast<std::uint16_t>(random() % 60000);
          }
          first[k] = 0;
        } else if (roll == 1) {
          first[k] -= std::min<std::int64_t>(first[k], random() % 50);
        } else {
          first[k] += random() % (roll == 2 ? 6000 : 40);
        }
        first[k] = std::min<std::int64_t>(first[k], 15000);
        const std::size_t size = random() % 5000;
        const std::span<const std::uint16_t> codes =
            std::span<const std::uint16_t>(texts[k]).subspan(
                static_cast<std::size_t>(first[k]), size);
        const std::span<const std::uint16_t> keys =
            keyed.Keys(k, first[k], generation, codes, key_of);
        ASSERT_EQ(keys.size(), codes.size());
        for (std::size_t i = 0; i < codes.size(); ++i) {
          ASSERT_EQ(keys[i], key_of(codes[i]))
              << "round " << round << " step " << step << " source " << k
              << " slot " << first[k] + static_cast<std::int64_t>(i);
        }
      }
    }
  }
}

}  // namespace
}  // namespace tessel::testing
