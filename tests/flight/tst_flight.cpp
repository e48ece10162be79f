// Flight tests: steering, the tick's scoring, the fall, landing judgement and recording, headless.
#include <QTest>

#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"

namespace {

using Points = std::array<int32_t, 11>;

constexpr int D = VirtualKey::Down, U = VirtualKey::Up, K2 = VirtualKey::Numpad2, K8 = VirtualKey::Numpad8;
const QString Failed = "Failed!!", Bonus = "Hajikko BOUNS!! 10000Pts.";

// The game's models in one mode on one stage, prepared for a flight.
struct Run : GameFixture {
  explicit Run(int mode = 1, int stage = 1) : GameFixture(Start::NotStarted) {
    module1.GameMode = mode;
    module1.Stage = stage;
    form1.GameInit();
  }
};

QString Caption(const LabelControl& label) { return QString::fromStdString(label.Caption()); }

}  // namespace

Q_DECLARE_METATYPE(Points)

class FlightTest : public QObject {
  Q_OBJECT

 private slots:
  void steering_data() { RowsFromFixture("steering.txt", {"startAngle", "events", "angles", "control"}); }
  void steering() {
    // Guards against a wrong angle step or limit, key priority, cost per press, or a held key steering.
    QFETCH(QString, startAngle);
    QFETCH(QString, events);
    Run game;
    game.form1.DescentAngle = startAngle.toInt();
    QList<int> seen;
    for (const QString& event : events.split('/')) {
      QList<int> keys;
      for (QChar key : event) keys << QString("du28hx").indexOf(key);
      for (int& key : keys) key = QList<int>{D, U, K2, K8, -D, 0x41}.value(key, 0);
      game.KeyEvent(keys.contains(0) ? QList<int>{} : keys);
      seen << game.form1.DescentAngle;
    }
    QFETCH(QString, angles);
    QCOMPARE(seen, Numbers(angles));
    QTEST(QString::number(game.form1.ControlPoints), "control");
  }

  void tickScoring_data() { RowsFromFixture("flight-ticks.txt", {"x", "y", "angle", "control", "display"}); }

