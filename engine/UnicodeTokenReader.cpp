#include "UnicodeTokenReader.h"

#include <cstring>
#include <span>

#include "CharacterNotation.h"
#include "Cp950.h"
#include "DisplayWidth.h"
#include "UnicodeDecoder.h"
#include "UnicodeEncoder.h"
#include "UnicodeSignSet.h"
#include "UnicodeStreamReader.h"
#include "UnicodeText.h"

namespace tessel {

namespace {

// The look-ahead after an opener, in characters, and the bytes that hold it.
constexpr std::size_t kMostUtfNotationBytes =
    (1 + TokenReader::kBracketLookahead) * kMaxUnicodeCharLength;

DecodedChar DecodeAt(Encoding encoding, const unsigned char* p,
                     const unsigned char* end) {
  switch (encoding) {
    case Encoding::kUtf16Le:
      return DecodeUtf16Le(p, end);
    case Encoding::kUtf16Be:
      return DecodeUtf16Be(p, end);
    default:
      return DecodeUtf8(p, end);
  }
}

}  // namespace

UnicodeTokenReader::UnicodeTokenReader(Encoding encoding,
                                       NotationTable& notations,
                                       bool fold_notations)
    : encoding_(encoding),
      notations_(notations),
      fold_(fold_notations),
      big5_reader_(big5_notations_, no_signs_, fold_notations) {}

Key UnicodeTokenReader::ReadKey(SourceStream& src) {
  if (encoding_ == Encoding::kUtf8) {
    // Most characters of a Chinese text, taken before anything else: such
    // a character is never raw and never an opener, so ReadUtf would read
    // it just so. A rule that looks at more characters must come first.
    const std::span<const unsigned char> bytes =
        src.Peek(kMaxUnicodeCharLength);
    const unsigned char* const p = bytes.data();
    if (bytes.size() >= kMaxUnicodeCharLength &&
        IsWholeCommonThreeByteUtf8(p, p + bytes.size())) {
      const DecodedChar c = DecodeUtf8(p, p + bytes.size());
      last_.kind = Kind::kCharacter;
      last_.value = c.value;
      last_.length = c.length;
      last_.byte_count = c.length;
      std::memcpy(last_.bytes, p, kMaxUnicodeCharLength);
      src.Skip(c.length);
      return CharacterKey(c.value);
    }
  }
  return encoding_ == Encoding::kBig5 ? ReadBig5(src) : ReadUtf(src);
}

Key UnicodeTokenReader::TakeNotation(const std::string& text,
                                     std::int64_t length) {
  const std::ptrdiff_t index = notations_.InternUnicodeNotation(text);
  if (index < 0) return kEndOfSource;
  last_ = Token{};
  last_.kind = Kind::kNotation;
  last_.value = static_cast<char32_t>(index);
  last_.length = length;
  // The stored form decides, so that every spelling of one entry compares
  // alike.
  const auto named = ParseCharacterNotation(
      notations_.TextAt(static_cast<std::size_t>(index)));
  return named ? CharacterKey(*named)
               : NotationKey(static_cast<std::size_t>(index));
}

Key UnicodeTokenReader::ReadUtfNotation(SourceStream& src, char32_t opener) {
  const char32_t closer = opener == '[' ? ']' : ';';
  const std::size_t limit = opener == '[' ? TokenReader::kBracketLookahead
                                          : TokenReader::kEntityLookahead;
  const std::span<const unsigned char> bytes = src.Peek(kMostUtfNotationBytes);
  const unsigned char* p = bytes.data();
  const unsigned char* const end = p + bytes.size();
  std::string text;
  char buffer[kMaxEncodedLength];
  DecodedChar c = DecodeAt(encoding_, p, end);
  text.append(buffer, EncodeUtf8(c.value, buffer));
  p += c.length;
  for (std::size_t n = 0; n < limit && p < end; ++n) {
    c = DecodeAt(encoding_, p, end);
    // A raw character could not be written back from UTF-8 text.
    if (c.raw || c.value == 0 || c.value == opener) return kEndOfSource;
    text.append(buffer, EncodeUtf8(c.value, buffer));
    p += c.length;
    if (c.value == closer) {
      const auto length = static_cast<std::int64_t>(p - bytes.data());
      const Key key = TakeNotation(text, length);
      if (key != kEndOfSource) src.Skip(static_cast<std::size_t>(length));
      return key;
    }
    if (c.value == 0x0A) break;
  }
  return kEndOfSource;
}

Key UnicodeTokenReader::ReadUtf(SourceStream& src) {
  std::span<const unsigned char> bytes = src.Peek(kMaxUnicodeCharLength);
  if (bytes.empty()) {
    last_ = Token{};
    return kEndOfSource;
  }
  // UTF-8 first, so that its decoder's fast paths are taken inline.
  const DecodedChar c =
      encoding_ == Encoding::kUtf8
          ? DecodeUtf8(bytes.data(), bytes.data() + bytes.size())
          : DecodeAt(encoding_, bytes.data(), bytes.data() + bytes.size());
  if (fold_ && !c.raw && (c.value == '[' || c.value == '&')) {
    if (const Key key = ReadUtfNotation(src, c.value); key != kEndOfSource) {
      return key;
    }
    // The notation's longer look may have moved the buffer.
    bytes = src.Peek(kMaxUnicodeCharLength);
  }
  last_.kind = c.raw ? Kind::kRaw : Kind::kCharacter;
  last_.value = c.value;
  last_.length = c.length;
  last_.byte_count = c.length;
  // A copy of fixed length is a single move; bytes past the character are
  // never written out.
  if (bytes.size() >= kMaxUnicodeCharLength) {
    std::memcpy(last_.bytes, bytes.data(), kMaxUnicodeCharLength);
  } else {
    std::memcpy(last_.bytes, bytes.data(), c.length);
  }
  src.Skip(c.length);
  return c.raw ? RawKey(encoding_, c.value) : CharacterKey(c.value);
}

Key UnicodeTokenReader::ReadBig5(SourceStream& src) {
  const std::int64_t start = src.Tell();
  const Code code = big5_reader_.ReadToken(src);
  last_ = Token{};
  if (code == kEndOfSource) return kEndOfSource;
  last_.length = src.Tell() - start;
  if (IsNotationCode(code)) {
    const std::string& big5 = big5_notations_.NotationText(code);
    // A notation that holds a code the page lacks could not be written
    // back from UTF-8: its opener is then an ordinary character.
    const std::string utf8 =
        ConvertText(big5, Encoding::kBig5, Encoding::kUtf8);
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos) {
      const Key key = TakeNotation(utf8, last_.length);
      if (key != kEndOfSource) return key;
    }
    src.Seek(start + 1);
    last_ = Token{};
    last_.length = 1;
    last_.kind = Kind::kCharacter;
    last_.value = static_cast<unsigned char>(big5.front());
    last_.byte_count = 1;
    last_.bytes[0] = static_cast<unsigned char>(big5.front());
    return CharacterKey(last_.value);
  }
  if (IsDoubleByteCode(code)) {
    last_.byte_count = 2;
    last_.bytes[0] = static_cast<unsigned char>(code >> 8);
    last_.bytes[1] = static_cast<unsigned char>(code & 0xFF);
    const auto c = Cp950ToUnicode(static_cast<std::uint16_t>(code));
    last_.kind = c ? Kind::kCharacter : Kind::kRaw;
    last_.value = c.value_or(code);
    return c ? CharacterKey(*c) : RawKey(Encoding::kBig5, code);
  }
  const auto b = static_cast<unsigned char>(code - kSingleByteBase);
  // A high byte that swallowed a NUL stood for both; both go back out.
  last_.byte_count = static_cast<std::uint8_t>(last_.length);
  last_.bytes[0] = b;
  last_.bytes[1] = 0;
  last_.value = b;
  if (b < kFirstHighByte) {
    last_.kind = Kind::kCharacter;
    return CharacterKey(b);
  }
  last_.kind = Kind::kRaw;
  return RawKey(Encoding::kBig5, b);
}

