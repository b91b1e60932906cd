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
#include "NotationTable.h"
#include "Resources.h"
#include "Setup.h"
#include "TesselApplication.h"
#include "Tesselunit.h"

namespace {

using tessel::app::AboutBox;
using tessel::app::MainWindow;
using tessel::app::SetupDialog;

// How long the windows get to settle before they are photographed.
constexpr int kScreenshotDelayMs = 300;

// When TESSEL_SCREENSHOT_DIR names a folder, the program saves pictures of
// its main window, About box and setup dialog there and ends: the
// documentation's screenshots are made this way, under a virtual display.
void ScheduleScreenshots(MainWindow& window, AboutBox& about,
                         SetupDialog& setup) {
  const QString folder = qEnvironmentVariable("TESSEL_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  QTimer::singleShot(
      kScreenshotDelayMs, &window, [&window, &about, &setup, folder] {
        const QDir dir(folder);
        bool saved = window.grab().save(dir.filePath("tessel-window.png"));
        window.ShowAboutBox();
        QTimer::singleShot(
            kScreenshotDelayMs, &about,
            [&window, &about, &setup, dir, saved]() mutable {
              saved =
                  saved && about.grab().save(dir.filePath("tessel-about.png"));
              about.hide();
              window.ShowSetupDialog();
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
  // The notation table exists, empty, before anything else runs.
  tessel::NotationTable::Process();
  tessel::app::TesselApplication app(argc, argv);
  try {
    tessel::app::LoadResources();
    QApplication::setWindowIcon(
        QIcon(QString::fromUtf8(tessel::app::kIconPath)));

    // Created hidden, in this order; the first is the main window.
    MainWindow window;
    AboutBox about;
    SetupDialog setup;
    window.SetAboutBox(&about);
    window.SetSetupDialog(&setup);

    // Showing the main window raises its FirstShow, which needs the setup
    // dialog to exist.
    window.show();
    ScheduleScreenshots(window, about, setup);
    return app.exec();
  } catch (const std::exception& error) {
    tessel::app::ShowErrorMessage(nullptr, QString::fromUtf8(error.what()));
  }
  return EXIT_FAILURE;
}
