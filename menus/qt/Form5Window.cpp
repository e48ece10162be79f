// The player select's window: a fixed-size dialog centred on the screen, laid out in twips.
#include "menus/qt/Form5Window.h"

#include <QListWidget>
#include <QPushButton>

#include "menus/qt/Twips.h"

Form5Window::Form5Window(Form5& model)
    : FormWindow(model, nullptr, FixedDialogFlags) {
  setWindowTitle(QStringLiteral("プレイヤーセレクト"));
  SetClientSize(FromTwips(2475), FromTwips(3015));
  setFont(GothicFont(9));
  AddListBox(model.List1, TwipsRect(240, 720, 1935, 1500), [&model] {
    model.List1_DblClick();
  })->setObjectName("List1");
  AddButton(model.Command1, TwipsRect(720, 120, 975, 375), [&model] {
    model.Command1_Click();
  })->setObjectName("Command1");
  AddButton(model.Command2, TwipsRect(240, 2520, 975, 375), [&model] {
    model.Command2_Click();
  })->setObjectName("Command2");
  AddButton(model.Command3, TwipsRect(1320, 2520, 975, 375), [&model] {
    model.Command3_Click();
  })->setObjectName("Command3");
  SetDefaultButton(model.Command2);
  SetCloseHandler([&model] { model.QueryUnload(); });
  CentreOnScreen();
  Attach();
}
