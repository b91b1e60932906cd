// How the report feed reads plain text straight from a source's buffer,
// without a call per character: Big5 converted through a table, UTF-8 as
// its own bytes. See DifferenceFeed.h.

#include <algorithm>
#include <cstring>

#include "Big5Utf8.h"
#include "DifferenceFeed.h"
#include "UnicodeDecoder.h"
#include "UnicodeKeys.h"

namespace tessel {

namespace {

// A Big5 byte gives at most three bytes of UTF-8 (a lone high byte is
// U+FFFD).
constexpr std::size_t kMostUtf8PerByte = 3;
// The bytes of a common three-byte UTF-8 character (UnicodeDecoder.h).
constexpr std::size_t kCommonUtf8Bytes = 3;

// Double-byte codes convert to characters no report escapes or marks (a
// test checks the table); single bytes may need escaping.
constexpr Code kFirstVerbatimCode = kFirstHighByte * 256;

}  // namespace

std::vector<std::uint8_t> DifferenceFeed::PlainInfoTable(const SignSet& signs) {
  const std::array<CodeUtf8, kCodeLimit>& utf8 = CodeUtf8Table();
  std::vector<std::uint8_t> table(kCodeLimit);
  for (Code code = kSingleByteBase; code < kCodeLimit; ++code) {
    const CodeUtf8& character = utf8[code];
    if (character.length == CodeUtf8::kNotACharacterCode) continue;
    table[code] =
        character.length | (signs.IsIgnored(code) ? kPlainIgnored : 0);
  }
  return table;
}

void DifferenceFeed::MakeRoom(std::size_t bytes, std::size_t pieces) {
  // Grown, never shrunk or refilled: a pass makes room for far more than it
  // usually takes.
  if (copy_.size() < copy_size_ + bytes) copy_.resize(copy_size_ + bytes);
  if (pieces_.size() < piece_count_ + pieces) {
    pieces_.resize(piece_count_ + pieces);
  }
}

// Gathers characters into the copied text and its pieces without a branch
// per character: the editions alternate between compared and ignored text
// every few characters, too irregularly for a branch to guess. Each piece
// is written in advance and kept only where one ends.
class DifferenceFeed::Gatherer {
 public:
  // Makes room for `most_bytes` of text (and a word beyond) and
  // `most_characters`.
  Gatherer(DifferenceFeed& feed, std::size_t most_bytes,
           std::size_t most_characters)
      : feed_(feed),
        end_(feed.copy_size_),
        count_(feed.piece_count_),
        piece_start_(feed.piece_start_),
        ignored_(feed.copy_ignored_),
        verbatim_(feed.copy_verbatim_) {
    feed.MakeRoom(most_bytes + sizeof(std::uint32_t), most_characters + 1);
    out_ = feed.copy_.data();
    pieces_ = feed.pieces_.data();
  }
  Gatherer(const Gatherer&) = delete;
  Gatherer& operator=(const Gatherer&) = delete;

  // Where the next character's text goes: a word may be written there.
  char* Next(bool ignored, bool verbatim) {
    const bool turn = ignored != ignored_;
    const bool ends = turn & (end_ > piece_start_);
    pieces_[count_] = {static_cast<std::uint32_t>(end_), ignored_, verbatim_};
    count_ += ends;
    piece_start_ = ends ? end_ : piece_start_;
    ignored_ = ignored;
    verbatim_ = (turn | verbatim_) & verbatim;
    return out_ + end_;
  }
  void Took(std::size_t length) { end_ += length; }

  // Leaves the feed with what was gathered.
  ~Gatherer() {
    feed_.copy_size_ = end_;
    feed_.piece_count_ = count_;
    feed_.piece_start_ = piece_start_;
    feed_.copy_ignored_ = ignored_;
    feed_.copy_verbatim_ = verbatim_;
  }

 private:
  DifferenceFeed& feed_;
  char* out_;
  CopiedPiece* pieces_;
  std::size_t end_, count_, piece_start_;
  bool ignored_, verbatim_;
};

template <bool kHighStops>
std::size_t DifferenceFeed::CopyPlainBig5(
    int k, std::span<const unsigned char> bytes) {
  const std::array<CodeUtf8, kCodeLimit>& utf8 = CodeUtf8Table();
  const std::uint8_t* const info = plain_info_.data();
  const std::size_t size = std::min(bytes.size(), kCopyPiece);
  std::size_t at = 0;
  {
    Gatherer gather(*this, kMostUtf8PerByte * size, size);
    for (;;) {
      const Code code = ReadPlainCode<kHighStops>(bytes.data(), size, &at,
                                                  plain_stops_.table);
      if (code == kEndOfSource) break;
      const std::uint8_t character = info[code];
      char* const out = gather.Next((character & kPlainIgnored) != 0,
                                    code >= kFirstVerbatimCode);
      std::memcpy(out, &utf8[code], sizeof(CodeUtf8));
      gather.Took(character & kPlainLengthMask);
    }
  }
  if (copy_size_ >= kCopyPiece) EndPiece(k, false);
  return at;
}

std::size_t DifferenceFeed::CopyCommonUtf8(
    int k, std::span<const unsigned char> bytes) {
  const unsigned char* const p = bytes.data();
  const std::size_t size = std::min(bytes.size(), kCopyPiece);
  std::size_t at = 0;
  {
    // The text of a UTF-8 source's character is its own bytes.
    Gatherer gather(*this, size, size);
    while (at < size) {
      char32_t value = p[at];
      std::size_t length = 1;
      if (value < kFirstHighByte) {
        // Notations and notes open with these; the reader decides.
        if (value == '[' || value == '&' || value == '(') break;
      } else if (IsWholeCommonThreeByteUtf8(p + at, p + size)) {
        value = CommonThreeByteUtf8Value(p + at);
        length = kCommonUtf8Bytes;
      } else {
        break;
      }
      char* const out = gather.Next(signs_->IsIgnored(CharacterKey(value)),
                                    CopiesVerbatim(value));
      std::memcpy(out, p + at, length);
      gather.Took(length);
      at += length;
    }
  }
  if (copy_size_ >= kCopyPiece) EndPiece(k, false);
  return at;
}

template std::size_t DifferenceFeed::CopyPlainBig5<false>(
    int k, std::span<const unsigned char> bytes);
template std::size_t DifferenceFeed::CopyPlainBig5<true>(
    int k, std::span<const unsigned char> bytes);

}  // namespace tessel
