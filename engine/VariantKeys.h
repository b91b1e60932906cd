// The compare keys of a run with variant tables: every character code of a
// Big5 run mapped to one code of its variant class, so that the walk and
// the anchor search see variants as one character while the token reader
// and the writers keep the sources' own codes.
//
// This is the one place where a run asks the variant table about a
// character: a run over Unicode characters keys them through
// VariantTable::Representative in the same way.

#ifndef TESSEL_ENGINE_VARIANTKEYS_H_
#define TESSEL_ENGINE_VARIANTKEYS_H_

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "CharCodes.h"
#include "NotationTable.h"
#include "VariantTable.h"

namespace tessel {

class VariantKeys {
 public:
  // No table: every code is its own key, and active() is false.
  VariantKeys() = default;

  // Keys the codes of a Big5 run through code page 950 and `table`. A
  // class's key is the smallest code among its members that the page
  // writes, so that keys stay codes a window can hold. A notation that
  // names a character ("&x-70BA;") is keyed as that character when it is
  // first met; any other notation is its own key. `notations` must outlive
  // the keys.
  VariantKeys(const VariantTable& table, const NotationTable& notations);

  bool active() const { return !keys_.empty(); }

  // The key of `code`; `code` itself when no table is in use.
  Code Key(Code code) {
    if (keys_.empty()) return code;
    if (IsNotationCode(code) &&
        NotationTable::IndexOfCode(code) >= keyed_notations_) {
      KeyNewNotations();
    }
    return keys_[code];
  }

  // Whether `a` and `b`, which differ, are variants of one character.
  bool Variants(Code a, Code b) { return active() && Key(a) == Key(b); }

  // The Unicode character `code` stands for: its code page 950 character,
  // the character a notation names, or 0 for a notation that names none
  // and for a code the page lacks.
  char32_t Character(Code code) const;

 private:
  // Keys every notation that entered the table since the last call.
  void KeyNewNotations();
  // The key of a character of representative `representative`, first met
  // at `code`.
  Code KeyOfClass(char32_t representative, Code code);

  const VariantTable* table_ = nullptr;
  const NotationTable* notations_ = nullptr;
  // One entry per 16-bit code; empty when no table is in use.
  std::vector<std::uint16_t> keys_;
  std::size_t keyed_notations_ = 0;
  // The key of each class met so far, by its representative.
  std::unordered_map<char32_t, Code> class_keys_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_VARIANTKEYS_H_
