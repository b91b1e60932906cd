#include "Encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "PlatformFile.h"
#include "UnicodeDecoder.h"

namespace tessel {

namespace {

struct NamedChoice {
  std::string_view name;
  EncodingChoice choice;
};

// The one list of names, used both ways.
constexpr std::array<NamedChoice, 5> kChoiceNames = {{
    {"auto", EncodingChoice::kAuto},
    {"big5", EncodingChoice::kBig5},
    {"utf-8", EncodingChoice::kUtf8},
    {"utf-16le", EncodingChoice::kUtf16Le},
    {"utf-16be", EncodingChoice::kUtf16Be},
}};

constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr unsigned char kUtf16LeMark[] = {0xFF, 0xFE};
constexpr unsigned char kUtf16BeMark[] = {0xFE, 0xFF};

bool StartsWith(std::span<const unsigned char> head,
                std::span<const unsigned char> mark) {
  if (head.size() < mark.size()) return false;
  for (std::size_t i = 0; i < mark.size(); ++i) {
    if (head[i] != mark[i]) return false;
  }
  return true;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

constexpr std::ptrdiff_t kWordBytes = sizeof(std::uint64_t);

// Whether any of the kWordBytes bytes at `p` is 0x80 or above.
bool HasHighByte(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080u) != 0;
}

// Whether the first `limit` bytes of `bytes` are well-formed UTF-8 with a
// byte 0x80 or above. A sequence cut at `limit` counts when bytes go on past
// it and the part before could begin a well-formed sequence.
bool LooksLikeUtf8(std::span<const unsigned char> bytes, std::size_t limit) {
  const unsigned char* p = bytes.data();
  const unsigned char* const end = p + limit;
  bool high = false;
  while (p < end) {
    // Every run reads up to a mebibyte here: ASCII a word at a time, and
    // the three-byte characters of Chinese text without the decoder.
    if (*p < 0x80) {
      p += end - p >= kWordBytes && !HasHighByte(p) ? kWordBytes : 1;
      continue;
    }
    if (const unsigned char* run_end = SkipCommonThreeByteUtf8(p, end);
        run_end != p) {
      high = true;
      p = run_end;
      continue;
    }
    const DecodedChar c = DecodeUtf8(p, end);
    // Only a sequence cut by the limit may stand there; its lead byte is
    // 0x80 or above, so the text holds one.
    if (c.raw) {
      return bytes.size() > limit &&
             IsUtf8Prefix(p, static_cast<std::size_t>(end - p));
    }
    high = high || c.length > 1;
    p += c.length;
  }
  return high;
}

}  // namespace

std::string_view EncodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kBig5:
      return "big5";
    case Encoding::kUtf8:
      return "utf-8";
    case Encoding::kUtf16Le:
      return "utf-16le";
    case Encoding::kUtf16Be:
      return "utf-16be";
  }
  return "big5";
}

std::string_view EncodingChoiceName(EncodingChoice choice) {
  for (const NamedChoice& named : kChoiceNames) {
    if (named.choice == choice) return named.name;
  }
  return "auto";
}

std::optional<EncodingChoice> ParseEncodingChoice(std::string_view text) {
  for (const NamedChoice& named : kChoiceNames) {
    if (EqualIgnoringAsciiCase(text, named.name)) return named.choice;
  }
  return std::nullopt;
}

std::optional<std::vector<EncodingChoice>> ParseEncodingChoices(
    std::string_view text, std::size_t max_count) {
  std::vector<EncodingChoice> choices;
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::optional<EncodingChoice> choice =
        ParseEncodingChoice(text.substr(0, comma));
    if (!choice || choices.size() == max_count) return std::nullopt;
    choices.push_back(*choice);
    if (comma == std::string_view::npos) return choices;
    text.remove_prefix(comma + 1);
  }
}

std::size_t ByteOrderMarkLength(Encoding encoding,
                                std::span<const unsigned char> head) {
  switch (encoding) {
    case Encoding::kUtf8:
      return StartsWith(head, kUtf8Mark) ? sizeof kUtf8Mark : 0;
    case Encoding::kUtf16Le:
      return StartsWith(head, kUtf16LeMark) ? sizeof kUtf16LeMark : 0;
    case Encoding::kUtf16Be:
      return StartsWith(head, kUtf16BeMark) ? sizeof kUtf16BeMark : 0;
    case Encoding::kBig5:
      break;
  }
  return 0;
}

Encoding DetectEncoding(std::span<const unsigned char> head) {
  if (StartsWith(head, kUtf8Mark)) return Encoding::kUtf8;
  if (StartsWith(head, kUtf16LeMark)) return Encoding::kUtf16Le;
  if (StartsWith(head, kUtf16BeMark)) return Encoding::kUtf16Be;
  const std::size_t limit = std::min(head.size(), kDetectionLimit);
  return LooksLikeUtf8(head, limit) ? Encoding::kUtf8 : Encoding::kBig5;
}

std::optional<Encoding> DetectFileEncoding(const std::filesystem::path& path) {
  std::FILE* file = OpenNativeFile(path, "rb");
  if (file == nullptr) return std::nullopt;
  // Left uninitialised: only the bytes read are looked at, and zeroing a
  // mebibyte for every source would cost as much as reading it.
  const std::unique_ptr<unsigned char[]> head(
      new unsigned char[kDetectionLimit + 1]);
  const std::size_t got = std::fread(head.get(), 1, kDetectionLimit + 1, file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return DetectEncoding({head.get(), got});
}

Encoding ResolveEncoding(EncodingChoice choice, Encoding detected) {
  switch (choice) {
    case EncodingChoice::kAuto:
      return detected;
    case EncodingChoice::kBig5:
      return Encoding::kBig5;
    case EncodingChoice::kUtf8:
      return Encoding::kUtf8;
    case EncodingChoice::kUtf16Le:
      return Encoding::kUtf16Le;
    case EncodingChoice::kUtf16Be:
      return Encoding::kUtf16Be;
  }
  return detected;
}

}  // namespace tessel
