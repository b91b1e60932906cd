// tessel-editions: writes a set of two or three Big5 editions of one
// made-up text, and the ignored-symbol file that goes with them, for the
// benchmark and the exactness check.
//
// The same seed gives the same bytes on every machine: the generator uses
// its own random number generator and integer arithmetic only, never the
// standard library's distributions, whose results are left to each library.
//
// The text is a stream of units: common characters (the 5,401 frequent
// characters of Big5, A440..C67E, drawn with a Zipf-like law so that a few
// recur often, as in real text) and, about once in 2,000 units, a notation
// for a character that Big5 lacks ("&x-4E0A;" or "[A*B]"). Each edition
// writes that stream with
//   - its own line breaks, after every 15 to 40 units, and its own line end
//     (edition 1 CR LF, the others LF);
//   - its own punctuation and spaces, which the others lack and which the
//     ignored-symbol file lists;
//   - variants, about once in 500 units: another character, a notation for
//     the character, one to three units inserted, or one to three units
//     missing. A variant touches one edition (with three editions, one in
//     four touches two of them alike);
//   - now and then a notation spelled with small hex digits, which folds to
//     the same character as the capital spelling.
// With --gap N, long gaps as well: every --gap-every units a passage of N
// units is missing from one edition (each edition in turn), moved further
// on in the second edition, or written twice in the second edition; the
// kinds take turns.
// The text is streamed to the files, so memory stays constant but for the
// passage a move or a doubling holds.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

// xoshiro256**, seeded through splitmix64: fast, and defined bit for bit, so a
// seed means the same text everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) {
    for (auto& word : state_) {
      seed += 0x9E3779B97F4A7C15ULL;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      word = z ^ (z >> 31);
    }
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
  }

  // A value in 0..bound-1 (bound >= 1, below 2^32). The bias of the
  // multiply-shift is far below anything a benchmark could notice.
  std::uint32_t Below(std::uint32_t bound) {
    return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
  }

  // True once in `n` calls on average; never when n is 0.
  bool OneIn(std::uint32_t n) { return n != 0 && Below(n) == 0; }

  // A value in lo..hi.
  int Between(int lo, int hi) {
    return lo +
           static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
  }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
  }
  std::array<std::uint64_t, 4> state_{};
};

// Draws ranks 0..n-1 with weight 1 / (rank + 3): the shape of word counts
// in running text, flattened at the top so that no single character takes
// more than a few percent.
class ZipfTable {
 public:
  explicit ZipfTable(std::size_t n) : cumulative_(n) {
    std::uint32_t total = 0;
    for (std::size_t r = 0; r < n; ++r) {
      total += static_cast<std::uint32_t>((1u << 28) / (r + 3));
      cumulative_[r] = total;
    }
  }

  std::size_t Draw(Random& random) const {
    const std::uint32_t x = random.Below(cumulative_.back());
    return static_cast<std::size_t>(
        std::upper_bound(cumulative_.begin(), cumulative_.end(), x) -
        cumulative_.begin());
  }

 private:
  std::vector<std::uint32_t> cumulative_;
};

// Buffered writing to one or more files at once (more than one for
// identical editions).
class Writer {
 public:
  Writer() { buffer_.reserve(kBufferSize); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;
  ~Writer() { Close(); }

  bool Open(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) return false;
    files_.push_back(file);
    return true;
  }

  void Put(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kBufferSize) Flush();
  }
  void Write(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kBufferSize) Flush();
  }

  std::uint64_t bytes() const { return flushed_ + buffer_.size(); }

  // Returns false when any write failed (a full disk, for instance).
  bool Close() {
    Flush();
    for (std::FILE* file : files_) ok_ = (std::fclose(file) == 0) && ok_;
    files_.clear();
    return ok_;
  }

 private:
  static constexpr std::size_t kBufferSize = 1 << 20;

  void Flush() {
    for (std::FILE* file : files_) {
      ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file) ==
                buffer_.size() &&
            ok_;
    }
    flushed_ += buffer_.size();
    buffer_.clear();
  }

  std::vector<std::FILE*> files_;
  std::string buffer_;
  std::uint64_t flushed_ = 0;
  bool ok_ = true;
};

