#include "ShellLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>
#include <utility>

#ifdef _WIN32
#define NOMINMAX  // keep std::min usable
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#endif

#include "WindowTexts.h"

namespace tessel::app {

namespace {

#ifndef _WIN32
// `name` as a program to run: a path (relative to the current directory)
// when it holds a '/', else a name looked up on PATH. Empty when there is
// no such file.
QString FindProgram(const QString& name) {
  if (name.isEmpty()) return QString();
  if (!name.contains(u'/')) return QStandardPaths::findExecutable(name);
  const QFileInfo info(name);
  return info.exists() && !info.isDir() ? info.absoluteFilePath() : QString();
}

// The parameters as separate arguments, split at blanks as a program's
// command line is. Quotes have no meaning: they reach the program as
// they are.
QStringList SplitParameters(const QString& parameters) {
  QStringList arguments;
  QString current;
  for (const QChar c : parameters) {
    if (c == u' ' || c == u'\t') {
      if (!current.isEmpty()) arguments << std::exchange(current, QString());
    } else {
      current += c;
    }
  }
  if (!current.isEmpty()) arguments << current;
  return arguments;
}

int Start(const QString& program, const QStringList& arguments,
          const QString& directory) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(directory);
  return process.startDetached() ? kShellStarted : kShellOutOfResources;
}
#endif

}  // namespace

SystemShellLauncher::SystemShellLauncher(QString document_opener)
    : document_opener_(std::move(document_opener)) {}

#ifdef _WIN32

int SystemShellLauncher::Open(QWidget* owner, const ShellOpenRequest& r) {
  const HWND window =
      owner != nullptr ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
  const std::wstring verb = r.verb.toStdWString();
  const std::wstring file = r.file.toStdWString();
  const std::wstring parameters = r.parameters.toStdWString();
  const std::wstring directory = r.directory.toStdWString();
  const HINSTANCE result =
      ShellExecuteW(window, verb.c_str(), file.c_str(), parameters.c_str(),
                    directory.c_str(), r.show_command);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

#else

int SystemShellLauncher::Open(QWidget*, const ShellOpenRequest& r) {
  if (!r.directory.isEmpty() && !QFileInfo(r.directory).isDir()) {
    return kShellPathNotFound;
  }
  if (r.is_program) {
    const QString program = FindProgram(r.file);
    if (program.isEmpty()) return kShellFileNotFound;
    return Start(program, SplitParameters(r.parameters), r.directory);
  }
  const QFileInfo document(r.file);
  if (r.file.isEmpty() || !document.exists()) return kShellFileNotFound;
  const QString opener = FindProgram(document_opener_);
  if (opener.isEmpty()) return kShellNoAssociation;
  // The full path: the opener runs in the working directory, where a
  // relative name would mean another file, and a path that starts with '/'
  // can never be taken for one of the opener's options.
  return Start(opener, {document.absoluteFilePath()}, r.directory);
}

#endif

QString ShellResultMessage(int result) {
  const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };
  if (result > 32) return QString();
  switch (result) {
    case kShellOutOfResources:
      return text(texts::kOpenOutOfResources);
    case kShellFileNotFound:
      return text(texts::kOpenFileNotFound);
    case kShellOutOfMemory:
      return text(texts::kOpenOutOfMemory);
    case kShellNoAssociation:
      return text(texts::kOpenNoAssociation);
    default:
      return text(texts::kOpenErrorPrefix) + QString::number(result) +
             text(texts::kOpenErrorSuffix);
  }
}

}  // namespace tessel::app
