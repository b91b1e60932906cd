// The settings file "tessel.ini": the main window's fields and choices and
// the setup dialog's, kept from one start of the program to the next. It is
// read when the window is first shown and written when the window closes,
// where SettingsPlace.h says.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringDecoder>
#include <algorithm>
#include <string>
#include <string_view>
#include <variant>

#include "CompareOptionsDialog.h"
#include "FileNames.h"
#include "IniFile.h"
#include "IntegerText.h"
#include "MessageBoxes.h"
#include "RadioAlternatives.h"
#include "Setup.h"
#include "Tesselunit.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

// The control a key keeps, which also says how: the item index of a radio
// group, a radio button or check box as a flag, an edit field's text, the
// name (item data) of a drop-down list's choice.
using Control = std::variant<
    RadioGroup * SettingControls::*, QAbstractButton * SettingControls::*,
    QLineEdit * SettingControls::*, QComboBox * SettingControls::*>;

struct SettingKey {
  const char* section;
  const char* key;
  // As the file would hold it.
  const char* default_value;
  Control control;
};

constexpr char kTessel[] = "Tessel";
constexpr char kSetup[] = "Setup";
// The options dialog's, in a section of their own: a file without it opens
// with the defaults, which are the runs of the versions before it.
constexpr char kCompare[] = "Compare";

using C = SettingControls;

// Every key, in the order in which loading and saving handle them. The
// order matters at loading: a radio button selected later clears the one
// selected before it, and setting the sign file's name selects its button.
// The keys are those older versions wrote: users' files rely on them.
const SettingKey kSettings[] = {
    {kTessel, "FileNum", "0", &C::source_count},
    {kTessel, "File1", "", &C::source1},
    {kTessel, "File2", "", &C::source2},
    {kTessel, "File3", "", &C::source3},
    {kTessel, "Result1", "", &C::result1},
    {kTessel, "Result2", "", &C::result2},
    {kTessel, "Result3", "", &C::result3},
    {kTessel, "Result", "", &C::difference},
    {kTessel, "UseSignFile", "1", &C::use_sign_file},
    {kTessel, "SignFileName", "", &C::sign_file},
    {kTessel, "UseSignMemo", "1", &C::use_sign_memo},
    {kTessel, "DoLoseWord", "1", &C::fold_notations},
    {kTessel, "UseMaxDiffNum", "0", &C::use_diff_limit},
    {kTessel, "MaxDiffNum", "", &C::diff_limit},
    {kTessel, "Num1", "100", &C::look_ahead},
    {kSetup, "UseAp1", "1", &C::use_program1},
    {kSetup, "UseAp2", "1", &C::use_program2},
    {kSetup, "UseAp3", "1", &C::use_program3},
    {kSetup, "UseDefault", "1", &C::use_default_program},
    {kSetup, "Ap1Name", "", &C::program1},
    {kSetup, "Ap2Name", "", &C::program2},
    {kSetup, "Ap3Name", "", &C::program3},
    {kCompare, "Encoding1", "auto", &C::encoding1},
    {kCompare, "Encoding2", "auto", &C::encoding2},
    {kCompare, "Encoding3", "auto", &C::encoding3},
    {kCompare, "Unicode", "0", &C::unicode},
    {kCompare, "VariantZ", "0", &C::variant_z},
    {kCompare, "VariantSemantic", "0", &C::variant_semantic},
    {kCompare, "VariantForms", "0", &C::variant_forms},
    {kCompare, "VariantSimplified", "0", &C::variant_simplified},
    {kCompare, "UseVariantFile", "0", &C::use_table_file},
    {kCompare, "VariantFile", "", &C::table_file},
    {kCompare, "IgnoreBetween", "", &C::ignore_between},
    {kCompare, "NotesUnordered", "0", &C::notes_unordered},
};

// Calls the one of `visitors` that takes the key's control. Returns false,
// calling none, when that control is absent.
template <typename... Visitors>
bool WithControl(const SettingControls& controls, const SettingKey& setting,
                 Visitors... visitors) {
  struct Overloaded : Visitors... {
    using Visitors::operator()...;
  };
  return std::visit(
      [&](auto member) {
        auto* control = controls.*member;
        if (control != nullptr) Overloaded{visitors...}(control);
        return control != nullptr;
      },
      setting.control);
}

