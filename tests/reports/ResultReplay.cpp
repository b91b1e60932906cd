#include "ResultReplay.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "SourceStream.h"

namespace tessel::testing {

namespace {

// One result file cut at its blocks: texts[i] comes before blocks[i]; the
// last text follows the last block.
struct CutResult {
  std::vector<std::string> texts;
  std::vector<std::vector<std::string>> blocks;
};

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

CutResult Cut(const std::string& bytes) {
  CutResult cut;
  cut.texts.emplace_back();
  std::vector<std::string>* block = nullptr;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::string_view pair = std::string_view(bytes).substr(i, 2);
    std::string& into = block ? block->back() : cut.texts.back();
    if (IsLeadByte(b) && i + 1 < bytes.size()) {
      into += pair;
      i += 2;
    } else if (block == nullptr && pair == "{{") {
      cut.blocks.emplace_back(1);
      block = &cut.blocks.back();
      i += 2;
    } else if (block != nullptr && pair == "||") {
      block->emplace_back();
      i += 2;
    } else if (block != nullptr && pair == "}}") {
      block = nullptr;
      cut.texts.emplace_back();
      i += 2;
    } else {
      into += static_cast<char>(b);
      ++i;
    }
  }
  return cut;
}

// Big5 (code page 950) to UTF-8, one character at a time so that a
// character iconv does not know becomes U+FFFD alone.
class Big5ToUtf8 {
 public:
  Big5ToUtf8() : cd_(iconv_open("UTF-8", "CP950")) {}
  ~Big5ToUtf8() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // A notation may hold Big5 characters too ("[彳*&x-656B;]"); a high
  // byte without a second becomes U+FFFD.
  std::string Text(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size();) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (IsLeadByte(b) && i + 1 < bytes.size()) {
        text += Character(bytes.substr(i, 2));
        i += 2;
      } else {
        text += b < 0x80 ? std::string(1, static_cast<char>(b))
                         : std::string("\xEF\xBF\xBD");
        ++i;
      }
    }
    return text;
  }

 private:
  std::string Character(std::string_view in) {
    char out[16];
    char* inp = const_cast<char*>(in.data());
    char* outp = out;
    std::size_t inleft = in.size(), outleft = sizeof out;
    if (iconv(cd_, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1)) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return "\xEF\xBF\xBD";
    }
    return std::string(out, sizeof out - outleft);
  }

  iconv_t cd_;
};

struct Token {
  std::string utf8;
  bool ignored;
};

std::vector<Token> Tokens(const std::string& bytes, TokenReader& reader,
                          Big5ToUtf8& convert) {
  std::vector<Token> tokens;
  auto stream = SourceStream::FromBytes(bytes);
  for (;;) {
    const std::int64_t start = stream->Tell();
    const Code code = reader.ReadToken(*stream);
    const std::int64_t end = stream->Tell();
    if (end == start) break;
    const std::string_view text = std::string_view(bytes).substr(
        static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    tokens.push_back({convert.Text(text), reader.IsIgnored(code)});
  }
  return tokens;
}

}  // namespace

std::string Big5TextToUtf8(const std::string& bytes, TokenReader& reader) {
  Big5ToUtf8 convert;
  std::string text;
  for (const Token& token : Tokens(bytes, reader, convert)) text += token.utf8;
  return text;
}

std::string ReplayResults(const std::vector<std::string>& results,
                          TokenReader& reader,
                          const RunDescription& description,
                          DifferenceSink& sink) {
  Big5ToUtf8 convert;
  if (!convert.ok()) return "iconv has no CP950";
  const int n = description.source_count;
  std::vector<CutResult> cuts;
  for (int k = 0; k < n; ++k) cuts.push_back(Cut(results[k]));
  for (int k = 1; k < n; ++k) {
    if (cuts[k].blocks.size() != cuts[0].blocks.size()) {
      return "the result files hold different numbers of blocks";
    }
  }
  // With two sources each file's own text comes first in its blocks; with
  // three every block is in source order.
  const auto own_part = [&](int k) { return n == 2 ? 0 : k; };

  sink.BeginRun(description);
  std::array<std::int64_t, kMaxReportSources> offsets{}, lines{1, 1, 1};
  const auto copy = [&](int k, const std::string& bytes) {
    for (const Token& token : Tokens(bytes, reader, convert)) {
      sink.CopyText(k, token.utf8, token.ignored);
    }
    offsets[k] += static_cast<std::int64_t>(bytes.size());
    lines[k] += std::count(bytes.begin(), bytes.end(), '\n');
  };
  for (std::size_t i = 0; i < cuts[0].blocks.size(); ++i) {
    for (int k = 0; k < n; ++k) copy(k, cuts[k].texts[i]);
    std::array<std::string, kMaxReportSources> texts, compared;
    DifferenceRecord record;
    record.number = static_cast<std::int64_t>(i) + 1;
    for (int k = 0; k < n; ++k) {
      const std::vector<std::string>& block = cuts[k].blocks[i];
      if (static_cast<int>(block.size()) != n)
        return "a block without " + std::to_string(n) + " parts";
      const std::string& bytes = block[own_part(k)];
      std::int32_t count = 0;
      for (const Token& token : Tokens(bytes, reader, convert)) {
        texts[k] += token.utf8;
        if (!token.ignored) compared[k] += token.utf8, ++count;
      }
      record.spans[k] = {
          lines[k], offsets[k],  static_cast<std::int64_t>(bytes.size()),
          texts[k], compared[k], count};
      offsets[k] += static_cast<std::int64_t>(bytes.size());
      lines[k] += std::count(bytes.begin(), bytes.end(), '\n');
    }
    sink.Difference(record);
  }
  for (int k = 0; k < n; ++k) copy(k, cuts[k].texts.back());

  RunEnd end;
  end.outcome = ReportOutcome::kCompleted;
  end.difference_count = static_cast<std::int64_t>(cuts[0].blocks.size());
  for (int k = 0; k < n; ++k) {
    end.lines[k] = lines[k];
    end.source_ended[k] = true;
  }
  sink.EndRun(end);
  return "";
}

}  // namespace tessel::testing
