// The look-ahead kept between differences, and whole runs of the growing
// look-ahead (--window auto) over passages that one edition lacks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "FileTexts.h"
#include "LookAheadSlots.h"
#include "NotationTable.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TestSupport.h"
#include "TokenReader.h"

namespace tessel::testing {
namespace {

// The slots of a look-ahead read afresh from `start`, one read each: the
// first compared code, or 0 at the end or at a 0x1A. Also the compared
// characters before the first line feed.
struct FreshSlots {
  std::vector<Code> codes;
  std::int64_t rest_of_line = 0;
};

FreshSlots ReadFresh(TokenReader& reader, SourceStream& src, std::int64_t start,
                     std::int64_t count) {
  src.Seek(start);
  FreshSlots fresh;
  bool line_ended = false;
  for (std::int64_t slot = 0; slot < count; ++slot) {
    Code code;
    for (;;) {
      code = reader.ReadToken(src);
      if (!reader.IsIgnored(code)) {
        if (!line_ended) ++fresh.rest_of_line;
        break;
      }
      if (code == kEndOfSource) break;
      if (code == kLineFeed) line_ended = true;
    }
    fresh.codes.push_back(code);
  }
  return fresh;
}

// Random bytes with what the look-ahead must step over: ignored symbols,
// line feeds, CR, notations, a 0x1A now and then, a lone high byte.
std::string RandomSource(std::mt19937& random, int units) {
  static const char* const kPieces[] = {
      "\xA4\x40", "\xA4\x41", "\xA4\x42", "\xA5\x40", "\xB0\x40", "A",
      "B",        ",",        " ",        "\n",       "\r\n",     "&x-4E00;",
      "&X-4e00;", "[A*B]",    "\x1A",     "\xA4"};
  std::string bytes;
  for (int i = 0; i < units; ++i) {
    const std::size_t pick = random() % 100;
    // Mostly characters, so that lines hold several.
    bytes += kPieces[pick < 60 ? pick % 6 : pick % 16];
  }
  return bytes;
}

// The byte offsets where compared characters begin, as a walk meets them.
std::vector<std::int64_t> ComparedStarts(TokenReader& reader,
                                         SourceStream& src) {
  std::vector<std::int64_t> starts;
  src.Seek(0);
  for (;;) {
    const std::int64_t at = src.Tell();
    const Code code = reader.ReadToken(src);
    if (code == kEndOfSource && (src.Eof() || src.Error())) break;
    if (!reader.IsIgnored(code)) starts.push_back(at);
  }
  return starts;
}

TEST(LookAheadTest, KeptSlotsAreWhatAFreshReadGives) {
  std::mt19937 random(29);
  for (int round = 0; round < 200; ++round) {
    NotationTable notations;
    SignSet signs;
    signs.LoadSignMemo(", ");
    TokenReader reader(notations, signs, round % 4 != 3);
    std::array<std::unique_ptr<SourceStream>, 2> streams = {
        SourceStream::FromBytes(RandomSource(random, 400)),
        SourceStream::FromBytes(RandomSource(random, 400))};
    // A second stream of each source for the fresh reads.
    std::array<std::unique_ptr<SourceStream>, 2> checks;
    std::array<std::vector<std::int64_t>, 2> starts;
    for (int k = 0; k < 2; ++k) {
      streams[k]->Seek(0);
      std::string bytes;
      for (int c = streams[k]->Getc(); c != SourceStream::kEnd;
           c = streams[k]->Getc()) {
        bytes += static_cast<char>(c);
      }
      checks[k] = SourceStream::FromBytes(bytes);
      starts[k] = ComparedStarts(reader, *checks[k]);
      if (starts[k].empty()) starts[k].push_back(0);
    }
    LookAheadSlots lookahead;
    std::array<std::size_t, 2> at{0, 0};
    for (int step = 0; step < 40; ++step) {
      for (int k = 0; k < 2; ++k) {
        // Mostly small steps, as between nearby differences; now and then
        // a jump beyond everything read.
        at[k] = std::min(
            starts[k].size() - 1,
            at[k] + (random() % 8 == 0 ? 100 + random() % 100 : random() % 12));
        lookahead.Start(k, starts[k][at[k]]);
      }
      const std::int64_t count = 1 + random() % 150;
      lookahead.ReadSlots(reader, {streams[0].get(), streams[1].get()}, 2,
                          count);
      for (int k = 0; k < 2; ++k) {
        const FreshSlots fresh =
            ReadFresh(reader, *checks[k], starts[k][at[k]], count);
        const std::string name = "round " + std::to_string(round) + " step " +
                                 std::to_string(step) + " source " +
                                 std::to_string(k);
        for (std::int64_t s = 0; s < count; ++s) {
          ASSERT_EQ(lookahead.CodeAt(k, s), fresh.codes[s])
              << name << " slot " << s;
        }
        const auto codes = lookahead.Codes(k, count);
        ASSERT_LE(codes.size(), static_cast<std::size_t>(count)) << name;
        for (std::size_t s = 0; s < codes.size(); ++s) {
          ASSERT_EQ(codes[s], fresh.codes[s]) << name << " slot " << s;
        }
        ASSERT_EQ(lookahead.RestOfLine(k, count), fresh.rest_of_line) << name;
        // The window ends at the first 0: the end, or a 0x1A.
        const auto window = lookahead.Window(k, count);
        const auto end =
            std::find(fresh.codes.begin(), fresh.codes.end(), kEndOfSource);
        ASSERT_EQ(window.size(),
                  static_cast<std::size_t>(end - fresh.codes.begin()))
            << name;
      }
    }
  }
}

// A Big5 character of its own for every index: lead bytes from A4 on,
// second bytes 40..7E and A1..FE.
std::string Char(int index) {
  constexpr int kPerLead = 63 + 94;
  const int lead = 0xA4 + index / kPerLead;
  const int within = index % kPerLead;
  const int second = within < 63 ? 0x40 + within : 0xA1 + (within - 63);
  return {static_cast<char>(lead), static_cast<char>(second)};
}

// `count` characters of their own from index `first` on.
std::string Chars(int first, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += Char(first + i);
  return text;
}

// A passage of `lines` lines of `width` characters, each ended by "\n".
std::vector<std::string> Passage(int first, int lines, int width) {
  std::vector<std::string> passage;
  for (int l = 0; l < lines; ++l)
    passage.push_back(Chars(first + l * width, width));
  return passage;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string Lines3(int a, int b, int c) {
  char text[48];
  std::snprintf(text, sizeof text, "%6d, %6d, %6d, ", a, b, c);
  return text;
}

class GrowingRunTest : public ::testing::Test {
 protected:
  ProcessResult Run(const std::vector<std::string>& sources,
                    std::vector<std::string> options) {
    std::vector<std::string> args = std::move(options);
    // Names built up piece by piece: GCC 12 warns falsely on "s" +
    // to_string().
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
    args.insert(args.end(), {"--diff", "d"});
    return RunProcess(CliPath(), args, dir_.path());
  }
  std::string Out(const std::string& name) { return ReadFile(dir_ / name); }

  TempDir dir_;
};

// Two editions; the first holds a passage of `lines` lines of 30
// characters that the second lacks.
struct GapPair {
  std::string head = Chars(0, 20);
  std::string tail = Chars(20, 20);
  std::vector<std::string> gap;
  std::string first;
  std::string second;
  explicit GapPair(int lines) : gap(Passage(100, lines, 30)) {
    first = head + "\n" + Joined(gap) + tail + "\n";
    second = head + "\n" + tail + "\n";
  }
};

TEST_F(GrowingRunTest, BridgesAGapLineByLine) {
  struct Row {
    const char* name;
    int lines;
    std::string reached;
  };
  // 300 characters need a look-ahead of 400; 6,000 (sums of offsets far
  // beyond the 9999 bytes of a fixed look-ahead) one of 6400.
  for (const Row& row :
       {Row{"gap of 300", 10, "400"}, Row{"gap of 6000", 200, "6400"}}) {
    const GapPair pair(row.lines);
    const ProcessResult run =
        Run({pair.first, pair.second}, {"--window", "auto"});
    ASSERT_EQ(run.status, 1) << row.name << ": " << run.err;
    EXPECT_EQ(run.out, "differences: " + std::to_string(row.lines) +
                           "\nlook-ahead reached: " + row.reached +
                           " characters\n")
        << row.name;
    std::string r1 = pair.head;
    std::string r2 = pair.head + "\n";
    std::string d;
    for (int l = 0; l < row.lines; ++l) {
      r1 += "\n{{" + pair.gap[l] + "||}}";
      r2 += "{{||" + pair.gap[l] + "}}";
      d += Lines(l + 2, 2) + Pad(pair.gap[l]) + ", \r\n";
    }
    r1 += "\n" + pair.tail + "\n";
    r2 += pair.tail + "\n";
    d += OnDisk(file_texts::kEndLine);
    EXPECT_TRUE(Out("r1") == r1) << row.name;
    EXPECT_TRUE(Out("r2") == r2) << row.name;
    EXPECT_TRUE(Out("d") == d) << row.name;
  }
}

TEST_F(GrowingRunTest, AFixedLookAheadIsCutOffAtTheSameGap) {
  // Both look-aheads end inside the gap of 6,000 characters (a wider one
  // would reach the end of both editions, and the run would go on).
  for (const char* window : {"100", "5000"}) {
    const GapPair pair(200);
    const ProcessResult run =
        Run({pair.first, pair.second}, {"--window", window});
    EXPECT_EQ(run.status, 3) << window;
    EXPECT_EQ(run.err,
              std::string("tessel-cli: cut off: no common stretch within the "
                          "look-ahead of ") +
                  window + " characters; try --window auto\n");
  }
}

TEST_F(GrowingRunTest, ReachingMaxStillCutsOff) {
  const GapPair pair(10);
  const ProcessResult run =
      Run({pair.first, pair.second}, {"--window", "auto:200"});
  ASSERT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, "differences: 1\nlook-ahead reached: 200 characters\n");
  EXPECT_EQ(run.err,
            "tessel-cli: cut off: no common stretch within the look-ahead of "
            "200 characters, the largest allowed; try a larger MAX in "
            "--window auto:MAX (at most 16777216)\n");
  // The second edition's look-ahead met its end.
  std::string closing;
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
  const std::string block = pair.gap[0] + "||" + pair.tail;
  EXPECT_TRUE(Out("r1") == pair.head + "\n{{" + block + "}}\r\n\r\n" + closing);
  EXPECT_TRUE(Out("r2") == pair.head + "\n{{" + pair.tail + "||" + pair.gap[0] +
                               "}}\r\n\r\n" + closing);
  EXPECT_TRUE(Out("d") == Lines(2, 2) + Pad(pair.gap[0]) + ", " + pair.tail +
                              "\r\n\r\n\r\n" + closing);
}

TEST_F(GrowingRunTest, ThreeEditionsEachLackingAPassage) {
  const std::string t0 = Chars(0, 20), t1 = Chars(20, 20), t2 = Chars(40, 20),
                    t3 = Chars(60, 20);
  const auto a = Passage(100, 3, 50), b = Passage(300, 3, 50),
             c = Passage(500, 3, 50);
  const std::string s1 =
      t0 + "\n" + t1 + "\n" + Joined(b) + t2 + "\n" + Joined(c) + t3 + "\n";
  const std::string s2 =
      t0 + "\n" + Joined(a) + t1 + "\n" + t2 + "\n" + Joined(c) + t3 + "\n";
  const std::string s3 =
      t0 + "\n" + Joined(a) + t1 + "\n" + Joined(b) + t2 + "\n" + t3 + "\n";
  const ProcessResult run = Run({s1, s2, s3}, {"--window", "auto"});
  ASSERT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "differences: 9\nlook-ahead reached: 400 characters\n");

