// The player select Form5 without a window.
#include "menus/Form5.h"

#include <string>

#include "scores/NameLength.h"
#include "scores/ScoreFile.h"
#include "shell/Game.h"
#include "shell/RunSetUp.h"

namespace {

constexpr char RegistrationTitle[] = "プレイヤー登録";
constexpr char NameLimit[] = "\r\n（16文字まで、漢字もOK）";

}  // namespace

Form5::Form5(Game& game)
    : FormModel(game.desktop),
      List1(*this),
      Command1(*this, "新規登録"),
      Command2(*this, "START"),
      Command3(*this, "戻る"),
      game_(game) {
  SetTabOrder({&List1, &Command1, &Command2, &Command3});
}

void Form5::Form_Load() {
  Show();
  PlayerListUp();
}

void Form5::PlayerListUp() {
  const Module1& module1 = game_.module1;
  List1.Clear();
  for (const std::string& name : module1.PlayerNames) List1.AddItem(name);
  if (!module1.PlayerNames[0].empty() || module1.PlayerIndex != 0) List1.SetListIndex(module1.PlayerIndex);
  Command2.SetFocus();
}

void Form5::Command1_Click() {
  Module1& module1 = game_.module1;
  Platform& platform = game_.platform();
  size_t freeSlot = 0;
  while (freeSlot < module1.PlayerNames.size() && !module1.PlayerNames[freeSlot].empty()) ++freeSlot;
  if (freeSlot == module1.PlayerNames.size()) {
    platform.MessageBox("8人までしか登録できません！", AppTitle, MessageIcon::Exclamation);
    return;
  }

  std::string name = platform.InputBox(std::string("新規プレイヤーの名前を入れてください") + NameLimit,
                                       RegistrationTitle, "");
  for (;;) {
    if (name.empty()) {
      platform.MessageBox("登録はキャンセルされました。", AppTitle, MessageIcon::None);
      return;
    }
    if (Utf16Length(name) <= MaxNameLength) break;
    platform.MessageBox("プレイヤー名が長すぎます！", AppTitle, MessageIcon::Exclamation);
    name = platform.InputBox(std::string("新規プレイヤーの名前を入力してください") + NameLimit,
                             RegistrationTitle, name);
  }
  module1.PlayerNames[freeSlot] = name;
  module1.PlayerIndex = static_cast<int32_t>(freeSlot);
  SaveScoreFile(module1);
  PlayerListUp();
}

void Form5::Command2_Click() {
  Module1& module1 = game_.module1;
  if (List1.Text().empty()) {
    game_.platform().MessageBox("プレイヤーを選択してください！", AppTitle, MessageIcon::Exclamation);
    return;
  }
  module1.PlayerIndex = List1.ListIndex();
  Form1& form1 = game_.form1;
  form1.Label7.SetCaption("NAME");
  form1.Label6.SetCaption(module1.PlayerNames[static_cast<size_t>(module1.PlayerIndex)] + " ");
  BeginAttackRun(game_);

  Unload();
  form1.SetFocus();
  game_.form2.Hide();

  // Shown without the keyboard, which stays with the play screen.
  game_.form4.AnnounceRun();
  form1.GameInit();
}

void Form5::Command3_Click() {
  game_.form2.Show();
  Unload();
  // The menu's Show always brought it to the front with the keyboard; without that the keys of a
  // player who came back would go nowhere.
  game_.form2.SetFocus();
}
