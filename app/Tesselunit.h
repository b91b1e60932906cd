// The main window: its fields, the checks made before a run, and the run
// control that starts, watches, stops and finishes a comparison.

#ifndef TESSEL_APP_TESSELUNIT_H_
#define TESSEL_APP_TESSELUNIT_H_

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "CompareOptions.h"
#include "NotationTable.h"
#include "OpenFileDialog.h"
#include "RunHost.h"
#include "RunStatus.h"
#include "SettingControls.h"
#include "SettingsPlace.h"
#include "ShellLauncher.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tessel::app {

class AboutBox;
class AlternativeRadioButton;
class CompareOptionsDialog;
class RadioGroup;
class ResultsSink;
class ResultsWindow;
class SetupDialog;
class TIniFile;

// What the window and a run share besides the controls. All of it starts
// as zero, false or empty.
struct RunControlState {
  // Bare file names are completed with it, and the pickers start there:
  // the settings place's start_dir, set at the first show.
  QString StartDir;
  // Where the settings are written at close: the settings place's
  // write_path, set at the first show.
  QString IniPath;
  // Differences written by the current or last run.
  std::int32_t DiffCount = 0;
  // The run ends once DiffCount reaches it; set by CheckInput.
  std::int32_t DiffLimit = 0;
  // The user asked the current run to stop.
  bool StopRequested = false;
  // The run compares three sources; set by CheckInput.
  bool ThreeFiles = false;
  // The look-ahead field said auto, and the largest look-ahead it allows;
  // set by CheckInput.
  bool AutoWindow = false;
  std::int32_t MaxWindow = 0;
  // A 500 ms tick has passed since the run last moved the progress bar.
  bool TimerTick = false;
};

