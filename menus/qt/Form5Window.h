// The player select's window.
#pragma once

#include "menus/Form5.h"
#include "controls/qt/FormWindow.h"

class Form5Window : public FormWindow {
  Q_OBJECT

 public:
  explicit Form5Window(Form5& model);
};
