// Score memo: the record's exact text and appending it to the memo file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "scores/Memo.h"

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

  void unwritableMemoGivesWriteError() {
    // Guards against a memo that silently fails to be written.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    // A folder in the memo's place stops root too, who writes through permission bits.
    QVERIFY(QDir(folder.path()).mkdir("MTSCmemo.txt"));
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, AppendScoreMemo(module1));
    QCOMPARE(platform.messages.size(), size_t(1));
    QCOMPARE(platform.messages[0].text + " / " + platform.messages[0].title,
             std::string("ファイル書きこみ中エラー発生! / Morvane-Tesk"));
  }
};

QTEST_GUILESS_MAIN(TestMemo)
#include "tst_memo.moc"
