// The token reader: turns a Big5 source into character codes (see
// CharCodes.h), folding missing-character notations into single codes when
// folding is on, and copies stretches of a source back out.

#ifndef TESSEL_ENGINE_TOKENREADER_H_
#define TESSEL_ENGINE_TOKENREADER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CharCodes.h"
#include "NotationTable.h"
#include "NoteTable.h"
#include "OutputStream.h"
#include "SignSet.h"
#include "SourceStream.h"

namespace tessel {

// A stretch that the comparison ignores: from `open` to the next `close`
// on the same line, both included; bytes as the sources hold them.
struct IgnoredStretch {
  std::string open;
  std::string close;
};

class TokenReader {
 public:
  // Lookahead after an opener: "[" may close within 99 bytes (a notation of
  // at most 100 bytes), "&" within 19 (at most 20 bytes).
  static constexpr std::size_t kBracketLookahead = 99;
  static constexpr std::size_t kEntityLookahead = 19;
  // How far after an ignored stretch's opener its closer is looked for:
  // far beyond any note, and it keeps a line without a closer cheap.
  static constexpr std::size_t kStretchLookahead = 64 * 1024;

  // `notations` and `signs` must outlive the reader. `fold_notations` turns
  // notation folding on.
  TokenReader(NotationTable& notations, const SignSet& signs,
              bool fold_notations)
      : notations_(notations), signs_(signs), fold_notations_(fold_notations) {}

  // Reads the next character of `src` and returns its code, leaving `src`
  // right after the bytes the code stands for. Returns 0 at the end of the
  // source or at a 0x1A, which it consumes; a byte 0x80..0xFF at the very
  // end is dropped and also gives 0. A byte 0x80..0xFF followed by a line
  // feed, carriage return or 0x1A gives 256 + byte and leaves the follower
  // unread; followed by a NUL it gives 256 + byte and consumes the NUL.
  //
  // With ignored stretches set, a stretch at the current position is read
  // as one kIgnoredStretch, before notations are looked for; then, with
  // unordered notes on, a note as its note code (NoteTable.h).
  Code ReadToken(SourceStream& src) {
    const int x = src.Getc();
    if (has_specials_ && x >= 0 && special_starts_[x]) {
      if (const Code code = ReadSpecial(src, x); code != kEndOfSource) {
        return code;
      }
    }
    if (x >= kFirstHighByte) {
      const int y = src.Getc();
      // Above 0x1A, y is none of the end, NUL, LF, CR or 0x1A.
      if (y > kEndOfFileByte)
        return static_cast<Code>(x) * 256 + static_cast<Code>(y);
      return ReadSpecialSecondByte(src, x, y);
    }
    if (x == SourceStream::kEnd || x == kEndOfFileByte) return kEndOfSource;
    if (fold_notations_ && (x == '[' || x == '&')) return ReadOpener(src, x);
    return kSingleByteBase + static_cast<Code>(x);
  }

  // Makes every stretch from one of `stretches`' openers to the next of
  // its closers on the same line one ignored token. An opener without its
  // closer on its line (within kStretchLookahead bytes) is an ordinary
  // character; a further opener inside a stretch is part of it. Openers
  // and closers are whole characters, matched at character boundaries;
  // empty ones are left out.
  void SetIgnoredStretches(std::vector<IgnoredStretch> stretches);
  bool has_ignored_stretches() const { return has_stretches_; }

  // Reads every note "(A/B)" on one line, with exactly one "/" and no
  // further "(" before its ")", as one compared code that stands for the
  // pair of its halves in either order (NoteTable.h); the markers count
  // whether or not they are ignored symbols. Inside a note, ignored
  // symbols and stretches are left out of the comparison. A "(" that
  // starts no such note is an ordinary character. Stretches win over
  // notes: a "(" that opens a stretch is read as the stretch.
  void SetUnorderedNotes(bool on);
  bool has_unordered_notes() const { return notes_ != nullptr; }
  bool IsNoteCode(Code code) const {
    return notes_ != nullptr && NoteTable::IsBig5NoteCode(code);
  }

  // The first bytes of every token other than a plain character or a
  // notation: openers of stretches, and "(" with unordered notes on.
  // Whatever starts with another byte is read as a plain character.
  const std::array<bool, 256>& special_starts() const {
    return special_starts_;
  }
  bool has_special_starts() const { return has_specials_; }

