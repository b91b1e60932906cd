// The program's message boxes, all built in one place so that they look
// alike and so that tests can answer them.
//
// Every box stays on top of every other window of the program. Every box is
// built whole and then handed to the box runner. The default
// runner shows it modally and returns when the user has closed it; a test
// installs a runner that inspects the box and clicks one of its buttons (or
// none) without entering a modal loop.

#ifndef TESSEL_APP_MESSAGEBOXES_H_
#define TESSEL_APP_MESSAGEBOXES_H_

#include <functional>

class QMessageBox;
class QString;
class QWidget;

namespace tessel::app {

// Shows `text` in the simple box: modal, an OK button, no icon, the
// application title as caption. Returns once the user has closed it.
void ShowSimpleMessage(QWidget* parent, const QString& text);

// Asks `question` in the confirmation box: caption "Confirm", a question
// mark, the buttons "&Yes" and "&No", Yes the default button and Escape
// answering No. Returns true for Yes. A box closed without an answer counts
// as No, which keeps whatever the question was about as it is.
bool AskConfirmation(QWidget* parent, const QString& question);

// Shows `text` in the error box that reports an unexpected failure: like
// the simple box, with the critical icon.
void ShowErrorMessage(QWidget* parent, const QString& text);

// Runs one built box; the answer is the button it leaves clicked.
using BoxRunner = std::function<void(QMessageBox& box)>;

// Puts `runner` in place of the current runner and returns the one it
// replaces. An empty runner restores the modal default.
BoxRunner SetBoxRunner(BoxRunner runner);

}  // namespace tessel::app

#endif  // TESSEL_APP_MESSAGEBOXES_H_
