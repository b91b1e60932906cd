#include "DifferenceListModel.h"

#include "ResultsSink.h"

namespace tessel::app {

namespace {

// A span as one row shows it: on one line, shortened, and visible when
// empty.
QString ShownSpan(std::string_view text) {
  QString shown =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QLatin1Char('\r'), QString())
      .replace(QLatin1Char('\n'), QStringLiteral("⏎"));
  if (shown.isEmpty()) return QStringLiteral("—");
  if (shown.size() > DifferenceListModel::kShownSpanCharacters) {
    shown.truncate(DifferenceListModel::kShownSpanCharacters);
    shown += QStringLiteral("…");
  }
  return shown;
}

}  // namespace

DifferenceListModel::DifferenceListModel(const ResultsSink& results,
                                         QObject* parent)
    : QAbstractListModel(parent), results_(results) {}

int DifferenceListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(results_.size());
}

QVariant DifferenceListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
    return RowText(index.row());
  }
  return {};
}

QString DifferenceListModel::RowText(int row) const {
  const std::size_t i = static_cast<std::size_t>(row);
  const KeptDifference& difference = results_.at(i);
  QString lines;
  QString spans;
  for (int k = 0; k < results_.source_count(); ++k) {
    if (k > 0) {
      lines += QStringLiteral(" / ");
      spans += QStringLiteral(" | ");
    }
    lines += QString::number(difference.spans[k].line);
    spans += ShownSpan(results_.SpanText(i, k));
  }
  return QStringLiteral("%1  第 %2 行  %3")
      .arg(difference.number)
      .arg(lines, spans);
}

}  // namespace tessel::app
