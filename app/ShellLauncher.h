// The shell's open operation, through which a double-clicked file field is
// opened: the file in the program that the system associates with it, or a
// program named in the setup dialog with the field's text as its
// parameters.

#ifndef TESSEL_APP_SHELLLAUNCHER_H_
#define TESSEL_APP_SHELLLAUNCHER_H_

#include <QString>

class QWidget;

namespace tessel::app {

// The show command that activates the started program's window and shows
// it in its current size and position.
inline constexpr int kShowNormal = 5;

// Results of the open operation. Up to 32 an error; above it success.
inline constexpr int kShellOutOfResources = 0;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellOutOfMemory = 8;
inline constexpr int kShellNoAssociation = 31;
inline constexpr int kShellStarted = 42;

// One call of the open operation. Empty texts are passed as empty texts.
struct ShellOpenRequest {
  QString verb;        // always "open"
  QString file;        // the document, or the program to start
  QString parameters;  // for a program; empty for a document
  QString directory;   // the working directory; empty for the current one
  int show_command = kShowNormal;
  // The file is a program to start rather than a document to open. Only
  // systems whose shell cannot tell the two apart look at it.
  bool is_program = false;
};

// The open operation. The window holds one, and a test puts a recording
// one in its place.
class ShellLauncher {
 public:
  virtual ~ShellLauncher() = default;
  // Starts what `request` names without waiting for it. `owner` is the
  // window that asked, the parent of any window the shell shows itself.
  virtual int Open(QWidget* owner, const ShellOpenRequest& request) = 0;
};

// The system's open operation. Where the system has no shell to ask, it
// finds out beforehand what the shell would have refused: a working
// directory that does not exist (3), a document or program that does not
// exist (2), no program to open documents with (31). A document goes to
// `document_opener` (found on PATH unless it holds a '/'); a program is
// started with the parameters split at blanks. Nothing passes through a
// command interpreter, so no character of a field has a meaning of its own.
class SystemShellLauncher : public ShellLauncher {
 public:
  explicit SystemShellLauncher(
      QString document_opener = QStringLiteral("xdg-open"));

  int Open(QWidget* owner, const ShellOpenRequest& request) override;

 private:
  QString document_opener_;
};

// What the window tells the user about `result`: empty when the program
// was started.
QString ShellResultMessage(int result);

}  // namespace tessel::app

#endif  // TESSEL_APP_SHELLLAUNCHER_H_
