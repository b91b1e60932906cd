// The main window's components: where each one stands, what it shows at
// the start, the tab order, and which handler each event reaches.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "Placement.h"
#include "RadioAlternatives.h"
#include "Resources.h"
#include "Tesselunit.h"

namespace tessel::app {

namespace {

constexpr int kTimerIntervalMs = 500;
// The progress bar's range before the first run.
constexpr int kInitialProgressMaximum = 10;
// The colours of the two hint labels.
constexpr QRgb kHintBlue = 0x0000FF;
constexpr QRgb kWarningRed = 0xFF0000;

// A label at its place. One whose text needs more room grows to the right
// and down rather than cutting its text.
QLabel* Label(QWidget* parent, const char* name, const char* text, int left,
              int top, int width, int height) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QSize needed = label->sizeHint();
  return Place(label, name, left, top, std::max(width, needed.width()),
               std::max(height, needed.height()));
}

QPushButton* Button(QWidget* parent, const char* name, const char* text,
                    int left, int top, int width, int height) {
  return Place(new QPushButton(QString::fromUtf8(text), parent), name, left,
               top, width, height);
}

QLineEdit* Edit(QWidget* parent, const char* name, int left, int top, int width,
                int height) {
  return Place(new QLineEdit(parent), name, left, top, width, height);
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* text,
                    int left, int top, int width, int height) {
  return Place(new QCheckBox(QString::fromUtf8(text), parent), name, left, top,
               width, height);
}

void SetTextColour(QWidget* widget, QRgb colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, QColor(colour));
  widget->setPalette(palette);
}

}  // namespace

void TfmTessel::CreateComponents() {
  QWidget* const form = this;
  // In the order of the form's design, which is also their stacking order.
  edFile1 = Edit(form, "edFile1", 80, 112, 209, 24);
  Label2 = Label(form, "Label2", "來源檔一", 8, 112, 64, 16);
  edFile2 = Edit(form, "edFile2", 80, 136, 209, 24);
  Label3 = Label(form, "Label3", "來源檔二", 8, 136, 64, 16);
  edFile3 = Edit(form, "edFile3", 80, 160, 209, 24);
  Label4 = Label(form, "Label4", "來源檔三", 8, 160, 64, 16);
  edResult1 = Edit(form, "edResult1", 80, 200, 209, 24);
  Label5 = Label(form, "Label5", "結果檔一", 8, 200, 64, 16);
  edResult2 = Edit(form, "edResult2", 80, 224, 209, 24);
  Label6 = Label(form, "Label6", "結果檔二", 8, 224, 64, 16);
  edResult3 = Edit(form, "edResult3", 80, 248, 209, 24);
  Label7 = Label(form, "Label7", "結果檔三", 8, 248, 64, 16);
  edResult = Edit(form, "edResult", 80, 288, 209, 24);
  Label8 = Label(form, "Label8", "差異檔", 8, 288, 48, 16);
  edNum1 = Edit(form, "edNum1", 432, 336, 49, 24);
  edNum1->setText(QStringLiteral("100"));
  Label11 = Label(form, "Label11", "最大比對字數", 328, 344, 96, 16);
  Label13 = Label(form, "Label13", "差異超過此字數, ", 488, 344, 120, 16);
  btRun = Button(form, "btRun", "執 行", 272, 400, 73, 33);
  Button6 = Button(form, "Button6", "...", 296, 120, 17, 17);
  Button7 = Button(form, "Button7", "...", 296, 144, 17, 17);
  Button8 = Button(form, "Button8", "...", 296, 168, 17, 17);
  Button9 = Button(form, "Button9", "...", 296, 208, 17, 17);
  Button10 = Button(form, "Button10", "...", 296, 232, 17, 17);
  Button11 = Button(form, "Button11", "...", 296, 256, 17, 17);
  Button12 = Button(form, "Button12", "...", 296, 296, 17, 17);
  btExit = Button(form, "btExit", "結 束", 448, 400, 75, 33);
  rgVornNum = Place(
      new RadioGroup(QStringLiteral("比對檔案數"),
                     {QStringLiteral("二檔"), QStringLiteral("三檔")}, 2, form),
      "rgVornNum", 80, 16, 209, 57);
  rgVornNum->SetItemIndex(0);
  Label1 = Label(form, "Label1", "注意:若有同檔名的結果檔, 會被覆蓋喔!", 16,
                 320, 273, 16);
  SetTextColour(Label1, kWarningRed);
  // "&&" shows a single ampersand instead of marking an access key.
  cbDoLoseWord =
      CheckBox(form, "cbDoLoseWord", "缺字最佳化處理 ([xxxx] 與 &&x-xxxx;)",
               328, 288, 281, 17);
  cbDoLoseWord->setChecked(true);

  GroupBox1 = Place(new QGroupBox(QStringLiteral("忽略符號來源"), form),
                    "GroupBox1", 328, 16, 289, 257);
  QWidget* const group = GroupBox1;
  rbUseSignFile =
      Place(new AlternativeRadioButton(QStringLiteral("使用忽略符號檔"), group),
            "rbUseSignFile", 16, 24, 137, 17);
  rbUseSignMemo =
      Place(new AlternativeRadioButton(QStringLiteral("使用下列符號"), group),
            "rbUseSignMemo", 16, 80, 121, 17);
  LinkAlternatives({rbUseSignFile, rbUseSignMemo});
  rbUseSignFile->setChecked(true);
  edSignFile = Edit(group, "edSignFile", 32, 49, 217, 24);
  btSignFile = Button(group, "btSignFile", "...", 256, 56, 17, 17);
  mmSign = Place(new QPlainTextEdit(group), "mmSign", 32, 112, 241, 129);
  mmSign->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmSign->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmSign->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab moves on to the next control, as in the other fields.
  mmSign->setTabChangesFocus(true);

  btHelp = Button(form, "btHelp", "關於...", 544, 400, 75, 33);
  btStopNow = Button(form, "btStopNow", "中 止", 360, 400, 75, 33);
  btStopNow->setEnabled(false);
  cbMaxDiffNum = CheckBox(form, "cbMaxDiffNum", "差異數目超過此即中斷程式", 328,
                          312, 217, 17);
  edMaxDiffNum = Edit(form, "edMaxDiffNum", 552, 312, 49, 24);
  btSignMemoDefault =
      Button(group, "btSignMemoDefault", "插入預設值", 176, 80, 97, 25);
  pbVorn = Place(new QProgressBar(form), "pbVorn", 64, 368, 249, 17);
  pbVorn->setRange(0, kInitialProgressMaximum);
  pbVorn->setValue(0);
  pbVorn->setTextVisible(false);
  Label9 = Label(form, "Label9", "即不再比對, 建議值為 100 (介於 2~65535)", 328,
                 368, 286, 16);
  Label10 = Label(form, "Label10", "目前差異數 : ", 16, 344, 92, 16);
  lbDiffNum = Label(form, "lbDiffNum", "0", 112, 344, 8, 16);
  Label12 = Label(form, "Label12", "進度 :", 16, 368, 40, 16);
  Label14 =
      Label(form, "Label14", "檔名點二下即可直接開啟原檔", 80, 88, 208, 16);
  SetTextColour(Label14, kHintBlue);
  btSetup = Button(form, "btSetup", "設定", 8, 80, 65, 25);
  Timer = new QTimer(form);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(kTimerIntervalMs);
  Image1 = Place(new QLabel(form), "Image1", 0, 16, 76, 55);
  Image1->setPixmap(QPixmap(QString::fromUtf8(kLogoPath)));
  cbDoFast = CheckBox(form, "cbDoFast", "全力衝刺 (程式無法臨時中止)", 16, 400,
                      241, 17);
}

