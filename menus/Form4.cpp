// The stage prompt Form4 without a window.
#include "menus/Form4.h"

#include <string>

#include "shell/Game.h"
#include "shell/ResetPlayScreen.h"

namespace {

// The three criteria back at zero on the play screen.
constexpr char ZeroPoints[] = "000\r\n000\r\n000";

}  // namespace

Form4::Form4(Game& game)
    : FormModel(game.desktop), Label1(*this), Command1(*this, "OK"), Command2(*this, "終"), game_(game) {
  Command2.SetEnabled(false);
  Command2.SetVisible(false);
  SetTabOrder({&Command1, &Command2});
}

void Form4::AnnounceRun() {
  game_.module1.PromptState = 1;
  Label1.SetCaption("Stage" + std::to_string(game_.module1.Stage) + ",Ready...");
  Command1.SetCaption("GO!!");
  Show();
}

void Form4::Command1_Click() {
  Module1& module1 = game_.module1;
  Form1& form1 = game_.form1;
  Hide();
  switch (module1.PromptState) {
    case 1:
      form1.Label4.SetCaption("GO!!");
      Command1.SetCaption("OK");
      form1.SetFocus();
      form1.GameMain();
      break;
    case 2:
      ResetPlayScreen(game_);
      game_.form2.Show();
      game_.form2.SetFocus();
      break;
    case 3:
      Command2.SetEnabled(false);
      Command2.SetVisible(false);
      Label1.SetCaption("Stage" + std::to_string(module1.Stage) + ", Ready...");
      Command1.SetCaption("GO!!");
      form1.Label1.SetCaption(ZeroPoints);
      module1.PromptState = 1;
      // A crash left an orange circle.
      form1.Ship.SetShape(ShapeKind::Square);
      form1.Ship.SetFillColor(MakeRgb(255, 255, 255));
      form1.Ship.SetBorderColor(SystemColour::WindowText);
      form1.Ship.SetWidth(4);
      form1.Ship.SetHeight(4);
      form1.GameInit();
      Show();
      SetFocus();
      break;
    case 4:
      Label1.SetCaption("もっかいやります？");
      form1.Label1.SetCaption(ZeroPoints);
      module1.PromptState = 3;
      Command2.SetEnabled(true);
      Command2.SetVisible(true);
      Show();
      SetFocus();
      break;
    case 5: form1.LankinNormal(); break;
    default: break;
  }
}

void Form4::Command2_Click() {
  Command2.SetEnabled(false);
  Command2.SetVisible(false);
  Hide();
  ResetPlayScreen(game_);
  game_.form2.Show();
  game_.form2.SetFocus();
}
