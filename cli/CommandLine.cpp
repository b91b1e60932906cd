#include "CommandLine.h"

#include <string_view>

#include "Cp950.h"
#include "Encoding.h"
#include "IntegerText.h"
#include "PlatformFile.h"
#include "RunMessages.h"
#include "UnicodeDecoder.h"

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
  options->auto_window = true;
  options->max_window = kDefaultAutoMaxWindow;
  if (text.empty()) return true;
  if (text.front() != ':') return false;
  const auto most = ParseIntegerText(text.substr(1));
  if (!most || *most < kLeastAutoMaxWindow || *most > kMostAutoMaxWindow) {
    return false;
  }
  options->max_window = *most;
  return true;
}

}  // namespace

std::filesystem::path NullDevice() {
#ifdef _WIN32
  return L"NUL";
#else
  return "/dev/null";
#endif
}

std::string UsageText() {
  return "Usage: tessel-cli [options] SOURCE1 SOURCE2 [SOURCE3]\n"
         "Compares two or three editions of a text (Big5, UTF-8 or UTF-16)\n"
         "and writes each one back out with the differences marked\n"
         "{{ ... || ... }}, plus a difference file listing them with line\n"
         "numbers.\n"
         "\n"
         "  --result FILE      a result file, once per source, in source "
         "order\n"
         "  --diff FILE        the difference file\n"
         "  --html FILE        a report to read in a browser\n"
         "  --json FILE        the differences as JSON data\n"
         "  --tei FILE         the differences as a TEI P5 apparatus\n"
         "                     (without --result and --diff, only the\n"
         "                     reports are written)\n"
         "  --sign-file FILE   ignored symbols from a file (notations folded\n"
         "                     when folding is on)\n"
         "  --sign-memo FILE   ignored symbols: the raw bytes of FILE as memo\n"
         "                     text (never folded)\n"
         "  --default-signs    put the default symbols in front of the memo\n"
         "  --no-fold          do not fold notations such as [xxxx] and "
         "&x-xxxx;\n"
         "  --encoding ENC     the sources' encoding: auto (default), big5,\n"
         "                     utf-8, utf-16le or utf-16be; ENC1,ENC2[,ENC3]\n"
         "                     gives one per source\n"
         "  --unicode          compare Big5 sources as Unicode too, so that\n"
         "                     &x-HHHH; meets the character it names\n"
         "  --window N         look-ahead in characters, 2..65535 (default "
         "100)\n"
         "  --window auto[:MAX]  a look-ahead that starts at 100 and grows\n"
         "                     four-fold while no common stretch is found, up\n"
         "                     to MAX (default 1048576, at most 16777216)\n"
         "  --max-diff N       stop after N differences (default: no limit)\n"
         "  --variants LIST    count variant characters as equal: built-in\n"
         "                     tables z, semantic, forms, simplified and\n"
         "                     table files, separated by commas\n"
         "  --ignore-between OPEN CLOSE\n"
         "                     ignore every stretch from OPEN to the next\n"
         "                     CLOSE on its line (repeatable)\n"
         "  --notes unordered  compare a note (A/B) as equal to (B/A)\n"
         "  --quiet            no progress display\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 no differences, 1 differences, 3 cut off (closing\n"
         "lines written), 2 trouble, 130 stopped.\n";
}