void TfmTessel::SetTabOrder() {
  QWidget* const order[] = {rgVornNum->Item(0), rgVornNum->Item(1), btSetup,
                            edFile1, Button6, edFile2, Button7, edFile3,
                            Button8, edResult1, Button9, edResult2, Button10,
                            edResult3, Button11, edResult, Button12,
                            // The group box's own controls come in its place.
                            rbUseSignFile, edSignFile, btSignFile,
                            rbUseSignMemo, btSignMemoDefault, mmSign,
                            //
                            cbDoLoseWord, cbMaxDiffNum, edMaxDiffNum, edNum1,
                            btRun, btStopNow, btExit, btHelp, cbDoFast};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void TfmTessel::ConnectHandlers() {
  connect(btRun, &QPushButton::clicked, this, &TfmTessel::btRunClick);
  connect(btStopNow, &QPushButton::clicked, this, &TfmTessel::btStopNowClick);
  connect(btExit, &QPushButton::clicked, this, &TfmTessel::btExitClick);
  connect(btHelp, &QPushButton::clicked, this, &TfmTessel::btHelpClick);
  connect(btSetup, &QPushButton::clicked, this, &TfmTessel::btSetupClick);
  connect(rgVornNum, &RadioGroup::Clicked, this, &TfmTessel::rgVornNumClick);
  // The tick boxes' handlers follow every change of state, by hand or by
  // program, so that what they govern can never disagree with them.
  connect(cbMaxDiffNum, &QCheckBox::toggled, this,
          &TfmTessel::cbMaxDiffNumClick);
  connect(cbDoFast, &QCheckBox::toggled, this, &TfmTessel::cbDoFastClick);
  connect(edSignFile, &QLineEdit::textChanged, this,
          &TfmTessel::edSignFileChange);
  connect(mmSign, &QPlainTextEdit::textChanged, this, &TfmTessel::mmSignChange);
  connect(Timer, &QTimer::timeout, this, &TfmTessel::TimerTimer);
  connect(btSignMemoDefault, &QPushButton::clicked, this,
          &TfmTessel::btSignMemoDefaultClick);

  const std::pair<QPushButton*, QLineEdit*> pickers[] = {
      {Button6, edFile1},   {Button7, edFile2},    {Button8, edFile3},
      {Button9, edResult1}, {Button10, edResult2}, {Button11, edResult3},
      {Button12, edResult}};
  for (const auto& [button, field] : pickers) {
    connect(button, &QPushButton::clicked, this,
            [this, field = field] { PickFile(field); });
  }
  connect(btSignFile, &QPushButton::clicked, this, &TfmTessel::btSignFileClick);

  for (QLineEdit* field : {edFile1, edFile2, edFile3, edResult1, edResult2,
                           edResult3, edResult, edSignFile}) {
    field->installEventFilter(this);
  }
}

}  // namespace tessel::app
