// Icon maker: writes the window icon as a PNG at build time, for the desktop entry of a player's
// install. Usage: morvane_make_icon OUTPUT_FILE
#include <QImage>
#include <QString>
#include <cstdio>

#include "resources/Resources.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane_make_icon OUTPUT_FILE\n");
    return 2;
  }
  const Bitmap& icon = ProgramIcon();
  QImage image(icon.width, icon.height, QImage::Format_RGB32);
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) image.setPixel(x, y, icon.At(x, y) | 0xff000000u);
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "morvane_make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
