#include "CompareOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppFonts.h"
#include "FileNames.h"
#include "Placement.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 472;
constexpr int kGroupLeft = 16;
constexpr int kGroupWidth = kClientWidth - 2 * kGroupLeft;
// Inside a group: where the controls start and how far apart the rows are.
constexpr int kInnerLeft = 16;
constexpr int kInnerWidth = kGroupWidth - 2 * kInnerLeft;
constexpr int kRowHeight = 28;
constexpr int kCheckRowHeight = 22;

// The choices of an encoding box, each with the name tessel.ini keeps.
struct EncodingItem {
  const char* text;
  EncodingChoice choice;
};
constexpr EncodingItem kEncodingItems[] = {
    {"自動偵測", EncodingChoice::kAuto},
    {"Big5", EncodingChoice::kBig5},
    {"UTF-8", EncodingChoice::kUtf8},
    {"UTF-16LE", EncodingChoice::kUtf16Le},
    {"UTF-16BE", EncodingChoice::kUtf16Be},
};

// The built-in tables' captions, in the order of kBuiltinTableNames.
constexpr const char* kTableCaptions[] = {
    "z : 同字異形 (稅/税, 戶/户)",
    "semantic : 再加通用字 (眞/真)",
    "forms : 再加常見異體 (乘/乗, 德/徳)",
    "simplified : 簡體與繁體 (说/說)",
};
static_assert(std::size(kTableCaptions) == kBuiltinTableNames.size());

constexpr const char* kSourceCaptions[] = {"來源檔一", "來源檔二", "來源檔三"};

QCheckBox* CheckBox(QWidget* parent, const QString& name, const char* text,
                    int left, int top, int width) {
  auto* box = new QCheckBox(QString::fromUtf8(text), parent);
  return Place(box, name.toLatin1().constData(), left, top, width, 17);
}

}  // namespace

CompareOptionsDialog::CompareOptionsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("compareOptionsDialog"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("比對選項"));
  setFixedSize(kClientWidth, kClientHeight);
  // Set before the components exist, so that they all inherit it.
  setFont(MingFont());
  // Closing the main window ends the program even while this is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  CreateComponents();
  NameForScreenReaders();
  SetTabOrder();

  connect(ok_button_, &QPushButton::clicked, this, &QWidget::hide);
  connect(table_file_picker_, &QPushButton::clicked, this,
          &CompareOptionsDialog::PickTableFile);
  // Typing a table file's name means using it, as with the symbol file.
  connect(table_file_field_, &QLineEdit::textEdited, this,
          [this] { table_file_box_->setChecked(true); });
  open_dialog_ = std::make_unique<QtOpenFileDialog>(
      this,
      QStringList{QString::fromUtf8(texts::kTextFilter),
                  QString::fromUtf8(texts::kAllFilesFilter)},
      QString::fromUtf8(texts::kAllFilesFilter));
}

CompareOptionsDialog::~CompareOptionsDialog() = default;

void CompareOptionsDialog::CreateComponents() {
  encoding_group_ = Place(new QGroupBox(QStringLiteral("來源檔編碼"), this),
                          "encodingGroup", kGroupLeft, 16, kGroupWidth, 132);
  for (int k = 0; k < 3; ++k) {
    const int top = 24 + k * kRowHeight;
    encoding_labels_[k] = Place(
        new QLabel(QString::fromUtf8(kSourceCaptions[k]), encoding_group_), "",
        kInnerLeft, top + 4, 72, 16);
    encoding_labels_[k]->setObjectName(
        QStringLiteral("encoding%1Label").arg(k + 1));
    auto* box = new QComboBox(encoding_group_);
    for (const EncodingItem& item : kEncodingItems) {
      box->addItem(QString::fromUtf8(item.text),
                   QString::fromLatin1(EncodingChoiceName(item.choice).data()));
    }
    encoding_boxes_[k] = Place(box, "", 96, top, 128, 24);
    box->setObjectName(QStringLiteral("encoding%1Box").arg(k + 1));
  }
  // "&&" shows a single ampersand instead of marking an access key.
  unicode_box_ = CheckBox(encoding_group_, QStringLiteral("unicodeBox"),
                          "Big5 來源也以 Unicode 比對 (&&x-70BA; 與 為 相同)",
                          kInnerLeft, 24 + 3 * kRowHeight + 2, kInnerWidth);

  variant_group_ = Place(new QGroupBox(QStringLiteral("異體字表"), this),
                         "variantGroup", kGroupLeft, 160, kGroupWidth, 152);
  for (std::size_t i = 0; i < kBuiltinTableNames.size(); ++i) {
    builtin_table_boxes_[i] =
        CheckBox(variant_group_,
                 QStringLiteral("variantTableBox_") +
                     QString::fromLatin1(kBuiltinTableNames[i]),
                 kTableCaptions[i], kInnerLeft,
                 24 + static_cast<int>(i) * kCheckRowHeight, kInnerWidth);
  }
  const int file_top = 24 + 4 * kCheckRowHeight + 6;
  table_file_box_ = CheckBox(variant_group_, QStringLiteral("tableFileBox"),
                             "自訂字表檔", kInnerLeft, file_top + 4, 104);
  table_file_field_ = Place(new QLineEdit(variant_group_), "tableFileField",
                            128, file_top, kGroupWidth - 128 - 40, 24);
  table_file_picker_ =
      Place(new QPushButton(QStringLiteral("..."), variant_group_),
            "tableFilePicker", kGroupWidth - 36, file_top + 4, 17, 17);
  table_file_picker_->setFont(SmallButtonFont());

  notes_group_ = Place(new QGroupBox(QStringLiteral("夾註與標記"), this),
                       "notesGroup", kGroupLeft, 324, kGroupWidth, 88);
  ignore_between_label_ =
      Place(new QLabel(QStringLiteral("略過成對符號之間"), notes_group_),
            "ignoreBetweenLabel", kInnerLeft, 28, 136, 16);
  ignore_between_field_ = Place(new QLineEdit(notes_group_),
                                "ignoreBetweenField", 160, 24, 160, 24);
  ignore_between_field_->setPlaceholderText(QStringLiteral("( )  < >"));
  ignore_between_field_->setToolTip(
      QStringLiteral("起符與訖符以空白分開, 可列多對, 如 ( ) < > ; "
                     "同一行內從起符到訖符都不比對"));
  notes_unordered_box_ =
      CheckBox(notes_group_, QStringLiteral("notesUnorderedBox"),
               "雙行夾註 (A/B) 與 (B/A) 視為相同", kInnerLeft, 58, kInnerWidth);

  auto_window_hint_ = Place(
      new QLabel(
          QStringLiteral("最大比對字數填 auto, 找不到相同文字時即自動擴大."),
          this),
      "autoWindowHint", kGroupLeft, 420, kGroupWidth, 16);
  ok_button_ = Place(new QPushButton(QStringLiteral("確定"), this), "okButton",
                     (kClientWidth - 75) / 2, 440 - 4, 75, 30);
  ok_button_->setDefault(true);
}