// The symbols the editions add; every one of them is in the ignored-symbol
// file. Full-width ones are Big5 byte pairs.
constexpr std::string_view kComma = "\xA1\x41";           // ，
constexpr std::string_view kEnumComma = "\xA1\x42";       // 、
constexpr std::string_view kFullStop = "\xA1\x43";        // 。
constexpr std::string_view kSemicolon = "\xA1\x46";       // ；
constexpr std::string_view kColon = "\xA1\x47";           // ：
constexpr std::string_view kQuestion = "\xA1\x48";        // ？
constexpr std::string_view kExclamation = "\xA1\x49";     // ！
constexpr std::string_view kOpenQuote = "\xA1\x75";       // 「
constexpr std::string_view kCloseQuote = "\xA1\x76";      // 」
constexpr std::string_view kOpenInner = "\xA1\x79";       // 『
constexpr std::string_view kCloseInner = "\xA1\x7A";      // 』
constexpr std::string_view kFullWidthSpace = "\xA1\x40";  // full-width space
constexpr std::string_view kSpace = " ";

// The ignored-symbol file: three lines, CR LF, as the corpus writes it.
std::string SignFileText() {
  std::string text;
  for (auto s : {kComma, kFullStop, kEnumComma, kSemicolon, kColon, kQuestion,
                 kExclamation}) {
    text += s;
  }
  text += "\r\n";
  for (auto s : {kOpenQuote, kCloseQuote, kOpenInner, kCloseInner}) text += s;
  text += "\r\n";
  text += kFullWidthSpace;
  text += kSpace;
  text += "\r\n";
  return text;
}

// What each edition adds, and how often: the first is punctuated, the
// second mostly spaced, the third sparsely punctuated with quotes.
struct SymbolStyle {
  std::uint32_t one_in;
  std::vector<std::string_view> choices;  // repeated entries weigh more
};

const std::array<SymbolStyle, 3>& SymbolStyles() {
  static const std::array<SymbolStyle, 3> styles = {{
      {8,
       {kComma, kComma, kComma, kComma, kFullStop, kFullStop, kFullStop,
        kEnumComma, kSemicolon, kColon, kQuestion, kExclamation, kOpenQuote,
        kCloseQuote}},
      {20,
       {kFullWidthSpace, kFullWidthSpace, kFullWidthSpace, kSpace, kFullStop}},
      {12, {kComma, kFullStop, kOpenInner, kCloseInner, kFullWidthSpace}},
  }};
  return styles;
}

// A unit of text: a Big5 character (its two bytes as a code below 65536)
// or a notation from one of the pools.
using Unit = std::uint32_t;
constexpr Unit kEntityBase = 0x10000;   // + index into the &x- pool
constexpr Unit kBracketBase = 0x20000;  // + index into the [..] pool

constexpr std::size_t kEntityPoolSize = 800;
constexpr std::size_t kBracketPoolSize = 200;

// The frequent characters of Big5: lead bytes A4..C6, second bytes 40..7E
// and A1..FE, C6 stopping at 7E. All 5,401 decode in code page 950.
std::vector<Unit> FrequentCharacters() {
  std::vector<Unit> codes;
  for (unsigned lead = 0xA4; lead <= 0xC6; ++lead) {
    for (unsigned second = 0x40; second <= 0xFE; ++second) {
      if (second > 0x7E && second < 0xA1) continue;
      if (lead == 0xC6 && second > 0x7E) break;
      codes.push_back(lead * 256 + second);
    }
  }
  return codes;
}

