// The main menu window: a fixed-size dialog centred on the screen.
#include "menus/Form2.h"

#include <QGuiApplication>
#include <QScreen>

#include "menus/Twips.h"

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(QStringLiteral("Morvane-Tesk Menu"));
  setFixedSize(FromTwips(2805), FromTwips(3585));
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}
