// The main menu and the player select through their models: enabling and preview, START in each
// mode, registration and its messages, the row rule, START without a player, and the exit.
#include <QTest>

#include "resources/Resources.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"

namespace {

QString Messages(const ScriptedPlatform& platform) {
  QStringList shown;
  for (const auto& message : platform.messages)
    shown << Text(message.text) + (message.icon == MessageIcon::Exclamation ? "(!)" : "") + "/" + Text(message.title);
  return shown.join("|");
}

}  // namespace

class TestMenus : public QObject {
  Q_OBJECT

 private slots:
  void choicePreviewsOnPlayScreen_data() {
    RowsFromFixture("menu-previews.txt", {"path", "super", "stageItem", "enabled", "picture", "caption", "colour"});
  }
  void choicePreviewsOnPlayScreen() {
    // Guards against a dependent control usable in the wrong mode, or a preview that shows another
    // stage or mode than the one that START will play.
    QFETCH(QString, path);
    QFETCH(QString, super);
    QFETCH(QString, stageItem);
    QFETCH(QString, picture);
    QFETCH(QString, colour);
    GameFixture s;
    Form2& menu = s.menu;
    QVERIFY(menu.Option1.HasFocus());  // the first control that takes the keyboard
    for (int option : Numbers(path)) {
      s.Choose(option == 1 ? menu.Option1 : option == 2 ? menu.Option2 : menu.Option3);
      if (option != 2) continue;
      menu.Check1.SetValue(super == "y" ? 1 : 0);
      if (super == "y") menu.Check1_Click();
      menu.Combo1.SetListIndex(stageItem.toInt());
      menu.Combo1_Click();
    }
    QTEST(QString::number(menu.Check1.Enabled()) + QString::number(menu.Combo1.Enabled()) +
              QString::number(menu.Check2.Enabled()),
          "enabled");
    QVERIFY(s.form1.Picture() == LoadPicture(picture.toInt()));
    QTEST(Text(s.form1.Label5.Caption()), "caption");
    QCOMPARE(s.form1.Label5.ForeColor(), colour.toUInt(nullptr, 16));
  }

