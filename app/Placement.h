// Places the controls of a form built in code.

#ifndef TESSEL_APP_PLACEMENT_H_
#define TESSEL_APP_PLACEMENT_H_

#include <QString>

namespace tessel::app {

// Names `widget` after its component, so tests and styles can find it, and
// puts it at its designed place. Returns `widget`.
template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width,
              int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

}  // namespace tessel::app

#endif  // TESSEL_APP_PLACEMENT_H_
