// The file-open dialog as the window's pickers use it.

#ifndef TESSEL_APP_OPENFILEDIALOG_H_
#define TESSEL_APP_OPENFILEDIALOG_H_

#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;
class QWidget;

namespace tessel::app {

// One dialog object shared by all the pickers of a window. The pickers set
// where it starts before every run; a test puts a scripted one in place.
class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;

  // The folder the next run starts in and the file name it offers there
  // (empty for none). A name with a folder part of its own is offered as
  // it is.
  virtual void SetStartDirectory(const QString& directory) = 0;
  virtual void SetStartFileName(const QString& name) = 0;

  // Runs the dialog modally. Returns the chosen file's full path, or
  // nothing when the user cancelled.
  virtual std::optional<QString> Run() = 0;
};

// Runs `dialog` for a file field holding `text`: it starts in the field's
// folder, or in `fallback_directory` when the field names none, and offers
// the field's file name (none for an empty field). Returns the chosen
// file's full path, or nothing when the user cancelled.
std::optional<QString> PickForField(OpenFileDialog& dialog, const QString& text,
                                    const QString& fallback_directory);

// The real dialog, for one file that need not exist. It lives as long as
// its parent, so that the filter chosen in its last confirmed run is the
// one preselected in the next; a cancelled run does not change it. The
// first filter is preselected at the start.
class QtOpenFileDialog : public OpenFileDialog {
 public:
  // `all_files_filter` is one of `filters`: the one that shows every file,
  // even a file whose name has no dot.
  QtOpenFileDialog(QWidget* parent, const QStringList& filters,
                   const QString& all_files_filter);

  void SetStartDirectory(const QString& directory) override;
  void SetStartFileName(const QString& name) override;
  std::optional<QString> Run() override;

  QFileDialog* dialog() const { return dialog_; }

 private:
  // Applies `filter` to the listing: the all-files filter as "*", since a
  // pattern "*.*" would hide names without a dot, and the patterns of any
  // other divided at semicolons as well as blanks.
  void ApplyFilter(const QString& filter);
  void SelectFilter(const QString& filter);

  QFileDialog* dialog_;  // owned by the parent given at construction
  QString all_files_filter_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_OPENFILEDIALOG_H_
