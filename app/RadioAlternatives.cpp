#include "RadioAlternatives.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace tessel::app {

namespace {

// Space between the group's frame and its items.
constexpr int kGroupMargin = 8;

}  // namespace

AlternativeRadioButton::AlternativeRadioButton(const QString& text,
                                               QWidget* parent)
    : QRadioButton(text, parent) {
  setAutoExclusive(false);
}

void AlternativeRadioButton::nextCheckState() { setChecked(true); }

void LinkAlternatives(const std::vector<AlternativeRadioButton*>& buttons) {
  for (AlternativeRadioButton* button : buttons) {
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [all = buttons, button](bool checked) {
                       if (!checked) return;
                       for (AlternativeRadioButton* other : all) {
                         if (other != button) other->setChecked(false);
                       }
                     });
  }
}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items,
                       int columns, QWidget* parent)
    : QGroupBox(caption, parent), columns_(columns) {
  for (const QString& text : items) {
    auto* item = new AlternativeRadioButton(text, this);
    connect(item, &QAbstractButton::clicked, this, &RadioGroup::Clicked);
    items_.push_back(item);
  }
  LinkAlternatives(items_);
}

int RadioGroup::ItemIndex() const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

void RadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    items_[static_cast<std::size_t>(index)]->setChecked(true);
  } else {
    for (AlternativeRadioButton* item : items_) item->setChecked(false);
  }
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  LayOutItems();
}

void RadioGroup::LayOutItems() {
  if (items_.empty()) return;
  // The items share the space under the caption evenly, in rows of
  // `columns_`, as a form designer's radio group lays them out.
  const int rows = (Count() + columns_ - 1) / columns_;
  const int top = QFontMetrics(font()).height() + kGroupMargin / 2;
  const int width = (this->width() - 2 * kGroupMargin) / columns_;
  const int height = (this->height() - top - kGroupMargin / 2) / rows;
  for (int i = 0; i < Count(); ++i) {
    items_[static_cast<std::size_t>(i)]->setGeometry(
        kGroupMargin + (i % columns_) * width, top + (i / columns_) * height,
        width, height);
  }
}

}  // namespace tessel::app
