#include "ReportFiles.h"

#include <system_error>
#include <utility>

#include "HtmlReportWriter.h"
#include "JsonReportWriter.h"
#include "TeiWriter.h"

namespace tessel::cli {

std::vector<std::filesystem::path> ReportPaths::all() const {
  std::vector<std::filesystem::path> paths;
  for (const auto* path : {&html, &json, &tei}) {
    if (*path) paths.push_back(**path);
  }
  return paths;
}

std::filesystem::path TemporaryReportPath(const std::filesystem::path& path) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::filesystem::path temporary = path;
    temporary += ".tessel-tmp";
    if (n > 1) {
      temporary += "-";
      temporary += std::to_string(n);
    }
    if (!std::filesystem::exists(temporary, ec) && !ec) return temporary;
  }
}

ReportFiles::ReportFiles(std::string program) : program_(std::move(program)) {}

ReportFiles::~ReportFiles() { Finish(false); }

std::optional<RunError> ReportFiles::Open(const ReportPaths& paths) {
  const auto open = [&](const std::optional<std::filesystem::path>& path,
                        auto make) -> bool {
    if (!path) return true;
    Report report;
    report.path = *path;
    // A device such as /dev/null is written as it is: a file made beside
    // it and renamed over it would replace the device.
    std::error_code ec;
    report.direct = std::filesystem::is_character_file(*path, ec);
    report.temporary = report.direct ? *path : TemporaryReportPath(*path);
    report.out =
        OutputStream::OpenFile(report.temporary, OutputStream::Mode::kBinary);
    if (report.out == nullptr) return false;
    report.writer = make(*report.out);
    reports_.push_back(std::move(report));
    return true;
  };
  const auto fail = [&](const std::filesystem::path& path) {
    Finish(false);
    return RunError{RunErrorKind::kOpenFailed, RunFile::kReport, path};
  };
  if (!open(paths.html, [&](OutputStream& out) {
        return std::make_unique<reports::HtmlReportWriter>(out, program_);
      })) {
    return fail(*paths.html);
  }
  if (!open(paths.json, [&](OutputStream& out) {
        return std::make_unique<reports::JsonReportWriter>(out, program_);
      })) {
    return fail(*paths.json);
  }
  if (!open(paths.tei, [&](OutputStream& out) {
        return std::make_unique<reports::TeiWriter>(out, program_);
      })) {
    return fail(*paths.tei);
  }
  return std::nullopt;
}

std::vector<DifferenceSink*> ReportFiles::sinks() {
  if (reports_.empty()) return {};
  std::vector<DifferenceSink*> writers;
  for (const Report& report : reports_) writers.push_back(report.writer.get());
  threads_ = std::make_unique<SinkThreads>(std::move(writers));
  return {threads_.get()};
}

std::vector<RunError> ReportFiles::Finish(bool keep) {
  // A run that ended early may not have called EndRun: no writer may still
  // be writing when its output closes.
  threads_.reset();
  std::vector<RunError> errors;
  for (Report& report : reports_) {
    std::error_code ec;
    const bool written = report.out->Close();
    if (report.direct) {
      if (keep && !written) {
        errors.push_back(RunError{RunErrorKind::kWriteFailed, RunFile::kReport,
                                  report.path});
      }
      continue;
    }
    if (keep && written) {
      std::filesystem::rename(report.temporary, report.path, ec);
      if (!ec) continue;
    }
    std::filesystem::remove(report.temporary, ec);
    if (keep) {
      errors.push_back(
          RunError{RunErrorKind::kWriteFailed, RunFile::kReport, report.path});
    }
  }
  reports_.clear();
  return errors;
}

}  // namespace tessel::cli
