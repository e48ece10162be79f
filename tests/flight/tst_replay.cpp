// Replay tool tests: the printed outcome of a few scripts, and the refusal of bad arguments.
#include <QProcess>
#include <QTest>

class ReplayTest : public QObject {
  Q_OBJECT

 private slots:
  void scripts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");  // stdout, or the start of stderr when refused
    const QString edgeLanding =
        "result=success edge=1 x=171 y=98.063715 angle=17 softness=27 control=1856 "
        "course=649 total=2532 ticks=119 slots=219\n";
    QTest::newRow("edge landing on stage 3")
        << QStringList{"3", "1:down", "1:down", "116:up"} << 0 << edgeLanding;
    QTest::newRow("keypad keys, and presses after the flight are ignored")
        << QStringList{"3", "1:kp2", "1:kp2", "116:kp8", "5000:down"} << 0 << edgeLanding;
    QTest::newRow("no keys: level flight, fall beyond the pad, crash")
        << QStringList{"5"} << 0
        << "result=failure edge=0 x=197 y=98.000000 angle=0 softness=0 control=0 course=0 total=0 ticks=145 "
           "slots=207\n";
    // One flight per stage that steers, passes the course in all three of its bands and comes through
    // the low band in all four angle bands before landing; each figure follows from the stage's table:
    // control 2000 - presses x cost, course and softness = ticks per band x that band's gain.
    auto flight = [](int stage, const QString& keys, const QString& outcome) {
      QTest::addRow("stage %d: steered, near the course, through every softness band", stage)
          << (QStringList{QString::number(stage)} + keys.split(' ')) << 0
          << "result=success edge=0 " + outcome + "\n";
    };
    // 2000 - 10 x 48; 10 x 25 + 14 x 13 + 17 x 5; 24 x 24 + 4 x 17 + 14 x 9 + 4 x 1.
    flight(1, "16:down 22:down 28:down 83:up 84:up 86:down 87:up 89:up 93:up 117:down",
           "x=183 y=98.081069 angle=15 softness=774 control=1520 course=517 total=2811 ticks=131 slots=131");
    // 2000 - 10 x 48; 13 x 25 + 23 x 13 + 17 x 5; 47 x 24 + 12 x 17 + 10 x 9 + 5 x 1.
    flight(2, "17:down 21:down 22:down 23:down 54:up 59:up 60:up 65:up 77:up 124:down",
           "x=186 y=98.236158 angle=15 softness=1427 control=1520 course=709 total=3656 ticks=134 slots=134");
    // 2000 - 6 x 48; 6 x 37 + 11 x 19 + 9 x 9; 3 x 24 + 6 x 17 + 10 x 9 + 24 x 1.
    flight(3, "2:down 2:down 93:up 105:up 108:down 132:up",
           "x=190 y=98.055171 angle=9 softness=288 control=1712 course=512 total=2512 ticks=138 slots=138");
    // 2000 - 10 x 24; 7 x 73 + 9 x 47 + 8 x 21; 16 x 24 + 9 x 17 + 20 x 9 + 10 x 1.
    flight(4, "16:kp2 22:kp2 25:kp2 79:kp8 81:kp8 91:kp8 100:kp8 101:kp8 107:kp2 123:kp2",
           "x=195 y=98.197860 angle=15 softness=727 control=1760 course=1102 total=3589 ticks=143 slots=143");
    // 2000 - 10 x 48; no course; 27 x 33 + 4 x 24 + 23 x 13 + 4 x 2. The path crosses where the other
    // stages' courses lie, so a course read on stage 5 would show.
    flight(5, "1:down 2:down 3:down 56:up 57:up 60:down 66:up 67:up 71:up 98:down",
           "x=173 y=98.151020 angle=15 softness=1294 control=1520 course=0 total=2814 ticks=121 slots=121");
    QTest::newRow("no stage") << QStringList{} << 2 << "morvane-replay: ";
    QTest::newRow("stage 6") << QStringList{"6"} << 2 << "morvane-replay: ";
    QTest::newRow("slot 0") << QStringList{"1", "0:down"} << 2 << "morvane-replay: ";
    QTest::newRow("unknown key") << QStringList{"1", "3:left"} << 2 << "morvane-replay: ";
    QTest::newRow("signed slot") << QStringList{"1", "-3:down"} << 2 << "morvane-replay: ";
  }

  // Guards against a wrong steering cost, course line, course gain or softness gain on any stage, and a
  // replay that scores differently from the game or accepts a script it misreads.
  void scripts() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QProcess replay;
    replay.start(QStringLiteral(MORVANE_REPLAY), arguments);
    QVERIFY(replay.waitForFinished(30000));
    QCOMPARE(replay.exitStatus(), QProcess::NormalExit);
    QTEST(replay.exitCode(), "exitCode");
    const QString out = QString::fromUtf8(replay.readAllStandardOutput());
    const QString err = QString::fromUtf8(replay.readAllStandardError());
    // Refused: a complaint on stderr and nothing on stdout.
    QCOMPARE(replay.exitCode() == 0 ? out : err.left(output.size()), output);
    QCOMPARE(replay.exitCode() == 0 ? err : out, QString());
  }
};

QTEST_APPLESS_MAIN(ReplayTest)
#include "tst_replay.moc"
