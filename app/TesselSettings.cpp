// The main window's settings file and document opener. The settings work
// builds them on the seams below; until then the window starts with its
// designed contents, keeps nothing at close, and a double-click on a file
// field opens nothing.

#include "Tesselunit.h"

namespace tessel::app {

void TfmTessel::LoadSettings() {}

bool TfmTessel::SaveSettings() { return true; }

void TfmTessel::edEditDblClick() {}

}  // namespace tessel::app
