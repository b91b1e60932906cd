#include "CharacterNotation.h"

#include "UnicodeDecoder.h"

namespace tessel {

namespace {

constexpr std::size_t kMaxHexDigits = 6;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsX(char c) { return c == 'x' || c == 'X'; }

std::optional<char32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxHexDigits) return std::nullopt;
  char32_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<char32_t>(d);
  }
  return value;
}

std::optional<char32_t> ParseDecimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  char32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<char32_t>(c - '0');
    // Stop before the value could wrap; it is no character already.
    if (value > kLastScalarValue) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<char32_t> ParseCharacterNotation(std::string_view text) {
  if (text.size() < 2 || text.front() != '&' || text.back() != ';') {
    return std::nullopt;
  }
  const std::string_view body = text.substr(1, text.size() - 2);
  std::optional<char32_t> value;
  if (body.size() >= 2 && IsX(body[0]) && body[1] == '-') {
    value = ParseHex(body.substr(2));
  } else if (body.size() >= 2 && body[0] == '#' && IsX(body[1])) {
    value = ParseHex(body.substr(2));
  } else if (!body.empty() && body[0] == '#') {
    value = ParseDecimal(body.substr(1));
  }
  if (!value || !IsScalarValue(*value)) return std::nullopt;
  return value;
}

}  // namespace tessel
