#include "SettingsPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "WindowTexts.h"

namespace tessel::app {

namespace {

// The folders packages install programs into.
bool IsSystemProgramFolder(const QString& dir) {
  static const QStringList kFolders = {
      QStringLiteral("/usr/bin"), QStringLiteral("/bin"),
      QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/games")};
  return kFolders.contains(QDir::cleanPath(dir));
}

QString WithDelimiter(const QString& dir) {
#ifdef _WIN32
  return QDir::toNativeSeparators(dir) + u'\\';
#else
  return dir + u'/';
#endif
}

}  // namespace

SettingsPlace ChooseSettingsPlace(const ProgramSurroundings& s) {
  const QString name = QString::fromUtf8(texts::kIniFileName);
  SettingsPlace place;
  place.installed =
      !s.program_dir_writable || IsSystemProgramFolder(s.program_dir);
  if (!place.installed) {
    place.read_path = QDir(s.current_dir).filePath(name);
    place.write_path = QDir(s.program_dir).filePath(name);
    place.start_dir = WithDelimiter(s.program_dir);
    return place;
  }
  // A relative $XDG_CONFIG_HOME is invalid and is to be ignored.
  const QString config =
      !s.config_home.isEmpty() && QDir::isAbsolutePath(s.config_home)
          ? s.config_home
          : QDir(s.home).filePath(QStringLiteral(".config"));
  place.read_path = place.write_path =
      QDir(config).filePath(QStringLiteral("tessel/") + name);
  place.start_dir = WithDelimiter(s.home);
  return place;
}

ProgramSurroundings SurroundingsOfThisProgram() {
  ProgramSurroundings s;
  s.program_dir = QCoreApplication::applicationDirPath();
  s.program_dir_writable = QFileInfo(s.program_dir).isWritable();
#ifdef _WIN32
  s.config_home =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
  s.config_home = qEnvironmentVariable("XDG_CONFIG_HOME");
#endif
  s.home = QDir::homePath();
  s.current_dir = QDir::currentPath();
  return s;
}

}  // namespace tessel::app
