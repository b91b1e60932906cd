// An output file of a run, buffered, in binary or text mode.
//
// Text mode writes every line-feed byte as carriage return and line feed on
// every platform; binary mode writes bytes as they are. Write errors are
// remembered and reported by Close, so a full disk never passes unnoticed.

#ifndef TESSEL_ENGINE_OUTPUTSTREAM_H_
#define TESSEL_ENGINE_OUTPUTSTREAM_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

class OutputStream {
 public:
  enum class Mode { kBinary, kText };

  // Creates or empties `path` for writing. Returns nullptr when that fails.
  static std::unique_ptr<OutputStream> OpenFile(
      const std::filesystem::path& path, Mode mode);

  // An output that appends to `*sink`, which must outlive it; for tests.
  static std::unique_ptr<OutputStream> ToString(std::string* sink, Mode mode);

  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;
  // Closes the output if Close has not been called.
  ~OutputStream();

  // Writes one byte (a line feed as two bytes in text mode).
  void Put(unsigned char byte) {
    if (byte == '\n' && mode_ == Mode::kText) PutRaw('\r');
    PutRaw(byte);
  }

  // Writes the two bytes of a double-byte character, neither of which is
  // ever a line feed.
  void PutPair(unsigned char first, unsigned char second) {
    if (buffer_.size() - fill_ < 2) Flush();
    buffer_[fill_] = first;
    buffer_[fill_ + 1] = second;
    fill_ += 2;
  }

  // Writes `bytes`, translated as Put translates them.
  void Write(std::string_view bytes) {
    // The report writers write many short pieces: the common case is one
    // copy into the buffer.
    if (mode_ == Mode::kBinary && bytes.size() <= buffer_.size() - fill_) {
      std::memcpy(buffer_.data() + fill_, bytes.data(), bytes.size());
      fill_ += bytes.size();
      return;
    }
    WriteThrough(bytes);
  }

  // Makes Close report failure, as a failed write would: for a writer
  // whose output is incomplete for a reason of its own.
  void MarkFailed() { failed_ = true; }

  // Writes every buffered byte out and closes the file. Returns false when
  // any write since opening failed, or closing failed. Further calls return
  // the same result.
  bool Close();

 private:
  OutputStream(std::FILE* file, std::string* sink, Mode mode);
  void PutRaw(unsigned char byte) {
    if (fill_ == buffer_.size()) Flush();
    buffer_[fill_++] = byte;
  }
  void Flush();
  void WriteThrough(std::string_view bytes);

  std::FILE* file_;    // null for an output to a string, or once closed
  std::string* sink_;  // the string output, or null
  Mode mode_;
  std::vector<unsigned char> buffer_;
  std::size_t fill_ = 0;
  bool failed_ = false;
  bool closed_ = false;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_OUTPUTSTREAM_H_
