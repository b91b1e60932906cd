// The reports tessel-cli writes beside the result files: --html, --json and
// --tei. Each is written to a temporary file in its own folder and renamed
// to its name only when the run is over, so that a failed run leaves no
// report, whole or half-written, under a report's name.

#ifndef TESSEL_CLI_REPORTFILES_H_
#define TESSEL_CLI_REPORTFILES_H_

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DifferenceSink.h"
#include "OutputStream.h"
#include "RunStatus.h"
#include "SinkThreads.h"

namespace tessel::cli {

// The reports asked for; an absent one is not written.
struct ReportPaths {
  std::optional<std::filesystem::path> html, json, tei;

  bool any() const { return html || json || tei; }
  // The names given, in the order html, json, tei.
  std::vector<std::filesystem::path> all() const;
};

// A report named after a character device (/dev/null, /dev/stdout) is
// written to it directly.
//
// The name of the temporary file that report `path` is written to before
// it is renamed: the same folder, the same name followed by
// ".tessel-tmp", then "-2", "-3" ... if that name is taken.
std::filesystem::path TemporaryReportPath(const std::filesystem::path& path);

class ReportFiles {
 public:
  // `program` names the writer in every report ("Tessel 1.3.0").
  explicit ReportFiles(std::string program);
  ReportFiles(const ReportFiles&) = delete;
  ReportFiles& operator=(const ReportFiles&) = delete;
  // Removes every temporary file not yet renamed.
  ~ReportFiles();

  // Creates the temporary file of each report in `paths` and its writer.
  // Returns the error of the first that cannot be created (kOpenFailed, for
  // the report's own name), having removed those already made.
  std::optional<RunError> Open(const ReportPaths& paths);

  // What the run feeds: the writers, on a thread of their own
  // (SinkThreads.h); they belong to this object. Called once, after Open.
  std::vector<DifferenceSink*> sinks();

  // Closes every report. With `keep`, renames each into place; a report
  // that could not be written completely or renamed is removed and
  // reported (kWriteFailed). Without, removes them all.
  std::vector<RunError> Finish(bool keep);

 private:
  struct Report {
    std::filesystem::path path, temporary;
    bool direct = false;  // a character device, written without a rename
    std::unique_ptr<OutputStream> out;
    std::unique_ptr<DifferenceSink> writer;
  };

  std::string program_;
  std::vector<Report> reports_;
  std::unique_ptr<SinkThreads> threads_;
};

}  // namespace tessel::cli

#endif  // TESSEL_CLI_REPORTFILES_H_
