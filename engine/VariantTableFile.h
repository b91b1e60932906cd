// Reading a variant table file: text of one class a line, whose characters
// count as equal in a comparison.
//
//   - The file is UTF-8 (an initial byte order mark is skipped) or Big5
//     (code page 950). It is UTF-8 when it starts with the byte order mark
//     or is valid UTF-8 throughout, otherwise Big5. When it is neither, the
//     error names the line where the reading that went further stopped.
//   - Lines end at LF, CR LF or a lone CR.
//   - Blanks are U+0020, U+0009, U+3000 (the full-width space) and U+FEFF
//     (a byte order mark, met inside files joined from several).
//   - A "#" that starts a line or follows a blank begins a comment that
//     runs to the line end; a "#" right after another character is one.
//   - Every other character of a line is a member of that line's class. A
//     line with one member adds nothing; a blank or comment line is allowed.
//   - Other control characters (U+0000..U+001F, U+007F) are refused: they
//     mean the file is not text of this kind (a UTF-16 file, for one).

#ifndef TESSEL_ENGINE_VARIANTTABLEFILE_H_
#define TESSEL_ENGINE_VARIANTTABLEFILE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PlatformFile.h"

namespace tessel {

// What went wrong while reading variant tables. A value, never thrown; the
// front ends word it.
struct VariantTableError {
  enum class Kind {
    kNone,
    // The list has an empty item, as in "z,,semantic".
    kEmptyName,
    // The file cannot be opened or read (a missing file, a folder).
    kCannotRead,
    // Bytes that are neither UTF-8 nor code page 950, or a Big5 code with
    // no Unicode character.
    kBadEncoding,
    // A control character other than a tab or a line end.
    kControlCharacter,
    // The file is larger than kMaxVariantTableFileSize.
    kTooLarge,
  };
  Kind kind = Kind::kNone;
  // The table as the user named it: a built-in name or a file name.
  std::string file;
  // The line at fault, from 1; 0 when the fault is not in one line.
  std::size_t line = 0;

  bool ok() const { return kind == Kind::kNone; }

  friend bool operator==(const VariantTableError&,
                         const VariantTableError&) = default;
};

// The largest table file read: far above any real table (every CJK
// character of Unicode in classes is under 1 MiB), and it keeps a wrong
// file, an edition named by mistake, from filling memory.
inline constexpr std::size_t kMaxVariantTableFileSize = kMaxWholeFileSize;

// Maps a code page 950 double-byte code (lead byte * 256 + trail byte) to
// its Unicode character; returns 0 for a code that has none.
using Cp950Decoder = char32_t (*)(std::uint16_t code);

// The classes of one table file, members in file order, each class ended
// by a 0 in `members`.
struct VariantClassList {
  std::vector<char32_t> members;
};

// Whether `bytes` are read as UTF-8: they start with the UTF-8 byte order
// mark or are valid UTF-8 throughout. (A stand-in until sources and table
// files share one encoding detection.)
bool LooksLikeUtf8(std::string_view bytes);

// Reads the classes of a table file's `bytes` into `out`, as described
// above. A Big5 file needs `cp950`; without it (nullptr) a file that is not
// UTF-8 is refused as kBadEncoding at its first line that is not. On error
// `out` is left empty and the error names the line, its `file` left empty
// for the caller to fill.
VariantTableError ReadVariantClasses(std::string_view bytes, Cp950Decoder cp950,
                                     VariantClassList& out);

}  // namespace tessel

#endif  // TESSEL_ENGINE_VARIANTTABLEFILE_H_
