// The controls whose state the settings file keeps, so that the table of
// settings keys can name each control by a member rather than by a name
// looked up at run time.

#ifndef TESSEL_APP_SETTINGCONTROLS_H_
#define TESSEL_APP_SETTINGCONTROLS_H_

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace tessel::app {

class RadioGroup;

// Filled by the main window (its own controls), by the setup dialog and by
// the options dialog (theirs); a control is null when its form is absent, as in
// a window without its setup dialog.
struct SettingControls {
  // The main window's.
  RadioGroup* source_count = nullptr;
  QLineEdit* source1 = nullptr;
  QLineEdit* source2 = nullptr;
  QLineEdit* source3 = nullptr;
  QLineEdit* result1 = nullptr;
  QLineEdit* result2 = nullptr;
  QLineEdit* result3 = nullptr;
  QLineEdit* difference = nullptr;
  QAbstractButton* use_sign_file = nullptr;
  QLineEdit* sign_file = nullptr;
  QAbstractButton* use_sign_memo = nullptr;
  QAbstractButton* fold_notations = nullptr;
  QAbstractButton* use_diff_limit = nullptr;
  QLineEdit* diff_limit = nullptr;
  QLineEdit* look_ahead = nullptr;
  // The setup dialog's.
  QAbstractButton* use_program1 = nullptr;
  QAbstractButton* use_program2 = nullptr;
  QAbstractButton* use_program3 = nullptr;
  QAbstractButton* use_default_program = nullptr;
  QLineEdit* program1 = nullptr;
  QLineEdit* program2 = nullptr;
  QLineEdit* program3 = nullptr;
  // The options dialog's.
  QComboBox* encoding1 = nullptr;
  QComboBox* encoding2 = nullptr;
  QComboBox* encoding3 = nullptr;
  QAbstractButton* unicode = nullptr;
  QAbstractButton* variant_z = nullptr;
  QAbstractButton* variant_semantic = nullptr;
  QAbstractButton* variant_forms = nullptr;
  QAbstractButton* variant_simplified = nullptr;
  QAbstractButton* use_table_file = nullptr;
  QLineEdit* table_file = nullptr;
  QLineEdit* ignore_between = nullptr;
  QAbstractButton* notes_unordered = nullptr;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_SETTINGCONTROLS_H_
