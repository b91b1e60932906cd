// A difference's kind and agreement, read from compared characters only.

#include "DifferenceKinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel::reports {
namespace {

struct KindCase {
  const char* name;
  // Each source's compared characters and their count.
  std::vector<std::pair<std::string, int>> spans;
  DifferenceKind kind;
  std::string label;
  int lone;
};

const KindCase kCases[] = {
    {"TwoOneForOne",
     {{"爲", 1}, {"為", 1}},
     DifferenceKind::kOneForOne,
     "1\xE2\x89\xA0"
     "2",
     -1},
    {"NotationIsOneCharacter",
     {{"無", 1}, {"&x-65E0;", 1}},
     DifferenceKind::kOneForOne,
     "1\xE2\x89\xA0"
     "2",
     -1},
    {"TwoInsertion",
     {{"", 0}, {"之", 1}},
     DifferenceKind::kInsertion,
     "1\xE2\x89\xA0"
     "2",
     -1},
    {"TwoOmission",
     {{"之乎", 2}, {"", 0}},
     DifferenceKind::kOmission,
     "1\xE2\x89\xA0"
     "2",
     -1},
    {"TwoLonger",
     {{"之乎", 2}, {"者", 1}},
     DifferenceKind::kLonger,
     "1\xE2\x89\xA0"
     "2",
     -1},
    {"FirstAndThirdAgree",
     {{"爲", 1}, {"為", 1}, {"爲", 1}},
     DifferenceKind::kOneForOne,
     "1=3\xE2\x89\xA0"
     "2",
     1},
    {"SecondAndThirdAgree",
     {{"爲", 1}, {"為", 1}, {"為", 1}},
     DifferenceKind::kOneForOne,
     "1\xE2\x89\xA0"
     "2=3",
     0},
    {"FirstAndSecondAgree",
     {{"", 0}, {"", 0}, {"之", 1}},
     DifferenceKind::kInsertion,
     "1=2\xE2\x89\xA0"
     "3",
     2},
    {"AllThreeDiffer",
     {{"甲", 1}, {"", 0}, {"丙丁", 2}},
     DifferenceKind::kOmission,
     "1\xE2\x89\xA0"
     "2\xE2\x89\xA0"
     "3",
     -1},
    // Source 1 empty outranks another source being empty.
    {"InsertionBeforeOmission",
     {{"", 0}, {"乙", 1}, {"", 0}},
     DifferenceKind::kInsertion,
     "1=3\xE2\x89\xA0"
     "2",
     1},
};

class DifferenceKindsTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(DifferenceKindsTest, ClassifiesAndGroups) {
  const KindCase& c = GetParam();
  DifferenceRecord record;
  const int n = static_cast<int>(c.spans.size());
  for (int k = 0; k < n; ++k) {
    record.spans[k].compared = c.spans[k].first;
    record.spans[k].compared_count = c.spans[k].second;
  }
  EXPECT_EQ(Classify(record, n), c.kind);
  const Agreement groups = AgreeingGroups(record, n);
  EXPECT_EQ(AgreementLabel(groups, n), c.label);
  EXPECT_EQ(LoneSource(groups, n), c.lone);
}

// What the run says is the same outranks the texts: 為 and 爲 of one
// variant class, or a note and its halves swapped.
TEST(AgreeingGroupsTest, TheRunsComparisonDecidesWhereItIsKnown) {
  DifferenceRecord record;
  const char* texts[] = {"為", "丙", "爲"};
  for (int k = 0; k < 3; ++k) record.spans[k].compared = texts[k];
  EXPECT_EQ(AgreementLabel(AgreeingGroups(record, 3), 3),
            "1\xE2\x89\xA0"
            "2\xE2\x89\xA0"
            "3");
  record.same_as = {0, 1, 0};
  const Agreement groups = AgreeingGroups(record, 3);
  EXPECT_EQ(AgreementLabel(groups, 3),
            "1=3\xE2\x89\xA0"
            "2");
  EXPECT_EQ(LoneSource(groups, 3), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DifferenceKindsTest,
                         ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tessel::reports
