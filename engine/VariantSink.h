// What a run with variant tables tells its listeners about each variant it
// meets: a place where the compared characters differ but stand in one
// class, so the walk went on as if they agreed.

#ifndef TESSEL_ENGINE_VARIANTSINK_H_
#define TESSEL_ENGINE_VARIANTSINK_H_

#include <array>
#include <cstdint>

#include "CharCodes.h"
#include "RunState.h"

namespace tessel {

// One variant met by the walk.
struct VariantMet {
  int source_count = 2;
  // The line each source stood on, from 1, as the difference file counts.
  std::array<std::int64_t, kMaxSources> lines{};
  // The byte offset and length of each source's character (a folded
  // notation is several bytes).
  std::array<std::int64_t, kMaxSources> offsets{};
  std::array<std::int64_t, kMaxSources> lengths{};
  // Each source's character: its Unicode scalar value (never 0, since only
  // characters can be variants), and its code in the run. In a Unicode run
  // the code is the character's key (UnicodeKeys.h) and the character is
  // the one compared: a compatibility ideograph as its unified form.
  std::array<char32_t, kMaxSources> characters{};
  std::array<Code, kMaxSources> codes{};
};

// Takes every variant of a run, in the order met. A sink must not call
// back into the run.
class VariantSink {
 public:
  virtual ~VariantSink() = default;
  virtual void Variant(const VariantMet& variant) = 0;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_VARIANTSINK_H_
