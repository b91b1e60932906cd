#include "VariantTableFile.h"

#include "CharCodes.h"
#include "UnicodeDecoder.h"

namespace tessel {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kTab = 0x09;
constexpr char32_t kSpace = 0x20;
constexpr char32_t kIdeographicSpace = 0x3000;
constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kCommentMark = '#';

enum class Encoding { kUtf8, kBig5 };

unsigned char ByteAt(std::string_view bytes, std::size_t pos) {
  return static_cast<unsigned char>(bytes[pos]);
}

// Decodes the UTF-8 character at `pos` into `c` and moves `pos` past it.
// Refuses what the engine's reader takes as a raw byte (overlong forms,
// surrogates, values above U+10FFFF), so that every character has one
// spelling.
bool NextUtf8(std::string_view bytes, std::size_t& pos, char32_t& c) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + pos;
  const DecodedChar decoded = DecodeUtf8(
      p, reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size());
  if (decoded.raw) return false;
  c = decoded.value;
  pos += decoded.length;
  return true;
}

bool IsCp950TrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

// Decodes the code page 950 character at `pos`: a byte below 0x80 is
// itself, a lead byte with a trail byte is looked up.
bool NextBig5(std::string_view bytes, std::size_t& pos, Cp950Decoder cp950,
              char32_t& c) {
  const unsigned char lead = ByteAt(bytes, pos);
  if (lead < kFirstHighByte) {
    c = lead;
    ++pos;
    return true;
  }
  if (!IsCp950LeadByte(lead) || pos + 1 >= bytes.size() ||
      !IsCp950TrailByte(ByteAt(bytes, pos + 1))) {
    return false;
  }
  c = cp950(static_cast<std::uint16_t>(lead * 256 + ByteAt(bytes, pos + 1)));
  pos += 2;
  return c != 0;
}

// A byte order mark inside a file (files joined together) is invisible:
// taking it for a member would make it equal to a real character.
bool IsBlank(char32_t c) {
  return c == kSpace || c == kTab || c == kIdeographicSpace ||
         c == kByteOrderMark;
}

bool IsRefusedControl(char32_t c) { return c < kSpace || c == kDelete; }

// The line being read: its members so far and whether a comment has begun.
struct LineState {
  std::size_t number = 1;
  std::size_t class_start = 0;  // where this line's members begin in `out`
  bool in_comment = false;
  bool after_blank = true;  // the start of a line counts as after a blank
};

// Ends the line: keeps its members as a class when there are two or more.
void EndLine(LineState& line, std::vector<char32_t>& members) {
  if (members.size() - line.class_start >= 2) {
    members.push_back(0);
  } else {
    members.resize(line.class_start);
  }
  line.class_start = members.size();
  line.in_comment = false;
  line.after_blank = true;
}

}  // namespace

bool LooksLikeUtf8(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) return true;
  std::size_t pos = 0;
  char32_t c;
  while (pos < bytes.size()) {
    if (!NextUtf8(bytes, pos, c)) return false;
  }
  return true;
}

namespace {

VariantTableError ReadAs(Encoding encoding, std::string_view bytes,
                         Cp950Decoder cp950, VariantClassList& out) {
  out.members.clear();
  std::size_t pos =
      bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  LineState line;
  auto fail = [&](VariantTableError::Kind kind) {
    out.members.clear();
    return VariantTableError{kind, "", line.number};
  };
  while (pos < bytes.size()) {
    char32_t c;
    const bool decoded = encoding == Encoding::kUtf8
                             ? NextUtf8(bytes, pos, c)
                             : NextBig5(bytes, pos, cp950, c);
    if (!decoded) return fail(VariantTableError::Kind::kBadEncoding);
    // A 0x1A ends the file, as it ends a source.
    if (c == kEndOfFileByte) break;
    if (c == kLineFeedByte || c == kCarriageReturnByte) {
      if (c == kCarriageReturnByte && pos < bytes.size() &&
          ByteAt(bytes, pos) == kLineFeedByte) {
        ++pos;
      }
      EndLine(line, out.members);
      ++line.number;
      continue;
    }
    if (line.in_comment) continue;
    if (IsBlank(c)) {
      line.after_blank = true;
    } else if (IsRefusedControl(c)) {
      return fail(VariantTableError::Kind::kControlCharacter);
    } else if (c == kCommentMark && line.after_blank) {
      line.in_comment = true;
    } else {
      out.members.push_back(c);
      line.after_blank = false;
    }
  }
  EndLine(line, out.members);
  return {};
}

}  // namespace

VariantTableError ReadVariantClasses(std::string_view bytes, Cp950Decoder cp950,
                                     VariantClassList& out) {
  if (LooksLikeUtf8(bytes) || cp950 == nullptr) {
    return ReadAs(Encoding::kUtf8, bytes, cp950, out);
  }
  VariantTableError error = ReadAs(Encoding::kBig5, bytes, cp950, out);
  if (error.kind == VariantTableError::Kind::kBadEncoding) {
    // Neither reading works. A UTF-8 file with one stray byte fails as
    // Big5 at once, so name the line where the reading that went further
    // stopped: that is where the user should look.
    VariantClassList unused;
    const VariantTableError as_utf8 =
        ReadAs(Encoding::kUtf8, bytes, cp950, unused);
    if (as_utf8.line > error.line) error = as_utf8;
  }
  return error;
}

}  // namespace tessel
