#include "StartupArguments.h"

#include <QDir>
#include <algorithm>

#include "Tesselunit.h"

namespace tessel::app {

namespace {

StartupArguments Refuse(const QString& why) {
  StartupArguments refused;
  refused.action = StartupArguments::Action::kUsageError;
  refused.error = why;
  return refused;
}

}  // namespace

StartupArguments ParseStartupArguments(const QStringList& args,
                                       const QString& current_dir) {
  StartupArguments parsed;
  QStringList names;
  bool options_ended = false;
  for (const QString& arg : args) {
    if (!options_ended && arg.size() > 1 && arg.startsWith(u'-')) {
      if (arg == u"--") {
        options_ended = true;
        continue;
      }
      if (arg == u"--help") {
        parsed.action = StartupArguments::Action::kHelp;
        return parsed;
      }
      if (arg == u"--version") {
        parsed.action = StartupArguments::Action::kVersion;
        return parsed;
      }
      return Refuse(QStringLiteral("unknown option ") + arg);
    }
    if (arg.isEmpty()) return Refuse(QStringLiteral("an empty file name"));
    names << arg;
  }
  if (names.size() > kMaxStartupSources) {
    parsed.too_many_sources = true;
    return parsed;
  }
  // Not cleaned: "a/../b" is left for the file system to resolve, which
  // differs from dropping "a/.." when a is a link.
  const QDir base(current_dir);
  for (const QString& name : names) {
    parsed.sources << QDir::toNativeSeparators(base.absoluteFilePath(name));
  }
  return parsed;
}

QString StartupUsageText() {
  return QStringLiteral(
      "Usage: tessel [SOURCE1 [SOURCE2 [SOURCE3]]]\n"
      "Opens the window that compares two or three editions of a text.\n"
      "Files named here become its sources, in order; two or three of them\n"
      "choose the number of files. \"--\" ends the options.\n"
      "\n"
      "  --help, --version\n");
}

void FillStartupSources(MainWindow& window, const QStringList& sources) {
  window.OpenSources(sources);
}

QString TooManySourcesMessage() {
  return QStringLiteral("一次最多只能比對三個檔案!");
}

}  // namespace tessel::app
