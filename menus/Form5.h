// The player select Form5 without a window: the eight players, registration, and START of a
// score attack for the selected player.
#pragma once

#include "controls/Controls.h"
#include "flight/Form1.h"
#include "menus/Form2.h"
#include "menus/Form4.h"

class Form5 : public FormModel {
 public:
  Form5(Desktop& desktop, Module1& module1, Form1& form1, Form2& form2, Form4& form4);

  ListControl List1;       // one row per player slot 0..7, empty rows for free slots
  ButtonControl Command1;  // "新規登録"
  ButtonControl Command2;  // "START"; the default button
  ButtonControl Command3;  // "戻る"

  // Refills the eight rows, selects the player last chosen, and gives the keyboard to START.
  void PlayerListUp();
  // Registers a new player in the lowest free slot.
  void Command1_Click();
  // START of the score attack for the selected row.
  void Command2_Click();
  void List1_DblClick() { Command2_Click(); }
  // Back to the menu.
  void Command3_Click();
  // Closing the window from its title bar goes back as "戻る" does.
  void QueryUnload() { Command3_Click(); }

 protected:
  void Form_Load() override;

 private:
  Module1& module1_;
  Form1& form1_;
  Form2& form2_;
  Form4& form4_;
};
