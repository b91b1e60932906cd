#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <utility>

#include "WindowTexts.h"

namespace tessel::app {

namespace {

BoxRunner& CurrentRunner() {
  static BoxRunner runner;
  return runner;
}

void Run(QMessageBox& box) {
  // The About box and the setup dialog stay on top of the other windows;
  // a box that did not would open under them, and the program would look
  // frozen while it waits for an answer nobody can see.
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (const BoxRunner& runner = CurrentRunner()) {
    runner(box);
  } else {
    box.exec();
  }
}

void ShowOkBox(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromUtf8(texts::kApplicationTitle));
  box.setIcon(icon);
  box.setText(text);
  // Messages are shown as given, never read as rich text: a file name
  // holding "<" must not change how the message looks.
  box.setTextFormat(Qt::PlainText);
  box.setStandardButtons(QMessageBox::Ok);
  // "OK" as ever, also where Qt's own texts are translated.
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  Run(box);
}

}  // namespace

void ShowSimpleMessage(QWidget* parent, const QString& text) {
  ShowOkBox(parent, text, QMessageBox::NoIcon);
}

void ShowErrorMessage(QWidget* parent, const QString& text) {
  ShowOkBox(parent, text, QMessageBox::Critical);
}

bool AskConfirmation(QWidget* parent, const QString& question) {
  QMessageBox box(parent);
  box.setWindowTitle(QStringLiteral("Confirm"));
  box.setIcon(QMessageBox::Question);
  box.setText(question);
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes =
      box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  Run(box);
  return box.clickedButton() == yes;
}

BoxRunner SetBoxRunner(BoxRunner runner) {
  return std::exchange(CurrentRunner(), std::move(runner));
}

}  // namespace tessel::app
