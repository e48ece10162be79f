// The stage prompt's window: a small tool window that stands over the play screen.
#pragma once

#include "menus/Form4.h"
#include "controls/qt/FormWindow.h"

class Form4Window : public FormWindow {
  Q_OBJECT

 public:
  // Stands at (46, 174) from the play screen's top-left corner, frames included, wherever the
  // window manager put the play screen and wherever the player moves it.
  Form4Window(Form4& model, QWidget* playScreen);

  // Where the prompt belongs now, in screen pixels (its frame's top-left corner).
  QPoint PlaceOverPlayScreen() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FollowPlayScreen();

  QWidget* playScreen_;
};
