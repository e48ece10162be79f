// Score file: byte layout, code page 932 names, the default file, safe saves that fail, are killed or
// run out of disk, and loads of short or hostile files.
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <random>

#include "scores/ScoreFile.h"
#include "scores/ScoreFileCodec.h"
#include "tests/support/Child.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"

namespace {

const std::string WriteError = "ファイル書きこみ中エラー発生!", ReadError = "ファイル読みこみ中エラー発生!";

// The file for tables whose only names are the one in `record` (its length byte and bytes) in player
// slot 7 and ranking entry 0, every score 0 but the last one, NormalScores[9][4] = -2.
QByteArray FileWithName(const QByteArray& record) {
  return QByteArray(7 * 301, '\0') + record + QByteArray(300, '\0') + record + QByteArray(20 + 9 * 21 - 4, '\0') +
         QByteArray::fromHex("feffffff");
}

// The default file with ranking entry 6 renamed `name` (at most 12 bytes) saved over it: the old
// bytes beyond the shorter new content stay behind it.
QByteArray DefaultWithEntry6(const QByteArray& name) {
  const QByteArray fixture = Fixture("default-MTScore.dat");
  return fixture.left(2576) + char(name.size()) + name + fixture.mid(2589) + fixture.right(12 - name.size());
}

QByteArray Name(const QString& cell) {
  return cell.startsWith("hex:") ? QByteArray::fromHex(cell.mid(4).toLatin1()) : cell.toUtf8();
}

ino_t Inode(const QString& path) {
  struct stat status {};
  return ::stat(path.toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
}

// A file system of its own in a mount namespace of its own: 16 pages of 4 KiB and `inodes` inodes
// in all (the folder itself takes one).
bool MountSmallFileSystem(const QString& folder, int inodes) {
  const std::string options = "size=" + std::to_string(16 * 4096) + ",nr_inodes=" + std::to_string(inodes);
  return ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) == 0;
}

// Fills the file system of `folder` with the file "filler" until `freePages` pages are left.
bool FillUpTo(const QString& folder, long freePages) {
  QFile filler(folder + "/filler");
  struct statvfs space {};
  if (!filler.open(QIODevice::WriteOnly)) return false;
  while (::statvfs(folder.toLocal8Bit().constData(), &space) == 0 && long(space.f_bavail) > freePages)
    if (filler.write(QByteArray(4096, 'x')) != 4096 || !filler.flush()) return false;
  return true;
}

}  // namespace

class TestScoreFile : public QObject {
  Q_OBJECT

 private slots:
  void names_data() {
    RowsFromFixture("score-names.txt", {"saved", "name", "record", "loaded"});
    const QString a254(254, 'A'), hex254 = QString("41").repeated(254);
    QTest::newRow("256 units cut at 255") << QString("y") << a254 + "AA" << "ff 41" + hex254 << a254 + "A";
    QTest::newRow("surrogate pair at unit 255 not split") << QString("y") << a254 + "😀" << "fe" + hex254 << a254;
  }
  void names() {
    // Guards against name bytes that differ from what the players' own system writes and reads, and
    // against a length byte that disagrees with them and shifts every later record.
    QFETCH(QString, saved);
    QFETCH(QString, name);
    QFETCH(QString, record);
    QFETCH(QString, loaded);
    const QByteArray file = FileWithName(QByteArray::fromHex(record.toLatin1()));
    if (saved == "y") {
      ModuleFixture game;
      game.module1.PlayerNames[7] = game.module1.NormalNames[0] = Name(name).toStdString();
      game.module1.NormalScores[9][4] = -2;
      SaveScoreFile(game.module1);
      QCOMPARE(game.Read("MTScore.dat").toHex(' '), file.toHex(' '));
    }
    ModuleFixture game;
    QVERIFY(WriteBytes(game.File("MTScore.dat"), file));
    LoadScoreFile(game.module1);
    ScoreTables expected;
    expected.PlayerNames[7] = expected.NormalNames[0] = Name(loaded).toStdString();
    expected.NormalScores[9][4] = -2;
    QVERIFY(static_cast<const ScoreTables&>(game.module1) == expected);
  }

