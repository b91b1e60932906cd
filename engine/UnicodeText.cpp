#include "UnicodeText.h"

#include <span>

#include "Cp950.h"
#include "UnicodeDecoder.h"
#include "UnicodeEncoder.h"

namespace tessel {

namespace {

constexpr unsigned char kFirstHigh = 0x80;

template <typename Visit>
void EachCharacter(std::string_view bytes, Encoding encoding, Visit visit) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  if (encoding == Encoding::kBig5) {
    while (p < end) {
      if (*p < kFirstHigh || p + 1 == end) {
        visit(DecodedChar{*p, 1, *p >= kFirstHigh});
        ++p;
        continue;
      }
      const auto code = static_cast<std::uint16_t>(p[0] << 8 | p[1]);
      const auto c = Cp950ToUnicode(code);
      visit(DecodedChar{c.value_or(code), 2, !c.has_value()});
      p += 2;
    }
    return;
  }
  p += ByteOrderMarkLength(encoding, {p, static_cast<std::size_t>(end - p)});
  while (p < end) {
    DecodedChar c = encoding == Encoding::kUtf8      ? DecodeUtf8(p, end)
                    : encoding == Encoding::kUtf16Le ? DecodeUtf16Le(p, end)
                                                     : DecodeUtf16Be(p, end);
    visit(c);
    p += c.length;
  }
}

}  // namespace

std::u32string DecodeText(std::string_view bytes, Encoding encoding) {
  std::u32string text;
  EachCharacter(bytes, encoding, [&](const DecodedChar& c) {
    text.push_back(c.raw ? kReplacementCharacter : c.value);
  });
  return text;
}

std::string EncodeText(std::u32string_view text, Encoding encoding) {
  std::string bytes;
  char buffer[kMaxEncodedLength];
  for (char32_t c : text) {
    bytes.append(buffer, EncodeScalar(c, encoding, buffer));
  }
  return bytes;
}

std::string ConvertText(std::string_view bytes, Encoding from, Encoding to) {
  return EncodeText(DecodeText(bytes, from), to);
}

std::string UnicodeSignsToBig5(std::string_view bytes, Encoding encoding,
                               bool spell_missing) {
  std::string big5;
  char buffer[kMaxEncodedLength];
  EachCharacter(bytes, encoding, [&](const DecodedChar& c) {
    if (c.raw) return;
    const bool in_page = c.value < kFirstHigh || UnicodeToCp950(c.value);
    if (!in_page && !spell_missing) return;
    big5.append(buffer, EncodeBig5(c.value, buffer));
  });
  return big5;
}

}  // namespace tessel
