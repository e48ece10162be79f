// The stage prompt: a small window over the play screen with a message and its buttons.
#include "menus/Form4.h"

#include <QLabel>
#include <QPushButton>

Form4::Form4(QWidget* playScreen)
    : QWidget(playScreen, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)),
      Command2(new QPushButton(QStringLiteral("終"), this)) {
  // A single blank: the title bar shows no text.
  setWindowTitle(QStringLiteral(" "));
  setFixedSize(183, 71);
  Label1->setGeometry(8, 8, 169, 25);
  Command1->setGeometry(48, 40, 81, 23);
  Command1->setDefault(true);
  Command1->setAutoDefault(true);
  Command2->setGeometry(144, 40, 33, 23);
  Command2->setEnabled(false);
  Command2->hide();
}
