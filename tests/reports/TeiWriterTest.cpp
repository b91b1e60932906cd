// The TEI apparatus, byte for byte, and the witnesses' ids.

#include "TeiWriter.h"

#include <gtest/gtest.h>

#include <string>

#include "ReportCases.h"

namespace tessel::testing {
namespace {

std::string TeiOf(const SyntheticRun& run) {
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  reports::TeiWriter writer(*out, "Tessel test");
  run.Play(writer);
  out->Close();
  return bytes;
}

TEST(TeiWriterTest, TwoSourcesWholeDocument) {
  EXPECT_EQ(
      TeiOf(SmallTwoSourceRun()),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<TEI xmlns=\"http://www.tei-c.org/ns/1.0\">\n<teiHeader>\n"
      "<fileDesc>\n<titleStmt>\n"
      "<title>Collation of edition-a.txt and edition-b.txt</title>\n"
      "</titleStmt>\n<publicationStmt>\n<p>Written by Tessel test.</p>\n"
      "</publicationStmt>\n<sourceDesc>\n<listWit>\n"
      "<witness xml:id=\"edition-a.txt\" n=\"1\">edition-a.txt</witness>\n"
      "<witness xml:id=\"edition-b.txt\" n=\"2\">edition-b.txt</witness>\n"
      "</listWit>\n</sourceDesc>\n</fileDesc>\n<encodingDesc>\n"
      "<variantEncoding method=\"parallel-segmentation\" "
      "location=\"internal\"/>\n</encodingDesc>\n</teiHeader>\n"
      "<text>\n<body>\n"
      "<p><lb n=\"1\"/>道可道，<app n=\"1\"><rdg "
      "wit=\"#edition-a.txt\">非</rdg><rdg "
      "wit=\"#edition-b.txt\">&amp;x-975E;</rdg></app>常道\n"
      "<lb n=\"2\"/><app n=\"2\"><rdg "
      "wit=\"#edition-a.txt\">會&lt;&amp;&quot;</rdg><rdg "
      "wit=\"#edition-b.txt\"/></app>名</p>\n"
      "</body>\n</text>\n</TEI>\n");
}

TEST(TeiWriterTest, ThreeSourcesShareReadingsAndSayWhyTheyEnded) {
  const std::string tei = TeiOf(SmallThreeSourceRun());
  EXPECT_EQ(tei.substr(tei.find("<body>")),
            "<body>\n<p><lb n=\"1\"/>四州，<app n=\"1\">"
            "<rdg wit=\"#edition-a.txt #edition-c.txt\">爲</rdg>"
            "<rdg wit=\"#edition-b.txt\">為</rdg></app>天\n<lb n=\"2\"/>"
            "<app n=\"2\"><rdg wit=\"#edition-a.txt\">四，州</rdg>"
            "<rdg wit=\"#edition-b.txt\">州</rdg>"
            "<rdg wit=\"#edition-c.txt\"/></app>地<app n=\"3\">"
            "<rdg wit=\"#edition-a.txt\"/><rdg wit=\"#edition-b.txt\">玄</rdg>"
            "<rdg wit=\"#edition-c.txt\">黃</rdg></app></p>\n"
            "<note type=\"outcome\">cut-off: difference-limit after 3 "
            "differences</note>\n</body>\n</text>\n</TEI>\n");
}

// A variant is an app of its own in its place, so every witness keeps
// its own forms; readings that agree share one rdg.
TEST(TeiWriterTest, VariantsAreAppsOfTheirOwn) {
  const std::string two = TeiOf(SmallVariantRun());
  const std::size_t start = two.find("<p><lb");
  ASSERT_NE(start, std::string::npos);
  EXPECT_EQ(
      two.substr(start, two.find("</p>", start) + 4 - start),
      "<p><lb n=\"1\"/>天<app type=\"variant\" n=\"v1\"><rdg "
      "wit=\"#edition-a.txt\">爲</rdg><rdg wit=\"#edition-b.txt\">為</rdg>"
      "</app>之，<app n=\"1\"><rdg wit=\"#edition-a.txt\">玄</rdg><rdg "
      "wit=\"#edition-b.txt\">𤣥</rdg></app>\n<lb n=\"2\"/>"
      "<app type=\"variant\" n=\"v2\"><rdg wit=\"#edition-a.txt\">"
      "&amp;x-7232;</rdg><rdg wit=\"#edition-b.txt\">為</rdg></app>"
      "<app type=\"variant\" n=\"v3\"><rdg wit=\"#edition-a.txt\">說</rdg>"
      "<rdg wit=\"#edition-b.txt\">説</rdg></app>也"
      "<app type=\"variant\" n=\"v4\"><rdg wit=\"#edition-a.txt\">爲</rdg>"
      "<rdg wit=\"#edition-b.txt\">為</rdg></app></p>");

  const std::string three = TeiOf(ThreeSourceVariantRun());
  const std::size_t first = three.find("<app type=\"variant\" n=\"v1\">");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(three.substr(first, three.find("</app>", first) + 6 - first),
            "<app type=\"variant\" n=\"v1\"><rdg wit=\"#edition-a.txt "
            "#edition-c.txt\">說</rdg><rdg wit=\"#edition-b.txt\">説</rdg>"
            "</app>");
}

TEST(TeiWriterTest, LeavesOutWhatXmlCannotHoldFromTheBase) {
  SyntheticRun run(2, {});
  run.Same(std::string("a\r\n\x01\tb", 6));
  run.Finish(ReportOutcome::kCompleted);
  const std::string tei = TeiOf(run);
  EXPECT_EQ(tei.substr(tei.find("<p><lb")),
            "<p><lb n=\"1\"/>a\n<lb n=\"2\"/>&#x9;b</p>\n</body>\n</text>\n"
            "</TEI>\n");
}

struct IdCase {
  const char* name;
  std::vector<std::string> files;
  std::vector<std::string> ids;
};

const IdCase kIds[] = {
    {"PlainNames", {"a.txt", "b.txt"}, {"a.txt", "b.txt"}},
    {"FolderLeftOut",
     {"/data/x/hfl.txt", "C:\\y\\wyg.txt"},
     {"hfl.txt", "wyg.txt"}},
    {"ChineseNames",
     {"雲笈七籤.txt", "雲笈七籤 (2).txt"},
     {"雲笈七籤.txt", "雲笈七籤__2_.txt"}},
    {"DigitFirst", {"1.txt", "-x"}, {"_1.txt", "_-x"}},
    {"RepeatedNames",
     {"a/t.txt", "b/t.txt", "c/t.txt"},
     {"t.txt", "t.txt-2", "t.txt-3"}},
    {"EmptyAndColon", {"", "a:b"}, {"_", "a_b"}},
    {"StrayByteAndReplacementCharacter",
     {"x\xFFy.txt", "x\xEF\xBF\xBDy.txt"},
     {"x_y.txt", "x_y.txt-2"}},
};

class WitnessIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(WitnessIdTest, IsAnXmlNameAfterTheFile) {
  const IdCase& c = GetParam();
  RunDescription run;
  run.source_count = static_cast<int>(c.files.size());
  for (int k = 0; k < run.source_count; ++k) run.sources[k].name = c.files[k];
  const auto ids = reports::WitnessIds(run);
  for (int k = 0; k < run.source_count; ++k) {
    EXPECT_EQ(ids[k], c.ids[k]) << c.files[k];
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, WitnessIdTest, ::testing::ValuesIn(kIds),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tessel::testing
