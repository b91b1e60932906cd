// The fonts of the program's forms.

#ifndef TESSEL_APP_APPFONTS_H_
#define TESSEL_APP_APPFONTS_H_

#include <QFont>

namespace tessel::app {

// 16 pixels high in one of the Ming faces of Traditional Chinese Windows,
// with the free Ming faces standing in where it is missing.
//
// The main window's layout is measured for "新細明體", which sets Latin
// letters, digits and punctuation in a proportional serif of Times'
// widths. The free Ming faces set them at a fixed half width, which would
// overflow several captions, and their Latin glyphs are crude. So where the
// Windows face is missing, Liberation Serif, which has Times' widths, takes
// the Latin characters and the free Ming face the rest.
QFont ProportionalMingFont();  // "新細明體", the main window
QFont MingFont();              // "細明體", the About box and setup dialog
// "Times New Roman", 13 pixels high, with Liberation Serif, which has its
// widths, where it is missing: the setup dialog's small "..." buttons.
QFont SmallButtonFont();

}  // namespace tessel::app

#endif  // TESSEL_APP_APPFONTS_H_
