// Writes the three reports of a completed Big5 run from its result files
// (see ResultReplay.h), with the files the sample checks read beside them:
// NAME.json, NAME.tei.xml, NAME.html, each source as NAME.source<k>.txt
// (its own bytes) and its compared characters as NAME.compared<k>.txt
// (UTF-8).
//
//   replay-reports [--signs FILE] [--window N] NAME SOURCE1 RESULT1
//                  SOURCE2 RESULT2 [SOURCE3 RESULT3]

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "HtmlReportWriter.h"
#include "JsonReportWriter.h"
#include "NotationTable.h"
#include "OutputStream.h"
#include "ResultReplay.h"
#include "RunOptions.h"
#include "SignFile.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TeiWriter.h"

namespace {

using namespace tessel;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteBytes(const std::string& path, std::string_view bytes) {
  auto out = OutputStream::OpenFile(path, OutputStream::Mode::kBinary);
  if (out == nullptr) return false;
  out->Write(bytes);
  return out->Close();
}

// Gathers each source's compared characters as the sinks receive them.
class ComparedText : public DifferenceSink {
 public:
  std::array<std::string, kMaxReportSources> texts;
  void BeginRun(const RunDescription&) override {}
  void CopyText(int k, std::string_view text, bool ignored) override {
    if (!ignored) texts[k] += text;
  }
  void Difference(const DifferenceRecord& record) override {
    for (int k = 0; k < kMaxReportSources; ++k) {
      texts[k] += record.spans[k].compared;
    }
  }
  void EndRun(const RunEnd&) override {}
};

// Forwards every call to each of its sinks.
class Fanout : public DifferenceSink {
 public:
  std::vector<DifferenceSink*> sinks;
  void BeginRun(const RunDescription& run) override {
    for (auto* sink : sinks) sink->BeginRun(run);
  }
  void CopyText(int k, std::string_view text, bool ignored) override {
    for (auto* sink : sinks) sink->CopyText(k, text, ignored);
  }
  void Difference(const DifferenceRecord& record) override {
    for (auto* sink : sinks) sink->Difference(record);
  }
  void EndRun(const RunEnd& end) override {
    for (auto* sink : sinks) sink->EndRun(end);
  }
};

// The ignored symbols above the control codes, in code order, as UTF-8.
std::vector<std::string> IgnoredSymbols(TokenReader& reader) {
  std::vector<std::string> symbols;
  for (Code code = kLastControl + 1; code < kCodeLimit; ++code) {
    if (!reader.IsIgnored(code)) continue;
    std::string big5;
    auto out = OutputStream::ToString(&big5, OutputStream::Mode::kBinary);
    reader.WriteCodeText(code, *out);
    out->Close();
    symbols.push_back(testing::Big5TextToUtf8(big5, reader));
  }
  return symbols;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string signs;
  RunDescription description;
  description.window_size = kDefaultWindowSize;
  description.diff_limit = kNoReportLimit;
  while (args.size() >= 2 && args[0].rfind("--", 0) == 0) {
    if (args[0] == "--signs") signs = args[1];
    if (args[0] == "--window") description.window_size = std::stoi(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 5 && args.size() != 7) {
    std::fprintf(stderr,
                 "usage: replay-reports [--signs FILE] [--window N] NAME "
                 "SOURCE1 RESULT1 SOURCE2 RESULT2 [SOURCE3 RESULT3]\n");
    return 2;
  }
  const std::string name = args[0];
  description.source_count = static_cast<int>(args.size() - 1) / 2;

  NotationTable notations;
  SignSet sign_set;
  TokenReader reader(notations, sign_set, true);
  if (!signs.empty()) {
    auto file = SourceStream::OpenFile(signs);
    if (file == nullptr)
      return std::fprintf(stderr, "no %s\n", signs.c_str()), 1;
    LoadSignFile(reader, *file, sign_set);
  }
  description.ignored_symbols = IgnoredSymbols(reader);

  std::vector<std::string> results;
  bool ok = true;
  for (int k = 0; k < description.source_count; ++k) {
    const std::string& source = args[1 + 2 * k];
    description.sources[k].name =
        std::filesystem::path(source).filename().string();
    description.sources[k].encoding = "big5";
    const std::string bytes = ReadBytes(source);
    description.sources[k].byte_size = static_cast<std::int64_t>(bytes.size());
    ok = ok &&
         WriteBytes(name + ".source" + std::to_string(k + 1) + ".txt", bytes);
    results.push_back(ReadBytes(args[2 + 2 * k]));
  }

  std::string json, tei, html;
  auto json_out = OutputStream::ToString(&json, OutputStream::Mode::kBinary);
  auto tei_out = OutputStream::ToString(&tei, OutputStream::Mode::kBinary);
  auto html_out = OutputStream::ToString(&html, OutputStream::Mode::kBinary);
  reports::JsonReportWriter json_writer(*json_out, "Tessel replay");
  reports::TeiWriter tei_writer(*tei_out, "Tessel replay");
  reports::HtmlReportWriter html_writer(*html_out, "Tessel replay");
  ComparedText compared;
  Fanout all;
  all.sinks = {&json_writer, &tei_writer, &html_writer, &compared};
  const std::string trouble =
      testing::ReplayResults(results, reader, description, all);
  if (!trouble.empty()) {
    std::fprintf(stderr, "replay-reports: %s\n", trouble.c_str());
    return 1;
  }
  json_out->Close();
  tei_out->Close();
  html_out->Close();
  ok = ok && WriteBytes(name + ".json", json) &&
       WriteBytes(name + ".tei.xml", tei) && WriteBytes(name + ".html", html);
  for (int k = 0; k < description.source_count; ++k) {
    ok = ok && WriteBytes(name + ".compared" + std::to_string(k + 1) + ".txt",
                          compared.texts[k]);
  }
  return ok ? 0 : 1;
}
