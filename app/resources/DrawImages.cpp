// Draws the program's pictures: logo.png (76 by 55), the logo of the main
// window, and icon.png (32 by 32), the program icon. Both show two editions
// of a text as overlapping pages whose lines are rows of tiles; the tiles
// that differ are marked in amber. packaging/icons/tessel.svg is the icon
// drawn again as SVG for the desktop; change both together
// (scripts/test-package compares them).
//
// Usage: tessel_draw_images FOLDER

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kInk(0x1F, 0x3A, 0x68);          // page outlines, lettering
const QColor kBackPageTop(0xD6, 0xE4, 0xF5);  // the edition behind
const QColor kBackPageBottom(0xAE, 0xC8, 0xEA);
const QColor kFrontPageTop(0xFF, 0xFF, 0xFF);  // the edition in front
const QColor kFrontPageBottom(0xE9, 0xF0, 0xF8);
const QColor kTile(0x5B, 0x7D, 0xB1);
const QColor kTileLight(0x9D, 0xB5, 0xD8);
const QColor kDifference(0xF0, 0x8C, 0x1A);

struct PageStyle {
  QColor top;
  QColor bottom;
};

// A page with a folded top-right corner.
void DrawPage(QPainter& p, const QRectF& r, const PageStyle& style, qreal fold,
              qreal pen_width) {
  QPainterPath page;
  page.moveTo(r.left(), r.top());
  page.lineTo(r.right() - fold, r.top());
  page.lineTo(r.right(), r.top() + fold);
  page.lineTo(r.right(), r.bottom());
  page.lineTo(r.left(), r.bottom());
  page.closeSubpath();
  QLinearGradient fill(r.topLeft(), r.bottomRight());
  fill.setColorAt(0, style.top);
  fill.setColorAt(1, style.bottom);
  p.setPen(QPen(kInk, pen_width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawPath(page);

  QPainterPath corner;
  corner.moveTo(r.right() - fold, r.top());
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  corner.closeSubpath();
  p.setBrush(style.bottom.darker(112));
  p.drawPath(corner);
}

// Rows of square tiles standing for lines of text. `pattern` holds one
// string per row: '#' a tile, '+' a light tile, '*' a differing tile, ' ' a
// gap.
void DrawTiles(QPainter& p, QPointF origin, qreal tile, qreal gap,
               qreal row_gap, const char* const* pattern, int rows) {
  p.setPen(Qt::NoPen);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; pattern[row][col] != '\0'; ++col) {
      const char c = pattern[row][col];
      if (c == ' ') continue;
      p.setBrush(c == '*' ? kDifference : c == '+' ? kTileLight : kTile);
      p.drawRoundedRect(QRectF(origin.x() + col * (tile + gap),
                               origin.y() + row * (tile + row_gap), tile, tile),
                        tile * 0.15, tile * 0.15);
    }
  }
}

QImage DrawLogo() {
  QImage image(76, 55, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  DrawPage(p, QRectF(4.5, 2.5, 32, 38), {kBackPageTop, kBackPageBottom}, 7,
           1.2);
  static const char* const kBack[] = {"###+#", "##*##", "#+###", "###"};
  DrawTiles(p, QPointF(9, 10), 4, 1, 3, kBack, 4);

  DrawPage(p, QRectF(39.5, 2.5, 32, 38), {kFrontPageTop, kFrontPageBottom}, 7,
           1.2);
  static const char* const kFront[] = {"###+#", "#*+##", "#+###", "##"};
  DrawTiles(p, QPointF(44, 10), 4, 1, 3, kFront, 4);

  // The two differing tiles, matched across the pages.
  p.setPen(QPen(kDifference, 1.3, Qt::DashLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath link;
  link.moveTo(21, 19);
  link.cubicTo(28, 27, 41, 27, 48, 19);
  p.drawPath(link);

  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(12);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  p.setFont(font);
  p.setPen(kInk);
  p.drawText(QRectF(0, 41, 76, 14), Qt::AlignCenter, QStringLiteral("Tessel"));
  return image;
}

QImage DrawIcon() {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  DrawPage(p, QRectF(2.5, 1.5, 19, 24), {kBackPageTop, kBackPageBottom}, 5,
           1.0);
  DrawPage(p, QRectF(10.5, 6.5, 19, 24), {kFrontPageTop, kFrontPageBottom}, 5,
           1.0);
  static const char* const kFront[] = {"###", "#*#", "##+", "##"};
  DrawTiles(p, QPointF(14, 12), 3, 1, 1, kFront, 4);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessel_draw_images FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const bool ok = DrawLogo().save(folder + "/logo.png") &&
                  DrawIcon().save(folder + "/icon.png");
  return ok ? 0 : 1;
}
