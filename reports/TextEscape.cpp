#include "TextEscape.h"

#include <array>
#include <cstdio>

#include "UnicodeEncoder.h"

namespace tessel::reports {

namespace {

constexpr char32_t kLineSeparator = 0x2028;
constexpr char32_t kParagraphSeparator = 0x2029;
constexpr char32_t kFirstControlPicture = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstNonControl = 0x20;
constexpr char32_t kFirstNonCharacter = 0xFFFE;  // U+FFFE and U+FFFF
constexpr char32_t kLastNonCharacter = 0xFFFF;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr unsigned char kFirstCjkLead = 0xE3;
constexpr unsigned char kLastCjkLead = 0xE9;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// What each ASCII byte is written as in one format; empty where the byte
// stands for itself.
using AsciiEscapes = std::array<std::string, 0x80>;

std::string Utf8Of(char32_t c) {
  char buffer[kMaxEncodedLength];
  return std::string(buffer, EncodeUtf8(c, buffer));
}

std::string Hex(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

const AsciiEscapes& JsonEscapes() {
  static const AsciiEscapes escapes = [] {
    AsciiEscapes e;
    for (unsigned c = 0; c < kFirstNonControl; ++c) e[c] = Hex("\\u%04x", c);
    e['<'] = Hex("\\u%04x", '<');
    e['"'] = "\\\"";
    e['\\'] = "\\\\";
    e['\n'] = "\\n";
    e['\t'] = "\\t";
    return e;
  }();
  return escapes;
}

const AsciiEscapes& HtmlEscapes() {
  static const AsciiEscapes escapes = [] {
    AsciiEscapes e;
    // A browser shows nothing for a control character: its picture shows.
    for (unsigned c = 0; c < kFirstNonControl; ++c) {
      if (c != '\t' && c != '\n') e[c] = Utf8Of(kFirstControlPicture + c);
    }
    e[kDelete] = Utf8Of(kDeletePicture);
    e['&'] = "&amp;";
    e['<'] = "&lt;";
    e['>'] = "&gt;";
    e['"'] = "&quot;";
    e['\''] = "&#39;";
    return e;
  }();
  return escapes;
}

const AsciiEscapes& XmlEscapes() {
  static const AsciiEscapes escapes = [] {
    AsciiEscapes e;
    for (unsigned c = 0; c < kFirstNonControl; ++c) {
      if (c != '\n') e[c] = std::string(kReplacementUtf8);
    }
    // A parser would turn a literal tab or carriage return into a blank or
    // a line feed; a reference keeps it.
    e['\t'] = Hex("&#x%X;", '\t');
    e['\r'] = Hex("&#x%X;", '\r');
    e['&'] = "&amp;";
    e['<'] = "&lt;";
    e['>'] = "&gt;";
    e['"'] = "&quot;";
    return e;
  }();
  return escapes;
}

// Writes `text`, each ASCII byte as `ascii` says, each ill-formed byte as
// U+FFFD, and each other character as `wide` writes it into its second
// argument, or as it is where `wide` returns false. Whatever needs no
// escaping is written a stretch at a time.
template <typename Out, typename Wide>
void WriteEscaped(std::string_view text, const AsciiEscapes& ascii, Out& out,
                  Wide wide) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  const unsigned char* kept = begin;  // the start of the stretch as it is
  const auto write_kept = [&](const unsigned char* to) {
    if (to > kept) {
      out.Write({reinterpret_cast<const char*>(kept),
                 static_cast<std::size_t>(to - kept)});
    }
  };
  std::string scratch;
  for (const unsigned char* p = begin; p < end;) {
    if (*p < 0x80) {
      const std::string& escape = ascii[*p];
      if (escape.empty()) {
        ++p;
        continue;
      }
      write_kept(p);
      out.Write(escape);
      kept = ++p;
      continue;
    }
    // Most text is CJK: U+3000..U+9FFF, lead bytes E3..E9, well-formed
    // with any two continuation bytes, and escaped by no format.
    if (*p >= kFirstCjkLead && *p <= kLastCjkLead && end - p >= 3 &&
        IsContinuation(p[1]) && IsContinuation(p[2])) {
      p += 3;
      continue;
    }
    const DecodedChar c = DecodeUtf8(p, end);
    if (c.raw) {
      write_kept(p);
      out.Write(kReplacementUtf8);
      kept = p += c.length;
      continue;
    }
    scratch.clear();
    if (wide(c.value, scratch)) {
      write_kept(p);
      out.Write(scratch);
      kept = p + c.length;
    }
    p += c.length;
  }
  write_kept(end);
}

}  // namespace

std::size_t CountCodePoints(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    pos += DecodeAt(text, pos).length;
  }
  return count;
}

namespace {

// Appends what is written to a string.
struct StringOut {
  std::string& text;
  void Write(std::string_view more) { text.append(more); }
};

template <typename Out>
void WriteJsonContent(std::string_view text, Out& out) {
  WriteEscaped(text, JsonEscapes(), out, [](char32_t c, std::string& s) {
    if (c != kLineSeparator && c != kParagraphSeparator) return false;
    s = Hex("\\u%04x", static_cast<unsigned>(c));
    return true;
  });
}

}  // namespace

void WriteJsonString(std::string_view text, OutputStream& out) {
  out.Put('"');
  WriteJsonContent(text, out);
  out.Put('"');
}

void AppendJsonStringContent(std::string_view text, std::string& out) {
  StringOut string_out{out};
  WriteJsonContent(text, string_out);
}

void WriteHtmlText(std::string_view text, OutputStream& out) {
  WriteEscaped(text, HtmlEscapes(), out,
               [](char32_t, std::string&) { return false; });
}

void WriteXmlText(std::string_view text, OutputStream& out) {
  WriteEscaped(text, XmlEscapes(), out, [](char32_t c, std::string& s) {
    if (c < kFirstNonCharacter || c > kLastNonCharacter) return false;
    s = kReplacementUtf8;
    return true;
  });
}

}  // namespace tessel::reports
