// tessel-cli: the comparison engine from the command line.

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ComparisonRun.h"
#include "ConsoleText.h"
#include "Encoding.h"
#include "NotationTable.h"
#include "PlatformFile.h"
#include "RunMessages.h"
#include "SignSet.h"
#include "TerminalHost.h"
#include "UnicodeText.h"

namespace {

constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitCutOff = 3;
constexpr int kExitStopped = 130;

// Writes "tessel-cli: `text`" as a line to stderr.
void Complain(std::string_view text) {
  tessel::cli::WriteText(stderr, "tessel-cli: " + std::string(text) + "\n");
}

// Runs tessel-cli on `args`, the arguments after the program name, in UTF-8
// on Windows and as the system gave them elsewhere. Returns the exit status.
int RunCli(const std::vector<std::string>& args) {
  using tessel::cli::CommandLine;
  CommandLine line = tessel::cli::ParseCommandLine(args);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(tessel::cli::UsageText().c_str(), stdout);
      return kExitSame;
    case CommandLine::Action::kVersion:
      std::puts("tessel-cli " TESSEL_VERSION);
      return kExitSame;
    case CommandLine::Action::kUsageError:
      Complain(line.error + "\nTry 'tessel-cli --help' for more information.");
      return kExitTrouble;
    case CommandLine::Action::kRun:
      break;
  }

  tessel::RunOptions& options = line.options;
  if (line.default_signs) options.sign_memo = tessel::kDefaultSigns;
  if (line.memo_file) {
    std::string memo;
    if (const tessel::WholeFileRead read =
            tessel::ReadWholeFile(*line.memo_file, &memo);
        read != tessel::WholeFileRead::kRead) {
      Complain(tessel::cli::RunErrorText(
          {read == tessel::WholeFileRead::kTooLarge
               ? tessel::RunErrorKind::kTooLarge
               : tessel::RunErrorKind::kOpenFailed,
           tessel::RunFile::kMemoFile, *line.memo_file}));
      return kExitTrouble;
    }
    // The memo file is detected as a source is; Unicode text is handed on
    // as UTF-8, with the default symbols in front converted to match.
    const tessel::Encoding encoding = tessel::DetectEncoding(
        {reinterpret_cast<const unsigned char*>(memo.data()), memo.size()});
    if (tessel::IsUnicodeEncoding(encoding)) {
      options.sign_memo = tessel::ConvertText(
          options.sign_memo, tessel::Encoding::kBig5, tessel::Encoding::kUtf8);
      options.sign_memo +=
          tessel::ConvertText(memo, encoding, tessel::Encoding::kUtf8);
      options.sign_memo_encoding = tessel::Encoding::kUtf8;
    } else {
      options.sign_memo += memo;
    }
  }

  // One run per process: the table needs to live no longer.
  tessel::NotationTable notations;
  tessel::cli::TerminalHost host(!line.quiet &&
                                 tessel::cli::IsTerminal(stderr));
  tessel::cli::ReportFiles reports("Tessel " TESSEL_VERSION);
  if (auto error = reports.Open(line.reports)) {
    Complain(tessel::cli::RunErrorText(*error));
    return kExitTrouble;
  }
  tessel::ComparisonRun run(host, notations, reports.sinks());
  tessel::RunStatus status = run.RunComparison(options);
  host.ClearProgress();
  // A stopped run's reports are whole documents that say it was stopped,
  // as its result files are kept as far as they got; only a failed run's
  // go.
  const bool keep_reports = status.outcome != tessel::RunOutcome::kFailed;
  std::vector<tessel::RunError> report_errors = reports.Finish(keep_reports);
  for (tessel::RunError& error : report_errors) {
    status.errors.push_back(std::move(error));
  }

  for (const tessel::RunError& error : status.errors) {
    Complain(error.kind == tessel::RunErrorKind::kVariantTable
                 ? tessel::cli::VariantTableErrorText(status.variant_table)
                 : tessel::cli::RunErrorText(error));
  }
  if (!report_errors.empty()) return kExitTrouble;
  switch (status.outcome) {
    case tessel::RunOutcome::kFailed:
      return kExitTrouble;
    case tessel::RunOutcome::kStopped:
      Complain(tessel::cli::kStopped);
      return kExitStopped;
    case tessel::RunOutcome::kCutOffNoAnchor:
    case tessel::RunOutcome::kCutOffLimit:
      Complain(tessel::cli::CutOffText(status, options));
      break;
    case tessel::RunOutcome::kCompleted:
    case tessel::RunOutcome::kLeftAtEndOfFile:
      break;
  }
  std::printf("differences: %d\n", static_cast<int>(status.diff_count));
  if (!options.variant_tables.empty()) {
    std::printf("variants: %lld\n",
                static_cast<long long>(status.variant_count));
  }
  if (options.auto_window) {
    std::printf("look-ahead reached: %d characters\n",
                static_cast<int>(status.reached_window));
  }
  if (status.cut_off()) return kExitCutOff;
  return status.diff_count > 0 ? kExitDifferent : kExitSame;
}

}  // namespace

#ifdef _WIN32
// The wide entry point: the narrow argv of Windows holds the names in the
// system's code page and loses every character it lacks.
int wmain(int argc, wchar_t** argv) {
  tessel::cli::UseBinaryStandardStreams();
  return RunCli(tessel::cli::Utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
  return RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
