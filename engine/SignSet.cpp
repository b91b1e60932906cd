#include "SignSet.h"

namespace tessel {

void SignSet::Clear() {
  words_.fill(0);
  ended_ = false;
}

void SignSet::Append(Code code) {
  if (ended_) return;
  if (code / 256 == 0 || code % 256 == 0) {
    // A zero byte would close the zero-terminated set here.
    ended_ = true;
    return;
  }
  words_[code / 64] |= std::uint64_t{1} << (code % 64);
}

void SignSet::LoadSignMemo(std::string_view text) {
  Clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < kFirstHighByte) {
      if (b != kLineFeedByte && b != kCarriageReturnByte) {
        Append(kSingleByteBase + b);
      }
    } else if (i + 1 < text.size()) {
      Append(b * 256u + static_cast<unsigned char>(text[++i]));
    }
  }
}

}  // namespace tessel
