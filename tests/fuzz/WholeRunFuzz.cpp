// A whole run over fuzzed sources, ignored symbols and options. Every
// result file must give back its source (the round trip), hold one block
// per difference, and end the way the outcome says; the difference file
// must hold one line per difference; the difference limit must be
// honoured; and fast mode must change no byte.
//
// Input: five header bytes, then the ignored symbols, source 1, source 2
// and source 3, separated by "}".
//   byte 0   bit 0 three sources, bit 1 folding, bits 2-3 the symbols:
//            0 none, 1 a file, 2 the memo, 3 the defaults and the memo;
//            bit 4 stop after the pass in byte 4, bit 5 fast mode,
//            bit 6 a Unicode run: source k's encoding is bits 2k..2k+1 of
//            byte 4 (big5, utf-8, utf-16le, utf-16be), bit 7 the growing
//            look-ahead
//   byte 4   (besides the encodings and the stop) bit 7 a variant table
//            that joins A with a, B with b, 甲 with 丁 and 為 with 爲
//   byte 1-2 the look-ahead: 2 + (big-endian value mod 299); with the
//            growing one, its MAX: 100 times 1, 4, 16 or 64 by value mod 4
//   byte 3   the difference limit as a signed byte; 127 means none
//   byte 4   also, whatever else it gives: bit 6 unordered notes, bit 7
//            the ignored stretches "(" ")" and "<" ">"
// A "{" or "|" in a source becomes "(" or "!", so the blocks stay readable.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ComparisonRun.h"
#include "FileTexts.h"
#include "FuzzSupport.h"
#include "NotationTable.h"
#include "RoundTrip.h"
#include "SignSet.h"
#include "TestSupport.h"
#include "UnicodeText.h"

namespace tessel::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path& WorkDir() {
  static const fs::path dir = [] {
    const fs::path base = fs::is_directory("/dev/shm")
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    std::string name = (base / "tessel-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) Fail("cannot make a work folder");
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(WorkDir(), ec);
    });
    return fs::path(name);
  }();
  return dir;
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("cannot write " + path.string());
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t CountBlocks(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("{{"); at != std::string_view::npos;
       at = text.find("{{", at + 2)) {
    ++count;
  }
  return count;
}

std::string FoldLetters(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(FoldAsciiLetter(static_cast<unsigned char>(c)));
  }
  return text;
}

// A Unicode run's results are in their sources' encodings: each, decoded,
// must hold one block per difference and, when the run completed, give back
// its source with every block replaced by its own text (up to the case of
// the letters of a notation, which keeps its stored form).
void CheckUnicodeResults(const RunOptions& o, const std::vector<Encoding>& e,
                         const std::vector<std::string>& sources, int count,
                         bool completed, std::int32_t diffs) {
  for (int k = 0; k < count; ++k) {
    const std::string context = "result " + std::to_string(k + 1);
    // Big5 is checked as bytes: a lone high byte, kept, would pair with
    // the marker after it if the file were decoded.
    const bool big5 = e[k] == Encoding::kBig5;
    const std::string& raw_source = sources[static_cast<std::size_t>(k)];
    const std::string result =
        big5 ? Read(o.results[k])
             : ConvertText(Read(o.results[k]), e[k], Encoding::kUtf8);
    if (CountBlocks(result) != static_cast<std::size_t>(diffs)) {
      Fail(context + " holds " + std::to_string(CountBlocks(result)) +
           " blocks for " + std::to_string(diffs) + " differences");
    }
    // Big5 closing lines, and the Big5 form of another source's
    // characters, hold second bytes that read as markers.
    const bool all_big5 =
        std::all_of(e.begin(), e.begin() + count,
                    [](Encoding x) { return x == Encoding::kBig5; });
    if (big5 && (!completed || !all_big5)) continue;
    std::string text;
    Require(testing::ReplaceBlocks(result, count == 3 ? k : 0, count, &text),
            context);
    // A Big5 source still ends at a 0x1A and drops a last lone high byte.
    const bool big5_cut =
        big5 && (raw_source.find('\x1A') != std::string::npos ||
                 (!raw_source.empty() &&
                  static_cast<unsigned char>(raw_source.back()) >= 0x80));
    if (!completed || big5_cut) continue;
    const std::string source =
        big5 ? raw_source : ConvertText(raw_source, e[k], Encoding::kUtf8);
    if (FoldLetters(text) != FoldLetters(source)) {
      Fail(context + " does not give back its source: \"" + text + "\" for \"" +
           source + "\"");
    }
  }
}

