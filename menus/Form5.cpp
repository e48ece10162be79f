// The player select Form5 without a window.
#include "menus/Form5.h"

#include <string>

#include "flight/RunSetUp.h"
#include "scores/NameLength.h"
#include "scores/ScoreFile.h"

namespace {

constexpr char RegistrationTitle[] = "プレイヤー登録";
constexpr char NameLimit[] = "\r\n（16文字まで、漢字もOK）";

}  // namespace

Form5::Form5(Desktop& desktop, Module1& module1, Form1& form1, Form2& form2, Form4& form4)
    : FormModel(desktop),
      List1(*this),
      Command1(*this, "新規登録"),
      Command2(*this, "START"),
      Command3(*this, "戻る"),
      module1_(module1),
      form1_(form1),
      form2_(form2),
      form4_(form4) {
  SetTabOrder({&List1, &Command1, &Command2, &Command3});
}

void Form5::Form_Load() {
  Show();
  PlayerListUp();
}

void Form5::PlayerListUp() {
  const Module1& module1 = module1_;
  List1.Clear();
  for (const std::string& name : module1.PlayerNames) List1.AddItem(name);
  if (!module1.PlayerNames[0].empty() || module1.PlayerIndex != 0) List1.SetListIndex(module1.PlayerIndex);
  Command2.SetFocus();
}

void Form5::Command1_Click() {
  Module1& module1 = module1_;
  Platform& platform = module1_.platform;
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
  Module1& module1 = module1_;
  if (List1.Text().empty()) {
    module1_.platform.MessageBox("プレイヤーを選択してください！", AppTitle, MessageIcon::Exclamation);
    return;
  }
  module1.PlayerIndex = List1.ListIndex();
  Form1& form1 = form1_;
  form1.Label7.SetCaption("NAME");
  form1.Label6.SetCaption(module1.PlayerNames[static_cast<size_t>(module1.PlayerIndex)] + " ");
  BeginAttackRun(module1);

  Unload();
  form1.SetFocus();
  form2_.Hide();

  // Shown without the keyboard, which stays with the play screen.
  form4_.AnnounceRun();
  form1.GameInit();
}

void Form5::Command3_Click() {
  form2_.Show();
  Unload();
  // The menu's Show always brought it to the front with the keyboard; without that the keys of a
  // player who came back would go nowhere.
  form2_.SetFocus();
}
