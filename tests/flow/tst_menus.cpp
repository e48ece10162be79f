// The main menu and the player select through their models: enabling and preview, START in each
// mode, registration and its messages, the row rule, START without a player, and back.
#include <QTest>

#include "Session.h"
#include "menus/Form5.h"
#include "resources/Resources.h"
#include "viewer/Form3.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Messages(const ScriptedPlatform& platform) {
  QStringList shown;
  for (const auto& message : platform.messages)
    shown << Text(message.text) + (message.icon == MessageIcon::Exclamation ? "(!)" : "") + "/" +
                 Text(message.title);
  return shown.join("|");
}

}  // namespace

class TestMenus : public QObject {
  Q_OBJECT

 private slots:
  void choicePreviewsOnPlayScreen_data() {
    QTest::addColumn<QList<int>>("path");  // options selected one after the other, from the normal mode
    QTest::addColumn<bool>("super");       // ticked (and clicked) while on score attack
    QTest::addColumn<int>("stageItem");    // position picked in the stage list while on score attack
    QTest::addColumn<QString>("enabled");  // Check1, Combo1, Check2 at the end
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<uint>("colour");
    const QString attack = "SCORE\r\nATTACK\r\nMODE", super = "SUPER\r\nSCORE\r\nATTACK!!";
    QTest::newRow("normal mode at start")
        << QList<int>{} << false << 0 << "001" << 100 << "NORMAL\r\nMODE" << 0xffff00u;
    QTest::newRow("score attack") << QList<int>{2} << false << 3 << "110" << 104 << attack << 0xffff00u;
    QTest::newRow("SUPER score attack") << QList<int>{2} << true << 0 << "110" << 101 << super << 0xff0000u;
    QTest::newRow("SUPER unticked again")
        << QList<int>{2} << false << 1 << "110" << 102 << attack << 0xffff00u;
    // The high-score view clears the caption and keeps the colour the last choice gave it.
    QTest::newRow("high scores after SUPER")
        << QList<int>{2, 3} << true << 1 << "000" << 100 << "" << 0xff0000u;
    QTest::newRow("high scores from the normal mode")
        << QList<int>{3} << false << 0 << "000" << 100 << "" << 0xffff00u;
    QTest::newRow("back to normal from high scores")
        << QList<int>{3, 1} << false << 0 << "001" << 100 << "NORMAL\r\nMODE" << 0xffff00u;
    QTest::newRow("back to normal from SUPER")
        << QList<int>{2, 1} << true << 4 << "001" << 100 << "NORMAL\r\nMODE" << 0xffff00u;
  }
  void choicePreviewsOnPlayScreen() {
    // Guards against a dependent control usable in the wrong mode, or a preview that shows another
    // stage or mode than the one that START will play.
    QFETCH(QList<int>, path);
    QFETCH(bool, super);
    QFETCH(int, stageItem);
    Session s;
    Form2& menu = s.menu;
    QVERIFY(menu.Option1.HasFocus());  // the first control that takes the keyboard
    for (int option : path) {
      s.Choose(option == 1 ? menu.Option1 : option == 2 ? menu.Option2 : menu.Option3);
      if (option != 2) continue;
      menu.Check1.SetValue(super ? 1 : 0);
      if (super) menu.Check1_Click();
      menu.Combo1.SetListIndex(stageItem);
      menu.Combo1_Click();
    }
    const QString enabled = QString::number(menu.Check1.Enabled()) + QString::number(menu.Combo1.Enabled()) +
                            QString::number(menu.Check2.Enabled());
    QTEST(enabled, "enabled");
    QFETCH(int, picture);
    QVERIFY(s.form1.Picture() == LoadPicture(picture));
    QTEST(Text(s.form1.Label5.Caption()), "caption");
    QTEST(uint(s.form1.Label5.ForeColor()), "colour");
  }

