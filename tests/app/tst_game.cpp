// Whole games through every window's model: stage results, the stage prompt's states, game over,
// rank checks, name entry, score-attack rankings, SUPER, the ways back to the menu, the saved bytes.
#include <QTest>

#include "flight/ResetPlayScreen.h"
#include "resources/Resources.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"

namespace {

using Answers = QStringList;
constexpr int32_t Stage5Landing = 2415;
// A level flight on stage 1 earns these course points before it crashes beyond the pad.
constexpr int32_t Stage1CrashCourse = 386;

// The ranking of a default file with `record` at `place` (1..10), the entries below moved down.
QByteArray RankingWith(int place, const QByteArray& record) {
  QByteArray bytes;
  for (int entry = 0; entry < 9; ++entry) bytes += (entry == place - 1 ? record : QByteArray()) + HouseEntry(entry);
  return place == 10 ? bytes + record : bytes;
}

QByteArray Houses() { return RankingWith(10, HouseEntry(9)); }

// `now` as a save over `before` leaves it: the old bytes beyond the new ones stay.
QByteArray Over(const QByteArray& before, const QByteArray& now) { return now + before.mid(now.size()); }

}  // namespace

class TestGame : public QObject {
  Q_OBJECT

 private slots:
  void normalRunClearsEveryStageAndRanks() {
    // Guards against a run that does not lead from stage to stage, loses a stage's result, ranks a
    // winning total wrongly, or saves and shows anything but the entered run.
    GameFixture s;
    const QByteArray firstFile = s.Read("MTScore.dat");
    s.menu.Command1_Click();
    QVERIFY(!s.menu.Visible() && s.prompt.Visible() && s.prompt.Active());
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("Stage1,Ready...|GO!!"));
    const std::array<int32_t, 5> landings = {2305, 2273, 2596, 2472, 2415};
    for (int stage = 1; stage <= 5; ++stage) {
      QCOMPARE(s.module1.PromptState, 1);
      Bitmap picture = LoadPicture(100 + stage);  // each stage flies over its own picture and pad
      picture.FillBox(171, 100, 196, 101, MakeRgb(255, 255, 0));
      QVERIFY(s.form1.Picture() == picture);
      s.NextFlightLands();
      s.PressPrompt();
      QCOMPARE(s.module1.RunStageScores[stage], landings[stage - 1]);
      if (stage == 5) break;
      // Stage is advanced at once, before the button is pressed.
      QCOMPARE(s.PromptText() + "|" + QString::number(s.module1.Stage) + QString::number(s.module1.PromptState),
               QStringLiteral("OK!! 次のステージへゴー!|%1").arg(stage + 1) + "3");
      s.PressPrompt();
      QCOMPARE(s.PromptText() + "|" + s.PromptButton() + "|" + Text(s.form1.Label1.Caption()),
               QStringLiteral("Stage%1, Ready...|GO!!|000\r\n000\r\n000").arg(stage + 1));
    }
    QCOMPARE(s.PromptText(), QStringLiteral("全面クリアー！！\r\nスコアは1206100点だっ。"));
    QCOMPARE(s.platform.sounds.back(), s.module1.AppFolder + "all.wav");
    QCOMPARE(s.Read("MTSCmemo.txt"), QByteArray("2026/12/06 9:05:07\r\n1206100 (230500/227300/259600/247200/241500)\r\n\r\n"));
    QCOMPARE(s.form1.RankResult, 1);
    QCOMPARE(s.module1.PromptState, 5);
    QCOMPARE(s.Read("MTScore.dat"), firstFile);  // nothing saved before the name is in

