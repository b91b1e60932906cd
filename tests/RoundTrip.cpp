#include "RoundTrip.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "FileTexts.h"
#include "OutputStream.h"
#include "SignSet.h"
#include "SourceStream.h"

namespace tessel::testing {

namespace {

// Up to 24 bytes of `bytes` from `at` on, printable ASCII as itself.
std::string Around(std::string_view bytes, std::size_t at) {
  std::string text = "\"";
  const std::size_t end = std::min(bytes.size(), at + 24);
  for (std::size_t i = std::min(at, bytes.size()); i < end; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
      text += static_cast<char>(b);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      text += hex;
    }
  }
  if (end < bytes.size()) text += "...";
  return text + "\"";
}

std::string Hex(Code code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
  return hex;
}

std::string At(std::int64_t offset) {
  return " at offset " + std::to_string(offset);
}

std::string Folded(std::string_view text) {
  std::string folded(text.size(), '\0');
  FoldNotationCase(text, folded.data());
  return folded;
}

// The reasons a notation text cannot be one the reader folds.
std::string CheckNotationText(std::string_view text) {
  if (text.size() < 2) return "a notation shorter than 2 bytes";
  const char opener = text.front();
  const std::size_t longest = opener == '[' ? 100 : 20;
  const char closer = opener == '[' ? ']' : ';';
  if (opener != '[' && opener != '&') return "a notation without an opener";
  if (text.back() != closer) return "a notation without its closer";
  if (text.size() > longest) return "a notation longer than its lookahead";
  if (text.find('\n') != std::string_view::npos) {
    return "a notation across a line end";
  }
  if (text.find('\0') != std::string_view::npos) return "a notation with NUL";
  return "";
}

}  // namespace

std::string CheckCodeRange(Code code) {
  const Code low = code % 256;
  const bool ok = code == 0 || (code >= 256 && code <= 511) ||
                  (code >= 552 && code <= 32751 && low >= 40 && low <= 239) ||
                  (code >= 32769 && code <= 65535);
  return ok ? "" : "code " + Hex(code) + " out of range";
}

std::string CheckToken(std::string_view bytes, std::int64_t before,
                       std::int64_t after, Code code,
                       const TokenReader& reader) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  const auto byte = [&](std::int64_t at) {
    return at >= 0 && at < size ? static_cast<unsigned char>(bytes[at]) : -1;
  };
  // Built only for a message: the check runs once per character.
  const auto where = [&] { return At(before) + " " + Around(bytes, before); };
  if (std::string range = CheckCodeRange(code); !range.empty()) {
    return range + where();
  }
  if (before < 0 || after < before || after > size) {
    return "code " + Hex(code) + " moved the source from " +
           std::to_string(before) + " to " + std::to_string(after);
  }

  if (code == kEndOfSource) {
    // Either a 0x1A, consumed, or the end (a lone high byte there dropped).
    const bool eof_byte = after == before + 1 && byte(before) == 0x1A;
    const bool at_end =
        after == size && (before == size || (before + 1 == size &&
                                             byte(before) >= kFirstHighByte));
    return eof_byte || at_end ? "" : "0 not at an end" + where();
  }

  std::int64_t length = 0;
  std::string text;  // what the code stands for
  if (IsSingleByteCode(code)) {
    text = std::string(1, static_cast<char>(code % 256));
    length = 1;
    if (code >= kSingleByteBase + kFirstHighByte) {
      // A high byte alone only before a NUL (which it takes along), a
      // line feed, a carriage return or a 0x1A.
      const int next = byte(before + 1);
      if (next != 0 && next != '\n' && next != '\r' && next != 0x1A) {
        return "high byte " + Hex(code) + " alone before " +
               std::to_string(next) + where();
      }
      if (next == 0) length = 2;
    }
  } else if (IsDoubleByteCode(code)) {
    text = {static_cast<char>(code / 256), static_cast<char>(code % 256)};
    length = 2;
  } else {
    if (!reader.fold_notations()) {
      return "notation " + Hex(code) + " while folding is off" + where();
    }
    if (NotationTable::IndexOfCode(code) >= reader.notations().size()) {
      return "notation " + Hex(code) + " not in the table" + where();
    }
    text = reader.notations().NotationText(code);
    if (std::string bad = CheckNotationText(text); !bad.empty()) {
      return bad + where();
    }
    length = static_cast<std::int64_t>(reader.TokenLength(code));
  }

  if (after - length != before) {
    return "stepping back " + std::to_string(length) + " over " + Hex(code) +
           " from " + std::to_string(after) + " misses" + where();
  }
  const std::string_view read = bytes.substr(static_cast<std::size_t>(before),
                                             static_cast<std::size_t>(length));
  const bool same = IsNotationCode(code) ? Folded(read) == Folded(text)
                                         : read.substr(0, text.size()) == text;
  return same ? "" : "code " + Hex(code) + " is not the bytes read" + where();
}

SourceText ReadSourceText(std::string_view source, bool fold,
                          NotationTable& notations) {
  SourceText result;
  const SignSet no_signs;
  TokenReader reader(notations, no_signs, fold);
  auto src = SourceStream::FromBytes(std::string(source));
  auto out = OutputStream::ToString(&result.text, OutputStream::Mode::kBinary);
  const auto size = static_cast<std::int64_t>(source.size());
  std::size_t written = 0;
  for (;;) {
    const std::int64_t before = src->Tell();
    const Code code = reader.ReadToken(*src);
    const std::int64_t after = src->Tell();
    result.error = CheckToken(source, before, after, code, reader);
    if (!result.error.empty()) break;
    if (code != kEndOfSource) {
      written += reader.WriteCodeText(code, *out);
    } else if (after == before + 1 && source[before] == 0x1A) {
      result.marks.push_back(written);
    } else {
      break;
    }
    if (before == size) break;  // the end, whatever the code said
  }
  out->Close();
  return result;
}

