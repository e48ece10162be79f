// Start-up before any window: the single-copy guard, the program folder, the first score file.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "shell/AppFolder.h"
#include "shell/StartUp.h"

class TestStartUp : public QObject {
  Q_OBJECT

 private slots:
  void appFolderEndsInOneSeparator_data() {
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("appFolder");
    QTest::newRow("root folder is not doubled") << "/" << "/";
    QTest::newRow("ordinary folder") << "/opt/morvane-tesk" << "/opt/morvane-tesk/";
    QTest::newRow("folder already ending in a separator") << "/home/a/" << "/home/a/";
  }
  void appFolderEndsInOneSeparator() {
    // Guards against "//MTScore.dat" at the root or a missing separator elsewhere.
    QFETCH(QString, programFolder);
    QFETCH(QString, appFolder);
    QCOMPARE(QString::fromStdString(AppFolderFrom(programFolder.toStdString())), appFolder);
  }

  void secondCopyEndsBeforeTouchingAnything() {
    // Guards against a refused second copy creating or reading the score file.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    platform.anotherCopyRunning = true;
    Module1 module1(platform);
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, PrepareStart(module1));
    QCOMPARE(platform.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(platform.messages[0].text), QStringLiteral("二重起動はできません！"));
    QCOMPARE(QString::fromStdString(platform.messages[0].title), QStringLiteral("Morvane-Tesk"));
    QVERIFY(!QFile::exists(folder.filePath("MTScore.dat")));
  }

  void firstStartWritesAndLoadsTheDefaults() {
    // Guards against a first start that leaves the tables empty or skips the start values.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Module1 module1(platform);
    PrepareStart(module1);
    QVERIFY(platform.messages.empty());
    QCOMPARE(QString::fromStdString(module1.AppFolder), folder.path() + "/");
    QCOMPARE(QFileInfo(folder.filePath("MTScore.dat")).size(), qint64(2692));
    QCOMPARE(QString::fromStdString(module1.NormalNames[6]), QStringLiteral("天狗ラーメン"));
    QCOMPARE(module1.NormalScores[9][4], 200);
    QCOMPARE(module1.Stage, 1);
    QCOMPARE(module1.PlayerIndex, 0);
    QCOMPARE(module1.SoundFlags, 139267);
    QCOMPARE(module1.GameMode, 0);
  }

  void existingFileIsLoadedNotReplaced() {
    // Guards against start-up overwriting the player's scores with the defaults.
    QTemporaryDir folder;
    {
      ScriptedPlatform platform;
      platform.programFolder = folder.path().toStdString();
      Module1 first(platform);
      PrepareStart(first);
    }
    QFile file(folder.filePath("MTScore.dat"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(2408 + 1 + 8 + 16);  // 1st ranking entry, 5th stage score, after "てんぷ亭"
    file.write(QByteArray("\x39\x30\x00\x00", 4));  // 12345
    file.close();

    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Module1 module1(platform);
    PrepareStart(module1);
    QCOMPARE(module1.NormalScores[0][4], 12345);
    QCOMPARE(file.size(), qint64(2692));
  }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
