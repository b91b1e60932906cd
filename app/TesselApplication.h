// The application object of the desktop program.

#ifndef TESSEL_APP_TESSELAPPLICATION_H_
#define TESSEL_APP_TESSELAPPLICATION_H_

#include <QApplication>

namespace tessel::app {

// A QApplication that survives a handler's exception: an exception that
// escapes the delivery of an event is shown in the error box, the event
// counts as not handled, and the event loop goes on. Qt itself would end
// the program.
class TesselApplication : public QApplication {
 public:
  TesselApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_TESSELAPPLICATION_H_
