#include "Tesselunit.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "AppFonts.h"
#include "CompareOptionsDialog.h"
#include "ComparisonRun.h"
#include "FileNames.h"
#include "Helpunit.h"
#include "IntegerText.h"
#include "LookAheadText.h"
#include "MessageBoxes.h"
#include "RadioAlternatives.h"
#include "Resources.h"
#include "ResultsSink.h"
#include "ResultsWindow.h"
#include "RunErrorMessages.h"
#include "Setup.h"
#include "SignSet.h"
#include "WindowRunHost.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 627;
// The form's design, and a line below it for the options button and what a
// run found out about its sources.
constexpr int kFactsRowHeight = 40;
constexpr int kClientHeight = 442 + kFactsRowHeight;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
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
  NameForScreenReaders();
  SetTabOrder();
  ConnectHandlers();

  open_dialog_ = std::make_unique<QtOpenFileDialog>(
      this,
      QStringList{QString::fromUtf8(texts::kTextFilter),
                  QString::fromUtf8(texts::kAllFilesFilter)},
      QString::fromUtf8(texts::kAllFilesFilter));
  launcher_ = std::make_unique<SystemShellLauncher>();
  tick_timer_->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog) {
  open_dialog_ = std::move(dialog);
}

void MainWindow::SetLauncher(std::unique_ptr<ShellLauncher> launcher) {
  // The results view opens its report through the launcher it was given.
  results_window_.reset();
  launcher_ = std::move(launcher);
}

