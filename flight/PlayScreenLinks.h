// What the play screen asks of the other windows; the program-wide home answers.
#pragma once

#include <string>

class PlayScreenLinks {
 public:
  // The stage prompt's message (its Label1), lines joined by CR LF.
  virtual void SetPromptMessage(std::string message) = 0;
  // Shows the stage prompt and gives it the keyboard.
  virtual void ShowPrompt() = 0;
  // Opens the ranking window on the normal ranking, with the keyboard.
  virtual void ShowNormalRanking() = 0;

 protected:
  ~PlayScreenLinks() = default;
};