std::string ReplaceBlocks(std::string_view result, int own, int count,
                          std::string* text, std::vector<std::string>* owns) {
  text->clear();
  if (owns != nullptr) owns->clear();
  const std::size_t n = result.size();
  const auto pair = [&](std::size_t at, char c) {
    return at + 1 < n && result[at] == c && result[at + 1] == c;
  };
  for (std::size_t i = 0; i < n;) {
    const char c = result[i];
    if (c == '|' || c == '}' || (c == '{' && !pair(i, '{'))) {
      return "stray marker" + At(static_cast<std::int64_t>(i)) + " " +
             Around(result, i);
    }
    if (c != '{') {
      *text += c;
      ++i;
      continue;
    }
    std::vector<std::string> parts(1);
    std::size_t j = i + 2;
    for (;;) {
      if (j >= n) return "unclosed block" + At(static_cast<std::int64_t>(i));
      if (pair(j, '|')) {
        parts.emplace_back();
        j += 2;
      } else if (pair(j, '}')) {
        j += 2;
        break;
      } else if (result[j] == '{' || result[j] == '|' || result[j] == '}') {
        return "stray marker in a block" + At(static_cast<std::int64_t>(j)) +
               " " + Around(result, i);
      } else {
        parts.back() += result[j++];
      }
    }
    if (static_cast<int>(parts.size()) != count) {
      return "block of " + std::to_string(parts.size()) + " texts" +
             At(static_cast<std::int64_t>(i)) + " " + Around(result, i);
    }
    *text += parts[static_cast<std::size_t>(own)];
    if (owns != nullptr) owns->push_back(parts[static_cast<std::size_t>(own)]);
    i = j;
  }
  return "";
}

namespace {

// Checks that `tail` is exactly the closing lines of a result file.
std::string CheckClosingLines(std::string_view tail,
                              const std::vector<std::string>& names, int count,
                              bool reached_line) {
  const auto take = [&](std::string_view what) {
    if (!tail.starts_with(what)) return false;
    tail.remove_prefix(what.size());
    return true;
  };
  const auto take_digits = [&] {
    std::size_t digits = 0;
    while (digits < tail.size() && tail[digits] >= '0' && tail[digits] <= '9')
      ++digits;
    tail.remove_prefix(digits);
    return digits > 0;
  };
  if (!take("\r\n\r\n")) return "no separator before the closing lines";
  for (int k = 0; k < count; ++k) {
    const std::string& name = names.at(static_cast<std::size_t>(k));
    if (!take(file_texts::kClosingStart) || !take(name) ||
        !take(file_texts::kClosingMiddle)) {
      return "closing line " + std::to_string(k + 1) +
             " malformed: " + Around(tail, 0);
    }
    if (!take_digits() ||
        !(take(file_texts::kClosingInterrupted) ||
          take(file_texts::kClosingEnded)) ||
        !take(file_texts::kResultLineEnd)) {
      return "closing line " + std::to_string(k + 1) +
             " malformed: " + Around(tail, 0);
    }
  }
  if (reached_line &&
      (!take(file_texts::kClosingReachedStart) || !take_digits() ||
       !take(file_texts::kClosingReachedEnd) ||
       !take(file_texts::kResultLineEnd))) {
    return "closing line of the look-ahead reached malformed: " +
           Around(tail, 0);
  }
  return tail.empty() ? ""
                      : "bytes after the closing lines: " + Around(tail, 0);
}

}  // namespace

std::string CheckRoundTrip(const RoundTripCase& c, NotationTable& notations) {
  std::string_view body = c.result;
  if (c.end == RunEnd::kCutOff) {
    const std::string start =
        "\r\n\r\n" + std::string(file_texts::kClosingStart) + c.names.at(0) +
        std::string(file_texts::kClosingMiddle);
    const std::size_t at = body.rfind(start);
    if (at == std::string_view::npos) return "no closing lines";
    if (std::string bad = CheckClosingLines(body.substr(at), c.names, c.count,
                                            c.reached_line);
        !bad.empty()) {
      return bad;
    }
    body = body.substr(0, at);
  }

  std::string text;
  if (std::string bad = ReplaceBlocks(body, c.own, c.count, &text);
      !bad.empty()) {
    return bad;
  }
  const SourceText source = ReadSourceText(c.source, c.fold, notations);
  if (!source.error.empty()) return "reading the source: " + source.error;

  const auto [mine, theirs] = std::mismatch(
      text.begin(), text.end(), source.text.begin(), source.text.end());
  if (mine != text.end()) {
    const auto at = static_cast<std::size_t>(mine - text.begin());
    return "text differs from the source" + At(static_cast<std::int64_t>(at)) +
           ": result " + Around(text, at) + ", source " +
           Around(source.text, at);
  }
  if (c.end == RunEnd::kCompleted && text.size() != source.text.size() &&
      std::find(source.marks.begin(), source.marks.end(), text.size()) ==
          source.marks.end()) {
    return "a completed run stops" +
           At(static_cast<std::int64_t>(text.size())) + " of " +
           std::to_string(source.text.size()) +
           ", at neither the end nor a 0x1A: next " +
           Around(source.text, text.size());
  }
  return "";
}

}  // namespace tessel::testing
