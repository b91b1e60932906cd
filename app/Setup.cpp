#include "Setup.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>
#include <utility>

#include "AppFonts.h"
#include "FileNames.h"
#include "Placement.h"
#include "RadioAlternatives.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 419;
// Room below the design's for the line that shows where the settings are.
constexpr int kSettingsRowHeight = 32;
constexpr int kClientHeight = 295 + kSettingsRowHeight;
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

SetupDialog::SetupDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("setupDialog"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(kClientWidth, kClientHeight);
  move(kScreenLeft, kScreenTop);
  // Set before the components exist, so that they all inherit it.
  setFont(MingFont());
  // Closing the main window ends the program even while this is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  opener_group_ = Place(new QGroupBox(QStringLiteral("檔案開啟設定"), this),
                        "openerGroup", 24, 16, 369, 209);
  QWidget* const group = opener_group_;
  use_default_program_ =
      Radio(group, "useDefaultProgram", "使用系統預設程式開啟", 24, 40, 185);
  use_program1_ = Radio(group, "useProgram1", "自訂1", 24, 80, 65);
  use_program2_ = Radio(group, "useProgram2", "自訂2", 24, 120, 73);
  use_program3_ = Radio(group, "useProgram3", "自訂3", 24, 160, 65);
  LinkAlternatives(
      {use_default_program_, use_program1_, use_program2_, use_program3_});
  use_default_program_->setChecked(true);
  program1_field_ = Edit(group, "program1Field", 80);
  program2_field_ = Edit(group, "program2Field", 120);
  program3_field_ = Edit(group, "program3Field", 160);
  settings_label_ = Place(new QLabel(QStringLiteral("設定檔 :"), this),
                          "settingsLabel", 24, 240, 64, 16);
  settings_path_ = Place(new QLineEdit(this), "settingsPath", 96, 236, 297, 24);
  settings_path_->setReadOnly(true);
  settings_label_->setBuddy(settings_path_);
  ok_button_ = Place(new QPushButton(QStringLiteral("確定"), this), "okButton",
                     176, 248 + kSettingsRowHeight, 75, 33);
  ok_button_->setDefault(true);
  program1_picker_ = Ellipsis(group, "program1Picker", 88);
  program2_picker_ = Ellipsis(group, "program2Picker", 128);
  program3_picker_ = Ellipsis(group, "program3Picker", 168);

  // Names a screen reader can read: each program field and its "..." button
  // by the choice beside them.
  const std::tuple<QAbstractButton*, QLineEdit*, QPushButton*> rows[] = {
      {use_program1_, program1_field_, program1_picker_},
      {use_program2_, program2_field_, program2_picker_},
      {use_program3_, program3_field_, program3_picker_}};
  for (const auto& [choice, field, picker] : rows) {
    field->setAccessibleName(choice->text());
    picker->setAccessibleName(choice->text() + QStringLiteral(" ..."));
  }
  opener_group_->setAccessibleName(opener_group_->title());

  QWidget* const order[] = {
      use_default_program_, use_program1_,    use_program2_,   use_program3_,
      program1_field_,      program2_field_,  program3_field_, program1_picker_,
      program2_picker_,     program3_picker_, settings_path_,  ok_button_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }

  connect(ok_button_, &QPushButton::clicked, this, &QWidget::hide);
  const std::pair<QPushButton*, QLineEdit*> pickers[] = {
      {program1_picker_, program1_field_},
      {program2_picker_, program2_field_},
      {program3_picker_, program3_field_}};
  for (const auto& [button, field] : pickers) {
    connect(button, &QPushButton::clicked, this,
            [this, field = field] { PickProgram(field); });
  }

  open_dialog_ = std::make_unique<QtOpenFileDialog>(
      this,
      QStringList{QString::fromUtf8(texts::kProgramFilter),
                  QString::fromUtf8(texts::kAllFilesFilter)},
      QString::fromUtf8(texts::kAllFilesFilter));
}

SetupDialog::~SetupDialog() = default;

void SetupDialog::SetStartDirSource(std::function<QString()> source) {
  start_dir_ = std::move(source);
}

void SetupDialog::SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog) {
  open_dialog_ = std::move(dialog);
}

void SetupDialog::PickProgram(QLineEdit* field) {
  if (const std::optional<QString> chosen = PickForField(
          OpenDialog(), field->text(), start_dir_ ? start_dir_() : QString())) {
    field->setText(*chosen);
  }
}

void SetupDialog::ShowSettingsPath(const QString& path) {
  settings_path_->setText(path);
  settings_path_->setCursorPosition(0);
}

bool SetupDialog::UsesDefaultProgram() const {
  return use_default_program_->isChecked();
}

std::optional<QString> SetupDialog::ChosenProgram() const {
  if (use_default_program_->isChecked()) return std::nullopt;
  const std::pair<QAbstractButton*, QLineEdit*> choices[] = {
      {use_program1_, program1_field_},
      {use_program2_, program2_field_},
      {use_program3_, program3_field_}};
  for (const auto& [button, field] : choices) {
    if (button->isChecked()) return field->text();
  }
  return std::nullopt;
}

void SetupDialog::AddSettingControls(SettingControls& controls) const {
  controls.use_program1 = use_program1_;
  controls.use_program2 = use_program2_;
  controls.use_program3 = use_program3_;
  controls.use_default_program = use_default_program_;
  controls.program1 = program1_field_;
  controls.program2 = program2_field_;
  controls.program3 = program3_field_;
}

}  // namespace tessel::app
