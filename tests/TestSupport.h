// Helpers shared by the tests: temporary folders, whole-file reads and
// writes, rendering codes as text, a recording run host, and running
// tessel-cli as a child process.

#ifndef TESSEL_TESTS_TESTSUPPORT_H_
#define TESSEL_TESTS_TESTSUPPORT_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "CharCodes.h"
#include "RunHost.h"
#include "RunOptions.h"
#include "UnicodeDecoder.h"

namespace tessel::testing {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const {
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Writes `source1` and `source2` as dir/s1 and dir/s2 and points `options`
// at them, their results dir/r1 and dir/r2 and the difference file dir/d.
void SetTwoSourceRun(RunOptions& options, const TempDir& dir,
                     std::string_view source1, std::string_view source2);

// Renders codes as four hex digits each, separated by blanks: "A4A4 010A".
std::string CodesText(const std::vector<Code>& codes);

// Renders bytes as hex pairs, printable ASCII as itself: "A<A4A4>\r\n".
std::string BytesText(std::string_view bytes);

// A run host that records what the run tells it, with the options of the
// run to come. The timer ticks on every pass once `tick_from_pass` passes
// have processed events; stop is requested from pass `stop_at_pass` on.
class RecordingHost : public RunHost {
 public:
  RunOptions options;
  bool fast = false;
  int tick_from_pass = 0;
  int stop_at_pass = -1;

  std::int32_t diff_count = -1;
  std::int64_t progress_maximum = -1;
  std::vector<std::int64_t> progress;
  int passes = 0;

  bool FastMode() override { return fast; }
  void ProcessEvents() override { ++passes; }
  bool TimerTick() override { return passes >= tick_from_pass; }
  void ClearTimerTick() override {}
  bool StopRequested() override {
    return stop_at_pass >= 0 && passes >= stop_at_pass;
  }
  void SetDiffCount(std::int32_t count) override { diff_count = count; }
  void SetProgressMaximum(std::int64_t maximum) override {
    progress_maximum = maximum;
  }
  void SetProgressPosition(std::int64_t position) override {
    progress.push_back(position);
  }
};

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Runs `program` with `args` in `cwd` and waits for it. Sends it SIGINT
// after `interrupt_after_ms` when that is not negative. A child still
// running after `kill_after_ms` is killed: a hang fails the test, not CI.
ProcessResult RunProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& args,
                         const std::filesystem::path& cwd,
                         int interrupt_after_ms = -1,
                         int kill_after_ms = 120'000);

// The start of a difference line: "%6d, %6d, " for lines a and b.
std::string Lines(int a, int b);

// `span` filled with blanks to the 31 bytes of a difference-file column.
std::string Pad(const std::string& span);

// `text` as a text-mode file holds it: every line feed as CR LF.
std::string OnDisk(std::string_view text);

// A name for a parameterised test row: `name` with every character that is
// not a letter or digit made '_'.
std::string RowName(std::string name);

// A name for row `index` of a parameterised test whose input is `bytes`:
// "r07_" then the bytes, letters and digits as they are, others by name
// ("lb" for "[", "LF", "NUL", "x1A", ...), cut to a readable length.
std::string BytesName(std::size_t index, std::string_view bytes);

// Whether `text` holds only what the sink contract lets a writer copy as
// it is: well-formed characters from U+0080 up, none of those escaped or
// used as marks by a report.
inline bool AllCopyVerbatim(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    const DecodedChar c = DecodeUtf8(p, end);
    if (c.raw || c.value < 0x80 || c.value == 0x2028 || c.value == 0x2029 ||
        c.value == 0xFDD0 || c.value == 0xFDD1 || c.value >= 0xFFFE) {
      return false;
    }
    p += c.length;
  }
  return true;
}

// The tessel-cli under test (its path comes from the build).
std::filesystem::path CliPath();

// The folder of whole-run cases, tests/data.
std::filesystem::path TestDataDir();

}  // namespace tessel::testing

#endif  // TESSEL_TESTS_TESTSUPPORT_H_
