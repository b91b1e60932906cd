// The escaping of texts into JSON, HTML and XML: every character that
// would end a string, open markup or break a parser, and ill-formed UTF-8.

#include "TextEscape.h"

#include <gtest/gtest.h>

#include <string>

#include "OutputStream.h"

namespace tessel::reports {
namespace {

struct EscapeCase {
  const char* name;
  std::string input;
  std::string json;
  std::string html;
  std::string xml;
};

template <typename Write>
std::string Written(Write write, const std::string& text) {
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  write(text, *out);
  out->Close();
  return bytes;
}

const EscapeCase kCases[] = {
    {"PlainChinese", "會四州", "\"會四州\"", "會四州", "會四州"},
    {"MarkupCharacters", "<a href=\"x\">&'", "\"\\u003ca href=\\\"x\\\">&'\"",
     "&lt;a href=&quot;x&quot;&gt;&amp;&#39;",
     "&lt;a href=&quot;x&quot;&gt;&amp;'"},
    {"ScriptEnd", "</script>", "\"\\u003c/script>\"", "&lt;/script&gt;",
     "&lt;/script&gt;"},
    {"LineEndsAndTab", "a\tb\r\nc", "\"a\\tb\\u000d\\nc\"",
     "a\tb\xE2\x90\x8D\nc", "a&#x9;b&#xD;\nc"},
    {"ControlAndDelete", std::string("\x01\x7F\x00", 3),
     "\"\\u0001\x7F\\u0000\"", "\xE2\x90\x81\xE2\x90\xA1\xE2\x90\x80",
     "\xEF\xBF\xBD\x7F\xEF\xBF\xBD"},
    {"Backslash", "a\\b", "\"a\\\\b\"", "a\\b", "a\\b"},
    {"LineSeparators", "\xE2\x80\xA8\xE2\x80\xA9", "\"\\u2028\\u2029\"",
     "\xE2\x80\xA8\xE2\x80\xA9", "\xE2\x80\xA8\xE2\x80\xA9"},
    {"StrayByte",
     "a\xFF"
     "b",
     "\"a\xEF\xBF\xBD"
     "b\"",
     "a\xEF\xBF\xBD"
     "b",
     "a\xEF\xBF\xBD"
     "b"},
    {"OverlongSlash", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"Surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"CutShort", "\xE6\x9C", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"NonCharacterInXml", "\xEF\xBF\xBE", "\"\xEF\xBF\xBE\"", "\xEF\xBF\xBE",
     "\xEF\xBF\xBD"},
    {"BeyondBmp", "\xF0\xA0\x80\x80", "\"\xF0\xA0\x80\x80\"",
     "\xF0\xA0\x80\x80", "\xF0\xA0\x80\x80"},
};

class TextEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TextEscapeTest, WritesEachFormatExactly) {
  const EscapeCase& c = GetParam();
  EXPECT_EQ(Written(WriteJsonString, c.input), c.json) << "JSON";
  EXPECT_EQ(Written(WriteHtmlText, c.input), c.html) << "HTML";
  EXPECT_EQ(Written(WriteXmlText, c.input), c.xml) << "XML";
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEscapeTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(CountCodePointsTest, CountsEachIllFormedByteOnce) {
  EXPECT_EQ(CountCodePoints(""), 0u);
  EXPECT_EQ(CountCodePoints("a會\xF0\xA0\x80\x80"), 3u);
  EXPECT_EQ(CountCodePoints("\xE6\x9C"), 2u);
}

}  // namespace
}  // namespace tessel::reports
