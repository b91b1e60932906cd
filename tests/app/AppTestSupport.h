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
#include "RadioAlternatives.h"
#include "TesselApplication.h"

namespace tessel::app {
class AboutBox;
class MainWindow;
class SetupDialog;
}  // namespace tessel::app

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

// The main window's controls that the tests drive, found by their object
// names as any tool that drives a window finds them. A control that is
// missing, or of another kind, throws: a renamed control fails every test
// at once, by name.
struct WindowControls {
  QLineEdit* source1_field;
  QLineEdit* source2_field;
  QLineEdit* source3_field;
  QLabel* source3_label;
  QLineEdit* result1_field;
  QLineEdit* result2_field;
  QLineEdit* result3_field;
  QLabel* result3_label;
  QLineEdit* difference_field;
  QLineEdit* look_ahead_field;
  QPushButton* run_button;
  QPushButton* source3_picker;
  QPushButton* result3_picker;
  QPushButton* difference_picker;
  QPushButton* exit_button;
  RadioGroup* source_count_group;
  QCheckBox* fold_notations_box;
  QRadioButton* use_sign_file_button;
  QRadioButton* use_sign_memo_button;
  QLineEdit* sign_file_field;
  QPushButton* sign_file_picker;
  QPlainTextEdit* sign_memo;
  QPushButton* about_button;
  QPushButton* stop_button;
  QCheckBox* diff_limit_box;
  QLineEdit* diff_limit_field;
  QPushButton* default_signs_button;
  QProgressBar* progress_bar;
  QLabel* diff_count_label;
  QPushButton* setup_button;
  QLabel* logo;
  QCheckBox* fast_mode_box;
};
WindowControls Controls(MainWindow& window);

// The setup dialog's, in the same way.
struct SetupControls {
  QRadioButton* use_default_program;
  QRadioButton* use_program1;
  QRadioButton* use_program2;
  QRadioButton* use_program3;
  QLineEdit* program1_field;
  QLineEdit* program2_field;
  QLineEdit* program3_field;
  QPushButton* ok_button;
  QPushButton* program1_picker;
  QPushButton* program3_picker;
};
SetupControls Controls(SetupDialog& setup);

// The About box's.
struct AboutControls {
  QTextEdit* credits;
};
AboutControls Controls(AboutBox& about);

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// Runs `function` from the event loop as soon as a modal dialog is up,
// handing it that dialog.
void WhenModal(std::function<void(QWidget* dialog)> function);

}  // namespace tessel::app::testing

// A test main() that uses the program's own application object. It runs in
// an empty folder of its own, with a configuration folder of its own
// ($XDG_CONFIG_HOME), so that windows shown by the tests read no settings
// file left by another test and write none into the user's.
#define TESSEL_APP_TEST_MAIN(TestClass)                 \
  int main(int argc, char** argv) {                     \
    QTemporaryDir config;                               \
    if (!config.isValid()) return 1;                    \
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8()); \
    tessel::app::TesselApplication app(argc, argv);     \
    QTemporaryDir folder;                               \
    if (!folder.isValid()) return 1;                    \
    QDir::setCurrent(folder.path());                    \
    TestClass test;                                     \
    return QTest::qExec(&test, argc, argv);             \
  }

#endif  // TESSEL_TESTS_APP_APPTESTSUPPORT_H_
