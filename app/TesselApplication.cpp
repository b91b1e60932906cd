#include "TesselApplication.h"

#include <QLibraryInfo>
#include <QSettings>
#include <QString>
#include <exception>

#include "MessageBoxes.h"

namespace tessel::app {

namespace {

// Qt's translation of its own texts, as Debian's qt6-translations-l10n
// installs it.
constexpr char kQtTextsName[] = "qtbase_zh_TW";

}  // namespace

TesselApplication::TesselApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
  if (qt_texts_.load(QString::fromLatin1(kQtTextsName),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(&qt_texts_);
  }
  // Where Qt would keep ~/.config/QtProject.conf. Should the folder fail,
  // Qt's writes there fail quietly and nothing is kept.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     qt_settings_.isValid() ? qt_settings_.path()
                                            : QStringLiteral("/nonexistent"));
}

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
