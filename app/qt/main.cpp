// The game: builds the real platform and starts it.
#include <QApplication>
#include <optional>

#include "app/qt/DisplayCheck.h"
#include "app/qt/Program.h"
#include "controls/qt/QtLook.h"
#include "linux/ProgramFolder.h"
#include "platform/qt/QtPlatform.h"

int main(int argc, char** argv) {
  // The other media backend crashes on machines without a sound device.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");

  FontSetUp fonts;
  std::optional<DisplayConnectionWatch> watch(std::in_place);
  QApplication application(argc, argv);
  watch.reset();
  fonts.Wait();
  QApplication::setApplicationName(QStringLiteral("Morvane-Tesk"));
  // The game ends only as its windows say: closing one never quits behind their back.
  QApplication::setQuitOnLastWindowClosed(false);
  AddFontsBesideProgram(ProgramFolder());
  MapJapaneseFonts();
  QtPlatform platform;
  Program program(platform);
  program.Start();
  return QApplication::exec();
}
