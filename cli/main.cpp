// tessel-cli: the comparison engine from the command line.

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ComparisonRun.h"
#include "NotationTable.h"
#include "PlatformFile.h"
#include "RunMessages.h"
#include "SignSet.h"
#include "TerminalHost.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitCutOff = 3;
constexpr int kExitStopped = 130;

void PrintLine(std::string_view text) {
  std::fprintf(stderr, "tessel-cli: %.*s\n", static_cast<int>(text.size()),
               text.data());
}

}  // namespace

int main(int argc, char** argv) {
  using tessel::cli::CommandLine;
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine line = tessel::cli::ParseCommandLine(args);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(tessel::cli::UsageText().c_str(), stdout);
      return kExitSame;
    case CommandLine::Action::kVersion:
      std::puts("tessel-cli " TESSEL_VERSION);
      return kExitSame;
    case CommandLine::Action::kUsageError:
      std::fprintf(stderr,
                   "tessel-cli: %s\nTry 'tessel-cli --help' for more "
                   "information.\n",
                   line.error.c_str());
      return kExitTrouble;
    case CommandLine::Action::kRun:
      break;
  }

  tessel::RunOptions& options = line.options;
  if (line.default_signs) options.sign_memo = tessel::kDefaultSigns;
  if (line.memo_file) {
    std::string memo;
    if (!tessel::ReadWholeFile(*line.memo_file, &memo)) {
      PrintLine(tessel::cli::RunErrorText({tessel::RunErrorKind::kOpenFailed,
                                           tessel::RunFile::kMemoFile,
                                           *line.memo_file}));
      return kExitTrouble;
    }
    options.sign_memo += memo;
  }

  const int window = options.window_size;
  const int limit = options.diff_limit;
  // One run per process: the table needs to live no longer.
  tessel::NotationTable notations;
  tessel::cli::TerminalHost host(!line.quiet && isatty(2) != 0);
  tessel::ComparisonRun run(host, notations);
  const tessel::RunStatus status = run.RunComparison(options);
  host.ClearProgress();

  for (const tessel::RunError& error : status.errors) {
    PrintLine(tessel::cli::RunErrorText(error));
  }
  switch (status.outcome) {
    case tessel::RunOutcome::kFailed:
      return kExitTrouble;
    case tessel::RunOutcome::kStopped:
      PrintLine(tessel::cli::kStopped);
      return kExitStopped;
    case tessel::RunOutcome::kCutOffNoAnchor:
      std::fprintf(stderr,
                   "tessel-cli: cut off: no common stretch within the "
                   "look-ahead of %d characters\n",
                   window);
      break;
    case tessel::RunOutcome::kCutOffLimit:
      std::fprintf(stderr,
                   "tessel-cli: cut off: the limit of %d differences was "
                   "reached\n",
                   limit);
      break;
    case tessel::RunOutcome::kCompleted:
    case tessel::RunOutcome::kLeftAtEndOfFile:
      break;
  }
  std::printf("differences: %d\n", static_cast<int>(status.diff_count));
  if (status.cut_off()) return kExitCutOff;
  return status.diff_count > 0 ? kExitDifferent : kExitSame;
}
