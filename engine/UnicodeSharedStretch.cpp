#include "UnicodeSharedStretch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#include "SharedBytes.h"
#include "UnicodeDecoder.h"
#include "UnicodeKeys.h"

namespace tessel {

namespace {

// The bytes of a character that a block's end may cut: all but its last.
constexpr std::size_t kMostCutBytes = kMaxUnicodeCharLength - 1;
// Returned where no plain compared character follows: above every scalar.
constexpr char32_t kNoCharacter = kLastScalarValue + 1;

template <Encoding kEncoding>
inline DecodedChar Decode(const unsigned char* p, const unsigned char* end) {
  if constexpr (kEncoding == Encoding::kUtf8) {
    return DecodeUtf8(p, end);
  } else if constexpr (kEncoding == Encoding::kUtf16Le) {
    return DecodeUtf16Le(p, end);
  } else {
    static_assert(kEncoding == Encoding::kUtf16Be);
    return DecodeUtf16Be(p, end);
  }
}

inline bool IsOpener(char32_t c) { return c == '[' || c == '&'; }

constexpr char32_t kFirstMultiByteUtf8 = 0x80;
constexpr unsigned kFirstFourByteLead = 0xF0;

// The first byte of the UTF-8 form of the BMP character `c` (>= 0x80).
inline unsigned char Utf8LeadByte(char32_t c) {
  return static_cast<unsigned char>(c < 0x800 ? 0xC0 | c >> 6 : 0xE0 | c >> 12);
}

// A character cut by `end` decodes as raw, so it is never plain: the walk,
// which sees the bytes after it, might read it otherwise.
inline bool IsPlain(const DecodedChar& c, bool fold) {
  return !c.raw && !(fold && IsOpener(c.value));
}

// The bytes of the well-formed character `c` in the encoding.
template <Encoding kEncoding>
inline std::size_t EncodedLength(char32_t c) {
  if constexpr (kEncoding == Encoding::kUtf8) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  } else {
    return c < 0x10000 ? 2 : 4;
  }
}

// Whether the `length` bytes (1 to 4) at `a` and `b` are the same: a
// character's few bytes, compared in a load or two.
inline bool SameCharacterBytes(const unsigned char* a, const unsigned char* b,
                               std::size_t length) {
  switch (length) {
    case 1:
      return a[0] == b[0];
    case 2:
      return LoadWord<std::uint16_t>(a) == LoadWord<std::uint16_t>(b);
    case 3:
      return LoadWord<std::uint16_t>(a) == LoadWord<std::uint16_t>(b) &&
             a[2] == b[2];
    default:
      return LoadWord<std::uint32_t>(a) == LoadWord<std::uint32_t>(b);
  }
}

}  // namespace

std::optional<Encoding> UnicodeShortcutEncoding(
    std::span<const Encoding> encodings, bool reads_across_characters) {
  if (reads_across_characters || encodings.empty()) return std::nullopt;
  const Encoding first = encodings.front();
  if (!IsUnicodeEncoding(first)) return std::nullopt;
  for (const Encoding encoding : encodings) {
    if (encoding != first) return std::nullopt;
  }
  return first;
}

UnicodeShortcuts::UnicodeShortcuts(Encoding encoding, bool fold_notations,
                                   const UnicodeSignSet& signs)
    : encoding_(encoding),
      fold_(fold_notations),
      signs_(signs),
      ignored_bmp_(kPlaneSize / 64) {
  for (char32_t c = 0; c < kPlaneSize; ++c) {
    if (signs.IsIgnored(CharacterKey(c))) {
      ignored_bmp_[c / 64] |= std::uint64_t{1} << (c % 64);
    }
  }
  for (char32_t c = kFirstMultiByteUtf8; c < kPlaneSize; ++c) {
    if (IsIgnored(c)) may_lead_ignored_[Utf8LeadByte(c)] = true;
  }
  // Beyond the plane the set is asked: too many characters to ask it of
  // each here.
  for (unsigned lead = kFirstFourByteLead; lead < may_lead_ignored_.size();
       ++lead) {
    may_lead_ignored_[lead] = true;
  }
  for (char32_t c = 0; c < ascii_.size(); ++c) {
    if (fold_ && IsOpener(c)) {
      ascii_[c] = AsciiRole::kStop;
    } else if (c == '\n') {
      // Always ignored, as every control character is.
      ascii_[c] = AsciiRole::kLineFeed;
    } else if (IsIgnored(c)) {
      ascii_[c] = AsciiRole::kIgnored;
    } else {
      ascii_[c] = AsciiRole::kCompared;
    }
  }
}

