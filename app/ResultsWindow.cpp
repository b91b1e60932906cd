#include "ResultsWindow.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QVBoxLayout>
#include <filesystem>

#include "AppFonts.h"
#include "DifferenceListModel.h"
#include "HtmlReportWriter.h"
#include "MessageBoxes.h"
#include "OutputStream.h"
#include "ResultsSink.h"
#include "ShellLauncher.h"

namespace tessel::app {

namespace {

constexpr int kWindowWidth = 1100;
constexpr int kWindowHeight = 640;
constexpr int kListWidth = 300;
// The chosen difference's background in every edition.
constexpr QRgb kHighlight = 0xFFE066;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// `text` as a pane holds it. A text document makes one line break of a CR
// LF, and of a lone CR, so the excerpt does the same before it counts
// where the span lies: else every CR LF before it would move the highlight
// one character on.
QString ShownText(std::string_view text) {
  QString shown = Utf8(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

const char* const kSourceNames[] = {"來源檔一", "來源檔二", "來源檔三"};

QString OutcomeText(const ResultsSink& results) {
  if (!results.ended()) return QStringLiteral("未完成");
  switch (results.end().outcome) {
    case ReportOutcome::kCompleted:
    case ReportOutcome::kLeftAtSourceEnd:
      return QStringLiteral("完成");
    case ReportOutcome::kCutOffNoAnchor:
      return QStringLiteral("未完成 (在最大比對字數內找不到相同的文字)");
    case ReportOutcome::kCutOffLimit:
      return QStringLiteral("未完成 (差異數目已達上限)");
    case ReportOutcome::kStopped:
      return QStringLiteral("被中斷了");
    case ReportOutcome::kFailed:
      break;
  }
  return QStringLiteral("失敗");
}

}  // namespace

EditionExcerpt ExcerptAround(std::string_view text, std::size_t start,
                             std::size_t length, std::size_t context) {
  start = std::min(start, text.size());
  length = std::min(length, text.size() - start);
  std::size_t from = start > context ? start - context : 0;
  while (from > 0 && IsContinuationByte(text[from])) --from;
  // Starting at a line's start keeps the first line whole.
  if (from > 0) {
    const std::size_t feed = text.find('\n', from);
    if (feed != std::string_view::npos && feed < start) from = feed + 1;
  }
  std::size_t to = std::min(text.size(), start + length + context);
  while (to < text.size() && IsContinuationByte(text[to])) ++to;

  EditionExcerpt excerpt;
  const QString before = ShownText(text.substr(from, start - from));
  const QString span = ShownText(text.substr(start, length));
  excerpt.text = before + span +
                 ShownText(text.substr(start + length, to - start - length));
  excerpt.highlight_start = static_cast<int>(before.size());
  excerpt.highlight_length = static_cast<int>(span.size());
  return excerpt;
}

ResultsWindow::ResultsWindow(const ResultsSink& results,
                             ShellLauncher& launcher, QWidget* parent)
    : QWidget(parent, Qt::Window), results_(results), launcher_(launcher) {
  setObjectName(QStringLiteral("resultsWindow"));
  setWindowTitle(QStringLiteral("差異檢視"));
  setFont(ProportionalMingFont());
  resize(kWindowWidth, kWindowHeight);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("resultsSummary"));
  report_button_ = new QPushButton(QStringLiteral("HTML 報告..."), this);
  report_button_->setObjectName(QStringLiteral("htmlReportButton"));
  connect(report_button_, &QPushButton::clicked, this,
          [this] { OpenHtmlReport(); });

  model_ = std::make_unique<DifferenceListModel>(results_);
  list_ = new QListView;
  list_->setObjectName(QStringLiteral("differenceList"));
  list_->setAccessibleName(QStringLiteral("差異列表"));
  // Every row has one line of the same font: the view need not measure
  // each of tens of thousands of rows.
  list_->setUniformItemSizes(true);
  list_->setMinimumWidth(kListWidth);
  list_->setModel(model_.get());
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged,
          this, [this](const QModelIndex& index) {
            if (index.isValid()) ShowDifference(index.row());
          });

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(list_);
  for (int k = 0; k < results_.source_count(); ++k) {
    auto* pane = new QWidget;
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    edition_titles_[k] = new QLabel(pane);
    // A long file name wraps rather than running under the next pane.
    edition_titles_[k]->setWordWrap(true);
    edition_titles_[k]->setObjectName(
        QStringLiteral("editionTitle%1").arg(k + 1));
    editions_[k] = new QPlainTextEdit(pane);
    editions_[k]->setObjectName(QStringLiteral("edition%1").arg(k + 1));
    editions_[k]->setAccessibleName(QString::fromUtf8(kSourceNames[k]));
    editions_[k]->setReadOnly(true);
    editions_[k]->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                          Qt::TextSelectableByKeyboard);
    column->addWidget(edition_titles_[k]);
    column->addWidget(editions_[k]);
    splitter->addWidget(pane);
  }
  QList<int> sizes{kListWidth};
  for (int k = 0; k < results_.source_count(); ++k) {
    sizes.append((kWindowWidth - kListWidth) / results_.source_count());
  }
  splitter->setSizes(sizes);

