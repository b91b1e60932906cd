// The token reader of a Unicode run: turns one source, in its encoding, into
// comparison keys (UnicodeKeys.h), and writes what it read in any encoding.
//
// A UTF-8 or UTF-16 source is read as characters (UnicodeDecoder.h); a Big5
// source by the Big5 rules of TokenReader, each code then mapped through
// code page 950. With folding on, a notation is one token: counted in
// characters in a UTF source (at most 99 after "[", 19 after "&", the
// look-ahead ending after its first line feed, before its first U+0000, at a
// raw character, or at the end), in bytes in a Big5 one. A notation that
// names a character ("&x-H;", "&#xH;", "&#D;") has that character's key, and
// is still written as its own text.

#ifndef TESSEL_ENGINE_UNICODETOKENREADER_H_
#define TESSEL_ENGINE_UNICODETOKENREADER_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "Encoding.h"
#include "NotationTable.h"
#include "NoteTable.h"
#include "OutputStream.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"
#include "UnicodeDecoder.h"
#include "UnicodeKeys.h"

namespace tessel {

class UnicodeSignSet;

class UnicodeTokenReader {
 public:
  // `notations` must outlive the reader; it holds the notations' texts in
  // UTF-8.
  UnicodeTokenReader(Encoding encoding, NotationTable& notations,
                     bool fold_notations);

  Encoding encoding() const { return encoding_; }

  // Reads every stretch from an opener to the next closer on its line as
  // one kIgnoredStretchKey, by the rules of TokenReader::SetIgnoredStretches
  // counted in characters: openers and closers (`stretches`, Big5 bytes)
  // match as characters of a UTF source, compared by their keys, and as
  // their Big5 bytes in a Big5 source. A UTF stretch never crosses a line
  // feed, a carriage return or a U+0000, and ends within
  // TokenReader::kStretchLookahead bytes.
  void SetIgnoredStretches(const std::vector<IgnoredStretch>& stretches);

  // Reads notes as TokenReader::SetUnorderedNotes does, keyed through
  // `notes` (one table for all the run's sources) and leaving out what
  // `signs` ignores; nullptr turns notes off. Both must outlive the reader.
  void SetUnorderedNotes(NoteTable* notes, const UnicodeSignSet* signs);

  // Reads the next token of `src` and returns its key; 0 at the end of the
  // source (and, in Big5, at a 0x1A, which it consumes).
  Key ReadKey(SourceStream& src) {
    // Most characters of a Chinese text, read inline: the look-ahead after
    // every difference reads them one by one.
    if (reads_common_inline_) {
      const std::span<const unsigned char> bytes =
          src.Peek(kMaxUnicodeCharLength);
      if (bytes.size() >= kMaxUnicodeCharLength &&
          IsWholeCommonThreeByteUtf8(bytes.data(),
                                     bytes.data() + bytes.size())) {
        return TakeCommonCharacter(src, bytes.data());
      }
    }
    return ReadKeyInFull(src);
  }

  // Whether ReadKey takes the common three-byte characters of a UTF-8
  // source (UnicodeDecoder.h) inline: every such character is then read
  // as itself, a character whose key is CharacterKey of its value.
  bool reads_common_inline() const { return reads_common_inline_; }

  // The bytes of source the last token stood for, so that a caller can step
  // back over it.
  std::int64_t LastLength() const { return last_.length; }

  // Whether the last token was a line feed of the source's own (a notation
  // that names U+000A counts no line).
  bool LastIsLineFeed() const {
    return last_.kind == Kind::kCharacter && last_.value == 0x0A;
  }

  // Writes the last token in `encoding`: the source's own bytes when it is
  // the source's encoding; otherwise the character encoded in it, U+FFFD for
  // a raw one. A notation is its stored text, converted. Returns the display
  // columns it takes (DisplayWidth.h).
  std::size_t WriteLast(OutputStream& out, Encoding encoding) const;

  // Appends the last token's text as UTF-8, for the report sinks: a
  // character as itself, a raw one as U+FFFD, a notation as its stored
  // text, a stretch or a note as its characters (each raw byte or unit in
  // it a U+FFFD). Appends nothing at the end of the source.
  void AppendLastUtf8(std::string& out) const;

