// Shortcuts of the lockstep walk of a Unicode run, the counterparts of
// SharedStretch.h. Where every source is in one UTF encoding, a character
// that the walk compares alike everywhere is written back to each result
// file as that source's own bytes, so a stretch of such passes can be found
// straight in the sources' buffers and copied whole.
//
// A character is *plain* when the walk reads it as one character token and
// writes it back as its own bytes: a well-formed character that lies whole
// in the bytes at hand and, when notations fold, is not "[" or "&". A raw
// byte or unit is never plain, nor is a character cut off by the end of the
// bytes at hand, so the walk reads both with the bytes that follow them.
// Line feeds are plain and counted as the walk counts them; control
// characters, U+001A, canonical singletons and ignored symbols are plain and
// ignored by the run's own keys (CharacterKey, UnicodeSignSet).
//
// Compared characters agree here only when they are the same character. Any
// rule that makes two different characters equal (canonical singletons,
// notations that name a character, a variant table) is left to the walk,
// which also counts what it must; so such a rule never needs the shortcuts
// turned off. A rule that reads across characters does: see
// UnicodeShortcutEncoding.

#ifndef TESSEL_ENGINE_UNICODESHAREDSTRETCH_H_
#define TESSEL_ENGINE_UNICODESHAREDSTRETCH_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Encoding.h"
#include "RunState.h"
#include "UnicodeSignSet.h"

namespace tessel {

// The encoding the shortcuts may read every source in: the one UTF encoding
// of all `encodings`, when they share it and no rule reads across
// characters (ignored stretches, unordered notes: only the walk follows
// them). Otherwise none: the walk reads everything, as it always may.
std::optional<Encoding> UnicodeShortcutEncoding(
    std::span<const Encoding> encodings, bool reads_across_characters);

class UnicodeShortcuts {
 public:
  // Shortcuts for sources in `encoding` (UTF-8 or UTF-16), with notations
  // folded or not. `signs` must outlive them and stay as it is: what it
  // ignores in the Basic Multilingual Plane is taken in at once.
  UnicodeShortcuts(Encoding encoding, bool fold_notations,
                   const UnicodeSignSet& signs);

  // The length of the longest prefix of `bytes` that reads as plain
  // characters. Adds the line feeds in it to `*line_feeds`.
  std::size_t PlainPrefix(std::span<const unsigned char> bytes,
                          std::int64_t* line_feeds) const;

  // If every source continues with the same bytes, copies the longest plain
  // stretch of them to every result file, moves every source past it and
  // counts its lines in `position`. Returns the number of bytes copied from
  // each source, or 0 when they do not continue with a plain stretch long
  // enough to be worth it.
  std::size_t CopySharedStretch(RunSources& sources, RunOutputs& outputs,
                                WalkPosition& position) const;

  // Walks every source straight over its buffer as the lockstep walk would,
  // skipping what the signs ignore, as long as every character is plain and
  // the compared characters are the same in every source, and copies what
  // it passed, ignored characters included, to each result file. Stops
  // where the sources last stood alike: after a compared character on
  // which all agree, or after the same character in every source (which
  // all read alike, ignored or not; a walk's advance may be cut anywhere
  // between characters). Counts the lines passed in `position`. Returns
  // the number of such places passed: 0 when it copied nothing.
  std::size_t CopyAgreeingStretch(RunSources& sources, RunOutputs& outputs,
                                  WalkPosition& position) const;

 private:
  // What an ASCII character is to the shortcuts.
  enum class AsciiRole : std::uint8_t { kCompared, kIgnored, kLineFeed, kStop };
  static constexpr char32_t kPlaneSize = 0x10000;

  // Whether the walk skips the plain character `c`.
  bool IsIgnored(char32_t c) const {
    if (c < kPlaneSize) return ((ignored_bmp_[c / 64] >> (c % 64)) & 1) != 0;
    return signs_.IsIgnored(CharacterKey(c));
  }

  template <Encoding kEncoding>
  std::size_t PlainPrefixIn(std::span<const unsigned char> bytes,
                            std::int64_t* line_feeds) const;
  // The bytes of the character at `p` (before `end`) when it is plain, else
  // 0; sets `*line_feed` to whether it is a line feed.
  template <Encoding kEncoding>
  std::size_t PlainLength(const unsigned char* p, const unsigned char* end,
                          bool* line_feed) const;
  template <Encoding kEncoding>
  char32_t NextAgreeable(const unsigned char* end, const unsigned char** at,
                         std::int64_t* feeds) const;
  template <Encoding kEncoding, int N>
  std::size_t CopyAgreeing(RunSources& sources, RunOutputs& outputs,
                           WalkPosition& position) const;

  Encoding encoding_;
  bool fold_;
  const UnicodeSignSet& signs_;
  std::array<AsciiRole, 0x80> ascii_{};
  // One bit per BMP character: whether the signs ignore its key. 8 KiB, so
  // that the common characters need neither the singleton table nor the
  // set's own lookup.
  std::vector<std::uint64_t> ignored_bmp_;
  // By the lead byte of a UTF-8 character of two bytes or more: whether
  // any character it may lead is ignored. The characters of Chinese text
  // lead with bytes that lead no punctuation, so most need no look-up.
  std::array<bool, 0x100> may_lead_ignored_{};
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODESHAREDSTRETCH_H_