  void startInEachMode_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("super");
    QTest::addColumn<QString>("started");  // GameMode, Stage, and the window that takes over
    QTest::newRow("normal always from stage 1") << 1 << true << "1 1 prompt";
    QTest::newRow("score attack on the listed stage") << 2 << false << "2 4 player select";
    QTest::newRow("SUPER on the listed stage") << 2 << true << "3 4 player select";
    QTest::newRow("high scores, the stage untouched") << 3 << false << "4 2 ranking";
  }
  void startInEachMode() {
    // Guards against a mode or stage decided before START, a normal run not from stage 1, or START
    // handing over to the wrong window.
    QFETCH(int, option);
    QFETCH(bool, super);
    GameFixture s;
    Form2& menu = s.menu;
    s.Choose(menu.Option2);
    menu.Combo1.SetListIndex(3);  // "STAGE 4", picked without a click: START reads the list itself
    menu.Check1.SetValue(super ? 1 : 0);
    s.Choose(option == 1 ? menu.Option1 : option == 2 ? menu.Option2 : menu.Option3);
    s.module1.Stage = 2;
    menu.Command1_Click();
    QVERIFY(!menu.Visible());
    const FormModel* active = s.game.desktop.ActiveForm();
    const QString window = active == &s.prompt                                 ? "prompt"
                           : s.game.Form5Loaded() && active == &s.game.form5() ? "player select"
                           : s.game.Form3Loaded() && active == &s.game.form3() ? "ranking"
                                                                               : "?";
    QTEST(QStringLiteral("%1 %2 ").arg(s.module1.GameMode).arg(s.module1.Stage) + window, "started");
  }

  void normalStartReadsTheRankingAndTheMemoBoxAnew() {
    // Guards against totals or a memo choice left over from an earlier run, or totals of loaded
    // scores that wrap round.
    GameFixture s;
    s.form1.TotalScore = 999;
    s.module1.RunStageScores = {0, 1, 2, 3, 4, 5};
    s.module1.NormalScores[9] = {1, 2, 3, 4, 5};
    s.menu.Check2.SetValue(0);
    s.menu.Command1_Click();
    QCOMPARE(s.module1.AutoMemo * 1000 + s.form1.TotalScore, 0);
    QCOMPARE(s.module1.RunStageScores, (std::array<int32_t, 6>{}));
    QCOMPARE(s.module1.NormalTotals, (std::array<int32_t, 11>{10000, 9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 15, 0}));
    s.module1.NormalScores[0] = {-2147483647 - 1, -1, 0, 0, 0};  // a sum a loaded file can hold
    s.module1.NormalScores[1] = {2147483647, 1, 0, 0, 0};
    s.menu.Check2.SetValue(1);
    s.menu.Command1_Click();
    QCOMPARE(s.module1.AutoMemo, 1);
    QCOMPARE(s.module1.NormalTotals[0], -2147483647 - 1);  // held at the ends, never wrapped round
    QCOMPARE(s.module1.NormalTotals[1], 2147483647);
  }

  void registration_data() {
    RowsFromFixture("registrations.txt", {"registered", "answers", "stored", "bytes", "messages"});
  }
  void registration() {
    // Guards against a name limit counted wrongly, a cancelled or refused name that is stored, a
    // ninth player, or a registration that is not saved and selected at once.
    QFETCH(QString, registered);
    QFETCH(QString, answers);
    QFETCH(QString, stored);
    QFETCH(QString, bytes);
    const int players = registered.toInt();
    const QStringList typed = answers.isEmpty() ? QStringList() : answers.split('/');
    GameFixture s;
    for (int slot = 0; slot < players; ++slot) s.module1.PlayerNames[size_t(slot)] = "Same";  // duplicates are fine
    s.module1.AttackScores[size_t(players % 8)][0] = 77;  // a free slot keeps its values
    for (const QString& answer : typed) s.platform.inputAnswers.push_back(answer.toStdString());
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    const QByteArray file = s.Read("MTScore.dat");
    ScoreTables expected = s.module1;
    select.Command1_Click();
    QTEST(Messages(s.platform), "messages");
    for (size_t i = 0; i < s.platform.inputRequests.size(); ++i) {
      const auto& request = s.platform.inputRequests[i];
      QCOMPARE(Text(request.prompt), (i ? QStringLiteral("新規プレイヤーの名前を入力してください")
                                         : QStringLiteral("新規プレイヤーの名前を入れてください")) +
                                         "\r\n（16文字まで、漢字もOK）");
      QCOMPARE(Text(request.title) + "|" + Text(request.defaultText), "プレイヤー登録|" + (i ? typed[qsizetype(i - 1)] : ""));
    }
    if (!stored.isEmpty()) expected.PlayerNames[size_t(players)] = stored.toStdString();
    QVERIFY(static_cast<const ScoreTables&>(s.module1) == expected);
    QCOMPARE(s.module1.PlayerIndex, stored.isEmpty() ? 0 : players);
    QCOMPARE(select.List1.ListCount(), 8);
    QCOMPARE(Text(select.List1.Text()), stored.isEmpty() ? (players ? "Same" : "") : stored);
    QVERIFY(select.Command2.HasFocus());
    // Saved at once: the players in their slots, the new one's free slot keeping its 77.
    QByteArray saved;
    for (int slot = 0; slot < 8; ++slot)
      saved += slot < players ? PlayerRecord(4, "53616d65")
               : slot == players && !stored.isEmpty()
                   ? PlayerRecord(int(stored.size()), bytes.toLatin1().constData(), {{0, 77}})
                   : PlayerRecord(0, "", {{0, slot == players % 8 ? 77 : 0}});
    QCOMPARE(s.Read("MTScore.dat").toHex(' '), (stored.isEmpty() ? file : saved + file.mid(2408)).toHex(' '));
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
    GameFixture s;
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
    GameFixture s;
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    select.List1.SetListIndex(row);
    doubleClick ? select.List1_DblClick() : select.Command2_Click();
    QCOMPARE(Messages(s.platform), QStringLiteral("プレイヤーを選択してください！(!)/Morvane-Tesk"));
    QVERIFY(s.game.Form5Loaded() && select.Visible() && !s.prompt.Visible());
  }

  void attackStartFillsTheBestOfTheStage() {
    // Guards against AttackBest taken from another stage, place or player, or a total summed wrongly.
    GameFixture s;
    s.module1.PlayerNames[1] = "B";
    s.module1.PlayerIndex = 1;
    auto& scores = s.module1.AttackScores[1];
    for (size_t k = 0; k < 75; ++k) scores[k] = int32_t(k);  // stage 2 holds 15..29
    s.form1.TotalScore = 55;
    s.Choose(s.menu.Option2);
    s.menu.Combo1.SetListIndex(1);
    s.menu.Command1_Click();
    s.game.form5().Command2_Click();
    const std::array<int32_t, 11> best{48, 15, 16, 17, 57, 66, 75, 84, 0, 0, 0};
    QCOMPARE(s.module1.AttackBest, best);
    QCOMPARE(s.module1.LandingPoints, best);
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
    GameFixture s;
    const QByteArray file = s.Read("MTScore.dat");
    if (titleBar)
      QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, s.menu.QueryUnload());
    else
      QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, s.menu.Command2_Click());
    QCOMPARE(Messages(s.platform), QStringLiteral("寝る前には歯を磨こう！！/お疲れ様でした"));
    QVERIFY(!s.menu.Visible());
    QCOMPARE(s.platform.sounds, std::vector<std::string>{""});
    QCOMPARE(s.Read("MTScore.dat"), file);
  }
};

QTEST_APPLESS_MAIN(TestMenus)
#include "tst_menus.moc"
