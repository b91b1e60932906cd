// The shortcuts of Unicode runs (UnicodeSharedStretch.h) must never change a
// byte of the output: random UTF-8 and UTF-16 editions, run once with events
// on every pass and once in fast mode, give the same files. Then the rules
// the shortcuts read by, one by one, and when they stand aside.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ComparisonRun.h"
#include "TestSupport.h"
#include "UnicodeSharedStretch.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

// Stands for a raw character: bytes that are not a well-formed character
// in the run's encoding.
const std::string kRaw = "<raw>";

// Pieces that meet every rule a shortcut could trip on: characters of one
// to four bytes, line ends, ignored symbols, notations (named characters
// and not), lone openers, control characters, U+001A, a byte-order mark
// past the start, canonical singletons and their targets, raw characters.
const std::vector<std::string> kPieces = {
    "天",         "地",       "玄",     "黃",     "A",  "é",
    "\U00020000", "\n",       "\r\n",   "，",     " ",  "[ab]",
    "&x-4E00;",   "&#19968;", "一",     "[",      "&",  std::string(1, '\0'),
    "\x1A",       "\t",       "\uFEFF", "\uFA0C", "兀", "\U0002F800",
    "\u4E3D",     kRaw};

// The first pieces are plain text, as most of a real edition is.
constexpr std::size_t kPlainPieces = 4;

std::string RawBytes(Encoding encoding, std::mt19937& random) {
  switch (encoding) {
    case Encoding::kUtf8: {
      // A cut sequence, a stray continuation byte, a byte never used.
      static const std::vector<std::string> raw = {"\xE5\xA4", "\x80", "\xFF"};
      return raw[random() % raw.size()];
    }
    case Encoding::kUtf16Le:
      return "\x00\xD8";  // an unpaired high surrogate
    default:
      return "\xDC\x00";  // an unpaired low surrogate
  }
}

// The text of `pieces` in `encoding`.
std::string Render(const std::vector<std::size_t>& pieces, Encoding encoding,
                   std::mt19937& random) {
  std::string text;
  for (const std::size_t p : pieces) {
    text += kPieces[p] == kRaw
                ? RawBytes(encoding, random)
                : ConvertText(kPieces[p], Encoding::kUtf8, encoding);
  }
  return text;
}

std::vector<std::size_t> RandomPieces(std::mt19937& random, std::size_t n) {
  std::vector<std::size_t> pieces;
  for (std::size_t i = 0; i < n; ++i) {
    pieces.push_back(random() % 4 == 0 ? random() % kPieces.size()
                                       : random() % kPlainPieces);
  }
  return pieces;
}

// Copies `base`, inserting a few pieces.
std::vector<std::size_t> Edition(std::mt19937& random,
                                 std::vector<std::size_t> base, int changes) {
  for (int c = 0; c < changes && !base.empty(); ++c) {
    base.insert(
        base.begin() + static_cast<std::ptrdiff_t>(random() % base.size()),
        random() % kPieces.size());
  }
  return base;
}

EncodingChoice ChoiceOf(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return EncodingChoice::kUtf8;
    case Encoding::kUtf16Le:
      return EncodingChoice::kUtf16Le;
    case Encoding::kUtf16Be:
      return EncodingChoice::kUtf16Be;
    default:
      return EncodingChoice::kBig5;
  }
}

struct RunSetup {
  Encoding encoding = Encoding::kUtf8;
  bool fold = true;
  std::int32_t window = 100;
};

// Runs in `dir`, so that both runs name their sources alike. Returns every
// output and the outcome.
std::vector<std::string> RunAll(const TempDir& dir,
                                const std::vector<std::string>& texts,
                                const RunSetup& setup, bool fast) {
  RecordingHost host;
  host.fast = fast;
  RunOptions& o = host.options;
  o.three_files = texts.size() == 3;
  o.fold_notations = setup.fold;
  o.window_size = setup.window;
  o.use_sign_memo = true;
  o.sign_memo = " ，兀";
  o.sign_memo_encoding = Encoding::kUtf8;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    WriteFile(dir / ("s" + n), texts[k]);
    o.sources[k] = dir / ("s" + n);
    o.results[k] = dir / ("r" + n);
    o.encodings[k] = ChoiceOf(setup.encoding);
  }
  o.difference = dir / "d";
  NotationTable notations;
  ComparisonRun run(host, notations);
  const RunStatus status = run.RunComparison(o);
  std::vector<std::string> outputs;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    outputs.push_back(ReadFile(o.results[k]));
  }
  outputs.push_back(ReadFile(o.difference));
  outputs.push_back(std::to_string(static_cast<int>(status.outcome)));
  outputs.push_back(std::to_string(status.diff_count));
  return outputs;
}

