// The HTML report's data and summary, and the statistics behind them. That
// the page works in a browser is checked by check_html.py in Chromium.

#include "HtmlReportWriter.h"

#include <gtest/gtest.h>

#include <string>

#include "HtmlReportPage.h"
#include "ReportCases.h"

namespace tessel::testing {
namespace {

std::string HtmlOf(const SyntheticRun& run) {
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  reports::HtmlReportWriter writer(*out, "Tessel test");
  run.Play(writer);
  out->Close();
  return bytes;
}

// The part of the page between `from` and `to`, both included.
std::string Between(const std::string& page, const std::string& from,
                    const std::string& to) {
  const std::size_t start = page.find(from);
  if (start == std::string::npos) return "(no " + from + ")";
  const std::size_t end = page.find(to, start);
  if (end == std::string::npos) return "(no " + to + ")";
  return page.substr(start, end + to.size() - start);
}

const std::string kMark(reports::kIgnoredMark);

TEST(HtmlReportWriterTest, DataHoldsTextsInRunOrderWithIgnoredMarked) {
  EXPECT_EQ(Between(HtmlOf(SmallTwoSourceRun()), "var META", "];\n"),
            "var META={\"n\":2};\nvar D=[\n"
            "[0,\"道可道" +
                kMark + "，" + kMark +
                "\"],\n"
                "[1,\"道可道" +
                kMark + "，" + kMark +
                "\"],\n"
                "[-1,1,[1,1],[\"非\",\"&x-975E;\"],\"1\xE2\x89\xA0"
                "2\",0,-1],\n"
                "[0,\"常道" +
                kMark + "\\n" + kMark +
                "\"],\n"
                "[1,\"常道" +
                kMark + "\\n\\n" + kMark +
                "\"],\n"
                "[-1,2,[2,3],[\"會\\u003c&\\\"\",\"\"],\"1\xE2\x89\xA0"
                "2\",2,-1],\n"
                "[0,\"名\"],\n[1,\"名\"],\n];\n");
}

TEST(HtmlReportWriterTest, ThreeSourcesNameTheLoneSource) {
  const std::string page = HtmlOf(SmallThreeSourceRun());
  EXPECT_EQ(Between(page, "[-1,1,", "\n"),
            "[-1,1,[1,1,1],[\"爲\",\"為\",\"爲\"],\"1=3\xE2\x89\xA0"
            "2\",0,1],\n");
  EXPECT_EQ(Between(page, "<p id=\"verdict\">", "</p>"),
            "<p id=\"verdict\"><b>3 differences</b>, cut off: the difference "
            "limit was reached</p>");
}

TEST(HtmlReportWriterTest, LongStretchesAreCutIntoItemsThatCloseTheirMarks) {
  SyntheticRun run(2, {" "});
  run.Same("甲");
  run.Same(std::string(reports::kHtmlFlushBytes + 10, ' '));
  run.Same("乙");
  run.Finish(ReportOutcome::kCompleted);
  const std::string data = Between(HtmlOf(run), "var D=[\n", "];\n");
  int items = 0;
  for (std::size_t at = data.find("\n[0,\""); at != std::string::npos;
       at = data.find("\n[0,\"", at + 1)) {
    const std::size_t end = data.find("\"],\n", at);
    const std::string item = data.substr(at, end - at);
    int marks = 0;
    for (std::size_t m = item.find(kMark); m != std::string::npos;
         m = item.find(kMark, m + 1)) {
      ++marks;
    }
    EXPECT_EQ(marks % 2, 0) << "item " << items;
    ++items;
  }
  EXPECT_EQ(items, 2);
}

TEST(HtmlReportWriterTest, NamesAndMarksFromTheSourcesAreEscaped) {
  SyntheticRun run(2, {});
  run.description.sources[0].name = "<b>&amp;.txt";
  run.Same("甲" + kMark + "乙");
  run.Finish(ReportOutcome::kCompleted);
  const std::string page = HtmlOf(run);
  EXPECT_EQ(Between(page, "<title>", "</title>"),
            "<title>&lt;b&gt;&amp;amp;.txt \xC2\xB7 edition-b.txt</title>");
  EXPECT_EQ(page.find("<b>&amp;"), std::string::npos);
  EXPECT_EQ(Between(page, "[0,", "\n"), "[0,\"甲\xEF\xBF\xBD乙\"],\n");
}

DifferenceRecord Record(std::int64_t number, std::int64_t offset,
                        std::string_view first, std::string_view second) {
  DifferenceRecord record;
  record.number = number;
  record.spans[0] = {1, offset, 3, first, first, first.empty() ? 0 : 1};
  record.spans[1] = {1, offset, 3, second, second, second.empty() ? 0 : 1};
  return record;
}

TEST(DifferenceStatisticsTest, CountsKindsPairsAndWhereTheyLie) {
  reports::DifferenceStatistics statistics;
  statistics.Begin(2, 1000);
  statistics.Add(Record(1, 0, "爲", "為"));
  statistics.Add(Record(2, 4, "爲", "為"));
  statistics.Add(Record(3, 500, "説", "說"));
  statistics.Add(Record(4, 999, "", "之"));
  statistics.Add(Record(5, 1000, "甲", "乙"));
  EXPECT_EQ(statistics.total(), 5);
  EXPECT_EQ(statistics.kind_count(reports::DifferenceKind::kOneForOne), 4);
  EXPECT_EQ(statistics.kind_count(reports::DifferenceKind::kInsertion), 1);
  const auto top = statistics.TopSubstitutions(2);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0], (std::pair<std::string, std::int64_t>{"爲/為", 2}));
  EXPECT_EQ(top[1], (std::pair<std::string, std::int64_t>{"甲/乙", 1}));
  const auto& strip = statistics.strip();
  EXPECT_EQ(strip[0].count, 2);
  EXPECT_EQ(strip[0].first_number, 1);
  EXPECT_EQ(strip[reports::kStripBins / 2].first_number, 3);
  // The last byte and the very end both fall in the last bin.
  EXPECT_EQ(strip[reports::kStripBins - 1].count, 2);
  EXPECT_EQ(strip[reports::kStripBins - 1].first_number, 4);
}

}  // namespace
}  // namespace tessel::testing

