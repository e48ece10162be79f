// Whole games through the window models: stage results, the stage prompt's states, game over,
// rank checks, name entry, score-attack rankings, SUPER, the play-screen reset, the saved bytes.
#include <QTest>

#include "Session.h"
#include "menus/Form5.h"
#include "resources/Resources.h"
#include "flight/ResetPlayScreen.h"
#include "viewer/Form3.h"

namespace {

using Answers = QStringList;

constexpr int32_t Stage1Landing = 2305, Stage5Landing = 2415;
constexpr std::array<int32_t, 5> LandingPerStage = {2305, 2273, 2596, 2472, 2415};
// A level flight on stage 1 earns these course points before it crashes beyond the pad.
constexpr int32_t Stage1CrashCourse = 386;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class TestGameFlow : public QObject {
  Q_OBJECT

 private slots:
  void normalRunClearsEveryStageAndRanks() {
    // Guards against a run that does not lead from stage to stage, loses a stage's result, ranks a
    // winning total wrongly, or saves and shows anything but the entered run.
    Session s;
    const QByteArray firstFile = s.ReadFile("MTScore.dat");
    s.menu.Command1_Click();
    QVERIFY(!s.menu.Visible() && s.prompt.Visible() && s.prompt.Active());
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("Stage1,Ready...|GO!!"));

    for (int stage = 1; stage <= 5; ++stage) {
      QCOMPARE(s.module1.PromptState, 1);
      Bitmap picture = LoadPicture(100 + stage);  // each stage flies over its own picture and pad
      picture.FillBox(171, 100, 196, 101, MakeRgb(255, 255, 0));
      QVERIFY(s.form1.Picture() == picture);
      s.NextFlightLands();
      s.PressPrompt();
      QCOMPARE(s.module1.RunStageScores[stage], LandingPerStage[stage - 1]);
      if (stage == 5) break;
      // Stage is advanced at once, before the button is pressed.
      QCOMPARE(s.PromptText(), QStringLiteral("OK!! 次のステージへゴー!"));
      QCOMPARE(s.module1.Stage, stage + 1);
      QCOMPARE(s.module1.PromptState, 3);
      s.PressPrompt();
      QCOMPARE(s.PromptText() + "|" + s.PromptButton(),
               QStringLiteral("Stage%1, Ready...|GO!!").arg(stage + 1));
      QCOMPARE(Text(s.form1.Label1.Caption()), QStringLiteral("000\r\n000\r\n000"));
    }
    QCOMPARE(s.PromptText(), QStringLiteral("全面クリアー！！\r\nスコアは1206100点だっ。"));
    QCOMPARE(s.platform.sounds.back(), s.module1.AppFolder + "all.wav");
    QCOMPARE(s.ReadFile("MTSCmemo.txt"),
             QByteArray("2026/12/06 9:05:07\r\n1206100 (230500/227300/259600/247200/241500)\r\n\r\n"));
    QCOMPARE(s.form1.RankResult, 1);
    QCOMPARE(s.module1.PromptState, 5);
    QCOMPARE(s.ReadFile("MTScore.dat"), firstFile);  // nothing saved before the name is in

    s.platform.inputAnswers = {"ミナミ"};
    s.PressPrompt();
    QCOMPARE(s.platform.inputRequests.size(), size_t(1));
    QCOMPARE(Text(s.platform.inputRequests[0].prompt),
             QStringLiteral("1位にランクインしました！\r\nお名前をどうぞ。（16文字まで、漢字もOK）"));
    QCOMPARE(Text(s.platform.inputRequests[0].title), QStringLiteral("ランクインしたぞ"));
    ScoreTables expected = DefaultTables();
    std::rotate(expected.NormalNames.rbegin(), expected.NormalNames.rbegin() + 1,
                expected.NormalNames.rend());
    std::rotate(expected.NormalScores.rbegin(), expected.NormalScores.rbegin() + 1,
                expected.NormalScores.rend());
    expected.NormalNames[0] = "ミナミ";
    expected.NormalScores[0] = LandingPerStage;
    QCOMPARE(s.ReadFile("MTScore.dat").toHex(' '), Session::SavedOver(firstFile, expected).toHex(' '));

    // The ranking window opens on the normal view, the new entry on top.
    QVERIFY(s.game.Form3Loaded());
    Form3& ranking = s.game.form3();
    QVERIFY(ranking.Visible() && ranking.Active() && ranking.Option7.Value());
    QCOMPARE(Text(ranking.Picture1[0].Printed().at(0).text), QStringLiteral("ミナミ"));
    QCOMPARE(Text(ranking.Label4[0].Caption()), QStringLiteral("1206100"));
    QCOMPARE(Text(ranking.Picture1[1].Printed().at(0).text), QStringLiteral("てんぷ亭"));
  }

