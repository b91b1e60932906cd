#include "Setup.h"

#include <QPushButton>

#include "AppFonts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 419;
constexpr int kClientHeight = 295;
// The dialog keeps its designed place on the screen instead of centring.
constexpr int kScreenLeft = 244;
constexpr int kScreenTop = 190;

}  // namespace

TfmSetup::TfmSetup(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(kClientWidth, kClientHeight);
  move(kScreenLeft, kScreenTop);
  setFont(MingFont());
  // Closing the main window ends the program even while this is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  Button1 = new QPushButton(QStringLiteral("確定"), this);
  Button1->setGeometry(176, 248, 75, 33);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TfmSetup::Button1Click);
}

void TfmSetup::Button1Click() { hide(); }

}  // namespace tessel::app
