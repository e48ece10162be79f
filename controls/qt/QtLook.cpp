// The old look in Qt's terms.
#include "controls/qt/QtLook.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QGuiApplication>

#include "linux/PosixFile.h"

QColor ToQColor(Rgb colour, const QPalette& desktop) {
  switch (colour) {
    case SystemColour::WindowText: return desktop.color(QPalette::Active, QPalette::WindowText);
    case SystemColour::WindowBackground: return desktop.color(QPalette::Active, QPalette::Base);
    case SystemColour::ButtonFace: return desktop.color(QPalette::Active, QPalette::Window);
    default: return QColor::fromRgb(static_cast<QRgb>(colour) | 0xff000000u);
  }
}

QColor ToQColor(Rgb colour) { return ToQColor(colour, QGuiApplication::palette()); }

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

int AddFontsBesideProgram(const std::string& programFolder) {
  int added = 0;
  if (programFolder.empty()) return added;  // the system could not tell: the system's fonts serve
  for (const char* name : {"ipagp.ttf", "ipag.ttf"}) {
    Descriptor file(OpenFile(programFolder + "/fonts/" + name, O_RDONLY));
    if (!file.Valid()) continue;
    // Qt turns every path into UTF-16 text, which cannot carry a folder name that is not UTF-8;
    // the open file itself can be named by its number.
    if (QFontDatabase::addApplicationFont(QStringLiteral("/proc/self/fd/%1").arg(file.Get())) < 0) continue;
    // Open for the whole run: the font database opens the file again by that name when it draws.
    file.Release();
    ++added;
  }
  return added;
}

FontSetUp::FontSetUp() : reader_([] { FcInit(); }) {}

FontSetUp::~FontSetUp() { Wait(); }

void FontSetUp::Wait() {
  if (reader_.joinable()) reader_.join();
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
