#include "AppFonts.h"

#include <QString>
#include <QStringList>

namespace tessel::app {

namespace {

constexpr int kFontPixels = 16;
constexpr int kSmallButtonPixels = 13;

QFont MakeFont(const QString& windows_face) {
  QFont font;
  // fontconfig knows no alias for the Ming names, so the stand-ins are
  // listed rather than left to the system. A character missing from one
  // family is taken from the next.
  font.setFamilies({windows_face, QStringLiteral("Liberation Serif"),
                    QStringLiteral("AR PL UMing TW"),
                    QStringLiteral("Noto Serif CJK TC")});
  font.setPixelSize(kFontPixels);
  return font;
}

}  // namespace

QFont ProportionalMingFont() { return MakeFont(QStringLiteral("新細明體")); }

QFont MingFont() { return MakeFont(QStringLiteral("細明體")); }

QFont SmallButtonFont() {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
  font.setPixelSize(kSmallButtonPixels);
  return font;
}

}  // namespace tessel::app
