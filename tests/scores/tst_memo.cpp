// Score memo: the record's exact text and appending it to the memo file.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "scores/Memo.h"

class TestMemo : public QObject {
  Q_OBJECT

 private slots:
  void recordText_data() {
    QTest::addColumn<QList<int>>("when");  // year, month, day, hour, minute, second
    QTest::addColumn<QList<int>>("stages");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("crash on stage 4 after three clears")
        << QList<int>{2026, 12, 6, 9, 5, 7} << QList<int>{2500, 2400, 1800, 300, 0}
        << QByteArray("2026/12/06 9:05:07\r\n700000 (250000/240000/180000/30000/000)\r\n\r\n");
    QTest::newRow("crash on stage 1 with nothing, at midnight")
        << QList<int>{2027, 1, 2, 0, 0, 0} << QList<int>{0, 0, 0, 0, 0}
        << QByteArray("2027/01/02 0:00:00\r\n000 (000/000/000/000/000)\r\n\r\n");
    QTest::newRow("all five stages, evening")
        << QList<int>{2026, 3, 31, 23, 59, 58} << QList<int>{1, 22, 333, 4444, 55555}
        << QByteArray("2026/03/31 23:59:58\r\n6035500 (100/2200/33300/444400/5555500)\r\n\r\n");
  }
  void recordText() {
    // Guards against a memo line that differs from what players' old memo files hold.
    QFETCH(QList<int>, when);
    QFETCH(QList<int>, stages);
    QFETCH(QByteArray, record);
    const LocalDateTime time{when[0], when[1], when[2], when[3], when[4], when[5]};
    const std::array<int32_t, 6> scores{0, stages[0], stages[1], stages[2], stages[3], stages[4]};
    QCOMPARE(QByteArray::fromStdString(ScoreMemoRecord(time, scores)), record);
  }

  void twoRunsAppendSixLines() {
    // Guards against a memo that overwrites earlier runs instead of appending to them.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    module1.RunStageScores = {0, 2500, 2400, 1800, 300, 0};
    AppendScoreMemo(module1);
    platform.now = {2026, 12, 6, 10, 0, 1};
    module1.RunStageScores = {0, 0, 0, 0, 0, 0};
    AppendScoreMemo(module1);
    QFile memo(folder.filePath("MTSCmemo.txt"));
    QVERIFY(memo.open(QIODevice::ReadOnly));
    QCOMPARE(memo.readAll(),
             QByteArray("2026/12/06 9:05:07\r\n700000 (250000/240000/180000/30000/000)\r\n\r\n"
                        "2026/12/06 10:00:01\r\n000 (000/000/000/000/000)\r\n\r\n"));
    QVERIFY(platform.messages.empty());
  }

  void unwritableMemoGivesWriteError() {
    // Guards against a memo that silently fails to be written.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    const QString path = folder.filePath("MTSCmemo.txt");
    if (::geteuid() == 0) {
      // Root writes through permission bits; a folder in the memo's place stops anyone.
      QVERIFY(QDir(folder.path()).mkdir("MTSCmemo.txt"));
    } else {
      QFile memo(path);
      QVERIFY(memo.open(QIODevice::WriteOnly));
      memo.close();
      QVERIFY(::chmod(path.toLocal8Bit(), 0444) == 0);
    }
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, AppendScoreMemo(module1));
    QCOMPARE(platform.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(platform.messages[0].text),
             QStringLiteral("ファイル書きこみ中エラー発生!"));
    QCOMPARE(platform.messages[0].title, std::string("Morvane-Tesk"));
  }
};

QTEST_GUILESS_MAIN(TestMemo)
#include "tst_memo.moc"
