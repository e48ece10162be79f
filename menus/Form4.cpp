// The stage prompt Form4 without a window.
#include "menus/Form4.h"

#include <string>

namespace {

// The three criteria back at zero on the play screen.
constexpr char ZeroPoints[] = "000\r\n000\r\n000";

}  // namespace

Form4::Form4(Desktop& desktop, Module1& module1, Form1& form1, PromptLinks& links)
    : FormModel(desktop),
      Label1(*this),
      Command1(*this, "OK"),
      Command2(*this, "終"),
      module1_(module1),
      form1_(form1),
      links_(links) {
  HideEndButton();
  SetTabOrder({&Command1, &Command2});
}

void Form4::AnnounceRun() {
  module1_.PromptState = 1;
  Label1.SetCaption("Stage" + std::to_string(module1_.Stage) + ",Ready...");
  Command1.SetCaption("GO!!");
  Show();
}

void Form4::Command1_Click() {
  Hide();
  switch (module1_.PromptState) {
    case 1: StartFlight(); break;
    case 2: links_.BackToMenu(); break;
    case 3: SetUpStage(); break;
    case 4: AskForRetry(); break;
    case 5: form1_.LankinNormal(); break;
    default: break;
  }
}

void Form4::StartFlight() {
  form1_.Label4.SetCaption("GO!!");
  Command1.SetCaption("OK");
  form1_.SetFocus();
  form1_.GameMain();
}

void Form4::SetUpStage() {
  HideEndButton();
  Label1.SetCaption("Stage" + std::to_string(module1_.Stage) + ", Ready...");
  Command1.SetCaption("GO!!");
  form1_.Label1.SetCaption(ZeroPoints);
  module1_.PromptState = 1;
  // A crash left an orange circle.
  form1_.RestoreShipLook();
  form1_.GameInit();
  Show();
  SetFocus();
}

void Form4::AskForRetry() {
  Label1.SetCaption("もっかいやります？");
  form1_.Label1.SetCaption(ZeroPoints);
  module1_.PromptState = 3;
  Command2.SetEnabled(true);
  Command2.SetVisible(true);
  Show();
  SetFocus();
}

void Form4::HideEndButton() {
  Command2.SetEnabled(false);
  Command2.SetVisible(false);
}

void Form4::Command2_Click() {
  HideEndButton();
  Hide();
  links_.BackToMenu();
}
