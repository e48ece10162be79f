// The ranking window's Qt window: black, with the options on the left and ten rows of results.
#pragma once

#include "platform/FormWindow.h"
#include "viewer/Form3.h"

class Form3Window : public FormWindow {
  Q_OBJECT

 public:
  explicit Form3Window(Form3& model);
};
