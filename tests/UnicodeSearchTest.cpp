// The search of a Unicode run: its look-ahead kept between differences, the
// growing look-ahead, and variant tables, in sources of every encoding.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CanonicalSingleton.h"
#include "ComparisonRun.h"
#include "Cp950.h"
#include "FileTexts.h"
#include "LookAheadSlots.h"
#include "NotationTable.h"
#include "SourceStream.h"
#include "TestSupport.h"
#include "UnicodeRunStages.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

// Random text with what the look-ahead must step over: ignored symbols,
// line feeds, notations (one naming a character, one naming none), a raw
// byte, and a U+001A, which ends only a Big5 source.
std::string RandomUtf8(std::mt19937& random, int units) {
  static const char* const kPieces[] = {
      "甲", "乙",   "丙",       "丁",       "A",       "B",    ",",  " ",
      "\n", "\r\n", "&x-4E59;", "&X-4e59;", "[甲*乙]", "\x1A", "𠀀", "\xFF"};
  std::string text;
  for (int i = 0; i < units; ++i) {
    const std::size_t pick = random() % 100;
    text += kPieces[pick < 60 ? pick % 6 : pick % 16];
  }
  return text;
}

// `utf8` as a source in `encoding`; a raw byte stays a raw byte in UTF-8,
// and becomes what the conversion makes of it in the others.
std::string InEncoding(const std::string& utf8, Encoding encoding) {
  return encoding == Encoding::kUtf8
             ? utf8
             : ConvertText(utf8, Encoding::kUtf8, encoding);
}

struct FreshSlots {
  std::vector<Key> keys;
  std::int64_t rest_of_line = 0;
};

// The slots of a look-ahead read afresh from `start` by a reader of its
// own: the first compared key of each read, or 0 at the end (or at a Big5
// 0x1A), and the compared keys before the first line feed.
FreshSlots ReadFresh(UnicodeTokenReader& reader, const UnicodeSignSet& signs,
                     SourceStream& src, std::int64_t start,
                     std::int64_t count) {
  src.Seek(start);
  FreshSlots fresh;
  bool line_ended = false;
  for (std::int64_t slot = 0; slot < count; ++slot) {
    Key key;
    for (;;) {
      key = reader.ReadKey(src);
      if (!signs.IsIgnored(key)) {
        if (!line_ended) ++fresh.rest_of_line;
        break;
      }
      if (key == kEndOfSource) break;
      if (reader.LastIsLineFeed()) line_ended = true;
    }
    fresh.keys.push_back(key);
  }
  return fresh;
}

// The byte offsets where compared characters begin, as a walk meets them.
std::vector<std::int64_t> ComparedStarts(UnicodeTokenReader& reader,
                                         const UnicodeSignSet& signs,
                                         SourceStream& src) {
  std::vector<std::int64_t> starts;
  src.Seek(0);
  for (;;) {
    const std::int64_t at = src.Tell();
    const Key key = reader.ReadKey(src);
    if (key == kEndOfSource &&
        (reader.encoding() != Encoding::kBig5 || src.Eof())) {
      break;
    }
    if (!signs.IsIgnored(key)) starts.push_back(at);
  }
  if (starts.empty()) starts.push_back(0);
  return starts;
}

