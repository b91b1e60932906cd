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

#include "CompareOptionsDialog.h"
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
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  // Enter presses the focused button, as Space does. Qt gives buttons that
  // only inside dialogs; this window is not one.
  button->setAutoDefault(true);
  return Place(button, name, left, top, width, height);
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

void MainWindow::CreateComponents() {
  QWidget* const form = this;
  // In the order of the form's design, which is also their stacking order.
  source1_field_ = Edit(form, "source1Field", 80, 112, 209, 24);
  source1_label_ = Label(form, "source1Label", "來源檔一", 8, 112, 64, 16);
  source2_field_ = Edit(form, "source2Field", 80, 136, 209, 24);
  source2_label_ = Label(form, "source2Label", "來源檔二", 8, 136, 64, 16);
  source3_field_ = Edit(form, "source3Field", 80, 160, 209, 24);
  source3_label_ = Label(form, "source3Label", "來源檔三", 8, 160, 64, 16);
  result1_field_ = Edit(form, "result1Field", 80, 200, 209, 24);
  result1_label_ = Label(form, "result1Label", "結果檔一", 8, 200, 64, 16);
  result2_field_ = Edit(form, "result2Field", 80, 224, 209, 24);
  result2_label_ = Label(form, "result2Label", "結果檔二", 8, 224, 64, 16);
  result3_field_ = Edit(form, "result3Field", 80, 248, 209, 24);
  result3_label_ = Label(form, "result3Label", "結果檔三", 8, 248, 64, 16);
  difference_field_ = Edit(form, "differenceField", 80, 288, 209, 24);
  difference_label_ = Label(form, "differenceLabel", "差異檔", 8, 288, 48, 16);
  look_ahead_field_ = Edit(form, "lookAheadField", 432, 336, 49, 24);
  look_ahead_field_->setText(QStringLiteral("100"));
  // The field's drawn hints name only numbers; auto is told here, in the
  // options dialog and in the message of a run that was cut off.
  look_ahead_field_->setToolTip(QStringLiteral(
      "2 ~ 65535; 或填 auto: 找不到相同的文字時自動擴大 (auto:上限 另訂上限)"));
  look_ahead_label_ =
      Label(form, "lookAheadLabel", "最大比對字數", 328, 344, 96, 16);
  look_ahead_hint_ =
      Label(form, "lookAheadHint", "差異超過此字數, ", 488, 344, 120, 16);
  run_button_ = Button(form, "runButton", "執 行", 272, 400, 73, 33);
  source1_picker_ = Button(form, "source1Picker", "...", 296, 120, 17, 17);
  source2_picker_ = Button(form, "source2Picker", "...", 296, 144, 17, 17);
  source3_picker_ = Button(form, "source3Picker", "...", 296, 168, 17, 17);
  result1_picker_ = Button(form, "result1Picker", "...", 296, 208, 17, 17);
  result2_picker_ = Button(form, "result2Picker", "...", 296, 232, 17, 17);
  result3_picker_ = Button(form, "result3Picker", "...", 296, 256, 17, 17);
  difference_picker_ =
      Button(form, "differencePicker", "...", 296, 296, 17, 17);
  exit_button_ = Button(form, "exitButton", "結 束", 448, 400, 75, 33);
  source_count_group_ = Place(
      new RadioGroup(QStringLiteral("比對檔案數"),
                     {QStringLiteral("二檔"), QStringLiteral("三檔")}, 2, form),
      "sourceCountGroup", 80, 16, 209, 57);
  source_count_group_->SetItemIndex(0);
  overwrite_warning_ =
      Label(form, "overwriteWarning", "注意:若有同檔名的結果檔, 會被覆蓋喔!",
            16, 320, 273, 16);
  SetTextColour(overwrite_warning_, kWarningRed);
  // "&&" shows a single ampersand instead of marking an access key.
  fold_notations_box_ =
      CheckBox(form, "foldNotationsBox", "缺字最佳化處理 ([xxxx] 與 &&x-xxxx;)",
               328, 288, 281, 17);
  fold_notations_box_->setChecked(true);

  sign_source_group_ =
      Place(new QGroupBox(QStringLiteral("忽略符號來源"), form),
            "signSourceGroup", 328, 16, 289, 257);
  QWidget* const group = sign_source_group_;
  use_sign_file_button_ =
      Place(new AlternativeRadioButton(QStringLiteral("使用忽略符號檔"), group),
            "useSignFileButton", 16, 24, 137, 17);
  use_sign_memo_button_ =
      Place(new AlternativeRadioButton(QStringLiteral("使用下列符號"), group),
            "useSignMemoButton", 16, 80, 121, 17);
  LinkAlternatives({use_sign_file_button_, use_sign_memo_button_});
  use_sign_file_button_->setChecked(true);
  sign_file_field_ = Edit(group, "signFileField", 32, 49, 217, 24);
  sign_file_picker_ = Button(group, "signFilePicker", "...", 256, 56, 17, 17);
  sign_memo_ = Place(new QPlainTextEdit(group), "signMemo", 32, 112, 241, 129);
  sign_memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sign_memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sign_memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab moves on to the next control, as in the other fields.
  sign_memo_->setTabChangesFocus(true);

  about_button_ = Button(form, "aboutButton", "關於...", 544, 400, 75, 33);
  stop_button_ = Button(form, "stopButton", "中 止", 360, 400, 75, 33);
  stop_button_->setEnabled(false);
  diff_limit_box_ = CheckBox(form, "diffLimitBox", "差異數目超過此即中斷程式",
                             328, 312, 217, 17);
  diff_limit_field_ = Edit(form, "diffLimitField", 552, 312, 49, 24);
  default_signs_button_ =
      Button(group, "defaultSignsButton", "插入預設值", 176, 80, 97, 25);
  progress_bar_ =
      Place(new QProgressBar(form), "progressBar", 64, 368, 249, 17);
  progress_bar_->setRange(0, kInitialProgressMaximum);
  progress_bar_->setValue(0);
  progress_bar_->setTextVisible(false);
  look_ahead_range_hint_ =
      Label(form, "lookAheadRangeHint",
            "即不再比對, 建議值為 100 (介於 2~65535)", 328, 368, 286, 16);
  diff_count_caption_ =
      Label(form, "diffCountCaption", "目前差異數 : ", 16, 344, 92, 16);
  diff_count_label_ = Label(form, "diffCountLabel", "0", 112, 344, 8, 16);
  progress_caption_ = Label(form, "progressCaption", "進度 :", 16, 368, 40, 16);
  open_hint_ =
      Label(form, "openHint", "檔名點二下即可直接開啟原檔", 80, 88, 208, 16);
  SetTextColour(open_hint_, kHintBlue);
  setup_button_ = Button(form, "setupButton", "設定", 8, 80, 65, 25);
  tick_timer_ = new QTimer(form);
  tick_timer_->setObjectName(QStringLiteral("tickTimer"));
  tick_timer_->setInterval(kTimerIntervalMs);
  logo_ = Place(new QLabel(form), "logo", 0, 16, 76, 55);
  logo_->setPixmap(QPixmap(QString::fromUtf8(kLogoPath)));
  fast_mode_box_ = CheckBox(form, "fastModeBox", "全力衝刺 (程式無法臨時中止)",
                            16, 400, 241, 17);
  // Beside the difference counter, which it leaves room to grow.
  results_button_ =
      Button(form, "resultsButton", "檢視差異...", 216, 340, 97, 24);
  results_button_->setVisible(false);

  // The line below the form's design.
  options_button_ =
      Button(form, "optionsButton", "比對選項...", 16, 448, 97, 25);
  // Two lines, for three sources with all there is to tell.
  run_facts_label_ = Label(form, "runFactsLabel", "", 128, 442, 491, 38);
  run_facts_label_->setWordWrap(true);
  run_facts_label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  options_ = new CompareOptionsDialog(form);
}

