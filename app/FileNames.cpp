#include "FileNames.h"

#include <QFile>

#ifdef _WIN32
#define NOMINMAX  // keep std::min usable
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#include <algorithm>
#include <stdexcept>

namespace tessel::app {

namespace {

bool IsPathDelimiter(QChar c) {
#ifdef _WIN32
  return c == u'\\' || c == u'/' || c == u':';
#else
  return c == u'/';
#endif
}

#ifdef _WIN32
constexpr UINT kBig5CodePage = 950;
#else
constexpr char kBig5Name[] = "CP950";
// glibc's name for the host's wchar_t, which holds one code point.
constexpr char kWideName[] = "WCHAR_T";

// Converts `in` with `converter`, passing over every unit of `skip` bytes
// that has no form in the target encoding. `replacement` stands in for it
// when not empty.
std::string Convert(iconv_t converter, std::string_view in, std::size_t skip,
                    std::string_view replacement) {
  std::string out;
  char buffer[4096];
  char* in_ptr = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t result =
        iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (result != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;  // the buffer is full: go on emptying it
    // EILSEQ: no form in the target; EINVAL: cut off at the end.
    const std::size_t passed = std::min(skip, in_left);
    in_ptr += passed;
    in_left -= passed;
    out.append(replacement);
  }
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  return out;
}

// An open iconv conversion. A system without the Big5 tables cannot run
// the program correctly, so that throws rather than converting to nothing.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("No iconv conversion from ") + from +
                               " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};
#endif

}  // namespace

QString DirectoryPart(const QString& text) {
  for (qsizetype i = text.size(); i > 0; --i) {
    if (IsPathDelimiter(text[i - 1])) return text.left(i);
  }
  return QString();
}

QString NamePart(const QString& text) {
  return text.mid(DirectoryPart(text).size());
}

std::filesystem::path FieldFileName(const QString& text) {
#ifdef _WIN32
  return std::filesystem::path(text.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

#ifdef _WIN32

std::string ToBig5(const QString& text) {
  std::string out;
  // One character at a time, so that those without a Big5 form can be left
  // out instead of turning into '?'.
  for (qsizetype i = 0; i < text.size();) {
    const int units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16() + i);
    char bytes[4];
    BOOL defaulted = FALSE;
    const int n =
        WideCharToMultiByte(kBig5CodePage, WC_NO_BEST_FIT_CHARS, wide, units,
                            bytes, sizeof bytes, nullptr, &defaulted);
    if (n > 0 && !defaulted) out.append(bytes, static_cast<std::size_t>(n));
    i += units;
  }
  return out;
}

QString FromBig5(std::string_view bytes) {
  if (bytes.empty()) return QString();
  const int size = static_cast<int>(bytes.size());
  const int n =
      MultiByteToWideChar(kBig5CodePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kBig5CodePage, 0, bytes.data(), size, wide.data(), n);
  return QString::fromStdWString(wide);
}

#else

std::string ToBig5(const QString& text) {
  Converter converter(kBig5Name, kWideName);
  const std::wstring wide = text.toStdWString();
  return Convert(converter.get(),
                 std::string_view(reinterpret_cast<const char*>(wide.data()),
                                  wide.size() * sizeof(wchar_t)),
                 sizeof(wchar_t), {});
}

QString FromBig5(std::string_view bytes) {
  Converter converter(kWideName, kBig5Name);
  const wchar_t replacement = L'\uFFFD';
  const std::string wide =
      Convert(converter.get(), bytes, 1,
              std::string_view(reinterpret_cast<const char*>(&replacement),
                               sizeof replacement));
  return QString::fromWCharArray(
      reinterpret_cast<const wchar_t*>(wide.data()),
      static_cast<qsizetype>(wide.size() / sizeof(wchar_t)));
}

#endif

}  // namespace tessel::app
