// The settings file "tessel.ini": the main window's fields and choices and
// the setup dialog's, kept from one start of the program to the next. It is
// read from the current directory when the window is first shown and
// written beside the program when the window closes.

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

#include "IniFile.h"
#include "IntegerText.h"
#include "MessageBoxes.h"
#include "RadioAlternatives.h"
#include "Setup.h"
#include "Tesselunit.h"
#include "WindowTexts.h"

namespace tessel::app {

namespace {

enum class Kind {
  kInteger,  // the item index of a radio group
  kFlag,     // a radio button or a check box
  kString,   // an edit field's text
};

struct SettingKey {
  const char* section;
  const char* key;
  Kind kind;
  // As the file would hold it.
  const char* default_value;
  // The control's object name: in the main window for section "Tessel", in
  // the setup dialog for "Setup".
  const char* control;
};

constexpr char kTessel[] = "Tessel";
constexpr char kSetup[] = "Setup";

// Every key, in the order in which loading and saving handle them. The
// order matters at loading: a radio button selected later clears the one
// selected before it, and setting the sign file's name selects its button.
constexpr SettingKey kSettings[] = {
    {kTessel, "FileNum", Kind::kInteger, "0", "rgVornNum"},
    {kTessel, "File1", Kind::kString, "", "edFile1"},
    {kTessel, "File2", Kind::kString, "", "edFile2"},
    {kTessel, "File3", Kind::kString, "", "edFile3"},
    {kTessel, "Result1", Kind::kString, "", "edResult1"},
    {kTessel, "Result2", Kind::kString, "", "edResult2"},
    {kTessel, "Result3", Kind::kString, "", "edResult3"},
    {kTessel, "Result", Kind::kString, "", "edResult"},
    {kTessel, "UseSignFile", Kind::kFlag, "1", "rbUseSignFile"},
    {kTessel, "SignFileName", Kind::kString, "", "edSignFile"},
    {kTessel, "UseSignMemo", Kind::kFlag, "1", "rbUseSignMemo"},
    {kTessel, "DoLoseWord", Kind::kFlag, "1", "cbDoLoseWord"},
    {kTessel, "UseMaxDiffNum", Kind::kFlag, "0", "cbMaxDiffNum"},
    {kTessel, "MaxDiffNum", Kind::kString, "", "edMaxDiffNum"},
    {kTessel, "Num1", Kind::kString, "100", "edNum1"},
    {kSetup, "UseAp1", Kind::kFlag, "1", "rbAp1"},
    {kSetup, "UseAp2", Kind::kFlag, "1", "rbAp2"},
    {kSetup, "UseAp3", Kind::kFlag, "1", "rbAp3"},
    {kSetup, "UseDefault", Kind::kFlag, "1", "rbDefault"},
    {kSetup, "Ap1Name", Kind::kString, "", "edAp1"},
    {kSetup, "Ap2Name", Kind::kString, "", "edAp2"},
    {kSetup, "Ap3Name", Kind::kString, "", "edAp3"},
};

// A field's text as the file holds it: in the system's 8-bit encoding,
// UTF-8 here.
std::string ToFileText(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

QString FromFileText(std::string bytes) {
#ifndef _WIN32
  // A value cut at its byte limit may end inside a character; that part of
  // a character is dropped rather than shown, and saved back, as U+FFFD.
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
    if (start - 1 + length > bytes.size()) bytes.resize(start - 1);
  }
#endif
  return QString::fromLocal8Bit(bytes.data(),
                                static_cast<qsizetype>(bytes.size()));
}

template <typename Control>
Control* Find(QWidget* form, const SettingKey& setting) {
  auto* control = form->findChild<Control*>(setting.control);
  if (control == nullptr) {
    throw std::logic_error(std::string("No control for the setting ") +
                           setting.key);
  }
  return control;
}

// The form that holds the setting's control: none for the setup dialog's
// settings when the window has no setup dialog.
QWidget* FormOf(const SettingKey& setting, QWidget* window, QWidget* setup) {
  return std::string_view(setting.section) == kTessel ? window : setup;
}

}  // namespace

void TfmTessel::LoadSettings() {
  LoadSettings(TIniFile(
      QDir::current().filePath(QString::fromUtf8(texts::kIniFileName))));
}

void TfmTessel::LoadSettings(const TIniFile& ini) {
  for (const SettingKey& s : kSettings) {
    QWidget* const form = FormOf(s, this, setup_);
    if (form == nullptr) continue;  // a window without its setup dialog
    switch (s.kind) {
      case Kind::kInteger: {
        auto* group = Find<RadioGroup>(form, s);
        const std::int32_t index = ini.ReadInteger(
            s.section, s.key, *ParseIntegerText(s.default_value));
        group->SetItemIndex(std::clamp(index, -1, group->Count() - 1));
        break;
      }
      case Kind::kFlag:
        Find<QAbstractButton>(form, s)->setChecked(ini.ReadBool(
            s.section, s.key, *ParseIntegerText(s.default_value) != 0));
        break;
      case Kind::kString:
        Find<QLineEdit>(form, s)->setText(
            FromFileText(ini.ReadString(s.section, s.key, s.default_value)));
        break;
    }
  }
}

bool TfmTessel::SaveSettings() {
  run_control_.IniPath =
      run_control_.StartDir + QString::fromUtf8(texts::kIniFileName);
  TIniFile ini(run_control_.IniPath);
  bool first = true;
  for (const SettingKey& s : kSettings) {
    QWidget* const form = FormOf(s, this, setup_);
    if (form == nullptr) continue;
    try {
      switch (s.kind) {
        case Kind::kInteger:
          ini.WriteInteger(s.section, s.key,
                           Find<RadioGroup>(form, s)->ItemIndex());
          break;
        case Kind::kFlag:
          ini.WriteBool(s.section, s.key,
                        Find<QAbstractButton>(form, s)->isChecked());
          break;
        case Kind::kString:
          ini.WriteString(s.section, s.key,
                          ToFileText(Find<QLineEdit>(form, s)->text()));
          break;
      }
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
