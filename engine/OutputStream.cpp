#include "OutputStream.h"

#include <algorithm>
#include <cstring>

#include "PlatformFile.h"

namespace tessel {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}  // namespace

std::unique_ptr<OutputStream> OutputStream::OpenFile(
    const std::filesystem::path& path, Mode mode) {
  // Always binary at the C level: text mode is done here, the same way on
  // every platform.
  std::FILE* file = OpenNativeFile(path, "wb");
  if (file == nullptr) return nullptr;
  // This stream buffers already: a second buffer in the C library would
  // split each write of the buffer in two.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return std::unique_ptr<OutputStream>(new OutputStream(file, nullptr, mode));
}

std::unique_ptr<OutputStream> OutputStream::ToString(std::string* sink,
                                                     Mode mode) {
  return std::unique_ptr<OutputStream>(new OutputStream(nullptr, sink, mode));
}

OutputStream::OutputStream(std::FILE* file, std::string* sink, Mode mode)
    : file_(file), sink_(sink), mode_(mode), buffer_(kBufferSize) {}

OutputStream::~OutputStream() { Close(); }

void OutputStream::WriteThrough(std::string_view bytes) {
  if (mode_ == Mode::kText) {
    for (char c : bytes) Put(static_cast<unsigned char>(c));
    return;
  }
  while (!bytes.empty()) {
    if (fill_ == buffer_.size()) Flush();
    const std::size_t n = std::min(bytes.size(), buffer_.size() - fill_);
    std::memcpy(buffer_.data() + fill_, bytes.data(), n);
    fill_ += n;
    bytes.remove_prefix(n);
  }
}

void OutputStream::Flush() {
  if (fill_ == 0) return;
  if (file_ != nullptr) {
    if (!failed_ && std::fwrite(buffer_.data(), 1, fill_, file_) != fill_) {
      failed_ = true;
    }
  } else if (sink_ != nullptr) {
    sink_->append(reinterpret_cast<const char*>(buffer_.data()), fill_);
  }
  fill_ = 0;
}

bool OutputStream::Close() {
  if (closed_) return !failed_;
  closed_ = true;
  Flush();
  if (file_ != nullptr) {
    if (std::fflush(file_) != 0 || std::ferror(file_)) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }
  return !failed_;
}

}  // namespace tessel
