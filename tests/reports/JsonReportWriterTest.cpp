// The JSON document, byte for byte, for runs of two and three sources, and
// the ends of runs that did not complete.

#include "JsonReportWriter.h"

#include <gtest/gtest.h>

#include <string>

#include "ReportCases.h"

namespace tessel::testing {
namespace {

std::string JsonOf(const SyntheticRun& run) {
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  reports::JsonReportWriter writer(*out, "Tessel test");
  run.Play(writer);
  out->Close();
  return bytes;
}

TEST(JsonReportWriterTest, TwoSourcesWithNotationAndEscapes) {
  EXPECT_EQ(
      JsonOf(SmallTwoSourceRun()),
      "{\"format\":\"tessel-differences\",\"version\":1,\"program\":\"Tessel "
      "test\",\n"
      "\"sources\":[{\"name\":\"edition-a.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":31},{\"name\":\"edition-b.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":31}],\n"
      "\"options\":{\"window\":100,\"limit\":null,\"fold_notations\":true,"
      "\"ignored\":[\"，\"]},\n"
      "\"differences\":[\n"
      "{\"number\":1,\"kind\":\"one-for-one\",\"agree\":[[1],[2]],\"spans\":["
      "{\"line\":1,\"offset\":12,\"length\":3,\"text\":\"非\"},"
      "{\"line\":1,\"offset\":12,\"length\":8,\"text\":\"&x-975E;\"}]},\n"
      "{\"number\":2,\"kind\":\"omission\",\"agree\":[[1],[2]],\"spans\":["
      "{\"line\":2,\"offset\":22,\"length\":6,\"text\":\"會\\u003c&\\\"\"},"
      "{\"line\":3,\"offset\":28,\"length\":0,\"text\":\"\"}]}\n"
      "],\n"
      "\"end\":{\"outcome\":\"completed\",\"differences\":2,\"lines\":[2,3],"
      "\"ended\":[true,true]}}\n");
}

TEST(JsonReportWriterTest, ThreeSourcesCutOffAtTheLimit) {
  EXPECT_EQ(
      JsonOf(SmallThreeSourceRun()),
      "{\"format\":\"tessel-differences\",\"version\":1,\"program\":\"Tessel "
      "test\",\n"
      "\"sources\":[{\"name\":\"edition-a.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":28},{\"name\":\"edition-b.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":25},{\"name\":\"edition-c.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":26}],\n"
      "\"options\":{\"window\":100,\"limit\":3,\"fold_notations\":true,"
      "\"ignored\":[\"，\",\"。\"]},\n"
      "\"differences\":[\n"
      "{\"number\":1,\"kind\":\"one-for-one\",\"agree\":[[1,3],[2]],\"spans\":["
      "{\"line\":1,\"offset\":9,\"length\":3,\"text\":\"爲\"},"
      "{\"line\":1,\"offset\":9,\"length\":3,\"text\":\"為\"},"
      "{\"line\":1,\"offset\":9,\"length\":3,\"text\":\"爲\"}]},\n"
      "{\"number\":2,\"kind\":\"omission\",\"agree\":[[1],[2],[3]],\"spans\":["
      "{\"line\":2,\"offset\":16,\"length\":9,\"text\":\"四，州\"},"
      "{\"line\":2,\"offset\":16,\"length\":3,\"text\":\"州\"},"
      "{\"line\":3,\"offset\":20,\"length\":0,\"text\":\"\"}]},\n"
      "{\"number\":3,\"kind\":\"insertion\",\"agree\":[[1],[2],[3]],\"spans\":["
      "{\"line\":2,\"offset\":28,\"length\":0,\"text\":\"\"},"
      "{\"line\":2,\"offset\":22,\"length\":3,\"text\":\"玄\"},"
      "{\"line\":3,\"offset\":23,\"length\":3,\"text\":\"黃\"}]}\n"
      "],\n"
      "\"end\":{\"outcome\":\"cut-off\",\"reason\":\"difference-limit\","
      "\"differences\":3,\"lines\":[2,2,3],\"ended\":[false,false,false]}}\n");
}

// Only a cut-off has a reason; a run without differences still closes
// its list.
struct EndCase {
  const char* name;
  ReportOutcome outcome;
  std::string end;
};

const EndCase kEnds[] = {
    {"Completed", ReportOutcome::kCompleted,
     "\"end\":{\"outcome\":\"completed\",\"differences\":0,\"lines\":[1,1],"
     "\"ended\":[true,true]}}\n"},
    {"NoAnchor", ReportOutcome::kCutOffNoAnchor,
     "\"end\":{\"outcome\":\"cut-off\",\"reason\":\"no-common-stretch\","
     "\"differences\":0,\"lines\":[1,1],\"ended\":[false,false]}}\n"},
    {"Stopped", ReportOutcome::kStopped,
     "\"end\":{\"outcome\":\"stopped\",\"differences\":0,\"lines\":[1,1],"
     "\"ended\":[false,false]}}\n"},
    {"LeftAtSourceEnd", ReportOutcome::kLeftAtSourceEnd,
     "\"end\":{\"outcome\":\"left-at-source-end\",\"differences\":0,"
     "\"lines\":[1,1],\"ended\":[false,false]}}\n"},
    {"Failed", ReportOutcome::kFailed,
     "\"end\":{\"outcome\":\"failed\",\"differences\":0,\"lines\":[1,1],"
     "\"ended\":[false,false]}}\n"},
};

class JsonEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(JsonEndTest, EndsTheDocument) {
  SyntheticRun run(2, {});
  run.Same("天");
  run.Finish(GetParam().outcome);
  const std::string json = JsonOf(run);
  EXPECT_EQ(json.substr(json.find("\"differences\":[")),
            "\"differences\":[],\n" + GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonEndTest, ::testing::ValuesIn(kEnds),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tessel::testing

namespace tessel::testing {
namespace {

// The members a variant table adds, in their places; the same run without
// a table keeps the version 1.0 document.
TEST(JsonReportWriterTest, VariantsFollowTheDifferencesWithTheirPairs) {
  EXPECT_EQ(
      JsonOf(SmallVariantRun()),
      "{\"format\":\"tessel-differences\",\"version\":1,\"minor\":1,"
      "\"program\":\"Tessel test\",\n"
      "\"sources\":[{\"name\":\"edition-a.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":33},{\"name\":\"edition-b.txt\",\"encoding\":\"utf-8\","
      "\"bytes\":29}],\n"
      "\"options\":{\"window\":100,\"limit\":null,\"fold_notations\":true,"
      "\"ignored\":[\"，\"],\"variant_tables\":[\"semantic\",\"taboo.txt\"]},\n"
      "\"differences\":[\n"
      "{\"number\":1,\"kind\":\"one-for-one\",\"agree\":[[1],[2]],\"spans\":["
      "{\"line\":1,\"offset\":12,\"length\":3,\"text\":\"玄\"},"
      "{\"line\":1,\"offset\":12,\"length\":4,\"text\":\"𤣥\"}]}\n"
      "],\n"
      "\"variants\":[\n"
      "{\"number\":1,\"places\":[{\"line\":1,\"offset\":3,\"length\":3,"
      "\"character\":\"爲\"},{\"line\":1,\"offset\":3,\"length\":3,"
      "\"character\":\"為\"}]},\n"
      "{\"number\":2,\"places\":[{\"line\":2,\"offset\":16,\"length\":8,"
      "\"character\":\"爲\"},{\"line\":2,\"offset\":17,\"length\":3,"
      "\"character\":\"為\"}]},\n"
      "{\"number\":3,\"places\":[{\"line\":2,\"offset\":24,\"length\":3,"
      "\"character\":\"說\"},{\"line\":2,\"offset\":20,\"length\":3,"
      "\"character\":\"説\"}]},\n"
      "{\"number\":4,\"places\":[{\"line\":2,\"offset\":30,\"length\":3,"
      "\"character\":\"爲\"},{\"line\":2,\"offset\":26,\"length\":3,"
      "\"character\":\"為\"}]}\n"
      "],\n"
      "\"variant_pairs\":[\n"
      "{\"characters\":[\"爲\",\"為\"],\"count\":3},\n"
      "{\"characters\":[\"說\",\"説\"],\"count\":1}\n"
      "],\n"
      "\"end\":{\"outcome\":\"completed\",\"differences\":1,\"variants\":4,"
      "\"lines\":[2,2],\"ended\":[true,true]}}\n");

  SyntheticRun without = SmallVariantRun();
  without.description.variant_tables.clear();
  const std::string plain = JsonOf(without);
  EXPECT_EQ(plain.find("variant"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("minor"), std::string::npos) << plain;
}

// With three sources a pair holds all three characters; pairs of one
// count go by their characters' code points; characters are escaped.
TEST(JsonReportWriterTest, ThreeSourceVariantPairsAreSortedAndEscaped) {
  const std::string json = JsonOf(ThreeSourceVariantRun());
  const std::size_t start = json.find("\"variant_pairs\"");
  ASSERT_NE(start, std::string::npos) << json;
  EXPECT_EQ(json.substr(start),
            "\"variant_pairs\":[\n"
            "{\"characters\":[\"\\\"\",\"＂\",\"\\\"\"],\"count\":1},\n"
            "{\"characters\":[\"說\",\"説\",\"說\"],\"count\":1}\n"
            "],\n"
            "\"end\":{\"outcome\":\"stopped\",\"differences\":1,"
            "\"variants\":2,\"lines\":[1,1,1],"
            "\"ended\":[false,false,false]}}\n");
}

}  // namespace
}  // namespace tessel::testing
