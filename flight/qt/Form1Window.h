// The play screen's window: shows Form1's picture, labels and craft, and hands it the keys.
#pragma once

#include "flight/Form1.h"
#include "controls/qt/FormWindow.h"

class Form1Window : public FormWindow, private Form1View {
  Q_OBJECT

 public:
  // Shows `model` and forwards key presses and the close to it; `model` must outlive the window.
  explicit Form1Window(Form1& model, QWidget* parent = nullptr);
  ~Form1Window() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class PictureBox;
  class ShipWidget;

  void ShowControl(const Control& control, QWidget* widget) override;
  void ControlChanged(const Control& control) override { FormWindow::ControlChanged(control); }
  void FormChanged() override;
  void FocusRequested() override { FormWindow::FocusRequested(); }
  void InputMethodOff() override;

  // Shows the score-attack player's name so that its start stays readable in the label's width.
  void FitPlayerName(QLabel* label);
  QLabel* AddNamedLabel(LabelControl& label, const char* name, QRect geometry, Qt::Alignment alignment,
                        const QFont& font);

  Form1& form1_;
  PictureBox* picture_ = nullptr;
  unsigned pictureShown_ = ~0u;
  ShipWidget* ship_ = nullptr;
};