  void normalRunEnds_data() {
    QTest::addColumn<bool>("clearsAll");  // all five stages cleared, or a crash on stage 1
    QTest::addColumn<int>("tenthTotal");  // 10th entry's total, every other entry far above; 0: defaults
    QTest::addColumn<bool>("memo");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("place");
    QTest::addColumn<QByteArray>("memoLine");
    const QString gameOver = "ゲームオーバー", cleared = "全面クリアー！！\r\nスコアは1206100点だっ。";
    const QByteArray crashLine = "38600 (38600/000/000/000/000)",
                     clearLine = "1206100 (230500/227300/259600/247200/241500)";
    QTest::newRow("crash on stage 1, below the default 10th")
        << false << 0 << true << gameOver << 0 << crashLine;
    QTest::newRow("crash on stage 1, its course points beat the 10th")
        << false << Stage1CrashCourse - 1 << true << gameOver << 10 << crashLine;
    QTest::newRow("crash on stage 1, equal to the 10th")
        << false << Stage1CrashCourse << true << gameOver << 0 << crashLine;
    QTest::newRow("crash with the memo box unticked") << false << 0 << false << gameOver << 0 << QByteArray();
    QTest::newRow("all cleared, equal to the 10th") << true << 12061 << true << cleared << 0 << clearLine;
    QTest::newRow("all cleared, one above the 10th") << true << 12060 << true << cleared << 10 << clearLine;
  }
  void normalRunEnds() {
    // Guards against a crash that skips the memo or the rank check, a memo written when unticked, a
    // tie with the 10th entry that ranks, or an end that leads to the wrong next step.
    QFETCH(bool, clearsAll);
    QFETCH(int, tenthTotal);
    QFETCH(bool, memo);
    QFETCH(int, place);
    QFETCH(QByteArray, memoLine);
    Session s;
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
    QTEST(s.PromptText(), "message");
    QCOMPARE(s.form1.RankResult, place);
    QCOMPARE(s.module1.PromptState, place ? 5 : 2);
    QVERIFY(s.prompt.Visible() && s.prompt.Active());
    QCOMPARE(s.ReadFile("MTSCmemo.txt"),
             memoLine.isEmpty() ? QByteArray() : "2026/12/06 9:05:07\r\n" + memoLine + "\r\n\r\n");
    QCOMPARE(QFile::exists(s.FilePath("MTSCmemo.txt")), memo);

    s.PressPrompt();
    if (place) {
      QCOMPARE(s.platform.inputRequests.size(), size_t(1));  // the name entry
      return;
    }
    // Back to the menu with the play screen idle again.
    QVERIFY(s.menu.Visible() && s.menu.Active() && !s.prompt.Visible());
    QVERIFY(s.platform.inputRequests.empty());
    QCOMPARE(Text(s.form1.Label4.Caption()), QStringLiteral("Morvane-Tesk"));
    QVERIFY(s.form1.Picture() == LoadPicture(100));
  }

  void nameEntry_data() {
    QTest::addColumn<Answers>("answers");  // one per input box, in order
    QTest::addColumn<QString>("stored");
    QTest::addColumn<Answers>("offered");  // the text each box starts with
    const QString sixteen = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ", seventeen = sixteen + "Q";
    const QString faces = QString("😀").repeated(8);  // 16 UTF-16 units
    QTest::newRow("16 full-width characters at once") << Answers{sixteen} << sixteen << Answers{""};
    QTest::newRow("17 refused, offered again, then shortened")
        << Answers{seventeen, sixteen} << sixteen << Answers{"", seventeen};
    QTest::newRow("refused twice") << Answers{seventeen, seventeen + "R", "a"} << "a"
                                   << Answers{"", seventeen, seventeen + "R"};
    QTest::newRow("8 characters beyond the BMP count 16") << Answers{faces} << faces << Answers{""};
    QTest::newRow("and one more is 17") << Answers{faces + "x", "y"} << "y" << Answers{"", faces + "x"};
    QTest::newRow("Cancel stores an empty name") << Answers{} << "" << Answers{""};
  }
  void nameEntry() {
    // Guards against a name limit counted in bytes or characters instead of UTF-16 units, a
    // refused name not offered again, or a cancelled entry that drops the run.
    QFETCH(Answers, answers);
    QFETCH(QString, stored);
    QFETCH(Answers, offered);
    Session s;
    const QByteArray before = s.ReadFile("MTScore.dat");
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
    for (const auto& message : s.platform.messages) {
      QCOMPARE(Text(message.text) + "|" + Text(message.title),
               QStringLiteral("名前が長すぎます！|Morvane-Tesk"));
      QCOMPARE(message.icon, MessageIcon::Exclamation);
    }
    ScoreTables expected = DefaultTables();
    std::rotate(expected.NormalNames.begin() + 2, expected.NormalNames.end() - 1, expected.NormalNames.end());
    std::rotate(expected.NormalScores.begin() + 2, expected.NormalScores.end() - 1,
                expected.NormalScores.end());
    expected.NormalNames[2] = stored.toStdString();
    expected.NormalScores[2] = {10, 20, 30, 40, 50};
    QCOMPARE(s.ReadFile("MTScore.dat").toHex(' '), Session::SavedOver(before, expected).toHex(' '));
    QVERIFY(s.game.Form3Loaded() && s.game.form3().Active());
  }

