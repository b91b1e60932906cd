// What one try of the growing look-ahead learned about its windows, kept for
// the searches that follow it into the same stretch.
//
// Where one edition holds a long passage that another lacks, the anchor
// lies beyond the line end, the difference is capped at the line, and the
// next search starts one line further into the passage: it would read,
// index and sweep the rest of the passage again, so that a gap cost the
// square of its length. The sweep with the longest anchors of the try that
// took the anchor, though, tells every later search in that stretch what
// its own sweep would find: the next search either takes the same anchor
// (its offsets smaller by the distance walked) or finds nothing at a
// look-ahead too short to hold it, and the memo says so only when the rules
// guarantee it.
//
// Why it holds: slots are numbered the same across searches, and a later
// search starts no earlier in any source, so a window of the later search
// that ends no further than the recorded one holds a subset of what the
// recorded one held. A run of window 0 missing from a recorded window is
// missing from the later one; a run that occurred everywhere occurs first
// at the same slot if that slot was not walked past, and later (a larger
// sum) if it was. So every candidate's sum is at least the recorded best
// less the characters walked (D), and the recorded anchor reaches exactly
// that; ties go to the anchor tried first, which the recorded one was.
// Where a later window reaches beyond the recorded one, or window 0 beyond
// the runs tried, any run found only there lies so far out that its sum is
// larger than the recorded best less D; otherwise the memo gives up.

#ifndef TESSEL_ENGINE_FARANCHORMEMO_H_
#define TESSEL_ENGINE_FARANCHORMEMO_H_

#include <array>
#include <cstdint>
#include <vector>

#include "LookAheadSlots.h"

namespace tessel {

struct AnchorMatch;
struct LongestSweepRecord;

// A count of slots for each window of a search.
using SlotCounts = std::array<std::int64_t, LookAheadSlots::kMaxSources>;

// Where each window of a search begins: the number of its first slot and
// the generation of the slots (LookAheadSlots::FirstSlot, Generation).
struct SlotFrame {
  std::array<std::int64_t, LookAheadSlots::kMaxSources> first{};
  std::array<std::uint64_t, LookAheadSlots::kMaxSources> generation{};
};

class FarAnchorMemo {
 public:
  enum class Verdict {
    kUnknown,   // the memo cannot tell: search in full
    kNoAnchor,  // the sweep with the longest anchors takes none
    kLongest,   // it takes the anchor given
  };

  // Forgets what was kept.
  void Forget() { kept_ = false; }

  // Keeps what a full search with the growing look-ahead's rules recorded
  // over windows of `sizes` characters starting at `frame`, if its sweep
  // with the longest anchors took one (else keeps what it had). Takes the
  // record's runs over.
  void Keep(const SlotFrame& frame, const SlotCounts& sizes, int n,
            LongestSweepRecord&& record);

  // For windows of `sizes` characters starting at `frame`, searched with
  // the growing look-ahead's rules (kAutoRules): what their sweep with the
  // longest anchors gives, when what was kept decides it. On kLongest,
  // `longest` holds that sweep's outcome (best, longest_best, offsets, in
  // packed bytes), for FinishAnchorSearch.
  Verdict Judge(const SlotFrame& frame, const SlotCounts& sizes, int n,
                AnchorMatch& longest) const;

  // How many judgments were not kUnknown, for tests and measurements.
  std::int64_t Answered() const { return answered_; }

  // The memory the kept runs take, in bytes.
  std::size_t BytesHeld() const {
    return everywhere_.capacity() * sizeof(std::int32_t);
  }

 private:
  // Whether some run that occurred everywhere lies wholly within windows
  // ending at `ends`, or one was walked past and might now.
  bool MayHoldAnchor(const SlotFrame& frame, const SlotCounts& ends) const;

  bool kept_ = false;
  mutable std::int64_t answered_ = 0;
  int n_ = 0;
  SlotFrame frame_;
  // Where each recorded window ended, in slots.
  SlotCounts ends_{};
  // The slot at which window 0's untried runs begin.
  std::int64_t tried_end_ = 0;
  // The anchor the sweep took: its sum in characters and its slots.
  std::int64_t best_ = 0;
  SlotCounts anchor_{};
  // The runs that occurred everywhere, as recorded (offsets from frame_).
  std::vector<std::int32_t> everywhere_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_FARANCHORMEMO_H_
