// The UTF-8 and UTF-16 readers over arbitrary bytes: every character is 1
// to 4 bytes, a raw one stands for a byte or an unpaired surrogate and any
// other for a scalar value, and writing each back gives the bytes again.
// Every scalar value read also survives Big5: its two bytes read back as it,
// or its &x-HHHH; names it. Detection only has to finish.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CharacterNotation.h"
#include "Cp950.h"
#include "DisplayWidth.h"
#include "Encoding.h"
#include "FuzzSupport.h"
#include "UnicodeDecoder.h"
#include "UnicodeEncoder.h"

namespace tessel::fuzz {
namespace {

using Decoder = DecodedChar (*)(const unsigned char*, const unsigned char*);

void CheckBig5(char32_t c) {
  char out[kMaxEncodedLength];
  const std::size_t n = EncodeBig5(c, out);
  const std::string_view text(out, n);
  const auto code = [&] {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                      static_cast<unsigned char>(out[1]));
  };
  const bool back = n == 1   ? static_cast<unsigned char>(out[0]) == c
                    : n == 2 ? Cp950ToUnicode(code()) == c
                             : ParseCharacterNotation(text) == c;
  if (!back) Fail("U+" + std::to_string(c) + " does not survive Big5");
}

void ReadAll(std::string_view bytes, Encoding encoding, Decoder decode) {
  const std::string context(EncodingName(encoding));
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  std::string back;
  while (p < end) {
    const DecodedChar c = decode(p, end);
    if (c.length < 1 || c.length > kMaxUnicodeCharLength ||
        c.length > end - p) {
      Fail(context + ": a character of " + std::to_string(c.length) + " bytes");
    }
    if (c.raw ? (c.length == 1 ? c.value > 0xFF : !IsSurrogate(c.value))
              : !IsScalarValue(c.value)) {
      Fail(context + ": value " + std::to_string(c.value) + " at " +
           std::to_string(
               p - reinterpret_cast<const unsigned char*>(bytes.data())));
    }
    if (!c.raw) CheckBig5(c.value);
    char out[kMaxEncodedLength];
    const std::size_t n = EncodeDecoded(c, encoding, out);
    if (n != c.length) Fail(context + ": written back in another length");
    back.append(out, n);
    p += c.length;
  }
  if (back != bytes) Fail(context + ": the bytes do not come back");
}

}  // namespace
}  // namespace tessel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace tessel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::ReadAll(bytes, Encoding::kUtf8, DecodeUtf8);
  fuzz::ReadAll(bytes, Encoding::kUtf16Le, DecodeUtf16Le);
  fuzz::ReadAll(bytes, Encoding::kUtf16Be, DecodeUtf16Be);
  DetectEncoding(std::span(data, size));
  DisplayWidth(bytes);
  return 0;
}