namespace {

// What the options have given so far; checked as a whole once every
// argument is read.
struct Given {
  CommandLine line;
  std::vector<std::string> sources;
  std::vector<std::string> results;
  std::optional<std::string> diff, sign_file, window, max_diff, encoding;
  std::optional<std::string> variants, notes;
  std::optional<std::string> html, json, tei;
  std::vector<std::pair<std::string, std::string>> ignore_between;
};

// One option: its name, whether it takes a value, and what it does with
// it. `apply` returns why the option is refused, or nothing.
struct OptionSpec {
  std::string_view name;
  bool takes_value;
  std::optional<std::string> (*apply)(Given& given, const std::string& value);
};

// Options that may be given once keep their first value and refuse a
// second; --window and --max-diff keep their last.
std::optional<std::string> Once(std::optional<std::string>& slot,
                                std::string_view name,
                                const std::string& value) {
  if (slot) return std::string(name) + " given twice";
  slot = value;
  return std::nullopt;
}

constexpr OptionSpec kOptions[] = {
    {"--help", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.action = CommandLine::Action::kHelp;
       return std::nullopt;
     }},
    {"--version", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.action = CommandLine::Action::kVersion;
       return std::nullopt;
     }},
    {"--result", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       g.results.push_back(v);
       return std::nullopt;
     }},
    {"--diff", true,
     [](Given& g, const std::string& v) { return Once(g.diff, "--diff", v); }},
    {"--html", true,
     [](Given& g, const std::string& v) { return Once(g.html, "--html", v); }},
    {"--json", true,
     [](Given& g, const std::string& v) { return Once(g.json, "--json", v); }},
    {"--tei", true,
     [](Given& g, const std::string& v) { return Once(g.tei, "--tei", v); }},
    {"--sign-file", true,
     [](Given& g, const std::string& v) {
       return Once(g.sign_file, "--sign-file", v);
     }},
    {"--sign-memo", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       if (g.line.memo_file) return "--sign-memo given twice";
       g.line.memo_file = PathFromName(v);
       return std::nullopt;
     }},
    {"--default-signs", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.default_signs = true;
       return std::nullopt;
     }},
    {"--no-fold", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.options.fold_notations = false;
       return std::nullopt;
     }},
    {"--encoding", true,
     [](Given& g, const std::string& v) {
       return Once(g.encoding, "--encoding", v);
     }},
    {"--unicode", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.options.unicode = true;
       return std::nullopt;
     }},
    {"--window", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       g.window = v;
       return std::nullopt;
     }},
    {"--max-diff", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       g.max_diff = v;
       return std::nullopt;
     }},
    {"--notes", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       if (v != "unordered") return "--notes takes unordered";
       return Once(g.notes, "--notes", v);
     }},
    {"--variants", true,
     [](Given& g, const std::string& v) -> std::optional<std::string> {
       if (v.empty()) return "--variants needs a table";
       return Once(g.variants, "--variants", v);
     }},
    {"--quiet", false,
     [](Given& g, const std::string&) -> std::optional<std::string> {
       g.line.quiet = true;
       return std::nullopt;
     }},
};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// `text`, UTF-8, as Big5 bytes, as the sources spell it; nothing when a
// character is not UTF-8 or has no Big5 code.
std::optional<std::string> Big5Text(std::string_view text) {
  std::string big5;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const DecodedChar c = DecodeUtf8(p, end);
    p += c.length;
    if (c.raw) return std::nullopt;
    if (c.value < 0x80) {
      big5 += static_cast<char>(c.value);
      continue;
    }
    const auto code = UnicodeToCp950(c.value);
    if (!code) return std::nullopt;
    big5 += static_cast<char>(*code >> 8);
    big5 += static_cast<char>(*code & 0xFF);
  }
  return big5;
}

}  // namespace

