#include "CommandLine.h"

#include <string_view>

#include "IntegerText.h"
#include "RunMessages.h"

namespace tessel::cli {

namespace {

CommandLine Refuse(std::string why) {
  CommandLine refused;
  refused.action = CommandLine::Action::kUsageError;
  refused.error = std::move(why);
  return refused;
}

bool TakesValue(std::string_view name) {
  return name == "--result" || name == "--diff" || name == "--sign-file" ||
         name == "--sign-memo" || name == "--window" || name == "--max-diff";
}

}  // namespace

std::string UsageText() {
  return "Usage: tessel-cli [options] SOURCE1 SOURCE2 [SOURCE3]\n"
         "Compares two or three Big5 editions of a text and writes each one\n"
         "back out with the differences marked {{ ... || ... }}, plus a\n"
         "difference file listing them with line numbers.\n"
         "\n"
         "  --result FILE      a result file, once per source, in source "
         "order\n"
         "  --diff FILE        the difference file\n"
         "  --sign-file FILE   ignored symbols from a file (notations folded\n"
         "                     when folding is on)\n"
         "  --sign-memo FILE   ignored symbols: the raw bytes of FILE as memo\n"
         "                     text (never folded)\n"
         "  --default-signs    put the default symbols in front of the memo\n"
         "  --no-fold          do not fold notations such as [xxxx] and "
         "&x-xxxx;\n"
         "  --window N         look-ahead in characters, 2..65535 (default "
         "100)\n"
         "  --max-diff N       stop after N differences (default: no limit)\n"
         "  --quiet            no progress display\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 no differences, 1 differences, 3 cut off (closing\n"
         "lines written), 2 trouble, 130 stopped.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  RunOptions& options = line.options;
  std::vector<std::string> sources;
  std::vector<std::string> results;
  std::optional<std::string> diff, sign_file, window, max_diff;
  bool options_ended = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      sources.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> value;
    if (const auto eq = arg.find('=');
        arg.starts_with("--") && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    if (TakesValue(name)) {
      if (!value) {
        if (i + 1 >= args.size())
          return Refuse("option " + name + " needs a value");
        value = args[++i];
      }
    } else if (value) {
      return Refuse("option " + name + " takes no value");
    }

    if (name == "--help") {
      line.action = CommandLine::Action::kHelp;
      return line;
    } else if (name == "--version") {
      line.action = CommandLine::Action::kVersion;
      return line;
    } else if (name == "--result") {
      results.push_back(*value);
    } else if (name == "--diff") {
      if (diff) return Refuse("--diff given twice");
      diff = *value;
    } else if (name == "--sign-file") {
      if (sign_file) return Refuse("--sign-file given twice");
      sign_file = *value;
    } else if (name == "--sign-memo") {
      if (line.memo_file) return Refuse("--sign-memo given twice");
      line.memo_file = std::filesystem::path(*value);
    } else if (name == "--default-signs") {
      line.default_signs = true;
    } else if (name == "--no-fold") {
      options.fold_notations = false;
    } else if (name == "--window") {
      window = *value;
    } else if (name == "--max-diff") {
      max_diff = *value;
    } else if (name == "--quiet") {
      line.quiet = true;
    } else {
      return Refuse("unknown option " + arg);
    }
  }

  if (sources.size() < 2 || sources.size() > 3) {
    return Refuse("give two or three sources");
  }
  if (results.size() != sources.size()) {
    return Refuse("give one --result for each source, in source order");
  }
  if (!diff) return Refuse("give the difference file with --diff");
  if (sign_file && (line.memo_file || line.default_signs)) {
    return Refuse(
        "--sign-file cannot be combined with --sign-memo or "
        "--default-signs");
  }

  if (window) {
    const auto size = ParseIntegerText(*window);
    if (!size) return Refuse(std::string(kWindowNotNumber));
    if (*size < kMinWindowSize || *size > kMaxWindowSize) {
      return Refuse(std::string(kWindowOutOfRange));
    }
    options.window_size = *size;
  }
  if (max_diff) {
    const auto limit = ParseIntegerText(*max_diff);
    if (!limit) return Refuse(std::string(kLimitNotNumber));
    options.diff_limit = *limit;
  }

  options.three_files = sources.size() == 3;
  for (std::size_t k = 0; k < sources.size(); ++k) {
    options.sources[k] = sources[k];
    options.results[k] = results[k];
  }
  options.difference = *diff;
  if (sign_file) {
    options.use_sign_file = true;
    options.sign_file = *sign_file;
  }
  options.use_sign_memo = line.memo_file.has_value() || line.default_signs;
  if (line.memo_file) options.other_inputs.push_back(*line.memo_file);
  return line;
}

}  // namespace tessel::cli
