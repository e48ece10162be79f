// The ranking window's Qt window: black, with the options on the left and ten rows of results.
#pragma once

#include "controls/qt/FormWindow.h"
#include "viewer/Form3.h"

class Form3Window : public FormWindow {
  Q_OBJECT

 public:
  explicit Form3Window(Form3& model);

 protected:
  // Numbers must read right whatever the installed face and the loaded values: a total or rank
  // number wider than its label is drawn just small enough to show whole; a detail line longer than
  // its label ends in "…" rather than in a cut number; an option button's caption wider than the
  // room beside its circle goes on in a second line (the normal option is tall enough for two).
  void ShowControl(const Control& control, QWidget* widget) override;

 private:
  // The option buttons, the player list and "戻る" on the left; the title and the ten rows.
  void AddFrameControls(Form3& model);
  void AddRows(Form3& model);

  Form3& form3_;
};
