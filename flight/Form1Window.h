// The play screen's window: shows Form1's picture, labels and craft, and hands it the keys.
#pragma once

#include <QWidget>
#include <map>

#include "flight/Form1.h"

class QLabel;

class Form1Window : public QWidget, private Form1View {
  Q_OBJECT

 public:
  // Shows `model` and forwards key presses and the close to it; `model` must outlive the window.
  explicit Form1Window(Form1& model, QWidget* parent = nullptr);
  ~Form1Window() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class PictureBox;
  class ShipWidget;

  void LabelChanged(const LabelControl& label) override;
  void ShipChanged() override;
  void PictureChanged() override;
  void InputMethodOff() override;

  QLabel* AddLabel(const LabelControl& label, const char* name, QRect geometry, Qt::Alignment alignment);
  void ShowLabel(const LabelControl& label, QLabel* widget);

  Form1& model_;
  PictureBox* picture_ = nullptr;
  std::map<const LabelControl*, QLabel*> labels_;
  ShipWidget* ship_ = nullptr;
};
