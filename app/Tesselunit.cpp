#include "Tesselunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "AppFonts.h"
#include "ComparisonRun.h"
#include "FileNames.h"
#include "Helpunit.h"
#include "IntegerText.h"
#include "MessageBoxes.h"
#include "RadioAlternatives.h"
#include "Resources.h"
#include "RunErrorMessages.h"
#include "Setup.h"
#include "SignSet.h"
#include "WindowRunHost.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 627;
constexpr int kClientHeight = 442;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TfmTessel::TfmTessel(QWidget* parent) : QWidget(parent) {
  LoadResources();
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8(texts::kWindowCaption));
  setWindowIcon(QIcon(QString::fromUtf8(kIconPath)));
  setFixedSize(kClientWidth, kClientHeight);
  // Set before the components exist, so that they all inherit it.
  setFont(ProportionalMingFont());

  CreateComponents();
  SetTabOrder();
  ConnectHandlers();

  open_dialog_ = std::make_unique<QtOpenFileDialog>(
      this,
      QStringList{QString::fromUtf8(texts::kTextFilter),
                  QString::fromUtf8(texts::kAllFilesFilter)},
      QString::fromUtf8(texts::kAllFilesFilter));
  launcher_ = std::make_unique<SystemShellLauncher>();
  Timer->start();
}

TfmTessel::~TfmTessel() = default;

void TfmTessel::SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog) {
  open_dialog_ = std::move(dialog);
}

void TfmTessel::SetLauncher(std::unique_ptr<ShellLauncher> launcher) {
  launcher_ = std::move(launcher);
}

void TfmTessel::SetSetupForm(TfmSetup* setup) {
  setup_ = setup;
  if (setup_ != nullptr) {
    setup_->SetStartDirSource([this] { return run_control_.StartDir; });
  }
}

bool TfmTessel::eventFilter(QObject* watched, QEvent* event) {
  // The file fields' double-click; the field still handles it as well.
  if (event->type() == QEvent::MouseButtonDblClick) edEditDblClick();
  return QWidget::eventFilter(watched, event);
}

bool TfmTessel::Fail(std::string_view message, QWidget* field) {
  ShowSimpleMessage(this, Utf8(message));
  field->setFocus();
  return false;
}

void TfmTessel::Complete(QLineEdit* field) {
  const QString text = field->text();
  if (!text.isEmpty() && DirectoryPart(text).isEmpty()) {
    field->setText(run_control_.StartDir + text);
  }
}

bool TfmTessel::CheckInput() {
  RunControlState& state = run_control_;
  state.ThreeFiles = rgVornNum->ItemIndex() != 0;

  if (edFile1->text().isEmpty()) return Fail(texts::kFile1Empty, edFile1);
  Complete(edFile1);
  if (edFile2->text().isEmpty()) return Fail(texts::kFile2Empty, edFile2);
  Complete(edFile2);
  // An empty third source means two sources, in either mode. A third
  // source is passed on as typed: it is never completed.
  if (edFile3->text().isEmpty()) state.ThreeFiles = false;

  if (edResult1->text().isEmpty()) {
    return Fail(texts::kResult1Empty, edResult1);
  }
  Complete(edResult1);
  if (edResult2->text().isEmpty()) {
    return Fail(texts::kResult2Empty, edResult2);
  }
  Complete(edResult2);
  if (state.ThreeFiles) {
    if (edResult3->text().isEmpty()) {
      return Fail(texts::kResult3Empty, edResult3);
    }
    Complete(edResult3);
  }
  if (edResult->text().isEmpty()) {
    return Fail(texts::kDifferenceEmpty, edResult);
  }
  Complete(edResult);

  // The value is not kept: the run reads the field again.
  const std::optional<std::int32_t> window =
      ParseIntegerText(edNum1->text().toStdString());
  if (!window) return Fail(messages::kWindowNotNumber, edNum1);
  if (*window < kMinWindowSize || *window > kMaxWindowSize) {
    return Fail(messages::kWindowOutOfRange, edNum1);
  }

  if (rbUseSignFile->isChecked()) {
    if (edSignFile->text().isEmpty()) {
      return Fail(texts::kSignFileEmpty, edSignFile);
    }
    Complete(edSignFile);
  }

  // Any limit is taken, zero and negative ones included: such a run ends at
  // its first difference.
  state.DiffLimit = kNoDiffLimit;
  if (cbMaxDiffNum->isChecked()) {
    const std::optional<std::int32_t> limit =
        ParseIntegerText(edMaxDiffNum->text().toStdString());
    if (!limit) return Fail(messages::kLimitNotNumber, edMaxDiffNum);
    state.DiffLimit = *limit;
  }
  return true;
}

