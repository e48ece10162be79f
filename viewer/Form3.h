// The ranking window Form3 without a window: the normal ranking, a player's stage top five and a
// player's total, as captions, colours and text printed into picture boxes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "controls/Controls.h"
#include "shell/Module1.h"
#include "viewer/RankingLinks.h"

class Form3 : public FormModel {
 public:
  Form3(Desktop& desktop, const Module1& module1, RankingLinks& links);

  OptionGroup Frame1;     // the option buttons of the frame on the left
  OptionControl Option7;  // "ノーマルモード": the normal view
  LabelControl Label1;    // "スコアアタック"
  ListControl Combo1;     // the eight player names, a drop-down list
  OptionControl Option1;  // "STAGE1" .. "STAGE5": a player's stage view
  OptionControl Option2;
  OptionControl Option3;
  OptionControl Option4;
  OptionControl Option5;
  OptionControl Option6;                    // "TOTAL": a player's total view
  ButtonControl Command1;                   // "戻る"
  LabelControl Label2;                      // the view's title
  PictureControl Picture2;                  // the player's name
  LabelControl Label6;                      // column heading of the normal view
  std::array<LabelControl, 10> Label7;      // rank numbers
  std::array<PictureControl, 10> Picture1;  // row names
  std::array<LabelControl, 10> Label4;      // row totals
  std::array<LabelControl, 10> Label5;      // detail lines

  void Option7_Click();
  void Option1_Click() { ShowAttackStage(1); }
  void Option2_Click() { ShowAttackStage(2); }
  void Option3_Click() { ShowAttackStage(3); }
  void Option4_Click() { ShowAttackStage(4); }
  void Option5_Click() { ShowAttackStage(5); }
  void Option6_Click();
  void Combo1_Click();
  // Back to the menu.
  void Command1_Click();
  // Closing the window from its title bar goes back as "戻る" does.
  void QueryUnload() { Command1_Click(); }
  // The stage view of `stage` 1..5 for the player selected in the list.
  void ShowAttackStage(int32_t stage);

 protected:
  void Form_Load() override;

 private:
  // The list's selected position, which is always a player slot 0..7.
  size_t SelectedPlayer() const;
  // Steps shared by the stage and total views: every row and heading emptied, the title set.
  void ClearForAttackView();
  // The player's name at 16 pt, or at 9 pt and 5 pixels lower when wider than its box; never cut.
  void PrintPlayerHeading(size_t player);

  const Module1& module1_;
  RankingLinks& links_;
};