void MainWindow::NameForScreenReaders() {
  // A field takes its label's text as its name; the label is its buddy.
  const std::pair<QLabel*, QWidget*> labelled[] = {
      {source1_label_, source1_field_},
      {source2_label_, source2_field_},
      {source3_label_, source3_field_},
      {result1_label_, result1_field_},
      {result2_label_, result2_field_},
      {result3_label_, result3_field_},
      {difference_label_, difference_field_},
      {look_ahead_label_, look_ahead_field_},
      {progress_caption_, progress_bar_}};
  for (const auto& [label, field] : labelled) label->setBuddy(field);

  // Fields without a label of their own are named by the choice beside
  // them, and a "..." button by its field, since "..." says nothing read
  // aloud.
  sign_file_field_->setAccessibleName(use_sign_file_button_->text());
  sign_memo_->setAccessibleName(use_sign_memo_button_->text());
  diff_limit_field_->setAccessibleName(diff_limit_box_->text());
  const std::pair<QPushButton*, QLabel*> pickers[] = {
      {source1_picker_, source1_label_},      {source2_picker_, source2_label_},
      {source3_picker_, source3_label_},      {result1_picker_, result1_label_},
      {result2_picker_, result2_label_},      {result3_picker_, result3_label_},
      {difference_picker_, difference_label_}};
  for (const auto& [button, label] : pickers) {
    button->setAccessibleName(label->text() + QStringLiteral(" ..."));
  }
  sign_file_picker_->setAccessibleName(use_sign_file_button_->text() +
                                       QStringLiteral(" ..."));
  for (QGroupBox* group :
       {static_cast<QGroupBox*>(source_count_group_), sign_source_group_}) {
    group->setAccessibleName(group->title());
  }
}

