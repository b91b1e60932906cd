// A whole run over fuzzed sources, ignored symbols and options. Every
// result file must give back its source (the round trip), hold one block
// per difference, and end the way the outcome says; the difference file
// must hold one line per difference; the difference limit must be
// honoured; fast mode must change no byte, and neither must the report
// sink the run hands its text to, which must get every span as exactly its
// bytes (in a Unicode run, a UTF source's spans as its result file's blocks
// hold them) and, after a completed run, every source it wants whole.
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
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Big5Utf8.h"
#include "ComparisonRun.h"
#include "DifferenceSink.h"
#include "Encoding.h"
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
using namespace std::string_literals;
using namespace std::string_view_literals;

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
// the letters of a notation, which keeps its stored form). A UTF source's
// blocks hold, in order, the texts of its spans as the report sink got them
// (`spans`).
void CheckUnicodeResults(
    const RunOptions& o, const std::vector<Encoding>& e,
    const std::vector<std::string>& sources, int count, bool completed,
    std::int32_t diffs,
    const std::array<std::vector<std::string>, kMaxReportSources>& spans) {
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
    std::vector<std::string> owns;
    Require(
        testing::ReplaceBlocks(result, count == 3 ? k : 0, count, &text, &owns),
        context);
    for (std::size_t i = 0; !big5 && i < owns.size() && i < spans[k].size();
         ++i) {
      if (FoldLetters(owns[i]) != FoldLetters(spans[k][i])) {
        Fail(context + ": block " + std::to_string(i + 1) + " holds \"" +
             owns[i] + "\", its span \"" + spans[k][i] + "\"");
      }
    }
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

// The UTF-8 of Big5 `bytes` as the token reader reads them: a high byte
// before a line end or a 0x1A is a character of its own (U+FFFD), and
// pairs with any other byte after it; a 0x1A is nothing; each code as the
// conversion table has it.
std::string ReadAsUtf8(std::string_view bytes, Encoding encoding) {
  if (encoding != Encoding::kBig5) {
    return ConvertText(bytes, encoding, Encoding::kUtf8);
  }
  const auto& table = CodeUtf8Table();
  std::string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x1A) {  // read as an end, shown nowhere
      ++i;
      continue;
    }
    const bool alone = i + 1 == bytes.size() || bytes[i + 1] == '\n' ||
                       bytes[i + 1] == '\r' || bytes[i + 1] == '\x1A';
    Code code = kSingleByteBase + b;
    if (b >= 0x80 && !alone) {
      code =
          static_cast<Code>(b * 256 + static_cast<unsigned char>(bytes[i + 1]));
      ++i;
    }
    ++i;
    text.append(table[code].bytes, table[code].length);
  }
  return text;
}

// Whether a folded notation in `bytes` may hold a 0x80 or 0xFF: a notation
// is found byte by byte and its text converted so, while ReadAsUtf8 pairs
// such a byte with the next as the reader does in plain text.
bool MayHoldOddNotation(std::string_view bytes, bool fold) {
  return fold && bytes.find_first_of("[&"sv) != std::string_view::npos &&
         bytes.find_first_of("\x80\xFF"sv) != std::string_view::npos;
}

// What the report feed hands a sink, checked against the sources: each
// verbatim piece holds only characters a writer may copy as they are, and
// each span's text is the UTF-8 of exactly its bytes. Keeps each source's
// text as handed over (copied text and spans, in order).
struct FeedCheck : DifferenceSink {
  const std::vector<std::string>* sources = nullptr;
  const std::vector<Encoding>* encodings = nullptr;
  std::array<bool, kMaxReportSources> wanted{true, true, true};
  std::array<std::string, kMaxReportSources> texts;
  // Every span's text, by source.
  std::array<std::vector<std::string>, kMaxReportSources> spans;
  int count = 2;
  bool fold = true;

