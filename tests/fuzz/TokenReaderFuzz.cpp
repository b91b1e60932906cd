// The token reader over arbitrary bytes, folding off and on: every code is
// in range and stands for exactly the bytes it moved over, stepping back by
// its length returns to where it began, reading again from there gives it
// again, and a copy from any character copies what a linear read gives.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "NotationTable.h"
#include "OutputStream.h"
#include "RoundTrip.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel::fuzz {
namespace {

struct Token {
  std::int64_t start;
  Code code;
};

void ReadAll(std::string_view bytes, bool fold) {
  const std::string context = fold ? "folding" : "not folding";
  NotationTable notations;
  const SignSet signs;
  TokenReader reader(notations, signs, fold);
  auto src = SourceStream::FromBytes(std::string(bytes));
  std::vector<Token> tokens;
  for (;;) {
    const std::int64_t before = src->Tell();
    const Code code = reader.ReadToken(*src);
    const std::int64_t after = src->Tell();
    Require(testing::CheckToken(bytes, before, after, code, reader), context);
    // The search and the writers read a stretch again after seeking back.
    src->Seek(before);
    if (reader.ReadToken(*src) != code || src->Tell() != after) {
      Fail(context + ": reading again at " + std::to_string(before) +
           " gives another code");
    }
    tokens.push_back({before, code});
    if (code == kEndOfSource && !(after == before + 1 && bytes[before] == 0x1A))
      break;
  }

  // CopySource from a character must give the linear read's texts, up to
  // the first 0, with control bytes not counted. A few starts suffice: each
  // output costs a buffer of its own.
  const std::size_t n = tokens.size();
  for (std::size_t t = 0; t < n; t += 1 + n / 4) {
    for (std::int64_t count : {2, 12}) {
      std::string want;
      auto want_out =
          OutputStream::ToString(&want, OutputStream::Mode::kBinary);
      std::int64_t counted = 0;
      for (std::size_t u = t; u < n && counted < count; ++u) {
        const Code code = tokens[u].code;
        if (code == kEndOfSource) break;
        if (!reader.IsIgnored(code)) counted += 2;
        reader.WriteCodeText(code, *want_out);
      }
      want_out->Close();
      std::string got;
      auto got_out = OutputStream::ToString(&got, OutputStream::Mode::kBinary);
      reader.CopySource(*src, tokens[t].start, count, *got_out);
      got_out->Close();
      if (got != want) {
        Fail(context + ": CopySource from " + std::to_string(tokens[t].start) +
             " of " + std::to_string(count) + " differs from a linear read");
      }
    }
  }
}

}  // namespace
}  // namespace tessel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tessel::fuzz::ReadAll(bytes, false);
  tessel::fuzz::ReadAll(bytes, true);
  return 0;
}
