#include "TextEscape.h"

#include <cstdio>

namespace tessel::reports {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kLineSeparator = 0x2028;
constexpr char32_t kParagraphSeparator = 0x2029;
constexpr char32_t kFirstControlPicture = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kFirstNonCharacter = 0xFFFE;  // U+FFFE and U+FFFF

// Writes each code point of `text` through `escape`, which returns false
// for a code point that needs no escaping; such code points are copied as
// their original bytes, and ill-formed bytes as U+FFFD.
template <typename Escape>
void WriteEscaped(std::string_view text, OutputStream& out, Escape escape) {
  std::string scratch;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp;
    const std::size_t length = DecodeUtf8(text, pos, &cp);
    scratch.clear();
    if (escape(cp, scratch)) {
      out.Write(scratch);
    } else if (cp == kReplacementCharacter && length == 1) {
      AppendUtf8(kReplacementCharacter, scratch);
      out.Write(scratch);
    } else {
      out.Write(text.substr(pos, length));
    }
    pos += length;
  }
}

void AppendHex(const char* format, char32_t cp, std::string& out) {
  char text[16];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(cp));
  out += text;
}

}  // namespace

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t* cp) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(pos);
  *cp = kReplacementCharacter;
  if (lead < 0x80) {
    *cp = lead;
    return 1;
  }
  std::size_t length;
  char32_t value;
  char32_t least;  // the smallest value this length may encode
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 1;
  }
  if (text.size() - pos < length) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return 1;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > kLastCodePoint ||
      (value >= kFirstSurrogate && value <= kLastSurrogate)) {
    return 1;
  }
  *cp = value;
  return length;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t CountCodePoints(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    char32_t cp;
    pos += DecodeUtf8(text, pos, &cp);
  }
  return count;
}

void WriteJsonString(std::string_view text, OutputStream& out) {
  out.Put('"');
  WriteEscaped(text, out, [](char32_t cp, std::string& s) {
    switch (cp) {
      case '"':
        s = "\\\"";
        return true;
      case '\\':
        s = "\\\\";
        return true;
      case '\n':
        s = "\\n";
        return true;
      case '\t':
        s = "\\t";
        return true;
      default:
        break;
    }
    if (cp < 0x20 || cp == '<' || cp == kLineSeparator ||
        cp == kParagraphSeparator) {
      AppendHex("\\u%04x", cp, s);
      return true;
    }
    return false;
  });
  out.Put('"');
}

void WriteHtmlText(std::string_view text, OutputStream& out) {
  WriteEscaped(text, out, [](char32_t cp, std::string& s) {
    switch (cp) {
      case '&':
        s = "&amp;";
        return true;
      case '<':
        s = "&lt;";
        return true;
      case '>':
        s = "&gt;";
        return true;
      case '"':
        s = "&quot;";
        return true;
      case '\'':
        s = "&#39;";
        return true;
      case '\t':
      case '\n':
        return false;
      default:
        break;
    }
    if (cp < 0x20) {
      AppendUtf8(kFirstControlPicture + cp, s);
      return true;
    }
    if (cp == kDelete) {
      AppendUtf8(kDeletePicture, s);
      return true;
    }
    return false;
  });
}

void WriteXmlText(std::string_view text, OutputStream& out) {
  WriteEscaped(text, out, [](char32_t cp, std::string& s) {
    switch (cp) {
      case '&':
        s = "&amp;";
        return true;
      case '<':
        s = "&lt;";
        return true;
      case '>':
        s = "&gt;";
        return true;
      case '"':
        s = "&quot;";
        return true;
      case '\t':
      case '\r':
        AppendHex("&#x%X;", cp, s);
        return true;
      case '\n':
        return false;
      default:
        break;
    }
    if (cp < 0x20 || (cp >= kFirstNonCharacter && cp <= 0xFFFF)) {
      AppendUtf8(kReplacementCharacter, s);
      return true;
    }
    return false;
  });
}

}  // namespace tessel::reports
