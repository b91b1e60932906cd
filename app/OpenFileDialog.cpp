#include "OpenFileDialog.h"

#include <QFileDialog>
#include <QFileSystemModel>

namespace tessel::app {

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
  if (filter != all_files_filter_) return;
  if (auto* model = dialog_->findChild<QFileSystemModel*>()) {
    model->setNameFilters({QStringLiteral("*")});
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
  dialog_->selectFile(name);
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

}  // namespace tessel::app
