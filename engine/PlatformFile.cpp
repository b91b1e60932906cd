#include "PlatformFile.h"

#include <system_error>

namespace tessel {

std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return nullptr;
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool SeekNativeFile(std::FILE* file, std::int64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, offset, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::int64_t NativeFileLength(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
  return _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  return static_cast<std::int64_t>(ftello(file));
#endif
}

bool CanOpenForWriting(const std::filesystem::path& path, bool* created) {
  std::error_code ec;
  const bool existed = std::filesystem::exists(path, ec);
  std::FILE* file = OpenNativeFile(path, "ab");
  *created = file != nullptr && !existed;
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string* bytes) {
  std::FILE* file = OpenNativeFile(path, "rb");
  if (file == nullptr) return false;
  bytes->clear();
  char chunk[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes->append(chunk, got);
  }
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  return read;
}

std::string DisplayName(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
#else
  return path.native();
#endif
}

std::string NativeName(const std::filesystem::path& path) {
  return path.string();
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) {
    return std::filesystem::equivalent(a, b, ec);
  }
  const auto normal = [](const std::filesystem::path& p) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(p, error);
    return (error ? p : full).lexically_normal();
  };
  return normal(a) == normal(b);
}

}  // namespace tessel
