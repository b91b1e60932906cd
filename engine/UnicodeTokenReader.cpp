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
      big5_reader_(big5_notations_, no_signs_, fold_notations) {
  UpdateInlineReading();
}

Key UnicodeTokenReader::ReadKeyInFull(SourceStream& src) {
  const Key key = ReadPlain(src);
  if (notes_ != nullptr && !reading_note_ && last_.kind == Kind::kCharacter &&
      last_.value == kNoteOpen) {
    const std::int64_t start = src.Tell() - last_.length;
    if (const Key note = ReadNote(src, start); note != kEndOfSource) {
      return note;
    }
  }
  return key;
}

Key UnicodeTokenReader::ReadPlain(SourceStream& src) {
  // ReadKey has already tried the common characters inline.
  return encoding_ == Encoding::kBig5 ? ReadBig5(src) : ReadUtf(src);
}

void UnicodeTokenReader::SetIgnoredStretches(
    const std::vector<IgnoredStretch>& stretches) {
  stretch_keys_.clear();
  if (encoding_ == Encoding::kBig5) {
    big5_reader_.SetIgnoredStretches(stretches);
    return;
  }
  for (const IgnoredStretch& stretch : stretches) {
    std::u32string open, close;
    for (char32_t c : DecodeText(stretch.open, Encoding::kBig5)) {
      open.push_back(CharacterKey(c));
    }
    for (char32_t c : DecodeText(stretch.close, Encoding::kBig5)) {
      close.push_back(CharacterKey(c));
    }
    if (!open.empty() && !close.empty())
      stretch_keys_.emplace_back(open, close);
  }
  UpdateInlineReading();
}

void UnicodeTokenReader::SetUnorderedNotes(NoteTable* notes,
                                           const UnicodeSignSet* signs) {
  notes_ = notes;
  note_signs_ = signs;
}

void UnicodeTokenReader::TakeText(SourceStream& src, std::int64_t start) {
  const std::int64_t end = src.Tell();
  src.Seek(start);
  text_.clear();
  for (std::int64_t i = start; i < end; ++i) {
    text_.push_back(static_cast<char>(src.Getc()));
  }
  last_ = Token{};
  last_.kind = Kind::kText;
  last_.length = end - start;
}

Key UnicodeTokenReader::ReadNote(SourceStream& src, std::int64_t start) {
  const std::int64_t after_open = src.Tell();
  halves_.Clear();
  reading_note_ = true;
  bool closed = false;
  for (;;) {
    const Key key = ReadKey(src);
    if (key == kEndOfSource ||
        src.Tell() - start >
            static_cast<std::int64_t>(TokenReader::kStretchLookahead)) {
      break;
    }
    if (last_.kind == Kind::kCharacter) {
      const char32_t c = last_.value;
      if (c == 0x0A || c == 0x0D || c == 0 || c == kNoteOpen) break;
      if (c == kNoteClose) {
        closed = halves_.complete();
        break;
      }
      if (c == kNoteSeparator) {
        if (!halves_.AddSeparator()) break;
        continue;
      }
    }
    if (!note_signs_->IsIgnored(key)) halves_.AddKey(key);
  }
  reading_note_ = false;
  const std::ptrdiff_t index =
      closed ? notes_->Intern(halves_.CanonicalKey()) : -1;
  if (index < 0) {
    // The "(" stays the token read last.
    src.Seek(start);
    ReadPlain(src);
    if (src.Tell() != after_open) src.Seek(after_open);
    return kEndOfSource;
  }
  TakeText(src, start);
  return kNoteKeyBase + static_cast<Key>(index);
}

bool UnicodeTokenReader::OpensStretch(Key key) const {
  for (const auto& [open, close] : stretch_keys_) {
    if (!open.empty() && open.front() == key) return true;
  }
  return false;
}