struct Options {
  std::filesystem::path out_dir;
  std::uint64_t size = 1000000;
  int editions = 2;
  std::uint64_t seed = 1;
  std::uint32_t variant_rate = 500;
  std::uint32_t notation_rate = 2000;
  bool identical = false;
  bool case_variants = true;
  // Long gaps: passages of gap_length units, one every gap_every units,
  // none when gap_length is 0. A moved passage comes back gap_length units
  // after it was taken out.
  std::uint64_t gap_length = 0;
  std::uint64_t gap_every = 300000;
};

// What a long gap does, in the order the kinds take turns.
enum class GapKind { kMissing, kMoved, kDoubled };

// One variant: what replaces or follows the base unit, in which editions.
struct Variant {
  enum class Kind { kSubstitute, kNotation, kInsert, kDelete };
  Kind kind = Kind::kSubstitute;
  Unit replacement = 0;
  std::vector<Unit> inserted;
  int deleted = 0;
  std::array<bool, 3> touches{};
};

class Generator {
 public:
  explicit Generator(const Options& options)
      : options_(options),
        text_random_(options.seed),
        characters_(FrequentCharacters()),
        character_law_(characters_.size()),
        entity_law_(kEntityPoolSize),
        bracket_law_(kBracketPoolSize) {
    // Which characters are frequent depends on the seed.
    for (std::size_t i = characters_.size() - 1; i > 0; --i) {
      std::swap(
          characters_[i],
          characters_[text_random_.Below(static_cast<std::uint32_t>(i + 1))]);
    }
    MakeNotationPools();
    for (int k = 0; k < 3; ++k) {
      editions_[k].random = std::make_unique<Random>(
          options.seed * 1000003 + static_cast<std::uint64_t>(k) + 1);
    }
  }

  bool Run() {
    const int count = options_.identical ? 1 : options_.editions;
    for (int k = 0; k < options_.editions; ++k) {
      // Built up piece by piece: GCC 12 warns falsely on "e" + to_string().
      std::string name = "e";
      name += std::to_string(k + 1);
      name += ".txt";
      const auto path = options_.out_dir / name;
      Writer& writer = editions_[options_.identical ? 0 : k].writer;
      if (!writer.Open(path)) return OpenFailed(path);
    }
    for (int k = 0; k < count; ++k) {
      editions_[k].line_end = k == 0 ? "\r\n" : "\n";
      editions_[k].style = &SymbolStyles()[static_cast<std::size_t>(k)];
      editions_[k].line_left = editions_[k].random->Between(15, 40);
    }

    while (editions_[0].writer.bytes() < options_.size) {
      if (options_.gap_length > 0 && !options_.identical && units_ > 0 &&
          units_ % options_.gap_every == 0) {
        StartGap();
      }
      const Unit base = DrawBaseUnit();
      if (!options_.identical && text_random_.OneIn(options_.variant_rate)) {
        ApplyVariant(MakeVariant(base));
      }
      for (int k = 0; k < count; ++k) {
        Edition& e = editions_[k];
        if (e.pending_delete > 0) {
          --e.pending_delete;
          continue;
        }
        EmitOrHold(e, e.pending_replacement.value_or(base));
        e.pending_replacement.reset();
        for (Unit u : e.pending_insert) EmitOrHold(e, u);
        e.pending_insert.clear();
        EndBaseUnit(e);
      }
    }

    bool ok = true;
    for (int k = 0; k < count; ++k) {
      Edition& e = editions_[k];
      if (e.line_used > 0) e.writer.Write(e.line_end);
      ok = e.writer.Close() && ok;
    }
    Writer signs;
    const auto sign_path = options_.out_dir / "signs.txt";
    if (!signs.Open(sign_path)) return OpenFailed(sign_path);
    signs.Write(SignFileText());
    ok = signs.Close() && ok;
    if (!ok) {
      std::fprintf(stderr, "tessel-editions: writing failed: %s\n",
                   std::strerror(errno));
      return false;
    }
    std::printf("units %" PRIu64 ", variants %" PRIu64 ", notations %" PRIu64
                ", gaps %" PRIu64 "\n",
                units_, variants_, notations_, gaps_);
    return true;
  }

