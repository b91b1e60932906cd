// The setup dialog, where the user chooses the program that opens a file
// field's file.

#ifndef TESSEL_APP_SETUP_H_
#define TESSEL_APP_SETUP_H_

#include <QDialog>

class QPushButton;

namespace tessel::app {

// "fmSetup": created hidden at program start and shown without being
// modal. So far it is only the dialog itself (caption, size, place, font)
// with its OK button; its choice of programs and their pickers come with
// the settings work, which also stores them.
class TfmSetup : public QDialog {
  Q_OBJECT

 public:
  explicit TfmSetup(QWidget* parent = nullptr);

  // Closes the dialog; every change made in it is in force already.
  void Button1Click();

  QPushButton* Button1;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_SETUP_H_
