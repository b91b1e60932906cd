// The report writers on threads of their own write what they write when fed
// directly, and a writer that fails is told of at the end.

#include "SinkThreads.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "HtmlReportWriter.h"
#include "JsonReportWriter.h"
#include "ReportCases.h"
#include "TeiWriter.h"

namespace tessel::testing {
namespace {

constexpr int kWriters = 3;

// Where `a` and `b` first differ, for a failure message: a report is too
// long for a diff of the whole.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

// The three reports of `run`, written by writers fed directly or through
// SinkThreads.
std::vector<std::string> Reports(const SyntheticRun& run, bool threaded) {
  std::vector<std::string> bytes(kWriters);
  std::vector<std::unique_ptr<OutputStream>> outs;
  std::vector<std::unique_ptr<DifferenceSink>> writers;
  for (std::string& b : bytes) {
    outs.push_back(OutputStream::ToString(&b, OutputStream::Mode::kBinary));
  }
  writers.push_back(std::make_unique<reports::HtmlReportWriter>(*outs[0], "t"));
  writers.push_back(std::make_unique<reports::JsonReportWriter>(*outs[1], "t"));
  writers.push_back(std::make_unique<reports::TeiWriter>(*outs[2], "t"));
  if (threaded) {
    SinkThreads threads({writers[0].get(), writers[1].get(), writers[2].get()});
    run.Play(threads);
  } else {
    for (const auto& writer : writers) run.Play(*writer);
  }
  for (const auto& out : outs) out->Close();
  return bytes;
}

TEST(SinkThreadsTest, WritersOnThreadsWriteWhatTheyWriteFedDirectly) {
  std::vector<std::pair<std::string, SyntheticRun>> runs = {
      {"small, two sources", SmallTwoSourceRun()},
      {"small, three sources", SmallThreeSourceRun()},
      {"variants", SmallVariantRun()},
      {"three sources with variants", ThreeSourceVariantRun()},
      // Many batches: far more calls and bytes than one holds.
      {"large", LargeRun()},
  };
  for (const auto& [name, run] : runs) {
    const std::vector<std::string> direct = Reports(run, false);
    const std::vector<std::string> threaded = Reports(run, true);
    for (int w = 0; w < kWriters; ++w) {
      EXPECT_TRUE(threaded[w] == direct[w])
          << name << ", writer " << w << ": sizes " << threaded[w].size()
          << " and " << direct[w].size() << ", first difference at byte "
          << FirstDifference(threaded[w], direct[w]);
    }
  }
}

// Throws at its third difference.
class FailingSink : public DifferenceSink {
 public:
  void BeginRun(const RunDescription&) override {}
  void CopyText(int, std::string_view, bool) override {}
  void Difference(const DifferenceRecord&) override {
    if (++differences_ == 3) throw std::runtime_error("disk gone");
  }
  void EndRun(const RunEnd&) override { ended_ = true; }
  bool ended_ = false;

 private:
  int differences_ = 0;
};

TEST(SinkThreadsTest, ASinkThatThrowsIsToldOfAtTheEndAndTheOthersFinish) {
  const SyntheticRun run = SmallThreeSourceRun();
  std::string direct;
  {
    auto out = OutputStream::ToString(&direct, OutputStream::Mode::kBinary);
    reports::JsonReportWriter writer(*out, "t");
    run.Play(writer);
  }
  std::string threaded;
  auto out = OutputStream::ToString(&threaded, OutputStream::Mode::kBinary);
  reports::JsonReportWriter writer(*out, "t");
  FailingSink failing;
  SinkThreads threads({&failing, &writer});
  EXPECT_THROW(run.Play(threads), std::runtime_error);
  EXPECT_FALSE(failing.ended_);
  out->Close();
  EXPECT_EQ(threaded, direct);
}

TEST(SinkThreadsTest, ARunThatNeverEndsStillLetsItsThreadsGo) {
  const SyntheticRun run = LargeRun();
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  reports::TeiWriter writer(*out, "t");
  {
    SinkThreads threads({&writer});
    threads.BeginRun(run.description);
    threads.CopyText(0, "道", false);
    // Destroyed without EndRun: joins, having replayed what it was given.
  }
  out->Close();
  EXPECT_NE(bytes.find("\xE9\x81\x93"), std::string::npos);
}

}  // namespace
}  // namespace tessel::testing
