#include "CompareOptions.h"

#include <QRegularExpression>

#include "FileNames.h"

namespace tessel::app {

std::optional<std::vector<std::pair<QString, QString>>> ParseIgnorePairs(
    const QString& text) {
  static const QRegularExpression kBlanks(QStringLiteral("\\s+"));
  const QStringList words = text.split(kBlanks, Qt::SkipEmptyParts);
  if (words.size() % 2 != 0) return std::nullopt;
  std::vector<std::pair<QString, QString>> pairs;
  for (qsizetype i = 0; i < words.size(); i += 2) {
    pairs.emplace_back(words[i], words[i + 1]);
  }
  return pairs;
}

std::string VariantTableList(const CompareOptions& options) {
  std::string list;
  const auto add = [&list](const std::string& item) {
    if (!list.empty()) list += ',';
    list += item;
  };
  for (std::size_t i = 0; i < kBuiltinTableNames.size(); ++i) {
    if (options.builtin_tables[i]) add(kBuiltinTableNames[i]);
  }
  if (options.use_table_file && !options.table_file.isEmpty()) {
    add(options.table_file.toStdString());
  }
  return list;
}

bool IsListableTableFile(const QString& name) {
  return !name.contains(QLatin1Char(','));
}

bool FitsBig5(const QString& text) {
  // Character by character: ToBig5 leaves out what Big5 lacks, and only an
  // empty result tells that it did.
  for (const char32_t c : text.toUcs4()) {
    if (ToBig5(QString::fromUcs4(&c, 1)).empty()) return false;
  }
  return true;
}

void ApplyCompareOptions(const CompareOptions& choices, RunOptions& options) {
  options.encodings = choices.encodings;
  options.unicode = choices.unicode;
  options.variant_tables = VariantTableList(choices);
  options.ignore_between.clear();
  if (const auto pairs = ParseIgnorePairs(choices.ignore_between)) {
    for (const auto& [open, close] : *pairs) {
      options.ignore_between.emplace_back(ToBig5(open), ToBig5(close));
    }
  }
  options.notes_unordered = choices.notes_unordered;
}

QString EncodingLabel(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return QStringLiteral("UTF-8");
    case Encoding::kUtf16Le:
      return QStringLiteral("UTF-16LE");
    case Encoding::kUtf16Be:
      return QStringLiteral("UTF-16BE");
    case Encoding::kBig5:
      break;
  }
  return QStringLiteral("Big5");
}

}  // namespace tessel::app