Key UnicodeTokenReader::ReadUtfStretch(SourceStream& src) {
  const std::span<const unsigned char> bytes =
      src.Peek(TokenReader::kStretchLookahead);
  const unsigned char* const begin = bytes.data();
  const unsigned char* const end = begin + bytes.size();
  // The keys of the characters from `p` on match `keys`; returns the end of
  // the match, or nullptr.
  const auto match = [&](const unsigned char* p,
                         const std::u32string& keys) -> const unsigned char* {
    for (char32_t want : keys) {
      if (p >= end) return nullptr;
      const DecodedChar c = DecodeAt(encoding_, p, end);
      if (c.raw || CharacterKey(c.value) != want) return nullptr;
      p += c.length;
    }
    return p;
  };
  for (const auto& [open, close] : stretch_keys_) {
    const unsigned char* p = match(begin, open);
    if (p == nullptr) continue;
    while (p < end) {
      if (const unsigned char* q = match(p, close); q != nullptr) {
        const std::int64_t start = src.Tell();
        src.Skip(static_cast<std::size_t>(q - begin));
        TakeText(src, start);
        return kIgnoredStretchKey;
      }
      const DecodedChar c = DecodeAt(encoding_, p, end);
      if (!c.raw && (c.value == 0x0A || c.value == 0x0D || c.value == 0)) {
        break;
      }
      p += c.length;
    }
  }
  return kEndOfSource;
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
  // The long look for a closer is made only at an opener's first
  // character: made at every character, it would refill the source's
  // buffer at each one.
  if (!c.raw && OpensStretch(CharacterKey(c.value))) {
    if (const Key key = ReadUtfStretch(src); key != kEndOfSource) return key;
    bytes = src.Peek(kMaxUnicodeCharLength);
  }
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
  if (code == kIgnoredStretch) {
    text_ = big5_reader_.LastSpecialText(code);
    last_.kind = Kind::kText;
    return kIgnoredStretchKey;
  }
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
    case Kind::kText: {
      const std::string utf8 =
          encoding_ == Encoding::kUtf8
              ? text_
              : ConvertText(text_, encoding_, Encoding::kUtf8);
      out.Write(encoding == encoding_
                    ? text_
                    : ConvertText(text_, encoding_, encoding));
      return DisplayWidth(utf8);
    }
    case Kind::kRaw:
      if (encoding != encoding_) return WriteReplacement(out, encoding);
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

void UnicodeTokenReader::AppendLastUtf8(std::string& out) const {
  char buffer[kMaxEncodedLength];
  switch (last_.kind) {
    case Kind::kEnd:
      return;
    case Kind::kNotation:
      out += notations_.TextAt(last_.value);
      return;
    case Kind::kText:
      // Converted even from UTF-8: a raw byte in a stretch or a note is a
      // U+FFFD of its own, as it is anywhere else in the source.
      out += ConvertText(text_, encoding_, Encoding::kUtf8);
      return;
    case Kind::kRaw:
      out.append(buffer, EncodeUtf8(kReplacementCharacter, buffer));
      return;
    case Kind::kCharacter:
      // A UTF-8 source's own bytes are already the text.
      if (encoding_ == Encoding::kUtf8) {
        out.append(reinterpret_cast<const char*>(last_.bytes),
                   last_.byte_count);
      } else {
        out.append(buffer, EncodeUtf8(last_.value, buffer));
      }
      return;
  }
}

std::size_t UnicodeTokenReader::WriteReplacement(OutputStream& out,
                                                 Encoding encoding) {
  char buffer[kMaxEncodedLength];
  out.Write({buffer, EncodeScalar(kReplacementCharacter, encoding, buffer)});
  return CharacterColumns(kReplacementCharacter);
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
    // A UTF-16 source's lone last byte, written as it is, would put all
    // that follows it in the block off the units' boundaries.
    const bool half_unit =
        last_.kind == Kind::kRaw && last_.byte_count % 2 != 0 &&
        (encoding == Encoding::kUtf16Le || encoding == Encoding::kUtf16Be);
    columns +=
        half_unit ? WriteReplacement(out, encoding) : WriteLast(out, encoding);
  }
  return columns;
}

}  // namespace tessel
