// The tools: the replay tool's outcome of scripted flights (tests/fixtures/replay-flights.txt) and its
// refusal of bad arguments, and the icon maker's icon and failures.
#include <QImage>
#include <QProcess>
#include <QTest>

#include "resources/Resources.h"
#include "tests/support/Table.h"

class ToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void scripts_data() { RowsFromFixture("replay-flights.txt", {"arguments", "exitCode", "output"}); }
  void scripts() {
    // Guards against a wrong steering cost, course line, course gain or softness gain on any stage, and
    // a replay that scores differently from the game or accepts a script it misreads.
    QFETCH(QString, arguments);
    QFETCH(QString, exitCode);
    QFETCH(QString, output);
    QProcess replay;
    replay.start(QStringLiteral(MORVANE_BUILD "/morvane-replay"), arguments.split(' ', Qt::SkipEmptyParts));
    QVERIFY(replay.waitForFinished(30000));
    QCOMPARE(replay.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::number(replay.exitCode()), exitCode);
    const QString out = QString::fromUtf8(replay.readAllStandardOutput());
    const QString err = QString::fromUtf8(replay.readAllStandardError());
    // Refused: a complaint on stderr and nothing on stdout.
    QCOMPARE(exitCode == "0" ? out : err.left(output.size()), exitCode == "0" ? output + "\n" : output);
    QCOMPARE(exitCode == "0" ? err : out, QString());
  }

  void iconFile() {
    // Guards against a desktop icon that is not the window icon: another size, drawing or colours.
    const QImage file(QStringLiteral(MORVANE_BUILD "/morvane-tesk.png"));
    const Bitmap& icon = ProgramIcon();
    QCOMPARE(file.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (file.pixel(x, y) != (icon.At(x, y) | 0xff000000u)) QFAIL(qPrintable(QString("%1,%2").arg(x).arg(y)));
  }

  void iconMakerFailures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("no output file named") << QStringList{} << 2;
    QTest::newRow("a folder that does not exist") << QStringList{"/nonexistent/morvane-tesk.png"} << 1;
  }
  void iconMakerFailures() {
    // Guards against a build that goes on without its icon because the icon maker reported success.
    QFETCH(QStringList, arguments);
    QProcess maker;
    maker.start(QStringLiteral(MORVANE_MAKE_ICON), arguments);
    QVERIFY(maker.waitForFinished());
    QTEST(maker.exitCode(), "status");
  }
};

QTEST_APPLESS_MAIN(ToolsTest)
#include "tst_tools.moc"
