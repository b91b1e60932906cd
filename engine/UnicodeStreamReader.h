// Reading a UTF-8 or UTF-16 source character by character through its
// SourceStream buffer, with the rules of UnicodeDecoder.h: the stream is
// only ever peeked at and moved past whole characters, so a character that
// straddles the end of the buffer is read as if the source were one piece.

#ifndef TESSEL_ENGINE_UNICODESTREAMREADER_H_
#define TESSEL_ENGINE_UNICODESTREAMREADER_H_

#include "Encoding.h"
#include "SourceStream.h"
#include "UnicodeDecoder.h"

namespace tessel {

// Reads the next character of `src`, stores it in `*c` and leaves `src`
// right after its bytes. Returns false, leaving `src` where it stood, at the
// end of the source or when a read fails (src.Error() tells them apart).
// Big5 sources are read by TokenReader instead.
template <Encoding kEncoding>
inline bool ReadUnicodeChar(SourceStream& src, DecodedChar* c) {
  static_assert(kEncoding != Encoding::kBig5, "Big5 is read by TokenReader");
  const std::span<const unsigned char> bytes = src.Peek(kMaxUnicodeCharLength);
  if (bytes.empty()) return false;
  const unsigned char* const p = bytes.data();
  const unsigned char* const end = p + bytes.size();
  if constexpr (kEncoding == Encoding::kUtf8) {
    *c = DecodeUtf8(p, end);
  } else if constexpr (kEncoding == Encoding::kUtf16Le) {
    *c = DecodeUtf16Le(p, end);
  } else {
    *c = DecodeUtf16Be(p, end);
  }
  src.Skip(c->length);
  return true;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODESTREAMREADER_H_