void TfmTessel::btRunClick() {
  if (!CheckInput()) return;
  run_control_.StopRequested = false;
  btRun->setEnabled(false);
  btStopNow->setEnabled(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);

  // However the run ends, even by an exception on its way to the error
  // box, the window goes back to idle: else btRun would stay disabled and
  // no run could ever start again.
  struct BackToIdle {
    TfmTessel* window;
    ~BackToIdle() { window->EndRunState(); }
  } back_to_idle{this};

  WindowRunHost host(*this);
  ComparisonRun run(host, notations_);
  ReportRunStatus(*this, run.RunComparison(host.Options()));
}

void TfmTessel::EndRunState() {
  QApplication::restoreOverrideCursor();
  btRun->setEnabled(true);
  btStopNow->setEnabled(false);
  pbVorn->setValue(0);
}

void TfmTessel::btStopNowClick() { run_control_.StopRequested = true; }

void TfmTessel::btExitClick() {
  if (btRun->isEnabled()) close();
}

void TfmTessel::btHelpClick() {
  if (help_ == nullptr) return;
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void TfmTessel::btSetupClick() {
  if (setup_ == nullptr) return;
  setup_->show();
  setup_->raise();
  setup_->activateWindow();
}

void TfmTessel::rgVornNumClick() {
  const bool third = rgVornNum->ItemIndex() != 0;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           edFile3, Button8, Label4, edResult3, Button11, Label7}) {
    widget->setVisible(third);
  }
}

void TfmTessel::cbMaxDiffNumClick() {
  edMaxDiffNum->setEnabled(cbMaxDiffNum->isChecked());
}

void TfmTessel::cbDoFastClick() {
  btStopNow->setVisible(!cbDoFast->isChecked());
}

void TfmTessel::edSignFileChange() { rbUseSignFile->setChecked(true); }

void TfmTessel::mmSignChange() { rbUseSignMemo->setChecked(true); }

void TfmTessel::TimerTimer() { run_control_.TimerTick = true; }

void TfmTessel::btSignMemoDefaultClick() {
  mmSign->setPlainText(FromBig5(kDefaultSigns) + mmSign->toPlainText());
}

void TfmTessel::PickFile(QLineEdit* field) {
  const QString text = field->text();
  const QString directory = DirectoryPart(text);
  OpenFileDialog& dialog = OpenDialog();
  dialog.SetStartDirectory(directory.isEmpty() ? run_control_.StartDir
                                               : directory);
  dialog.SetStartFileName(NamePart(text));
  if (const std::optional<QString> chosen = dialog.Run()) {
    field->setText(*chosen);
  }
}

void TfmTessel::btSignFileClick() {
  const QString text = edSignFile->text();
  const QString directory = DirectoryPart(text);
  OpenFileDialog& dialog = OpenDialog();
  dialog.SetStartDirectory(directory.isEmpty() ? run_control_.StartDir
                                               : directory);
  // Unlike the other pickers, the whole text, folder included.
  dialog.SetStartFileName(text);
  if (const std::optional<QString> chosen = dialog.Run()) {
    edSignFile->setText(*chosen);
    rbUseSignFile->setChecked(true);
  }
}

void TfmTessel::ShowDiffCount(std::int32_t count) {
  lbDiffNum->setText(QString::number(count));
  lbDiffNum->resize(lbDiffNum->sizeHint().width(), lbDiffNum->height());
}

void TfmTessel::FormShow() {
#ifdef _WIN32
  run_control_.StartDir =
      QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + u'\\';
#else
  run_control_.StartDir = QCoreApplication::applicationDirPath() + u'/';
#endif
  OpenDialog().SetStartDirectory(run_control_.StartDir);
  LoadSettings();
  rgVornNumClick();
  edMaxDiffNum->setEnabled(cbMaxDiffNum->isChecked());
}

void TfmTessel::FormClose(bool* may_close) {
  if (!SaveSettings()) *may_close = false;
}

void TfmTessel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FormShow();
}

void TfmTessel::closeEvent(QCloseEvent* event) {
  // Refused until the settings are saved: a failed write that throws on its
  // way to the error box must leave the window open.
  event->ignore();
  bool may_close = true;
  FormClose(&may_close);
  event->setAccepted(may_close);
}

}  // namespace tessel::app