TEST(UnicodeLookAheadTest, KeptSlotsAreWhatAFreshReadGives) {
  const std::array<std::array<Encoding, 2>, 3> pairs = {
      {{Encoding::kUtf8, Encoding::kUtf8},
       {Encoding::kUtf16Le, Encoding::kBig5},
       {Encoding::kBig5, Encoding::kUtf16Be}}};
  std::mt19937 random(31);
  for (int round = 0; round < 150; ++round) {
    const auto& encodings = pairs[round % pairs.size()];
    const bool fold = round % 5 != 4;
    NotationTable notations;
    UnicodeReaders readers;
    readers.signs.LoadSignMemo(", ", Encoding::kUtf8);
    std::array<std::unique_ptr<SourceStream>, 2> streams, checks;
    std::array<std::unique_ptr<UnicodeTokenReader>, 2> fresh_readers;
    std::array<std::vector<std::int64_t>, 2> starts;
    for (int k = 0; k < 2; ++k) {
      const std::string bytes =
          InEncoding(RandomUtf8(random, 300), encodings[k]);
      streams[k] = SourceStream::FromBytes(bytes);
      checks[k] = SourceStream::FromBytes(bytes);
      readers.sources[k] =
          std::make_unique<UnicodeTokenReader>(encodings[k], notations, fold);
      fresh_readers[k] =
          std::make_unique<UnicodeTokenReader>(encodings[k], notations, fold);
      starts[k] = ComparedStarts(*fresh_readers[k], readers.signs, *checks[k]);
    }
    WideLookAheadSlots lookahead;
    std::array<std::size_t, 2> at{0, 0};
    for (int step = 0; step < 30; ++step) {
      for (int k = 0; k < 2; ++k) {
        // Mostly small steps, as between nearby differences; now and then
        // a jump beyond everything read.
        at[k] = std::min(
            starts[k].size() - 1,
            at[k] + (random() % 8 == 0 ? 100 + random() % 100 : random() % 12));
        lookahead.Start(k, starts[k][at[k]]);
      }
      const std::int64_t count = 1 + random() % 150;
      lookahead.ReadSlotsWith(UnicodeSlotReader(readers),
                              {streams[0].get(), streams[1].get()}, 2, count);
      for (int k = 0; k < 2; ++k) {
        const std::string name = "round " + std::to_string(round) + " step " +
                                 std::to_string(step) + " source " +
                                 std::to_string(k);
        const FreshSlots fresh = ReadFresh(*fresh_readers[k], readers.signs,
                                           *checks[k], starts[k][at[k]], count);
        for (std::int64_t s = 0; s < count; ++s) {
          ASSERT_EQ(lookahead.CodeAt(k, s), fresh.keys[s])
              << name << " slot " << s;
        }
        ASSERT_EQ(lookahead.RestOfLine(k, count), fresh.rest_of_line) << name;
        const auto end =
            std::find(fresh.keys.begin(), fresh.keys.end(), kEndOfSource);
        ASSERT_EQ(lookahead.Window(k, count).size(),
                  static_cast<std::size_t>(end - fresh.keys.begin()))
            << name;
      }
    }
  }
}

// Ideograph `index` of those that code page 950 writes as themselves, so
// that a text of them reads alike in Big5 and in UTF.
char32_t Han(int index) {
  static const std::vector<char32_t> hans = [] {
    std::vector<char32_t> found;
    for (std::uint32_t code = 0xA440; code <= 0xF9D5; ++code) {
      const auto c = Cp950ToUnicode(static_cast<std::uint16_t>(code));
      if (c && *c >= 0x4E00 && *c <= 0x9FFF && UnicodeToCp950(*c) == code &&
          FoldCanonicalSingleton(*c) == *c) {
        found.push_back(*c);
      }
    }
    return found;
  }();
  return hans.at(static_cast<std::size_t>(index));
}

std::u32string Hans(int first, int count) {
  std::u32string text;
  for (int i = 0; i < count; ++i) text += Han(first + i);
  return text;
}

std::string Utf8(std::u32string_view text) {
  return EncodeText(text, Encoding::kUtf8);
}

// A fixed text of the files (Big5 bytes) as UTF-8.
std::string Utf8Fixed(std::string_view big5) {
  return ConvertText(big5, Encoding::kBig5, Encoding::kUtf8);
}

