// tessel: the desktop program. Compares two or three editions of a
// text in a window; files named on the command line become its sources.

#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "CompareOptionsDialog.h"
#include "Helpunit.h"
#include "MessageBoxes.h"
#include "Resources.h"
#include "Setup.h"
#include "StartupArguments.h"
#include "TesselApplication.h"
#include "Tesselunit.h"

namespace {

using tessel::app::AboutBox;
using tessel::app::CompareOptionsDialog;
using tessel::app::MainWindow;
using tessel::app::SetupDialog;
using tessel::app::StartupArguments;

// How long the windows get to settle before they are photographed.
constexpr int kScreenshotDelayMs = 300;

// When TESSEL_SCREENSHOT_DIR names a folder, the program saves pictures of
// its main window, About box, setup dialog and options dialog there and
// ends: the documentation's screenshots are made this way, under a virtual
// display.
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
                  kScreenshotDelayMs, &setup,
                  [&window, &setup, dir, saved]() mutable {
                    saved = saved &&
                            setup.grab().save(dir.filePath("tessel-setup.png"));
                    setup.hide();
                    window.ShowCompareOptions();
                    CompareOptionsDialog* options = &window.compare_options();
                    QTimer::singleShot(
                        kScreenshotDelayMs, options, [options, dir, saved] {
                          const bool ok =
                              saved && options->grab().save(
                                           dir.filePath("tessel-options.png"));
                          QCoreApplication::exit(ok ? EXIT_SUCCESS
                                                    : EXIT_FAILURE);
                        });
                  });
            });
      });
}

// The id of the desktop entry and metainfo that packaging installs, by
// which a desktop matches the window to its icon and name.
constexpr char kDesktopFileName[] = "org.example.tessel";
constexpr int kExitUsage = 2;

QStringList ArgumentsAfterProgram(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

// Prints the help or the version, or refuses the command line. Returns the
// exit status, or -1 when the window is to open.
int AnswerWithoutWindow(const StartupArguments& arguments) {
  switch (arguments.action) {
    case StartupArguments::Action::kHelp:
      std::fputs(tessel::app::StartupUsageText().toLocal8Bit().constData(),
                 stdout);
      return EXIT_SUCCESS;
    case StartupArguments::Action::kVersion:
      std::puts("tessel " TESSEL_VERSION);
      return EXIT_SUCCESS;
    case StartupArguments::Action::kUsageError:
      std::fprintf(stderr,
                   "tessel: %s\nTry 'tessel --help' for more information.\n",
                   arguments.error.toLocal8Bit().constData());
      return kExitUsage;
    case StartupArguments::Action::kOpenWindow:
      break;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  // The help and the version are answered before the application object
  // exists, which needs a display.
  const StartupArguments early = tessel::app::ParseStartupArguments(
      ArgumentsAfterProgram(argc, argv), QString());
  if (early.action == StartupArguments::Action::kHelp ||
      early.action == StartupArguments::Action::kVersion) {
    return AnswerWithoutWindow(early);
  }
  tessel::app::TesselApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QString::fromUtf8(kDesktopFileName));
  // Now without Qt's own options, such as -platform.
  const StartupArguments arguments = tessel::app::ParseStartupArguments(
      app.arguments().mid(1), QDir::currentPath());
  if (const int status = AnswerWithoutWindow(arguments); status >= 0) {
    return status;
  }
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
    tessel::app::FillStartupSources(window, arguments.sources);
    if (arguments.too_many_sources) {
      QTimer::singleShot(0, &window, [&window] {
        tessel::app::ShowSimpleMessage(&window,
                                       tessel::app::TooManySourcesMessage());
      });
    }
    ScheduleScreenshots(window, about, setup);
    return app.exec();
  } catch (const std::exception& error) {
    tessel::app::ShowErrorMessage(nullptr, QString::fromUtf8(error.what()));
  }
  return EXIT_FAILURE;
}
