// Flight tests: steering, the tick's scoring, the fall, landing judgement and recording, headless.
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "platform/ScriptedPlatform.h"
#include "app/Game.h"

namespace {

using Presses = QList<QPair<int, int>>;  // slot, virtual key
using KeyEvents = QList<QList<int>>;     // the keys newly down at each key-down event; negative: held
using Points = std::array<int32_t, 11>;

constexpr int D = VirtualKey::Down, U = VirtualKey::Up, K2 = VirtualKey::Numpad2, K8 = VirtualKey::Numpad8;
const QString Failed = "Failed!!", Landed = "Successful!!", Bonus = "Hajikko BOUNS!! 10000Pts.";

// The game's models with a fresh program folder, in one mode on one stage, prepared for a flight.
struct Run {
  QTemporaryDir folder;
  ScriptedPlatform platform;
  Game game{platform};
  Module1& module1 = game.module1;
  Form1& form1 = game.form1;

  explicit Run(int mode = 1, int stage = 1) {
    module1.GameMode = mode;
    module1.Stage = stage;
    module1.AppFolder = folder.path().toStdString() + "/";
    platform.keyDownHandler = [this](int) { form1.Form_KeyDown(); };
    form1.GameInit();
  }
  void KeyEvent(const QList<int>& keys) {
    for (int key : keys) platform.keys.Press(std::abs(key));
    form1.Form_KeyDown();
    for (int key : keys)
      if (key > 0) platform.keys.Release(key);
  }
  // Judges a touchdown at x with this angle after a flight that earned 10/control/50.
  void TouchDown(double x, int angle, int control = 1000) {
    form1.ShipX = x;
    form1.ShipY = 98;
    form1.DescentAngle = angle;
    form1.SoftnessPoints = 10;
    form1.ControlPoints = control;
    form1.CoursePoints = 50;
    form1.Ship.Move(static_cast<int>(x), 98);
    form1.LandingTest();
  }
};

QString Caption(const LabelControl& label) { return QString::fromStdString(label.Caption()); }

}  // namespace

Q_DECLARE_METATYPE(Points)

class FlightTest : public QObject {
  Q_OBJECT

 private slots:
  void steering_data() {
    QTest::addColumn<int>("startAngle");
    QTest::addColumn<KeyEvents>("events");
    QTest::addColumn<QList<int>>("angles");
    QTest::addColumn<int>("control");
    QTest::newRow("down seven times stops at 74") << 0 << KeyEvents{{D}, {D}, {D}, {D}, {D}, {D}, {D}}
                                                  << QList<int>{14, 28, 42, 56, 70, 74, 74} << 1664;
    QTest::newRow("up seven times stops at -60") << 0 << KeyEvents{{U}, {U}, {U}, {U}, {U}, {U}, {U}}
                                                 << QList<int>{-11, -22, -33, -44, -55, -60, -60} << 1664;
    QTest::newRow("up from -49") << -49 << KeyEvents{{U}} << QList<int>{-60} << 1952;
    QTest::newRow("up from -48") << -48 << KeyEvents{{U}} << QList<int>{-59} << 1952;
    QTest::newRow("keypad 2 and 8 steer") << 0 << KeyEvents{{K2}, {K8}} << QList<int>{14, 3} << 1904;
    QTest::newRow("down wins over up") << 0 << KeyEvents{{U, D}, {K8, K2}} << QList<int>{14, 28} << 1904;
    QTest::newRow("a held key counts once") << 0 << KeyEvents{{-D}, {}, {}} << QList<int>{14, 14, 14} << 1952;
    QTest::newRow("other keys do nothing") << 5 << KeyEvents{{}, {0x41}} << QList<int>{5, 5} << 2000;
  }

  // Guards against a wrong angle step or limit, key priority, cost per press, or a held key steering.
  void steering() {
    QFETCH(KeyEvents, events);
    QFETCH(QList<int>, angles);
    Run game;
    QFETCH(int, startAngle);
    game.form1.DescentAngle = startAngle;
    for (qsizetype i = 0; i < events.size(); ++i) {
      game.KeyEvent(events[i]);
      QCOMPARE(game.form1.DescentAngle, angles[i]);
    }
    QTEST(game.form1.ControlPoints, "control");
  }