  void scoreAttackGame() {
    // Guards against a ranking landing that is not saved or shown, a retry that keeps the crashed
    // craft or the "終" button, or a "終" that does not bring back the menu with its settings.
    Session s;
    s.Choose(s.menu.Option2);
    s.menu.Combo1.SetListIndex(4);
    s.menu.Combo1_Click();
    s.menu.Command1_Click();
    QVERIFY(s.game.Form5Loaded() && s.game.form5().Active() && !s.menu.Visible());
    s.platform.inputAnswers = {"テスト"};
    s.game.form5().Command1_Click();
    s.game.form5().Command2_Click();
    QVERIFY(!s.game.Form5Loaded());
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("Stage5,Ready...|GO!!"));
    QVERIFY(s.prompt.Visible() && s.form1.Active());  // the play screen has the keys
    QCOMPARE(Text(s.form1.Label7.Caption()) + "|" + Text(s.form1.Label6.Caption()),
             QStringLiteral("NAME|テスト "));
    const QByteArray registered = s.ReadFile("MTScore.dat");

    s.NextFlightLands();
    s.PressPrompt();
    QCOMPARE(s.PromptText(), QStringLiteral("1位にランクイン！！"));
    QCOMPARE(s.module1.PromptState, 4);
    ScoreTables expected = DefaultTables();
    expected.PlayerNames[0] = "テスト";
    expected.AttackScores[0][60] = 559;  // stage 5, place 1: softness, control, course
    expected.AttackScores[0][61] = 1856;
    expected.AttackScores[0][62] = 0;
    QCOMPARE(s.ReadFile("MTScore.dat").toHex(' '), Session::SavedOver(registered, expected).toHex(' '));
    QCOMPARE(Text(s.form1.Label3[0].Caption()), QStringLiteral("241500"));

