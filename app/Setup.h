// The setup dialog, where the user chooses the program that opens a file
// field's file.

#ifndef TESSEL_APP_SETUP_H_
#define TESSEL_APP_SETUP_H_

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "OpenFileDialog.h"
#include "SettingControls.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel::app {

class AlternativeRadioButton;

// The setup dialog: created hidden at program start, shown without being
// modal, always on top. Its state is its controls: which of the four radio
// buttons is selected (none, when a settings file says so) and the three
// program fields. There is no cancel: a change counts from the next
// double-click on, and closing the dialog, by "確定" or its title bar, only
// hides it. The main window loads and saves its controls, and tells it
// where the settings file is, which it shows read-only. The controls'
// object names say what they are ("useDefaultProgram", "program1Field",
// "program1Picker", "okButton", ...).
class SetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SetupDialog(QWidget* parent = nullptr);
  ~SetupDialog() override;

  // Where the picker starts when the field names no folder: the main
  // window's StartDir, which is known only once that window is shown.
  void SetStartDirSource(std::function<QString()> source);

  OpenFileDialog& OpenDialog() { return *open_dialog_; }
  void SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog);

  // The system's default program is chosen to open files.
  bool UsesDefaultProgram() const;
  // The program field's text of the first custom choice that is selected,
  // or nothing when the default or no button is selected.
  std::optional<QString> ChosenProgram() const;

  // Shows where the settings file is kept.
  void ShowSettingsPath(const QString& path);

  // Puts the controls whose state the settings keep into `controls`.
  void AddSettingControls(SettingControls& controls) const;

 private:
  // Lets the user choose a program for `field` in the dialog's own file
  // dialog. A field without a folder starts in the main window's StartDir.
  // Choosing a program does not select the radio button beside it.
  void PickProgram(QLineEdit* field);

  // The controls, in the order of the dialog's design.
  QGroupBox* opener_group_;
  AlternativeRadioButton* use_default_program_;
  AlternativeRadioButton* use_program1_;
  AlternativeRadioButton* use_program2_;
  AlternativeRadioButton* use_program3_;
  QLineEdit* program1_field_;
  QLineEdit* program2_field_;
  QLineEdit* program3_field_;
  QPushButton* ok_button_;
  QPushButton* program1_picker_;
  QPushButton* program2_picker_;
  QPushButton* program3_picker_;
  QLabel* settings_label_;
  QLineEdit* settings_path_;

  std::unique_ptr<OpenFileDialog> open_dialog_;
  std::function<QString()> start_dir_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_SETUP_H_
