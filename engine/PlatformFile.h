// Thin portable layer over C stdio for the engine's own buffered streams:
// opening by a native path, and 64-bit positioning.

#ifndef TESSEL_ENGINE_PLATFORMFILE_H_
#define TESSEL_ENGINE_PLATFORMFILE_H_

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tessel {

// Opens `path` with the stdio `mode` ("rb" or "wb"). Returns nullptr when the
// file cannot be opened, and also when `path` names a directory: reading a
// directory fails on every platform, so it counts as not openable.
std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode);

// Sets the position of `file` to the absolute byte `offset`. Returns false
// on failure.
bool SeekNativeFile(std::FILE* file, std::int64_t offset);

// Returns the length in bytes of `file`, or -1 when it cannot be found. The
// position of the stream is undefined afterwards.
std::int64_t NativeFileLength(std::FILE* file);

// Whether `path` can be opened for writing, found without emptying it: it
// is opened for appending and closed again. Sets `*created` when that
// created the file, which the caller then removes if it gives up.
bool CanOpenForWriting(const std::filesystem::path& path, bool* created);

// The most ReadWholeFile reads. The files read whole are lists (symbols, a
// memo, variant tables), far smaller; an endless device such as /dev/zero
// stops here instead of filling memory.
inline constexpr std::size_t kMaxWholeFileSize = std::size_t{16} << 20;

enum class WholeFileRead {
  kRead,
  kCannotRead,  // it cannot be opened (a directory included), or a read
                // fails part way, as reading /proc/self/mem does
  kTooLarge,    // it holds more than kMaxWholeFileSize bytes
};

// Reads the whole of `path` into `*bytes`; past kRead, `*bytes` is
// unspecified. Never throws on a read error.
WholeFileRead ReadWholeFile(const std::filesystem::path& path,
                            std::string* bytes);

// The name of `path` as the system gives it, for messages (UTF-8 where the
// system's names are wide).
std::string DisplayName(const std::filesystem::path& path);

// The name of `path` in the system's narrow bytes, as written into files:
// the path's own bytes, or on Windows the name in the ANSI code page (Big5
// on a Traditional Chinese system), each character it lacks written as "?".
std::string NativeName(const std::filesystem::path& path);

// The path that `name`, a name given as text, stands for: on Windows `name`
// is UTF-8; elsewhere it is the system's own bytes, taken as they are.
std::filesystem::path PathFromName(const std::string& name);

// Whether `a` and `b` name the same file: by identity when both exist,
// otherwise by their absolute, lexically normal forms, compared without
// regard to case on Windows, whose file names ignore it.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tessel

#endif  // TESSEL_ENGINE_PLATFORMFILE_H_
