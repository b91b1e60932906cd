// Writes every report case into a folder for the file-level checks that
// ctest runs with other tools: for each case NAME, NAME.json,
// NAME.tei.xml and NAME.html, each source's text as NAME.source<k>.txt and
// its compared characters as NAME.compared<k>.txt (k from 1). With
// --large, also the large run's HTML report as large.html, to try the page
// at full size.
//
//   write-report-samples FOLDER [--large]

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "HtmlReportWriter.h"
#include "JsonReportWriter.h"
#include "OutputStream.h"
#include "ReportCases.h"
#include "TeiWriter.h"

namespace {

using tessel::OutputStream;
using tessel::testing::SyntheticRun;

constexpr std::string_view kProgram = "Tessel samples";

bool WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  auto out = OutputStream::OpenFile(path, OutputStream::Mode::kBinary);
  if (out == nullptr) return false;
  out->Write(bytes);
  return out->Close();
}

template <typename Writer>
bool WriteReport(const std::filesystem::path& path, const SyntheticRun& run) {
  auto out = OutputStream::OpenFile(path, OutputStream::Mode::kBinary);
  if (out == nullptr) return false;
  Writer writer(*out, std::string(kProgram));
  run.Play(writer);
  return out->Close();
}

bool WriteCase(const std::filesystem::path& folder, const std::string& name,
               const SyntheticRun& run) {
  const auto file = [&](const std::string& suffix) {
    return folder / (name + suffix);
  };
  bool ok =
      WriteReport<tessel::reports::JsonReportWriter>(file(".json"), run) &&
      WriteReport<tessel::reports::TeiWriter>(file(".tei.xml"), run) &&
      WriteReport<tessel::reports::HtmlReportWriter>(file(".html"), run);
  for (int k = 0; k < run.description.source_count; ++k) {
    const std::string number = std::to_string(k + 1);
    ok = ok && WriteBytes(file(".source" + number + ".txt"), run.texts[k]) &&
         WriteBytes(file(".compared" + number + ".txt"), run.compared[k]);
  }
  if (!ok) std::fprintf(stderr, "cannot write case %s\n", name.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: write-report-samples FOLDER [--large]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  bool ok = true;
  for (const auto& report_case : tessel::testing::ReportCases()) {
    ok = WriteCase(folder, report_case.name, report_case.run) && ok;
  }
  if (argc > 2 && std::string_view(argv[2]) == "--large") {
    ok = WriteReport<tessel::reports::HtmlReportWriter>(
             folder / "large.html", tessel::testing::LargeRun()) &&
         ok;
  }
  return ok ? 0 : 1;
}