  void tickScoring_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("display");
    // The course lies at y 60 for x 64 and y 37 for x 65; stage 1 gains 25/13/5 near it, 24/17/9/1 low down.
    QTest::newRow("on the course line") << 63.0 << 60.0 << 0 << 100 << "000\r\n10000\r\n2500";
    QTest::newRow("1 above the line") << 63.0 << 59.0 << 0 << 100 << "000\r\n10000\r\n2500";
    QTest::newRow("just over 1 above") << 63.0 << 58.9 << 0 << 100 << "000\r\n10000\r\n1300";
    QTest::newRow("2 below the line") << 63.0 << 62.0 << 0 << 100 << "000\r\n10000\r\n500";
    QTest::newRow("beyond 3 above") << 63.0 << 56.9 << 0 << 100 << "000\r\n10000\r\n000";
    QTest::newRow("right of the band") << 149.0 << 60.0 << 0 << 100 << "000\r\n10000\r\n000";
    QTest::newRow("climbing into the ceiling stays at 36")
        << 64.0 << 36.0 << -11 << 100 << "000\r\n10000\r\n2500";
    QTest::newRow("low band, 6 degrees") << 150.0 << 90.0 << 6 << 100 << "2400\r\n10000\r\n000";
    QTest::newRow("low band, 7 degrees") << 150.0 << 90.0 << 7 << 100 << "1700\r\n10000\r\n000";
    QTest::newRow("low band, 12 degrees") << 150.0 << 90.0 << 12 << 100 << "1700\r\n10000\r\n000";
    QTest::newRow("low band, 13 degrees") << 150.0 << 90.0 << 13 << 100 << "900\r\n10000\r\n000";
    QTest::newRow("low band, 18 degrees") << 150.0 << 90.0 << 18 << 100 << "900\r\n10000\r\n000";
    QTest::newRow("low band, 19 degrees") << 150.0 << 90.0 << 19 << 100 << "100\r\n10000\r\n000";
    QTest::newRow("low band, 25 degrees") << 150.0 << 90.0 << 25 << 100 << "000\r\n10000\r\n000";
    QTest::newRow("low band, level") << 150.0 << 90.0 << 0 << 100 << "000\r\n10000\r\n000";
    QTest::newRow("just above the low band") << 150.0 << 84.0 << 10 << 100 << "000\r\n10000\r\n000";
    QTest::newRow("control below 0 shows 000") << 150.0 << 60.0 << 0 << -48 << "000\r\n000\r\n000";
  }

  // Guards against course or softness points counted in the wrong band, a craft above the ceiling, a
  // negative control shown, or a flight that goes on, sound playing, after the window is closed.
  void tickScoring() {
    Run game;
    game.form1.CourseLine[64] = 60;
    game.form1.CourseLine[65] = 37;
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, angle);
    QFETCH(int, control);
    game.form1.ShipX = x;
    game.form1.ShipY = y;
    game.form1.DescentAngle = angle;
    game.form1.ControlPoints = control;
    game.platform.yieldHook = [&](long slot) {
      if (slot == 2) game.form1.Form_Unload();  // the window closes after the first tick
    };
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, game.form1.GameMain());
    QTEST(Caption(game.form1.Label1), "display");
    QCOMPARE(game.form1.ShipX, x + 1);                             // no tick after the close
    QCOMPARE(game.platform.sounds, std::vector<std::string>{""});  // silenced
  }

  void landing_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QString>("points");  // Label1: softness, control, course, blank, total
    QTest::addColumn<QString>("banner");
    QTest::addColumn<QString>("sound");
    const QString crash = "000\r\n000\r\n5000\r\n\r\n5000", plain = "1000\r\n100000\r\n5000\r\n\r\n106000",
                  bonus = "1000\r\n100000\r\n15000\r\n\r\n116000";
    QTest::newRow("before the pad, x 170") << 170.0 << 10 << 1000 << 0 << crash << Failed << "fail";
    QTest::newRow("pad start, x 171") << 171.0 << 10 << 1000 << 1 << bonus << Bonus << "bonus";
    QTest::newRow("x 172") << 172.0 << 10 << 1000 << 0 << plain << Landed << "clear";
    QTest::newRow("pad end, x 196") << 196.0 << 10 << 1000 << 1 << bonus << Bonus << "bonus";
    QTest::newRow("pad start too steep: no bonus") << 171.0 << 25 << 1000 << 1 << crash << Failed << "fail";
    QTest::newRow("angle 20") << 180.0 << 20 << 1000 << 0 << plain << Landed << "clear";
    QTest::newRow("angle 21") << 180.0 << 21 << 1000 << 0 << crash << Failed << "fail";
    QTest::newRow("angle 1") << 180.0 << 1 << 1000 << 0 << plain << Landed << "clear";
    QTest::newRow("level") << 180.0 << 0 << 1000 << 0 << crash << Failed << "fail";
    QTest::newRow("climbing") << 180.0 << -11 << 1000 << 0 << crash << Failed << "fail";
    QTest::newRow("success with control below 0")
        << 180.0 << 10 << -200 << 0 << "1000\r\n000\r\n5000\r\n\r\n6000" << Landed << "clear";
  }

  // Guards against a wrong pad or angle boundary, a bonus paid on a crash or shown only at its end, or a
  // negative criterion.
  void landing() {
    QFETCH(double, x);
    QFETCH(int, angle);
    QFETCH(int, control);
    QFETCH(QString, banner);
    QFETCH(QString, sound);
    Run game(4);
    QStringList countUp;
    game.platform.yieldHook = [&](long) { countUp << Caption(game.form1.Label1); };
    game.TouchDown(x, angle, control);
    const Form1& form1 = game.form1;
    QTEST(int(form1.EdgeBonus), "edge");
    QTEST(Caption(form1.Label1), "points");
    QCOMPARE(Caption(form1.Label4), banner);
    QCOMPARE(game.platform.sounds.back(), game.module1.AppFolder + sound.toStdString() + ".wav");
    // The bonus counts up one point per visible 10 ms step.
    QCOMPARE(countUp.size(), banner == Bonus ? 100 : 0);
    for (int step = 1; step <= countUp.size(); ++step)
      QCOMPARE(countUp[step - 1], "1000\r\n100000\r\n" + QString::number(50 + step) + "00");
    QCOMPARE(game.platform.sleptMilliseconds, banner == Bonus ? 1000 : 0);
    // A crash leaves an orange circle 9 pixels up; a landing leaves the craft as it was.
    const ShapeControl& ship = form1.Ship;
    const QList<int> look{int(ship.Shape()),      ship.Left(),   ship.Top(),
                          ship.Width(),           ship.Height(), int(ship.FillColor()),
                          int(ship.BorderColor())};
    const int orange = int(MakeRgb(248, 184, 0)), circle = int(ShapeKind::Circle),
              square = int(ShapeKind::Square);
    QCOMPARE(look, (banner == Failed ? QList<int>{circle, int(x), 89, 15, 15, orange, orange}
                                     : QList<int>{square, int(x), 98, 4, 4, 0xffffff, 0}));
  }

  void wholeFlights_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<Presses>("presses");
    QTest::addColumn<QString>("banner");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("course");
    QTest::addColumn<long>("yields");
    QTest::addColumn<long long>("slept");
    QTest::addColumn<int>("nextStage");    // a cleared stage leads to the next one at once
    QTest::addColumn<int>("nextControl");  // after one press there (stage 4 steers for half)
    // Level along y 36 to x 197 (144 ticks) without a course to earn, the judging tick, then 62 pixels
    // of fall at 40 ms; a craft still steered down at 14 degrees there would land.
    const long long fallen = 145 * 50 + 62 * 40;
    QTest::newRow("steered down at x 194, levelled for the fall beyond the pad")
        << 5 << Presses{{142, D}} << Failed << 0 << 0 << 0 << 207L << fallen << 5 << 1952;
    QTest::newRow("press at the fall's first yield changes nothing")
        << 5 << Presses{{146, D}} << Failed << 0 << 0 << 0 << 207L << fallen << 5 << 1952;
    // The edge landing at x 171 is judged in the yield of tick 119; its bonus counts up in yields 120..219.
    QTest::newRow("press in the touchdown tick's yield still counts")
        << 3 << Presses{{1, D}, {1, D}, {116, U}, {119, D}} << Failed << 31 << 0 << 549 << 119L << 119 * 50LL
        << 3 << 1952;
    QTest::newRow("press at the bonus count-up's first yield changes nothing")
        << 3 << Presses{{1, D}, {1, D}, {116, U}, {120, U}} << Bonus << 17 << 1856 << 649 << 219L
        << 119 * 50 + 100 * 10LL << 4 << 1976;
  }

  // Guards against a wrong pace over a whole flight, course points on stage 5, a fall that keeps the
  // angle, a key that changes a decided landing, and a next stage that does not start afresh.
  void wholeFlights() {
    QFETCH(int, stage);
    QFETCH(Presses, presses);
    QFETCH(int, nextControl);
    Run game(1, stage);
    for (const auto& [slot, key] : presses) game.platform.PressAt(slot, key);
    game.form1.GameMain();
    QTEST(Caption(game.form1.Label4), "banner");
    QTEST(game.form1.DescentAngle, "angle");
    QTEST(game.form1.ControlPoints, "control");
    QTEST(game.form1.CoursePoints, "course");
    QTEST(game.platform.yields, "yields");
    QTEST(game.platform.sleptMilliseconds, "slept");
    // The next stage starts afresh, and its keys steer again.
    QTEST(game.module1.Stage, "nextStage");
    game.form1.GameInit();
    game.KeyEvent({D});
    const Form1& form1 = game.form1;
    const Points& points = game.module1.LandingPoints;
    QCOMPARE((QList<double>{form1.ShipX, form1.ShipY, double(form1.DescentAngle), double(form1.ControlPoints),
                            double(form1.CoursePoints), double(form1.SoftnessPoints), double(form1.EdgeBonus),
                            double(points[0]), double(points[1]), double(points[2]), double(points[3]),
                            double(form1.Ship.Left()), double(form1.Ship.Top())}),
             (QList<double>{53, 36, 14, double(nextControl), 0, 0, 0, 0, 0, 0, 0, 53, 36}));
    QCOMPARE(Caption(form1.Label4), "Ready...");
  }

  void recording_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("x");    // touchdown at angle 10 after earning 10 + 1000 + 50
    QTest::addColumn<int>("before");  // TotalScore, AttackBest's 3rd and 4th place, or HighScore
    QTest::addColumn<int>("others");  // OtherStagesBest
    QTest::addColumn<Points>("points");
    QTest::addColumn<int>("after");           // TotalScore, RankResult or HighScoreUpdated
    QTest::addColumn<QStringList>("listed");  // Label3(0), (7), (8) when the stage starts
    const QStringList normalList{"000", "700", "Stage2 "}, attackList{"200000", "Stage 2", "BEST "},
        superList{"700", "700", "Stage2 "};
    QTest::newRow("normal, stage 2 landing")
        << 1 << 172.0 << 500 << 300 << Points{1060, 10, 1000, 50, 7, 1060, 7, 7, 7, 1560, 7} << 1560 << normalList;
    QTest::newRow("normal, stage 2 crash keeps its course points")
        << 1 << 170.0 << 500 << 300 << Points{50, 0, 0, 50, 7, 50, 7, 7, 7, 550, 7} << 550 << normalList;
    QTest::newRow("attack, equal to 3rd place goes below it")
        << 2 << 172.0 << 1060 << 300 << Points{2000, 1, 2, 3, 1500, 1060, 1060, 960, 7, 7, 7} << 4 << attackList;
    QTest::newRow("SUPER, equal to the high score")
        << 3 << 172.0 << 1060 << 300 << Points{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7} << 0 << superList;
    QTest::newRow("SUPER, one above the high score")
        << 3 << 172.0 << 1059 << 300 << Points{1060, 10, 1000, 50, 7, 1060, 7, 7, 7, 1360, 7} << 1 << superList;
    QTest::newRow("SUPER, crash above a high score of 0")
        << 3 << 170.0 << 0 << 300 << Points{50, 0, 0, 50, 7, 50, 7, 7, 7, 350, 7} << 1 << superList;
    // A score file may hold any bests: their sum is held at the limit, never wrapped round.
    QTest::newRow("SUPER, new best with the other stages' bests near the limit")
        << 3 << 172.0 << 1059 << 2147483547 << Points{1060, 10, 1000, 50, 7, 1060, 7, 7, 7, 2147483647, 7} << 1
        << superList;
  }

  // Guards against a landing recorded in the wrong rows, an equal score taken as a better one, or a
  // stage whose score list does not start from the run so far, the player's five best or the SUPER bests.
  void recording() {
    QFETCH(int, mode);
    QFETCH(double, x);
    QFETCH(int, before);
    QFETCH(int, others);
    QFETCH(Points, points);
    QFETCH(int, after);
    Run game(mode, 2);
    game.module1.LandingPoints.fill(7);
    game.form1.TotalScore = before;
    game.module1.AttackBest = {2000, 1, 2, 3, 1500, before, before - 100, 0, 0, 0, 0};
    game.module1.HighScore = before;
    game.module1.OtherStagesBest = others;
    game.form1.GameInit();  // an attack stage starts from the player's five best
    const Form1& shown = game.form1;
    QTEST((QStringList{Caption(shown.Label3[0]), Caption(shown.Label3[7]), Caption(shown.Label3[8])}),
          "listed");
    game.TouchDown(x, 10);
    const Form1& form1 = game.form1;
    QCOMPARE(mode == 1 ? form1.TotalScore : mode == 2 ? form1.RankResult : form1.HighScoreUpdated, after);
    QCOMPARE(game.module1.LandingPoints, points);
    if (mode == 1) {
      QCOMPARE(game.module1.RunStageScores[2], points[0]);
      QCOMPARE(Caption(form1.Label3[7]), QString::number(after) + "00");
    } else if (mode == 3) {
      QCOMPARE(game.module1.HighScore, after ? points[0] : before);
    }
  }
};

QTEST_APPLESS_MAIN(FlightTest)
#include "tst_flight.moc"
