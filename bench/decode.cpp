// tessel-decode-speed: how fast the character readers go, apart from any
// run. Reads each FILE whole, then reads its characters over and over for
// about a second in the file's detected encoding (Big5: a code per high
// byte and the next, mapped through code page 950), and prints the
// characters and megabytes per second. Guides the inline paths; the figures
// that count are scripts/bench's whole runs.
//
//   tessel-decode-speed FILE...

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "CanonicalSingleton.h"
#include "Cp950.h"
#include "Encoding.h"
#include "UnicodeDecoder.h"

namespace {

using namespace tessel;

// Reads every character once; returns the count, and a sum of the values
// so that the work cannot be left out.
std::size_t ReadOnce(const unsigned char* p, const unsigned char* end,
                     Encoding encoding, char32_t* sum) {
  std::size_t count = 0;
  while (p < end) {
    DecodedChar c;
    switch (encoding) {
      case Encoding::kUtf8:
        c = DecodeUtf8(p, end);
        break;
      case Encoding::kUtf16Le:
        c = DecodeUtf16Le(p, end);
        break;
      case Encoding::kUtf16Be:
        c = DecodeUtf16Be(p, end);
        break;
      case Encoding::kBig5:
        if (*p >= 0x80 && end - p >= 2) {
          const auto code = static_cast<std::uint16_t>(*p << 8 | p[1]);
          c = {Cp950ToUnicode(code).value_or(code), 2, false};
        } else {
          c = {*p, 1, false};
        }
        break;
    }
    *sum += FoldCanonicalSingleton(c.value);
    p += c.length;
    ++count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tessel-decode-speed FILE...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string bytes = content.str();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::span head(p, bytes.size());
    const Encoding encoding = DetectEncoding(head);
    const std::size_t mark = ByteOrderMarkLength(encoding, head);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::size_t chars = 0;
    std::size_t passes = 0;
    char32_t sum = 0;
    do {
      chars += ReadOnce(p + mark, p + bytes.size(), encoding, &sum);
      ++passes;
    } while (Clock::now() - start < std::chrono::seconds(1));
    const double seconds =
        std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%-40s %-8s %8.1f Mchar/s %8.1f MB/s  (%u)\n", argv[i],
                std::string(EncodingName(encoding)).c_str(),
                chars / seconds / 1e6, bytes.size() * passes / seconds / 1e6,
                static_cast<unsigned>(sum & 0xF));
  }
  return 0;
}