 private:
  struct Edition {
    Writer writer;
    std::unique_ptr<Random> random;
    const char* line_end = "\n";
    const SymbolStyle* style = nullptr;
    int line_left = 0;
    int line_used = 0;
    int pending_delete = 0;
    std::optional<Unit> pending_replacement;
    std::vector<Unit> pending_insert;
    // A passage being recorded for a move or a doubling: base units still
    // to record, whether they are withheld from the text meanwhile, and how
    // many base units after the recording ends it is written out.
    std::uint64_t record_left = 0;
    bool withhold = false;
    std::uint64_t release_in = 0;
    std::vector<Unit> held;
  };

  // Begins the next long gap at the current unit.
  void StartGap() {
    const int n = options_.editions;
    const std::uint64_t index = gaps_++;
    // Each edition lacks a passage in turn, then one passage moves and one
    // is doubled.
    const std::uint64_t round = index % static_cast<std::uint64_t>(n + 2);
    const auto length = options_.gap_length;
    if (round < static_cast<std::uint64_t>(n)) {
      Edition& e = editions_[round];
      e.pending_delete = static_cast<int>(
          std::min<std::uint64_t>(length, std::uint64_t{1} << 30));
      return;
    }
    Edition& second = editions_[1];
    second.record_left = length;
    second.held.clear();
    if (round == static_cast<std::uint64_t>(n)) {
      second.withhold = true;
      second.release_in = length;
    } else {
      second.withhold = false;
      second.release_in = 0;
    }
  }

  void EmitOrHold(Edition& e, Unit u) {
    if (e.record_left > 0) {
      e.held.push_back(u);
      if (e.withhold) return;
    }
    Emit(e, u);
  }

  // Counts one base unit of a recording, and writes the passage out when
  // its time has come.
  void EndBaseUnit(Edition& e) {
    if (e.record_left > 0) {
      --e.record_left;
      return;
    }
    if (e.held.empty()) return;
    if (e.release_in > 0) {
      --e.release_in;
      return;
    }
    for (Unit u : e.held) Emit(e, u);
    e.held.clear();
  }

  static bool OpenFailed(const std::filesystem::path& path) {
    std::fprintf(stderr, "tessel-editions: cannot write %s: %s\n",
                 path.string().c_str(), std::strerror(errno));
    return false;
  }

  void MakeNotationPools() {
    std::set<std::string> seen;
    while (entities_.size() < kEntityPoolSize) {
      // Three in four from CJK Extension A, the rest from Extension B: the
      // mix of four- and five-digit forms the corpus has.
      const std::uint32_t cp = text_random_.OneIn(4)
                                   ? 0x20000 + text_random_.Below(0xA6D7)
                                   : 0x3400 + text_random_.Below(0x19B6);
      char text[16];
      std::snprintf(text, sizeof text, "&x-%04" PRIX32 ";", cp);
      if (seen.insert(text).second) entities_.emplace_back(text);
    }
    while (brackets_.size() < kBracketPoolSize) {
      // A component description such as [示*兒]; the second byte of a
      // component may be '[' or ']', which a reader must not take for the
      // bracket.
      std::string text = "[";
      AppendCharacter(text,
                      characters_[text_random_.Below(
                          static_cast<std::uint32_t>(characters_.size()))]);
      text += text_random_.OneIn(2) ? '*' : '/';
      AppendCharacter(text,
                      characters_[text_random_.Below(
                          static_cast<std::uint32_t>(characters_.size()))]);
      text += ']';
      if (seen.insert(text).second) brackets_.push_back(text);
    }
  }

  static void AppendCharacter(std::string& text, Unit code) {
    text += static_cast<char>(code / 256);
    text += static_cast<char>(code % 256);
  }