    s.platform.inputAnswers = {"ミナミ"};
    s.PressPrompt();
    QCOMPARE(s.platform.inputRequests.size(), size_t(1));
    QCOMPARE(Text(s.platform.inputRequests[0].prompt) + "|" + Text(s.platform.inputRequests[0].title),
             QStringLiteral("1位にランクインしました！\r\nお名前をどうぞ。（16文字まで、漢字もOK）|ランクインしたぞ"));
    QCOMPARE(s.Read("MTScore.dat").toHex(' '),
             (NoPlayers() + RankingWith(1, Record(3, "837e8369837e", {2305, 2273, 2596, 2472, 2415}))).toHex(' '));
    // The ranking window opens on the normal view, the new entry on top.
    Form3& ranking = s.game.form3();
    QVERIFY(ranking.Visible() && ranking.Active() && ranking.Option7.Value());
    QCOMPARE(Text(ranking.Picture1[0].Printed().at(0).text) + "|" + Text(ranking.Label4[0].Caption()) + "|" +
                 Text(ranking.Picture1[1].Printed().at(0).text),
             QStringLiteral("ミナミ|1206100|てんぷ亭"));
  }

  void normalRunEnds_data() {
    QTest::addColumn<bool>("clearsAll");  // all five stages cleared, or a crash on stage 1
    QTest::addColumn<int>("tenthTotal");  // 10th entry's total, every other entry far above; 0: defaults
    QTest::addColumn<bool>("memo");
    QTest::addColumn<int>("place");
    QTest::addColumn<QByteArray>("memoLine");
    const QByteArray crashLine = "38600 (38600/000/000/000/000)", clearLine = "1206100 (230500/227300/259600/247200/241500)";
    QTest::newRow("crash on stage 1, below the default 10th") << false << 0 << true << 0 << crashLine;
    QTest::newRow("crash on stage 1, its course points beat the 10th")
        << false << Stage1CrashCourse - 1 << true << 10 << crashLine;
    QTest::newRow("crash on stage 1, equal to the 10th") << false << Stage1CrashCourse << true << 0 << crashLine;
    QTest::newRow("crash with the memo box unticked") << false << 0 << false << 0 << QByteArray();
    QTest::newRow("all cleared, equal to the 10th") << true << 12061 << true << 0 << clearLine;
    QTest::newRow("all cleared, one above the 10th") << true << 12060 << true << 10 << clearLine;
  }
  void normalRunEnds() {
    // Guards against a crash that skips the memo or the rank check, a memo written when unticked, a
    // tie with the 10th entry that ranks, or an end that leads to the wrong next step.
    QFETCH(bool, clearsAll);
    QFETCH(int, tenthTotal);
    QFETCH(bool, memo);
    QFETCH(int, place);
    QFETCH(QByteArray, memoLine);
    GameFixture s;
    if (tenthTotal != 0) {
      for (auto& entry : s.module1.NormalScores) entry = {4000, 4000, 4000, 4000, 4000};
      s.module1.NormalScores[9] = {tenthTotal, 0, 0, 0, 0};
    }
    s.menu.Check2.SetValue(memo ? 1 : 0);
    s.menu.Command1_Click();
    for (int stage = 1; stage <= (clearsAll ? 5 : 1); ++stage) {
      if (clearsAll) s.NextFlightLands();
      s.PressPrompt();
      if (stage < 5 && clearsAll) s.PressPrompt();
    }
    QCOMPARE(s.PromptText(), clearsAll ? "全面クリアー！！\r\nスコアは1206100点だっ。" : "ゲームオーバー");
    QCOMPARE(s.form1.RankResult * 10 + s.module1.PromptState, place * 10 + (place ? 5 : 2));
    QVERIFY(s.prompt.Visible() && s.prompt.Active());
    QCOMPARE(s.Read("MTSCmemo.txt"), memoLine.isEmpty() ? QByteArray() : "2026/12/06 9:05:07\r\n" + memoLine + "\r\n\r\n");
    QCOMPARE(QFile::exists(s.File("MTSCmemo.txt")), memo);
    s.PressPrompt();
    QCOMPARE(s.platform.inputRequests.size(), size_t(place ? 1 : 0));  // the name entry, or the menu
    QCOMPARE(s.menu.Visible() && s.menu.Active() && !s.prompt.Visible(), place == 0);
  }

  void nameEntry_data() {
    QTest::addColumn<Answers>("answers");  // one per input box, in order
    QTest::addColumn<Answers>("offered");  // the text each box starts with
    QTest::addColumn<int>("length");       // the stored name's length byte and code page 932 bytes
    QTest::addColumn<QByteArray>("bytes");
    const QString sixteen = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ", seventeen = sixteen + "Q";
    const QByteArray sixteenBytes = "8260826182628263826482658266826782688269826a826b826c826d826e826f";
    const QString faces = QString("😀").repeated(8);  // 16 UTF-16 units
    QTest::newRow("16 full-width characters at once") << Answers{sixteen} << Answers{""} << 16 << sixteenBytes;
    QTest::newRow("17 refused, offered again, then shortened")
        << Answers{seventeen, sixteen} << Answers{"", seventeen} << 16 << sixteenBytes;
    QTest::newRow("refused twice") << Answers{seventeen, seventeen + "R", "a"} << Answers{"", seventeen, seventeen + "R"}
                                   << 1 << QByteArray("61");
    QTest::newRow("8 characters beyond the BMP count 16")
        << Answers{faces} << Answers{""} << 16 << QByteArray("3f").repeated(16);
    QTest::newRow("and one more is 17") << Answers{faces + "x", "y"} << Answers{"", faces + "x"} << 1 << QByteArray("79");
    QTest::newRow("Cancel stores an empty name") << Answers{} << Answers{""} << 0 << QByteArray();
  }
  void nameEntry() {
    // Guards against a name limit counted in bytes or characters instead of UTF-16 units, a
    // refused name not offered again, or a cancelled entry that drops the run.
    QFETCH(Answers, answers);
    QFETCH(Answers, offered);
    QFETCH(int, length);
    QFETCH(QByteArray, bytes);
    GameFixture s;
    const QByteArray before = s.Read("MTScore.dat");
    for (const QString& answer : answers) s.platform.inputAnswers.push_back(answer.toStdString());
    s.module1.RunStageScores = {0, 10, 20, 30, 40, 50};
    s.form1.RankResult = 3;
    s.form1.LankinNormal();
    QCOMPARE(s.platform.inputRequests.size(), size_t(offered.size()));
    for (qsizetype i = 0; i < offered.size(); ++i) {
      QCOMPARE(Text(s.platform.inputRequests[size_t(i)].defaultText), offered[i]);
      QVERIFY(Text(s.platform.inputRequests[size_t(i)].prompt).startsWith("3位にランクインしました！\r\n"));
    }
    QCOMPARE(s.platform.messages.size(), size_t(offered.size() - 1));
    for (const auto& message : s.platform.messages)
      QCOMPARE(Text(message.text) + "|" + Text(message.title) + "|" + QString::number(int(message.icon)),
               QStringLiteral("名前が長すぎます！|Morvane-Tesk|%1").arg(int(MessageIcon::Exclamation)));
    const QByteArray record = Record(length, bytes.constData(), {10, 20, 30, 40, 50});
    QCOMPARE(s.Read("MTScore.dat").toHex(' '), Over(before, NoPlayers() + RankingWith(3, record)).toHex(' '));
    QVERIFY(s.game.Form3Loaded() && s.game.form3().Active());
  }

  void scoreAttackGame() {
    // Guards against a ranking landing that is not saved or shown, a crash that is never ranked
    // although its course points count, or a retry that keeps the crashed craft or the "終" button.
    GameFixture s;
    s.Choose(s.menu.Option2);
    s.menu.Combo1.SetListIndex(4);
    s.menu.Combo1_Click();
    s.menu.Command1_Click();
    QVERIFY(s.game.Form5Loaded() && s.game.form5().Active() && !s.menu.Visible());
    s.platform.inputAnswers = {"テスト"};
    s.game.form5().Command1_Click();
    s.game.form5().Command2_Click();
    QVERIFY(!s.game.Form5Loaded() && s.prompt.Visible() && s.form1.Active());  // the play screen has the keys
    QCOMPARE(s.PromptText() + "|" + s.PromptButton() + "|" + Text(s.form1.Label7.Caption()) + "|" +
                 Text(s.form1.Label6.Caption()),
             QStringLiteral("Stage5,Ready...|GO!!|NAME|テスト "));
    const QByteArray houses = Houses();
    s.NextFlightLands();
    s.PressPrompt();
    QCOMPARE(s.PromptText() + QString::number(s.module1.PromptState), QStringLiteral("1位にランクイン！！4"));
    const QByteArray ranked = PlayerRecord(3, "836583588367", {{60, 559}, {61, 1856}}) + NoPlayers(7) + houses;
    QCOMPARE(s.Read("MTScore.dat").toHex(' '), ranked.toHex(' '));
    QCOMPARE(Text(s.form1.Label3[0].Caption()), QStringLiteral("241500"));

    s.PressPrompt();
    QCOMPARE(s.PromptText() + "|" + s.PromptButton() + QString::number(s.module1.PromptState), "もっかいやります？|OK3");
    QVERIFY(s.prompt.Command2.Visible() && s.prompt.Command2.Enabled() && s.prompt.Active());
    s.PressPrompt();
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("Stage5, Ready...|GO!!"));
    QVERIFY(!s.prompt.Command2.Visible() && !s.prompt.Command2.Enabled());
    s.PressPrompt();  // no key: a crash worth nothing on stage 5
    QCOMPARE(s.PromptText(), QStringLiteral("ランクインせず…"));
    QCOMPARE(s.Read("MTScore.dat"), ranked);
    s.PressPrompt();
    s.PressPrompt();  // OK again: the crashed craft is a small white square once more
    const ShapeControl& ship = s.form1.Ship;
    QCOMPARE((QList<int>{int(ship.Shape()), ship.Width(), ship.Height(), int(ship.FillColor()), ship.Visible()}),
             (QList<int>{int(ShapeKind::Square), 4, 4, 0xffffff, 1}));

    GameFixture crash;  // stage 1 without a key: a crash whose course points still rank
    crash.module1.PlayerNames[0] = "A";
    crash.Choose(crash.menu.Option2);
    crash.menu.Command1_Click();
    crash.game.form5().Command2_Click();
    crash.PressPrompt();
    QCOMPARE(crash.PromptText(), QStringLiteral("1位にランクイン！！"));
    QCOMPARE(crash.module1.AttackBest[0], Stage1CrashCourse);
    QCOMPARE(crash.Read("MTScore.dat").toHex(' '),
             (PlayerRecord(1, "41", {{2, Stage1CrashCourse}}) + NoPlayers(7) + houses).toHex(' '));
  }

  void superScoreAttack_data() {
    QTest::addColumn<int>("highScore");  // the player's best on stage 5 before the landing of 2415
    QTest::addColumn<QString>("message");
    QTest::newRow("beaten") << 2000 << "Stage5,ハイスコア更新！！";
    QTest::newRow("equalled") << Stage5Landing << "ランクインせず…\r\nハイスコアまであと000点";
    QTest::newRow("missed by 85") << 2500 << "ランクインせず…\r\nハイスコアまであと8500点";
  }
  void superScoreAttack() {
    // Guards against SUPER sums taken from the wrong places, an equal score entered as a new best, or
    // a new best that is not saved into 1st place.
    QFETCH(int, highScore);
    GameFixture s;
    s.module1.PlayerNames[2] = "P";
    s.module1.PlayerIndex = 2;
    auto& scores = s.module1.AttackScores[2];
    for (int stage = 1; stage <= 4; ++stage) scores[size_t((stage - 1) * 15 + 1)] = 100 * stage;  // place 1
    scores[size_t(2 * 15 + 3)] = 7777;  // place 2 of stage 3 counts nowhere
    scores[60] = highScore - 100;
    scores[61] = 60;
    scores[62] = 40;
    s.Choose(s.menu.Option2);
    s.menu.Check1.SetValue(1);
    s.menu.Check1_Click();
    QCOMPARE(s.module1.GameMode, 0);  // SUPER is decided at START
    s.menu.Combo1.SetListIndex(4);
    s.menu.Combo1_Click();
    s.menu.Command1_Click();
    QCOMPARE(s.module1.GameMode, 3);
    s.game.form5().Command2_Click();
    QCOMPARE(s.module1.HighScore * 10000 + s.module1.OtherStagesBest, highScore * 10000 + 1000);
    QCOMPARE(s.module1.LandingPoints, (std::array<int32_t, 11>{highScore, highScore - 100, 60, 40, 100, 200, 300, 400,
                                                               highScore, 1000 + highScore, 0}));
    const QByteArray file = s.Read("MTScore.dat");
    s.NextFlightLands();
    s.PressPrompt();
    QTEST(s.PromptText(), "message");
    QCOMPARE(s.module1.PromptState, 4);
    const bool beaten = highScore < Stage5Landing;
    QCOMPARE(s.form1.HighScoreUpdated, int(beaten));
    const QByteArray player2 =
        PlayerRecord(1, "50", {{1, 100}, {16, 200}, {31, 300}, {33, 7777}, {46, 400}, {60, 559}, {61, 1856}, {62, 0},
                               {63, highScore - 100}, {64, 60}, {65, 40}});
    // Only a new best is saved.
    QCOMPARE(s.Read("MTScore.dat").toHex(' '),
             (beaten ? NoPlayers(2) + player2 + NoPlayers(5) + Houses() : file).toHex(' '));
    QCOMPARE(Text(s.form1.Label3[7].Caption()), QString::number(1000 + std::max(highScore, Stage5Landing)) + "00");
  }

  void waysBackToTheMenu_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("reset");  // the play screen back to its idle look
    QTest::newRow("the ranking window's 戻る") << "ranking" << true;
    QTest::newRow("the ranking window's title bar") << "ranking close" << true;
    QTest::newRow("the retry question's 終") << "終" << true;
    QTest::newRow("OK after a run that did not rank") << "unranked" << true;
    QTest::newRow("the player select's 戻る") << "player select" << false;
    QTest::newRow("the player select's title bar") << "player select close" << false;
  }
  void waysBackToTheMenu() {
    // Guards against a way back that leaves the menu hidden or without the keyboard or its settings,
    // the window it left loaded, the play screen as it was, or a player registered on this visit
    // forgotten.
    QFETCH(QString, way);
    GameFixture s;
    const auto played = [&] {  // what the play screen shows until a reset
      s.form1.Label4.SetCaption("GO!!");
      s.module1.LandingPoints[3] = 7;
    };
    s.Choose(s.menu.Option2);
    s.menu.Combo1.SetListIndex(2);
    s.menu.Combo1_Click();
    if (way.startsWith("ranking")) {
      s.Choose(s.menu.Option3);
      s.menu.Command1_Click();
      played();
      way == "ranking" ? s.game.form3().Command1_Click() : s.game.form3().QueryUnload();
    } else if (way.startsWith("player select")) {
      s.menu.Command1_Click();
      s.platform.inputAnswers = {"A", "B"};
      s.game.form5().Command1_Click();
      s.game.form5().Command1_Click();
      played();
      way == "player select" ? s.game.form5().Command3_Click() : s.game.form5().QueryUnload();
    } else if (way == "終") {
      s.module1.PlayerNames[0] = "P";
      s.menu.Command1_Click();
      s.game.form5().Command2_Click();
      s.PressPrompt();  // a crash, not ranked
      s.PressPrompt();  // the retry question
      played();
      s.prompt.Command2_Click();
      QCOMPARE(s.module1.PromptState, 3);
    } else {
      s.Choose(s.menu.Option1);
      s.menu.Command1_Click();
      s.module1.NormalTotals.fill(100000);
      s.PressPrompt();  // a crash
      played();
      s.PressPrompt();  // OK: not ranked
    }
    QFETCH(bool, reset);
    QVERIFY(s.menu.Visible() && s.menu.Active() && !s.prompt.Visible());
    QVERIFY(!s.game.Form3Loaded() && !s.game.Form5Loaded());
    QCOMPARE(Text(s.form1.Label4.Caption()) + QString::number(s.module1.LandingPoints[3]),
             reset ? "Morvane-Tesk0" : "GO!!7");
    QVERIFY(s.menu.Combo1.Text() == "STAGE 3");
    if (way.startsWith("player select")) {
      QCOMPARE(s.module1.PlayerIndex, 1);
      s.menu.Command1_Click();
      QCOMPARE(s.game.form5().List1.ListIndex(), 1);  // loaded afresh, the last player selected
    }
  }

  void playScreenReset_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("picture");
    QTest::newRow("normal mode shows the empty chart") << 1 << 100;
    QTest::newRow("score attack keeps its stage") << 2 << 103;
    QTest::newRow("SUPER keeps its stage") << 3 << 103;
    QTest::newRow("high-score view shows the empty chart") << 4 << 100;
  }
  void playScreenReset() {
    // Guards against a reset that leaves the crash circle, a score or a name behind, drops the
    // mode caption, or changes the picture a score attack keeps.
    QFETCH(int, mode);
    QFETCH(int, picture);
    GameFixture s;
    s.module1.GameMode = mode;
    s.module1.Stage = 3;
    s.form1.SetPicture(103);
    s.form1.GameInit();
    s.form1.Label5.SetCaption("SCORE");
    s.form1.Label6.SetCaption("P ");
    s.form1.Label7.SetCaption("NAME");
    s.form1.Label3[15].SetCaption("Total ");
    s.form1.Ship.Move(180, 98);
    s.form1.LandingFailed();
    s.module1.LandingPoints.fill(9);
    ResetPlayScreen(s.form1, s.module1);
    const ShapeControl& ship = s.form1.Ship;
    QCOMPARE((QList<int>{ship.Visible(), int(ship.Shape()), int(ship.FillColor()), int(ship.BorderColor()), ship.Width(),
                         ship.Height(), ship.Left(), ship.Top()}),
             (QList<int>{0, int(ShapeKind::Square), 0xffffff, 0, 4, 4, 53, 36}));
    QString texts;
    for (const LabelControl* label : {&s.form1.Label4, &s.form1.Label1, &s.form1.Label6, &s.form1.Label7, &s.form1.Label5})
      texts += Text(label->Caption()) + "|";
    for (const LabelControl& label : s.form1.Label3) texts += Text(label.Caption());
    QCOMPARE(texts, QStringLiteral("Morvane-Tesk||||SCORE|"));
    QCOMPARE(s.module1.LandingPoints, (std::array<int32_t, 11>{}));
    Bitmap expected = LoadPicture(picture);
    if (picture != 100) expected.FillBox(171, 100, 196, 101, MakeRgb(255, 255, 0));  // its pad stays too
    QVERIFY(s.form1.Picture() == expected);
  }

  void promptStaysUntilItsButton() {
    // Guards against a prompt that the title bar can close (stranding the player between flights)
    // or an unknown state that does something.
    GameFixture s;
    s.prompt.Show();
    QVERIFY(!s.prompt.QueryUnload());
    s.module1.PromptState = 0;
    s.PressPrompt();
    QVERIFY(!s.prompt.Visible() && s.menu.Visible() && s.platform.yields == 0);
  }
};

QTEST_APPLESS_MAIN(TestGame)
#include "tst_game.moc"