  void defaultFileAndShorterSaves() {
    // Guards against a first-start file whose bytes stray from the layout existing score files use,
    // and a save that truncates the file, loses its mode, or replaces a linked file's link.
    ModuleFixture game;
    game.module1.PlayerNames[0] = "old";  // whatever the tables held, the defaults replace it
    game.module1.AttackScores[0][0] = 9;
    InitScoreTables(game.module1);
    QCOMPARE(game.Read("MTScore.dat").toHex(' '), Fixture("default-MTScore.dat").toHex(' '));
    QVERIFY(static_cast<const ScoreTables&>(game.module1) == DefaultTables());

    ::umask(022);
    QVERIFY(QFile::rename(game.File("MTScore.dat"), game.File("real.dat")));
    QVERIFY(::chmod(game.File("real.dat").toLocal8Bit(), 0664) == 0);  // wider than the umask allows
    QVERIFY(QFile::link("real.dat", game.File("MTScore.dat")));
    // What a killed save left beside the file the link points to, and a look-alike to keep.
    QVERIFY(WriteBytes(game.File("real.dat.tmp-77-0"), "left") && WriteBytes(game.File("real.dat.tmp-77-0.keep"), "x"));
    for (const QByteArray name : {"X", "XXXXXXXXXXX"}) {  // 12 name bytes become 1, then 11
      game.module1.NormalNames[6] = name.toStdString();
      SaveScoreFile(game.module1);
      QCOMPARE(game.Read("MTScore.dat").toHex(' '), DefaultWithEntry6(name).toHex(' '));
      ModuleFixture reader;
      QFile::copy(game.File("MTScore.dat"), reader.File("MTScore.dat"));
      LoadScoreFile(reader.module1);
      QVERIFY(static_cast<const ScoreTables&>(reader.module1) == static_cast<const ScoreTables&>(game.module1));
    }
    QVERIFY(QFileInfo(game.File("MTScore.dat")).isSymLink());
    QCOMPARE(Entries(game.Path()), (std::set<std::string>{"MTScore.dat", "real.dat", "real.dat.tmp-77-0.keep"}));
    QCOMPARE(QFileInfo(game.File("real.dat")).permissions() & 0x777, QFileDevice::Permissions(0x664));
  }

