// Runs made up for the report tests: the texts of two or three sources and
// their differences, built step by step and then played to any sink as a
// run would hand them over. The sources are UTF-8, so offsets are UTF-8
// byte offsets.

#ifndef TESSEL_TESTS_REPORTS_SYNTHETICRUN_H_
#define TESSEL_TESTS_REPORTS_SYNTHETICRUN_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DifferenceSink.h"

namespace tessel::testing {

class SyntheticRun {
 public:
  // The ignored symbols are each one code point; control characters are
  // always ignored besides.
  SyntheticRun(int source_count, std::vector<std::string> ignored_symbols);

  // Text that every source holds alike at this point.
  void Same(std::string_view text);
  // Text that only source `k` (0-based) holds here; it must consist of
  // ignored symbols, or the sources would differ.
  void Own(int k, std::string_view text);
  // A difference whose spans are `spans` (one per source, "" for none).
  void Differ(const std::vector<std::string>& spans);
  // A variant: each source holds its one character of `characters` here
  // (a notation "&x-HEX;" stands for that character).
  void Alike(const std::vector<std::string>& characters);
  // Ends the run; a run that did not complete leaves every source
  // unfinished.
  void Finish(ReportOutcome outcome);

  // Hands the whole run to `sink`: BeginRun, the texts and differences in
  // order, EndRun.
  void Play(DifferenceSink& sink) const;

  RunDescription description;
  RunEnd end;
  // Each source's whole text, and its compared characters alone.
  std::array<std::string, kMaxReportSources> texts;
  std::array<std::string, kMaxReportSources> compared;

 private:
  struct Span {
    std::int64_t line, offset, length;
    std::string text, compared;
    std::int32_t count;
  };
  struct Event {
    bool is_variant;
    bool is_difference;
    int source;
    bool ignored;
    std::string text;
    std::int64_t number;
    std::array<Span, kMaxReportSources> spans;
  };

  bool IsIgnored(std::string_view character) const;
  void PlayVariant(const Event& event, DifferenceSink& sink) const;
  // Appends `text` to source `k` as copied text, one event per stretch of
  // ignored or compared characters.
  void Copy(int k, std::string_view text);
  void Append(int k, std::string_view text);

  int source_count_;
  std::array<std::int64_t, kMaxReportSources> lines_{1, 1, 1};
  std::int64_t differences_ = 0;
  std::int64_t variants_ = 0;
  std::vector<Event> events_;
};

// A run made up from `seed`: `differences` differences of every kind among
// ordinary and awkward characters (會, 四, 州, whose Big5 second bytes are
// "|" and "}"; < & " and control characters), separated by
// `segment_length` characters on average, lines of varying length, and
// layout symbols that only one source has.
SyntheticRun GenerateRun(unsigned seed, int source_count, int differences,
                         int segment_length, ReportOutcome outcome);

}  // namespace tessel::testing

#endif  // TESSEL_TESTS_REPORTS_SYNTHETICRUN_H_
