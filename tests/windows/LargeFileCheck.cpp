// Checks the engine's 64-bit file positions where long is 32 bits wide:
// `large_file_check FILE` reads FILE, which the caller has made kLength
// bytes long (sparse, so it costs no disk) with kMarks written into it.
// Prints each failure; exits 0 when all held, 1 otherwise.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "PlatformFile.h"
#include "SourceStream.h"

namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
// Past 4 GiB, so that neither 31 nor 32 bits can hold the length.
constexpr std::int64_t kLength = 5 * kGiB + 3;

struct Mark {
  const char* name;
  std::int64_t offset;
  int byte;
};

// Each side of the 2 GiB and 4 GiB lines, and the last byte. Keep in step
// with scripts/test-windows, which writes them.
constexpr Mark kMarks[] = {
    {"last byte below 2 GiB", 2 * kGiB - 1, 'A'},
    {"first byte at 2 GiB", 2 * kGiB, 'B'},
    {"last byte below 4 GiB", 4 * kGiB - 1, 'C'},
    {"first byte at 4 GiB", 4 * kGiB, 'D'},
    {"last byte", kLength - 1, 'E'},
};

int failures = 0;

void Expect(bool held, const std::string& what) {
  if (held) return;
  std::printf("FAIL %s\n", what.c_str());
  ++failures;
}

void CheckNativeFile(const std::filesystem::path& path) {
  std::FILE* file = tessel::OpenNativeFile(path, "rb");
  Expect(file != nullptr, "OpenNativeFile opens the file");
  if (file == nullptr) return;
  Expect(tessel::NativeFileLength(file) == kLength,
         "NativeFileLength gives the whole length");
  for (const Mark& mark : kMarks) {
    const bool sought = tessel::SeekNativeFile(file, mark.offset);
    Expect(sought && std::fgetc(file) == mark.byte,
           std::string("SeekNativeFile reaches the ") + mark.name);
  }
  std::fclose(file);
}

// The stream the comparison reads through, seeking backwards as well as
// forwards across the lines, and reading through the last byte to the end.
void CheckSourceStream(const std::filesystem::path& path) {
  std::unique_ptr<tessel::SourceStream> stream =
      tessel::SourceStream::OpenFile(path);
  Expect(stream != nullptr, "SourceStream opens the file");
  if (stream == nullptr) return;
  Expect(stream->Length() == kLength, "SourceStream::Length");
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < static_cast<int>(std::size(kMarks)); ++i) {
      const Mark& mark = kMarks[pass == 0 ? i : std::size(kMarks) - 1 - i];
      stream->Seek(mark.offset);
      const int byte = stream->Getc();
      Expect(byte == mark.byte && stream->Tell() == mark.offset + 1,
             std::string("SourceStream reaches the ") + mark.name +
                 (pass == 0 ? " going forwards" : " going backwards"));
    }
  }
  stream->Seek(kLength - 1);
  stream->Getc();
  Expect(stream->Getc() == tessel::SourceStream::kEnd,
         "SourceStream ends after the last byte");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: large_file_check FILE\n", stderr);
    return 2;
  }
  const std::filesystem::path path = tessel::PathFromName(argv[1]);
  CheckNativeFile(path);
  CheckSourceStream(path);
  return failures == 0 ? 0 : 1;
}
