#include "RadioAlternatives.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QResizeEvent>
#include <algorithm>

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

void AlternativeRadioButton::keyPressEvent(QKeyEvent* event) {
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      step = -1;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      step = 1;
      break;
    default:
      QRadioButton::keyPressEvent(event);
      return;
  }
  // Qt's own arrow handling selects only among auto-exclusive buttons,
  // which these are not; it would move the focus and select nothing.
  const auto count = static_cast<std::ptrdiff_t>(alternatives_.size());
  const auto self = std::find(alternatives_.begin(), alternatives_.end(), this);
  if (self == alternatives_.end()) {
    QRadioButton::keyPressEvent(event);
    return;
  }
  std::ptrdiff_t index = self - alternatives_.begin();
  for (std::ptrdiff_t tried = 1; tried < count; ++tried) {
    index = (index + step + count) % count;
    AlternativeRadioButton* next =
        alternatives_[static_cast<std::size_t>(index)];
    if (next->isVisible() && next->isEnabled()) {
      next->setFocus(Qt::OtherFocusReason);
      next->click();
      return;
    }
  }
}

namespace {

// Tab stops at the selected button only, or at the first when none is.
void SetTabStop(const std::vector<AlternativeRadioButton*>& buttons) {
  const auto selected = std::find_if(
      buttons.begin(), buttons.end(),
      [](const AlternativeRadioButton* b) { return b->isChecked(); });
  const AlternativeRadioButton* stop =
      selected != buttons.end() ? *selected : buttons.front();
  for (AlternativeRadioButton* button : buttons) {
    button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

}  // namespace

void LinkAlternatives(const std::vector<AlternativeRadioButton*>& buttons) {
  if (buttons.empty()) return;
  for (AlternativeRadioButton* button : buttons) {
    button->alternatives_ = buttons;
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [all = buttons, button](bool checked) {
                       if (checked) {
                         for (AlternativeRadioButton* other : all) {
                           if (other != button) other->setChecked(false);
                         }
                       }
                       SetTabStop(all);
                     });
  }
  SetTabStop(buttons);
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