  std::string d, r1 = t0 + "\n";
  for (int l = 0; l < 3; ++l) {
    d += Lines3(2, 2 + l, 2 + l) + Pad("") + ", " + Pad(a[l]) + ", " + a[l] +
         "\r\n";
    r1 += "{{||" + a[l] + "||" + a[l] + "}}";
  }
  r1 += t1 + "\n";
  for (int l = 0; l < 3; ++l) {
    d += Lines3(3 + l, 6, 6 + l) + Pad(b[l]) + ", " + Pad("") + ", " + b[l] +
         "\r\n";
    r1 += "{{" + b[l] + "||||" + b[l] + "}}\n";
  }
  r1 += t2 + "\n";
  for (int l = 0; l < 3; ++l) {
    d += Lines3(7 + l, 7 + l, 10) + Pad(c[l]) + ", " + Pad(c[l]) + ", \r\n";
    r1 += "{{" + c[l] + "||" + c[l] + "||}}\n";
  }
  r1 += t3 + "\n";
  d += OnDisk(file_texts::kEndLine);
  EXPECT_TRUE(Out("d") == d) << BytesText(Out("d"));
  EXPECT_TRUE(Out("r1") == r1) << BytesText(Out("r1"));
}

// Editions without long gaps: every anchor lies within 100 characters, so
// the growing look-ahead gives exactly what a fixed one of 100 gives.
TEST_F(GrowingRunTest, WithoutLongGapsAutoIsWindow100) {
  for (const std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    std::mt19937 random(seed);
    std::string first, second;
    for (int i = 0; i < 4000; ++i) {
      const std::string c = Char(static_cast<int>(random() % 300));
      const std::uint32_t roll = random() % 200;
      first += c;
      if (roll == 0) {
        second += Char(static_cast<int>(random() % 300));  // another one
      } else if (roll == 1) {
        second += c + Char(static_cast<int>(random() % 300));  // one more
      } else if (roll != 2) {
        second += c;  // roll 2: missing from the second edition
      }
      if (random() % 30 == 0) first += "\n";
      if (random() % 25 == 0) second += "\r\n";
    }
    const ProcessResult fixed = Run({first, second}, {"--window", "100"});
    ASSERT_EQ(fixed.status, 1) << "seed " << seed << ": " << fixed.err;
    const std::string r1 = Out("r1"), r2 = Out("r2"), d = Out("d");
    const ProcessResult grown = Run({first, second}, {"--window", "auto"});
    EXPECT_EQ(grown.status, 1) << "seed " << seed;
    EXPECT_EQ(grown.out, fixed.out + "look-ahead reached: 100 characters\n")
        << "seed " << seed;
    EXPECT_TRUE(Out("r1") == r1 && Out("r2") == r2 && Out("d") == d)
        << "seed " << seed;
  }
}

}  // namespace
}  // namespace tessel::testing