// The program's one main window. The run executes inside Run() on the
// user-interface thread, and lets the window handle pending events once per
// pass, so the handlers below run re-entrantly between two passes of a run,
// each to completion.
//
// Its controls are its own. Each carries an object name that says what it
// is ("source1Field", "runButton", ...): the tests drive the window through
// them as a user would, and the run host reaches the window only through the
// few members under "What a run reaches".
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The About box and the setup dialog that the window's buttons show.
  // They are created after the window, and must outlive it or be reset
  // here. The settings fill the setup dialog too, and its program picker
  // starts in StartDir.
  void SetAboutBox(AboutBox* about) { about_ = about; }
  void SetSetupDialog(SetupDialog* setup);

  // The file-open dialog that all the window's pickers share.
  OpenFileDialog& OpenDialog() { return *open_dialog_; }
  void SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog);

  RunControlState& run_control() { return run_control_; }

  // Where the settings live and what bare file names mean. Chosen at the
  // first show from where the program runs (SettingsPlace.h), unless set
  // before it.
  void SetSettingsPlace(const SettingsPlace& place) { place_ = place; }

  // The shell's open operation, through which a double-click opens a
  // field's file.
  void SetLauncher(std::unique_ptr<ShellLauncher> launcher);

  // Checks the fields in their fixed order and completes bare file names
  // with StartDir; sets ThreeFiles and DiffLimit. On the first failed check
  // shows its message, moves the focus to the field and returns false;
  // completions made before it stay. True means a run may start.
  bool CheckInput();

  // What the run button does: the checks, then one comparison, and "完成 !"
  // when it came to a normal end. The window is idle again afterwards,
  // however the run ended.
  void Run();

  // Keeps what a run handed to the window's sink and offers it in the
  // results view: the results button shows when `results` was started by
  // a run, and hides otherwise. An earlier run's view closes.
  void KeepResults(std::unique_ptr<ResultsSink> results);
  // What the results button does: shows the kept run's results view.
  void ShowResults();
  // The results view of the kept run, or nullptr before it is first shown.
  ResultsWindow* results_window() const { return results_window_.get(); }

  // What the About and setup buttons do.
  void ShowAboutBox();
  void ShowSetupDialog();
  // What the options button does: shows the options dialog, which the
  // window owns.
  void ShowCompareOptions();
  CompareOptionsDialog& compare_options() const { return *options_; }
  // Puts up to three file names into the source fields, in order: two
  // choose two-file mode and three three-file mode, showing or hiding the
  // third fields; one fills the first source and keeps the mode.
  void OpenSources(const QStringList& sources);

  // Reads the settings file (the place's read_path) into the window's and
  // the setup dialog's controls; a missing file, key or number gives the
  // control's default.
  void LoadSettings();
  // The same from a settings file already opened.
  void LoadSettings(const TIniFile& ini);
  // Writes every key to IniPath, creating its folder; writes nothing, and
  // returns true, before the first show has set IniPath. When the first write
  // fails, asks whether to close all the same and returns the answer; a
  // later failure throws, and the window stays open. True means the window
  // may close.
  bool SaveSettings();

  // What a run reaches, through its host.

  // The fields a run reads, as the user left them.
  struct RunFields {
    std::array<QString, 3> sources;
    std::array<QString, 3> results;
    QString difference;
    QString sign_file;
    QString sign_memo;
    QString look_ahead;
    bool use_sign_file = false;
    bool use_sign_memo = false;
    bool fold_notations = false;
    // The options dialog's choices.
    CompareOptions compare;
  };
  RunFields FieldsForRun() const;
  // Fast mode is ticked. Cheap: a run asks once per pass.
  bool FastModeChosen() const;
  // The progress bar, from 0 to `maximum` (at least 1).
  void SetProgressMaximum(int maximum);
  int ProgressMaximum() const;
  void SetProgress(int position);
  // Shows `count` in the difference counter, which grows with its text.
  void ShowDiffCount(std::int32_t count);
  // The field that names `file`, or nullptr when the window has none.
  QWidget* FieldOfFile(RunFile file) const;
  // After a run: each source's encoding, "(Unicode 比對)" for a Unicode run,
  // the variants met when `variants_counted`, and the look-ahead a growing
  // one reached, in the line below the buttons; each source's encoding in
  // its field's tool tip. A run that failed clears them.
  void ShowRunFacts(const RunStatus& status, bool unicode_run,
                    bool variants_counted);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void ConnectHandlers();
  void SetTabOrder();
  // Gives every control a name a screen reader can read.
  void NameForScreenReaders();
  // The options dialog's checks, the last of CheckInput's: a table file
  // named when one is chosen, with no comma; the ignored stretches in pairs
  // that Big5 can hold. Completes a bare table file name.
  bool CheckCompareOptions();
  // Shows `message`, gives `field` the focus, and returns false.
  bool Fail(std::string_view message, QWidget* field);
  // Puts StartDir in front of a bare file name.
  void Complete(QLineEdit* field);
  // Returns the window to idle after a run.
  void EndRunState();
  // The controls whose state tessel.ini keeps.
  SettingControls ControlsForSettings() const;

  // The handlers, one for each event the window answers.
  void RequestStop();
  // Closes the window, unless a run is going.
  void CloseWhenIdle();
  // Shows the third source's and result's fields only for three sources.
  void ShowOrHideThirdSource();
  void EnableDiffLimitField();
  void ShowStopButtonUnlessFast();
  void ChooseSignFile();
  void ChooseSignMemo();
  void MarkTimerTick();
  void InsertDefaultSigns();
  // The pickers: fill `field` from the shared dialog.
  void PickFile(QLineEdit* field);
  void PickSignFile();
  // Opens the focused file field's file with the program chosen in the
  // setup dialog, and reports a failure.
  void OpenFieldFile();
  // Raised once, when the window is first shown.
  void FirstShow();

  // The controls, in the order of the form's design, which is also their
  // stacking order. The window owns them.
  QLineEdit* source1_field_;
  QLabel* source1_label_;
  QLineEdit* source2_field_;
  QLabel* source2_label_;
  QLineEdit* source3_field_;
  QLabel* source3_label_;
  QLineEdit* result1_field_;
  QLabel* result1_label_;
  QLineEdit* result2_field_;
  QLabel* result2_label_;
  QLineEdit* result3_field_;
  QLabel* result3_label_;
  QLineEdit* difference_field_;
  QLabel* difference_label_;
  QLineEdit* look_ahead_field_;
  QLabel* look_ahead_label_;
  QLabel* look_ahead_hint_;
  QPushButton* run_button_;
  QPushButton* source1_picker_;
  QPushButton* source2_picker_;
  QPushButton* source3_picker_;
  QPushButton* result1_picker_;
  QPushButton* result2_picker_;
  QPushButton* result3_picker_;
  QPushButton* difference_picker_;
  QPushButton* exit_button_;
  RadioGroup* source_count_group_;
  QLabel* overwrite_warning_;
  QCheckBox* fold_notations_box_;
  QGroupBox* sign_source_group_;
  AlternativeRadioButton* use_sign_file_button_;
  AlternativeRadioButton* use_sign_memo_button_;
  QLineEdit* sign_file_field_;
  QPushButton* sign_file_picker_;
  QPlainTextEdit* sign_memo_;
  QPushButton* about_button_;
  QPushButton* stop_button_;
  QCheckBox* diff_limit_box_;
  QLineEdit* diff_limit_field_;
  QPushButton* default_signs_button_;
  QProgressBar* progress_bar_;
  QLabel* look_ahead_range_hint_;
  QLabel* diff_count_caption_;
  QLabel* diff_count_label_;
  QLabel* progress_caption_;
  QLabel* open_hint_;
  QPushButton* setup_button_;
  QTimer* tick_timer_;
  QLabel* logo_;
  QCheckBox* fast_mode_box_;
  // Shown only while there are results to look at.
  QPushButton* results_button_;
  // Below the buttons, in a line of their own: the options dialog's button
  // and what the last run found out about its sources.
  QPushButton* options_button_;
  QLabel* run_facts_label_;
  CompareOptionsDialog* options_;

  RunControlState run_control_;
  // Lives as long as the window, so that a notation keeps its code from
  // run to run.
  NotationTable notations_;
  std::unique_ptr<OpenFileDialog> open_dialog_;
  std::unique_ptr<ShellLauncher> launcher_;
  std::optional<SettingsPlace> place_;
  AboutBox* about_ = nullptr;
  SetupDialog* setup_ = nullptr;
  bool shown_ = false;
  // The last run's results, and their view; the view goes first.
  std::unique_ptr<ResultsSink> results_;
  std::unique_ptr<ResultsWindow> results_window_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_TESSELUNIT_H_
