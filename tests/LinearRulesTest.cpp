// The indexes that make the engine fast must give exactly what the plain
// linear rules give: the ignored-symbol table against a scan of the packed,
// zero-terminated set; the notation lookup against a case-insensitive scan
// in insertion order; the gram index and the anchor search against byte
// strings searched at even offsets. Random inputs, fixed seeds.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "GramIndex.h"
#include "NearestAnchor.h"
#include "NotationTable.h"
#include "Resync.h"
#include "SignSet.h"
#include "TestSupport.h"

namespace tessel::testing {
namespace {

// Whether `code` is in the packed, zero-terminated `set`: a match counts
// only at an even offset.
bool LinearIsIgnored(const std::string& set, Code code) {
  if (code <= kLastControl) return true;
  const char packed[3] = {static_cast<char>(code / 256),
                          static_cast<char>(code % 256), 0};
  const char* start = set.c_str();
  for (const char* at = std::strstr(start, packed); at != nullptr;
       at = std::strstr(at + 1, packed)) {
    if ((at - start) % 2 == 0) return true;
  }
  return false;
}

// The packed set that the memo rules build from `memo`.
std::string PackMemo(const std::string& memo) {
  std::string set;
  for (std::size_t i = 0; i < memo.size(); ++i) {
    const auto b = static_cast<unsigned char>(memo[i]);
    if (b < 0x80) {
      if (b != '\n' && b != '\r') set += {'\x01', static_cast<char>(b)};
    } else if (i + 1 < memo.size()) {
      set += {static_cast<char>(b), memo[++i]};
    }
  }
  return set;
}

TEST(LinearRulesTest, IgnoredSymbolTableMatchesTheScan) {
  std::mt19937 random(7);
  // Bytes that make straddles and zero bytes likely.
  const std::string alphabet =
      std::string("\x01\x41\xA4\x40\x5D\x20\x00\x80", 8);
  for (int round = 0; round < 300; ++round) {
    std::string memo;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i)
      memo += alphabet[random() % alphabet.size()];
    SignSet set;
    set.LoadSignMemo(memo);
    const std::string packed = PackMemo(memo);
    for (int hi = 1; hi < 256; ++hi) {
      for (const int lo : {0x01, 0x20, 0x40, 0x41, 0x5D, 0x80, 0xA4}) {
        const Code code = static_cast<Code>(hi * 256 + lo);
        ASSERT_EQ(set.IsIgnored(code), LinearIsIgnored(packed, code))
            << "memo " << BytesText(memo) << " code " << CodesText({code});
      }
    }
  }
}

// The first entry of `entries` that equals `text` without regard to the
// case of single-byte letters, or -1.
int LinearLookup(const std::vector<std::string>& entries,
                 const std::string& text) {
  for (std::size_t e = 0; e < entries.size(); ++e) {
    const std::string& entry = entries[e];
    if (entry.size() != text.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < text.size() && same; ++i) {
      const auto a = static_cast<unsigned char>(entry[i]);
      const auto b = static_cast<unsigned char>(text[i]);
      if (a >= 0x81 && a <= 0xFE) {
        same = a == b && i + 1 < text.size() && entry[i + 1] == text[i + 1];
        ++i;
      } else {
        same = std::tolower(a) == std::tolower(b) && (a < 0x80) == (b < 0x80);
      }
    }
    if (same) return static_cast<int>(e);
  }
  return -1;
}

TEST(LinearRulesTest, NotationLookupMatchesTheScan) {
  std::mt19937 random(11);
  const std::string alphabet = "aAbB\xA4\xC1\xE1-1";
  NotationTable table;
  std::vector<std::string> entries;
  for (int round = 0; round < 3000; ++round) {
    std::string text = "[";
    const int length = static_cast<int>(random() % 4);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    text += "]";
    const int expected = LinearLookup(entries, text);
    const Code code = table.InternNotation(text);
    if (expected < 0) {
      entries.push_back(text);
      ASSERT_EQ(code, NotationTable::CodeOfIndex(entries.size() - 1))
          << BytesText(text);
    } else {
      ASSERT_EQ(code,
                NotationTable::CodeOfIndex(static_cast<std::size_t>(expected)))
          << BytesText(text);
    }
    ASSERT_EQ(table.TokenLength(code), text.size()) << BytesText(text);
  }
}

std::vector<std::uint16_t> RandomWindow(std::mt19937& random, int alphabet,
                                        int max_length) {
  std::vector<std::uint16_t> window(random() % (max_length + 1));
  for (auto& code : window) {
    code = static_cast<std::uint16_t>(0xA440 + random() % alphabet);
  }
  return window;
}

std::string Packed(std::span<const std::uint16_t> window) {
  std::string bytes;
  for (std::uint16_t code : window) {
    bytes += {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  }
  return bytes;
}

// The first even offset of `anchor` in `window`, both packed, or -1.
std::int32_t FindAtEvenOffset(const std::string& window,
                              const std::string& anchor) {
  for (std::size_t at = window.find(anchor); at != std::string::npos;
       at = window.find(anchor, at + 1)) {
    if (at % 2 == 0) return static_cast<std::int32_t>(at);
  }
  return -1;
}

TEST(LinearRulesTest, GramIndexFindsFirstOccurrences) {
  std::mt19937 random(3);
  GramIndex index;
  for (int round = 0; round < 400; ++round) {
    const auto text = RandomWindow(random, 1 + round % 5, 60);
    for (std::size_t length : {1u, 4u, 7u, 10u}) {
      index.Build(text, length);
      for (int probe = 0; probe < 20; ++probe) {
        auto gram = RandomWindow(random, 1 + round % 5, 0);
        gram.resize(length);
        for (auto& code : gram)
          code =
              static_cast<std::uint16_t>(0xA440 + random() % (1 + round % 5));
        const std::string packed_text = Packed(text);
        const std::int32_t expected =
            FindAtEvenOffset(packed_text, Packed(gram));
        ASSERT_EQ(index.FindFirst(gram), expected < 0 ? -1 : expected / 2)
            << CodesText({text.begin(), text.end()});
      }
    }
  }
}

// The anchor search on packed, zero-terminated byte strings, step by step.
AnchorMatch LinearSearchAnchor(std::vector<std::string> windows,
                               const AnchorRules& rules = kFixedRules) {
  const int n = static_cast<int>(windows.size());
  AnchorMatch match;
  match.best = rules.bound;
  for (int k = 0; k < n; ++k) {
    match.offsets[k] = static_cast<std::int32_t>(windows[k].size());
  }
  bool found = false;
  for (int length = 10; length > 0; length -= 3) {
    if (length < 10 && rules.short_after_longest && match.best >= rules.bound)
      break;
    if (length == 1) {
      for (auto& window : windows) {
        window.resize(std::min<std::size_t>(
            window.size(), 2 * static_cast<std::size_t>(rules.single_reach)));
      }
    }
    if (!(length == 1 && !found)) {
      for (std::int32_t i = 0;; i += 2) {
        if (windows[0].size() < static_cast<std::size_t>(i + 2 * length)) break;
        const std::string anchor = windows[0].substr(i, 2 * length);
        std::array<std::int32_t, 3> at{i, 0, 0};
        bool everywhere = true;
        std::int32_t sum = i;
        for (int k = 1; k < n && everywhere; ++k) {
          at[k] = FindAtEvenOffset(windows[k], anchor);
          everywhere = at[k] >= 0;
          sum += at[k];
        }
        if (everywhere) {
          if (sum < match.best) {
            match.best = sum;
            match.offsets = at;
          }
          found = true;
        }
        if (i + 2 > match.best) break;
      }
    }
    for (int k = 0; k < n; ++k) {
      windows[k].resize(
          std::min<std::size_t>(windows[k].size(), match.offsets[k]));
    }
  }
  return match;
}

// Random windows for the anchor search: two or three, over a small
// alphabet, now and then long, and with a shared run planted at a random
// place in every window but the first, so that long anchors occur.
struct RandomWindows {
  std::vector<std::vector<std::uint16_t>> storage;
  std::vector<std::string> packed;
  std::array<std::span<const std::uint16_t>, kMaxSources> windows;
  int n = 0;
};

RandomWindows MakeRandomWindows(std::mt19937& random, int round,
                                int long_length) {
  RandomWindows w;
  w.n = 2 + round % 2;
  const int alphabet = 2 + round % 6;
  const int max_length = round % 10 == 0 ? long_length : 40;
  for (int k = 0; k < w.n; ++k) {
    w.storage.push_back(RandomWindow(random, alphabet, max_length));
  }
  if (round % 3 == 0 && !w.storage[0].empty()) {
    const std::size_t from = random() % w.storage[0].size();
    const auto run = std::vector<std::uint16_t>(
        w.storage[0].begin() + static_cast<std::ptrdiff_t>(from),
        w.storage[0].end());
    for (int k = 1; k < w.n; ++k) {
      w.storage[k].insert(
          w.storage[k].begin() +
              static_cast<std::ptrdiff_t>(random() % (w.storage[k].size() + 1)),
          run.begin(), run.end());
    }
  }
  for (int k = 0; k < w.n; ++k) {
    w.windows[k] = w.storage[k];
    w.packed.push_back(Packed(w.storage[k]));
  }
  return w;
}

// Windows whose shared stretch lies far out: unrelated text in each (from
// alphabets that do not meet, so nothing before it matches), then a run
// they all hold, then more text; the distances spread over the reaches.
RandomWindows MakeFarWindows(std::mt19937& random, int round) {
  RandomWindows w;
  w.n = 2 + round % 2;
  const int far = static_cast<int>(random() % 1500);
  std::vector<std::uint16_t> shared = RandomWindow(random, 4, 30);
  shared.resize(std::max<std::size_t>(shared.size(), 4 + random() % 20));
  for (auto& code : shared)
    code = static_cast<std::uint16_t>(0xB000 + random() % 4);
  for (int k = 0; k < w.n; ++k) {
    std::vector<std::uint16_t> window;
    const int before = k == 0 ? far : static_cast<int>(random() % (far + 1));
    for (int i = 0; i < before; ++i) {
      // Mostly each window's own characters; now and then one of the
      // shared alphabet, which makes short and single-character anchors.
      window.push_back(static_cast<std::uint16_t>(
          random() % 50 == 0 ? 0xB000 + random() % 4
                             : 0xA440 + 0x100 * k + random() % 3));
    }
    window.insert(window.end(), shared.begin(), shared.end());
    const int after = static_cast<int>(random() % 200);
    for (int i = 0; i < after; ++i) {
      window.push_back(static_cast<std::uint16_t>(0xB000 + random() % 6));
    }
    w.storage.push_back(window);
  }
  for (int k = 0; k < w.n; ++k) {
    w.windows[k] = w.storage[k];
    w.packed.push_back(Packed(w.storage[k]));
  }
  return w;
}

void ExpectSameMatch(const AnchorMatch& fast, const AnchorMatch& slow, int n,
                     const std::string& name) {
  ASSERT_EQ(fast.best, slow.best) << name;
  for (int k = 0; k < n; ++k) {
    ASSERT_EQ(fast.offsets[k], slow.offsets[k]) << name << " window " << k;
  }
}

struct RulesRow {
  const char* name;
  AnchorRules rules;
};
const RulesRow kRulesRows[] = {
    {"fixed look-ahead", kFixedRules},
    {"growing look-ahead", kAutoRules},
    // A small bound and a short reach make both limits bite often.
    {"bound 60, reach 5", AnchorRules{60, 5, false}},
};

TEST(LinearRulesTest, AnchorSearchUnderEveryRulesMatchesTheByteStrings) {
  for (const RulesRow& row : kRulesRows) {
    std::mt19937 random(17);
    for (int round = 0; round < 1500; ++round) {
      const RandomWindows w = round % 2 == 0
                                  ? MakeRandomWindows(random, round, 400)
                                  : MakeFarWindows(random, round);
      ExpectSameMatch(
          SearchAnchor(w.windows, w.n, row.rules),
          LinearSearchAnchor(w.packed, row.rules), w.n,
          std::string(row.name) + " round " + std::to_string(round));
    }
  }
}

// The search that widens its reach step by step must give what the plain
// rules give over the whole windows, whatever the distance of the anchor.
TEST(LinearRulesTest, NearestAnchorSearchMatchesTheByteStrings) {
  for (const RulesRow& row : kRulesRows) {
    std::mt19937 random(23);
    for (int round = 0; round < 1500; ++round) {
      const RandomWindows w = round % 2 == 0
                                  ? MakeRandomWindows(random, round, 2000)
                                  : MakeFarWindows(random, round);
      const std::string name =
          std::string(row.name) + " round " + std::to_string(round);
      const AnchorMatch slow = LinearSearchAnchor(w.packed, row.rules);
      ExpectSameMatch(SearchNearestAnchor(w.windows, w.n, row.rules), slow, w.n,
                      name);
      // Starting further out must not change the answer either.
      ExpectSameMatch(SearchNearestAnchor(w.windows, w.n, row.rules, 256), slow,
                      w.n, name + " from 256");
    }
  }
}

TEST(LinearRulesTest, AnchorSearchMatchesTheByteStringRules) {
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    const int n = 2 + round % 2;
    const int alphabet = 2 + round % 6;
    // Long windows now and then, so that the index takes over.
    const int max_length = round % 10 == 0 ? 400 : 40;
    std::vector<std::vector<std::uint16_t>> storage;
    std::vector<std::string> packed;
    std::array<std::span<const std::uint16_t>, kMaxSources> windows;
    for (int k = 0; k < n; ++k) {
      storage.push_back(RandomWindow(random, alphabet, max_length));
    }
    // Plant a shared run so that long anchors occur.
    if (round % 3 == 0 && !storage[0].empty()) {
      const std::size_t from = random() % storage[0].size();
      const auto run = std::vector<std::uint16_t>(
          storage[0].begin() + static_cast<std::ptrdiff_t>(from),
          storage[0].end());
      for (int k = 1; k < n; ++k) {
        storage[k].insert(
            storage[k].begin() +
                static_cast<std::ptrdiff_t>(random() % (storage[k].size() + 1)),
            run.begin(), run.end());
      }
    }
    for (int k = 0; k < n; ++k) {
      windows[k] = storage[k];
      packed.push_back(Packed(storage[k]));
    }
    const AnchorMatch fast = SearchAnchor(windows, n);
    const AnchorMatch slow = LinearSearchAnchor(packed);
    ASSERT_EQ(fast.best, slow.best) << "round " << round;
    for (int k = 0; k < n; ++k) {
      ASSERT_EQ(fast.offsets[k], slow.offsets[k]) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace tessel::testing
