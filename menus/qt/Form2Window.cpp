// The main menu's window: a fixed-size dialog centred on the screen, laid out in twips.
#include "menus/qt/Form2Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "menus/qt/Twips.h"

Form2Window::Form2Window(Form2& model)
    : FormWindow(model, nullptr, FixedDialogFlags) {
  setWindowTitle(QStringLiteral("Morvane-Tesk Menu"));
  SetClientSize(FromTwips(2805), FromTwips(3585));
  setFont(GothicFont(9));

  AddLabel(model.Label1, TwipsRect(120, 120, 2535, 255), Qt::AlignHCenter | Qt::AlignTop, font())
      ->setObjectName("Label1");
  auto* frame = new QGroupBox(QStringLiteral("メインメニュー"), this);
  frame->setObjectName("Frame1");
  frame->setGeometry(TwipsRect(120, 480, 2535, 2535));

  // Created in tab order: Qt tabs in the order widgets were made.
  QRadioButton* option1 = AddOption(model.Option1, TwipsRect(240, 240, 1935, 180), frame);
  option1->setObjectName("Option1");
  option1->setToolTip(QStringLiteral("全5面をプレイするモードです"));
  QRadioButton* option2 = AddOption(model.Option2, TwipsRect(240, 960, 1935, 180), frame);
  option2->setObjectName("Option2");
  option2->setToolTip(QStringLiteral("1つの面をひたすらスコアアタックするモードです"));
  AddButton(model.Command1, TwipsRect(240, 3120, 975, 375), [&model] {
    model.Command1_Click();
  })->setObjectName("Command1");
  QCheckBox* check1 =
      AddCheck(model.Check1, TwipsRect(600, 1200, 1455, 375), frame, [&model] { model.Check1_Click(); });
  check1->setObjectName("Check1");
  check1->setToolTip(QStringLiteral("1位のスコアを出したときのみランキングされるようになります"));
  AddDropDownList(model.Combo1, TwipsRect(600, 1680, 1455, 300), frame, [&model] {
    model.Combo1_Click();
  })->setObjectName("Combo1");
  QRadioButton* option3 = AddOption(model.Option3, TwipsRect(240, 2160, 2055, 255), frame);
  option3->setObjectName("Option3");
  option3->setToolTip(QStringLiteral("ハイスコアを見ます"));
  // On the window itself, drawn over the frame just below the normal mode.
  QCheckBox* check2 = AddCheck(model.Check2, TwipsRect(720, 960, 1455, 375), nullptr, {});
  check2->setObjectName("Check2");
  check2->setToolTip(QStringLiteral("ノーマルモードのスコアメモファイルを自動生成します"));
  check2->raise();
  AddButton(model.Command2, TwipsRect(1560, 3120, 975, 375), [&model] {
    model.Command2_Click();
  })->setObjectName("Command2");

  SetDefaultButton(model.Command1);
  SetCloseHandler([&model] { model.QueryUnload(); });
  CentreOnScreen();
  Attach();
}
