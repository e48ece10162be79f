// Flight tests: steering, the tick's scoring, the fall, landing judgement and recording, headless.
#include <QTest>
#include <algorithm>

#include "flight/Form1.h"
#include "platform/ScriptedPlatform.h"

namespace {

using Presses = QList<QPair<int, int>>;  // slot, virtual key
using KeyEvents = QList<QList<int>>;     // the keys newly down at each key-down event

constexpr int D = VirtualKey::Down, U = VirtualKey::Up, K2 = VirtualKey::Numpad2, K8 = VirtualKey::Numpad8;
constexpr Rgb Crash = MakeRgb(248, 184, 0);
using Points = std::array<int32_t, 11>;

// Thrown from a yield to stop a flight after the ticks a test wants to see.
struct StopFlight {};

struct Game {
  ScriptedPlatform platform;
  Module1 module1{platform};
  Form1 form1{module1};

  explicit Game(int mode = 1, int stage = 1) {
    module1.GameMode = mode;
    module1.Stage = stage;
    module1.AppFolder = "/game/";
    module1.SoundFlags = DefaultSoundFlags;
    platform.keyDownHandler = [this](int) { form1.Form_KeyDown(); };
  }
  void KeyEvent(const QList<int>& keys) {
    for (int key : keys) platform.keys.Press(key);
    form1.Form_KeyDown();
    for (int key : keys) platform.keys.Release(key);
  }
  // Runs GameMain's first tick from the state as it is now.
  void OneTick() {
    platform.yieldHook = [](long slot) {
      if (slot == 2) throw StopFlight{};
    };
    try {
      form1.GameMain();
    } catch (const StopFlight&) {
    }
  }
  // Judges a touchdown at x with this angle after a flight that earned 10/control/50.
  void TouchDown(double x, int angle, int control = 1000) {
    form1.GameInit();
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
  void steering_data();
  void steering();
  void tickScoring_data();
  void tickScoring();
  void landing_data();
  void landing();
  void bonusCountsUpVisibly();
  void wholeFlights_data();
  void wholeFlights();
  void recording_data();
  void recording();
  void gameInit();
  void closingMidFlightEndsAtOnce();
};

void FlightTest::steering_data() {
  QTest::addColumn<int>("startAngle");
  QTest::addColumn<KeyEvents>("events");
  QTest::addColumn<QList<int>>("angles");
  QTest::addColumn<int>("control");
  QTest::newRow("down seven times stops at 74")
      << 0 << KeyEvents{{D}, {D}, {D}, {D}, {D}, {D}, {D}} << QList<int>{14, 28, 42, 56, 70, 74, 74} << 1664;
  QTest::newRow("up seven times stops at -60")
      << 0 << KeyEvents{{U}, {U}, {U}, {U}, {U}, {U}, {U}} << QList<int>{-11, -22, -33, -44, -55, -60, -60}
      << 1664;
  QTest::newRow("up from -49") << -49 << KeyEvents{{U}} << QList<int>{-60} << 1952;
  QTest::newRow("up from -48") << -48 << KeyEvents{{U}} << QList<int>{-59} << 1952;
  QTest::newRow("keypad 2 and 8 steer") << 0 << KeyEvents{{K2}, {K8}} << QList<int>{14, 3} << 1904;
  QTest::newRow("down wins over up") << 0 << KeyEvents{{U, D}, {K8, K2}} << QList<int>{14, 28} << 1904;
  QTest::newRow("other keys do nothing") << 5 << KeyEvents{{}, {0x41}} << QList<int>{5, 5} << 2000;
}

// Guards against a wrong angle step or limit, key priority, cost per press, or a held key steering.
void FlightTest::steering() {
  QFETCH(int, startAngle);
  QFETCH(KeyEvents, events);
  QFETCH(QList<int>, angles);
  Game game;
  game.form1.GameInit();
  game.form1.DescentAngle = startAngle;
  for (qsizetype i = 0; i < events.size(); ++i) {
    game.KeyEvent(events[i]);
    QCOMPARE(game.form1.DescentAngle, angles[i]);
  }
  QTEST(game.form1.ControlPoints, "control");

  game.platform.keys.Press(D);
  game.form1.Form_KeyDown();
  const int afterPress = game.form1.DescentAngle;
  game.form1.Form_KeyDown();  // auto-repeat of the held key
  QCOMPARE(game.form1.DescentAngle, afterPress);
}

void FlightTest::tickScoring_data() {
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("y");
  QTest::addColumn<int>("angle");
  QTest::addColumn<int>("control");
  QTest::addColumn<QString>("display");
  // The course is put at y 60 for x 64; stage 1 gains 25/13/5 near it and 24/17/9/1 low down.
  QTest::newRow("on the course line") << 63.0 << 60.0 << 0 << 100 << "000\r\n10000\r\n2500";
  QTest::newRow("1 above the line") << 63.0 << 59.0 << 0 << 100 << "000\r\n10000\r\n2500";
  QTest::newRow("just over 1 above") << 63.0 << 58.9 << 0 << 100 << "000\r\n10000\r\n1300";
  QTest::newRow("2 below the line") << 63.0 << 62.0 << 0 << 100 << "000\r\n10000\r\n500";
  QTest::newRow("beyond 3 above") << 63.0 << 56.9 << 0 << 100 << "000\r\n10000\r\n000";
  QTest::newRow("right of the band") << 149.0 << 60.0 << 0 << 100 << "000\r\n10000\r\n000";
  QTest::newRow("low band, 6 degrees") << 150.0 << 90.0 << 6 << 100 << "2400\r\n10000\r\n000";
  QTest::newRow("low band, 7 degrees") << 150.0 << 90.0 << 7 << 100 << "1700\r\n10000\r\n000";
  QTest::newRow("low band, 18 degrees") << 150.0 << 90.0 << 18 << 100 << "900\r\n10000\r\n000";
  QTest::newRow("low band, 19 degrees") << 150.0 << 90.0 << 19 << 100 << "100\r\n10000\r\n000";
  QTest::newRow("low band, 25 degrees") << 150.0 << 90.0 << 25 << 100 << "000\r\n10000\r\n000";
  QTest::newRow("low band, level") << 150.0 << 90.0 << 0 << 100 << "000\r\n10000\r\n000";
  QTest::newRow("just above the low band") << 150.0 << 84.0 << 10 << 100 << "000\r\n10000\r\n000";
  QTest::newRow("control at 0 shows 000") << 150.0 << 60.0 << 0 << 0 << "000\r\n000\r\n000";
}

// Guards against course or softness points counted in the wrong band or a negative control shown.
void FlightTest::tickScoring() {
  QFETCH(double, x);
  QFETCH(double, y);
  QFETCH(int, angle);
  QFETCH(int, control);
  Game game;
  game.form1.GameInit();
  game.form1.CourseLine[64] = 60;
  game.form1.ShipX = x;
  game.form1.ShipY = y;
  game.form1.DescentAngle = angle;
  game.form1.ControlPoints = control;
  game.OneTick();
  QTEST(Caption(game.form1.Label1), "display");
}

void FlightTest::landing_data() {
  QTest::addColumn<double>("x");
  QTest::addColumn<int>("angle");
  QTest::addColumn<int>("control");
  QTest::addColumn<bool>("success");
  QTest::addColumn<int>("edge");
  QTest::addColumn<int>("controlAfter");
  QTest::addColumn<int>("courseAfter");
  QTest::addColumn<QString>("banner");
  QTest::addColumn<QString>("sound");
  const QString failed = "Failed!!", landed = "Successful!!", bonus = "Hajikko BOUNS!! 10000Pts.";
  QTest::newRow("before the pad, x 170") << 170.0 << 10 << 1000 << false << 0 << 0 << 50 << failed << "fail";
  QTest::newRow("pad start, x 171") << 171.0 << 10 << 1000 << true << 1 << 1000 << 150 << bonus << "bonus";
  QTest::newRow("x 172") << 172.0 << 10 << 1000 << true << 0 << 1000 << 50 << landed << "clear";
  QTest::newRow("pad end, x 196") << 196.0 << 10 << 1000 << true << 1 << 1000 << 150 << bonus << "bonus";
  QTest::newRow("pad start too steep: no bonus") << 171.0 << 25 << 1000 << false << 1 << 0 << 50 << failed
                                                 << "fail";
  QTest::newRow("angle 20") << 180.0 << 20 << 1000 << true << 0 << 1000 << 50 << landed << "clear";
  QTest::newRow("angle 21") << 180.0 << 21 << 1000 << false << 0 << 0 << 50 << failed << "fail";
  QTest::newRow("angle 1") << 180.0 << 1 << 1000 << true << 0 << 1000 << 50 << landed << "clear";
  QTest::newRow("level") << 180.0 << 0 << 1000 << false << 0 << 0 << 50 << failed << "fail";
  QTest::newRow("climbing") << 180.0 << -11 << 1000 << false << 0 << 0 << 50 << failed << "fail";
  QTest::newRow("success with control below 0") << 180.0 << 10 << -200 << true << 0 << 0 << 50 << landed
                                                 << "clear";
}

// Guards against a wrong pad or angle boundary, a bonus paid on a crash, or a negative criterion.
void FlightTest::landing() {
  QFETCH(double, x);
  QFETCH(int, angle);
  QFETCH(int, control);
  QFETCH(bool, success);
  QFETCH(int, controlAfter);
  QFETCH(int, courseAfter);
  QFETCH(QString, sound);
  Game game(4);
  game.TouchDown(x, angle, control);
  const Form1& form1 = game.form1;
  QTEST(int(form1.EdgeBonus), "edge");
  QCOMPARE(form1.SoftnessPoints, success ? 10 : 0);
  QCOMPARE(form1.ControlPoints, controlAfter);
  QCOMPARE(form1.CoursePoints, courseAfter);
  const QString course = QString::number(courseAfter) + "00";
  const QString total = QString::number((success ? 10 : 0) + controlAfter + courseAfter) + "00";
  const QString shown = success ? "1000\r\n" + QString::number(controlAfter) + "00\r\n" : "000\r\n000\r\n";
  QCOMPARE(Caption(form1.Label1), shown + course + "\r\n\r\n" + total);
  QTEST(Caption(form1.Label4), "banner");
  QCOMPARE(game.platform.sounds.back(), "/game/" + sound.toStdString() + ".wav");
  // A crash leaves an orange circle 9 pixels up; a landing leaves the craft as it was.
  const ShapeControl& ship = form1.Ship;
  const QList<int> look{int(ship.Shape() == ShapeKind::Circle), ship.Left(), ship.Top(), ship.Width(),
                        ship.Height(), int(ship.FillColor()), int(ship.BorderColor())};
  if (success)
    QCOMPARE(look, (QList<int>{0, int(x), 98, 4, 4, 0xffffff, 0}));
  else
    QCOMPARE(look, (QList<int>{1, int(x), 89, 15, 15, int(Crash), int(Crash)}));
}

// Guards against an edge bonus that jumps to its end instead of counting up step by step.
void FlightTest::bonusCountsUpVisibly() {
  Game game(4);
  QStringList shown;
  game.platform.yieldHook = [&](long) { shown << Caption(game.form1.Label1); };
  game.TouchDown(171, 10);
  QCOMPARE(shown.size(), 100);
  for (int step = 1; step <= 100; ++step)
    QCOMPARE(shown[step - 1], "1000\r\n100000\r\n" + QString::number(50 + step) + "00");
  QCOMPARE(std::count(game.platform.sleeps.begin(), game.platform.sleeps.end(), 10), 100);
}

void FlightTest::wholeFlights_data() {
  QTest::addColumn<int>("stage");
  QTest::addColumn<Presses>("presses");
  QTest::addColumn<QString>("banner");
  QTest::addColumn<double>("x");
  QTest::addColumn<int>("angle");
  QTest::addColumn<int>("control");
  QTest::addColumn<int>("course");
  QTest::addColumn<long>("yields");
  QTest::addColumn<long long>("slept");
  const QString failed = "Failed!!", bonus = "Hajikko BOUNS!! 10000Pts.";
  // Level along y 36 to x 197 (144 ticks), the judging tick, then 62 pixels of fall at 40 ms.
  QTest::newRow("no keys: falls beyond the pad, fails")
      << 5 << Presses{} << failed << 197.0 << 0 << 0 << 0 << 207L << 145 * 50 + 62 * 40LL;
  QTest::newRow("climbing at the top edge stays at y 36")
      << 5 << Presses{{1, U}} << failed << 197.0 << 0 << 0 << 0 << 207L << 145 * 50 + 62 * 40LL;
  // Stage 1's course starts on y 36: 10 x 25 + 4 x 25 + 2 x 13 + 2 x 5.
  QTest::newRow("stage 1 level flight earns the early course")
      << 1 << Presses{} << failed << 197.0 << 0 << 0 << 386 << 207L << 145 * 50 + 62 * 40LL;
  QTest::newRow("edge landing on stage 3")
      << 3 << Presses{{1, D}, {1, D}, {116, U}} << bonus << 171.0 << 17 << 1856 << 649 << 219L
      << 119 * 50 + 100 * 10LL;
  QTest::newRow("press in the touchdown tick's yield still counts")
      << 3 << Presses{{1, D}, {1, D}, {116, U}, {119, D}} << failed << 171.0 << 31 << 0 << 549 << 119L
      << 119 * 50LL;
  QTest::newRow("press during the bonus count-up changes nothing")
      << 3 << Presses{{1, D}, {1, D}, {116, U}, {150, U}} << bonus << 171.0 << 17 << 1856 << 649 << 219L
      << 119 * 50 + 100 * 10LL;
  QTest::newRow("press during the fall changes nothing")
      << 5 << Presses{{150, D}, {151, U}} << failed << 197.0 << 0 << 0 << 0 << 207L << 145 * 50 + 62 * 40LL;
}

// Guards against a wrong pace or path over a whole flight, and a key that changes a decided landing.
void FlightTest::wholeFlights() {
  QFETCH(int, stage);
  QFETCH(Presses, presses);
  Game game(1, stage);
  for (const auto& [slot, key] : presses) game.platform.PressAt(slot, key);
  game.form1.GameInit();
  game.form1.GameMain();
  const Form1& form1 = game.form1;
  QTEST(Caption(form1.Label4), "banner");
  QTEST(form1.ShipX, "x");
  QVERIFY(form1.ShipY >= 98 && form1.ShipY < 98.5);
  QTEST(form1.DescentAngle, "angle");
  QTEST(form1.ControlPoints, "control");
  QTEST(form1.CoursePoints, "course");
  QTEST(game.platform.yields, "yields");
  QTEST(game.platform.sleptMilliseconds, "slept");

  // Between flights the keys steer again once the next stage is set up.
  game.form1.GameInit();
  game.KeyEvent({D});
  QCOMPARE(game.form1.DescentAngle, 14);
}

void FlightTest::recording_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<double>("x");  // touchdown at angle 10 after earning 10 + 1000 + 50
  QTest::addColumn<int>("before");  // TotalScore, AttackBest's 3rd and 4th place, or HighScore
  QTest::addColumn<Points>("points");
  QTest::addColumn<int>("after");  // TotalScore, RankResult or HighScoreUpdated
  QTest::newRow("normal, stage 2 landing")
      << 1 << 172.0 << 500 << Points{1060, 10, 1000, 50, 7, 1060, 7, 7, 7, 1560, 7} << 1560;
  QTest::newRow("normal, stage 2 crash keeps its course points")
      << 1 << 170.0 << 500 << Points{50, 0, 0, 50, 7, 50, 7, 7, 7, 550, 7} << 550;
  QTest::newRow("attack, equal to 3rd place goes below it")
      << 2 << 172.0 << 1060 << Points{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7} << 4;
  QTest::newRow("SUPER, equal to the high score") << 3 << 172.0 << 1060 << Points{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}
                                                  << 0;
  QTest::newRow("SUPER, one above the high score")
      << 3 << 172.0 << 1059 << Points{1060, 10, 1000, 50, 7, 1060, 7, 7, 7, 1360, 7} << 1;
  QTest::newRow("SUPER, crash above a high score of 0")
      << 3 << 170.0 << 0 << Points{50, 0, 0, 50, 7, 50, 7, 7, 7, 350, 7} << 1;
}

// Guards against a landing recorded in the wrong rows, or an equal score taken as a better one.
void FlightTest::recording() {
  QFETCH(int, mode);
  QFETCH(double, x);
  QFETCH(int, before);
  QFETCH(int, after);
  Game game(mode, 2);
  game.module1.LandingPoints.fill(7);
  game.form1.TotalScore = before;
  game.module1.AttackBest = {2000, 1, 2, 3, 1500, before, before - 100, 0, 0, 0, 0};
  game.module1.HighScore = before;
  game.module1.OtherStagesBest = 300;
  game.TouchDown(x, 10);
  const Form1& form1 = game.form1;
  QCOMPARE(mode == 1 ? form1.TotalScore : mode == 2 ? form1.RankResult : form1.HighScoreUpdated, after);
  if (mode == 2) {
    QCOMPARE(game.module1.AttackBest, (Points{2000, 1, 2, 3, 1500, 1060, 1060, 960, 0, 0, 0}));
    return;
  }
  QTEST(game.module1.LandingPoints, "points");
  if (mode == 1) {
    QCOMPARE(game.module1.RunStageScores[2], game.module1.LandingPoints[0]);
    QCOMPARE(Caption(form1.Label3[7]), QString::number(after) + "00");
  } else {
    QCOMPARE(game.module1.HighScore, after ? game.module1.LandingPoints[0] : before);
  }
}

// Guards against a stage set up with another stage's data or state left over from the last flight.
void FlightTest::gameInit() {
  Game game(1, 4);
  game.TouchDown(180, 30);
  game.module1.LandingPoints.fill(9);
  game.form1.GameInit();
  const Form1& form1 = game.form1;
  QCOMPARE(game.module1.LandingPoints, (Points{0, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9}));
  QCOMPARE((QList<double>{form1.ShipX, form1.ShipY, double(form1.DescentAngle), double(form1.CoursePoints),
                          double(form1.ControlPoints), double(form1.SoftnessPoints), double(form1.EdgeBonus)}),
           (QList<double>{53, 36, 0, 0, 2000, 0, 0}));
  QCOMPARE(form1.SteerCost, 24);
  QCOMPARE(form1.CourseGain, (std::array<int32_t, 3>{73, 47, 21}));
  QCOMPARE((QList<int>{form1.CourseLine[64], form1.CourseLine[100], form1.CourseLine[149]}), (QList<int>{36, 76, 95}));
  QCOMPARE((QList<int>{form1.Ship.Left(), form1.Ship.Top(), int(form1.Ship.Visible())}), (QList<int>{53, 36, 1}));
  QCOMPARE(Caption(form1.Label4), "Ready...");
  // The pad covers x 171..196 on the two ground rows, and nothing beside it.
  const Bitmap& picture = form1.Picture();
  const Rgb yellow = MakeRgb(255, 255, 0);
  QCOMPARE((QList<bool>{picture.At(171, 100) == yellow, picture.At(196, 101) == yellow, picture.At(170, 100) == yellow,
                        picture.At(197, 101) == yellow, picture.At(180, 99) == yellow}),
           (QList<bool>{true, true, false, false, false}));

  Game free(1, 5);
  free.form1.GameInit();
  QCOMPARE(free.form1.SoftGain, (std::array<int32_t, 4>{33, 24, 13, 2}));
  for (int x = 64; x <= 149; ++x) QCOMPARE(free.form1.CourseLine[x], 0);

  Game attack(2, 4);
  attack.module1.LandingPoints.fill(9);
  attack.module1.AttackBest = {1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0};
  attack.form1.RankResult = 3;
  attack.form1.GameInit();
  QCOMPARE(attack.module1.LandingPoints, (Points{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9}));
  QCOMPARE(attack.form1.RankResult, 0);
}

// Guards against a flight that goes on, or a sound that keeps playing, after the window is closed.
void FlightTest::closingMidFlightEndsAtOnce() {
  Game game;
  game.platform.yieldHook = [&](long slot) {
    if (slot == 10) game.form1.Form_Unload();
  };
  game.form1.GameInit();
  QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, game.form1.GameMain());
  QCOMPARE(game.platform.sounds, std::vector<std::string>{""});
  QCOMPARE(game.platform.sleeps.size(), size_t(10));
  QCOMPARE(game.form1.ShipX, 62.0);
}

QTEST_APPLESS_MAIN(FlightTest)
#include "tst_flight.moc"
