// The ignored-symbol set from a file and from the memo, over arbitrary
// bytes. The first byte chooses folding; the rest is both the file and the
// memo text. Each set must ignore exactly what the packed, zero-terminated
// list of its entries holds: the control bytes, and every entry before the
// first one with a zero byte, matched whole.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "NotationTable.h"
#include "RoundTrip.h"
#include "SignFile.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel::fuzz {
namespace {

using Members = std::bitset<kCodeLimit>;

// Adds `code` as the packed list would hold it; false once the list has
// ended at a zero byte.
bool Add(Members& members, Code code) {
  if (code / 256 == 0 || code % 256 == 0) return false;
  members.set(code);
  return true;
}

// The codes that could be in a set loaded from `bytes`: every single byte,
// every pair of neighbouring bytes and the codes beside it, every notation
// met, and a spread of all the others.
std::vector<Code> Probes(std::string_view bytes, const NotationTable& table) {
  std::vector<Code> probes;
  for (Code code = 0; code < 512; ++code) probes.push_back(code);
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    const Code pair = static_cast<unsigned char>(bytes[i]) * 256u +
                      static_cast<unsigned char>(bytes[i + 1]);
    for (Code code : {pair - 1, pair, pair + 1}) {
      if (code < kCodeLimit) probes.push_back(code);
    }
  }
  for (std::size_t i = 0; i <= table.size(); ++i) {
    probes.push_back(NotationTable::CodeOfIndex(i));
  }
  for (Code code = 512; code < kCodeLimit; code += 97) probes.push_back(code);
  return probes;
}

void Compare(const SignSet& set, const Members& members,
             const std::vector<Code>& probes, const std::string& context) {
  for (Code code : probes) {
    const bool want = code <= kLastControl || members[code];
    if (set.IsIgnored(code) != want) {
      Fail(context + ": code " + std::to_string(code) +
           (want ? " not ignored" : " ignored"));
    }
  }
}

// The file's entries: what a reader of its own yields, line ends left
// out; every code in range and true to its bytes.
Members FileMembers(std::string_view bytes, bool fold) {
  NotationTable notations;
  const SignSet none;
  TokenReader reader(notations, none, fold);
  auto src = SourceStream::FromBytes(std::string(bytes));
  Members members;
  bool open = true;
  for (;;) {
    const std::int64_t before = src->Tell();
    const Code code = reader.ReadToken(*src);
    Require(testing::CheckToken(bytes, before, src->Tell(), code, reader),
            "sign file");
    if (code == kEndOfSource) break;  // a 0x1A ends the file too
    if (code != kLineFeed && code != kCarriageReturn && open) {
      open = Add(members, code);
    }
  }
  return members;
}

Members MemoMembers(std::string_view text) {
  Members members;
  bool open = true;
  for (std::size_t i = 0; i < text.size() && open; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\n' || b == '\r') continue;
    if (b < 0x80) {
      open = Add(members, 256 + b);
    } else if (i + 1 < text.size()) {
      open = Add(members, b * 256u + static_cast<unsigned char>(text[++i]));
    }
  }
  return members;
}

}  // namespace
}  // namespace tessel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace tessel;
  if (size == 0) return 0;
  const bool fold = (data[0] & 1) != 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1,
                               size - 1);

  NotationTable notations;
  SignSet set;
  TokenReader reader(notations, set, fold);
  const fuzz::Members from_file = fuzz::FileMembers(bytes, fold);
  const fuzz::Members from_memo = fuzz::MemoMembers(bytes);

  auto file = SourceStream::FromBytes(std::string(bytes));
  LoadSignFile(reader, *file, set);
  const std::vector<Code> probes = fuzz::Probes(bytes, notations);
  fuzz::Compare(set, from_file, probes, fold ? "file, folding" : "file");
  // Loading again starts from an empty set, whatever came before.
  set.LoadSignMemo(bytes);
  fuzz::Compare(set, from_memo, probes, "memo after file");
  file = SourceStream::FromBytes(std::string(bytes));
  LoadSignFile(reader, *file, set);
  fuzz::Compare(set, from_file, probes, "file after memo");
  return 0;
}