namespace {

// Checks what the arguments gave as a whole (the number of sources and
// results, the difference file, the numbers) and fills the run options.
CommandLine CheckWhole(Given given) {
  CommandLine& line = given.line;
  RunOptions& options = line.options;
  const std::vector<std::string>& sources = given.sources;
  const std::vector<std::string>& results = given.results;
  const std::optional<std::string>& diff = given.diff;
  const std::optional<std::string>& sign_file = given.sign_file;
  const std::optional<std::string>& window = given.window;
  const std::optional<std::string>& max_diff = given.max_diff;

  if (sources.size() < 2 || sources.size() > 3) {
    return Refuse("give two or three sources");
  }
  const bool reports_alone =
      (given.html || given.json || given.tei) && results.empty() && !diff;
  if (!reports_alone && results.size() != sources.size()) {
    return Refuse("give one --result for each source, in source order");
  }
  if (!reports_alone && !diff) {
    return Refuse("give the difference file with --diff");
  }
  if (sign_file && (line.memo_file || line.default_signs)) {
    return Refuse(
        "--sign-file cannot be combined with --sign-memo or "
        "--default-signs");
  }

  if (window && window->starts_with(kAutoWindowWord)) {
    if (!ReadAutoWindow(*window, &options)) {
      return Refuse(AutoWindowOutOfRangeText());
    }
  } else if (window) {
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

  if (given.encoding) {
    const auto choices =
        ParseEncodingChoices(*given.encoding, options.encodings.size());
    if (!choices) {
      return Refuse(
          "--encoding: give auto, big5, utf-8, utf-16le or "
          "utf-16be, or one of them per source separated by commas");
    }
    if (choices->size() > 1 && choices->size() != sources.size()) {
      return Refuse("--encoding: give one encoding, or one for each source");
    }
    // One encoding sets every source; a list sets only the sources given,
    // and is exactly as long as they are.
    for (std::size_t k = 0; k < options.encodings.size(); ++k) {
      if (choices->size() == 1) {
        options.encodings[k] = (*choices)[0];
      } else if (k < choices->size()) {
        options.encodings[k] = (*choices)[k];
      }
    }
  }

  options.three_files = sources.size() == 3;
  for (std::size_t k = 0; k < sources.size(); ++k) {
    options.sources[k] = PathFromName(sources[k]);
    options.results[k] =
        reports_alone ? NullDevice() : PathFromName(results[k]);
  }
  options.difference = reports_alone ? NullDevice() : PathFromName(*diff);
  for (auto [slot, name] : {std::pair{&line.reports.html, &given.html},
                            std::pair{&line.reports.json, &given.json},
                            std::pair{&line.reports.tei, &given.tei}}) {
    if (*name) *slot = PathFromName(**name);
  }
  options.report_outputs = line.reports.all();
  if (sign_file) {
    options.use_sign_file = true;
    options.sign_file = PathFromName(*sign_file);
  }
  options.use_sign_memo = line.memo_file.has_value() || line.default_signs;
  if (line.memo_file) options.other_inputs.push_back(*line.memo_file);
  if (given.variants) options.variant_tables = *given.variants;
  options.notes_unordered = given.notes.has_value();
  for (const auto& [open, close] : given.ignore_between) {
    const auto open_big5 = Big5Text(open), close_big5 = Big5Text(close);
    if (open.empty() || close.empty()) {
      return Refuse("--ignore-between needs an opener and a closer");
    }
    if (!open_big5 || !close_big5) {
      return Refuse("--ignore-between " + open + " " + close +
                    ": not a Big5 character");
    }
    options.ignore_between.emplace_back(*open_big5, *close_big5);
  }
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  Given given;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A lone "-" is a name, as are all arguments after "--".
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      given.sources.push_back(arg);
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
    // The one option of two values: "--ignore-between OPEN CLOSE", or
    // "--ignore-between=OPEN CLOSE".
    if (name == "--ignore-between") {
      const std::size_t needed = value ? 1 : 2;
      if (i + needed >= args.size()) {
        return Refuse("option --ignore-between needs an opener and a closer");
      }
      const std::string open = value ? *value : args[++i];
      given.ignore_between.emplace_back(open, args[++i]);
      continue;
    }
    const OptionSpec* option = FindOption(name);
    const bool takes_value = option != nullptr && option->takes_value;
    // A value given to an unknown name is refused as the value, before the
    // name: the order in which the checks have always been made.
    if (!takes_value && value) {
      return Refuse("option " + name + " takes no value");
    }
    if (option == nullptr) return Refuse("unknown option " + arg);
    if (takes_value && !value) {
      if (i + 1 >= args.size()) {
        return Refuse("option " + name + " needs a value");
      }
      value = args[++i];
    }
    if (auto why = option->apply(given, value.value_or(""))) {
      return Refuse(std::move(*why));
    }
    if (given.line.action != CommandLine::Action::kRun) return given.line;
  }

  return CheckWhole(std::move(given));
}

}  // namespace tessel::cli
