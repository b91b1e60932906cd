// The ignored-symbol set: the characters besides the control bytes that the
// comparison skips in every source.
//
// The set is the ordered list of packed codes read from an ignored-symbol
// file (SignFile.h) or from the memo text. A code is in the set when one entry
// equals its packed form whole. An entry holding a zero byte ends the set as a
// zero-terminated string would: entries after it are never found. The set
// answers from a table over all 65,536 codes, built as the entries arrive.

#ifndef TESSEL_ENGINE_SIGNSET_H_
#define TESSEL_ENGINE_SIGNSET_H_

#include <array>
#include <cstdint>
#include <string_view>

#include "CharCodes.h"

namespace tessel {

// The symbols that the default button puts in front of the memo: a space, a
// full-width space (A1 40), the digits, "T", "n", "_", "p", "a", "b", "c"
// and the double bar (F9 F8), in two lines.
inline constexpr std::string_view kDefaultSigns =
    " \xA1\x40"
    "0123456789\n"
    "Tn_pabc\xF9\xF8\n";

class SignSet {
 public:
  SignSet() = default;

  // Whether the comparison skips `code`: always for the end (0) and the
  // control bytes 256..287, otherwise when the code is in the set.
  bool IsIgnored(Code code) const {
    return code <= kLastControl ||
           ((words_[code / 64] >> (code % 64)) & 1) != 0;
  }

  // Empties the set.
  void Clear();

  // Builds the set from the memo's text, lines separated by CR LF. A byte
  // below 0x80 is one symbol (line ends skipped); a byte of 0x80 or above
  // is a symbol together with the byte after it. Nothing is folded.
  void LoadSignMemo(std::string_view text);

  // Appends one entry, packed as (code / 256, code % 256).
  void Append(Code code);

 private:
  // One bit per code.
  std::array<std::uint64_t, kCodeLimit / 64> words_{};
  bool ended_ = false;  // an entry with a zero byte has closed the set
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_SIGNSET_H_