    s.PressPrompt();
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("もっかいやります？|OK"));
    QVERIFY(s.prompt.Command2.Visible() && s.prompt.Command2.Enabled() && s.prompt.Active());
    QCOMPARE(s.module1.PromptState, 3);
    s.PressPrompt();
    QCOMPARE(s.PromptText() + "|" + s.PromptButton(), QStringLiteral("Stage5, Ready...|GO!!"));
    QVERIFY(!s.prompt.Command2.Visible() && !s.prompt.Command2.Enabled());

    s.PressPrompt();  // no key: a crash worth nothing on stage 5
    QCOMPARE(s.PromptText(), QStringLiteral("ランクインせず…"));
    const QByteArray afterCrash = s.ReadFile("MTScore.dat");
    QCOMPARE(afterCrash, Session::SavedOver(registered, expected));
    s.PressPrompt();
    s.PressPrompt();  // OK again: the crashed craft is a small white square once more
    const ShapeControl& ship = s.form1.Ship;
    QCOMPARE(
        (QList<int>{int(ship.Shape()), ship.Width(), ship.Height(), int(ship.FillColor()), ship.Visible()}),
        (QList<int>{int(ShapeKind::Square), 4, 4, 0xffffff, 1}));
    s.PressPrompt();
    s.PressPrompt();
    s.prompt.Command2_Click();
    QVERIFY(!s.prompt.Visible() && s.menu.Visible() && s.menu.Active());
    QCOMPARE(s.module1.PromptState, 3);
    QVERIFY(s.form1.Picture() == LoadPicture(105));  // the stage stays on the play screen
    QCOMPARE(Text(s.form1.Label5.Caption()), QStringLiteral("SCORE\r\nATTACK\r\nMODE"));
    QVERIFY(s.menu.Option2.Value() && s.menu.Combo1.Text() == "STAGE 5");
    QCOMPARE(Text(s.form1.Label6.Caption() + s.form1.Label7.Caption() + s.form1.Label3[0].Caption()),
             QString());
  }

  void attackCrashStillRanks() {
    // Guards against a crash in score attack that is never ranked, although its course points count.
    Session s;
    s.module1.PlayerNames[0] = "A";
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    s.game.form5().Command2_Click();
    const QByteArray before = s.ReadFile("MTScore.dat");
    ScoreTables expected = s.module1;
    s.PressPrompt();  // no key on stage 1: a crash with its course points
    QCOMPARE(s.PromptText(), QStringLiteral("1位にランクイン！！"));
    expected.AttackScores[0][2] = Stage1CrashCourse;
    QVERIFY(static_cast<const ScoreTables&>(s.module1) == expected);
    QCOMPARE(s.ReadFile("MTScore.dat"), Session::SavedOver(before, expected));
    QCOMPARE(s.module1.AttackBest[0], Stage1CrashCourse);
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
    Session s;
    s.module1.PlayerNames[2] = "P";
    s.module1.PlayerIndex = 2;
    auto& scores = s.module1.AttackScores[2];
    for (int stage = 1; stage <= 4; ++stage) scores[size_t((stage - 1) * 15 + 1)] = 100 * stage;  // place 1
    scores[size_t(2 * 15 + 3)] = 7777;  // place 2 of stage 3 counts nowhere
    scores[60] = highScore - 100;
    scores[61] = 60;
    scores[62] = 40;
    const ScoreTables before = s.module1;
    s.Choose(s.menu.Option2);
    s.menu.Check1.SetValue(1);
    s.menu.Check1_Click();
    QCOMPARE(s.module1.GameMode, 0);  // SUPER is decided at START
    s.menu.Combo1.SetListIndex(4);
    s.menu.Combo1_Click();
    s.menu.Command1_Click();
    QCOMPARE(s.module1.GameMode, 3);
    s.game.form5().Command2_Click();
    QCOMPARE(s.module1.HighScore, highScore);
    QCOMPARE(s.module1.OtherStagesBest, 1000);
    const std::array<int32_t, 11> shown{highScore, highScore - 100,  60, 40, 100, 200, 300, 400,
                                        highScore, 1000 + highScore, 0};
    QCOMPARE(s.module1.LandingPoints, shown);
    const QByteArray file = s.ReadFile("MTScore.dat");

    s.NextFlightLands();
    s.PressPrompt();
    QTEST(s.PromptText(), "message");
    QCOMPARE(s.module1.PromptState, 4);
    const bool beaten = highScore < Stage5Landing;
    QCOMPARE(s.form1.HighScoreUpdated, int(beaten));
    ScoreTables expected = before;
    if (beaten) {
      expected.AttackScores[2][63] = highScore - 100;
      expected.AttackScores[2][64] = 60;
      expected.AttackScores[2][65] = 40;
      expected.AttackScores[2][60] = 559;
      expected.AttackScores[2][61] = 1856;
      expected.AttackScores[2][62] = 0;
      QCOMPARE(s.module1.LandingPoints[8], Stage5Landing);
      QCOMPARE(s.module1.LandingPoints[9], 1000 + Stage5Landing);
    }
    // Only a new best is saved.
    QCOMPARE(s.ReadFile("MTScore.dat").toHex(' '),
             (beaten ? Session::SavedOver(file, expected) : file).toHex(' '));
    QCOMPARE(Text(s.form1.Label3[7].Caption()),
             QString::number(1000 + std::max(highScore, Stage5Landing)) + "00");
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
    Session s;
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
    QCOMPARE((QList<int>{ship.Visible(), int(ship.Shape()), int(ship.FillColor()), int(ship.BorderColor()),
                         ship.Width(), ship.Height(), ship.Left(), ship.Top()}),
             (QList<int>{0, int(ShapeKind::Square), 0xffffff, 0, 4, 4, 53, 36}));
    QString texts;
    for (const LabelControl* label :
         {&s.form1.Label4, &s.form1.Label1, &s.form1.Label6, &s.form1.Label7, &s.form1.Label5})
      texts += Text(label->Caption()) + "|";
    for (const LabelControl& label : s.form1.Label3) texts += Text(label.Caption());
    QCOMPARE(texts, QStringLiteral("Morvane-Tesk||||SCORE|"));
    QCOMPARE(s.module1.LandingPoints, (std::array<int32_t, 11>{}));
    QFETCH(int, picture);
    Bitmap expected = LoadPicture(picture);
    if (picture != 100) expected.FillBox(171, 100, 196, 101, MakeRgb(255, 255, 0));  // its pad stays too
    QVERIFY(s.form1.Picture() == expected);
  }

  void promptStaysUntilItsButton() {
    // Guards against a prompt that the title bar can close (stranding the player between flights)
    // or an unknown state that does something.
    Session s;
    s.prompt.Show();
    QVERIFY(!s.prompt.QueryUnload());
    s.module1.PromptState = 0;
    s.PressPrompt();
    QVERIFY(!s.prompt.Visible() && s.menu.Visible() && s.platform.yields == 0);
  }
};

QTEST_APPLESS_MAIN(TestGameFlow)
#include "tst_gameflow.moc"