  void BeginRun(const RunDescription& run) override {
    count = run.source_count;
  }
  bool WantsCopiedText(int k) const override { return wanted[k]; }
  void CopyText(int k, std::string_view text, bool) override {
    texts[k] += text;
  }
  void CopyPieces(int k, const CopiedPieces& copied) override {
    std::uint32_t start = 0;
    for (const CopiedPiece& piece : copied.pieces) {
      const std::string_view text =
          copied.text.substr(start, piece.end - start);
      if (piece.verbatim && !testing::AllCopyVerbatim(text)) {
        Fail("a verbatim piece holds what a report escapes: " +
             std::string(text));
      }
      start = piece.end;
    }
    DifferenceSink::CopyPieces(k, copied);
  }
  void Difference(const DifferenceRecord& record) override {
    for (int k = 0; k < count; ++k) {
      const DifferenceSpan& span = record.spans[k];
      texts[k] += span.text;
      spans[k].emplace_back(span.text);
      const std::string& source = (*sources)[static_cast<std::size_t>(k)];
      if (span.byte_offset < 0 || span.byte_length < 0 ||
          span.byte_offset + span.byte_length >
              static_cast<std::int64_t>(source.size())) {
        Fail("a span lies outside its source");
      }
      const std::string_view bytes = std::string_view(source).substr(
          static_cast<std::size_t>(span.byte_offset),
          static_cast<std::size_t>(span.byte_length));
      // A NUL a high byte swallowed is in the span's bytes, not its text;
      // a 0x1A is an end, or text inside a notation.
      if ((*encodings)[k] == Encoding::kBig5 &&
          (bytes.find_first_of("\0\x1A"sv) != std::string_view::npos ||
           MayHoldOddNotation(bytes, fold))) {
        continue;
      }
      // A folded notation is written as the table stored it first, which
      // may differ from these bytes in the case of its letters.
      if (FoldLetters(ReadAsUtf8(bytes, (*encodings)[k])) !=
          FoldLetters(std::string(span.text))) {
        Fail("span " + std::to_string(record.number) + " of source " +
             std::to_string(k + 1) + " is not its bytes: \"" +
             std::string(span.text) + "\" for \"" +
             ReadAsUtf8(bytes, (*encodings)[k]) + "\"");
      }
    }
  }
  void EndRun(const RunEnd&) override {}
};

// After a completed run, every source a sink wanted came whole: its text
// as handed over is the UTF-8 of the source (a Big5 one as its result file
// gives it back).
void CheckFedTexts(const FeedCheck& check, const RunOptions& o,
                   const std::vector<Encoding>& encodings,
                   const std::vector<std::string>& sources, int count) {
  for (int k = 0; k < count; ++k) {
    if (!check.wanted[k]) continue;
    std::string expected;
    const std::string& source = sources[static_cast<std::size_t>(k)];
    if (encodings[k] == Encoding::kBig5) {
      // Only an all-Big5 run's result gives its source back whole; it
      // drops a swallowed NUL and a 0x1A, which joins the bytes around them.
      if (o.unicode || source.find_first_of("\0\x1A"s) != std::string::npos ||
          MayHoldOddNotation(source, o.fold_notations)) {
        continue;
      }
      std::string text;
      Require(testing::ReplaceBlocks(Read(o.results[k]), count == 3 ? k : 0,
                                     count, &text),
              "result");
      expected = ReadAsUtf8(text, Encoding::kBig5);
    } else {
      const std::size_t mark = ByteOrderMarkLength(
          encodings[k],
          std::span(reinterpret_cast<const unsigned char*>(source.data()),
                    source.size()));
      expected = ConvertText(std::string_view(source).substr(mark),
                             encodings[k], Encoding::kUtf8);
    }
    if (FoldLetters(check.texts[k]) != FoldLetters(expected)) {
      Fail("source " + std::to_string(k + 1) +
           " did not reach the sink whole: \"" + check.texts[k] + "\" for \"" +
           expected + "\"");
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

  // The run hands its text to a sink that checks it; with an odd input,
  // only source 1's copied text is wanted, so the others are passed over.
  const std::vector<std::string> sources(parts.begin() + 1,
                                         parts.begin() + 1 + count);
  FeedCheck check;
  check.sources = &sources;
  check.encodings = &encodings;
  check.fold = fold;
  if (size % 2 != 0) check.wanted = {true, false, false};
  NotationTable notations;
  ComparisonRun run(host, notations, {&check});
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

  if (outcome == RunOutcome::kCompleted) {
    CheckFedTexts(check, o, encodings, sources, count);
  }

  if (unicode) {
    CheckUnicodeResults(o, encodings,
                        {parts.begin() + 1, parts.begin() + 1 + count}, count,
                        outcome == RunOutcome::kCompleted, diffs, check.spans);
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
