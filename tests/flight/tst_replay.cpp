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
    QTest::newRow("no stage") << QStringList{} << 2 << "morvane-replay: ";
    QTest::newRow("stage 6") << QStringList{"6"} << 2 << "morvane-replay: ";
    QTest::newRow("slot 0") << QStringList{"1", "0:down"} << 2 << "morvane-replay: ";
    QTest::newRow("unknown key") << QStringList{"1", "3:left"} << 2 << "morvane-replay: ";
    QTest::newRow("signed slot") << QStringList{"1", "-3:down"} << 2 << "morvane-replay: ";
  }

  // Guards against a replay that scores differently from the game or accepts a script it misreads.
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
