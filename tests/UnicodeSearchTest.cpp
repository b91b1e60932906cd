// The search of a Unicode run: its look-ahead kept between differences, the
// growing look-ahead, and variant tables, in sources of every encoding.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace tessel::testing