// Two editions; the first holds a passage of `lines` lines of 30 characters
// that the second lacks.
struct GapPair {
  std::u32string head = Hans(0, 20);
  std::u32string tail = Hans(20, 20);
  std::vector<std::u32string> gap;
  std::u32string first;
  std::u32string second;
  explicit GapPair(int lines) {
    first = head + U"\n";
    for (int l = 0; l < lines; ++l) {
      gap.push_back(Hans(100 + 30 * l, 30));
      first += gap.back() + U"\n";
    }
    first += tail + U"\n";
    second = head + U"\n" + tail + U"\n";
  }
};

// Whole runs through tessel-cli, whose sources are named s1, s2, ... and
// its outputs r1, r2, ... and d.
class UnicodeCliRun : public ::testing::Test {
 protected:
  ProcessResult Run(const std::vector<std::string>& sources,
                    std::vector<std::string> args) {
    for (std::size_t k = 0; k < sources.size(); ++k) {
      std::string name = "s";
      name += std::to_string(k + 1);
      WriteFile(dir_ / name, sources[k]);
      args.push_back(name);
    }
    for (std::size_t k = 0; k < sources.size(); ++k) {
      std::string name = "r";
      name += std::to_string(k + 1);
      args.insert(args.end(), {"--result", name});
    }
    args.insert(args.end(), {"--diff", "d", "--quiet"});
    return RunProcess(CliPath(), args, dir_.path());
  }
  std::string Out(const std::string& name) { return ReadFile(dir_ / name); }

  TempDir dir_;
};

struct GapRow {
  const char* name;
  Encoding first, second;
  const char* encodings;  // --encoding
};

const GapRow kGapRows[] = {
    {"utf-8 against utf-8", Encoding::kUtf8, Encoding::kUtf8, "utf-8"},
    {"big5 against utf-16le", Encoding::kBig5, Encoding::kUtf16Le,
     "big5,utf-16le"},
};

// 6,000 characters missing: their offsets add up far beyond the 9999
// bytes of a fixed look-ahead, and the run still meets the editions again
// right after them, line by line.
TEST_F(UnicodeCliRun, AutoBridgesAGapLongerThanTheFixedBound) {
  const GapPair pair(200);
  for (const GapRow& row : kGapRows) {
    const ProcessResult run =
        Run({EncodeText(pair.first, row.first),
             EncodeText(pair.second, row.second)},
            {"--window", "auto", "--encoding", row.encodings});
    ASSERT_EQ(run.status, 1) << row.name << ": " << run.err;
    EXPECT_EQ(run.out,
              "differences: 200\nlook-ahead reached: 6400 characters\n")
        << row.name;
    std::u32string r1 = pair.head, r2 = pair.head + U"\n";
    std::string d;
    for (int l = 0; l < 200; ++l) {
      r1 += U"\n{{" + pair.gap[l] + U"||}}";
      r2 += U"{{||" + pair.gap[l] + U"}}";
      // 30 wide characters fill the column: no blanks.
      d += Lines(l + 2, 2) + Utf8(pair.gap[l]) + ", \r\n";
    }
    r1 += U"\n" + pair.tail + U"\n";
    r2 += pair.tail + U"\n";
    d += OnDisk(Utf8Fixed(file_texts::kEndLine));
    EXPECT_TRUE(Out("r1") == EncodeText(r1, row.first)) << row.name;
    EXPECT_TRUE(Out("r2") == EncodeText(r2, row.second)) << row.name;
    EXPECT_TRUE(Out("d") == d) << row.name;
    // A fixed look-ahead, even a wide one, is cut off at the gap.
    EXPECT_EQ(Run({EncodeText(pair.first, row.first),
                   EncodeText(pair.second, row.second)},
                  {"--window", "5000", "--encoding", row.encodings})
                  .status,
              3)
        << row.name;
  }
}

