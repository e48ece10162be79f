// The old look in Qt's terms: colours, pictures and fonts as the windows draw them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <string>
#include <thread>

#include "controls/Look.h"
#include "platform/Platform.h"

// An RGB colour, or a desktop colour (SystemColour) taken from `desktop`: its text colour, the
// background of its text fields, the face of its dialogs.
QColor ToQColor(Rgb colour, const QPalette& desktop);
// The same with the application's palette, which follows the desktop's scheme.
QColor ToQColor(Rgb colour);
QImage ToQImage(const Bitmap& bitmap);

// Maps the Japanese face names the windows ask for to the installed IPA fonts: the proportional
// face to IPAPGothic, the fixed-pitch one to IPAGothic (half-width and full-width at 1:2, so the
// ranking window's columns line up). Needs a QGuiApplication.
void MapJapaneseFonts();
// Adds the IPA fonts of `programFolder`/fonts (ipagp.ttf, ipag.ttf: the downloadable archive
// carries them there) to the fonts the windows may draw with, so the game needs no font package.
// Where there are none, the system's serve. `programFolder` is the system's bytes, any but NUL.
// Returns how many were added. Needs a QGuiApplication.
int AddFontsBesideProgram(const std::string& programFolder);
// Reads the system's font configuration and font caches on a thread of its own from construction to
// Wait(), so that it runs on another processor while the toolkit connects to the display. Every
// window measures text before it is shown, and the first measurement would otherwise wait for this
// (some 5 ms of processor time). Safe before a QGuiApplication exists.
class FontSetUp {
 public:
  FontSetUp();
  ~FontSetUp();
  void Wait();

 private:
  std::thread reader_;
};
// The Qt font for a font as the windows ask for it.
QFont ToQFont(const FontSpec& font);
QFont GothicFont(double points, bool bold = false, bool italic = false);
QFont FixedGothicFont(double points);

// A fixed-size dialog with a title and a close button, nothing else in its title bar.
inline constexpr Qt::WindowFlags FixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
