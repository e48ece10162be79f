// The stage prompt Form4 without a window: the message and buttons that lead the player from
// flight to flight, and what its buttons do in each prompt state.
#pragma once

#include "controls/Controls.h"
#include "flight/Form1.h"
#include "menus/MenuLinks.h"

class Form4 : public FormModel {
 public:
  Form4(Desktop& desktop, Module1& module1, Form1& form1, PromptLinks& links);

  LabelControl Label1;     // the message
  ButtonControl Command1;  // the main button; Enter presses it
  ButtonControl Command2;  // "終": ends a score attack, only while the retry question stands

  // The start of a run: PromptState 1, the message "Stage<n>,Ready...", the button "GO!!", and
  // the prompt shown (the keyboard is the caller's to give).
  void AnnounceRun();
  // The main button, by PromptState: 1 fly, 2 back to the menu, 3 set the stage up, 4 ask for a
  // retry, 5 name entry.
  void Command1_Click();
  // "終": back to the menu.
  void Command2_Click();
  // Closing from the title bar does nothing: the program alone hides and shows the prompt, so a
  // player is never stranded between flights. False: the window stays.
  bool QueryUnload() { return false; }

 private:
  // The main button's steps in each prompt state.
  void StartFlight();
  void SetUpStage();
  void AskForRetry();
  // "終" disabled and hidden.
  void HideEndButton();

  Module1& module1_;
  Form1& form1_;
  PromptLinks& links_;
};
