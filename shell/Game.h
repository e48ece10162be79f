// The program-wide instances: the module state and every window's model, each existing at most
// once, through which the windows reach one another. No Qt here: the replay tool and the tests
// run whole games on it, and the game's Qt views follow it.
#pragma once

#include <memory>

#include "flight/Form1.h"
#include "menus/Form2.h"
#include "menus/Form4.h"
#include "platform/Controls.h"
#include "shell/Module1.h"

class Form3;
class Form5;

// Creates the view of a window that is loaded on demand; the real program gives each a Qt window.
class WindowFactory {
 public:
  virtual void Loaded(Form3& form3) = 0;
  virtual void Loaded(Form5& form5) = 0;

 protected:
  ~WindowFactory() = default;
};

class Game {
 public:
  explicit Game(Platform& platform);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Desktop desktop;
  Module1 module1;
  Form1 form1;
  Form2 form2;
  Form4 form4;

  // The ranking window and the player select: loaded (their load handler run) on first use and
  // after every unload, as the old windows were.
  Form3& form3();
  Form5& form5();
  // Whether the window is loaded now; asking does not load it.
  bool Form3Loaded() const;
  bool Form5Loaded() const;

  // nullptr: windows loaded on demand get no view (tests, replay tool).
  void SetWindowFactory(WindowFactory* factory) { factory_ = factory; }

  Platform& platform() const { return module1.platform; }

 private:
  WindowFactory* factory_ = nullptr;
  std::unique_ptr<Form3> form3_;
  std::unique_ptr<Form5> form5_;
};
