// Helpers for the desktop program's tests: a main() on the program's own
// application object, a recorder that answers message boxes, a scripted
// file dialog, and file helpers.

#ifndef TESSEL_TESTS_APP_APPTESTSUPPORT_H_
#define TESSEL_TESTS_APP_APPTESTSUPPORT_H_

#include <sys/resource.h>

#include <QTest>
#include <QtWidgets>
#include <functional>
#include <optional>

#include "MessageBoxes.h"
#include "OpenFileDialog.h"
#include "TesselApplication.h"

namespace tessel::app::testing {

// While it lives, answers every message box with its default button (or
// its first) and records the boxes' texts and icons.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder() { SetBoxRunner(previous_); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  QStringList texts;
  QList<QMessageBox::Icon> icons;

 private:
  BoxRunner previous_;
};

// A file dialog that records where it was told to start and gives the
// answer set beforehand (nothing: the user cancels).
struct ScriptedDialog : OpenFileDialog {
  void SetStartDirectory(const QString& directory) override {
    start_directory = directory;
  }
  void SetStartFileName(const QString& name) override { start_name = name; }
  std::optional<QString> Run() override { return answer; }

  QString start_directory;
  QString start_name;
  std::optional<QString> answer;
};

// While it lives, answers every message box by clicking the button with
// the text `button` (none: the box is closed without an answer), and
// records the boxes' texts.
class BoxAnswer {
 public:
  explicit BoxAnswer(QString button);
  ~BoxAnswer() { SetBoxRunner(previous_); }
  BoxAnswer(const BoxAnswer&) = delete;
  BoxAnswer& operator=(const BoxAnswer&) = delete;

  QStringList texts;

 private:
  BoxRunner previous_;
};

// While it lives, this process may write no file larger than `bytes`. Root
// is bound by it too, so it makes a write fail where file permissions
// could not.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_;
  void (*old_handler_)(int);
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// Runs `function` from the event loop as soon as a modal dialog is up,
// handing it that dialog.
void WhenModal(std::function<void(QWidget* dialog)> function);

}  // namespace tessel::app::testing

// A test main() that uses the program's own application object. It runs in
// an empty folder of its own, so that windows shown by the tests read no
// settings file left by another test.
#define TESSEL_APP_TEST_MAIN(TestClass)             \
  int main(int argc, char** argv) {                 \
    tessel::app::TesselApplication app(argc, argv); \
    QTemporaryDir folder;                           \
    if (!folder.isValid()) return 1;                \
    QDir::setCurrent(folder.path());                \
    TestClass test;                                 \
    return QTest::qExec(&test, argc, argv);         \
  }

#endif  // TESSEL_TESTS_APP_APPTESTSUPPORT_H_
