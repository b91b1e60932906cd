// The main window: its fields, the checks made before a run, and the run
// control that starts, watches, stops and finishes a comparison.

#ifndef TESSEL_APP_TESSELUNIT_H_
#define TESSEL_APP_TESSELUNIT_H_

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string_view>

#include "NotationTable.h"
#include "OpenFileDialog.h"
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

class AlternativeRadioButton;
class RadioGroup;
class TfmHelp;
class TfmSetup;
class TIniFile;

// What the window and a run share besides the controls. All of it starts
// as zero, false or empty.
struct RunControlState {
  // The folder of the program's own executable, ending in '/': bare file
  // names are completed with it, and the pickers start there.
  QString StartDir;
  // Where the settings are written at close: StartDir + "tessel.ini".
  QString IniPath;
  // Differences written by the current or last run.
  std::int32_t DiffCount = 0;
  // The run ends once DiffCount reaches it; set by CheckInput.
  std::int32_t DiffLimit = 0;
  // The user asked the current run to stop.
  bool StopRequested = false;
  // The run compares three sources; set by CheckInput.
  bool ThreeFiles = false;
  // A 500 ms tick has passed since the run last moved the progress bar.
  bool TimerTick = false;
};

// The program's one main window, "fmTessel". The run executes inside
// btRunClick on the user-interface thread, and lets the window handle
// pending events once per pass, so the handlers below run re-entrantly
// between two passes of a run, each to completion.
class TfmTessel : public QWidget {
  Q_OBJECT

 public:
  explicit TfmTessel(QWidget* parent = nullptr);
  ~TfmTessel() override;
  TfmTessel(const TfmTessel&) = delete;
  TfmTessel& operator=(const TfmTessel&) = delete;

  // The About box and the setup dialog that btHelp and btSetup show. They
  // are created after the window, and must outlive it or be reset here.
  // The settings fill the setup dialog too, and its program picker starts
  // in StartDir.
  void SetHelpForm(TfmHelp* help) { help_ = help; }
  void SetSetupForm(TfmSetup* setup);

  // The file-open dialog that all the window's pickers share.
  OpenFileDialog& OpenDialog() { return *open_dialog_; }
  void SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog);

  RunControlState& run_control() { return run_control_; }

  // The shell's open operation, through which a double-click opens a
  // field's file.
  void SetLauncher(std::unique_ptr<ShellLauncher> launcher);

  // Checks the fields in their fixed order and completes bare file names
  // with StartDir; sets ThreeFiles and DiffLimit. On the first failed check
  // shows its message, moves the focus to the field and returns false;
  // completions made before it stay. True means a run may start.
  bool CheckInput();

  // Runs the checks, then one comparison, and shows "完成 !" when it came
  // to a normal end. The window is idle again afterwards, however the run
  // ended.
  void btRunClick();
  void btStopNowClick();
  // Closes the window, unless a run is going.
  void btExitClick();
  void btHelpClick();
  void btSetupClick();
  void rgVornNumClick();
  void cbMaxDiffNumClick();
  void cbDoFastClick();
  void edSignFileChange();
  void mmSignChange();
  void TimerTimer();
  void btSignMemoDefaultClick();

  // The pickers: fill `field` from the shared dialog.
  void PickFile(QLineEdit* field);
  void btSignFileClick();

  // Raised once, when the window is first shown.
  void FormShow();
  // Raised when the window is asked to close; clearing `*may_close` keeps
  // it open.
  void FormClose(bool* may_close);

  // Reads "tessel.ini" in the current directory into the window's and the
  // setup dialog's controls; a missing file, key or number gives the
  // control's default.
  void LoadSettings();
  // The same from a settings file already opened.
  void LoadSettings(const TIniFile& ini);
  // Writes every key to StartDir + "tessel.ini". When the first write
  // fails, asks whether to close all the same and returns the answer; a
  // later failure throws, and the window stays open. True means the window
  // may close.
  bool SaveSettings();
  // Opens the focused file field's file with the program chosen in the
  // setup dialog, and reports a failure.
  void edEditDblClick();

  // Shows `count` in lbDiffNum, which grows with its text.
  void ShowDiffCount(std::int32_t count);

  // The components, in the order of the form's design. The window owns
  // them.
  QLineEdit* edFile1;
  QLabel* Label2;
  QLineEdit* edFile2;
  QLabel* Label3;
  QLineEdit* edFile3;
  QLabel* Label4;
  QLineEdit* edResult1;
  QLabel* Label5;
  QLineEdit* edResult2;
  QLabel* Label6;
  QLineEdit* edResult3;
  QLabel* Label7;
  QLineEdit* edResult;
  QLabel* Label8;
  QLineEdit* edNum1;
  QLabel* Label11;
  QLabel* Label13;
  QPushButton* btRun;
  QPushButton* Button6;
  QPushButton* Button7;
  QPushButton* Button8;
  QPushButton* Button9;
  QPushButton* Button10;
  QPushButton* Button11;
  QPushButton* Button12;
  QPushButton* btExit;
  RadioGroup* rgVornNum;
  QLabel* Label1;
  QCheckBox* cbDoLoseWord;
  QGroupBox* GroupBox1;
  AlternativeRadioButton* rbUseSignFile;
  AlternativeRadioButton* rbUseSignMemo;
  QLineEdit* edSignFile;
  QPushButton* btSignFile;
  QPlainTextEdit* mmSign;
  QPushButton* btHelp;
  QPushButton* btStopNow;
  QCheckBox* cbMaxDiffNum;
  QLineEdit* edMaxDiffNum;
  QPushButton* btSignMemoDefault;
  QProgressBar* pbVorn;
  QLabel* Label9;
  QLabel* Label10;
  QLabel* lbDiffNum;
  QLabel* Label12;
  QLabel* Label14;
  QPushButton* btSetup;
  QTimer* Timer;
  QLabel* Image1;
  QCheckBox* cbDoFast;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void ConnectHandlers();
  void SetTabOrder();
  // Shows `message`, gives `field` the focus, and returns false.
  bool Fail(std::string_view message, QWidget* field);
  // Puts StartDir in front of a bare file name.
  void Complete(QLineEdit* field);
  // Returns the window to idle after a run.
  void EndRunState();

  RunControlState run_control_;
  // Lives as long as the window, so that a notation keeps its code from
  // run to run.
  NotationTable notations_;
  std::unique_ptr<OpenFileDialog> open_dialog_;
  std::unique_ptr<ShellLauncher> launcher_;
  TfmHelp* help_ = nullptr;
  TfmSetup* setup_ = nullptr;
  bool shown_ = false;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_TESSELUNIT_H_
