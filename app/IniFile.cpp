#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

#include "IntegerText.h"

namespace tessel::app {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// Names are ASCII; other bytes must be equal.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool HasSurroundingQuotes(std::string_view text) {
  return text.size() >= 2 && IsQuote(text.front()) &&
         text.front() == text.back();
}

// One line of the file: [start, end) is its text without the line break,
// `next` where the next line starts.
struct Line {
  std::size_t start;
  std::size_t end;
  std::size_t next;
};

// Walks the lines of `contents`; a line ends at "\n" or "\r\n".
class Lines {
 public:
  explicit Lines(std::string_view contents) : contents_(contents) {}

  bool Next(Line* line) {
    if (pos_ >= contents_.size()) return false;
    const std::size_t feed = contents_.find('\n', pos_);
    line->start = pos_;
    line->end = feed == std::string_view::npos ? contents_.size() : feed;
    line->next = feed == std::string_view::npos ? contents_.size() : feed + 1;
    if (line->end > line->start && contents_[line->end - 1] == '\r') {
      --line->end;
    }
    pos_ = line->next;
    return true;
  }

  std::string_view Text(const Line& line) const {
    return contents_.substr(line.start, line.end - line.start);
  }

 private:
  std::string_view contents_;
  std::size_t pos_ = 0;
};

// The name of a section line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('[')) return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// Where the value of a "key=value" line for `key` starts, or nothing.
std::optional<std::size_t> ValueStart(std::string_view line,
                                      std::string_view key) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  if (!SameName(Trim(line.substr(0, equals)), key)) return std::nullopt;
  return equals + 1;
}

// A value as it is written, so that reading gives `value` back.
std::string EncodeValue(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const bool quote =
      !out.empty() && (IsBlank(out.front()) || IsBlank(out.back()) ||
                       HasSurroundingQuotes(out));
  return quote ? '"' + out + '"' : out;
}

// The line break that new lines get: the file's own, else a line feed.
std::string_view LineBreak(std::string_view contents) {
  const std::size_t feed = contents.find('\n');
  if (feed != std::string_view::npos && feed > 0 &&
      contents[feed - 1] == '\r') {
    return "\r\n";
  }
  return "\n";
}

// The file's bytes: empty when it does not exist, nothing when it exists but
// cannot be read.
std::optional<std::string> ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.exists()) return std::string();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view contents,
                                        std::string_view section,
                                        std::string_view key) {
  Lines lines(contents);
  Line line;
  bool in_section = false;
  while (lines.Next(&line)) {
    const std::string_view text = lines.Text(line);
    if (const std::optional<std::string_view> name = SectionName(text)) {
      in_section = SameName(*name, section);
      continue;
    }
    if (!in_section) continue;
    const std::optional<std::size_t> start = ValueStart(text, key);
    if (!start) continue;
    std::string_view value = Trim(text.substr(*start));
    if (HasSurroundingQuotes(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxIniValueBytes));
  }
  return std::nullopt;
}

std::string SetIniValue(std::string_view contents, std::string_view section,
                        std::string_view key, std::string_view value) {
  const std::string encoded = EncodeValue(value);
  const std::string_view line_break = LineBreak(contents);
  const std::string key_line = std::string(key) + '=' + encoded;

  Lines lines(contents);
  Line line;
  bool in_section = false;
  bool in_first_section = false;
  // Where a missing key goes: after the last line that is not blank in the
  // first block of its section.
  std::optional<std::size_t> insert_at;
  bool insert_needs_break = false;
  while (lines.Next(&line)) {
    const std::string_view text = lines.Text(line);
    if (const std::optional<std::string_view> name = SectionName(text)) {
      in_section = SameName(*name, section);
      in_first_section = in_section && !insert_at;
    } else if (in_section) {
      if (const std::optional<std::size_t> start = ValueStart(text, key)) {
        std::string out(contents.substr(0, line.start + *start));
        out += encoded;
        out += contents.substr(line.end);
        return out;
      }
    }
    if (in_first_section && !Trim(text).empty()) {
      insert_at = line.next;
      // The file's last line may lack its line break.
      insert_needs_break =
          line.next == contents.size() && !contents.ends_with('\n');
    }
  }

  std::string out;
  if (insert_at) {
    out = contents.substr(0, *insert_at);
    if (insert_needs_break) out += line_break;
    out += key_line;
    out += line_break;
    out += contents.substr(*insert_at);
    return out;
  }
  out = contents;
  if (!out.empty()) {
    if (!out.ends_with('\n')) out += line_break;
    out += line_break;  // a blank line before the new section
  }
  out += '[';
  out += section;
  out += ']';
  out += line_break;
  out += key_line;
  out += line_break;
  return out;
}

IniWriteError::IniWriteError(const QString& path)
    : std::runtime_error("Unable to write to " + path.toStdString()) {}

TIniFile::TIniFile(QString path) : path_(std::move(path)) {}

TIniFile TIniFile::FromBytes(std::string contents) {
  TIniFile file;
  file.contents_ = std::move(contents);
  return file;
}

const std::string& TIniFile::Contents() const {
  if (!contents_) contents_ = ReadFileBytes(path_).value_or(std::string());
  return *contents_;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  return FindIniValue(Contents(), section, key)
      .value_or(std::string(default_value));
}

std::int32_t TIniFile::ReadInteger(std::string_view section,
                                   std::string_view key,
                                   std::int32_t default_value) const {
  const std::optional<std::string> value =
      FindIniValue(Contents(), section, key);
  if (!value) return default_value;
  return ParseIntegerText(*value).value_or(default_value);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key,
                        bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  if (path_.isEmpty()) {
    contents_ = SetIniValue(Contents(), section, key, value);
    return;
  }
  // Read afresh: a file that exists but cannot be read must not be replaced
  // by one that holds only this key.
  const std::optional<std::string> old = ReadFileBytes(path_);
  if (!old) throw IniWriteError(path_);
  std::string updated = SetIniValue(*old, section, key, value);

  QSaveFile file(path_);
  file.setDirectWriteFallback(false);
  const auto size = static_cast<qint64>(updated.size());
  // Unbuffered, so that a short write shows in write()'s count: flushing a
  // buffer at commit reports a write cut short (a full disk, a size limit)
  // as success, and would put a cut file in place of the old one.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
      file.write(updated.data(), size) != size || !file.commit()) {
    throw IniWriteError(path_);
  }
  contents_ = std::move(updated);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key,
                            std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key,
                         bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace tessel::app