  Unit DrawCharacter() {
    return characters_[character_law_.Draw(text_random_)];
  }

  Unit DrawEntity() {
    return kEntityBase + static_cast<Unit>(entity_law_.Draw(text_random_));
  }

  Unit DrawBaseUnit() {
    ++units_;
    if (text_random_.OneIn(options_.notation_rate)) {
      ++notations_;
      // Three in four notations are &x- forms, as in the corpus.
      if (!text_random_.OneIn(4)) return DrawEntity();
      return kBracketBase + static_cast<Unit>(bracket_law_.Draw(text_random_));
    }
    return DrawCharacter();
  }

  Variant MakeVariant(Unit base) {
    ++variants_;
    Variant v;
    const std::uint32_t roll = text_random_.Below(20);
    if (roll < 10) {
      v.kind = Variant::Kind::kSubstitute;
      do {
        v.replacement = DrawCharacter();
      } while (v.replacement == base);
    } else if (roll < 13) {
      v.kind = Variant::Kind::kNotation;
      do {
        v.replacement = DrawEntity();
      } while (v.replacement == base);
    } else if (roll < 16) {
      v.kind = Variant::Kind::kInsert;
      const int n = text_random_.Between(1, 3);
      for (int i = 0; i < n; ++i) v.inserted.push_back(DrawCharacter());
    } else {
      v.kind = Variant::Kind::kDelete;
      v.deleted = text_random_.Between(1, 3);
    }
    const int n = options_.editions;
    const int first =
        static_cast<int>(text_random_.Below(static_cast<std::uint32_t>(n)));
    v.touches[static_cast<std::size_t>(first)] = true;
    if (n == 3 && text_random_.OneIn(4)) {
      v.touches[static_cast<std::size_t>((first + 1 + text_random_.Below(2)) %
                                         3)] = true;
    }
    return v;
  }

  void ApplyVariant(const Variant& v) {
    for (int k = 0; k < options_.editions; ++k) {
      if (!v.touches[static_cast<std::size_t>(k)]) continue;
      Edition& e = editions_[k];
      // A variant that meets a deletion still under way is swallowed by it.
      if (e.pending_delete > 0) continue;
      switch (v.kind) {
        case Variant::Kind::kSubstitute:
        case Variant::Kind::kNotation:
          e.pending_replacement = v.replacement;
          break;
        case Variant::Kind::kInsert:
          e.pending_insert = v.inserted;
          break;
        case Variant::Kind::kDelete:
          e.pending_delete = v.deleted;
          break;
      }
    }
  }

  void WriteUnit(Edition& e, Unit u) {
    if (u < kEntityBase) {
      e.writer.Put(static_cast<char>(u / 256));
      e.writer.Put(static_cast<char>(u % 256));
      return;
    }
    if (u < kBracketBase) {
      const std::string& text = entities_[u - kEntityBase];
      if (options_.case_variants && e.random->OneIn(16)) {
        std::string small = text;
        for (char& c : small) {
          if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        }
        e.writer.Write(small);
      } else {
        e.writer.Write(text);
      }
      return;
    }
    e.writer.Write(brackets_[u - kBracketBase]);
  }

  void Emit(Edition& e, Unit u) {
    WriteUnit(e, u);
    ++e.line_used;
    if (e.random->OneIn(e.style->one_in)) {
      const auto& choices = e.style->choices;
      e.writer.Write(
          choices[e.random->Below(static_cast<std::uint32_t>(choices.size()))]);
    }
    if (--e.line_left == 0) {
      e.writer.Write(e.line_end);
      e.line_used = 0;
      e.line_left = e.random->Between(15, 40);
    }
  }

  const Options& options_;
  Random text_random_;
  std::vector<Unit> characters_;
  ZipfTable character_law_;
  ZipfTable entity_law_;
  ZipfTable bracket_law_;
  std::vector<std::string> entities_;
  std::vector<std::string> brackets_;
  std::array<Edition, 3> editions_;
  std::uint64_t units_ = 0;
  std::uint64_t variants_ = 0;
  std::uint64_t notations_ = 0;
  std::uint64_t gaps_ = 0;
};