  // Positions `src` at `start` and writes its tokens in `encoding` until the
  // ones not ignored by `signs`, counted 2 each, reach `count` (as
  // TokenReader::CopySource), each as WriteLast does, except that a lone
  // last byte of a UTF-16 source is U+FFFD in a UTF-16 file. Returns the
  // display columns written.
  std::size_t CopySpan(SourceStream& src, std::int64_t start,
                       std::int64_t count, const UnicodeSignSet& signs,
                       OutputStream& out, Encoding encoding);

 private:
  // Writes U+FFFD in `encoding`; returns its display columns.
  static std::size_t WriteReplacement(OutputStream& out, Encoding encoding);
  // kText: a stretch or a note, whose bytes are in text_.
  enum class Kind : std::uint8_t { kEnd, kCharacter, kRaw, kNotation, kText };
  struct Token {
    Kind kind = Kind::kEnd;
    char32_t value = 0;  // scalar value, raw unit, or notation index
    std::int64_t length = 0;
    // The source's bytes of a character or raw token.
    std::uint8_t byte_count = 0;
    unsigned char bytes[kMaxUnicodeCharLength] = {};
  };

  // ReadKey for every token but a common character read inline.
  Key ReadKeyInFull(SourceStream& src);
  // A token read the long way, without notes: ReadKey tries the common
  // characters inline before it comes here.
  Key ReadPlain(SourceStream& src);
  // Makes the common three-byte UTF-8 character at `p`, the next bytes of
  // `src` with at least kMaxUnicodeCharLength of them at hand, the last
  // token and moves past it. Such a character is never raw, never an
  // opener of a notation or a note, and so reads just as ReadUtf would
  // read it.
  Key TakeCommonCharacter(SourceStream& src, const unsigned char* p) {
    const char32_t value = CommonThreeByteUtf8Value(p);
    last_.kind = Kind::kCharacter;
    last_.value = value;
    last_.length = kCommonCharacterBytes;
    last_.byte_count = kCommonCharacterBytes;
    std::memcpy(last_.bytes, p, kMaxUnicodeCharLength);
    src.Skip(kCommonCharacterBytes);
    return CharacterKey(value);
  }
  // Whether ReadKey may take common characters inline: in a UTF-8 source
  // without ignored stretches, which may open with such a character.
  void UpdateInlineReading() {
    reads_common_inline_ =
        encoding_ == Encoding::kUtf8 && stretch_keys_.empty();
  }

  static constexpr std::uint8_t kCommonCharacterBytes = 3;
  Key ReadUtf(SourceStream& src);
  // A stretch whose opener starts at the current position; 0 when none.
  Key ReadUtfStretch(SourceStream& src);
  // Whether `key` is the first character of some stretch's opener.
  bool OpensStretch(Key key) const;
  // A note whose "(" was just read, starting at `start`; 0 when none, with
  // `src` after the "(".
  Key ReadNote(SourceStream& src, std::int64_t start);
  // Makes the bytes from `start` to the current position the last token.
  void TakeText(SourceStream& src, std::int64_t start);
  Key ReadBig5(SourceStream& src);
  // Tries a notation at the opener `opener` in the peeked `bytes` of a UTF
  // source. Returns its key and skips it, or 0 when none starts there.
  Key ReadUtfNotation(SourceStream& src, char32_t opener);
  // Interns the UTF-8 `text` and sets the last token to it. Returns 0 when
  // the table is full.
  Key TakeNotation(const std::string& text, std::int64_t length);

  Encoding encoding_;
  NotationTable& notations_;
  bool fold_;
  // Big5 sources are tokenised by the Big5 rules into a table of their own;
  // each notation's text then enters the shared table as UTF-8.
  NotationTable big5_notations_;
  SignSet no_signs_;
  TokenReader big5_reader_;
  Token last_;
  std::string text_;
  // The openers and closers as keys, for a UTF source.
  std::vector<std::pair<std::u32string, std::u32string>> stretch_keys_;
  NoteTable* notes_ = nullptr;
  const UnicodeSignSet* note_signs_ = nullptr;
  NoteHalves halves_;
  bool reading_note_ = false;
  bool reads_common_inline_ = false;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_UNICODETOKENREADER_H_
