// The setup dialog, where the user chooses the program that opens a file
// field's file.

#ifndef TESSEL_APP_SETUP_H_
#define TESSEL_APP_SETUP_H_

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "OpenFileDialog.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tessel::app {

class AlternativeRadioButton;

// "fmSetup": created hidden at program start, shown without being modal,
// always on top. Its state is its controls: which of the four radio
// buttons is selected (none, when a settings file says so) and the three
// program fields. There is no cancel: a change counts from the next
// double-click on, and closing the dialog, by "確定" or its title bar, only
// hides it. The main window loads and saves its controls.
class TfmSetup : public QDialog {
  Q_OBJECT

 public:
  explicit TfmSetup(QWidget* parent = nullptr);
  ~TfmSetup() override;

  // Closes the dialog; every change made in it is in force already.
  void Button1Click();
  void btAp1Click();
  void btAp2Click();
  void btAp3Click();

  // Lets the user choose a program for `field` in the dialog's own file
  // dialog. A field without a folder starts in the main window's StartDir.
  // Choosing a program does not select the radio button beside it.
  void PickProgram(QLineEdit* field);

  // Where the picker starts when the field names no folder: the main
  // window's StartDir, which is known only once that window is shown.
  void SetStartDirSource(std::function<QString()> source);

  OpenFileDialog& OpenDialog() { return *open_dialog_; }
  void SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog);

  // The program field of the first custom choice that is selected, or
  // nothing when rbDefault or no button is selected.
  QLineEdit* ChosenProgram() const;

  // The components, in the order of the dialog's design.
  QGroupBox* GroupBox1;
  AlternativeRadioButton* rbDefault;
  AlternativeRadioButton* rbAp1;
  AlternativeRadioButton* rbAp2;
  AlternativeRadioButton* rbAp3;
  QLineEdit* edAp1;
  QLineEdit* edAp2;
  QLineEdit* edAp3;
  QPushButton* Button1;
  QPushButton* btAp1;
  QPushButton* btAp2;
  QPushButton* btAp3;

 private:
  std::unique_ptr<OpenFileDialog> open_dialog_;
  std::function<QString()> start_dir_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_SETUP_H_
