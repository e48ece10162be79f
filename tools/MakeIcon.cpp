// Icon maker: writes the window icon as a PNG at build time, for the desktop entry of a player's
// install. Usage: morvane_make_icon OUTPUT_FILE
#include <QImage>
#include <QString>
#include <cstdio>

#include "controls/qt/QtLook.h"
#include "resources/Resources.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane_make_icon OUTPUT_FILE\n");
    return 2;
  }
  if (!ToQImage(ProgramIcon()).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "morvane_make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
