// What the ranking window asks of the other windows; the program-wide home answers.
#pragma once

class RankingLinks {
 public:
  // The play screen back to its idle look, and the menu shown with the keyboard.
  virtual void BackToMenu() = 0;

 protected:
  ~RankingLinks() = default;
};
