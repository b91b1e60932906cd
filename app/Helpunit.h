// The About box.

#ifndef TESSEL_APP_HELPUNIT_H_
#define TESSEL_APP_HELPUNIT_H_

#include <QDialog>

class QFrame;
class QTextEdit;
class QPushButton;

namespace tessel::app {

// A small dialog that stays on top, with the program's credits in
// a read-only memo. It is shown without being modal, and closing it (by
// its button, Enter, Escape or the title bar) only hides it, so it shows
// the same text the next time.
// Its controls' object names: "credits", "okButton".
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  // The credits, one entry per line.
  static QStringList CreditLines();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTextEdit* credits_;
  QPushButton* ok_button_;
  QFrame* frame_;
  bool shown_ = false;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_HELPUNIT_H_
