// tessel: the desktop program. Compares two or three Big5 editions of a
// text in a window; the command line is ignored.

#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <cstdlib>
#include <exception>

#include "Helpunit.h"
#include "MessageBoxes.h"
#include "Resources.h"
#include "Setup.h"
#include "TesselApplication.h"
#include "Tesselunit.h"

namespace {

using tessel::app::TfmHelp;
using tessel::app::TfmSetup;
using tessel::app::TfmTessel;

// How long the windows get to settle before they are photographed.
constexpr int kScreenshotDelayMs = 300;

// When TESSEL_SCREENSHOT_DIR names a folder, the program saves pictures of
// its main window, About box and setup dialog there and ends: the
// documentation's screenshots are made this way, under a virtual display.
void ScheduleScreenshots(TfmTessel& window, TfmHelp& help, TfmSetup& setup) {
  const QString folder = qEnvironmentVariable("TESSEL_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  QTimer::singleShot(
      kScreenshotDelayMs, &window, [&window, &help, &setup, folder] {
        const QDir dir(folder);
        bool saved = window.grab().save(dir.filePath("tessel-window.png"));
        window.btHelpClick();
        QTimer::singleShot(
            kScreenshotDelayMs, &help,
            [&window, &help, &setup, dir, saved]() mutable {
              saved =
                  saved && help.grab().save(dir.filePath("tessel-about.png"));
              help.hide();
              window.btSetupClick();
              QTimer::singleShot(
                  kScreenshotDelayMs, &setup, [&setup, dir, saved] {
                    const bool ok =
                        saved &&
                        setup.grab().save(dir.filePath("tessel-setup.png"));
                    QCoreApplication::exit(ok ? EXIT_SUCCESS : EXIT_FAILURE);
                  });
            });
      });
}

}  // namespace

int main(int argc, char** argv) {
  tessel::app::TesselApplication app(argc, argv);
  try {
    tessel::app::LoadResources();
    QApplication::setWindowIcon(
        QIcon(QString::fromUtf8(tessel::app::kIconPath)));

    // Created hidden, in this order; the first is the main window.
    TfmTessel fmTessel;
    TfmHelp fmHelp;
    TfmSetup fmSetup;
    fmTessel.SetHelpForm(&fmHelp);
    fmTessel.SetSetupForm(&fmSetup);

    // Showing the main window raises its FormShow, which needs the setup
    // dialog to exist.
    fmTessel.show();
    ScheduleScreenshots(fmTessel, fmHelp, fmSetup);
    return app.exec();
  } catch (const std::exception& error) {
    tessel::app::ShowErrorMessage(nullptr, QString::fromUtf8(error.what()));
  }
  return EXIT_FAILURE;
}
