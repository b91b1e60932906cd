// The replay of result files into sinks, where a byte parser would go
// wrong: Big5 characters whose second byte is "|", "{" or "}" next to the
// block marks.

#include "ResultReplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NotationTable.h"
#include "SignSet.h"

namespace tessel::testing {
namespace {

// Records every call as one line of text.
class CallRecorder : public DifferenceSink {
 public:
  std::string calls;
  void BeginRun(const RunDescription&) override { calls += "begin\n"; }
  void CopyText(int k, std::string_view text, bool ignored) override {
    calls += "copy " + std::to_string(k) + (ignored ? " ignored " : " ") +
             std::string(text) + "\n";
  }
  void Difference(const DifferenceRecord& record) override {
    calls += "difference " + std::to_string(record.number);
    for (int k = 0; k < 2; ++k) {
      const DifferenceSpan& span = record.spans[k];
      calls += " [" + std::to_string(span.line) + " " +
               std::to_string(span.byte_offset) + "+" +
               std::to_string(span.byte_length) + " " + std::string(span.text) +
               " / " + std::string(span.compared) + " " +
               std::to_string(span.compared_count) + "]";
    }
    calls += "\n";
  }
  void EndRun(const RunEnd& end) override {
    calls += "end " + std::to_string(end.difference_count) + " lines " +
             std::to_string(end.lines[0]) + " " + std::to_string(end.lines[1]) +
             "\n";
  }
};

TEST(ResultReplayTest, FindsBlocksByCharacterNotByByte) {
  // 州 is A6 7B, 會 B7 7C, 四 A5 7C, 弓 A4 7D; "，" (A1 41) is ignored.
  const std::string first =
      "\xA6\x7B{{\xB7\x7C\xA1\x41\xA4\x7D||\xA5\x7C}}\n\xA6\x7B{{||\xB7\x7C}}";
  const std::string second =
      "\xA6\x7B{{\xA5\x7C||\xB7\x7C\xA1\x41\xA4\x7D}}\n\xA6\x7B{{\xB7\x7C||}}";
  NotationTable notations;
  SignSet signs;
  signs.Append(0xA141);
  TokenReader reader(notations, signs, true);
  RunDescription run;
  run.source_count = 2;
  CallRecorder recorder;
  ASSERT_EQ(ReplayResults({first, second}, reader, run, recorder), "");
  EXPECT_EQ(recorder.calls,
            "begin\n"
            "copy 0 州\ncopy 1 州\n"
            "difference 1 [1 2+6 會，弓 / 會弓 2] [1 2+2 四 / 四 1]\n"
            "copy 0 ignored \n\ncopy 0 州\ncopy 1 ignored \n\ncopy 1 州\n"
            "difference 2 [2 11+0  /  0] [2 7+2 會 / 會 1]\n"
            "end 2 lines 2 2\n");
}

}  // namespace
}  // namespace tessel::testing
