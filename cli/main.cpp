// tessel-cli: the comparison engine from the command line.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ComparisonRun.h"
#include "ConsoleText.h"
#include "Messages.h"
#include "PlatformFile.h"
#include "SignSet.h"
#include "TerminalHost.h"

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

// Writes "tessel-cli: `text`" as a line to stderr.
void Complain(const std::string& text) {
  tessel::cli::WriteText(stderr, "tessel-cli: " + text + "\n");
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
  if (line.default_signs) options.SignMemo = tessel::kDefaultSigns;
  if (line.memo_file) {
    std::string memo;
    if (!ReadWholeFile(*line.memo_file, &memo)) {
      const std::string message =
          tessel::messages::OpenFailed(tessel::DisplayName(*line.memo_file));
      Complain(message.substr(1, message.size() - 2));
      return kExitTrouble;
    }
    options.SignMemo += memo;
  }

  const int window = options.WindowSize;
  const int limit = options.DiffLimit;
  tessel::cli::TerminalHost host(
      std::move(options), !line.quiet && tessel::cli::IsTerminal(stderr));
  tessel::ComparisonRun run(host);
  run.RunComparison();
  host.ClearProgress();

  switch (run.outcome()) {
    case tessel::RunOutcome::kFailed:
      return kExitTrouble;
    case tessel::RunOutcome::kStopped:
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
  std::printf("differences: %d\n", static_cast<int>(run.DiffCount()));
  const bool cut_off = run.outcome() == tessel::RunOutcome::kCutOffNoAnchor ||
                       run.outcome() == tessel::RunOutcome::kCutOffLimit;
  if (cut_off) return kExitCutOff;
  return run.DiffCount() > 0 ? kExitDifferent : kExitSame;
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
