// The main menu Form2 without a window.
#include "menus/Form2.h"

#include <string>

#include "flight/RunSetUp.h"
#include "shell/EndProgram.h"

namespace {

using Colour::Red;
using Colour::Yellow;
constexpr char NormalCaption[] = "NORMAL\r\nMODE";
constexpr char AttackCaption[] = "SCORE\r\nATTACK\r\nMODE";
constexpr char SuperCaption[] = "SUPER\r\nSCORE\r\nATTACK!!";
constexpr int NoStagePicture = 100;

// Stage 1..5 of a stage-list item, 0 for any other text.
int32_t StageOfItem(const std::string& text) {
  for (int32_t stage = 1; stage <= 5; ++stage)
    if (text == "STAGE " + std::to_string(stage)) return stage;
  return 0;
}

}  // namespace

Form2::Form2(Desktop& desktop, Module1& module1, Form1& form1, Form4& form4, MenuLinks& links)
    : FormModel(desktop),
      Label1(*this),
      Option1(*this, Frame1, "ノーマルモード"),
      Option2(*this, Frame1, "スコアアタックモード"),
      Option3(*this, Frame1, "ハイスコアを見る"),
      Check1(*this, "SUPERモード"),
      Combo1(*this),
      Check2(*this, "自動スコアメモ"),
      Command1(*this, "START"),
      Command2(*this, "終了"),
      module1_(module1),
      form1_(form1),
      form4_(form4),
      links_(links) {
  Label1.SetCaption("LET'S LANDING!!");
  Option1.SetValue(true);
  Check2.SetValue(1);
  SetTabOrder({&Option1, &Option2, &Command1, &Check1, &Combo1, &Option3, &Check2, &Command2});
}

void Form2::Form_Load() {
  for (int stage = 1; stage <= 5; ++stage) Combo1.AddItem("STAGE " + std::to_string(stage));
  Combo1.SelectText("STAGE 1");
}

void Form2::ControlGotFocus(Control& control) {
  if (&control == &Option1) Option1_GotFocus();
  if (&control == &Option2) Option2_GotFocus();
  if (&control == &Option3) Option3_GotFocus();
}

void Form2::ShowModeCaption(const char* caption, Rgb colour) {
  form1_.Label5.SetCaption(caption);
  form1_.Label5.SetForeColor(colour);
}

void Form2::Option1_GotFocus() {
  Check1.SetEnabled(false);
  Combo1.SetEnabled(false);
  Check2.SetEnabled(true);
  form1_.SetPicture(NoStagePicture);
  ShowModeCaption(NormalCaption, Yellow);
}

void Form2::Option2_GotFocus() {
  Check1.SetEnabled(true);
  Combo1.SetEnabled(true);
  Check2.SetEnabled(false);
  SelectStage();
  if (Check1.Value() == 0)
    ShowModeCaption(AttackCaption, Yellow);
  else
    ShowModeCaption(SuperCaption, Red);
}

void Form2::Option3_GotFocus() {
  Check1.SetEnabled(false);
  Combo1.SetEnabled(false);
  Check2.SetEnabled(false);
  form1_.Label5.SetCaption("");
  form1_.SetPicture(NoStagePicture);
}

void Form2::Check1_Click() {
  if (Check1.Value() == 1)
    ShowModeCaption(SuperCaption, Red);
  else
    ShowModeCaption(AttackCaption, Yellow);
}

void Form2::Combo1_Click() { SelectStage(); }

void Form2::SelectStage() {
  const int32_t stage = StageOfItem(Combo1.Text());
  module1_.Stage = stage != 0 ? stage : 1;
  form1_.SetPicture(NoStagePicture + stage);
}

void Form2::Command1_Click() {
  Module1& module1 = module1_;
  if (Option1.Value()) {
    module1.GameMode = 1;
    module1.Stage = 1;
  } else if (Option2.Value()) {
    if (const int32_t stage = StageOfItem(Combo1.Text()); stage != 0) module1.Stage = stage;
    module1.GameMode = Check1.Value() == 1 ? 3 : 2;
  } else if (Option3.Value()) {
    module1.GameMode = 4;
    links_.OpenRanking();
    return;
  }

  if (module1.GameMode == 2 || module1.GameMode == 3) {
    links_.OpenPlayerSelect();
    return;
  }

  BeginNormalRun(form1_, module1, Check2.Value() == 1 ? 1 : 0);
  Hide();
  form1_.GameInit();
  form4_.AnnounceRun();
  form4_.SetFocus();
}

void Form2::Command2_Click() {
  Hide();
  Platform& platform = module1_.platform;
  platform.MessageBox("寝る前には歯を磨こう！！", "お疲れ様でした", MessageIcon::None);
  platform.PlaySound("", SoundFlag::Async);
  EndProgramAtOnce(module1_);
}