TEST(UnicodeFastModeTest, ShortcutsChangeNoByte) {
  std::mt19937 random(2026);
  const Encoding encodings[] = {Encoding::kUtf8, Encoding::kUtf16Le,
                                Encoding::kUtf16Be};
  for (int round = 0; round < 48; ++round) {
    // Now and then long enough to cross the sources' 64 KiB buffers.
    const std::size_t pieces = round % 6 == 0 ? 30'000 : 400;
    const std::vector<std::size_t> base = RandomPieces(random, pieces);
    RunSetup setup;
    // UTF-8 twice as often as each UTF-16.
    setup.encoding = encodings[round % 4 == 3 ? 1 + round / 4 % 2 : 0];
    setup.fold = round % 5 != 1;
    setup.window = round % 7 == 0 ? 8 : 100;
    std::vector<std::string> texts;
    const int count = 2 + round % 2;
    for (int k = 0; k < count; ++k) {
      texts.push_back(Render(Edition(random, base, round % 3 == 0 ? 0 : 3),
                             setup.encoding, random));
    }
    TempDir dir;
    EXPECT_EQ(RunAll(dir, texts, setup, true), RunAll(dir, texts, setup, false))
        << "round " << round << ", encoding "
        << static_cast<int>(setup.encoding) << ", fold " << setup.fold;
  }
}

// Places where a shortcut could read a character otherwise than the walk,
// each set between long stretches that the shortcuts take: line breaks in
// one edition only, so that the stretch that follows the compared
// characters runs across the place that matters.
TEST(UnicodeFastModeTest, ShortcutsReadEachPlaceAsTheWalkDoes) {
  std::string broken, whole;
  for (int i = 0; i < 150; ++i) broken += "天地玄\n", whole += "天地玄";
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"[ab]", "[AB]"},
      {"&x-4E00;", "一"},
      {"&#x4e00;", "&X-4E00;"},
      {"\uFA0C", "兀"},
      {"\U0002F800", "\u4E3D"},
      {"\xE5\xA4", "\xE5\xA4\xA9"},
      {"\xE5\xA4\xA9\xA9", "\xE5\xA4\xA9"},
      {"\x80", "\xFF"},
      {"\x1A", ""},
      {std::string(1, '\0'), "\n"},
      {"\uFEFF", ""},
      {"\r\n", "\n"},
      {"[", "&"}};
  for (const auto& [a, b] : pairs) {
    const std::vector<std::string> texts = {broken + a + broken,
                                            whole + b + whole};
    for (const bool fold : {true, false}) {
      RunSetup setup;
      setup.fold = fold;
      TempDir dir;
      EXPECT_EQ(RunAll(dir, texts, setup, true),
                RunAll(dir, texts, setup, false))
          << BytesText(a) << " against " << BytesText(b) << " fold " << fold;
    }
  }
}

struct PrefixCase {
  std::string name;
  std::string bytes;  // UTF-8
  bool fold;
  std::size_t plain;
  std::int64_t line_feeds;
};