  void startInEachMode_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("super");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("window");  // which window takes over
    QTest::newRow("normal always from stage 1") << 1 << true << 1 << 1 << "prompt";
    QTest::newRow("score attack on the listed stage") << 2 << false << 2 << 4 << "player select";
    QTest::newRow("SUPER on the listed stage") << 2 << true << 3 << 4 << "player select";
    QTest::newRow("high scores, the stage untouched") << 3 << false << 4 << 2 << "ranking";
  }
  void startInEachMode() {
    // Guards against a mode or stage decided before START, a normal run not from stage 1, or START
    // handing over to the wrong window.
    QFETCH(int, option);
    QFETCH(bool, super);
    Session s;
    Form2& menu = s.menu;
    s.Choose(menu.Option2);
    menu.Combo1.SetListIndex(3);  // "STAGE 4", picked without a click: START reads the list itself
    menu.Check1.SetValue(super ? 1 : 0);
    s.Choose(option == 1 ? menu.Option1 : option == 2 ? menu.Option2 : menu.Option3);
    s.module1.Stage = 2;
    menu.Command1_Click();
    QTEST(s.module1.GameMode, "mode");
    QTEST(s.module1.Stage, "stage");
    QVERIFY(!menu.Visible());
    QFETCH(QString, window);
    const FormModel* active = s.game.desktop.ActiveForm();
    QCOMPARE(active == &s.prompt                                 ? "prompt"
             : s.game.Form5Loaded() && active == &s.game.form5() ? "player select"
             : s.game.Form3Loaded() && active == &s.game.form3() ? "ranking"
                                                                 : "?",
             window);
  }

  void normalStartReadsTheRankingAndTheMemoBoxAnew() {
    // Guards against totals or a memo choice left over from an earlier run.
    Session s;
    s.form1.TotalScore = 999;
    s.module1.RunStageScores = {0, 1, 2, 3, 4, 5};
    s.module1.NormalScores[9] = {1, 2, 3, 4, 5};
    s.menu.Check2.SetValue(0);
    s.menu.Command1_Click();
    QCOMPARE(s.module1.AutoMemo, 0);
    QCOMPARE(s.form1.TotalScore, 0);
    QCOMPARE(s.module1.RunStageScores, (std::array<int32_t, 6>{}));
    QCOMPARE(s.module1.NormalTotals,
             (std::array<int32_t, 11>{10000, 9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 15, 0}));
    s.module1.NormalScores[0] = {-2147483647 - 1, -1, 0, 0, 0};  // a sum a loaded file can hold
    s.module1.NormalScores[1] = {2147483647, 1, 0, 0, 0};
    s.menu.Check2.SetValue(1);
    s.menu.Command1_Click();
    QCOMPARE(s.module1.AutoMemo, 1);
    QCOMPARE(s.module1.NormalTotals[0], -2147483647 - 1);  // held at the ends, never wrapped round
    QCOMPARE(s.module1.NormalTotals[1], 2147483647);
  }

  void registration_data() {
    QTest::addColumn<int>("registered");  // players already there, slots 0.. in order
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("stored");  // "" when nothing is stored
    QTest::addColumn<QString>("messages");
    const QString sixteen = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ";
    const QString tooLong = "プレイヤー名が長すぎます！(!)/Morvane-Tesk";
    QTest::newRow("16 characters") << 0 << QStringList{sixteen} << sixteen << "";
    QTest::newRow("17, then 16") << 2 << QStringList{sixteen + "Q", sixteen} << sixteen << tooLong;
    QTest::newRow("beyond the BMP counts two")
        << 0 << QStringList{QString("😀").repeated(8) + "a", "b"} << "b" << tooLong;
    QTest::newRow("only spaces are a name") << 0 << QStringList{"   "} << "   "
                                            << "";
    QTest::newRow("Cancel") << 1 << QStringList{} << ""
                            << "登録はキャンセルされました。/Morvane-Tesk";
    QTest::newRow("too long, then Cancel")
        << 0 << QStringList{sixteen + "QR"} << "" << tooLong + "|登録はキャンセルされました。/Morvane-Tesk";
    QTest::newRow("eight players") << 8 << QStringList{"x"} << ""
                                   << "8人までしか登録できません！(!)/Morvane-Tesk";
  }
  void registration() {
    // Guards against a name limit counted wrongly, a cancelled or refused name that is stored, a
    // ninth player, or a registration that is not saved and selected at once.
    QFETCH(int, registered);
    QFETCH(QStringList, answers);
    QFETCH(QString, stored);
    Session s;
    for (int slot = 0; slot < registered; ++slot)
      s.module1.PlayerNames[size_t(slot)] = "Same";          // duplicates are fine
    s.module1.AttackScores[size_t(registered % 8)][0] = 77;  // a free slot keeps its values
    for (const QString& answer : answers) s.platform.inputAnswers.push_back(answer.toStdString());
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    const ScoreTables before = s.module1;
    const QByteArray file = s.ReadFile("MTScore.dat");
    select.Command1_Click();
    QTEST(Messages(s.platform), "messages");
    if (!s.platform.inputRequests.empty()) {
      QCOMPARE(Text(s.platform.inputRequests[0].prompt),
               QStringLiteral("新規プレイヤーの名前を入れてください\r\n（16文字まで、漢字もOK）"));
      QCOMPARE(Text(s.platform.inputRequests[0].title), QStringLiteral("プレイヤー登録"));
      for (size_t i = 1; i < s.platform.inputRequests.size(); ++i) {
        QCOMPARE(Text(s.platform.inputRequests[i].prompt),
                 QStringLiteral("新規プレイヤーの名前を入力してください\r\n（16文字まで、漢字もOK）"));
        QCOMPARE(Text(s.platform.inputRequests[i].defaultText), answers[qsizetype(i - 1)]);
      }
    }
    ScoreTables expected = before;
    if (!stored.isEmpty()) expected.PlayerNames[size_t(registered)] = stored.toStdString();
    QVERIFY(static_cast<const ScoreTables&>(s.module1) == expected);
    QCOMPARE(s.ReadFile("MTScore.dat"), stored.isEmpty() ? file : Session::SavedOver(file, expected));
    QCOMPARE(s.module1.PlayerIndex, stored.isEmpty() ? 0 : registered);
    QCOMPARE(select.List1.ListCount(), 8);
    QCOMPARE(Text(select.List1.Text()), stored.isEmpty() ? (registered ? "Same" : "") : stored);
    QVERIFY(select.Command2.HasFocus());
  }

  void playerRows_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("playerIndex");
    QTest::addColumn<int>("selected");
    QTest::newRow("no player yet: nothing selected") << QStringList{} << 0 << -1;
    QTest::newRow("a player in row 0") << QStringList{"A"} << 0 << 0;
    QTest::newRow("last started player in row 2") << QStringList{"A", "B", "C"} << 2 << 2;
    QTest::newRow("row 0 free but another chosen") << QStringList{"", "B"} << 1 << 1;
  }
  void playerRows() {
    // Guards against a list that loses empty rows (and with them the player's slot) or selects a
    // row when nobody is registered.
    QFETCH(QStringList, names);
    QFETCH(int, playerIndex);
    Session s;
    for (qsizetype i = 0; i < names.size(); ++i) s.module1.PlayerNames[size_t(i)] = names[i].toStdString();
    s.module1.PlayerIndex = playerIndex;
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    QCOMPARE(select.List1.ListCount(), 8);
    QTEST(select.List1.ListIndex(), "selected");
    QVERIFY(select.Visible() && select.Command2.HasFocus());
  }

  void startWithoutPlayer_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("no row selected") << -1 << false;
    QTest::newRow("empty row") << 3 << false;
    QTest::newRow("double-click on an empty row") << 3 << true;
  }
  void startWithoutPlayer() {
    // Guards against a score attack started for nobody.
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    Session s;
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    select.List1.SetListIndex(row);
    if (doubleClick)
      select.List1_DblClick();
    else
      select.Command2_Click();
    QCOMPARE(Messages(s.platform), QStringLiteral("プレイヤーを選択してください！(!)/Morvane-Tesk"));
    QVERIFY(s.game.Form5Loaded() && select.Visible() && !s.prompt.Visible());
  }

  void attackStartFillsTheBestOfTheStage() {
    // Guards against AttackBest taken from another stage, place or player, or a total summed wrongly.
    Session s;
    s.module1.PlayerNames[1] = "B";
    s.module1.PlayerIndex = 1;
    s.module1.Stage = 2;
    auto& scores = s.module1.AttackScores[1];
    for (size_t k = 0; k < 75; ++k) scores[k] = int32_t(k);  // stage 2 holds 15..29
    s.form1.TotalScore = 55;
    s.Choose(s.menu.Option2);
    s.menu.Combo1.SetListIndex(1);
    s.menu.Command1_Click();
    s.game.form5().Command2_Click();
    QCOMPARE(s.module1.AttackBest, (std::array<int32_t, 11>{48, 15, 16, 17, 57, 66, 75, 84, 0, 0, 0}));
    QCOMPARE(s.module1.LandingPoints, (std::array<int32_t, 11>{48, 15, 16, 17, 57, 66, 75, 84, 0, 0, 0}));
    QCOMPARE(s.form1.TotalScore, 55);  // a score attack leaves the normal run's total alone
    QCOMPARE(Text(s.form1.Label3[7].Caption()), QStringLiteral("Stage 2"));
  }

  void exitSaysGoodbyeAndEnds_data() {
    QTest::addColumn<bool>("titleBar");
    QTest::newRow("終了") << false;
    QTest::newRow("the title bar's close") << true;
  }
  void exitSaysGoodbyeAndEnds() {
    // Guards against an exit without its farewell, with a sound still playing, or that goes on
    // running (and writing) after the box.
    QFETCH(bool, titleBar);
    Session s;
    const QByteArray file = s.ReadFile("MTScore.dat");
    if (titleBar)
      QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, s.menu.QueryUnload());
    else
      QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, s.menu.Command2_Click());
    QCOMPARE(Messages(s.platform), QStringLiteral("寝る前には歯を磨こう！！/お疲れ様でした"));
    QVERIFY(!s.menu.Visible());
    QCOMPARE(s.platform.sounds, std::vector<std::string>{""});
    QCOMPARE(s.ReadFile("MTScore.dat"), file);
  }

  void backFromPlayerSelect() {
    // Guards against a back that leaves the menu hidden or without the keys, or forgets a player
    // registered on this visit.
    Session s;
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    s.platform.inputAnswers = {"A", "B"};
    s.game.form5().Command1_Click();
    s.game.form5().Command1_Click();
    s.game.form5().QueryUnload();  // the title bar's close does what "戻る" does
    QVERIFY(!s.game.Form5Loaded() && s.menu.Visible() && s.menu.Active());
    QCOMPARE(s.module1.PlayerIndex, 1);
    s.menu.Command1_Click();
    QCOMPARE(s.game.form5().List1.ListIndex(), 1);  // loaded afresh, the last player selected
  }
};

QTEST_APPLESS_MAIN(TestMenus)
#include "tst_menus.moc"
