// Text to the terminal, the same on every platform: tessel-cli's messages
// are UTF-8, and what it prints into a pipe or file is byte for byte what
// the same run prints on Linux.

#ifndef TESSEL_CLI_CONSOLETEXT_H_
#define TESSEL_CLI_CONSOLETEXT_H_

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::cli {

// Makes stdout and stderr write their bytes as given. On Windows the C
// runtime would otherwise turn every "\n" into "\r\n"; elsewhere it does
// nothing.
void UseBinaryStandardStreams();

// Writes `text`, UTF-8, to `stream`. A Windows console is given the text as
// UTF-16, so that Chinese shows whatever the console's code page is; a file
// or pipe, and every stream on other systems, gets the UTF-8 bytes.
void WriteText(std::FILE* stream, std::string_view text);

// Whether `stream` is a terminal (a console on Windows).
bool IsTerminal(std::FILE* stream);

// Erases the line last drawn on `stream` with "\r", `width` characters wide.
void EraseLine(std::FILE* stream, int width);

#ifdef _WIN32
// The arguments after the program name, converted from the system's UTF-16
// to UTF-8. A name that is not valid UTF-16 (a lone surrogate) has U+FFFD
// in its place, and then names no file.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);
#endif

}  // namespace tessel::cli

#endif  // TESSEL_CLI_CONSOLETEXT_H_
