// The application object of the desktop program.

#ifndef TESSEL_APP_TESSELAPPLICATION_H_
#define TESSEL_APP_TESSELAPPLICATION_H_

#include <QApplication>
#include <QTemporaryDir>
#include <QTranslator>

namespace tessel::app {

// A QApplication that survives a handler's exception: an exception that
// escapes the delivery of an event is shown in the error box, the event
// counts as not handled, and the event loop goes on. Qt itself would end
// the program.
//
// Qt's own texts (the file dialog's among them) are in Traditional Chinese,
// like the windows, where the system has Qt's translation. Qt's own settings
// (the file dialog keeps its history and layout in a "QtProject" file) go to
// a folder of this run's own that is removed at the end: tessel.ini is the
// program's only settings file.
class TesselApplication : public QApplication {
 public:
  TesselApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  QTranslator qt_texts_;
  QTemporaryDir qt_settings_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_TESSELAPPLICATION_H_
