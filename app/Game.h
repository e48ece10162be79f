// The program-wide home: the module state and every window's model, each existing at most once,
// and the steps that lead from one window to another, which the windows ask for through their
// links. No Qt here: the replay tool and the tests run whole games on it, and the game's Qt views
// follow it.
#pragma once

#include <memory>

#include "controls/Controls.h"
#include "flight/Form1.h"
#include "menus/Form2.h"
#include "menus/Form4.h"
#include "menus/Form5.h"
#include "shell/Module1.h"
#include "viewer/Form3.h"

// Creates the view of a window that is loaded on demand; the real program gives each a Qt window.
class WindowFactory {
 public:
  virtual void Loaded(Form3& form3) = 0;
  virtual void Loaded(Form5& form5) = 0;

 protected:
  ~WindowFactory() = default;
};

class Game : private PlayScreenLinks, private RankingLinks, private MenuLinks, private PromptLinks {
 public:
  explicit Game(Platform& platform);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Desktop desktop;
  Module1 module1;
  Form1 form1;
  Form4 form4;
  Form2 form2;

  // The ranking window and the player select: loaded (their load handler run) on first use and
  // after every unload, as the old windows were.
  Form3& form3();
  Form5& form5();
  // Whether the window is loaded now; asking does not load it.
  bool Form3Loaded() const;
  bool Form5Loaded() const;

  // nullptr: windows loaded on demand get no view (tests, replay tool).
  void SetWindowFactory(WindowFactory* factory) { factory_ = factory; }

  // The way back to the menu from a game or the ranking window: the play screen's idle look, then
  // the menu shown with the keyboard.
  void BackToMenu() override;

 private:
  void SetPromptMessage(std::string message) override;
  void ShowPrompt() override;
  void ShowNormalRanking() override;
  void OpenRanking() override;
  void OpenPlayerSelect() override;
  // `window` shown in the menu's place, with the keyboard.
  void OpenFromMenu(FormModel& window);

  WindowFactory* factory_ = nullptr;
  std::unique_ptr<Form3> form3_;
  std::unique_ptr<Form5> form5_;
};