template <Encoding kEncoding>
inline std::size_t UnicodeShortcuts::PlainLength(const unsigned char* p,
                                                 const unsigned char* end,
                                                 bool* line_feed) const {
  if constexpr (kEncoding == Encoding::kUtf8) {
    if (*p < 0x80) {
      const AsciiRole role = ascii_[*p];
      *line_feed = role == AsciiRole::kLineFeed;
      return role == AsciiRole::kStop ? 0 : 1;
    }
    if (IsWholeCommonThreeByteUtf8(p, end)) return 3;
  }
  const DecodedChar c = Decode<kEncoding>(p, end);
  if (!IsPlain(c, fold_)) return 0;
  *line_feed = c.value == '\n';
  return c.length;
}

template <Encoding kEncoding>
inline std::size_t UnicodeShortcuts::PlainPrefixIn(
    std::span<const unsigned char> bytes, std::int64_t* line_feeds) const {
  const unsigned char* const begin = bytes.data();
  const unsigned char* const end = begin + bytes.size();
  const unsigned char* p = begin;
  std::int64_t feeds = 0;
  while (p < end) {
    if constexpr (kEncoding == Encoding::kUtf8) {
      // Runs of Chinese characters in a tight loop.
      p = SkipCommonThreeByteUtf8(p, end);
      if (p == end) break;
    }
    bool line_feed = false;
    const std::size_t length = PlainLength<kEncoding>(p, end, &line_feed);
    if (length == 0) break;
    feeds += line_feed;
    p += length;
  }
  *line_feeds += feeds;
  return static_cast<std::size_t>(p - begin);
}

std::size_t UnicodeShortcuts::PlainPrefix(std::span<const unsigned char> bytes,
                                          std::int64_t* line_feeds) const {
  switch (encoding_) {
    case Encoding::kUtf8:
      return PlainPrefixIn<Encoding::kUtf8>(bytes, line_feeds);
    case Encoding::kUtf16Le:
      return PlainPrefixIn<Encoding::kUtf16Le>(bytes, line_feeds);
    case Encoding::kUtf16Be:
      return PlainPrefixIn<Encoding::kUtf16Be>(bytes, line_feeds);
    case Encoding::kBig5:
      break;
  }
  return 0;
}

std::size_t UnicodeShortcuts::CopySharedStretch(RunSources& sources,
                                                RunOutputs& outputs,
                                                WalkPosition& position) const {
  return CopySameBytes(
      sources, outputs, position, kMostCutBytes,
      [this](std::span<const unsigned char> bytes, std::int64_t* feeds) {
        return PlainPrefix(bytes, feeds);
      });
}

// Moves `*p` (before `end`) past the ignored characters up to the next
// compared one and past that one, as the walk's advance would, counting the
// ignored line feeds in `*feeds`. Returns the compared character, or
// kNoCharacter where a character that is not plain comes first (`*p` and
// `*feeds` are then of no use).
template <Encoding kEncoding>
inline char32_t UnicodeShortcuts::NextAgreeable(const unsigned char* end,
                                                const unsigned char** at,
                                                std::int64_t* feeds) const {
  const unsigned char* p = *at;
  for (;;) {
    if (p == end) return kNoCharacter;
    if (kEncoding == Encoding::kUtf8 && *p < 0x80) {
      const unsigned char b = *p++;
      switch (ascii_[b]) {
        case AsciiRole::kCompared:
          *at = p;
          return b;
        case AsciiRole::kIgnored:
          continue;
        case AsciiRole::kLineFeed:
          ++*feeds;
          continue;
        case AsciiRole::kStop:
          return kNoCharacter;
      }
    }
    const DecodedChar c = Decode<kEncoding>(p, end);
    if (!IsPlain(c, fold_)) return kNoCharacter;
    const bool may_be_ignored =
        kEncoding != Encoding::kUtf8 || may_lead_ignored_[*p];
    p += c.length;
    if (!may_be_ignored || !IsIgnored(c.value)) {
      *at = p;
      return c.value;
    }
    *feeds += c.value == '\n';
  }
}

