// The main menu Form2 without a window: the mode, stage and memo choices, the preview on the play
// screen, START and the exit.
#pragma once

#include "controls/Controls.h"
#include "flight/Form1.h"
#include "menus/Form4.h"
#include "menus/MenuLinks.h"

class Form2 : public FormModel {
 public:
  Form2(Desktop& desktop, Module1& module1, Form1& form1, Form4& form4, MenuLinks& links);

  LabelControl Label1;     // "LET'S LANDING!!"
  OptionGroup Frame1;      // the option buttons of the "メインメニュー" frame
  OptionControl Option1;   // normal mode
  OptionControl Option2;   // score attack
  OptionControl Option3;   // high scores
  CheckControl Check1;     // SUPER
  ListControl Combo1;      // stage 1..5, a drop-down list
  CheckControl Check2;     // automatic score memo
  ButtonControl Command1;  // START; the default button
  ButtonControl Command2;  // exit

  void Option1_GotFocus();
  void Option2_GotFocus();
  void Option3_GotFocus();
  void Check1_Click();
  void Combo1_Click();
  // Stage and preview picture from the stage list.
  void SelectStage();
  void Command1_Click();
  // The farewell, silence, and the end of the program.
  [[noreturn]] void Command2_Click();
  // Closing the menu from its title bar ends the game as "終了" does.
  [[noreturn]] void QueryUnload() { Command2_Click(); }

 protected:
  void Form_Load() override;
  void ControlGotFocus(Control& control) override;

 private:
  // The mode banner of the play screen, lines joined by CR LF.
  void ShowModeCaption(const char* caption, Rgb colour);

  Module1& module1_;
  Form1& form1_;
  Form4& form4_;
  MenuLinks& links_;
};
