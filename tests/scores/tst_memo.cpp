// Score memo: the record's exact text and appending it to the memo file.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "scores/Memo.h"
#include "tests/hardening/ChildProcess.h"

class TestMemo : public QObject {
  Q_OBJECT

 private slots:
  void twoRunsAppendSixLines() {
    // Guards against a memo line that differs from players' old memo files, or that overwrites them.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    // Three cleared stages, a crash on stage 4 that earned 300, stage 5 never reached.
    module1.RunStageScores = {0, 2500, 2400, 1800, 300, 0};
    AppendScoreMemo(module1);
    platform.now = {2027, 1, 2, 0, 0, 0};
    module1.RunStageScores = {0, 1, 22, 333, 4444, 55555};
    AppendScoreMemo(module1);
    QFile memo(folder.filePath("MTSCmemo.txt"));
    QVERIFY(memo.open(QIODevice::ReadOnly));
    QCOMPARE(memo.readAll(),
             QByteArray("2026/12/06 9:05:07\r\n700000 (250000/240000/180000/30000/000)\r\n\r\n"
                        "2027/01/02 0:00:00\r\n6035500 (100/2200/33300/444400/5555500)\r\n\r\n"));
    QVERIFY(platform.messages.empty());
  }

  void unwritableMemoGivesWriteError_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder in the memo's place") << "folder";
    QTest::newRow("pipe without a reader") << "pipe";
    QTest::newRow("pipe with a reader") << "read pipe";
    QTest::newRow("file size limit reached within the record") << "size limit";
  }
  void unwritableMemoGivesWriteError() {
    // Guards against a memo that silently fails to be written, or that waits for ever on a pipe.
    QFETCH(QString, kind);
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    const QByteArray path = folder.filePath("MTSCmemo.txt").toLocal8Bit();
    // A folder in the memo's place stops root too, who writes through permission bits.
    if (kind == "folder") QVERIFY(::mkdir(path.constData(), 0755) == 0);
    if (kind.contains("pipe")) QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    const int reader = kind == "read pipe" ? ::open(path.constData(), O_RDONLY | O_NONBLOCK) : -1;
    const ChildResult child = RunInChild(
        [&] {
          if (kind == "size limit") {
            // The first write gets 20 bytes in, the next one is refused: a disk that fills up.
            const rlimit limit{20, 20};
            if (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
              return std::string("no limit");
          }
          try {
            AppendScoreMemo(module1);
            return std::string("appended");
          } catch (const ScriptedPlatform::ProgramEnded&) {
            return platform.messages.at(0).text + " / " + platform.messages.at(0).title;
          }
        },
        10);
    if (reader >= 0) ::close(reader);
    QVERIFY2(child.exitedNormally, "the memo hung or died");
    QCOMPARE(QString::fromStdString(child.output),
             QStringLiteral("ファイル書きこみ中エラー発生! / Morvane-Tesk"));
    // No part of the record stays behind.
    if (kind == "size limit") QCOMPARE(QFileInfo(folder.filePath("MTSCmemo.txt")).size(), qint64(0));
  }
};

QTEST_GUILESS_MAIN(TestMemo)
#include "tst_memo.moc"
