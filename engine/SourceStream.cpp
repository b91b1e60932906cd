#include "SourceStream.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "CharCodes.h"
#include "PlatformFile.h"

namespace tessel {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}  // namespace

std::unique_ptr<SourceStream> SourceStream::OpenFile(
    const std::filesystem::path& path) {
  std::FILE* file = OpenNativeFile(path, "rb");
  if (file == nullptr) return nullptr;
  return std::unique_ptr<SourceStream>(new SourceStream(file, {}));
}

std::unique_ptr<SourceStream> SourceStream::FromBytes(std::string bytes) {
  return std::unique_ptr<SourceStream>(
      new SourceStream(nullptr, std::move(bytes)));
}

SourceStream::SourceStream(std::FILE* file, std::string bytes)
    : file_(file), bytes_(std::move(bytes)), buffer_(kBufferSize) {}

SourceStream::~SourceStream() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t SourceStream::LoadAtPosition() {
  const std::int64_t position = Tell();
  std::size_t got = 0;
  if (file_ == nullptr) {
    const auto size = static_cast<std::int64_t>(bytes_.size());
    if (position < size) {
      got = static_cast<std::size_t>(
          std::min<std::int64_t>(size - position, kBufferSize));
      std::memcpy(buffer_.data(), bytes_.data() + position, got);
    }
  } else {
    if (file_position_ != position && !SeekNativeFile(file_, position)) {
      file_position_ = -1;
      error_ = true;
      return 0;
    }
    got = std::fread(buffer_.data(), 1, kBufferSize, file_);
    file_position_ = position + static_cast<std::int64_t>(got);
    if (got == 0 && std::ferror(file_)) {
      std::clearerr(file_);
      file_position_ = -1;
      error_ = true;
      return 0;
    }
  }
  buffer_start_ = position;
  cursor_ = 0;
  limit_ = got;
  return got;
}

int SourceStream::Refill() {
  // The end-of-file indicator is sticky until the next seek.
  if (eof_) return kEnd;
  if (LoadAtPosition() == 0) {
    if (!error_) eof_ = true;
    return kEnd;
  }
  return buffer_[cursor_++];
}

void SourceStream::Reload(std::size_t want) {
  if (limit_ - cursor_ < want && !eof_ && !error_) LoadAtPosition();
}

std::size_t SourceStream::ReadLine(unsigned char* out, std::size_t limit) {
  if (limit <= limit_ - cursor_) {
    // All of it lies in the buffer: no end of the source can be met.
    const unsigned char* from = buffer_.data() + cursor_;
    const void* feed = std::memchr(from, kLineFeedByte, limit);
    const std::size_t n =
        feed != nullptr ? static_cast<std::size_t>(
                              static_cast<const unsigned char*>(feed) - from) +
                              1
                        : limit;
    std::memcpy(out, from, n);
    cursor_ += n;
    return n;
  }
  std::size_t n = 0;
  while (n < limit) {
    const int c = Getc();
    if (c == kEnd) break;
    out[n++] = static_cast<unsigned char>(c);
    if (c == kLineFeedByte) break;
  }
  return n;
}

void SourceStream::Seek(std::int64_t offset) {
  assert(offset >= 0);
  eof_ = false;
  if (offset >= buffer_start_ &&
      offset <= buffer_start_ + static_cast<std::int64_t>(limit_)) {
    cursor_ = static_cast<std::size_t>(offset - buffer_start_);
    return;
  }
  buffer_start_ = offset;
  cursor_ = 0;
  limit_ = 0;
}

std::int64_t SourceStream::Length() {
  if (file_ == nullptr) return static_cast<std::int64_t>(bytes_.size());
  file_position_ = -1;
  return NativeFileLength(file_);
}

bool SourceStream::PrecededByNul() {
  const std::int64_t position = Tell();
  if (position == 0) return false;
  if (cursor_ > 0) return buffer_[cursor_ - 1] == 0;
  const bool eof = eof_;
  Seek(position - 1);
  const int c = Getc();
  Seek(position);
  eof_ = eof;
  return c == 0;
}

}  // namespace tessel
