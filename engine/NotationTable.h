// The table of missing-character notations met so far, such as "[xxxx]" or
// "&x-xxxx;". A notation's index in the table gives its character code, so
// that a notation compares as one character however many bytes it has.
//
// The table only grows. Its owner hands one table to every run, so that a
// notation keeps its code from run to run: the front ends keep theirs for
// the life of the program.

#ifndef TESSEL_ENGINE_NOTATIONTABLE_H_
#define TESSEL_ENGINE_NOTATIONTABLE_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "CharCodes.h"

namespace tessel {

class NotationTable {
 public:
  // Codes are (2 + i / 200) * 256 + (40 + i % 200) for index i, so both
  // packed bytes are non-zero and every code lies above the single bytes.
  static constexpr std::size_t kIndexesPerHighByte = 200;
  static constexpr Code kFirstHighByte = 2;
  static constexpr Code kFirstLowByte = 40;
  // Index 25200 would give code 32808, which reads as a double-byte
  // character; the table stops one short of it.
  static constexpr std::size_t kCapacity = 25200;

  NotationTable() = default;
  NotationTable(const NotationTable&) = delete;
  NotationTable& operator=(const NotationTable&) = delete;

  static Code CodeOfIndex(std::size_t index) {
    return static_cast<Code>((kFirstHighByte + index / kIndexesPerHighByte) *
                                 256 +
                             (kFirstLowByte + index % kIndexesPerHighByte));
  }
  static std::size_t IndexOfCode(Code code) {
    return (code % 256) + kIndexesPerHighByte * (code / 256) -
           (kFirstLowByte + kIndexesPerHighByte * kFirstHighByte);
  }

  // Returns the code of `text` (opener through closer). The first entry
  // that equals it without regard to the case of ASCII letters wins; a text
  // not yet present is appended. Returns 0 when it is new and the table is
  // full: the caller then treats the opener as an ordinary byte.
  Code InternNotation(std::string_view text);

  // The stored text of a notation code, in the form first met.
  const std::string& NotationText(Code code) const {
    return entries_[IndexOfCode(code)];
  }

  // The byte length of the stored text of a notation code.
  std::size_t TokenLength(Code code) const { return NotationText(code).size(); }

  std::size_t size() const { return entries_.size(); }

 private:
  Code LookUpOrAppend(std::string_view text);

  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
      return std::hash<std::string_view>()(key);
    }
  };

  // The texts met most recently, as they stood in the source, with their
  // codes: a text seen before needs neither folding nor the full lookup.
  struct Recent {
    std::string text;
    Code code = 0;
  };
  static constexpr std::size_t kRecentSlots = 256;
  std::array<Recent, kRecentSlots> recent_;

  std::vector<std::string> entries_;
  // Case-folded text -> index of the first entry that folds to it. Folding
  // keeps lengths, so a match always has the length of the text found.
  std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>> index_;
};

// Writes `text` to `folded` (room for text.size() bytes) with every A-Z that
// is a character of its own (never the second byte of a code-page-950
// character) made small.
void FoldNotationCase(std::string_view text, char* folded);

}  // namespace tessel

#endif  // TESSEL_ENGINE_NOTATIONTABLE_H_