const char kUsage[] =
    "Usage: tessel-editions [options] OUTDIR\n"
    "Writes OUTDIR/e1.txt, e2.txt [, e3.txt]: editions of one made-up Big5\n"
    "text, and OUTDIR/signs.txt, the symbols they add.\n"
    "\n"
    "  --size N            bytes of edition 1; suffix k, M or G for 10^3,\n"
    "                      10^6, 10^9 (default 1M)\n"
    "  --editions N        2 or 3 (default 2)\n"
    "  --seed N            (default 1)\n"
    "  --variant-rate N    one variant in N characters; 0 none (default 500)\n"
    "  --notation-rate N   one notation in N characters; 0 none (default "
    "2000)\n"
    "  --identical         every edition a byte copy of edition 1\n"
    "  --no-case-variants  spell each notation the same way everywhere\n"
    "  --gap N             long gaps of N units: a passage missing from one\n"
    "                      edition (each in turn), moved N units further on\n"
    "                      in edition 2, or doubled in edition 2, in turn\n"
    "  --gap-every N       one long gap every N units (default 300000)\n";

bool ParseCount(const char* text, std::uint64_t* value) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *text == '-') return false;
  std::uint64_t scale = 1;
  if (*end == 'k')
    scale = 1000, ++end;
  else if (*end == 'M')
    scale = 1000000, ++end;
  else if (*end == 'G')
    scale = 1000000000, ++end;
  if (*end != '\0') return false;
  *value = static_cast<std::uint64_t>(n) * scale;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool have_dir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&](std::uint64_t* out) {
      if (i + 1 >= argc || !ParseCount(argv[i + 1], out)) {
        std::fprintf(stderr, "tessel-editions: %s needs a number\n", argv[i]);
        std::exit(2);
      }
      ++i;
    };
    std::uint64_t n = 0;
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--size") {
      value(&options.size);
    } else if (arg == "--editions") {
      value(&n);
      if (n != 2 && n != 3) {
        std::fprintf(stderr, "tessel-editions: --editions is 2 or 3\n");
        return 2;
      }
      options.editions = static_cast<int>(n);
    } else if (arg == "--seed") {
      value(&options.seed);
    } else if (arg == "--variant-rate") {
      value(&n);
      options.variant_rate =
          static_cast<std::uint32_t>(std::min<std::uint64_t>(n, 1u << 30));
    } else if (arg == "--notation-rate") {
      value(&n);
      options.notation_rate =
          static_cast<std::uint32_t>(std::min<std::uint64_t>(n, 1u << 30));
    } else if (arg == "--identical") {
      options.identical = true;
    } else if (arg == "--gap") {
      value(&options.gap_length);
    } else if (arg == "--gap-every") {
      value(&options.gap_every);
      if (options.gap_every == 0) {
        std::fprintf(stderr, "tessel-editions: --gap-every is at least 1\n");
        return 2;
      }
    } else if (arg == "--no-case-variants") {
      options.case_variants = false;
    } else if (!arg.empty() && arg[0] != '-' && !have_dir) {
      options.out_dir = arg;
      have_dir = true;
    } else {
      std::fprintf(stderr, "tessel-editions: unexpected '%s'\n%s", argv[i],
                   kUsage);
      return 2;
    }
  }
  if (!have_dir) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // A moved passage is held until it is written out again; a gap that
  // began before then would drop it.
  if (options.gap_length > 0 && options.gap_every <= 2 * options.gap_length) {
    std::fprintf(stderr,
                 "tessel-editions: --gap-every must exceed twice --gap\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(options.out_dir, ec);
  Generator generator(options);
  return generator.Run() ? 0 : 1;
}
