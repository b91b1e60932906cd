// A source opened for binary reading, with the semantics of a C stdio
// stream and a buffer of its own.
//
// The comparison relies on stdio's end-of-file indicator: it is set when a
// read meets the end of the source and cleared by every seek. While it is
// set, reads return the end at once, as glibc's do. Reading back and forth
// within the buffer costs no system call.

#ifndef TESSEL_ENGINE_SOURCESTREAM_H_
#define TESSEL_ENGINE_SOURCESTREAM_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tessel {

class SourceStream {
 public:
  // Returned by Getc at the end of the source or on a read error.
  static constexpr int kEnd = -1;

  // Opens `path` for binary reading. Returns nullptr when it cannot be
  // opened, which includes a directory.
  static std::unique_ptr<SourceStream> OpenFile(
      const std::filesystem::path& path);

  // A source whose content is `bytes`; for tests and in-memory callers.
  static std::unique_ptr<SourceStream> FromBytes(std::string bytes);

  SourceStream(const SourceStream&) = delete;
  SourceStream& operator=(const SourceStream&) = delete;
  ~SourceStream();

  // Reads the next byte (0..255). Returns kEnd and sets the end-of-file
  // indicator when there is none; returns kEnd and sets the error indicator
  // when reading fails.
  int Getc() {
    if (cursor_ < limit_) return buffer_[cursor_++];
    return Refill();
  }

  // Like fgets: reads up to `limit` bytes into `out`, stopping after the
  // first line feed, which is stored. Meeting the end sets the end-of-file
  // indicator. Returns the number of bytes stored.
  std::size_t ReadLine(unsigned char* out, std::size_t limit);

  // Byte offset of the next byte to be read.
  std::int64_t Tell() const {
    return buffer_start_ + static_cast<std::int64_t>(cursor_);
  }

  // Sets the position to the absolute `offset` (>= 0) and clears the
  // end-of-file indicator.
  void Seek(std::int64_t offset);
  void SeekRelative(std::int64_t delta) { Seek(Tell() + delta); }

  // The length of the source in bytes, as seeking to its end would tell;
  // -1 when it cannot be found. Leaves the position and the indicators as
  // they were.
  std::int64_t Length();

  // The bytes from the current position on that can be had without a read
  // that meets the end: at least `want` of them unless the source ends
  // sooner or a read fails. Neither moves the position nor sets the
  // end-of-file indicator; Skip then moves past bytes seen here.
  std::span<const unsigned char> Peek(std::size_t want) {
    if (limit_ - cursor_ < want) Reload(want);
    return {buffer_.data() + cursor_, limit_ - cursor_};
  }
  void Skip(std::size_t count) { cursor_ += count; }

  // Whether the byte just before the current position exists and is a NUL.
  bool PrecededByNul();

  bool Eof() const { return eof_; }
  bool Error() const { return error_; }

 private:
  SourceStream(std::FILE* file, std::string bytes);
  int Refill();
  void Reload(std::size_t want);
  // Fills the buffer from the current position; returns the bytes read, or
  // 0 at the end or after a read error (which sets the error indicator).
  std::size_t LoadAtPosition();

  std::FILE* file_;    // null for an in-memory source
  std::string bytes_;  // the whole content of an in-memory source
  std::vector<unsigned char> buffer_;
  std::int64_t buffer_start_ = 0;   // source offset of buffer_[0]
  std::size_t cursor_ = 0;          // next byte in buffer_
  std::size_t limit_ = 0;           // bytes valid in buffer_
  std::int64_t file_position_ = 0;  // where the FILE stands; -1 unknown
  bool eof_ = false;
  bool error_ = false;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_SOURCESTREAM_H_