void RunOne(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return;
  const bool three = (data[0] & 1) != 0;
  const bool fold = (data[0] & 2) != 0;
  const int symbols = (data[0] >> 2) & 3;
  const bool stop = (data[0] & 16) != 0;
  const bool fast = (data[0] & 32) != 0;
  const bool unicode = (data[0] & 64) != 0;
  const bool grows = (data[0] & 128) != 0;
  const bool variants = (data[4] & 128) != 0;
  const int window_bytes = (data[1] << 8) | data[2];
  const int window = 2 + window_bytes % 299;
  // Small MAXes, so that the fuzzed sources reach them.
  const std::int32_t max_window = kLeastAutoMaxWindow
                                  << (2 * (window_bytes % 4));
  const auto limit_byte = static_cast<std::int8_t>(data[3]);
  const std::int32_t limit = limit_byte == 127 ? kNoDiffLimit : limit_byte;
  const int count = three ? 3 : 2;

  // The symbols, then the sources.
  std::vector<std::string> parts(1);
  for (std::size_t i = 5; i < size; ++i) {
    char c = static_cast<char>(data[i]);
    if (c == '}' && static_cast<int>(parts.size()) <= count) {
      parts.emplace_back();
      continue;
    }
    if (parts.size() > 1) {
      if (c == '{') c = '(';
      if (c == '|') c = '!';
      if (c == '}') c = ')';
    }
    parts.back() += c;
  }
  parts.resize(static_cast<std::size_t>(count) + 1);

  const fs::path& dir = WorkDir();
  testing::RecordingHost host;
  RunOptions& o = host.options;
  o.three_files = three;
  o.fold_notations = fold;
  o.window_size = window;
  o.auto_window = grows;
  o.max_window = max_window;
  o.diff_limit = limit;
  if (symbols == 1) {
    Write(dir / "sign", parts[0]);
    o.use_sign_file = true;
    o.sign_file = dir / "sign";
  } else if (symbols >= 2) {
    o.use_sign_memo = true;
    o.sign_memo = (symbols == 3 ? std::string(kDefaultSigns) : "") + parts[0];
  }
  // Without bit 6 every source is named Big5: detection would otherwise
  // make a Unicode run of a source that happens to be UTF-8.
  std::vector<Encoding> encodings(3, Encoding::kBig5);
  o.encodings.fill(EncodingChoice::kBig5);
  if (unicode) {
    o.unicode = true;
    for (int k = 0; k < count; ++k) {
      encodings[k] = static_cast<Encoding>((data[4] >> (2 * k)) & 3);
      o.encodings[k] =
          static_cast<EncodingChoice>(static_cast<int>(encodings[k]) + 1);
    }
  }
  std::vector<std::string> names;
  for (int k = 0; k < count; ++k) {
    const std::string n = std::to_string(k + 1);
    o.sources[k] = dir / ("s" + n);
    o.results[k] = dir / ("r" + n);
    std::string& source = parts[static_cast<std::size_t>(k) + 1];
    // A last odd byte of UTF-16 is kept, but written inside a block it
    // shifts every unit after it; the readers' tests cover it.
    if (unicode && encodings[k] >= Encoding::kUtf16Le && source.size() % 2) {
      source.pop_back();
    }
    Write(o.sources[k], source);
    names.push_back(o.sources[k].string());
  }
  o.difference = dir / "d";
  o.notes_unordered = (data[4] & 64) != 0;
  // The window's lowest bit: every other byte of data[4] is taken.
  if ((data[2] & 1) != 0) o.ignore_between = {{"(", ")"}, {"<", ">"}};
  if (variants) {
    Write(dir / "variants", "A a\nB b\n甲 丁\n為 爲\n");
    o.variant_tables = (dir / "variants").string();
  }
  host.stop_at_pass = stop ? data[4] : -1;
  host.fast = fast;

  NotationTable notations;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(o);
  const RunOutcome outcome = status.outcome;
  const std::int32_t diffs = status.diff_count;
  testing::RunEnd end = testing::RunEnd::kUnfinished;
  switch (outcome) {
    case RunOutcome::kFailed:
      Fail("the run failed: error " +
           (status.errors.empty()
                ? std::string()
                : std::to_string(static_cast<int>(status.errors[0].kind))));
    case RunOutcome::kCompleted:
      end = testing::RunEnd::kCompleted;
      break;
    case RunOutcome::kCutOffNoAnchor:
    case RunOutcome::kCutOffLimit:
      end = testing::RunEnd::kCutOff;
      break;
    case RunOutcome::kStopped:
      if (!stop) Fail("stopped without a stop request");
      break;
    case RunOutcome::kLeftAtEndOfFile:
      break;
  }

  const std::int32_t reached = std::max<std::int32_t>(limit, 1);
  if (outcome == RunOutcome::kCutOffLimit && diffs != reached) {
    Fail("cut off at the limit " + std::to_string(limit) + " after " +
         std::to_string(diffs) + " differences");
  }
  if (outcome != RunOutcome::kCutOffLimit &&
      outcome != RunOutcome::kCutOffNoAnchor && diffs >= reached) {
    Fail("went on past the limit " + std::to_string(limit) + " to " +
         std::to_string(diffs) + " differences");
  }

  for (int k = 0; k < count && !unicode; ++k) {
    const std::string result = Read(o.results[k]);
    const std::string context = "result " + std::to_string(k + 1);
    testing::RoundTripCase c;
    c.source = parts[static_cast<std::size_t>(k) + 1];
    c.result = result;
    c.own = three ? k : 0;
    c.count = count;
    c.fold = fold;
    c.end = end;
    c.names = names;
    c.reached_line = grows;
    Require(testing::CheckRoundTrip(c, notations), context);
    if (CountBlocks(result) != static_cast<std::size_t>(diffs)) {
      Fail(context + " holds " + std::to_string(CountBlocks(result)) +
           " blocks for " + std::to_string(diffs) + " differences");
    }
  }

  if (unicode) {
    CheckUnicodeResults(o, encodings,
                        {parts.begin() + 1, parts.begin() + 1 + count}, count,
                        outcome == RunOutcome::kCompleted, diffs);
  }

  std::string difference = Read(o.difference);
  // A run with a table that completed or was cut off ends with the count
  // of its variants, in its difference file's encoding.
  if (variants &&
      (end == testing::RunEnd::kCompleted || end == testing::RunEnd::kCutOff)) {
    std::string count_line(file_texts::kVariantCountStart);
    count_line += std::to_string(status.variant_count);
    count_line += file_texts::kVariantCountEnd;
    count_line += "\r\n";
    if (unicode) {
      count_line = ConvertText(count_line, Encoding::kBig5, Encoding::kUtf8);
    }
    if (!difference.ends_with(count_line)) {
      Fail("the difference file does not end with its variant count");
    }
    difference.resize(difference.size() - count_line.size());
  }
  std::string end_line;
  const std::string end_text =
      unicode
          ? ConvertText(file_texts::kEndLine, Encoding::kBig5, Encoding::kUtf8)
          : std::string(file_texts::kEndLine);
  for (char c : end_text) {
    end_line += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  if ((outcome == RunOutcome::kCompleted) != difference.ends_with(end_line)) {
    Fail("the difference file's end line does not match the outcome");
  }
  // One line per difference (a span never holds a line feed), then three
  // line ends in the end line, or a blank line and one per source.
  std::size_t line_ends = 0;
  for (std::size_t at = difference.find("\r\n"); at != std::string::npos;
       at = difference.find("\r\n", at + 2)) {
    ++line_ends;
  }
  // The growing look-ahead adds the look-ahead reached to the closing lines.
  const std::size_t closing =
      end == testing::RunEnd::kCompleted ? 3
      : end == testing::RunEnd::kCutOff
          ? 2 + static_cast<std::size_t>(count) + (grows ? 1 : 0)
          : 0;
  if (line_ends != static_cast<std::size_t>(diffs) + closing) {
    Fail("the difference file holds " + std::to_string(line_ends) +
         " line ends for " + std::to_string(diffs) + " differences");
  }

  // Fast mode only skips work: without a stop, the other mode must give
  // the same outcome and the same files, byte for byte.
  if (stop) return;
  std::vector<std::string> outputs = {Read(o.difference)};
  for (int k = 0; k < count; ++k) outputs.push_back(Read(o.results[k]));
  host.fast = !fast;
  NotationTable other_notations;
  ComparisonRun other(host, other_notations);
  const RunStatus other_status = other.RunComparison(o);
  if (other_status.outcome != outcome || other_status.diff_count != diffs) {
    Fail("fast mode changes the outcome");
  }
  if (Read(o.difference) != outputs[0]) {
    Fail("fast mode changes the difference file");
  }
  for (int k = 0; k < count; ++k) {
    if (Read(o.results[k]) != outputs[static_cast<std::size_t>(k) + 1]) {
      Fail("fast mode changes result " + std::to_string(k + 1));
    }
  }
}

}  // namespace
}  // namespace tessel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  tessel::fuzz::RunOne(data, size);
  return 0;
}
