// tessel-variant-lookup: what the representative lookup costs per compared
// character. Decodes two UTF-8 editions, then walks them in lockstep as the
// comparison does on agreeing text, once comparing characters and once
// comparing their representatives under a list of tables, and prints the
// time per character of each and the ratio.
//
//   tessel-variant-lookup A.txt B.txt [TABLES]     (TABLES: default semantic)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "VariantTable.h"

namespace {

constexpr int kRounds = 20;

std::vector<char32_t> Decode(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length && i + k < bytes.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

// Counts agreeing positions; `Key` is what the comparison looks at. The
// fastest of the rounds counts: the machine is shared, and others' work
// only ever adds time.
template <typename Key>
double NanosecondsPerCharacter(const std::vector<char32_t>& a,
                               const std::vector<char32_t>& b, Key key,
                               std::size_t& agreeing) {
  const std::size_t n = std::min(a.size(), b.size());
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    agreeing = 0;
    for (std::size_t i = 0; i < n; ++i) agreeing += key(a[i]) == key(b[i]);
    const std::chrono::duration<double, std::nano> spent =
        std::chrono::steady_clock::now() - start;
    if (round == 0 || spent.count() < best) best = spent.count();
  }
  return best / static_cast<double>(n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tessel-variant-lookup A.txt B.txt [TABLES]\n");
    return 2;
  }
  tessel::VariantTableBuilder builder;
  const char* list = argc > 3 ? argv[3] : "semantic";
  if (!builder.AddList(list).ok()) {
    std::fprintf(stderr, "cannot read the tables %s\n", list);
    return 2;
  }
  const tessel::VariantTable table = builder.Build();
  const std::vector<char32_t> a = Decode(argv[1]), b = Decode(argv[2]);
  std::size_t plain_agreeing = 0, variant_agreeing = 0;
  const double plain = NanosecondsPerCharacter(
      a, b, [](char32_t c) { return c; }, plain_agreeing);
  const double variant = NanosecondsPerCharacter(
      a, b, [&](char32_t c) { return table.Representative(c); },
      variant_agreeing);
  std::printf("characters %zu, tables %s\n", std::min(a.size(), b.size()),
              list);
  std::printf("plain     %.3f ns/char, %zu agree\n", plain, plain_agreeing);
  std::printf("variants  %.3f ns/char, %zu agree\n", variant, variant_agreeing);
  std::printf("extra     %.3f ns/char\n", variant - plain);
  return 0;
}
