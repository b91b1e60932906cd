// The options dialog ("比對選項"): the sources' encodings, the Unicode run,
// the variant tables and the notes and marks a run passes over.

#ifndef TESSEL_APP_COMPAREOPTIONSDIALOG_H_
#define TESSEL_APP_COMPAREOPTIONSDIALOG_H_

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "CompareOptions.h"
#include "OpenFileDialog.h"
#include "SettingControls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel::app {

// Created hidden by the main window, which owns it, and shown without being
// modal. Like the setup dialog it has no cancel: its state is its controls,
// a change counts from the next run on, and "確定" or the title bar only
// hide it. The main window loads and saves its controls with the other
// settings and reads its choices as plain values when a run starts. Object
// names say what each control is ("encoding1Box", "unicodeBox",
// "variantTableBox_z", "tableFileBox", "tableFileField", "tableFilePicker",
// "ignoreBetweenField", "notesUnorderedBox", "okButton").
class CompareOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CompareOptionsDialog(QWidget* parent = nullptr);
  ~CompareOptionsDialog() override;

  // The choices as the controls show them.
  CompareOptions Choices() const;
  // Shows `choices` in the controls.
  void SetChoices(const CompareOptions& choices);

  // Where the table file picker starts when the field names no folder.
  void SetStartDirSource(std::function<QString()> source);
  OpenFileDialog& OpenDialog() { return *open_dialog_; }
  void SetOpenDialog(std::unique_ptr<OpenFileDialog> dialog);

  // The table file field, which the main window completes and points at
  // when it is at fault.
  QLineEdit* TableFileField() const { return table_file_field_; }
  // The field of the ignored stretches, for the same.
  QLineEdit* IgnoreBetweenField() const { return ignore_between_field_; }

  // Puts the controls whose state the settings keep into `controls`.
  void AddSettingControls(SettingControls& controls) const;

 private:
  void CreateComponents();
  void NameForScreenReaders();
  void SetTabOrder();
  // Fills the table file field from the file dialog and ticks its box.
  void PickTableFile();

  QGroupBox* encoding_group_;
  std::array<QLabel*, 3> encoding_labels_;
  std::array<QComboBox*, 3> encoding_boxes_;
  QCheckBox* unicode_box_;
  QGroupBox* variant_group_;
  std::array<QCheckBox*, 4> builtin_table_boxes_;
  QCheckBox* table_file_box_;
  QLineEdit* table_file_field_;
  QPushButton* table_file_picker_;
  QGroupBox* notes_group_;
  QLabel* ignore_between_label_;
  QLineEdit* ignore_between_field_;
  QCheckBox* notes_unordered_box_;
  QLabel* auto_window_hint_;
  QPushButton* ok_button_;

  std::unique_ptr<OpenFileDialog> open_dialog_;
  std::function<QString()> start_dir_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_COMPAREOPTIONSDIALOG_H_