void MainWindow::SetTabOrder() {
  QWidget* const order[] = {
      source_count_group_->Item(0), source_count_group_->Item(1), setup_button_,
      source1_field_, source1_picker_, source2_field_, source2_picker_,
      source3_field_, source3_picker_, result1_field_, result1_picker_,
      result2_field_, result2_picker_, result3_field_, result3_picker_,
      difference_field_, difference_picker_,
      // The group box's own controls come in its place.
      use_sign_file_button_, sign_file_field_, sign_file_picker_,
      use_sign_memo_button_, default_signs_button_, sign_memo_,
      //
      fold_notations_box_, diff_limit_box_, diff_limit_field_,
      look_ahead_field_, run_button_, stop_button_, exit_button_, about_button_,
      fast_mode_box_, results_button_, options_button_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void MainWindow::ConnectHandlers() {
  connect(run_button_, &QPushButton::clicked, this, &MainWindow::Run);
  connect(stop_button_, &QPushButton::clicked, this, &MainWindow::RequestStop);
  connect(exit_button_, &QPushButton::clicked, this,
          &MainWindow::CloseWhenIdle);
  connect(about_button_, &QPushButton::clicked, this,
          &MainWindow::ShowAboutBox);
  connect(results_button_, &QPushButton::clicked, this,
          &MainWindow::ShowResults);
  connect(setup_button_, &QPushButton::clicked, this,
          &MainWindow::ShowSetupDialog);
  connect(options_button_, &QPushButton::clicked, this,
          &MainWindow::ShowCompareOptions);
  connect(source_count_group_, &RadioGroup::Clicked, this,
          &MainWindow::ShowOrHideThirdSource);
  // The tick boxes' handlers follow every change of state, by hand or by
  // program, so that what they govern can never disagree with them.
  connect(diff_limit_box_, &QCheckBox::toggled, this,
          &MainWindow::EnableDiffLimitField);
  connect(fast_mode_box_, &QCheckBox::toggled, this,
          &MainWindow::ShowStopButtonUnlessFast);
  connect(sign_file_field_, &QLineEdit::textChanged, this,
          &MainWindow::ChooseSignFile);
  connect(sign_memo_, &QPlainTextEdit::textChanged, this,
          &MainWindow::ChooseSignMemo);
  connect(tick_timer_, &QTimer::timeout, this, &MainWindow::MarkTimerTick);
  connect(default_signs_button_, &QPushButton::clicked, this,
          &MainWindow::InsertDefaultSigns);

  const std::pair<QPushButton*, QLineEdit*> pickers[] = {
      {source1_picker_, source1_field_},      {source2_picker_, source2_field_},
      {source3_picker_, source3_field_},      {result1_picker_, result1_field_},
      {result2_picker_, result2_field_},      {result3_picker_, result3_field_},
      {difference_picker_, difference_field_}};
  for (const auto& [button, field] : pickers) {
    connect(button, &QPushButton::clicked, this,
            [this, field = field] { PickFile(field); });
  }
  connect(sign_file_picker_, &QPushButton::clicked, this,
          &MainWindow::PickSignFile);

  for (QLineEdit* field :
       {source1_field_, source2_field_, source3_field_, result1_field_,
        result2_field_, result3_field_, difference_field_, sign_file_field_}) {
    field->installEventFilter(this);
  }
}

}  // namespace tessel::app
