// Score memo: the record's exact text and appending it to the memo file.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QTest>
#include <csignal>

#include "scores/Memo.h"
#include "tests/support/Child.h"
#include "tests/support/Fixtures.h"

class TestMemo : public QObject {
  Q_OBJECT

 private slots:
  void twoRunsAppendSixLines() {
    // Guards against a memo line that differs from players' old memo files, or that overwrites them.
    ModuleFixture game;
    // Three cleared stages, a crash on stage 4 that earned 300, stage 5 never reached; index 0 is
    // no stage.
    game.module1.RunStageScores = {9, 2500, 2400, 1800, 300, 0};
    AppendScoreMemo(game.module1);
    game.platform.now = {2027, 1, 2, 0, 0, 0};
    game.module1.RunStageScores = {0, 1, 22, 333, 4444, 55555};
    AppendScoreMemo(game.module1);
    QCOMPARE(game.Read("MTSCmemo.txt"), QByteArray("2026/12/06 9:05:07\r\n700000 (250000/240000/180000/30000/000)\r\n\r\n"
                                                   "2027/01/02 0:00:00\r\n6035500 (100/2200/33300/444400/5555500)\r\n\r\n"));
    QVERIFY(game.platform.messages.empty());
  }

  void unwritableMemoGivesWriteError_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder in the memo's place") << "folder";
    QTest::newRow("pipe without a reader") << "pipe";
    QTest::newRow("pipe with a reader") << "read pipe";
    QTest::newRow("file size limit reached within the record") << "size limit";
  }
  void unwritableMemoGivesWriteError() {
    // Guards against a memo that silently fails to be written, waits for ever on a pipe, or keeps
    // part of a record it could not finish.
    QFETCH(QString, kind);
    ModuleFixture game;
    const QByteArray path = game.File("MTSCmemo.txt").toLocal8Bit();
    // A folder in the memo's place stops root too, who writes through permission bits.
    if (kind == "folder") QVERIFY(::mkdir(path.constData(), 0755) == 0);
    if (kind.contains("pipe")) QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    const int reader = kind == "read pipe" ? ::open(path.constData(), O_RDONLY | O_NONBLOCK) : -1;
    const ChildResult child = RunInChild(
        [&] {
          // The first write gets 20 bytes in, the next one is refused: a disk that fills up.
          const rlimit limit{20, 20};
          if (kind == "size limit" && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
            return std::string("no limit");
          const std::string ending = Ending(game.platform, [&] { AppendScoreMemo(game.module1); });
          return ending + " / " + game.platform.messages.at(0).title;
        },
        10);
    if (reader >= 0) ::close(reader);
    QVERIFY2(child.exitedNormally, "the memo hung or died");
    QCOMPARE(QString::fromStdString(child.output), QStringLiteral("ファイル書きこみ中エラー発生! / Morvane-Tesk"));
    if (kind == "size limit") QCOMPARE(QFileInfo(game.File("MTSCmemo.txt")).size(), qint64(0));
  }
};

QTEST_GUILESS_MAIN(TestMemo)
#include "tst_memo.moc"