// Where a plain stretch must end, and the lines it counts.
TEST(UnicodeFastModeTest, PlainPrefixStopsWhereTheWalkMustRead) {
  const std::vector<PrefixCase> cases = {
      {"plain characters of every length", "aé天\U00020000", true, 10, 0},
      {"line ends counted", "天\n地\r\n", true, 9, 2},
      {"controls, U+001A and a late byte-order mark",
       std::string("\x1A\0\t\uFEFF", 6), true, 6, 0},
      {"singletons are plain", "\uFA0C\U0002F800", true, 7, 0},
      {"bracket opener when folding", "天[ab]", true, 3, 0},
      {"entity opener when folding", "天\n&x-4E00;", true, 4, 1},
      {"openers are plain without folding", "[a]&b;", false, 6, 0},
      {"raw byte", "天\xFF地", true, 3, 0},
      {"stray continuation byte", "a\x80", true, 1, 0},
      {"surrogate spelled in UTF-8", "a\xED\xA0\x80", true, 1, 0},
      {"character cut by the end", "天\xE5\xA4", true, 3, 0},
      {"four-byte character cut by the end", "a\xF0\xA0\x80", true, 1, 0},
      // Runs of three-byte characters, which are checked two at a time.
      {"surrogate after a run", "天地玄\xED\xA0\x80", true, 9, 0},
      {"overlong after a run", "天地玄黃\xE0\x80\x80", true, 12, 0},
      {"cut after an even run", "天地玄黃\xE5\xA4", true, 12, 0},
      {"bad continuation in a pair", "天地\xE7\x8E\x41黃", true, 6, 0},
  };
  UnicodeSignSet signs;
  const UnicodeShortcuts fold_on(Encoding::kUtf8, true, signs);
  const UnicodeShortcuts fold_off(Encoding::kUtf8, false, signs);
  for (const PrefixCase& c : cases) {
    std::int64_t feeds = 0;
    const auto bytes = std::span(
        reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
    const std::size_t plain =
        (c.fold ? fold_on : fold_off).PlainPrefix(bytes, &feeds);
    EXPECT_EQ(plain, c.plain) << c.name;
    EXPECT_EQ(feeds, c.line_feeds) << c.name;
  }
}

// In UTF-16 the same rules hold unit by unit.
TEST(UnicodeFastModeTest, PlainPrefixReadsUtf16) {
  UnicodeSignSet signs;
  const UnicodeShortcuts le(Encoding::kUtf16Le, true, signs);
  const UnicodeShortcuts be(Encoding::kUtf16Be, true, signs);
  const auto prefix = [](const UnicodeShortcuts& shortcuts,
                         const std::string& bytes, std::int64_t* feeds) {
    return shortcuts.PlainPrefix(
        std::span(reinterpret_cast<const unsigned char*>(bytes.data()),
                  bytes.size()),
        feeds);
  };
  std::int64_t feeds = 0;
  const std::string text = "天\n\U00020000[ab]";
  EXPECT_EQ(prefix(le, ConvertText(text, Encoding::kUtf8, Encoding::kUtf16Le),
                   &feeds),
            8u);
  EXPECT_EQ(prefix(be, ConvertText(text, Encoding::kUtf8, Encoding::kUtf16Be),
                   &feeds),
            8u);
  EXPECT_EQ(feeds, 2);
  // An unpaired surrogate, and a pair cut by the end.
  EXPECT_EQ(prefix(le, std::string("\x29\x59\x00\xD8\x29\x59", 6), &feeds), 2u);
  EXPECT_EQ(prefix(le, std::string("\x29\x59\x40\xD8", 4), &feeds), 2u);
}

struct EncodingCase {
  std::string name;
  std::vector<Encoding> encodings;
  bool ignored_stretches;
  std::optional<Encoding> shortcuts;
};

// The one condition under which the shortcuts stand aside.
TEST(UnicodeFastModeTest, ShortcutsNeedOneUtfEncodingAndNoStretches) {
  using E = Encoding;
  const std::vector<EncodingCase> cases = {
      {"UTF-8 pair", {E::kUtf8, E::kUtf8}, false, E::kUtf8},
      {"UTF-16BE three",
       {E::kUtf16Be, E::kUtf16Be, E::kUtf16Be},
       false,
       E::kUtf16Be},
      {"ignored stretches", {E::kUtf8, E::kUtf8}, true, std::nullopt},
      {"UTF-8 against Big5", {E::kUtf8, E::kBig5}, false, std::nullopt},
      {"the two UTF-16s", {E::kUtf16Le, E::kUtf16Be}, false, std::nullopt},
      {"third source apart",
       {E::kUtf8, E::kUtf8, E::kUtf16Le},
       false,
       std::nullopt},
      {"Big5 run as Unicode", {E::kBig5, E::kBig5}, false, std::nullopt},
  };
  for (const EncodingCase& c : cases) {
    EXPECT_EQ(UnicodeShortcutEncoding(c.encodings, c.ignored_stretches),
              c.shortcuts)
        << c.name;
  }
}

// The shortcut that follows the compared characters copies each source's
// own bytes up to the last character all agree on, ignored ones between,
// and counts each source's lines.
TEST(UnicodeFastModeTest, AgreeingStretchCopiesUpToTheLastAgreement) {
  TempDir dir;
  UnicodeSignSet signs;
  signs.LoadSignMemo("，", Encoding::kUtf8);
  const UnicodeShortcuts shortcuts(Encoding::kUtf8, true, signs);
  RunSources sources;
  RunOutputs outputs;
  WalkPosition position;
  sources.count = 2;
  sources.streams[0] = SourceStream::FromBytes("天地\n，玄黃[x]");
  sources.streams[1] = SourceStream::FromBytes("天，地玄\n\n黃宇");
  outputs.results[0] =
      OutputStream::OpenFile(dir / "r1", OutputStream::Mode::kBinary);
  outputs.results[1] =
      OutputStream::OpenFile(dir / "r2", OutputStream::Mode::kBinary);
  EXPECT_EQ(shortcuts.CopyAgreeingStretch(sources, outputs, position), 4u);
  EXPECT_EQ(shortcuts.CopyAgreeingStretch(sources, outputs, position), 0u);
  EXPECT_EQ(sources.streams[0]->Tell(), std::string("天地\n，玄黃").size());
  EXPECT_EQ(sources.streams[1]->Tell(), std::string("天，地玄\n\n黃").size());
  EXPECT_EQ(position.lines[0], 2);
  EXPECT_EQ(position.lines[1], 3);
  ASSERT_TRUE(outputs.results[0]->Close());
  ASSERT_TRUE(outputs.results[1]->Close());
  EXPECT_EQ(ReadFile(dir / "r1"), "天地\n，玄黃");
  EXPECT_EQ(ReadFile(dir / "r2"), "天，地玄\n\n黃");
}

// An ignored symbol of any length, led by any byte, is passed over where
// only one source has it; the shortcut's table of lead bytes must not send
// it to be compared.
TEST(UnicodeFastModeTest, AgreeingStretchPassesIgnoredSymbolsOfEveryLength) {
  const struct {
    const char* name;
    std::string sign;
  } cases[] = {
      {"two bytes", "·"},
      {"two bytes, last lead", "߿"},
      {"three bytes, punctuation", "。"},
      {"three bytes, among common characters", "兀"},
      {"three bytes, E0 lead", "ࠀ"},
      {"three bytes, ED lead", "퟿"},
      {"four bytes", "𠀀"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    UnicodeSignSet signs;
    signs.LoadSignMemo(c.sign, Encoding::kUtf8);
    const UnicodeShortcuts shortcuts(Encoding::kUtf8, true, signs);
    RunSources sources;
    RunOutputs outputs;
    WalkPosition position;
    sources.count = 2;
    const std::string with_sign = "天" + c.sign + "地";
    sources.streams[0] = SourceStream::FromBytes(with_sign);
    sources.streams[1] = SourceStream::FromBytes("天地");
    outputs.results[0] =
        OutputStream::OpenFile(dir / "r1", OutputStream::Mode::kBinary);
    outputs.results[1] =
        OutputStream::OpenFile(dir / "r2", OutputStream::Mode::kBinary);
    EXPECT_GT(shortcuts.CopyAgreeingStretch(sources, outputs, position), 0u);
    ASSERT_TRUE(outputs.results[0]->Close());
    ASSERT_TRUE(outputs.results[1]->Close());
    EXPECT_EQ(ReadFile(dir / "r1"), with_sign);
    EXPECT_EQ(ReadFile(dir / "r2"), "天地");
  }
}

// A Unicode run in fast mode looks at the timer as a Big5 run does (see
// FastModeTest): each "[" is a pass that no shortcut takes.
TEST(UnicodeFastModeTest, LooksForAStopAsOftenAsABig5Run) {
  constexpr std::int64_t k = ComparisonRun::kFastPassesPerTickCheck;
  const std::string plain(3 * k, '[');
  TempDir dir;
  RecordingHost host;
  host.fast = true;
  RunOptions& o = host.options;
  WriteFile(dir / "s1", plain);
  WriteFile(dir / "s2", plain);
  o.sources = {dir / "s1", dir / "s2"};
  o.results = {dir / "r1", dir / "r2"};
  o.difference = dir / "d";
  o.encodings = {EncodingChoice::kUtf8, EncodingChoice::kUtf8,
                 EncodingChoice::kAuto};
  NotationTable notations;
  ComparisonRun run(host, notations);
  EXPECT_EQ(run.RunComparison(o).outcome, RunOutcome::kCompleted);
  EXPECT_EQ(host.progress,
            (std::vector<std::int64_t>{1, 1 + k, 1 + 2 * k, 3 * k}));
}

// A stop asked for in fast mode is heard while the shortcuts copy.
TEST(UnicodeFastModeTest, StopsWhileTheShortcutsCopy) {
  std::string text;
  for (int i = 0; i < 100'000; ++i) text += "天地玄黃\n";
  TempDir dir;
  RecordingHost host;
  host.fast = true;
  host.stop_at_pass = 0;
  RunOptions& o = host.options;
  WriteFile(dir / "s1", text);
  WriteFile(dir / "s2", text);
  o.sources = {dir / "s1", dir / "s2"};
  o.results = {dir / "r1", dir / "r2"};
  o.difference = dir / "d";
  NotationTable notations;
  ComparisonRun run(host, notations);
  EXPECT_EQ(run.RunComparison(o).outcome, RunOutcome::kStopped);
  EXPECT_LT(ReadFile(dir / "r1").size(), text.size());
}

}  // namespace
}  // namespace tessel::testing
