#include "VariantKeys.h"

#include "CharacterNotation.h"
#include "Cp950.h"

namespace tessel {

namespace {

// Single bytes below this are ASCII: the byte is the character.
constexpr Code kAsciiLimit = 0x80;

}  // namespace

VariantKeys::VariantKeys(const VariantTable& table,
                         const NotationTable& notations)
    : table_(&table), notations_(&notations), keys_(kCodeLimit) {
  for (Code code = 0; code < kCodeLimit; ++code) {
    keys_[code] = static_cast<std::uint16_t>(code);
  }
  // Ascending, so that each class is keyed by its smallest code: ASCII
  // before every double-byte character.
  for (Code b = 0; b < kAsciiLimit; ++b) {
    const Code code = kSingleByteBase + b;
    keys_[code] = static_cast<std::uint16_t>(
        KeyOfClass(table.Representative(static_cast<char32_t>(b)), code));
  }
  for (Code code = kLastNotationRange + 1; code < kCodeLimit; ++code) {
    const auto c = Cp950ToUnicode(static_cast<std::uint16_t>(code));
    if (!c) continue;
    keys_[code] =
        static_cast<std::uint16_t>(KeyOfClass(table.Representative(*c), code));
  }
  KeyNewNotations();
}

Code VariantKeys::KeyOfClass(char32_t representative, Code code) {
  return class_keys_.try_emplace(representative, code).first->second;
}

void VariantKeys::KeyNewNotations() {
  for (; keyed_notations_ < notations_->size(); ++keyed_notations_) {
    const Code code = NotationTable::CodeOfIndex(keyed_notations_);
    const auto c = ParseCharacterNotation(notations_->NotationText(code));
    if (!c) continue;
    keys_[code] = static_cast<std::uint16_t>(
        KeyOfClass(table_->Representative(*c), code));
  }
}

char32_t VariantKeys::Character(Code code) const {
  if (IsDoubleByteCode(code)) {
    return Cp950ToUnicode(static_cast<std::uint16_t>(code)).value_or(0);
  }
  if (IsSingleByteCode(code)) {
    const Code b = code - kSingleByteBase;
    return b < kAsciiLimit ? static_cast<char32_t>(b) : 0;
  }
  if (notations_ == nullptr ||
      NotationTable::IndexOfCode(code) >= notations_->size()) {
    return 0;
  }
  return ParseCharacterNotation(notations_->NotationText(code)).value_or(0);
}

}  // namespace tessel
