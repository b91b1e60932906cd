#include "Big5Utf8.h"

#include <optional>

#include "Cp950.h"

namespace tessel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Every character of code page 950 lies in the Basic Multilingual Plane,
// so three bytes at most.
void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    const char bytes[] = {static_cast<char>(0xC0 | (c >> 6)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  } else {
    // One append, not three: the feed converts every character of a run.
    const char bytes[] = {static_cast<char>(0xE0 | (c >> 12)),
                          static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (c & 0x3F))};
    out.append(bytes, sizeof bytes);
  }
}

void AppendPair(unsigned char lead, unsigned char trail, std::string& out) {
  const std::optional<char32_t> c =
      Cp950ToUnicode(static_cast<std::uint16_t>(lead * 256u + trail));
  AppendUtf8(c.value_or(kReplacement), out);
}

}  // namespace

void AppendBig5AsUtf8(std::string_view bytes, std::string& out) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < kFirstHighByte) {
      out += static_cast<char>(b);
    } else if (IsCp950LeadByte(b) && i + 1 < bytes.size()) {
      AppendPair(b, static_cast<unsigned char>(bytes[i + 1]), out);
      ++i;
    } else {
      AppendUtf8(kReplacement, out);
    }
  }
}

void AppendReadBig5AsUtf8(std::string_view bytes, std::string& out) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < kFirstHighByte) {
      out += static_cast<char>(b);
      continue;
    }
    const int next =
        i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : -1;
    if (next == -1 || next == kLineFeedByte || next == kCarriageReturnByte ||
        next == kEndOfFileByte) {
      AppendUtf8(kReplacement, out);
    } else if (next == 0) {
      AppendUtf8(kReplacement, out);
      ++i;  // the reader swallows the NUL
    } else {
      AppendPair(b, static_cast<unsigned char>(next), out);
      ++i;
    }
  }
}

void AppendCodeAsUtf8(Code code, const NotationTable& notations,
                      std::string& out) {
  if (code == kEndOfSource) return;
  if (IsDoubleByteCode(code)) {
    AppendPair(static_cast<unsigned char>(code / 256),
               static_cast<unsigned char>(code % 256), out);
  } else if (IsSingleByteCode(code)) {
    const auto b = static_cast<unsigned char>(code % 256);
    AppendUtf8(b < kFirstHighByte ? b : kReplacement, out);
  } else if (const std::size_t index = NotationTable::IndexOfCode(code);
             NotationTable::CodeOfIndex(index) == code &&
             index < notations.size()) {
    AppendBig5AsUtf8(notations.NotationText(code), out);
  }
}

const std::array<CodeUtf8, kCodeLimit>& CodeUtf8Table() {
  static const std::array<CodeUtf8, kCodeLimit> table = [] {
    std::array<CodeUtf8, kCodeLimit> t{};
    const NotationTable no_notations;
    for (Code code = 0; code < kCodeLimit; ++code) {
      CodeUtf8& entry = t[code];
      entry.length = CodeUtf8::kNotACharacterCode;
      if (code == kEndOfSource ||
          !(IsDoubleByteCode(code) || IsSingleByteCode(code))) {
        continue;
      }
      std::string text;
      AppendCodeAsUtf8(code, no_notations, text);
      entry.length = static_cast<std::uint8_t>(text.size());
      text.copy(entry.bytes, sizeof entry.bytes);
    }
    return t;
  }();
  return table;
}

}  // namespace tessel
