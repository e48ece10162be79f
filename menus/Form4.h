// The stage prompt: a small window over the play screen with a message and its buttons.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class Form4 : public QWidget {
  Q_OBJECT

 public:
  // `playScreen` keeps the prompt above it.
  explicit Form4(QWidget* playScreen);

  QLabel* Label1;         // the message
  QPushButton* Command1;  // the main button; Enter presses it
  QPushButton* Command2;  // "終", only while the retry question stands
};
