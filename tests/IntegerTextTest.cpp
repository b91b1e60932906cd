// The integer-text rule shared by the window, the settings file and the
// command line.

#include "IntegerText.h"

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

struct IntegerCase {
  std::string text;
  std::optional<std::int32_t> value;
};

class IntegerTextTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, ReadsOrRefuses) {
  const IntegerCase& c = GetParam();
  EXPECT_EQ(ParseIntegerText(c.text), c.value) << "\"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerTextTest,
    ::testing::Values(
        IntegerCase{"100", 100}, IntegerCase{" 100", 100},
        IntegerCase{"   79", 79}, IntegerCase{"+7", 7}, IntegerCase{"-5", -5},
        IntegerCase{"007", 7}, IntegerCase{"2147483647", 2147483647},
        IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"$64", 100},
        IntegerCase{"x64", 100}, IntegerCase{"X64", 100},
        IntegerCase{"0x64", 100}, IntegerCase{"0X3f", 63},
        IntegerCase{" $5D", 93}, IntegerCase{"$FFFFFFFF", -1},
        IntegerCase{"$80000000", -2147483647 - 1},
        // Not numbers.
        IntegerCase{"", std::nullopt}, IntegerCase{" ", std::nullopt},
        IntegerCase{"100 ", std::nullopt}, IntegerCase{"abc", std::nullopt},
        IntegerCase{"12345678901", std::nullopt},
        IntegerCase{"2147483648", std::nullopt},
        IntegerCase{"-2147483649", std::nullopt},
        IntegerCase{"$100000000", std::nullopt}, IntegerCase{"$", std::nullopt},
        IntegerCase{"0x", std::nullopt}, IntegerCase{"-$10", std::nullopt},
        IntegerCase{"+", std::nullopt}, IntegerCase{"1e3", std::nullopt},
        IntegerCase{"\t5", std::nullopt}, IntegerCase{"$G", std::nullopt}),
    [](const auto& info) { return BytesName(info.index, info.param.text); });

}  // namespace
}  // namespace tessel::testing
