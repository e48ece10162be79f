// What the menu and the stage prompt ask of the windows above them; the program-wide home answers.
#pragma once

// The menu's START, for the windows loaded on demand.
class MenuLinks {
 public:
  // The ranking window shown with the keyboard, the menu hidden.
  virtual void OpenRanking() = 0;
  // The player select shown with the keyboard, the menu hidden.
  virtual void OpenPlayerSelect() = 0;

 protected:
  ~MenuLinks() = default;
};

// The stage prompt's way out of a game.
class PromptLinks {
 public:
  // The play screen back to its idle look, and the menu shown with the keyboard.
  virtual void BackToMenu() = 0;

 protected:
  ~PromptLinks() = default;
};
