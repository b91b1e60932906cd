// tessel-chars: the compared characters of editions, for the benchmark's
// measure of alignment quality.
//
//   tessel-chars SIGNS OUTDIR SOURCE...
//     writes OUTDIR/c1, c2, ...: the compared characters of each source, one
//     code a line in hex, read as a run reads them (ignored symbols from the
//     ignored-symbol file SIGNS skipped, notations folded). One process
//     reads every source, so a notation has one code in all of them. A
//     longest-common-subsequence diff of two such lists is the reference
//     alignment.
//   tessel-chars --outside SIGNS RESULT [--cut]
//     prints how many compared characters of the result file lie outside
//     its difference blocks: the characters the run aligned. With --cut
//     (a run that was cut off), the closing lines are left out.

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "NotationTable.h"
#include "SignFile.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace {

bool ReadAll(const char* path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in),
                std::istreambuf_iterator<char>());
  return !in.bad();
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The text of `result` outside its "{{" ... "}}" blocks, read as code page
// 950 so that a second byte is never taken for a block mark.
std::string OutsideBlocks(const std::string& result) {
  std::string outside;
  bool in_block = false;
  for (std::size_t i = 0; i < result.size(); ++i) {
    const auto b = static_cast<unsigned char>(result[i]);
    const char next = i + 1 < result.size() ? result[i + 1] : '\0';
    if (!in_block && b == '{' && next == '{') {
      in_block = true;
      ++i;
    } else if (in_block && b == '}' && next == '}') {
      in_block = false;
      ++i;
    } else if (IsLeadByte(b) && i + 1 < result.size()) {
      if (!in_block) outside.append(result, i, 2);
      ++i;
    } else if (!in_block) {
      outside += static_cast<char>(b);
    }
  }
  return outside;
}

int Usage() {
  std::fputs(
      "Usage: tessel-chars SIGNS OUTDIR SOURCE...\n"
      "       tessel-chars --outside SIGNS RESULT [--cut]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool outside_mode = argc >= 4 && std::string(argv[1]) == "--outside";
  if (argc < 4 || (outside_mode && argc > 5)) return Usage();
  const char* sign_path = argv[outside_mode ? 2 : 1];

  tessel::NotationTable notations;
  tessel::SignSet signs;
  tessel::TokenReader reader(notations, signs, true);
  std::string sign_bytes;
  if (!ReadAll(sign_path, &sign_bytes)) {
    std::fprintf(stderr, "tessel-chars: cannot read %s\n", sign_path);
    return 2;
  }
  tessel::LoadSignFile(
      reader, *tessel::SourceStream::FromBytes(std::move(sign_bytes)), signs);

  if (outside_mode) {
    std::string result;
    if (!ReadAll(argv[3], &result)) {
      std::fprintf(stderr, "tessel-chars: cannot read %s\n", argv[3]);
      return 2;
    }
    if (argc == 5) {
      if (std::string(argv[4]) != "--cut") return Usage();
      // "\r\n\r\n====== 檔案 ": where the closing lines begin.
      const auto at = result.rfind("\r\n\r\n====== \xC0\xC9\xAE\xD7 ");
      if (at != std::string::npos) result.resize(at);
    }
    auto text = tessel::SourceStream::FromBytes(OutsideBlocks(result));
    std::uint64_t count = 0;
    for (tessel::Code code = reader.ReadToken(*text);
         code != tessel::kEndOfSource || !text->Eof();
         code = reader.ReadToken(*text)) {
      if (!reader.IsIgnored(code)) ++count;
    }
    std::printf("%" PRIu64 "\n", count);
    return 0;
  }

  for (int k = 3; k < argc; ++k) {
    auto source = tessel::SourceStream::OpenFile(argv[k]);
    // Built up piece by piece: GCC 12 warns falsely on "c" + to_string().
    std::string name = "c";
    name += std::to_string(k - 2);
    const auto out_path = std::filesystem::path(argv[2]) / name;
    std::FILE* out = std::fopen(out_path.string().c_str(), "wb");
    if (source == nullptr || out == nullptr) {
      std::fprintf(stderr, "tessel-chars: cannot open %s\n",
                   source == nullptr ? argv[k] : out_path.string().c_str());
      return 2;
    }
    for (tessel::Code code = reader.ReadToken(*source);
         code != tessel::kEndOfSource || !source->Eof();
         code = reader.ReadToken(*source)) {
      if (!reader.IsIgnored(code)) std::fprintf(out, "%x\n", code);
    }
    if (std::fclose(out) != 0 || source->Error()) {
      std::fprintf(stderr, "tessel-chars: writing %s failed\n",
                   out_path.string().c_str());
      return 2;
    }
  }
  return 0;
}
