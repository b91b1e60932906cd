// Source encodings: their names, and how `auto` decides a file's encoding.
//
// The auto rule, in order: a byte-order mark EF BB BF gives utf-8, FF FE
// utf-16le, FE FF utf-16be. Otherwise, when the first kDetectionLimit bytes
// are well-formed UTF-8 and hold at least one byte 0x80 or above, utf-8 (a
// sequence that the limit cuts, in a file that goes on past it, counts as
// well-formed when the part before the limit could begin one). Anything else
// is big5, so pure ASCII reads exactly as it always has.

#ifndef TESSEL_ENGINE_ENCODING_H_
#define TESSEL_ENGINE_ENCODING_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tessel {

enum class Encoding : std::uint8_t { kBig5, kUtf8, kUtf16Le, kUtf16Be };

// What a user asks for: one encoding, or detection per file.
enum class EncodingChoice : std::uint8_t {
  kAuto,
  kBig5,
  kUtf8,
  kUtf16Le,
  kUtf16Be
};

// How many leading bytes detection looks at: 1 MiB.
inline constexpr std::size_t kDetectionLimit = std::size_t{1} << 20;

// "big5", "utf-8", "utf-16le", "utf-16be"; "auto" for the choice.
std::string_view EncodingName(Encoding encoding);
std::string_view EncodingChoiceName(EncodingChoice choice);

// Parses one of the names above, ignoring the case of ASCII letters and
// nothing else (no blanks, no aliases). Returns nullopt for any other text.
std::optional<EncodingChoice> ParseEncodingChoice(std::string_view text);

// Parses "ENC" or a comma-separated "ENC1,ENC2[,ENC3]" as the command line
// takes them: 1 to `max_count` names, none empty. Returns nullopt when any
// name is unknown or the count is wrong.
std::optional<std::vector<EncodingChoice>> ParseEncodingChoices(
    std::string_view text, std::size_t max_count);

// Whether a source in `encoding` is read as Unicode (every encoding but
// big5).
inline bool IsUnicodeEncoding(Encoding encoding) {
  return encoding != Encoding::kBig5;
}

// The length of the byte-order mark of `encoding` that `head` starts with:
// 3 for EF BB BF in utf-8, 2 for FF FE in utf-16le or FE FF in utf-16be,
// otherwise 0. Big5 has none.
std::size_t ByteOrderMarkLength(Encoding encoding,
                                std::span<const unsigned char> head);

// Decides by the auto rule. `head` is a source's first bytes: the whole
// source, or at least its first kDetectionLimit + 1 bytes (the byte past the
// limit tells that the source goes on, and so whether a sequence at the
// limit is cut by it or by the end). Bytes past the limit are not examined.
Encoding DetectEncoding(std::span<const unsigned char> head);

// DetectEncoding over the start of the file at `path`. Returns nullopt when
// it cannot be opened or read.
std::optional<Encoding> DetectFileEncoding(const std::filesystem::path& path);

// `choice` itself, or `detected` when the choice is auto.
Encoding ResolveEncoding(EncodingChoice choice, Encoding detected);

}  // namespace tessel

#endif  // TESSEL_ENGINE_ENCODING_H_
