// Interlinear notes compared as units: "(A/B)" on one line, with exactly one
// "/" and no further "(" before its ")". Such a note is one compared token
// whose identity is the unordered pair of its halves' compared characters,
// so that "(A/B)" equals "(B/A)", and any difference inside a note is one
// difference of the whole note. The files keep each source's own text.
//
// A run keeps one table for all its sources, so that equal notes get equal
// codes wherever they stand.

#ifndef TESSEL_ENGINE_NOTETABLE_H_
#define TESSEL_ENGINE_NOTETABLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "CharCodes.h"

namespace tessel {

// The markers of a note, the same in every encoding.
constexpr char32_t kNoteOpen = '(';
constexpr char32_t kNoteSeparator = '/';
constexpr char32_t kNoteClose = ')';

// Gathers one note's compared characters half by half while a reader walks
// it, and gives its canonical key: the half that comes first in the order of
// its compared keys (compared one by one, a prefix first), a 0, the other.
class NoteHalves {
 public:
  void Clear() {
    halves_[0].clear();
    halves_[1].clear();
    separators_ = 0;
  }
  // Returns false at a second separator: the text is then no note.
  bool AddSeparator() { return ++separators_ == 1; }
  void AddKey(std::uint32_t key) { halves_[separators_].push_back(key); }
  bool complete() const { return separators_ == 1; }
  std::u32string CanonicalKey() const;

 private:
  std::u32string halves_[2];
  int separators_ = 0;
};

class NoteTable {
 public:
  // Notes in a Big5 run take codes the notation table never gives (low
  // bytes 1..39 and 240..255 under high bytes 3..127), so this many fit.
  static constexpr std::size_t kBig5Capacity = 125 * 55;
  // Far more than any text holds; it keeps a Unicode run's keys bounded.
  static constexpr std::size_t kUnicodeCapacity = std::size_t{1} << 20;

  explicit NoteTable(std::size_t capacity) : capacity_(capacity) {}

  // The index of the note with canonical key `key` (NoteHalves), new or
  // met before. Returns -1 when it is new and the table is full: the
  // caller then reads the opener as an ordinary character.
  std::ptrdiff_t Intern(const std::u32string& key);

  std::size_t size() const { return index_.size(); }

  // The Big5 code of index `index` (< kBig5Capacity), and back.
  static Code Big5Code(std::size_t index);
  static bool IsBig5NoteCode(Code code) {
    const Code low = code % 256;
    return code >= kFirstBig5NoteCode && code <= kLastNotationRange &&
           (low < kFirstNotationLowByte || low > kLastNotationLowByte) &&
           low != 0;
  }

 private:
  static constexpr Code kFirstBig5NoteCode = 3 * 256;
  static constexpr Code kFirstNotationLowByte = 40;
  static constexpr Code kLastNotationLowByte = 239;

  std::size_t capacity_;
  std::unordered_map<std::u32string, std::size_t> index_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_NOTETABLE_H_
