// tessel-unblock: checks that a result file is its source with difference
// blocks added. It removes every block "{{" a "||" b ["||" c] "}}" from the
// result, keeping the text of the chosen position, and compares what is
// left with the source. The benchmark uses it where hashes cannot serve: on
// editions too large to keep a reference for.
//
// The result is read as code page 950, so that a second byte that happens to
// be '{', '|' or '}' is never taken for a block mark; with --utf-8 byte by
// byte, as no byte of a UTF-8 sequence is below 0x80. ASCII letters match
// regardless of case, because a notation is written back in the spelling
// the run met first, which may differ in case from the one in the source.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : file_(file), buffer_(1 << 20) {}

  // The next byte, or -1 at the end.
  int Get() {
    if (cursor_ == limit_ && !Fill()) return -1;
    ++offset_;
    return buffer_[cursor_++];
  }
  int Peek() {
    if (cursor_ == limit_ && !Fill()) return -1;
    return buffer_[cursor_];
  }
  std::uint64_t offset() const { return offset_; }
  bool failed() const { return std::ferror(file_) != 0; }

 private:
  bool Fill() {
    limit_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    cursor_ = 0;
    return limit_ > 0;
  }

  std::FILE* file_;
  std::vector<unsigned char> buffer_;
  std::size_t cursor_ = 0;
  std::size_t limit_ = 0;
  std::uint64_t offset_ = 0;
};

int Fold(int b) { return (b >= 'A' && b <= 'Z') ? b - 'A' + 'a' : b; }

bool IsLeadByte(int b) { return b >= 0x81 && b <= 0xFE; }

// A lead byte pairs with the next byte unless that ends a line or the file,
// as the reader of the engine pairs them.
bool PairsWith(int next) {
  return next != -1 && next != '\n' && next != '\r' && next != 0x1A;
}

}  // namespace

int main(int argc, char** argv) {
  const bool utf8 = argc > 1 && std::string_view(argv[1]) == "--utf-8";
  if (utf8) {
    --argc;
    ++argv;
  }
  if (argc != 4 || std::atoi(argv[3]) < 1 || std::atoi(argv[3]) > 3) {
    std::fputs(
        "Usage: tessel-unblock [--utf-8] RESULT SOURCE POSITION\n"
        "Removes the blocks from RESULT, keeping the text at POSITION (1..3)\n"
        "of each, and compares the rest with SOURCE. Prints the number of\n"
        "blocks; exit status 0 when they agree, 1 when not, 2 on trouble.\n"
        "RESULT is read as code page 950, or as UTF-8 with --utf-8.\n",
        stderr);
    return 2;
  }
  const int keep = std::atoi(argv[3]);
  std::FILE* result_file = std::fopen(argv[1], "rb");
  std::FILE* source_file = std::fopen(argv[2], "rb");
  if (result_file == nullptr || source_file == nullptr) {
    std::fprintf(stderr, "tessel-unblock: cannot open %s\n",
                 result_file == nullptr ? argv[1] : argv[2]);
    return 2;
  }
  ByteReader result(result_file);
  ByteReader source(source_file);

  std::uint64_t blocks = 0;
  bool in_block = false;
  int position = 0;
  bool agree = true;
  const auto compare = [&](int b) {
    const int s = source.Get();
    if (s == -1 || Fold(s) != Fold(b)) {
      std::fprintf(stderr,
                   "tessel-unblock: result byte %" PRIu64
                   " does not match source byte %" PRIu64 "\n",
                   result.offset() - 1, source.offset() - (s == -1 ? 0 : 1));
      agree = false;
    }
  };

  for (int b = result.Get(); b != -1 && agree; b = result.Get()) {
    const int next = result.Peek();
    if (!in_block && b == '{' && next == '{') {
      result.Get();
      in_block = true;
      position = 1;
    } else if (in_block && b == '|' && next == '|') {
      result.Get();
      ++position;
    } else if (in_block && b == '}' && next == '}') {
      result.Get();
      in_block = false;
      ++blocks;
    } else {
      const bool kept = !in_block || position == keep;
      if (kept) compare(b);
      if (!utf8 && IsLeadByte(b) && PairsWith(next)) {
        const int second = result.Get();
        if (kept && agree) compare(second);
      }
    }
  }
  if (agree && in_block) {
    std::fprintf(stderr, "tessel-unblock: the result ends inside a block\n");
    agree = false;
  }
  if (agree && source.Get() != -1) {
    std::fprintf(stderr,
                 "tessel-unblock: the source goes on after byte %" PRIu64
                 ", where the result ends\n",
                 source.offset() - 1);
    agree = false;
  }
  if (result.failed() || source.failed()) {
    std::fprintf(stderr, "tessel-unblock: reading failed\n");
    return 2;
  }
  std::printf("blocks %" PRIu64 "\n", blocks);
  return agree ? 0 : 1;
}
