#include "AppTestSupport.h"

#include <csignal>
#include <stdexcept>
#include <string>

#include "Helpunit.h"
#include "Setup.h"
#include "Tesselunit.h"

namespace tessel::app::testing {

namespace {

template <typename Control>
Control* Child(QObject& parent, const char* name) {
  auto* control = parent.findChild<Control*>(QString::fromLatin1(name));
  if (control == nullptr) {
    throw std::logic_error(std::string("No control ") + name);
  }
  return control;
}

}  // namespace

WindowControls Controls(MainWindow& window) {
  WindowControls c;
  c.source1_field = Child<QLineEdit>(window, "source1Field");
  c.source2_field = Child<QLineEdit>(window, "source2Field");
  c.source3_field = Child<QLineEdit>(window, "source3Field");
  c.source3_label = Child<QLabel>(window, "source3Label");
  c.result1_field = Child<QLineEdit>(window, "result1Field");
  c.result2_field = Child<QLineEdit>(window, "result2Field");
  c.result3_field = Child<QLineEdit>(window, "result3Field");
  c.result3_label = Child<QLabel>(window, "result3Label");
  c.difference_field = Child<QLineEdit>(window, "differenceField");
  c.look_ahead_field = Child<QLineEdit>(window, "lookAheadField");
  c.run_button = Child<QPushButton>(window, "runButton");
  c.source3_picker = Child<QPushButton>(window, "source3Picker");
  c.result3_picker = Child<QPushButton>(window, "result3Picker");
  c.difference_picker = Child<QPushButton>(window, "differencePicker");
  c.exit_button = Child<QPushButton>(window, "exitButton");
  c.source_count_group = Child<RadioGroup>(window, "sourceCountGroup");
  c.fold_notations_box = Child<QCheckBox>(window, "foldNotationsBox");
  c.use_sign_file_button = Child<QRadioButton>(window, "useSignFileButton");
  c.use_sign_memo_button = Child<QRadioButton>(window, "useSignMemoButton");
  c.sign_file_field = Child<QLineEdit>(window, "signFileField");
  c.sign_file_picker = Child<QPushButton>(window, "signFilePicker");
  c.sign_memo = Child<QPlainTextEdit>(window, "signMemo");
  c.about_button = Child<QPushButton>(window, "aboutButton");
  c.stop_button = Child<QPushButton>(window, "stopButton");
  c.diff_limit_box = Child<QCheckBox>(window, "diffLimitBox");
  c.diff_limit_field = Child<QLineEdit>(window, "diffLimitField");
  c.default_signs_button = Child<QPushButton>(window, "defaultSignsButton");
  c.progress_bar = Child<QProgressBar>(window, "progressBar");
  c.diff_count_label = Child<QLabel>(window, "diffCountLabel");
  c.setup_button = Child<QPushButton>(window, "setupButton");
  c.logo = Child<QLabel>(window, "logo");
  c.fast_mode_box = Child<QCheckBox>(window, "fastModeBox");
  return c;
}

SetupControls Controls(SetupDialog& setup) {
  SetupControls c;
  c.use_default_program = Child<QRadioButton>(setup, "useDefaultProgram");
  c.use_program1 = Child<QRadioButton>(setup, "useProgram1");
  c.use_program2 = Child<QRadioButton>(setup, "useProgram2");
  c.use_program3 = Child<QRadioButton>(setup, "useProgram3");
  c.program1_field = Child<QLineEdit>(setup, "program1Field");
  c.program2_field = Child<QLineEdit>(setup, "program2Field");
  c.program3_field = Child<QLineEdit>(setup, "program3Field");
  c.ok_button = Child<QPushButton>(setup, "okButton");
  c.program1_picker = Child<QPushButton>(setup, "program1Picker");
  c.program3_picker = Child<QPushButton>(setup, "program3Picker");
  return c;
}

AboutControls Controls(AboutBox& about) {
  return {Child<QTextEdit>(about, "credits")};
}

BoxRecorder::BoxRecorder() {
  previous_ = SetBoxRunner([this](QMessageBox& box) {
    texts << box.text();
    icons << box.icon();
    QAbstractButton* answer = box.defaultButton();
    if (answer == nullptr) answer = box.buttons().value(0);
    if (answer != nullptr) answer->click();
  });
}

BoxAnswer::BoxAnswer(QString button) {
  previous_ = SetBoxRunner([this, button](QMessageBox& box) {
    texts << box.text();
    for (QAbstractButton* b : box.buttons()) {
      if (b->text() == button) b->click();
    }
  });
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &old_);
  // Else a write beyond the limit ends the process.
  old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = old_;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &old_);
  std::signal(SIGXFSZ, old_handler_);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  file.write(bytes);
}

void WhenModal(std::function<void(QWidget* dialog)> function) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, function] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      function(dialog);
    }
  });
  poll->start();
}

}  // namespace tessel::app::testing