// Where every anchor lies within 100 characters, auto writes exactly what
// a fixed look-ahead of 100 writes.
TEST_F(UnicodeCliRun, AutoIsWindow100WhereThatSuffices) {
  for (const GapRow& row : kGapRows) {
    std::mt19937 random(7);
    std::u32string first, second;
    for (int i = 0; i < 4000; ++i) {
      const char32_t c = Han(static_cast<int>(random() % 300));
      const std::uint32_t roll = random() % 200;
      first += c;
      if (roll == 0) {
        second += Han(static_cast<int>(random() % 300));  // another one
      } else if (roll == 1) {
        second += {c, Han(static_cast<int>(random() % 300))};  // one more
      } else if (roll != 2) {
        second += c;  // roll 2: missing from the second edition
      }
      if (random() % 30 == 0) first += U"\n";
      if (random() % 25 == 0) second += U"\r\n";
    }
    const std::vector<std::string> sources = {EncodeText(first, row.first),
                                              EncodeText(second, row.second)};
    const ProcessResult fixed =
        Run(sources, {"--window", "100", "--encoding", row.encodings});
    ASSERT_EQ(fixed.status, 1) << row.name << ": " << fixed.err;
    const std::string r1 = Out("r1"), r2 = Out("r2"), d = Out("d");
    const ProcessResult grown =
        Run(sources, {"--window", "auto", "--encoding", row.encodings});
    EXPECT_EQ(grown.status, 1) << row.name;
    EXPECT_EQ(grown.out, fixed.out + "look-ahead reached: 100 characters\n")
        << row.name;
    EXPECT_TRUE(Out("r1") == r1 && Out("r2") == r2 && Out("d") == d)
        << row.name;
  }
}

// A Big5 edition against a UTF-8 one, cut off at the MAX: the closing
// lines, the look-ahead reached among them, are in each file's encoding.
TEST_F(UnicodeCliRun, ReachingMaxCutsOffWithClosingLinesInEachEncoding) {
  const GapPair pair(10);
  const ProcessResult run =
      Run({EncodeText(pair.first, Encoding::kBig5), Utf8(pair.second)},
          {"--window", "auto:200"});
  ASSERT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, "differences: 1\nlook-ahead reached: 200 characters\n");
  // The second edition's look-ahead met its end.
  std::string closing = "\r\n\r\n";
  for (const char* name : {"s1", "s2"}) {
    closing +=
        std::string(file_texts::kClosingStart) + name +
        std::string(file_texts::kClosingMiddle) + "2" +
        std::string(name == std::string("s1") ? file_texts::kClosingInterrupted
                                              : file_texts::kClosingEnded) +
        "\r\n";
  }
  closing += std::string(file_texts::kClosingReachedStart) + "200" +
             std::string(file_texts::kClosingReachedEnd) + "\r\n";
  EXPECT_EQ(BytesText(Out("r1")),
            BytesText(EncodeText(pair.head + U"\n{{" + pair.gap[0] + U"||" +
                                     pair.tail + U"}}",
                                 Encoding::kBig5) +
                      closing));
  EXPECT_EQ(BytesText(Out("r2")),
            BytesText(Utf8(pair.head + U"\n{{" + pair.tail + U"||" +
                           pair.gap[0] + U"}}") +
                      Utf8Fixed(closing)));
  EXPECT_EQ(BytesText(Out("d")),
            BytesText(Lines(2, 2) + Utf8(pair.gap[0]) + ", " + Utf8(pair.tail) +
                      "\r\n" + Utf8Fixed(closing)));
}

// The variant count line of a Unicode run's difference file, on disk.
std::string VariantLine(int count) {
  return OnDisk(Utf8Fixed(std::string(file_texts::kVariantCountStart) +
                          std::to_string(count) +
                          std::string(file_texts::kVariantCountEnd) + "\n"));
}

const std::string kUtf8End = OnDisk(Utf8Fixed(file_texts::kEndLine));

class VariantRecorder : public VariantSink {
 public:
  void Variant(const VariantMet& v) override { met.push_back(v); }
  std::vector<VariantMet> met;
};

