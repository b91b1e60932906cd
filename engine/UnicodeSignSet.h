// The ignored-symbol set of a Unicode run: keys (UnicodeKeys.h) rather than
// Big5 codes. Unlike the Big5 set, no entry ends it: a U+0000 hides nothing.

#ifndef TESSEL_ENGINE_UNICODESIGNSET_H_
#define TESSEL_ENGINE_UNICODESIGNSET_H_

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "Encoding.h"
#include "UnicodeKeys.h"

namespace tessel {

class UnicodeSignSet {
 public:
  UnicodeSignSet() : character_words_(kCharacterKeyLimit / 64 + 1) {}

  // Whether the comparison skips `key`: always the end and U+0000..U+001F,
  // otherwise when the key is in the set.
  bool IsIgnored(Key key) const {
    if (key <= kLastControlKey) return true;
    if (key < kCharacterKeyLimit) {
      return ((character_words_[key / 64] >> (key % 64)) & 1) != 0;
    }
    return others_.contains(key);
  }

  void Add(Key key);
  void Clear();

  // Every key added, each once: character keys in increasing order, then
  // the others (raw characters, notations) in increasing order.
  std::vector<Key> Keys() const;

  // Builds the set from a memo's text in `encoding` (big5 or utf-8): every
  // character but CR and LF is an entry. Big5 text is taken a byte below
  // 0x80 or a pair at a time, as the Big5 memo always is; a pair the page
  // lacks is a raw Big5 character.
  void LoadSignMemo(std::string_view text, Encoding encoding);

 private:
  // One bit per character key; raw and notation keys are few.
  std::vector<std::uint64_t> character_words_;
  std::unordered_set<Key> others_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODESIGNSET_H_