  auto* top = new QHBoxLayout;
  top->addWidget(summary_, 1);
  top->addWidget(report_button_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(splitter, 1);

  ShowSummary();
  if (results_.size() > 0) ShowDifference(0);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::ShowSummary() {
  QString text = QStringLiteral("差異數 : %1    %2")
                     .arg(results_.size())
                     .arg(OutcomeText(results_));
  summary_->setText(text);
  for (int k = 0; k < results_.source_count(); ++k) {
    edition_titles_[k]->setText(QString::fromUtf8(kSourceNames[k]) +
                                QStringLiteral(" : ") +
                                Utf8(results_.description().sources[k].name));
  }
}

void ResultsWindow::ShowDifference(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= results_.size()) return;
  current_row_ = row;
  const QModelIndex index = model_->index(row);
  if (list_->currentIndex() != index) list_->setCurrentIndex(index);
  list_->scrollTo(index);

  const KeptDifference& difference = results_.at(static_cast<std::size_t>(row));
  for (int k = 0; k < results_.source_count(); ++k) {
    const KeptSpan& span = difference.spans[k];
    const EditionExcerpt excerpt = ExcerptAround(
        results_.Text(k), span.text_start, span.text_length, kContextBytes);
    QPlainTextEdit* edition = editions_[k];
    edition->setPlainText(excerpt.text);
    edition_titles_[k]->setText(QString::fromUtf8(kSourceNames[k]) +
                                QStringLiteral(" : ") +
                                Utf8(results_.description().sources[k].name) +
                                QStringLiteral("    第 %1 行").arg(span.line));

    QTextCursor cursor(edition->document());
    cursor.setPosition(excerpt.highlight_start);
    cursor.setPosition(excerpt.highlight_start + excerpt.highlight_length,
                       QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setBackground(QColor(kHighlight));
    edition->setExtraSelections({mark});
    // The caret at the span (an empty one too) brings it into sight.
    QTextCursor caret(edition->document());
    caret.setPosition(excerpt.highlight_start);
    edition->setTextCursor(caret);
    edition->centerCursor();
  }
}

std::optional<QString> ResultsWindow::OpenHtmlReport() {
  // A fresh name each time: a report never replaces another, nor any file
  // of the user's.
  QTemporaryFile file(
      QDir::temp().filePath(QStringLiteral("tessel-report-XXXXXX.html")));
  file.setAutoRemove(false);
  bool written = file.open();
  const QString path = file.fileName();
  file.close();
  if (written) {
    std::unique_ptr<OutputStream> out =
        OutputStream::OpenFile(std::filesystem::path(path.toStdU16String()),
                               OutputStream::Mode::kBinary);
    written = out != nullptr;
    if (written) {
      reports::HtmlReportWriter writer(*out, "Tessel");
      results_.Replay(writer);
      written = out->Close();
    }
  }
  if (!written) {
    QFile::remove(path);
    ShowSimpleMessage(this, QStringLiteral("\n錯誤 : %1 檔案寫入失敗.\n")
                                .arg(QDir::toNativeSeparators(path)));
    return std::nullopt;
  }
  ShellOpenRequest request;
  request.verb = QStringLiteral("open");
  request.file = QDir::toNativeSeparators(path);
  const QString message = ShellResultMessage(launcher_.Open(this, request));
  if (!message.isEmpty()) ShowSimpleMessage(this, message);
  return path;
}

}  // namespace tessel::app
