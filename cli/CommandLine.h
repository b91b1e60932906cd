// The command line of tessel-cli, read into run options.

#ifndef TESSEL_CLI_COMMANDLINE_H_
#define TESSEL_CLI_COMMANDLINE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ReportFiles.h"
#include "RunOptions.h"

namespace tessel::cli {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  // Why the command line was refused (kUsageError), in UTF-8.
  std::string error;
  // Everything but the memo's text, which the caller reads from memo_file.
  RunOptions options;
  std::optional<std::filesystem::path> memo_file;
  bool default_signs = false;
  bool quiet = false;
  // The reports to write. Their names are also in
  // options.report_outputs, for the run's overwrite check.
  ReportPaths reports;
};

// Where a run that writes only reports sends its result and difference
// files: the null device, which keeps nothing.
std::filesystem::path NullDevice();

// Reads `args` (without the program name). Options may come before, after
// or between the sources; "--" ends the options. "--opt=VALUE" and
// "--opt VALUE" both work.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text that --help prints.
std::string UsageText();

}  // namespace tessel::cli

#endif  // TESSEL_CLI_COMMANDLINE_H_