  void failedSaves_data() { RowsFromFixture("failed-saves.txt", {"how", "outcome"}); }
  void failedSaves() {
    // Guards against a failed save that damages the old file, leaves litter, or goes unreported, and
    // against losing every save of a player who may write the score file but not its folder.
    QFETCH(QString, how);
    const QStringList words = how.split(' ');
    const QString kind = words[0];
    if ((kind == "nobody" || kind == "protected") && ::geteuid() != 0) QSKIP("needs root to act as another user");
    ModuleFixture game;
    const QString folder = game.folder.path(), score = game.File("MTScore.dat");
    const ChildResult child = RunInChild([&] {
      Module1& module1 = game.module1;
      SaveHookForTests hook;
      int calls = 0;
      if (kind == "full") {
        // Where no file system of the test's own can be mounted, the system's refusal is injected.
        if (!MountSmallFileSystem(folder, words[1] == "inodes" ? 3 : 8)) {
          hook = [&](SaveStep at, int) { return at == (words[1] == "inodes" ? SaveStep::CreateTemp : SaveStep::WriteTemp); };
        }
        std::string long200;
        for (int i = 0; i < 200; ++i) long200 += "あ";
        for (auto& name : module1.NormalNames) name = long200;
        for (auto& name : module1.PlayerNames) name = long200;  // the file takes two and a half pages
        SaveScoreFile(module1);
        if (!(hook ? WriteBytes(folder + "/filler", "") : FillUpTo(folder, words[2].toLong()))) return std::string("no filler");
      } else {
        WriteBytes(score, Fixture("default-MTScore.dat"));
        LoadScoreFile(module1);
      }
      const QByteArray old = ReadBytes(score);
      if (kind == "step") {
        const int step = QStringList{"OpenOld", "ReadOld", "CreateTemp", "WriteTemp", "SyncTemp", "CloseTemp",
                                     "Rename", "SyncFolder"}.indexOf(words[1]);
        // Called after this block has ended: `step` by value.
        hook = [&, step](SaveStep at, int) { return int(at) == step && ++calls == words[2].toInt(); };
      }
      if (kind == "protected" && !(QFile::remove(score) && QDir(folder).mkdir("MTScore.dat")))
        return std::string("no folder in its place");
      if (kind == "nobody") {
        if (::chmod(folder.toLocal8Bit(), 0555) != 0 ||
            (words.value(1) != "unwritable" && ::chown(score.toLocal8Bit(), NobodyId, NobodyId) != 0))
          return std::string("no modes");
        if (words.value(1) == "write" || words.value(1) == "sync")
          hook = [&](SaveStep at, int) { return at == (words[1] == "write" ? SaveStep::WriteInPlace : SaveStep::SyncInPlace); };
        // As the game's start does: a write past the limit fails instead of killing the game.
        const rlimit limit{words.value(2).toULong(), words.value(2).toULong()};
        if (words.value(1) == "limit" && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
          return std::string("no limit");
        if (!BecomeNobody()) return std::string("no user change");
      }
      const ino_t inode = Inode(score);
      module1.NormalNames[6] = "X";
      const std::string ending = Ending(game.platform, [&] { SaveScoreFile(module1, hook); });
      const QByteArray now = ReadBytes(score);
      std::string entries;
      for (const std::string& entry : Entries(folder.toStdString())) entries += (entries.empty() ? "" : " ") + entry;
      return ending + "; " + entries + "; " + (now == old ? "old" : now == DefaultWithEntry6("X") ? "new" : "other") +
             "; inode " + (Inode(score) == inode ? "kept" : "replaced");
    });
    QVERIFY2(child.exitedNormally, "the save hung or died");
    QTEST(QString::fromStdString(child.output), "outcome");
  }

  void loads_data() {
    // What stands in the score file's place, and the name of entry 6 loaded or the message.
    RowsFromFixture("score-file-loads.txt", {"kind", "outcome"});
  }
  void loads() {
    // Guards against loading half a table from a cut-off file, a load failure that goes unreported or
    // changes the tables, a load that waits for ever on a pipe or reads a folder, and one that reads
    // a huge file whole instead of the bytes the records can need.
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    ModuleFixture game;
    const QString score = game.File("MTScore.dat");
    const QByteArray path = score.toLocal8Bit();
    if (kind.startsWith("cut")) QVERIFY(WriteBytes(score, Fixture("default-MTScore.dat").left(kind.mid(4).toInt())));
    if (kind.contains("pipe")) QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    if (kind == "zeros") QVERIFY(QFile::link("/dev/zero", score));  // reads as a file of empty names
    if (kind == "folder") QVERIFY(QDir(game.folder.path()).mkdir("MTScore.dat"));
    // Opened for reading and writing, a pipe needs no reader to be written.
    const int feeder = kind == "fed pipe" ? ::open(path.constData(), O_RDWR | O_NONBLOCK) : -1;
    if (feeder >= 0) QCOMPARE(::write(feeder, Fixture("default-MTScore.dat").constData(), 2692), ssize_t(2692));
    if (kind == "huge")
      QVERIFY(WriteBytes(score, Fixture("default-MTScore.dat")) && ::truncate(path.constData(), off_t{30} << 30) == 0);
    game.module1.NormalNames[6] = "before";
    const ChildResult child = RunInChild(
        [&] {
          if (kind == "huge" && AddressSpaceCanBeLimited && !LimitAddressSpace(64 << 20)) return std::string("no limit");
          const std::string ending = Ending(game.platform, [&] { LoadScoreFile(game.module1); });
          return ending.empty() ? game.module1.NormalNames[6] : ending + " / " + game.module1.NormalNames[6];
        },
        10);
    if (feeder >= 0) ::close(feeder);
    QVERIFY2(child.exitedNormally, "the load hung or died");
    QCOMPARE(QString::fromStdString(child.output), outcome);
  }

  void everyCutIsRejected() {
    // Guards against a cut position at which the decoder takes half a file, or reads past its end.
    const QByteArray fixture = Fixture("default-MTScore.dat");
    for (int length = 0; length < 2692; ++length)
      QVERIFY2(!DecodeScoreFile(std::span(reinterpret_cast<const uint8_t*>(fixture.data()), size_t(length))),
               qPrintable(QString("accepted %1 bytes").arg(length)));
  }

  void saveSyncsTheFileThenTheFolder() {
    // Guards against a save that drops the temporary file's sync or the folder's sync after the
    // rename: a crash could then leave an empty file or bring the old one back.
    ModuleFixture game;
    QVERIFY(WriteBytes(game.File("MTScore.dat"), Fixture("default-MTScore.dat")));
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";
    const QByteArray expected = DefaultWithEntry6("X");
    const ino_t folder = Inode(game.folder.path());
    QStringList seen;
    SaveScoreFile(game.module1, [&](SaveStep step, int fd) {
      struct stat status {};
      const bool isFile = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
      // The temporary file is open for writing only; its /proc name opens it afresh for reading.
      const bool complete = isFile && ReadBytes(QString("/proc/self/fd/%1").arg(fd)) == expected;
      const bool renamed = game.Read("MTScore.dat") == expected;
      if (step == SaveStep::SyncTemp) seen << QString("file synced %1 %2").arg(complete).arg(renamed);
      if (step == SaveStep::SyncFolder)
        seen << QString("folder synced %1 %2").arg(S_ISDIR(status.st_mode) && status.st_ino == folder).arg(renamed);
      return false;
    });
    // Complete and not yet renamed; the score file's own folder, after the rename.
    QCOMPARE(seen, QStringList({"file synced 1 0", "folder synced 1 1"}));
  }

  void saveKeepsOwnerGroupAndMode_data() {
    QTest::addColumn<bool>("byPlayer");  // false: root saves
    QTest::addColumn<uint>("owner");     // of the file before the save; nobody saves as a player
    QTest::addColumn<uint>("group");
    QTest::addColumn<uint>("mode");
    QTest::newRow("root saves a player's file") << false << uint(NobodyId) << uint(NobodyId) << 0640u;
    // A player cannot give a file away, but can give it a group of theirs (100 here).
    QTest::newRow("a player saves a file of a group of theirs") << true << 0u << 100u << 0664u;
  }
  void saveKeepsOwnerGroupAndMode() {
    // Guards against a save by root handing a player's score file to root, and against a save
    // that takes away the group the players share.
    QFETCH(bool, byPlayer);
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(uint, mode);
    if (::geteuid() != 0) QSKIP("only root can give a file to another owner or switch users");
    ModuleFixture game;
    QVERIFY(::chmod(game.folder.path().toLocal8Bit().constData(), 0777) == 0);
    QVERIFY(WriteBytes(game.File("MTScore.dat"), Fixture("default-MTScore.dat")));
    const QByteArray path = game.File("MTScore.dat").toLocal8Bit();
    QVERIFY(::chown(path.constData(), owner, group) == 0 && ::chmod(path.constData(), mode) == 0);
    game.module1.NormalNames[6] = "X";
    const ChildResult child = RunInChild([&] {
      const gid_t groups[] = {gid_t(group)};
      if (byPlayer && (::setgroups(1, groups) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
        return std::string("no user change");
      LoadScoreFile(game.module1);
      game.module1.NormalNames[6] = "X";
      return Ending(game.platform, [&] { SaveScoreFile(game.module1); });
    });
    QVERIFY(child.exitedNormally && child.output.empty());
    struct stat status {};
    QVERIFY(::stat(path.constData(), &status) == 0);
    QCOMPARE((QList<uint>{status.st_uid, status.st_gid, status.st_mode & 07777}),
             (QList<uint>{byPlayer ? uint(NobodyId) : owner, group, mode}));
    QCOMPARE(ReadBytes(game.File("MTScore.dat")), DefaultWithEntry6("X"));
  }

  void killedSavesLeaveAWholeFile() {
    // Guards against a save that a kill leaves half-written or missing, and against the temporary
    // files of killed saves piling up.
    ModuleFixture game;
    InitScoreTables(game.module1);
    // Two tables of different lengths, so that the old tail behind a shorter save matters too.
    const ScoreTables shorter = game.module1;
    ScoreTables longer = shorter;
    longer.NormalNames[0] = "長い名前の一位さん";
    longer.PlayerNames[3] = "ｻﾝﾊﾞﾝ";
    longer.AttackScores[3].fill(77);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 5; ++i) SaveScoreFile(game.module1);
    const qint64 saveNanoseconds = std::max<qint64>(clock.nsecsElapsed() / 5, 1000);
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> delay(0, 3 * saveNanoseconds);
    int trials = 0, leftovers = 0;
    for (clock.restart(); trials < 300 && clock.elapsed() < 20000; ++trials) {
      const pid_t saver = ::fork();
      if (saver == 0) {
        for (long i = 0;; ++i) {
          static_cast<ScoreTables&>(game.module1) = i % 2 ? shorter : longer;
          SaveScoreFile(game.module1);
        }
      }
      // Killed a random moment into its run of saves: waiting on the clock, not sleeping.
      QElapsedTimer wait;
      wait.start();
      for (const qint64 until = delay(random); wait.nsecsElapsed() < until;) {
      }
      ::kill(saver, SIGKILL);
      ::waitpid(saver, nullptr, 0);
      ModuleFixture reader;
      reader.module1.AppFolder = game.module1.AppFolder;
      const std::string ending = Ending(reader.platform, [&] { LoadScoreFile(reader.module1); });
      const ScoreTables& loaded = reader.module1;
      QVERIFY2(ending.empty() && (loaded == shorter || loaded == longer),
               qPrintable(QString("trial %1 (seed %2): no whole table").arg(trials).arg(seed)));
      leftovers += Entries(game.Path()).size() > 1;
      static_cast<ScoreTables&>(game.module1) = shorter;
      SaveScoreFile(game.module1);
      QCOMPARE(Entries(game.Path()), std::set<std::string>{"MTScore.dat"});
    }
    qInfo("%d kills, %d of them between a temporary file's creation and its rename (seed %u)", trials, leftovers,
          seed);
    QVERIFY2(leftovers > 0, "no kill fell between a temporary file's creation and its rename");
  }
};

QTEST_GUILESS_MAIN(TestScoreFile)
#include "tst_scorefile.moc"