  void tickScoring() {
    // Guards against course or softness points counted in the wrong band, a craft above the ceiling, a
    // negative control shown, or a flight that goes on, sound playing, after the window is closed.
    Run game;
    game.form1.CourseLine[64] = 60;
    game.form1.CourseLine[65] = 37;
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, angle);
    QFETCH(QString, control);
    game.form1.ShipX = x.toDouble();
    game.form1.ShipY = y.toDouble();
    game.form1.DescentAngle = angle.toInt();
    game.form1.ControlPoints = control.toInt();
    game.platform.yieldHook = [&](long slot) {
      if (slot == 2) game.form1.Form_Unload();  // the window closes after the first tick
    };
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, game.form1.GameMain());
    QTEST(Caption(game.form1.Label1), "display");
    QCOMPARE(game.form1.ShipX, x.toDouble() + 1);                  // no tick after the close
    QCOMPARE(game.platform.sounds, std::vector<std::string>{""});  // silenced
  }

  void landing_data() {
    RowsFromFixture("landings.txt", {"x", "angle", "control", "edge", "points", "banner", "sound"});
  }

  void landing() {
    // Guards against a wrong pad or angle boundary, a bonus paid on a crash or shown only at its end, or a
    // negative criterion.
    QFETCH(QString, x);
    QFETCH(QString, banner);
    QFETCH(QString, sound);
    Run game(4);
    QStringList countUp;
    game.platform.yieldHook = [&](long) { countUp << Caption(game.form1.Label1); };
    QFETCH(QString, angle);
    QFETCH(QString, control);
    game.TouchDown(x.toDouble(), angle.toInt(), control.toInt());
    const Form1& form1 = game.form1;
    QTEST(QString::number(form1.EdgeBonus), "edge");
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
              square = int(ShapeKind::Square), text = int(SystemColour::WindowText);
    QCOMPARE(look, (banner == Failed ? QList<int>{circle, x.toInt(), 89, 15, 15, orange, orange}
                                     : QList<int>{square, x.toInt(), 98, 4, 4, 0xffffff, text}));
  }

  void wholeFlights_data() {
    RowsFromFixture("whole-flights.txt", {"stage", "presses", "banner", "outcome", "nextControl"});
  }
  void wholeFlights() {
    // Guards against a wrong pace over a whole flight, course points on stage 5, a fall that keeps the
    // angle, a key that changes a decided landing, and a next stage that does not start afresh.
    QFETCH(QString, stage);
    QFETCH(QString, presses);
    QFETCH(QString, nextControl);
    Run game(1, stage.toInt());
    for (const QString& press : presses.split(' '))
      game.platform.PressAt(press.section(':', 0, 0).toLong(), press.endsWith('d') ? D : U);
    game.form1.GameMain();
    QTEST(Caption(game.form1.Label4), "banner");
    const Form1& form1 = game.form1;
    QTEST(QStringList({QString::number(form1.DescentAngle), QString::number(form1.ControlPoints),
                       QString::number(form1.CoursePoints), QString::number(game.platform.yields),
                       QString::number(game.platform.sleptMilliseconds), QString::number(game.module1.Stage)})
              .join(' '),
          "outcome");
    // The next stage starts afresh, and its keys steer again.
    game.form1.GameInit();
    game.KeyEvent({D});
    const Points& points = game.module1.LandingPoints;
    QCOMPARE((QList<double>{form1.ShipX, form1.ShipY, double(form1.DescentAngle), double(form1.ControlPoints),
                            double(form1.CoursePoints), double(form1.SoftnessPoints), double(form1.EdgeBonus),
                            double(points[0]), double(points[1]), double(points[2]), double(points[3]),
                            double(form1.Ship.Left()), double(form1.Ship.Top())}),
             (QList<double>{53, 36, 14, nextControl.toDouble(), 0, 0, 0, 0, 0, 0, 0, 53, 36}));
    QCOMPARE(Caption(form1.Label4), "Ready...");
  }

  void recording_data() {
    RowsFromFixture("recordings.txt", {"mode", "x", "before", "others", "points", "after", "listed"});
  }

  void recording() {
    // Guards against a landing recorded in the wrong rows, an equal score taken as a better one, or a
    // stage whose score list does not start from the run so far, the player's five best or the SUPER bests.
    QFETCH(QString, mode);
    QFETCH(QString, x);
    QFETCH(QString, before);
    QFETCH(QString, others);
    QFETCH(QString, points);
    QFETCH(QString, after);
    Run game(mode.toInt(), 2);
    game.module1.LandingPoints.fill(7);
    const int total = before.toInt();
    game.form1.TotalScore = total;
    game.module1.AttackBest = {2000, 1, 2, 3, 1500, total, total - 100, 0, 0, 0, 0};
    game.module1.HighScore = total;
    game.module1.OtherStagesBest = others.toInt();
    game.form1.GameInit();  // an attack stage starts from the player's five best
    const Form1& form1 = game.form1;
    QTEST((QStringList{Caption(form1.Label3[0]), Caption(form1.Label3[7]), Caption(form1.Label3[8])}).join('/'), "listed");
    game.TouchDown(x.toDouble(), 10);
    const int result = mode == "1" ? form1.TotalScore : mode == "2" ? form1.RankResult : form1.HighScoreUpdated;
    QCOMPARE(result, after.toInt());
    QCOMPARE(QList<int>(game.module1.LandingPoints.begin(), game.module1.LandingPoints.end()), Numbers(points));
    if (mode == "1") {
      QCOMPARE(game.module1.RunStageScores[2], Numbers(points)[0]);
      QCOMPARE(Caption(form1.Label3[7]), after + "00");
    } else if (mode == "3") {
      QCOMPARE(game.module1.HighScore, result ? Numbers(points)[0] : total);
    }
  }
};

QTEST_APPLESS_MAIN(FlightTest)
#include "tst_flight.moc"