namespace tessel::testing {
namespace {

const std::string kVar(reports::kVariantMark);

// Each variant is an item of the segment its characters stand in, and the
// characters are enclosed in the texts, ignored stretches around them or
// not; the summary counts them and names the tables.
TEST(HtmlReportWriterTest, VariantsAreItemsAndMarkedInTheTexts) {
  const std::string page = HtmlOf(SmallVariantRun());
  EXPECT_EQ(Between(page, "var D=[\n", "];\n"),
            "var D=[\n"
            "[-2,1,[1,1],[\"爲\",\"為\"]],\n"
            "[0,\"天" +
                kVar + "爲" + kVar + "之" + kMark + "，" + kMark +
                "\"],\n"
                "[1,\"天" +
                kVar + "為" + kVar + "之" + kMark + "，" + kMark +
                "\"],\n"
                "[-1,1,[1,1],[\"玄\",\"𤣥\"],\"1\xE2\x89\xA0"
                "2\",0,-1],\n"
                "[-2,2,[2,2],[\"爲\",\"為\"]],\n"
                "[-2,3,[2,2],[\"說\",\"説\"]],\n"
                "[-2,4,[2,2],[\"爲\",\"為\"]],\n"
                "[0,\"" +
                kMark + "\\n" + kMark + kVar + "&x-7232;" + kVar + kVar + "說" +
                kVar + "也" + kVar + "爲" + kVar +
                "\"],\n"
                "[1,\"" +
                kMark + "\\n" + kMark + kVar + "為" + kVar + kVar + "説" +
                kVar + "也" + kVar + "為" + kVar + "\"],\n];\n");
  EXPECT_EQ(Between(page, "<p id=\"verdict\">", "</p>"),
            "<p id=\"verdict\"><b>1 difference</b>, <b class=\"vr\">4 "
            "variants</b>, completed: every source was read to its end</p>");
  EXPECT_EQ(Between(page, "<tr><td>variant tables", "</tr>"),
            "<tr><td>variant tables</td><td>semantic, taboo.txt</td></tr>");
  EXPECT_EQ(Between(page, "<table id=\"vpairs\"", "</table>"),
            "<table id=\"vpairs\" class=\"zh\">\n<tr><th>variant pair</th>"
            "<th>places</th></tr>\n"
            "<tr data-p=\"爲/為\"><td>爲/為</td><td class=\"r\">3</td></tr>\n"
            "<tr data-p=\"說/説\"><td>說/説</td><td class=\"r\">1</td></tr>\n"
            "</table>");
  EXPECT_NE(page.find("id=\"tabVar\""), std::string::npos);

  SyntheticRun without = SmallVariantRun();
  without.description.variant_tables.clear();
  const std::string plain = HtmlOf(without);
  for (const std::string& absent :
       {kVar, std::string("[-2,"), std::string("id=\"tabVar\""),
        std::string("id=\"vpairs\""), std::string("variant tables")}) {
    EXPECT_EQ(plain.find(absent), std::string::npos) << absent;
  }
}

}  // namespace
}  // namespace tessel::testing
