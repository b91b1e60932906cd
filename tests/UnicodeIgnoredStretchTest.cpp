// Ignored stretches in Unicode runs: openers and closers match as
// characters of a UTF source and as their Big5 bytes in a Big5 source; a
// stretch is copied in its source's bytes and written, where another file
// shows it in a block, in that file's encoding.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ComparisonRun.h"
#include "TestSupport.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

std::string Big5(const std::string& utf8) {
  return ConvertText(utf8, Encoding::kUtf8, Encoding::kBig5);
}

const std::string kTail = "天地玄黃宇宙洪荒";
// The pairs as the front ends hand them over: Big5 bytes.
const std::pair<std::string, std::string> kNote{"(", ")"};
const std::pair<std::string, std::string> kWideNote{Big5("（"), Big5("）")};
const std::pair<std::string, std::string> kMark{"<pb", ">"};

struct UnicodeStretchCase {
  const char* name;
  std::string source1, source2;  // bytes as stored
  EncodingChoice encoding1, encoding2;
  std::vector<std::pair<std::string, std::string>> stretches;
  std::string result1, result2;
  int differences;
};

class UnicodeIgnoredStretchTest
    : public ::testing::TestWithParam<UnicodeStretchCase> {};

TEST_P(UnicodeIgnoredStretchTest, CopiesStretchesInTheirSourcesBytes) {
  const UnicodeStretchCase& c = GetParam();
  for (const bool fast : {false, true}) {
    TempDir dir;
    RecordingHost host;
    RunOptions& o = host.options;
    SetTwoSourceRun(o, dir, c.source1, c.source2);
    o.encodings = {c.encoding1, c.encoding2, EncodingChoice::kAuto};
    o.unicode = true;
    o.ignore_between = c.stretches;
    host.fast = fast;
    NotationTable notations;
    ComparisonRun run(host, notations);
    const RunStatus status = run.RunComparison(o);
    ASSERT_EQ(status.outcome, RunOutcome::kCompleted) << c.name;
    EXPECT_EQ(BytesText(ReadFile(dir / "r1")), BytesText(c.result1))
        << c.name << (fast ? " fast" : " slow");
    EXPECT_EQ(BytesText(ReadFile(dir / "r2")), BytesText(c.result2))
        << c.name << (fast ? " fast" : " slow");
    EXPECT_EQ(status.diff_count, c.differences) << c.name;
  }
}

constexpr EncodingChoice kBig5 = EncodingChoice::kBig5;
constexpr EncodingChoice kUtf8 = EncodingChoice::kUtf8;
constexpr EncodingChoice kUtf16 = EncodingChoice::kUtf16Le;

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeIgnoredStretchTest,
    ::testing::Values(
        UnicodeStretchCase{"Big5NoteAgainstUtf8Text",
                           Big5("甲乙（注文）" + kTail),
                           "甲乙" + kTail,
                           kBig5,
                           kUtf8,
                           {kWideNote},
                           Big5("甲乙（注文）" + kTail),
                           "甲乙" + kTail,
                           0},
        // A three-byte opener in UTF-8 on both sides: the reader's short
        // way for common characters must not pass over it.
        UnicodeStretchCase{"WideNoteInUtf8OnBothSides",
                           "甲乙（注文）" + kTail,
                           "甲乙" + kTail,
                           kUtf8,
                           kUtf8,
                           {kWideNote},
                           "甲乙（注文）" + kTail,
                           "甲乙" + kTail,
                           0},
        // 𤣥 has no Big5 code: the Big5 edition spells it as a notation.
        UnicodeStretchCase{"NotesOfEachEncodingAreIgnored",
                           "甲(𤣥也)乙" + kTail,
                           Big5("甲乙(&x-248E5;)") + Big5(kTail),
                           kUtf8,
                           kBig5,
                           {kNote},
                           "甲(𤣥也)乙" + kTail,
                           Big5("甲乙(&x-248E5;)" + kTail),
                           0},
        UnicodeStretchCase{
            "OpenerOfSeveralCharacters",
            "甲<pb:1a>乙" + kTail,
            ConvertText("甲乙<p>" + kTail, Encoding::kUtf8, Encoding::kUtf16Le),
            kUtf8,
            kUtf16,
            {kMark},
            "甲<pb:1a>乙{{||<p>}}" + kTail,
            ConvertText("甲乙{{<p>||}}" + kTail, Encoding::kUtf8,
                        Encoding::kUtf16Le),
            1},
        // A stretch between a block's compared characters is shown in
        // the other file's encoding: 𤣥 becomes a notation in Big5.
        UnicodeStretchCase{"StretchInsideABlock",
                           "甲乙(𤣥)丙" + kTail,
                           Big5("甲子丑" + kTail),
                           kUtf8,
                           kBig5,
                           {kNote},
                           "甲{{乙(𤣥)丙||子丑}}" + kTail,
                           Big5("甲{{子丑||乙(&x-248E5;)丙}}" + kTail),
                           1},
        UnicodeStretchCase{"NoStretchAcrossALineEnd",
                           "甲(乙\n丙)" + kTail,
                           "甲(丁\n丙)" + kTail,
                           kUtf8,
                           kUtf8,
                           {kNote},
                           "甲({{乙||丁}}\n丙)" + kTail,
                           "甲({{丁||乙}}\n丙)" + kTail,
                           1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessel::testing
