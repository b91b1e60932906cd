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

void TfmTessel::edEditDblClick() {
  // The first click of a double-click gave the field the focus.
  const auto* field = qobject_cast<const QLineEdit*>(focusWidget());
  if (field == nullptr) return;
  const QString text = field->text();

  ShellOpenRequest request;
  request.verb = QStringLiteral("open");
  request.directory = DirectoryPart(text);
  request.show_command = kShowNormal;
  // The setup dialog's choice as it stands now, shown or hidden.
  if (setup_ != nullptr && setup_->rbDefault->isChecked()) {
    request.file = text;
  } else if (const QLineEdit* program =
                 setup_ != nullptr ? setup_->ChosenProgram() : nullptr) {
    request.file = program->text();
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
