// The document opener: a double-click on one of the main window's file
// fields opens that field's file in another program.

#include <QLineEdit>

#include "FileNames.h"
#include "MessageBoxes.h"
#include "RadioAlternatives.h"
#include "Setup.h"
#include "ShellLauncher.h"
#include "Tesselunit.h"
#include "WindowTexts.h"

namespace tessel::app {

void MainWindow::OpenFieldFile() {
  // The first click of a double-click gave the field the focus.
  const auto* field = qobject_cast<const QLineEdit*>(focusWidget());
  if (field == nullptr) return;
  const QString text = field->text();

  ShellOpenRequest request;
  request.verb = QStringLiteral("open");
  request.directory = DirectoryPart(text);
  request.show_command = kShowNormal;
  // The setup dialog's choice as it stands now, shown or hidden.
  const std::optional<QString> program =
      setup_ != nullptr ? setup_->ChosenProgram() : std::nullopt;
  if (setup_ != nullptr && setup_->UsesDefaultProgram()) {
    request.file = text;
  } else if (program) {
    request.file = *program;
    // As typed: a name with blanks reaches the program as several words.
    request.parameters = text;
    request.is_program = true;
  } else {
    // Only a hand-edited settings file leaves no choice selected.
    ShowSimpleMessage(this, QString::fromUtf8(texts::kOpenNoProgram));
    return;
  }

  const QString message = ShellResultMessage(launcher_->Open(this, request));
  if (!message.isEmpty()) ShowSimpleMessage(this, message);
}

}  // namespace tessel::app
