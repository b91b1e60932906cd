#include "TokenReader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "OutputStream.h"

namespace tessel {

Code TokenReader::ReadSpecialSecondByte(SourceStream& src, int first, int y) {
  if (y == SourceStream::kEnd) return kEndOfSource;
  if (y == kLineFeedByte || y == kCarriageReturnByte || y == kEndOfFileByte) {
    src.SeekRelative(-1);
    return kSingleByteBase + static_cast<Code>(first);
  }
  if (y == 0) return kSingleByteBase + static_cast<Code>(first);
  return static_cast<Code>(first) * 256 + static_cast<Code>(y);
}

Code TokenReader::ReadOpener(SourceStream& src, int opener) {
  const unsigned char closer = opener == '[' ? ']' : ';';
  const std::size_t limit =
      opener == '[' ? kBracketLookahead : kEntityLookahead;
  const std::int64_t p = src.Tell();

  // Room for the opener in front, so the text can be formed in place.
  unsigned char text[1 + kBracketLookahead];
  text[0] = static_cast<unsigned char>(opener);
  std::size_t got = src.ReadLine(text + 1, limit);
  // The lookahead is a C string: it ends at its first NUL.
  if (const void* nul = std::memchr(text + 1, 0, got); nul != nullptr) {
    got = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) -
                                   (text + 1));
  }

  // Scan as code-page-950 text: a second byte is never a closer or opener.
  std::size_t r = 0;
  for (std::size_t i = 0; i < got; ++i) {
    const unsigned char b = text[1 + i];
    if (IsCp950LeadByte(b)) {
      ++i;
    } else if (b == closer) {
      r = i + 1;
      break;
    } else if (b == opener) {
      break;  // a further opener before any closer: no notation
    }
  }

  if (r > 0) {
    const Code code = notations_.InternNotation(
        std::string_view(reinterpret_cast<const char*>(text), 1 + r));
    if (code != kEndOfSource) {
      src.Seek(p + static_cast<std::int64_t>(r));
      return code;
    }
  }
  src.Seek(p);
  return kSingleByteBase + static_cast<Code>(opener);
}

void TokenReader::SetIgnoredStretches(std::vector<IgnoredStretch> stretches) {
  stretches_.clear();
  stretch_starts_.fill(false);
  for (auto& stretch : stretches) {
    if (stretch.open.empty() || stretch.close.empty()) continue;
    stretch_starts_[static_cast<unsigned char>(stretch.open[0])] = true;
    stretches_.push_back(std::move(stretch));
  }
  has_stretches_ = !stretches_.empty();
  stretch_lookahead_.resize(has_stretches_ ? kStretchLookahead : 0);
  UpdateSpecialStarts();
}

void TokenReader::SetUnorderedNotes(bool on) {
  notes_ = on ? std::make_unique<NoteTable>(NoteTable::kBig5Capacity) : nullptr;
  notes_by_source_.clear();
  UpdateSpecialStarts();
}

void TokenReader::UpdateSpecialStarts() {
  special_starts_ = stretch_starts_;
  if (notes_ != nullptr) special_starts_[kNoteOpen] = true;
  has_specials_ = has_stretches_ || notes_ != nullptr;
}

Code TokenReader::ReadSpecial(SourceStream& src, int first) {
  if (has_stretches_ && stretch_starts_[first]) {
    if (const Code code = ReadStretch(src, first); code != kEndOfSource) {
      return code;
    }
  }
  if (notes_ != nullptr && first == kNoteOpen && !reading_note_) {
    return ReadNote(src);
  }
  return kEndOfSource;
}

