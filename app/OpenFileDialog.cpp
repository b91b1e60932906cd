#include "OpenFileDialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>

#include "FileNames.h"

namespace tessel::app {

namespace {

// The patterns between a filter's parentheses. Qt divides them at blanks
// only, so that "*.exe;" would be a pattern that no file matches; here a
// semicolon divides them too.
// Qt's own name for its dialog's file name field.
constexpr char kFileNameEditName[] = "fileNameEdit";

QStringList Patterns(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(u'(');
  const qsizetype close = filter.lastIndexOf(u')');
  if (open < 0 || close < open) return {};
  QString patterns = filter.mid(open + 1, close - open - 1);
  patterns.replace(u';', u' ');
  return patterns.split(u' ', Qt::SkipEmptyParts);
}

}  // namespace

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent, const QStringList& filters,
                                   const QString& all_files_filter)
    : dialog_(new QFileDialog(parent)), all_files_filter_(all_files_filter) {
  // Qt's own dialog everywhere: a platform dialog would read "*.*" as
  // needing a dot, and could not be told otherwise.
  dialog_->setOption(QFileDialog::DontUseNativeDialog);
  dialog_->setFileMode(QFileDialog::AnyFile);
  dialog_->setAcceptMode(QFileDialog::AcceptOpen);
  dialog_->setNameFilters(filters);
  QObject::connect(dialog_, &QFileDialog::filterSelected, dialog_,
                   [this](const QString& filter) { ApplyFilter(filter); });
  if (!filters.isEmpty()) SelectFilter(filters.front());
}

void QtOpenFileDialog::ApplyFilter(const QString& filter) {
  const QStringList patterns = filter == all_files_filter_
                                   ? QStringList{QStringLiteral("*")}
                                   : Patterns(filter);
  if (patterns.isEmpty()) return;
  if (auto* model = dialog_->findChild<QFileSystemModel*>()) {
    model->setNameFilters(patterns);
  }
}

void QtOpenFileDialog::SelectFilter(const QString& filter) {
  dialog_->selectNameFilter(filter);
  ApplyFilter(filter);
}

void QtOpenFileDialog::SetStartDirectory(const QString& directory) {
  dialog_->setDirectory(directory);
}

void QtOpenFileDialog::SetStartFileName(const QString& name) {
  if (!name.isEmpty()) {
    dialog_->selectFile(name);
    return;
  }
  // Qt's selectFile() ignores an empty name, so the dialog would offer the
  // name of its last run, and Open would put a file the user never chose
  // into an empty field.
  if (auto* edit = dialog_->findChild<QLineEdit*>(kFileNameEditName)) {
    edit->clear();
  }
}

std::optional<QString> QtOpenFileDialog::Run() {
  const QString kept_filter = dialog_->selectedNameFilter();
  if (dialog_->exec() != QDialog::Accepted ||
      dialog_->selectedFiles().isEmpty()) {
    SelectFilter(kept_filter);
    return std::nullopt;
  }
  return dialog_->selectedFiles().front();
}

std::optional<QString> PickForField(OpenFileDialog& dialog, const QString& text,
                                    const QString& fallback_directory) {
  const QString directory = DirectoryPart(text);
  dialog.SetStartDirectory(directory.isEmpty() ? fallback_directory
                                               : directory);
  dialog.SetStartFileName(NamePart(text));
  return dialog.Run();
}

}  // namespace tessel::app
