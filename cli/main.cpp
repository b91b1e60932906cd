// tessel-cli: the comparison engine from the command line.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ComparisonRun.h"
#include "Messages.h"
#include "PlatformFile.h"
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

bool ReadWholeFile(const std::filesystem::path& path, std::string* bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in),
                std::istreambuf_iterator<char>());
  return !in.bad();
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
  if (line.default_signs) options.SignMemo = tessel::kDefaultSigns;
  if (line.memo_file) {
    std::string memo;
    if (!ReadWholeFile(*line.memo_file, &memo)) {
      const std::string message =
          tessel::messages::OpenFailed(tessel::DisplayName(*line.memo_file));
      std::fprintf(stderr, "tessel-cli: %s\n",
                   message.substr(1, message.size() - 2).c_str());
      return kExitTrouble;
    }
    options.SignMemo += memo;
  }

  const int window = options.WindowSize;
  const bool auto_window = options.AutoWindow;
  const int max_window = options.MaxWindow;
  const int limit = options.DiffLimit;
  tessel::cli::TerminalHost host(std::move(options),
                                 !line.quiet && isatty(2) != 0);
  tessel::ComparisonRun run(host);
  run.RunComparison();
  host.ClearProgress();

  switch (run.outcome()) {
    case tessel::RunOutcome::kFailed:
      return kExitTrouble;
    case tessel::RunOutcome::kStopped:
      return kExitStopped;
    case tessel::RunOutcome::kCutOffNoAnchor:
      if (!auto_window) {
        std::fprintf(stderr,
                     "tessel-cli: cut off: no common stretch within the "
                     "look-ahead of %d characters; try --window auto\n",
                     window);
      } else if (run.ReachedWindow() == max_window &&
                 max_window < tessel::kMostAutoMaxWindow) {
        std::fprintf(stderr,
                     "tessel-cli: cut off: no common stretch within the "
                     "look-ahead of %d characters, the largest allowed; try "
                     "a larger MAX in --window auto:MAX (at most %d)\n",
                     max_window, tessel::kMostAutoMaxWindow);
      } else {
        std::fprintf(stderr,
                     "tessel-cli: cut off: no common stretch within the "
                     "look-ahead of %d characters\n",
                     static_cast<int>(run.ReachedWindow()));
      }
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
  std::printf("differences: %d\n", static_cast<int>(run.DiffCount()));
  if (auto_window) {
    std::printf("look-ahead reached: %d characters\n",
                static_cast<int>(run.ReachedWindow()));
  }
  const bool cut_off = run.outcome() == tessel::RunOutcome::kCutOffNoAnchor ||
                       run.outcome() == tessel::RunOutcome::kCutOffLimit;
  if (cut_off) return kExitCutOff;
  return run.DiffCount() > 0 ? kExitDifferent : kExitSame;
}