Code TokenReader::ReadNote(SourceStream& src) {
  const std::int64_t start = src.Tell() - 1;
  halves_.Clear();
  reading_note_ = true;
  bool closed = false;
  for (;;) {
    const std::int64_t before = src.Tell();
    const Code code = ReadToken(src);
    // A NUL ends a note also where a high byte before it swallowed it: a
    // result file writes that byte without its NUL, so a note holding one
    // could not be written back as the characters it stands for.
    const bool nul = code == kSingleByteBase ||
                     (IsSingleByteCode(code) && src.Tell() - before == 2);
    if (code == kEndOfSource || code == kLineFeed || code == kCarriageReturn ||
        nul || code == kSingleByteBase + kNoteOpen ||
        src.Tell() - start > static_cast<std::int64_t>(kStretchLookahead)) {
      break;
    }
    if (code == kSingleByteBase + kNoteClose) {
      closed = halves_.complete();
      break;
    }
    if (code == kSingleByteBase + kNoteSeparator) {
      if (!halves_.AddSeparator()) break;
    } else if (!IsIgnored(code)) {
      halves_.AddKey(code);
    }
  }
  reading_note_ = false;
  const std::int64_t end = src.Tell();
  const std::ptrdiff_t index =
      closed ? notes_->Intern(halves_.CanonicalKey()) : -1;
  if (index < 0) {
    src.Seek(start + 1);
    return kEndOfSource;
  }
  src.Seek(start);
  last_note_.clear();
  for (std::int64_t i = start; i < end; ++i) {
    last_note_.push_back(static_cast<char>(src.Getc()));
  }
  auto known =
      std::find_if(notes_by_source_.begin(), notes_by_source_.end(),
                   [&src](const auto& entry) { return entry.first == &src; });
  if (known == notes_by_source_.end()) {
    notes_by_source_.emplace_back(&src, last_note_);
  } else {
    known->second = last_note_;
  }
  return NoteTable::Big5Code(static_cast<std::size_t>(index));
}

const std::string& TokenReader::NoteReadFrom(const SourceStream& src) const {
  for (const auto& [stream, text] : notes_by_source_) {
    if (stream == &src) return text;
  }
  return last_note_;
}

namespace {

bool StartsWith(const unsigned char* bytes, std::size_t size,
                std::string_view prefix) {
  return prefix.size() <= size &&
         std::memcmp(bytes, prefix.data(), prefix.size()) == 0;
}

// Where the characters of `bytes` end: at a line end, a 0x1A or a NUL,
// which no stretch crosses.
std::size_t LineLength(const unsigned char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char b = bytes[i];
    if (b == kLineFeedByte || b == kCarriageReturnByte || b == kEndOfFileByte ||
        b == 0) {
      return i;
    }
  }
  return size;
}

}  // namespace

Code TokenReader::ReadStretch(SourceStream& src, int first) {
  const std::int64_t p = src.Tell();
  unsigned char* ahead = stretch_lookahead_.data();
  const std::size_t size =
      LineLength(ahead, src.ReadLine(ahead, kStretchLookahead));
  for (const IgnoredStretch& stretch : stretches_) {
    const std::string_view open(stretch.open);
    if (static_cast<unsigned char>(open[0]) != first) continue;
    if (!StartsWith(ahead, size, open.substr(1))) continue;
    // The closer is looked for at character boundaries after the opener.
    std::size_t i = open.size() - 1;
    while (i < size && !StartsWith(ahead + i, size - i, stretch.close)) {
      i += IsCp950LeadByte(ahead[i]) ? 2 : 1;
    }
    if (i >= size) continue;
    const std::size_t end = i + stretch.close.size();
    last_stretch_.assign(1, static_cast<char>(first));
    last_stretch_.append(reinterpret_cast<const char*>(ahead), end);
    src.Seek(p + static_cast<std::int64_t>(end));
    return kIgnoredStretch;
  }
  src.Seek(p);
  return kEndOfSource;
}

std::size_t TokenReader::WriteNotationText(Code code, OutputStream& out) const {
  if (code == kIgnoredStretch || IsNoteCode(code)) {
    const std::string& text = LastSpecialText(code);
    out.Write(text);
    return text.size();
  }
  const std::string& text = notations_.NotationText(code);
  out.Write(text);
  return text.size();
}

std::size_t TokenReader::CopySource(SourceStream& src, std::int64_t start,
                                    std::int64_t count, OutputStream& out) {
  src.Seek(start);
  std::size_t written = 0;
  std::int64_t n = 0;
  while (n < count) {
    const Code code = ReadToken(src);
    if (code == kEndOfSource) break;
    if (!IsIgnored(code)) n += 2;
    written += WriteCodeText(code, out);
  }
  return written;
}

}  // namespace tessel
