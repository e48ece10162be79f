// The old look in Qt's terms.
#include "controls/qt/QtLook.h"

QColor ToQColor(Rgb colour) { return QColor::fromRgb(static_cast<QRgb>(colour) | 0xff000000u); }

QImage ToQImage(const Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.width; ++x) line[x] = bitmap.At(x, y) | 0xff000000u;
  }
  return image;
}

void MapJapaneseFonts() {
  QFont::insertSubstitution(QString::fromUtf8(ProportionalGothic), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QString::fromUtf8(FixedGothic), QStringLiteral("IPAGothic"));
}

QFont ToQFont(const FontSpec& font) {
  QFont qtFont(QString::fromStdString(font.family));
  qtFont.setPointSizeF(font.points);
  qtFont.setBold(font.bold);
  qtFont.setItalic(font.italic);
  return qtFont;
}

QFont GothicFont(double points, bool bold, bool italic) { return ToQFont({ProportionalGothic, points, bold, italic}); }

QFont FixedGothicFont(double points) { return ToQFont({FixedGothic, points, false, false}); }