void MainWindow::SetSetupDialog(SetupDialog* setup) {
  setup_ = setup;
  if (setup_ != nullptr) {
    setup_->SetStartDirSource([this] { return run_control_.StartDir; });
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The file fields' double-click; the field still handles it as well. Only
  // the left button opens: a middle-button double-click is X11's paste,
  // done twice, and has already changed the field.
  if (event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    OpenFieldFile();
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::Fail(std::string_view message, QWidget* field) {
  ShowSimpleMessage(this, Utf8(message));
  field->setFocus();
  return false;
}

void MainWindow::Complete(QLineEdit* field) {
  const QString text = field->text();
  if (!text.isEmpty() && DirectoryPart(text).isEmpty()) {
    field->setText(run_control_.StartDir + text);
  }
}

bool MainWindow::CheckInput() {
  RunControlState& state = run_control_;
  state.ThreeFiles = source_count_group_->ItemIndex() != 0;

  if (source1_field_->text().isEmpty())
    return Fail(texts::kFile1Empty, source1_field_);
  Complete(source1_field_);
  if (source2_field_->text().isEmpty())
    return Fail(texts::kFile2Empty, source2_field_);
  Complete(source2_field_);
  // An empty third source means two sources, in either mode. A third
  // source is passed on as typed: it is never completed.
  if (source3_field_->text().isEmpty()) state.ThreeFiles = false;

  if (result1_field_->text().isEmpty()) {
    return Fail(texts::kResult1Empty, result1_field_);
  }
  Complete(result1_field_);
  if (result2_field_->text().isEmpty()) {
    return Fail(texts::kResult2Empty, result2_field_);
  }
  Complete(result2_field_);
  if (state.ThreeFiles) {
    if (result3_field_->text().isEmpty()) {
      return Fail(texts::kResult3Empty, result3_field_);
    }
    Complete(result3_field_);
  }
  if (difference_field_->text().isEmpty()) {
    return Fail(texts::kDifferenceEmpty, difference_field_);
  }
  Complete(difference_field_);

  // Only auto is kept: the run reads the field again for a number.
  const auto look_ahead = ParseLookAhead(look_ahead_field_->text());
  if (const auto* fault = std::get_if<LookAheadFault>(&look_ahead)) {
    switch (*fault) {
      case LookAheadFault::kNotNumber:
        return Fail(messages::kWindowNotNumber, look_ahead_field_);
      case LookAheadFault::kOutOfRange:
        return Fail(messages::kWindowOutOfRange, look_ahead_field_);
      case LookAheadFault::kBadAutoMaximum:
        return Fail(messages::kAutoMaximumOutOfRange, look_ahead_field_);
    }
  }
  const auto& choice = std::get<LookAheadChoice>(look_ahead);
  state.AutoWindow = choice.auto_window;
  state.MaxWindow = choice.max_window;

  if (use_sign_file_button_->isChecked()) {
    if (sign_file_field_->text().isEmpty()) {
      return Fail(texts::kSignFileEmpty, sign_file_field_);
    }
    Complete(sign_file_field_);
  }

  // Any limit is taken, zero and negative ones included: such a run ends at
  // its first difference.
  state.DiffLimit = kNoDiffLimit;
  if (diff_limit_box_->isChecked()) {
    const std::optional<std::int32_t> limit =
        ParseIntegerText(diff_limit_field_->text().toStdString());
    if (!limit) return Fail(messages::kLimitNotNumber, diff_limit_field_);
    state.DiffLimit = *limit;
  }
  return CheckCompareOptions();
}

bool MainWindow::CheckCompareOptions() {
  const CompareOptions choices = options_->Choices();
  QLineEdit* const table_file = options_->TableFileField();
  QLineEdit* const ignore_between = options_->IgnoreBetweenField();
  // The fields live in the options dialog, which must be up for the user to
  // see the field the message points at.
  const auto fail = [this](std::string_view message, QWidget* field) {
    ShowCompareOptions();
    return Fail(message, field);
  };
  if (choices.use_table_file) {
    if (choices.table_file.isEmpty()) {
      return fail(texts::kTableFileEmpty, table_file);
    }
    if (!IsListableTableFile(choices.table_file)) {
      return fail(texts::kTableFileComma, table_file);
    }
    Complete(table_file);
  }
  if (!ParseIgnorePairs(choices.ignore_between)) {
    return fail(texts::kIgnoreBetweenUnpaired, ignore_between);
  }
  if (!FitsBig5(choices.ignore_between)) {
    return fail(texts::kIgnoreBetweenNotBig5, ignore_between);
  }
  return true;
}

void MainWindow::Run() {
  if (!CheckInput()) return;
  run_control_.StopRequested = false;
  run_button_->setEnabled(false);
  stop_button_->setEnabled(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);

  // However the run ends, even by an exception on its way to the error
  // box, the window goes back to idle: else run_button_ would stay disabled and
  // no run could ever start again.
  struct BackToIdle {
    MainWindow* window;
    ~BackToIdle() { window->EndRunState(); }
  } back_to_idle{this};

  WindowRunHost host(*this);
  const RunOptions options = host.Options();
  // What the last run found must not stand beside this one's count.
  ShowRunFacts(RunStatus{}, false, false);
  // The run hands its differences to this sink, which the results view
  // shows; a run that never started leaves it unstarted, and the results
  // button stays hidden.
  auto kept = std::make_unique<ResultsSink>();
  ComparisonRun run(host, notations_, {kept.get()});
  const RunStatus status = run.RunComparison(options);
  KeepResults(std::move(kept));
  bool unicode_run = options.unicode;
  for (int k = 0; k < (options.three_files ? 3 : 2); ++k) {
    unicode_run = unicode_run || IsUnicodeEncoding(status.encodings[k]);
  }
  ShowRunFacts(status, unicode_run, !options.variant_tables.empty());
  ReportRunStatus(*this, status);
}

void MainWindow::KeepResults(std::unique_ptr<ResultsSink> results) {
  results_window_.reset();
  results_ = std::move(results);
  if (results_ != nullptr && !results_->started()) results_.reset();
  results_button_->setVisible(results_ != nullptr);
}

void MainWindow::ShowResults() {
  if (results_ == nullptr) return;
  if (results_window_ == nullptr) {
    results_window_ = std::make_unique<ResultsWindow>(*results_, *launcher_);
  }
  results_window_->show();
  results_window_->raise();
  results_window_->activateWindow();
}

void MainWindow::EndRunState() {
  QApplication::restoreOverrideCursor();
  run_button_->setEnabled(true);
  stop_button_->setEnabled(false);
  progress_bar_->setValue(0);
}

void MainWindow::RequestStop() { run_control_.StopRequested = true; }

void MainWindow::CloseWhenIdle() {
  if (run_button_->isEnabled()) close();
}

void MainWindow::ShowAboutBox() {
  if (about_ == nullptr) return;
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::ShowSetupDialog() {
  if (setup_ == nullptr) return;
  setup_->show();
  setup_->raise();
  setup_->activateWindow();
}

void MainWindow::ShowCompareOptions() {
  options_->show();
  options_->raise();
  options_->activateWindow();
}

void MainWindow::OpenSources(const QStringList& sources) {
  constexpr int kMaxSources = 3;
  // The items of the source-count group.
  constexpr int kTwoFilesItem = 0;
  constexpr int kThreeFilesItem = 1;
  QLineEdit* const fields[kMaxSources] = {source1_field_, source2_field_,
                                          source3_field_};
  const int count =
      static_cast<int>(std::min<qsizetype>(sources.size(), kMaxSources));
  for (int k = 0; k < count; ++k) fields[k]->setText(sources[k]);
  if (count < 2) return;
  source_count_group_->SetItemIndex(count == kMaxSources ? kThreeFilesItem
                                                         : kTwoFilesItem);
  ShowOrHideThirdSource();
}

void MainWindow::ShowOrHideThirdSource() {
  const bool third = source_count_group_->ItemIndex() != 0;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           source3_field_, source3_picker_, source3_label_, result3_field_,
           result3_picker_, result3_label_}) {
    widget->setVisible(third);
  }
}

void MainWindow::EnableDiffLimitField() {
  diff_limit_field_->setEnabled(diff_limit_box_->isChecked());
}

void MainWindow::ShowStopButtonUnlessFast() {
  stop_button_->setVisible(!fast_mode_box_->isChecked());
}

void MainWindow::ChooseSignFile() { use_sign_file_button_->setChecked(true); }

void MainWindow::ChooseSignMemo() { use_sign_memo_button_->setChecked(true); }

void MainWindow::MarkTimerTick() { run_control_.TimerTick = true; }

void MainWindow::InsertDefaultSigns() {
  sign_memo_->setPlainText(FromBig5(kDefaultSigns) + sign_memo_->toPlainText());
}

void MainWindow::PickFile(QLineEdit* field) {
  if (const std::optional<QString> chosen =
          PickForField(OpenDialog(), field->text(), run_control_.StartDir)) {
    field->setText(*chosen);
  }
}

void MainWindow::PickSignFile() {
  const QString text = sign_file_field_->text();
  const QString directory = DirectoryPart(text);
  OpenFileDialog& dialog = OpenDialog();
  dialog.SetStartDirectory(directory.isEmpty() ? run_control_.StartDir
                                               : directory);
  // Unlike the other pickers, the whole text, folder included.
  dialog.SetStartFileName(text);
  if (const std::optional<QString> chosen = dialog.Run()) {
    sign_file_field_->setText(*chosen);
    use_sign_file_button_->setChecked(true);
  }
}

MainWindow::RunFields MainWindow::FieldsForRun() const {
  RunFields fields;
  fields.sources = {source1_field_->text(), source2_field_->text(),
                    source3_field_->text()};
  fields.results = {result1_field_->text(), result2_field_->text(),
                    result3_field_->text()};
  fields.difference = difference_field_->text();
  fields.sign_file = sign_file_field_->text();
  fields.sign_memo = sign_memo_->toPlainText();
  fields.look_ahead = look_ahead_field_->text();
  fields.use_sign_file = use_sign_file_button_->isChecked();
  fields.use_sign_memo = use_sign_memo_button_->isChecked();
  fields.fold_notations = fold_notations_box_->isChecked();
  fields.compare = options_->Choices();
  return fields;
}

bool MainWindow::FastModeChosen() const { return fast_mode_box_->isChecked(); }

void MainWindow::SetProgressMaximum(int maximum) {
  progress_bar_->setRange(0, std::max(maximum, 1));
}

int MainWindow::ProgressMaximum() const { return progress_bar_->maximum(); }

void MainWindow::SetProgress(int position) {
  progress_bar_->setValue(position);
}

QWidget* MainWindow::FieldOfFile(RunFile file) const {
  switch (file) {
    case RunFile::kSource1:
      return source1_field_;
    case RunFile::kSource2:
      return source2_field_;
    case RunFile::kSource3:
      return source3_field_;
    case RunFile::kResult1:
      return result1_field_;
    case RunFile::kResult2:
      return result2_field_;
    case RunFile::kResult3:
      return result3_field_;
    case RunFile::kDifference:
      return difference_field_;
    case RunFile::kSignFile:
      return sign_file_field_;
    case RunFile::kNone:
    case RunFile::kMemoFile:  // the window's memo is typed, not a file
    case RunFile::kReport:
      break;
  }
  return nullptr;
}

void MainWindow::ShowDiffCount(std::int32_t count) {
  diff_count_label_->setText(QString::number(count));
  diff_count_label_->resize(diff_count_label_->sizeHint().width(),
                            diff_count_label_->height());
}

void MainWindow::ShowRunFacts(const RunStatus& status, bool unicode_run,
                              bool variants_counted) {
  QLineEdit* const sources[] = {source1_field_, source2_field_, source3_field_};
  for (QLineEdit* field : sources) field->setToolTip(QString());
  // A run that failed may have stopped before it read a source, and one
  // that never ran has nothing to tell.
  if (status.outcome == RunOutcome::kFailed) {
    run_facts_label_->clear();
    return;
  }
  const int count = run_control_.ThreeFiles ? 3 : 2;
  QStringList names;
  for (int k = 0; k < count; ++k) {
    names << EncodingLabel(status.encodings[k]);
    sources[k]->setToolTip(QStringLiteral("編碼 : ") + names.back());
  }
  QString text =
      QStringLiteral("來源編碼 : ") + names.join(QStringLiteral(", "));
  if (unicode_run) text += QStringLiteral(" (Unicode 比對)");
  if (variants_counted) {
    text += QStringLiteral("    異體字數 : %1").arg(status.variant_count);
  }
  // What a growing look-ahead reached tells how far apart the editions
  // drifted; a fixed one is the field's own number.
  if (run_control_.AutoWindow && status.reached_window > 0) {
    text += QStringLiteral("    最大比對字數擴大到 : %1")
                .arg(status.reached_window);
  }
  run_facts_label_->setText(text);
}

void MainWindow::FirstShow() {
  if (!place_) place_ = ChooseSettingsPlace(SurroundingsOfThisProgram());
  run_control_.StartDir = place_->start_dir;
  run_control_.IniPath = place_->write_path;
  if (setup_ != nullptr) setup_->ShowSettingsPath(place_->write_path);
  options_->SetStartDirSource([this] { return run_control_.StartDir; });
  OpenDialog().SetStartDirectory(run_control_.StartDir);
  LoadSettings();
  ShowOrHideThirdSource();
  diff_limit_field_->setEnabled(diff_limit_box_->isChecked());
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FirstShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Refused until the settings are saved: a failed write that throws on its
  // way to the error box must leave the window open.
  event->ignore();
  event->setAccepted(SaveSettings());
  // The results view belongs to this window: left open, it would keep the
  // program running with no window to start a run from.
  if (event->isAccepted() && results_window_ != nullptr) {
    results_window_->close();
  }
}

}  // namespace tessel::app
