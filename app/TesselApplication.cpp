#include "TesselApplication.h"

#include <QString>
#include <exception>

#include "MessageBoxes.h"

namespace tessel::app {

TesselApplication::TesselApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool TesselApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowErrorMessage(activeWindow(), QString::fromUtf8(error.what()));
  } catch (...) {
    ShowErrorMessage(activeWindow(), QStringLiteral("Unknown exception"));
  }
  return false;
}

}  // namespace tessel::app
