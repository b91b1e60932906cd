// The settings file's format: an INI-style profile file read and written one
// key at a time.
//
// A line "[name]" opens a section; the lines "key=value" after it belong to
// it. Names match without regard to letter case. A value is read with the
// blanks around it trimmed and one pair of surrounding quotes removed, and at
// most kMaxIniValueBytes bytes of it are taken. Writing a key changes that one
// line, or adds the key, its section or the file, and leaves every other line
// as it was, comments and unknown keys included. Values are bytes, passed
// through unchanged: Big5, UTF-8 or anything else without line breaks.

#ifndef TESSEL_APP_INIFILE_H_
#define TESSEL_APP_INIFILE_H_

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessel::app {

// The most of a value that a read returns.
inline constexpr std::size_t kMaxIniValueBytes = 2047;

// The value of `key` in `section` of the file `contents`, or nothing when the
// section or the key is missing. Where a section or a key appears more than
// once, the first key in file order counts.
std::optional<std::string> FindIniValue(std::string_view contents,
                                        std::string_view section,
                                        std::string_view key);

// `contents` with `key` in `section` set to `value`. The first such key is
// changed in place; a missing key goes at the end of its section, a missing
// section at the end of the file. A value that would not read back as it is
// (blanks or quotes at its ends) is written in quotes; line breaks in it
// become blanks, as a value is one line.
std::string SetIniValue(std::string_view contents, std::string_view section,
                        std::string_view key, std::string_view value);

// A write that could not be carried out. Its text is "Unable to write to "
// and the file's path.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const QString& path);
};

// A settings file, opened on a path or on bytes in memory. Opening touches
// nothing on disk. Reads never fail: a file that is missing or cannot be
// read gives the defaults. Each write replaces the file as a whole, through
// a temporary file beside it, so that a crash or a failed write leaves the
// old file whole; a failed write throws IniWriteError.
class TIniFile {
 public:
  explicit TIniFile(QString path);
  // A file held in memory, for loaders that are handed the file's bytes.
  static TIniFile FromBytes(std::string contents);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // By the integer-text rule; a value that is not a number gives the
  // default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t default_value) const;
  // An integer: any number but zero is true.
  bool ReadBool(std::string_view section, std::string_view key,
                bool default_value) const;

  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key,
                    std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  const QString& path() const { return path_; }
  // The file as the last read or write left it.
  const std::string& Contents() const;

 private:
  TIniFile() = default;

  QString path_;  // empty for a file in memory
  // Read from disk once, at the first read, and kept up to date by writes.
  mutable std::optional<std::string> contents_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_INIFILE_H_
