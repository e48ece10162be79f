// Saves killed at random moments: the score file always loads whole, and the next save clears
// what a killed one left behind.
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFile.h"

namespace {

constexpr int MaxTrials = 300;
constexpr qint64 MaxMilliseconds = 20000;

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

}  // namespace

class TestSaveKill : public QObject {
  Q_OBJECT

 private slots:
  void killedSavesLeaveAWholeFile() {
    // Guards against a save that a kill leaves half-written or missing, and against the temporary
    // files of killed saves piling up.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = folder.path().toStdString() + "/";
    InitScoreTables(module1);
    // Two tables of different lengths, so that the old tail behind a shorter save matters too.
    const ScoreTables shorter = module1;
    ScoreTables longer = shorter;
    longer.NormalNames[0] = "長い名前の一位さん";
    longer.PlayerNames[3] = "ｻﾝﾊﾞﾝ";
    longer.AttackScores[3].fill(77);

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 5; ++i) SaveScoreFile(module1);
    const qint64 saveNanoseconds = std::max<qint64>(clock.nsecsElapsed() / 5, 1000);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> delay(0, 3 * saveNanoseconds);
    int trials = 0, leftovers = 0;
    clock.restart();
    for (; trials < MaxTrials && clock.elapsed() < MaxMilliseconds; ++trials) {
      const pid_t saver = ::fork();
      if (saver == 0) {
        for (long i = 0;; ++i) {
          static_cast<ScoreTables&>(module1) = i % 2 ? shorter : longer;
          SaveScoreFile(module1);
        }
      }
      // Killed a random moment into its run of saves: waiting on the clock, not sleeping.
      QElapsedTimer wait;
      wait.start();
      for (const qint64 until = delay(random); wait.nsecsElapsed() < until;) {
      }
      ::kill(saver, SIGKILL);
      ::waitpid(saver, nullptr, 0);

      ScriptedPlatform readerPlatform;
      Module1 reader(readerPlatform);
      reader.AppFolder = module1.AppFolder;
      try {
        LoadScoreFile(reader);
      } catch (const ScriptedPlatform::ProgramEnded&) {
        QFAIL(qPrintable(QString("trial %1 (seed %2): the score file did not load").arg(trials).arg(seed)));
      }
      const ScoreTables& loaded = reader;
      QVERIFY2(loaded == shorter || loaded == longer,
               qPrintable(QString("trial %1 (seed %2): neither table").arg(trials).arg(seed)));
      if (Entries(folder.path()).size() > 1) ++leftovers;

      static_cast<ScoreTables&>(module1) = shorter;
      SaveScoreFile(module1);
      QCOMPARE(Entries(folder.path()), QStringList{"MTScore.dat"});
    }
    qInfo("%d kills, %d of them between a temporary file's creation and its rename (seed %u)", trials,
          leftovers, seed);
    QVERIFY2(leftovers > 0, "no kill fell between a temporary file's creation and its rename");
  }
};

QTEST_GUILESS_MAIN(TestSaveKill)
#include "tst_savekill.moc"
