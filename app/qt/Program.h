// The game with its Qt windows: the program-wide models and a view for each loaded window.
#pragma once

#include <QPointer>
#include <memory>

#include "controls/qt/FormWindow.h"
#include "app/Game.h"

class Form1Window;
class Form2Window;
class Form4Window;

class Program : private WindowFactory {
 public:
  // Builds every window's model and the views of the windows that live for the whole run.
  explicit Program(Platform& platform);
  ~Program();

  // Start-up: the windows come up as players see them.
  void Start();

  Game game;
  std::unique_ptr<Form1Window> form1Window;
  std::unique_ptr<Form2Window> form2Window;
  // Declared after the play screen's window, which is its parent: it must go first.
  std::unique_ptr<Form4Window> form4Window;

 private:
  // The ranking window and the player select get a window each time they are loaded; the window
  // deletes itself when its model is unloaded.
  void Loaded(Form3& form3) override;
  void Loaded(Form5& form5) override;

  // The windows of loaded on-demand models, so that none outlives the program's models.
  QPointer<FormWindow> form3Window_;
  QPointer<FormWindow> form5Window_;
};
