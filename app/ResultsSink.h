// The window's own sink of a run: it keeps what the run hands over (the
// editions' texts as UTF-8, which stretches were ignored symbols, and every
// difference) so that the results view can show any difference in its
// context after the run, and the HTML report can be written from it later
// without running again.
//
// Memory: the editions' texts once each, as UTF-8 (about 1.5 times a Big5
// edition), one entry per change between ignored and compared text, about
// 150 bytes per difference and, with variant tables, about 130 bytes per
// variant. The texts are needed to show a
// difference in context; nothing else grows with the run.

#ifndef TESSEL_APP_RESULTSSINK_H_
#define TESSEL_APP_RESULTSSINK_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DifferenceSink.h"

namespace tessel::app {

// One source's side of a kept difference. The span's text is
// Text(source).substr(text_start, text_length), its compared characters
// Compared(source).substr(compared_start, compared_length).
struct KeptSpan {
  std::int64_t line = 1;
  std::int64_t byte_offset = 0;  // in the source file, as the run gave it
  std::int64_t byte_length = 0;
  std::size_t text_start = 0;
  std::size_t text_length = 0;
  std::size_t compared_start = 0;
  std::size_t compared_length = 0;
  std::int32_t compared_count = 0;
};

struct KeptDifference {
  std::int64_t number = 0;
  std::array<KeptSpan, kMaxReportSources> spans;
  // As DifferenceRecord::same_as.
  std::array<int, kMaxReportSources> same_as{};
};

// One source's side of a kept variant: its character's text is
// Text(source).substr(text_start, text_length).
struct KeptPlace {
  std::int64_t line = 1;
  std::int64_t byte_offset = 0;
  std::int64_t byte_length = 0;
  std::size_t text_start = 0;
  std::size_t text_length = 0;
  char32_t character = 0;
};

struct KeptVariant {
  std::int64_t number = 0;
  // How many differences came before it.
  std::size_t differences_before = 0;
  std::array<KeptPlace, kMaxReportSources> places;
};

class ResultsSink : public DifferenceSink {
 public:
  void BeginRun(const RunDescription& run) override;
  void CopyText(int source, std::string_view text, bool ignored) override;
  void Difference(const DifferenceRecord& record) override;
  void Variant(const VariantRecord& record) override;
  void EndRun(const RunEnd& end) override;

  // BeginRun has been called: the run handed its results over.
  bool started() const { return started_; }
  // EndRun has been called; end() is only meaningful then.
  bool ended() const { return ended_; }
  const RunDescription& description() const { return description_; }
  const RunEnd& end() const { return end_; }
  int source_count() const { return description_.source_count; }

  std::size_t size() const { return differences_.size(); }
  const KeptDifference& at(std::size_t i) const { return differences_[i]; }
  // Source k's text as read so far (0-based k), every character once.
  std::string_view Text(int k) const { return texts_[k]; }
  std::string_view SpanText(std::size_t i, int k) const;
  const std::vector<KeptVariant>& variants() const { return variants_; }

  // Hands the kept run to `sink` as the run handed it here: BeginRun, the
  // copied texts, the differences and the variants in order, and EndRun if
  // the run had ended. Copied text may come in other pieces than the run's,
  // which the sink contract allows.
  void Replay(DifferenceSink& sink) const;

 private:
  // A stretch of ignored symbols in a source's text.
  struct Stretch {
    std::size_t start = 0;
    std::size_t length = 0;
  };
  // Copies source k's text [from, to) to `sink`, split where it changes
  // between ignored and compared; `next` is the first ignored stretch that
  // may lie in it, and is moved past those it uses.
  void ReplayCopy(DifferenceSink& sink, int k, std::size_t from, std::size_t to,
                  std::size_t& next) const;
  // Hands `variant` to `sink` with the copied text before it and its
  // characters, moving each `cursor` past them.
  void ReplayVariant(DifferenceSink& sink, const KeptVariant& variant,
                     std::array<std::size_t, kMaxReportSources>& cursor,
                     std::array<std::size_t, kMaxReportSources>& next) const;

  bool started_ = false;
  bool ended_ = false;
  RunDescription description_;
  RunEnd end_;
  std::array<std::string, kMaxReportSources> texts_;
  std::array<std::string, kMaxReportSources> compared_;
  std::array<std::vector<Stretch>, kMaxReportSources> ignored_;
  std::vector<KeptDifference> differences_;
  std::vector<KeptVariant> variants_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_RESULTSSINK_H_