struct VariantSource {
  std::string bytes;
  EncodingChoice encoding;
};

struct VariantCase {
  const char* name;
  std::vector<VariantSource> sources;
  std::string result1, difference;
  int variants, differences;
  bool unicode = false;  // --unicode
  std::string memo;      // ignored symbols, UTF-8
};

const std::string kWeiBig5 = "\xAC\xB0";  // 為 in Big5; 爲 is not in it

class UnicodeVariantTest : public ::testing::TestWithParam<VariantCase> {};

TEST_P(UnicodeVariantTest, JoinsVariantsAndCountsThem) {
  const VariantCase& c = GetParam();
  TempDir dir;
  RunOptions o;
  o.three_files = c.sources.size() == 3;
  for (std::size_t k = 0; k < c.sources.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    WriteFile(dir / ("s" + n), c.sources[k].bytes);
    o.sources[k] = dir / ("s" + n);
    o.results[k] = dir / ("r" + n);
    o.encodings[k] = c.sources[k].encoding;
  }
  o.difference = dir / "d";
  o.unicode = c.unicode;
  o.variant_tables = "semantic";
  if (!c.memo.empty()) {
    o.use_sign_memo = true;
    o.sign_memo = c.memo;
    o.sign_memo_encoding = Encoding::kUtf8;
  }
  NotationTable notations;
  RecordingHost host;
  VariantRecorder recorder;
  ComparisonRun run(host, notations);
  run.SetVariantSink(&recorder);
  const RunStatus status = run.RunComparison(o);
  EXPECT_EQ(status.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(BytesText(ReadFile(dir / "r1")), BytesText(c.result1));
  EXPECT_EQ(BytesText(ReadFile(dir / "d")), BytesText(c.difference));
  EXPECT_EQ(status.variant_count, c.variants);
  EXPECT_EQ(status.diff_count, c.differences);
  EXPECT_EQ(recorder.met.size(), static_cast<std::size_t>(c.variants));
}

constexpr auto kBig5 = EncodingChoice::kBig5;
constexpr auto kUtf8 = EncodingChoice::kUtf8;

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeVariantTest,
    ::testing::Values(
        VariantCase{
            "Big5CharacterMeetsUtf8Variant",
            {{"\xA5\xD2" + kWeiBig5 + "\xA4\x41", kBig5}, {"甲爲乙", kUtf8}},
            "\xA5\xD2" + kWeiBig5 + "\xA4\x41",
            kUtf8End + VariantLine(1),
            1,
            0,
            false,
            ""},
        VariantCase{"NotationNamesTheCharacterThatIsLookedUp",
                    {{"甲&x-7232;乙", kUtf8}, {"甲為乙", kUtf8}},
                    "甲&x-7232;乙",
                    kUtf8End + VariantLine(1),
                    1,
                    0,
                    false,
                    ""},
        VariantCase{
            "Big5NotationMeetsBig5VariantWithUnicode",
            {{"\xA5\xD2&x-7232;", kBig5}, {"\xA5\xD2" + kWeiBig5, kBig5}},
            "\xA5\xD2&x-7232;",
            kUtf8End + VariantLine(1),
            1,
            0,
            true,
            ""},
        // Without the table no anchor of four follows A and B, and the
        // rest would be one difference; 爲 and 為 as one character make one.
        VariantCase{"VariantInsideAnAnchorStillAnchors",
                    {{"A爲乙丁戊", kUtf8}, {"B為乙丁戊", kUtf8}},
                    "{{A||B}}爲乙丁戊",
                    Lines(1, 1) + "A" + std::string(30, ' ') + ", B\r\n" +
                        kUtf8End + VariantLine(1),
                    1,
                    1,
                    false,
                    ""},
        VariantCase{"ThreeSourcesCountAPlaceOnce",
                    {{"甲為乙", kUtf8}, {"甲爲乙", kUtf8}, {"甲為乙", kUtf8}},
                    "甲為乙",
                    kUtf8End + VariantLine(1),
                    1,
                    0,
                    false,
                    ""},
        VariantCase{"NotationNamingNoCharacterJoinsNoClass",
                    {{"甲[xx]乙丁戊己", kUtf8}, {"甲為乙丁戊己", kUtf8}},
                    "甲{{[xx]||為}}乙丁戊己",
                    Lines(1, 1) + "[xx]" + std::string(27, ' ') + ", 為\r\n" +
                        kUtf8End + VariantLine(0),
                    0,
                    1,
                    false,
                    ""},
        VariantCase{"RawByteJoinsNoClass",
                    {{"甲\xFF乙丁戊己", kUtf8}, {"甲為乙丁戊己", kUtf8}},
                    "甲{{\xFF||為}}乙丁戊己",
                    Lines(1, 1) + "\xFF" + std::string(30, ' ') + ", 為\r\n" +
                        kUtf8End + VariantLine(0),
                    0,
                    1,
                    false,
                    ""},
        // Ignoring goes by the source's own character, not its class.
        VariantCase{"IgnoredFormStaysIgnored",
                    {{"甲爲乙", kUtf8}, {"甲乙", kUtf8}},
                    "甲爲乙",
                    kUtf8End + VariantLine(0),
                    0,
                    0,
                    false,
                    "爲"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnicodeVariantSink, GetsThePlaceAndTheCharacters) {
  TempDir dir;
  RunOptions o;
  SetTwoSourceRun(o, dir, "A\n" + kWeiBig5, "A\n\n爲");
  o.encodings = {kBig5, kUtf8, EncodingChoice::kAuto};
  o.variant_tables = "semantic";
  NotationTable notations;
  RecordingHost host;
  VariantRecorder recorder;
  ComparisonRun run(host, notations);
  run.SetVariantSink(&recorder);
  run.RunComparison(o);
  ASSERT_EQ(recorder.met.size(), 1u);
  const VariantMet& v = recorder.met[0];
  EXPECT_EQ(v.lines[0], 2);
  EXPECT_EQ(v.lines[1], 3);
  EXPECT_EQ(v.offsets[0], 2);
  EXPECT_EQ(v.offsets[1], 3);
  EXPECT_EQ(v.characters[0], U'為');
  EXPECT_EQ(v.characters[1], U'爲');
}

// A table that names a compatibility ideograph joins what a Unicode run
// compares it as, its unified form, whichever of the two a source has.
TEST_F(UnicodeCliRun, TableNamingACompatibilityFormReachesTheUnifiedOne) {
  WriteFile(dir_ / "own.txt", "\uFA0C 丌\n");
  for (const char* wu : {"兀", "\uFA0C"}) {
    const ProcessResult run = Run({std::string("甲") + wu + "乙", "甲丌乙"},
                                  {"--variants", "own.txt"});
    EXPECT_EQ(run.out, "differences: 0\nvariants: 1\n") << wu << run.err;
  }
}

// tessel-cli counts them, and a run cut off ends its difference file with
// the count after the closing lines.
TEST_F(UnicodeCliRun, PrintsTheVariantCount) {
  const ProcessResult same =
      Run({"甲爲乙說", "甲為乙説"}, {"--variants", "semantic"});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "differences: 0\nvariants: 2\n");
  const ProcessResult cut =
      Run({"爲A甲", "為B丁"}, {"--variants", "semantic", "--max-diff", "1"});
  EXPECT_EQ(cut.status, 3) << cut.err;
  EXPECT_EQ(cut.out, "differences: 1\nvariants: 1\n");
  EXPECT_TRUE(Out("d").ends_with(
      OnDisk(Utf8Fixed(std::string(file_texts::kClosingEnded) + "\n")) +
      VariantLine(1)))
      << BytesText(Out("d"));
}

}  // namespace
}  // namespace tessel::testing