  // Whether the comparison skips `code`. kIgnoredStretch counts only while
  // stretches are set, so that a list of the ignored codes stays the
  // symbols' alone without them.
  bool IsIgnored(Code code) const {
    return signs_.IsIgnored(code) ||
           (code == kIgnoredStretch && has_stretches_);
  }

  // The byte length of the notation `code` stands for, or of the stretch
  // read last for kIgnoredStretch, or of the note read last for a note.
  std::size_t TokenLength(Code code) const {
    if (code == kIgnoredStretch) return last_stretch_.size();
    if (IsNoteCode(code)) return last_note_.size();
    return notations_.TokenLength(code);
  }

  // TokenLength, where a note is the one read last from `src`.
  std::size_t TokenLength(Code code, const SourceStream& src) const {
    return IsNoteCode(code) ? NoteReadFrom(src).size() : TokenLength(code);
  }

  // Writes the bytes that `code` stands for: one byte below 512, the
  // notation's stored text up to 32768 (for kIgnoredStretch the stretch
  // read last: it is written before the next read), two bytes above.
  // Returns the number of bytes written.
  std::size_t WriteCodeText(Code code, OutputStream& out) const {
    if (IsDoubleByteCode(code)) {
      out.PutPair(static_cast<unsigned char>(code / 256),
                  static_cast<unsigned char>(code % 256));
      return 2;
    }
    if (IsSingleByteCode(code)) {
      out.Put(static_cast<unsigned char>(code % 256));
      return 1;
    }
    return WriteNotationText(code, out);
  }

  // WriteCodeText, where a note is the one read last from `src`: each
  // source keeps its own note text when all are read before any is written.
  std::size_t WriteTokenText(Code code, const SourceStream& src,
                             OutputStream& out) const {
    if (!IsNoteCode(code)) return WriteCodeText(code, out);
    const std::string& text = NoteReadFrom(src);
    out.Write(text);
    return text.size();
  }

  // The bytes of the stretch or note read last, for kIgnoredStretch or a
  // note code.
  const std::string& LastSpecialText(Code code) const {
    return code == kIgnoredStretch ? last_stretch_ : last_note_;
  }

  // Positions `src` at `start` and copies characters to `out` until the
  // characters copied that are not ignored, counted 2 each, reach `count`.
  // Ignored characters before and between the counted ones are copied,
  // those after the last are not; the end of the source stops the copy.
  // Leaves `src` after the last character read. Returns the number of bytes
  // written.
  std::size_t CopySource(SourceStream& src, std::int64_t start,
                         std::int64_t count, OutputStream& out);

  bool fold_notations() const { return fold_notations_; }
  const SignSet& signs() const { return signs_; }
  NotationTable& notations() const { return notations_; }

 private:
  Code ReadSpecialSecondByte(SourceStream& src, int first, int second);
  std::size_t WriteNotationText(Code code, OutputStream& out) const;
  Code ReadOpener(SourceStream& src, int opener);
  // Reads a stretch whose opener starts with `first`, just read. Returns
  // kIgnoredStretch after it, or 0 with `src` left as it was.
  Code ReadStretch(SourceStream& src, int first);
  // A stretch or note at `first`, just read; 0 with `src` as it was.
  Code ReadSpecial(SourceStream& src, int first);
  // Reads a note whose "(" was just read. Returns its code after it, or 0
  // with `src` left as it was.
  Code ReadNote(SourceStream& src);
  const std::string& NoteReadFrom(const SourceStream& src) const;
  void UpdateSpecialStarts();

  NotationTable& notations_;
  const SignSet& signs_;
  bool fold_notations_;
  bool has_stretches_ = false;
  std::vector<IgnoredStretch> stretches_;
  // Which bytes begin an opener.
  std::array<bool, 256> stretch_starts_{};
  std::vector<unsigned char> stretch_lookahead_;
  std::string last_stretch_;
  // Which bytes begin a stretch or a note.
  bool has_specials_ = false;
  std::array<bool, 256> special_starts_{};
  std::unique_ptr<NoteTable> notes_;
  NoteHalves halves_;
  bool reading_note_ = false;
  std::string last_note_;
  // The note read last from each stream that has had one.
  std::vector<std::pair<const SourceStream*, std::string>> notes_by_source_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_TOKENREADER_H_
