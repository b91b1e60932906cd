// The desktop program's command line: up to three sources, as a file
// manager passes the files a user opens with Tessel, or a request for the
// help or the version.

#ifndef TESSEL_APP_STARTUPARGUMENTS_H_
#define TESSEL_APP_STARTUPARGUMENTS_H_

#include <QString>
#include <QStringList>

namespace tessel::app {

class MainWindow;

// The most sources one run compares.
inline constexpr int kMaxStartupSources = 3;

struct StartupArguments {
  enum class Action { kOpenWindow, kHelp, kVersion, kUsageError };
  Action action = Action::kOpenWindow;
  // The sources to fill in, in order, as absolute names; empty when none
  // were named or too many were.
  QStringList sources;
  // More than kMaxStartupSources files were named; none is taken.
  bool too_many_sources = false;
  // Why the command line was refused (kUsageError), in English.
  QString error;
};

// Reads `args`: the arguments after the program's name, with Qt's own
// options already taken out. "--help" and "--version" win wherever they
// stand before "--"; any other argument starting with '-' (but "-" alone)
// is refused; "--" makes every later argument a file name. A name that is
// not absolute is taken from `current_dir`. An empty name is refused.
StartupArguments ParseStartupArguments(const QStringList& args,
                                       const QString& current_dir);

// What --help prints.
QString StartupUsageText();

// Fills the source fields of `window`, whose settings have been read, with
// `sources`: two choose two-file mode and three three-file mode, showing or
// hiding the third fields; one fills the first source and keeps the mode.
// No sources change nothing.
void FillStartupSources(MainWindow& window, const QStringList& sources);

// "At most three files can be compared!": shown when more were named.
QString TooManySourcesMessage();

}  // namespace tessel::app

#endif  // TESSEL_APP_STARTUPARGUMENTS_H_
