#include "Setup.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "AppFonts.h"
#include "FileNames.h"
#include "Placement.h"
#include "RadioAlternatives.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 419;
constexpr int kClientHeight = 295;
// The dialog keeps its designed place on the screen instead of centring.
constexpr int kScreenLeft = 244;
constexpr int kScreenTop = 190;

AlternativeRadioButton* Radio(QWidget* parent, const char* name,
                              const char* text, int left, int top, int width) {
  return Place(new AlternativeRadioButton(QString::fromUtf8(text), parent),
               name, left, top, width, 17);
}

QLineEdit* Edit(QWidget* parent, const char* name, int top) {
  return Place(new QLineEdit(parent), name, 96, top, 217, 24);
}

QPushButton* Ellipsis(QWidget* parent, const char* name, int top) {
  QPushButton* button = Place(new QPushButton(QStringLiteral("..."), parent),
                              name, 320, top, 17, 17);
  button->setFont(SmallButtonFont());
  return button;
}

}  // namespace

TfmSetup::TfmSetup(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fmSetup"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(kClientWidth, kClientHeight);
  move(kScreenLeft, kScreenTop);
  // Set before the components exist, so that they all inherit it.
  setFont(MingFont());
  // Closing the main window ends the program even while this is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  GroupBox1 = Place(new QGroupBox(QStringLiteral("檔案開啟設定"), this),
                    "GroupBox1", 24, 16, 369, 209);
  QWidget* const group = GroupBox1;
  rbDefault = Radio(group, "rbDefault", "使用系統預設程式開啟", 24, 40, 185);
  rbAp1 = Radio(group, "rbAp1", "自訂1", 24, 80, 65);
  rbAp2 = Radio(group, "rbAp2", "自訂2", 24, 120, 73);
  rbAp3 = Radio(group, "rbAp3", "自訂3", 24, 160, 65);
  LinkAlternatives({rbDefault, rbAp1, rbAp2, rbAp3});
  rbDefault->setChecked(true);
  edAp1 = Edit(group, "edAp1", 80);
  edAp2 = Edit(group, "edAp2", 120);
  edAp3 = Edit(group, "edAp3", 160);
  Button1 = Place(new QPushButton(QStringLiteral("確定"), this), "Button1", 176,
                  248, 75, 33);
  Button1->setDefault(true);
  btAp1 = Ellipsis(group, "btAp1", 88);
  btAp2 = Ellipsis(group, "btAp2", 128);
  btAp3 = Ellipsis(group, "btAp3", 168);

  QWidget* const order[] = {rbDefault, rbAp1, rbAp2, rbAp3, edAp1,  edAp2,
                            edAp3,     btAp1, btAp2, btAp3, Button1};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }

  connect(Button1, &QPushButton::clicked, this, &TfmSetup::Button1Click);
  connect(btAp1, &QPushButton::clicked, this, &TfmSetup::btAp1Click);
  connect(btAp2, &QPushButton::clicked, this, &TfmSetup::btAp2Click);
  connect(btAp3, &QPushButton::clicked, this, &TfmSetup::btAp3Click);

  open_dialog_ = std::make_unique<QtOpenFileDialog>(
      this,
      QStringList{QString::fromUtf8(texts::kProgramFilter),
                  QString::fromUtf8(texts::kAllFilesFilter)},
      QString::fromUtf8(texts::kAllFilesFilter));
}

TfmSetup::~TfmSetup() = default;

void TfmSetup::Button1Click() { hide(); }

void TfmSetup::btAp1Click() { PickProgram(edAp1); }

void TfmSetup::btAp2Click() { PickProgram(edAp2); }

void TfmSetup::btAp3Click() { PickProgram(edAp3); }

void TfmSetup::SetStartDirSource(std::function<QString()> source) {
  start_dir_ = std::move(source);
}

void TfmSetup::SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog) {
  open_dialog_ = std::move(dialog);
}

void TfmSetup::PickProgram(QLineEdit* field) {
  const QString text = field->text();
  const QString directory = DirectoryPart(text);
  OpenFileDialog& dialog = OpenDialog();
  dialog.SetStartDirectory(!directory.isEmpty() ? directory
                           : start_dir_         ? start_dir_()
                                                : QString());
  dialog.SetStartFileName(NamePart(text));
  if (const std::optional<QString> chosen = dialog.Run()) {
    field->setText(*chosen);
  }
}

QLineEdit* TfmSetup::ChosenProgram() const {
  if (rbDefault->isChecked()) return nullptr;
  if (rbAp1->isChecked()) return edAp1;
  if (rbAp2->isChecked()) return edAp2;
  if (rbAp3->isChecked()) return edAp3;
  return nullptr;
}

}  // namespace tessel::app
