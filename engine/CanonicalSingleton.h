// Canonical singletons: characters whose canonical decomposition in
// UnicodeData.txt is one single character, such as the CJK compatibility
// ideographs (U+F900..U+FAFF, U+2F800..U+2FA1F) and U+212B ANGSTROM SIGN.
// A Unicode run compares each such character as its decomposition, so that
// U+FA0C (Big5 C94A) meets U+5140 (Big5 A461). No target is itself a
// singleton, so one lookup suffices; the files keep their bytes.

#ifndef TESSEL_ENGINE_CANONICALSINGLETON_H_
#define TESSEL_ENGINE_CANONICALSINGLETON_H_

#include "tables/UnicodeTables.h"

namespace tessel {

// The character `c` compares as: its singleton decomposition, or `c` itself.
inline char32_t FoldCanonicalSingleton(char32_t c) {
  if (c >= tables::kSingletonLimit) return c;
  const char32_t target =
      tables::kSingletonBlocks[tables::kSingletonIndex[c >> 8] * 0x100 +
                               (c & 0xFF)];
  return target != 0 ? target : c;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_CANONICALSINGLETON_H_
