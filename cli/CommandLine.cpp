#include "CommandLine.h"

#include <string_view>

#include "IntegerText.h"
#include "Messages.h"

namespace tessel::cli {

namespace {

CommandLine Refuse(std::string why) {
  CommandLine refused;
  refused.action = CommandLine::Action::kUsageError;
  refused.error = std::move(why);
  return refused;
}

// "--window auto" and "--window auto:MAX" choose the growing look-ahead.
constexpr std::string_view kAutoWindowWord = "auto";

// Reads "auto" or "auto:MAX" into `options`; false when MAX is no number
// or out of range.
bool ReadAutoWindow(std::string_view text, RunOptions* options) {
  text.remove_prefix(kAutoWindowWord.size());
  options->AutoWindow = true;
  options->MaxWindow = kDefaultAutoMaxWindow;
  if (text.empty()) return true;
  if (text.front() != ':') return false;
  const auto most = ParseIntegerText(text.substr(1));
  if (!most || *most < kLeastAutoMaxWindow || *most > kMostAutoMaxWindow) {
    return false;
  }
  options->MaxWindow = *most;
  return true;
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
         "  --window auto[:MAX]  a look-ahead that starts at 100 and grows\n"
         "                     four-fold while no common stretch is found, up\n"
         "                     to MAX (default 1048576, at most 16777216)\n"
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
      options.DoLoseWord = false;
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

  if (window && window->starts_with(kAutoWindowWord)) {
    if (!ReadAutoWindow(*window, &options)) {
      return Refuse("--window auto:MAX takes MAX from " +
                    std::to_string(kLeastAutoMaxWindow) + " to " +
                    std::to_string(kMostAutoMaxWindow));
    }
  } else if (window) {
    const auto size = ParseIntegerText(*window);
    if (!size) return Refuse(std::string(messages::kWindowNotNumber));
    if (*size < kMinWindowSize || *size > kMaxWindowSize) {
      return Refuse(std::string(messages::kWindowOutOfRange));
    }
    options.WindowSize = *size;
  }
  if (max_diff) {
    const auto limit = ParseIntegerText(*max_diff);
    if (!limit) return Refuse(std::string(messages::kLimitNotNumber));
    options.DiffLimit = *limit;
  }

  options.ThreeFiles = sources.size() == 3;
  for (std::size_t k = 0; k < sources.size(); ++k) {
    options.Sources[k] = sources[k];
    options.Results[k] = results[k];
  }
  options.Difference = *diff;
  if (sign_file) {
    options.UseSignFile = true;
    options.SignFileName = *sign_file;
  }
  options.UseSignMemo = line.memo_file.has_value() || line.default_signs;
  if (line.memo_file) options.OtherInputs.push_back(*line.memo_file);
  return line;
}

}  // namespace tessel::cli
