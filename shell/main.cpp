// The game: builds the real platform and starts it.
#include <QApplication>
#include <cstdio>

#include "platform/QtPlatform.h"
#include "shell/DisplayCheck.h"
#include "shell/Program.h"

int main(int argc, char** argv) {
  std::string reason;
  if (!DisplayAvailable(reason)) {
    std::fprintf(stderr, "morvane-tesk: %s\n", reason.c_str());
    return 1;
  }
  // The other media backend crashes on machines without a sound device.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Morvane-Tesk"));
  // The game ends only as its windows say: closing one never quits behind their back.
  QApplication::setQuitOnLastWindowClosed(false);
  MapJapaneseFonts();
  QtPlatform platform;
  Program program(platform);
  program.Start();
  return QApplication::exec();
}
