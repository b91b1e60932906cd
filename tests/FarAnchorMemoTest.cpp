// The memo that carries an anchor found far out from one search to the
// next through a long gap: what it answers, and that the tries of the
// growing look-ahead give with it exactly what they give without it.

#include "FarAnchorMemo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "GrowingSearch.h"

namespace tessel::testing {
namespace {

using Text = std::vector<std::uint16_t>;

// `count` characters that occur nowhere else: a passage of its own.
Text Unique(std::uint16_t* next, int count) {
  Text text;
  for (int i = 0; i < count; ++i) text.push_back((*next)++);
  return text;
}

Text Slice(const Text& text, std::size_t from, std::size_t count) {
  return Text(text.begin() + static_cast<std::ptrdiff_t>(from),
              text.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Text Joined(std::initializer_list<Text> parts) {
  Text text;
  for (const Text& part : parts)
    text.insert(text.end(), part.begin(), part.end());
  return text;
}

// In-memory editions searched from given slots on, as a run's kept
// look-ahead would give them.
struct Editions {
  std::vector<Text> texts;
  std::array<std::int64_t, kMaxSources> starts{};
  std::uint64_t generation = 1;

  int n() const { return static_cast<int>(texts.size()); }
  SlotFrame Frame() const {
    SlotFrame frame;
    for (int k = 0; k < n(); ++k) {
      frame.first[k] = starts[k];
      frame.generation[k] = generation;
    }
    return frame;
  }
  std::array<std::span<const std::uint16_t>, kMaxSources> Windows(
      std::int64_t size) const {
    std::array<std::span<const std::uint16_t>, kMaxSources> windows;
    for (int k = 0; k < n(); ++k) {
      const std::span<const std::uint16_t> rest =
          std::span<const std::uint16_t>(texts[k]).subspan(
              static_cast<std::size_t>(starts[k]));
      windows[k] = rest.first(
          std::min<std::size_t>(rest.size(), static_cast<std::size_t>(size)));
    }
    return windows;
  }
  SlotCounts Sizes(std::int64_t size) const {
    SlotCounts sizes{};
    const auto windows = Windows(size);
    for (int k = 0; k < n(); ++k) {
      sizes[k] = static_cast<std::int64_t>(windows[k].size());
    }
    return sizes;
  }
  LookAheadTry Try(std::int32_t max_window, FarAnchorMemo* memo) const {
    return TryLookAheads(
        [this](std::int32_t window) { return Windows(window); }, n(), true, 0,
        max_window, Frame(), memo);
  }
};

TEST(FarAnchorMemoTest, AnswersOnlyWhatTheRecordDecides) {
  std::uint16_t next = 0xA440;
  const Text passage = Unique(&next, 600), tail = Unique(&next, 200);
  const Text near_passage = Unique(&next, 380), few = Unique(&next, 15),
             long_tail = Unique(&next, 2000);
  // Two editions that differ for 300 characters each; the first also
  // holds, at 50, the 10 characters the second holds at 395 (just beyond a
  // look-ahead of 400) and, at 450, those it holds at 100.
  const Text first_own = Unique(&next, 300), second_own = Unique(&next, 300);
  const Text twice_first =
      Joined({Slice(first_own, 0, 50), Slice(long_tail, 95, 10),
              Slice(first_own, 60, 240), long_tail});
  const Text twice_second = Joined({second_own, long_tail});
  const Text inside_first =
      Joined({first_own, Slice(long_tail, 0, 150), Slice(second_own, 100, 10),
              Slice(long_tail, 160, 1000)});
  // Two runs tied at a sum of 30: ab at 10 and 20, ba at 10 and 20.
  const Text a = Unique(&next, 10), b = Unique(&next, 10);
  const Text tied_first = Joined({Unique(&next, 10), a, b, long_tail});
  const Text tied_second = Joined({Unique(&next, 10), b, a, long_tail});
  using Verdict = FarAnchorMemo::Verdict;
  // Recorded from the start of each edition over 1,600 characters, and
  // judged at `judged_at` over `size`, unless a row says otherwise.
  struct Row {
    const char* name;
    std::vector<Text> texts;
    std::array<std::int64_t, kMaxSources> judged_at;
    Verdict verdict;
    std::array<std::int32_t, kMaxSources> offsets{};  // on kLongest
    std::int64_t size = 1600;
    std::int64_t recorded_size = 1600;
    std::array<std::int64_t, kMaxSources> recorded_at{};
    bool afresh = false;  // the slots were read afresh since
  };
  const Text gap_first = Joined({passage, tail});
  const Row rows[] = {
      {.name = "the next line of a passage the second edition lacks",
       .texts = {gap_first, tail},
       .judged_at = {30, 0, 0},
       .verdict = Verdict::kLongest,
       .offsets = {2 * 570, 0, 0}},
      {.name = "the next line of a passage the first edition lacks",
       .texts = {tail, gap_first},
       .judged_at = {0, 30, 0},
       .verdict = Verdict::kLongest,
       .offsets = {0, 2 * 570, 0}},
      {.name = "a look-ahead too short to hold the anchor",
       .texts = {gap_first, tail},
       .judged_at = {30, 0, 0},
       .verdict = Verdict::kNoAnchor,
       .size = 400},
      {.name = "a look-ahead too short for any sum that large",
       .texts = {gap_first, tail},
       .judged_at = {30, 0, 0},
       .verdict = Verdict::kNoAnchor,
       .size = 100},
      {.name = "the walk went past the anchor in one edition",
       .texts = {gap_first, tail},
       .judged_at = {30, 5, 0},
       .verdict = Verdict::kUnknown},
      {.name = "the slots were read afresh",
       .texts = {gap_first, tail},
       .judged_at = {30, 0, 0},
       .verdict = Verdict::kUnknown,
       .afresh = true},
      {.name = "a search that starts before the recorded one",
       .texts = {gap_first, tail},
       .judged_at = {20, 0, 0},
       .verdict = Verdict::kUnknown,
       .recorded_at = {30, 0, 0}},
      // Recorded over 400 characters: a run that the second edition holds
      // only beyond them could still give a sum of 391 to 395.
      {.name = "a nearer anchor may lie beyond the recorded window",
       .texts = {Joined({near_passage, long_tail}), Joined({few, long_tail})},
       .judged_at = {0, 0, 0},
       .verdict = Verdict::kUnknown,
       .recorded_size = 400},
      // Recorded over 400 characters, where the first edition ends: a run
      // the second holds beyond them gives a sum of 445, below the 600 of
      // the anchor taken there.
      {.name =
           "a nearer anchor beyond the recorded window of the second edition",
       .texts = {Slice(twice_first, 0, 400), twice_second},
       .judged_at = {0, 0, 0},
       .verdict = Verdict::kUnknown,
       .recorded_size = 400},
      // The second edition ends at 400; the first holds at 450 a run that
      // the second holds at 100: a sum of 550 against 600.
      {.name = "a nearer anchor beyond the runs tried in the first edition",
       .texts = {inside_first, Slice(twice_second, 0, 400)},
       .judged_at = {0, 0, 0},
       .verdict = Verdict::kUnknown,
       .recorded_size = 400},
      {.name = "a tie goes to the run tried first",
       .texts = {tied_first, tied_second},
       .judged_at = {5, 0, 0},
       .verdict = Verdict::kLongest,
       .offsets = {2 * 5, 2 * 20, 0},
       .size = 400,
       .recorded_size = 400},
      {.name = "three editions, one lacking the passage",
       .texts = {gap_first, tail, gap_first},
       .judged_at = {40, 0, 40},
       .verdict = Verdict::kLongest,
       .offsets = {2 * 560, 0, 2 * 560}},
  };
  for (const Row& row : rows) {
    Editions recorded{row.texts, row.recorded_at};
    FarAnchorMemo memo;
    const SlotCounts sizes = recorded.Sizes(row.recorded_size);
    LongestSweepRecord record;
    const std::array<std::span<const std::uint16_t>, kMaxSources> windows =
        recorded.Windows(row.recorded_size);
    ASSERT_TRUE(SearchAnchorRecording(windows, recorded.n(), kAutoRules, record)
                    .found())
        << row.name;
    memo.Keep(recorded.Frame(), sizes, recorded.n(), std::move(record));

    Editions judged{row.texts, row.judged_at, row.afresh ? 2u : 1u};
    AnchorMatch longest;
    EXPECT_EQ(
        memo.Judge(judged.Frame(), judged.Sizes(row.size), judged.n(), longest),
        row.verdict)
        << row.name;
    if (row.verdict == Verdict::kLongest) {
      // What the memo says must be what the sweep itself finds.
      const AnchorMatch plain =
          SearchAnchor(judged.Windows(row.size), judged.n(), kAutoRules);
      EXPECT_EQ(longest.longest_best, plain.longest_best) << row.name;
      for (int k = 0; k < judged.n(); ++k) {
        EXPECT_EQ(longest.offsets[k], row.offsets[k])
            << row.name << " window " << k;
      }
    }
  }
}

// Editions of one random text, each lacking some of its passages (of 50
// to 3,000 characters, at random places), with a changed character now
// and then. The text is random characters from `alphabet` or, with
// `phrases`, made of that many recurring phrases, which make far anchors
// recur and tie as in real editions.
std::vector<Text> GapEditions(std::mt19937& random, int n, int alphabet,
                              int phrases) {
  const std::size_t length = 2000 + random() % 7000;
  std::vector<Text> vocabulary(static_cast<std::size_t>(phrases));
  for (Text& phrase : vocabulary) {
    phrase.resize(3 + random() % 14);
    for (auto& code : phrase) {
      code = static_cast<std::uint16_t>(0xA440 + random() % alphabet);
    }
  }
  Text base;
  while (base.size() < length) {
    if (phrases == 0) {
      base.push_back(static_cast<std::uint16_t>(0xA440 + random() % alphabet));
    } else {
      const Text& phrase = vocabulary[random() % vocabulary.size()];
      base.insert(base.end(), phrase.begin(), phrase.end());
    }
  }
  // Which edition lacks each character (n: none), and what an edition
  // holds instead of a passage it lacks, if anything.
  std::vector<int> lacking(base.size(), n);
  std::vector<Text> instead(base.size());
  const int passages = 1 + static_cast<int>(random() % 4);
  for (int p = 0; p < passages; ++p) {
    const std::size_t from = random() % base.size();
    const std::size_t size = 50 + random() % 3000;
    const int edition = static_cast<int>(random() % n);
    for (std::size_t i = from; i < std::min(base.size(), from + size); ++i) {
      lacking[i] = edition;
    }
    if (random() % 3 == 0) {
      // Another passage in its place: both editions differ far.
      const std::size_t other = random() % base.size();
      instead[from].assign(
          base.begin() + static_cast<std::ptrdiff_t>(other),
          base.begin() + static_cast<std::ptrdiff_t>(
                             std::min(base.size(), other + random() % 2000)));
    }
  }
  std::vector<Text> texts(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < base.size(); ++i) {
    for (int k = 0; k < n; ++k) {
      if (lacking[i] == k) {
        texts[k].insert(texts[k].end(), instead[i].begin(), instead[i].end());
        continue;
      }
      texts[k].push_back(random() % 300 == 0 ? std::uint16_t{0xB040} : base[i]);
    }
  }
  return texts;
}

// Searches as a run does while it walks through the editions: after each
// search every edition moves on by its stretch, capped at a line of random
// length, and now and then by a few characters more (characters that
// agreed by chance, which may pass the anchor) or back (a new run over the
// same slots). With and without the memo every try must give the same.
TEST(FarAnchorMemoTest, TriesGiveWhatTheyGiveWithoutIt) {
  std::mt19937 random(41);
  const std::int32_t kMaxWindows[] = {400, 1600, 6400, kDefaultAutoMaxWindow};
  std::int64_t answered = 0, far = 0;
  for (int round = 0; round < 160; ++round) {
    const int n = round % 3 == 2 ? 3 : 2;
    // Chance anchors, recurring phrases, or clean gaps.
    const int kAlphabets[] = {3, 12, 4000};
    const int kPhrases[] = {0, 20, 200};
    const int alphabet = kAlphabets[random() % 3];
    const int phrases = kPhrases[random() % 3];
    Editions editions{GapEditions(random, n, alphabet, phrases)};
    const std::int32_t max_window = kMaxWindows[random() % 4];
    FarAnchorMemo memo;
    for (int step = 0; step < 400; ++step) {
      const std::string name =
          "round " + std::to_string(round) + " step " + std::to_string(step);
      const LookAheadTry plain = editions.Try(max_window, nullptr);
      const LookAheadTry fast = editions.Try(max_window, &memo);
      ASSERT_EQ(fast.window, plain.window) << name;
      ASSERT_EQ(fast.match.found(), plain.match.found()) << name;
      far += plain.window > kAutoFirstWindow;
      if (!plain.match.found()) break;
      ASSERT_EQ(fast.match.best, plain.match.best) << name;
      ASSERT_EQ(fast.match.longest_best, plain.match.longest_best) << name;
      for (int k = 0; k < n; ++k) {
        ASSERT_EQ(fast.match.offsets[k], plain.match.offsets[k])
            << name << " window " << k;
      }
      bool ended = false;
      const std::uint32_t twist = random() % 20;
      for (int k = 0; k < n; ++k) {
        std::int64_t step_by = std::min<std::int64_t>(
            plain.match.offsets[k] / 2, 1 + random() % 60);
        if (twist == 0 && k == 0) step_by += random() % 20;
        if (twist == 1 && k == n - 1) step_by -= random() % 30;
        editions.starts[k] = std::clamp<std::int64_t>(
            editions.starts[k] + step_by + (twist == 2 ? 1 : 0), 0,
            static_cast<std::int64_t>(editions.texts[k].size()));
        ended |= editions.starts[k] ==
                 static_cast<std::int64_t>(editions.texts[k].size());
      }
      if (ended) break;
    }
    answered += memo.Answered();
  }
  // The memo must have answered most far searches, or the test proves
  // little about it.
  EXPECT_GT(answered, far / 2) << far << " far searches";
}

// A Unicode run searches 32-bit keys with the same tries and the same memo.
// Its keys here are the 16-bit codes spread over the planes above U+FFFF,
// with eight codes to each low half, so that keys cut to 16 bits would
// meet where the codes do not: walked as above (without the twists), the
// wide tries with the memo must give what the narrow ones give without it.
TEST(FarAnchorMemoTest, WideKeysTryAsTheirNarrowCodes) {
  using WideText = std::vector<std::uint32_t>;
  constexpr std::uint32_t kPlane = 0x10000;
  constexpr std::uint32_t kPlanes = 8;
  std::mt19937 random(43);
  std::int64_t answered = 0, far = 0;
  for (int round = 0; round < 40; ++round) {
    const int n = round % 2 == 0 ? 2 : 3;
    Editions editions{GapEditions(random, n, 4000, round % 3 == 0 ? 20 : 0)};
    std::vector<WideText> wide;
    for (const Text& text : editions.texts) {
      WideText keys;
      for (const std::uint16_t code : text) {
        keys.push_back(kPlane * (1 + code % kPlanes) + code / kPlanes);
      }
      wide.push_back(std::move(keys));
    }
    const auto wide_windows = [&](std::int32_t size) {
      std::array<std::span<const std::uint32_t>, kMaxSources> windows;
      for (int k = 0; k < n; ++k) {
        const std::span<const std::uint32_t> rest =
            std::span<const std::uint32_t>(wide[k]).subspan(
                static_cast<std::size_t>(editions.starts[k]));
        windows[k] = rest.first(
            std::min<std::size_t>(rest.size(), static_cast<std::size_t>(size)));
      }
      return windows;
    };
    FarAnchorMemo memo;
    for (int step = 0; step < 300; ++step) {
      const std::string name =
          "round " + std::to_string(round) + " step " + std::to_string(step);
      const LookAheadTry plain = editions.Try(kDefaultAutoMaxWindow, nullptr);
      const LookAheadTry fast =
          TryLookAheads(wide_windows, n, true, 0, kDefaultAutoMaxWindow,
                        editions.Frame(), &memo);
      ASSERT_EQ(fast.window, plain.window) << name;
      ASSERT_EQ(fast.match.found(), plain.match.found()) << name;
      far += plain.window > kAutoFirstWindow;
      if (!plain.match.found()) break;
      ASSERT_EQ(fast.match.best, plain.match.best) << name;
      // Where the editions agree, all walk on alike to the next place.
      bool agree = true;
      for (int k = 0; k < n; ++k) agree &= plain.match.offsets[k] == 0;
      const std::int64_t agreeing = 1 + random() % 200;
      bool ended = false;
      for (int k = 0; k < n; ++k) {
        ASSERT_EQ(fast.match.offsets[k], plain.match.offsets[k])
            << name << " window " << k;
        editions.starts[k] +=
            agree ? agreeing
                  : std::min<std::int64_t>(plain.match.offsets[k] / 2,
                                           1 + random() % 60);
        ended |= editions.starts[k] >=
                 static_cast<std::int64_t>(editions.texts[k].size());
      }
      if (ended) break;
    }
    answered += memo.Answered();
  }
  EXPECT_GT(answered, far / 2) << far << " far searches";
}

}  // namespace
}  // namespace tessel::testing
