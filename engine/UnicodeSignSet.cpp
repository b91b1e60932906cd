#include "UnicodeSignSet.h"

#include <algorithm>
#include <bit>

#include "Cp950.h"
#include "UnicodeDecoder.h"

namespace tessel {

void UnicodeSignSet::Add(Key key) {
  if (key < kCharacterKeyLimit) {
    character_words_[key / 64] |= std::uint64_t{1} << (key % 64);
  } else {
    others_.insert(key);
  }
}

void UnicodeSignSet::Clear() {
  std::fill(character_words_.begin(), character_words_.end(), 0);
  others_.clear();
}

std::vector<Key> UnicodeSignSet::Keys() const {
  std::vector<Key> keys;
  for (std::size_t w = 0; w < character_words_.size(); ++w) {
    for (std::uint64_t bits = character_words_[w]; bits != 0;
         bits &= bits - 1) {
      keys.push_back(static_cast<Key>(w * 64 + std::countr_zero(bits)));
    }
  }
  const std::size_t characters = keys.size();
  keys.insert(keys.end(), others_.begin(), others_.end());
  std::sort(keys.begin() + static_cast<std::ptrdiff_t>(characters), keys.end());
  return keys;
}

void UnicodeSignSet::LoadSignMemo(std::string_view text, Encoding encoding) {
  Clear();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    Key key;
    std::size_t length = 1;
    if (encoding == Encoding::kBig5) {
      if (*p < 0x80) {
        key = CharacterKey(*p);
      } else if (p + 1 < end) {
        const auto code = static_cast<std::uint16_t>(p[0] << 8 | p[1]);
        const auto c = Cp950ToUnicode(code);
        key = c ? CharacterKey(*c) : RawKey(Encoding::kBig5, code);
        length = 2;
      } else {
        break;  // a last lone high byte is no symbol, as in a Big5 memo
      }
    } else {
      const DecodedChar c = DecodeUtf8(p, end);
      key = c.raw ? RawKey(Encoding::kUtf8, c.value) : CharacterKey(c.value);
      length = c.length;
    }
    if (key != kLineFeedKey && key != kCarriageReturnKey) Add(key);
    p += length;
  }
}

}  // namespace tessel
