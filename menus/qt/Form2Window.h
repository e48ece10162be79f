// The main menu's window.
#pragma once

#include "menus/Form2.h"
#include "controls/qt/FormWindow.h"

class Form2Window : public FormWindow {
  Q_OBJECT

 public:
  explicit Form2Window(Form2& model);
};