// A field's text as the file holds it: in the system's 8-bit encoding,
// UTF-8 here.
std::string ToFileText(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

#ifndef _WIN32
// `bytes` without a character cut off at its end, as a value cut at its
// byte limit may be: that part of a character is dropped rather than shown,
// and saved back, as U+FFFD.
std::string_view WithoutCutUtf8(std::string_view bytes) {
  std::size_t start = bytes.size();
  while (start > 0 && bytes.size() - start < 4 &&
         (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80) {
    --start;
  }
  if (start > 0) {
    const auto lead = static_cast<unsigned char>(bytes[start - 1]);
    const std::size_t length = lead >= 0xF0   ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC0 ? 2
                                              : 1;
    if (start - 1 + length > bytes.size()) bytes = bytes.substr(0, start - 1);
  }
  return bytes;
}

// The same for Big5 (code page 950), whose lead bytes are 0x81 to 0xFE.
std::string_view WithoutCutBig5(std::string_view bytes) {
  constexpr unsigned char kFirstLeadByte = 0x81;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const bool lead = static_cast<unsigned char>(bytes[i]) >= kFirstLeadByte;
    if (lead && i + 1 == bytes.size()) return bytes.substr(0, i);
    i += lead ? 2 : 1;
  }
  return bytes;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  static_cast<void>(QString(decoder.decode(
      QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))));
  return !decoder.hasError();
}
#endif

// A value as the file holds it, in the system's 8-bit encoding (UTF-8
// here). Older versions wrote Big5, and a Big5 name read as UTF-8 would turn
// into U+FFFD and be saved back so, losing the name: a value that is not
// well-formed UTF-8 is read as Big5.
QString FromFileText(std::string_view bytes) {
#ifndef _WIN32
  const std::string_view utf8 = WithoutCutUtf8(bytes);
  if (!IsWellFormedUtf8(utf8)) return FromBig5(WithoutCutBig5(bytes));
  bytes = utf8;
#endif
  return QString::fromLocal8Bit(bytes.data(),
                                static_cast<qsizetype>(bytes.size()));
}

}  // namespace

void MainWindow::LoadSettings() {
  if (!place_) place_ = ChooseSettingsPlace(SurroundingsOfThisProgram());
  LoadSettings(TIniFile(place_->read_path));
}

SettingControls MainWindow::ControlsForSettings() const {
  SettingControls c;
  c.source_count = source_count_group_;
  c.source1 = source1_field_;
  c.source2 = source2_field_;
  c.source3 = source3_field_;
  c.result1 = result1_field_;
  c.result2 = result2_field_;
  c.result3 = result3_field_;
  c.difference = difference_field_;
  c.use_sign_file = use_sign_file_button_;
  c.sign_file = sign_file_field_;
  c.use_sign_memo = use_sign_memo_button_;
  c.fold_notations = fold_notations_box_;
  c.use_diff_limit = diff_limit_box_;
  c.diff_limit = diff_limit_field_;
  c.look_ahead = look_ahead_field_;
  if (setup_ != nullptr) setup_->AddSettingControls(c);
  options_->AddSettingControls(c);
  return c;
}

void MainWindow::LoadSettings(const TIniFile& ini) {
  const SettingControls controls = ControlsForSettings();
  for (const SettingKey& s : kSettings) {
    WithControl(
        controls, s,
        [&](RadioGroup* group) {
          const std::int32_t index = ini.ReadInteger(
              s.section, s.key, *ParseIntegerText(s.default_value));
          group->SetItemIndex(std::clamp(index, -1, group->Count() - 1));
        },
        [&](QAbstractButton* button) {
          button->setChecked(ini.ReadBool(
              s.section, s.key, *ParseIntegerText(s.default_value) != 0));
        },
        [&](QLineEdit* field) {
          field->setText(
              FromFileText(ini.ReadString(s.section, s.key, s.default_value)));
        },
        [&](QComboBox* list) {
          // A name this version does not know gives the default.
          const QString name =
              FromFileText(ini.ReadString(s.section, s.key, s.default_value));
          int index = list->findData(name.trimmed().toLower());
          if (index < 0) index = list->findData(QString(s.default_value));
          list->setCurrentIndex(std::max(index, 0));
        });
  }
}

bool MainWindow::SaveSettings() {
  // A window never shown loaded nothing; its defaults must not replace
  // the user's settings.
  if (run_control_.IniPath.isEmpty()) return true;
  // An installed copy's folder in the user's configuration folder may not
  // exist yet. Should it fail, the first write fails and asks.
  QDir().mkpath(QFileInfo(run_control_.IniPath).absolutePath());
  TIniFile ini(run_control_.IniPath);
  const SettingControls controls = ControlsForSettings();
  bool first = true;
  for (const SettingKey& s : kSettings) {
    try {
      const bool present = WithControl(
          controls, s,
          [&](RadioGroup* group) {
            ini.WriteInteger(s.section, s.key, group->ItemIndex());
          },
          [&](QAbstractButton* button) {
            ini.WriteBool(s.section, s.key, button->isChecked());
          },
          [&](QLineEdit* field) {
            ini.WriteString(s.section, s.key, ToFileText(field->text()));
          },
          [&](QComboBox* list) {
            ini.WriteString(s.section, s.key,
                            ToFileText(list->currentData().toString()));
          });
      if (!present) continue;
    } catch (const IniWriteError&) {
      // Only a failure of the first write is a question; a later one
      // reaches the error box, and the window stays open.
      if (!first) throw;
      return AskConfirmation(this, QString::fromUtf8(texts::kIniUnwritable));
    }
    first = false;
  }
  return true;
}

}  // namespace tessel::app