void CompareOptionsDialog::NameForScreenReaders() {
  for (int k = 0; k < 3; ++k) encoding_labels_[k]->setBuddy(encoding_boxes_[k]);
  ignore_between_label_->setBuddy(ignore_between_field_);
  table_file_field_->setAccessibleName(table_file_box_->text());
  table_file_picker_->setAccessibleName(table_file_box_->text() +
                                        QStringLiteral(" ..."));
  for (QGroupBox* group : {encoding_group_, variant_group_, notes_group_}) {
    group->setAccessibleName(group->title());
  }
}

void CompareOptionsDialog::SetTabOrder() {
  QWidget* const order[] = {encoding_boxes_[0],      encoding_boxes_[1],
                            encoding_boxes_[2],      unicode_box_,
                            builtin_table_boxes_[0], builtin_table_boxes_[1],
                            builtin_table_boxes_[2], builtin_table_boxes_[3],
                            table_file_box_,         table_file_field_,
                            table_file_picker_,      ignore_between_field_,
                            notes_unordered_box_,    ok_button_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

CompareOptions CompareOptionsDialog::Choices() const {
  CompareOptions choices;
  for (int k = 0; k < 3; ++k) {
    choices.encodings[k] =
        ParseEncodingChoice(
            encoding_boxes_[k]->currentData().toString().toStdString())
            .value_or(EncodingChoice::kAuto);
  }
  choices.unicode = unicode_box_->isChecked();
  for (std::size_t i = 0; i < builtin_table_boxes_.size(); ++i) {
    choices.builtin_tables[i] = builtin_table_boxes_[i]->isChecked();
  }
  choices.use_table_file = table_file_box_->isChecked();
  choices.table_file = table_file_field_->text();
  choices.ignore_between = ignore_between_field_->text();
  choices.notes_unordered = notes_unordered_box_->isChecked();
  return choices;
}

void CompareOptionsDialog::SetChoices(const CompareOptions& choices) {
  for (int k = 0; k < 3; ++k) {
    const QString name =
        QString::fromLatin1(EncodingChoiceName(choices.encodings[k]).data());
    encoding_boxes_[k]->setCurrentIndex(
        std::max(encoding_boxes_[k]->findData(name), 0));
  }
  unicode_box_->setChecked(choices.unicode);
  for (std::size_t i = 0; i < builtin_table_boxes_.size(); ++i) {
    builtin_table_boxes_[i]->setChecked(choices.builtin_tables[i]);
  }
  table_file_box_->setChecked(choices.use_table_file);
  table_file_field_->setText(choices.table_file);
  ignore_between_field_->setText(choices.ignore_between);
  notes_unordered_box_->setChecked(choices.notes_unordered);
}

void CompareOptionsDialog::SetStartDirSource(std::function<QString()> source) {
  start_dir_ = std::move(source);
}

void CompareOptionsDialog::SetOpenDialog(
    std::unique_ptr<OpenFileDialog> dialog) {
  open_dialog_ = std::move(dialog);
}

void CompareOptionsDialog::PickTableFile() {
  if (const std::optional<QString> chosen =
          PickForField(OpenDialog(), table_file_field_->text(),
                       start_dir_ ? start_dir_() : QString())) {
    table_file_field_->setText(*chosen);
    table_file_box_->setChecked(true);
  }
}

void CompareOptionsDialog::AddSettingControls(SettingControls& controls) const {
  controls.encoding1 = encoding_boxes_[0];
  controls.encoding2 = encoding_boxes_[1];
  controls.encoding3 = encoding_boxes_[2];
  controls.unicode = unicode_box_;
  controls.variant_z = builtin_table_boxes_[0];
  controls.variant_semantic = builtin_table_boxes_[1];
  controls.variant_forms = builtin_table_boxes_[2];
  controls.variant_simplified = builtin_table_boxes_[3];
  controls.use_table_file = table_file_box_;
  controls.table_file = table_file_field_;
  controls.ignore_between = ignore_between_field_;
  controls.notes_unordered = notes_unordered_box_;
}

}  // namespace tessel::app
