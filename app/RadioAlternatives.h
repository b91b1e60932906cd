// Radio buttons that are alternatives without Qt's exclusivity: selecting
// one clears the others, but clearing one by program selects none, so a
// group can be left with no button selected (as a settings file may ask).

#ifndef TESSEL_APP_RADIOALTERNATIVES_H_
#define TESSEL_APP_RADIOALTERNATIVES_H_

#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace tessel::app {

// A radio button that a click or the space bar can select but never clear.
// Only the program, or the selection of an alternative, clears it. Once
// linked, the arrow keys move to the previous or next alternative and
// select it, as in any radio group.
class AlternativeRadioButton : public QRadioButton {
 public:
  explicit AlternativeRadioButton(const QString& text,
                                  QWidget* parent = nullptr);

 protected:
  void nextCheckState() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend void LinkAlternatives(
      const std::vector<AlternativeRadioButton*>& buttons);

  // All the linked buttons, this one among them, in arrow-key order.
  std::vector<AlternativeRadioButton*> alternatives_;
};

// Makes `buttons` alternatives of each other: whenever one becomes selected,
// by the user or by program, the others are cleared. They are one tab stop:
// Tab reaches the selected one, or the first when none is.
void LinkAlternatives(const std::vector<AlternativeRadioButton*>& buttons);

// A group box of alternatives laid out in columns, addressed by index. Its
// item index is that of the selected item, or -1 when none is selected.
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& caption, const QStringList& items, int columns,
             QWidget* parent);

  int ItemIndex() const;
  // Selects item `index`, or none when `index` is outside the items.
  void SetItemIndex(int index);
  AlternativeRadioButton* Item(int index) const {
    return items_.at(static_cast<std::size_t>(index));
  }
  int Count() const { return static_cast<int>(items_.size()); }

 signals:
  // The user clicked an item (also when it was selected already).
  void Clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOutItems();

  std::vector<AlternativeRadioButton*> items_;
  int columns_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_RADIOALTERNATIVES_H_
