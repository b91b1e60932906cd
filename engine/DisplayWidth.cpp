#include "DisplayWidth.h"

namespace tessel {

std::size_t DisplayWidth(std::string_view utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  std::size_t width = 0;
  while (p < end) {
    const DecodedChar c = DecodeUtf8(p, end);
    width += c.raw ? 1 : CharacterColumns(c.value);
    p += c.length;
  }
  return width;
}

std::size_t PadToColumns(std::string& utf8, std::size_t columns) {
  const std::size_t blanks = PaddingBlanks(DisplayWidth(utf8), columns);
  utf8.append(blanks, ' ');
  return blanks;
}

}  // namespace tessel
