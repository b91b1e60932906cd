// The About box.

#ifndef TESSEL_APP_HELPUNIT_H_
#define TESSEL_APP_HELPUNIT_H_

#include <QDialog>

class QFrame;
class QTextEdit;
class QPushButton;

namespace tessel::app {

// "fmHelp": a small dialog that stays on top, with the program's credits in
// a read-only memo. It is shown without being modal, and closing it (by
// its button, Enter, Escape or the title bar) only hides it, so it shows
// the same text the next time.
class TfmHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TfmHelp(QWidget* parent = nullptr);

  // Closes the box.
  void Button1Click();

  // The credits, one entry per line.
  static QStringList CreditLines();

  QTextEdit* Memo;
  QPushButton* Button1;
  QFrame* Bevel1;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool shown_ = false;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_HELPUNIT_H_
