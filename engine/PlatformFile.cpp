#include "PlatformFile.h"

#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

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

WholeFileRead ReadWholeFile(const std::filesystem::path& path,
                            std::string* bytes) {
  std::FILE* file = OpenNativeFile(path, "rb");
  if (file == nullptr) return WholeFileRead::kCannotRead;
  bytes->clear();
  char chunk[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (bytes->size() + got > kMaxWholeFileSize) {
      std::fclose(file);
      return WholeFileRead::kTooLarge;
    }
    bytes->append(chunk, got);
  }
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  return read ? WholeFileRead::kRead : WholeFileRead::kCannotRead;
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
#ifdef _WIN32
  // path::string() is UTF-8 with some compilers and the ANSI code page with
  // others; the code page is what the window's Big5 files always held.
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0,
                                    nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), n, nullptr,
                      nullptr);
  return bytes;
#else
  return path.string();
#endif
}

std::filesystem::path PathFromName(const std::string& name) {
#ifdef _WIN32
  // A path made from char is read in the C runtime's locale, not as UTF-8.
  return std::filesystem::path(std::u8string(
      reinterpret_cast<const char8_t*>(name.data()), name.size()));
#else
  return std::filesystem::path(name);
#endif
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
#ifdef _WIN32
  // Two outputs "r1" and "R1" that do not exist yet would otherwise both be
  // opened, and both write into the one file.
  const std::wstring left = normal(a).native();
  const std::wstring right = normal(b).native();
  return CompareStringOrdinal(left.data(), static_cast<int>(left.size()),
                              right.data(), static_cast<int>(right.size()),
                              TRUE) == CSTR_EQUAL;
#else
  return normal(a) == normal(b);
#endif
}

}  // namespace tessel
