#include "ConsoleText.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tessel::cli {

#ifdef _WIN32

namespace {

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0,
                                    nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), n, nullptr,
                      nullptr);
  return bytes;
}

// The console behind `stream`, or nullptr when it goes to a file or pipe.
HANDLE ConsoleOf(std::FILE* stream) {
  const intptr_t handle = _get_osfhandle(_fileno(stream));
  if (handle == -1) return nullptr;
  DWORD mode = 0;
  if (!GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode)) return nullptr;
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

void UseBinaryStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void WriteText(std::FILE* stream, std::string_view text) {
  HANDLE console = ConsoleOf(stream);
  if (console == nullptr) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  std::fflush(stream);
  const std::wstring wide = WideFromUtf8(text);
  DWORD written = 0;
  WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                nullptr);
}

bool IsTerminal(std::FILE* stream) { return ConsoleOf(stream) != nullptr; }

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
  return args;
}

#else

void UseBinaryStandardStreams() {}

void WriteText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

#endif

void EraseLine(std::FILE* stream, int width) {
#ifdef _WIN32
  // A Windows console shows escape sequences as they are unless asked not
  // to, so the line is blanked instead.
  std::fprintf(stream, "\r%*s\r", width, "");
#else
  (void)width;
  std::fputs("\r\033[K", stream);
#endif
  std::fflush(stream);
}

}  // namespace tessel::cli
