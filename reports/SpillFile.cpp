#include "SpillFile.h"

#include <vector>

namespace tessel::reports {

SpillFile::~SpillFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void SpillFile::Append(std::string_view text) {
  memory_.append(text);
  if (!file_failed_ && memory_.size() >= kFileChunk) WriteChunk();
}

void SpillFile::WriteChunk() {
  if (file_ == nullptr) file_ = std::tmpfile();
  if (file_ == nullptr ||
      std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size()) {
    // A short write leaves the file's tail unknown: from here on the
    // memory holds everything after what the file held before.
    file_failed_ = true;
    if (file_ != nullptr) std::clearerr(file_);
    return;
  }
  file_bytes_ += memory_.size();
  memory_.clear();
}

bool SpillFile::MoveTo(OutputStream& out) {
  bool whole = true;
  if (file_bytes_ > 0) {
    std::vector<char> chunk(kFileChunk);
    std::size_t left = file_bytes_;
    whole = std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_SET) == 0;
    while (whole && left > 0) {
      const std::size_t want = left < chunk.size() ? left : chunk.size();
      const std::size_t got = std::fread(chunk.data(), 1, want, file_);
      whole = got == want;
      if (whole) out.Write(std::string_view(chunk.data(), got));
      left -= got;
    }
  }
  if (whole) out.Write(memory_);
  memory_.clear();
  file_bytes_ = 0;
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  file_failed_ = false;
  return whole;
}

}  // namespace tessel::reports
