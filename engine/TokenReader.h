// The token reader: turns a Big5 source into character codes (see
// CharCodes.h), folding missing-character notations into single codes when
// folding is on, and copies stretches of a source back out.

#ifndef TESSEL_ENGINE_TOKENREADER_H_
#define TESSEL_ENGINE_TOKENREADER_H_

#include <cstddef>
#include <cstdint>

#include "CharCodes.h"
#include "NotationTable.h"
#include "OutputStream.h"
#include "SignSet.h"
#include "SourceStream.h"

namespace tessel {

class TokenReader {
 public:
  // Lookahead after an opener: "[" may close within 99 bytes (a notation of
  // at most 100 bytes), "&" within 19 (at most 20 bytes).
  static constexpr std::size_t kBracketLookahead = 99;
  static constexpr std::size_t kEntityLookahead = 19;

  // `notations` and `signs` must outlive the reader. `fold_notations` turns
  // notation folding on.
  TokenReader(NotationTable& notations, const SignSet& signs,
              bool fold_notations)
      : notations_(notations), signs_(signs), fold_notations_(fold_notations) {}

  // Reads the next character of `src` and returns its code, leaving `src`
  // right after the bytes the code stands for. Returns 0 at the end of the
  // source or at a 0x1A, which it consumes; a byte 0x80..0xFF at the very
  // end is dropped and also gives 0. A byte 0x80..0xFF followed by a line
  // feed, carriage return or 0x1A gives 256 + byte and leaves the follower
  // unread; followed by a NUL it gives 256 + byte and consumes the NUL.
  Code ReadToken(SourceStream& src) {
    const int x = src.Getc();
    if (x >= kFirstHighByte) {
      const int y = src.Getc();
      // Above 0x1A, y is none of the end, NUL, LF, CR or 0x1A.
      if (y > kEndOfFileByte)
        return static_cast<Code>(x) * 256 + static_cast<Code>(y);
      return ReadSpecialSecondByte(src, x, y);
    }
    if (x == SourceStream::kEnd || x == kEndOfFileByte) return kEndOfSource;
    if (fold_notations_ && (x == '[' || x == '&')) return ReadOpener(src, x);
    return kSingleByteBase + static_cast<Code>(x);
  }

  // Whether the comparison skips `code`.
  bool IsIgnored(Code code) const { return signs_.IsIgnored(code); }

  // The byte length of the notation `code` stands for.
  std::size_t TokenLength(Code code) const {
    return notations_.TokenLength(code);
  }

  // Writes the bytes that `code` stands for: one byte below 512, the
  // notation's stored text up to 32768, two bytes above. Returns the number
  // of bytes written.
  std::size_t WriteCodeText(Code code, OutputStream& out) const {
    if (IsDoubleByteCode(code)) {
      out.PutPair(static_cast<unsigned char>(code / 256),
                  static_cast<unsigned char>(code % 256));
      return 2;
    }
    if (IsSingleByteCode(code)) {
      out.Put(static_cast<unsigned char>(code % 256));
      return 1;
    }
    return WriteNotationText(code, out);
  }

  // Positions `src` at `start` and copies characters to `out` until the
  // characters copied that are not ignored, counted 2 each, reach `count`.
  // Ignored characters before and between the counted ones are copied,
  // those after the last are not; the end of the source stops the copy.
  // Leaves `src` after the last character read. Returns the number of bytes
  // written.
  std::size_t CopySource(SourceStream& src, std::int64_t start,
                         std::int64_t count, OutputStream& out);

  bool fold_notations() const { return fold_notations_; }
  const SignSet& signs() const { return signs_; }
  NotationTable& notations() const { return notations_; }

 private:
  Code ReadSpecialSecondByte(SourceStream& src, int first, int second);
  std::size_t WriteNotationText(Code code, OutputStream& out) const;
  Code ReadOpener(SourceStream& src, int opener);

  NotationTable& notations_;
  const SignSet& signs_;
  bool fold_notations_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_TOKENREADER_H_