template <Encoding kEncoding, int N>
std::size_t UnicodeShortcuts::CopyAgreeing(RunSources& sources,
                                           RunOutputs& outputs,
                                           WalkPosition& position) const {
  // Each source's bytes, and where it stands after the last character all
  // agreed on, with the line feeds passed so far. A pass moves copies of
  // them, kept only when all agree.
  std::array<const unsigned char*, N> begin, end, at;
  std::array<std::int64_t, N> feeds{};
  for (int k = 0; k < N; ++k) {
    const std::span<const unsigned char> bytes =
        sources.streams[k]->Peek(kRefillBelow);
    begin[k] = at[k] = bytes.data();
    end[k] = bytes.data() + bytes.size();
  }
  std::size_t passes = 0;
  for (;;) {
    // Where every source goes on with the same bytes, all read the same
    // plain characters in them alike, ignored or not, and need not look
    // them up.
    std::size_t same = static_cast<std::size_t>(end[0] - at[0]);
    for (int k = 1; k < N; ++k) {
      same = std::min(same, static_cast<std::size_t>(end[k] - at[k]));
    }
    for (int k = 1; k < N && same > 0; ++k) {
      same = CommonPrefix(at[0], at[k], same);
    }
    if (same > 0) {
      std::int64_t line_feeds = 0;
      const std::size_t plain =
          PlainPrefixIn<kEncoding>({at[0], same}, &line_feeds);
      if (plain > 0) {
        for (int k = 0; k < N; ++k) {
          at[k] += plain;
          feeds[k] += line_feeds;
        }
        ++passes;
        continue;
      }
    }
    std::array<const unsigned char*, N> next = at;
    std::array<std::int64_t, N> more{};
    const char32_t first = NextAgreeable<kEncoding>(end[0], &next[0], &more[0]);
    if (first == kNoCharacter) break;
    // Where the sources go on in step, the next bytes of the others are
    // the same character, which needs no decoding: equal bytes read alike.
    const std::size_t length = EncodedLength<kEncoding>(first);
    const unsigned char* const bytes_of_first = next[0] - length;
    bool agree = true;
    for (int k = 1; k < N && agree; ++k) {
      if (static_cast<std::size_t>(end[k] - next[k]) >= length &&
          SameCharacterBytes(next[k], bytes_of_first, length)) {
        next[k] += length;
      } else {
        agree = NextAgreeable<kEncoding>(end[k], &next[k], &more[k]) == first;
      }
    }
    if (!agree) break;
    ++passes;
    at = next;
    for (int k = 0; k < N; ++k) feeds[k] += more[k];
  }
  if (passes == 0) return 0;
  for (int k = 0; k < N; ++k) {
    const auto length = static_cast<std::size_t>(at[k] - begin[k]);
    outputs.results[k]->Write(
        std::string_view(reinterpret_cast<const char*>(begin[k]), length));
    sources.streams[k]->Skip(length);
    position.lines[k] += feeds[k];
  }
  return passes;
}

std::size_t UnicodeShortcuts::CopyAgreeingStretch(
    RunSources& sources, RunOutputs& outputs, WalkPosition& position) const {
  const bool three = sources.count == 3;
  switch (encoding_) {
    case Encoding::kUtf8:
      return three
                 ? CopyAgreeing<Encoding::kUtf8, 3>(sources, outputs, position)
                 : CopyAgreeing<Encoding::kUtf8, 2>(sources, outputs, position);
    case Encoding::kUtf16Le:
      return three ? CopyAgreeing<Encoding::kUtf16Le, 3>(sources, outputs,
                                                         position)
                   : CopyAgreeing<Encoding::kUtf16Le, 2>(sources, outputs,
                                                         position);
    case Encoding::kUtf16Be:
      return three ? CopyAgreeing<Encoding::kUtf16Be, 3>(sources, outputs,
                                                         position)
                   : CopyAgreeing<Encoding::kUtf16Be, 2>(sources, outputs,
                                                         position);
    case Encoding::kBig5:
      break;
  }
  return 0;
}

}  // namespace tessel