std::size_t UnicodeTokenReader::WriteLast(OutputStream& out,
                                          Encoding encoding) const {
  char buffer[kMaxEncodedLength];
  switch (last_.kind) {
    case Kind::kEnd:
      return 0;
    case Kind::kNotation: {
      const std::string& text = notations_.TextAt(last_.value);
      if (encoding == Encoding::kUtf8) {
        out.Write(text);
        return DisplayWidth(text);
      }
      out.Write(ConvertText(text, Encoding::kUtf8, encoding));
      return DisplayWidth(text);
    }
    case Kind::kRaw:
      if (encoding != encoding_) {
        out.Write(
            {buffer, EncodeScalar(kReplacementCharacter, encoding, buffer)});
        return CharacterColumns(kReplacementCharacter);
      }
      break;
    case Kind::kCharacter:
      if (encoding != encoding_) {
        out.Write({buffer, EncodeScalar(last_.value, encoding, buffer)});
        return CharacterColumns(last_.value);
      }
      break;
  }
  out.Write({reinterpret_cast<const char*>(last_.bytes), last_.byte_count});
  return last_.kind == Kind::kRaw ? 1 : CharacterColumns(last_.value);
}

std::size_t UnicodeTokenReader::CopySpan(SourceStream& src, std::int64_t start,
                                         std::int64_t count,
                                         const UnicodeSignSet& signs,
                                         OutputStream& out, Encoding encoding) {
  src.Seek(start);
  std::size_t columns = 0;
  std::int64_t n = 0;
  while (n < count) {
    const Key key = ReadKey(src);
    if (key == kEndOfSource) break;
    if (!signs.IsIgnored(key)) n += 2;
    columns += WriteLast(out, encoding);
  }
  return columns;
}

}  // namespace tessel
