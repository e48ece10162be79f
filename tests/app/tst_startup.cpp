// Start-up before any window: the program folder, the single-copy guard, the first score file, the
// start values, and starts in hostile surroundings.
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include "app/AppStart.h"
#include "scores/ScoreFile.h"
#include "shell/AppFolder.h"
#include "tests/support/Child.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"

namespace {

constexpr off_t HugeSize = off_t{30} << 30;

// Creates nested folders below `path` until the path is exactly `length` bytes long.
std::string MakeFolderOfLength(std::string path, size_t length) {
  while (path.size() < length) {
    size_t take = std::min<size_t>(200, length - path.size() - 1);
    if (length - path.size() - 1 - take == 1) --take;  // a lone "/" cannot end a path
    path += "/" + std::string(take, 'd');
    if (::mkdir(path.c_str(), 0755) != 0) return {};
  }
  return path;
}

// Up to `size` bytes at `offset` (the path's bytes need not be UTF-8, which QFile needs).
QByteArray ReadAt(const std::string& path, off_t offset, size_t size) {
  QByteArray bytes(qsizetype(size), '\0');
  const int fd = ::open(path.c_str(), O_RDONLY);
  const ssize_t got = fd < 0 ? 0 : ::pread(fd, bytes.data(), size, offset);
  if (fd >= 0) ::close(fd);
  return bytes.left(std::max<ssize_t>(got, 0));
}

}  // namespace

class TestStartUp : public QObject {
  Q_OBJECT

 private slots:
  void appFolderEndsInOneSeparator() {
    // Guards against "//MTScore.dat" at the root or a missing separator elsewhere.
    QCOMPARE(QString::fromStdString(AppFolderFrom("/") + AppFolderFrom("/opt/g") + AppFolderFrom("/home/a/")),
             "//opt/g//home/a/");
  }

  void hostileSurroundings_data() { RowsFromFixture("hostile-starts.txt", {"situation", "message"}); }
  void hostileSurroundings() {
    // Guards against a start that puts files outside the program folder, hangs, dies without its
    // message, goes on without the claim that keeps two copies off one score file, or keeps what
    // killed saves left behind.
    QFETCH(QString, situation);
    QTemporaryDir root;
    std::string folder = root.path().toStdString();
    const std::string score = "/MTScore.dat";
    const std::set<std::string> lookalikes = {"MTScore.dat.tmp-4242",    "MTScore.dat.tmp-x-0",  "MTScore.dat.tmp--0",
                                              "MTScore.dat.tmp-1-2.bak", "MTSCmemo.txt.tmp-1-2", "MTScore.datatmp-1-2"};
    const auto file = [&](const std::string& name) { return QString::fromStdString(folder + name); };
    const QByteArray fixture = Fixture("default-MTScore.dat");
    if (situation == "NonUtf8Folder") QVERIFY(::mkdir((folder += "/game\xff").c_str(), 0755) == 0);
    if (situation == "UnknownFolder") folder.clear();
    if (situation == "LongestUsableFolder") folder = MakeFolderOfLength(folder, 4062);
    if (situation == "OverlongFolder") folder = MakeFolderOfLength(folder, 4063);
    if (situation == "FileSizeLimit" || situation == "Leftovers") QVERIFY(WriteBytes(file(score), fixture));
    if (situation == "Leftovers") {
      // With a score file in place the start saves nothing: the start itself must clear them.
      for (const std::string& name : lookalikes) QVERIFY(WriteBytes(file("/" + name), ""));
      QVERIFY(WriteBytes(file("/MTScore.dat.tmp-4242-0"), "") && WriteBytes(file("/MTScore.dat.tmp-1-99"), ""));
    }
    if (situation == "PipeAsScoreFile") QVERIFY(::mkfifo((folder + score).c_str(), 0644) == 0);
    if (situation == "FolderAsScoreFile") QVERIFY(::mkdir((folder + score).c_str(), 0755) == 0);
    if (situation == "HugeSparseScoreFile") {
      QFile huge(file(score));
      QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write(fixture) == 2692 && huge.seek(HugeSize - 4) &&
              huge.write("TAIL") == 4);
    }
    QVERIFY(situation == "UnknownFolder" || !folder.empty());
    // Qt cannot name a folder that is not UTF-8, so it cannot remove this one either.
    const auto removeNonUtf8 = qScopeGuard([&] {
      if (situation != "NonUtf8Folder") return;
      ::unlink((folder + score).c_str());
      ::rmdir(folder.c_str());
    });
    const bool rootFileBefore = ::access(score.c_str(), F_OK) == 0;

    const ChildResult child = RunInChild([&] {
      if (situation == "HugeSparseScoreFile" && AddressSpaceCanBeLimited && !LimitAddressSpace(256 << 20))
        return std::string("no memory limit");
      // A file written anywhere but the program folder would land here or in the root folder.
      if (::chdir(root.path().toLocal8Bit().constData()) != 0) return std::string("no chdir");
      // The game is not told: a save past the limit must fail with its message, not kill it.
      const rlimit sizeLimit{1000, 1000};
      if (situation == "FileSizeLimit" && ::setrlimit(RLIMIT_FSIZE, &sizeLimit) != 0) return std::string("no limit");
      ScriptedPlatform platform;
      platform.programFolder = folder;
      if (situation == "AnotherCopy") platform.claim = InstanceClaim::AnotherCopy;
      if (situation == "NoClaim") platform.claim = InstanceClaim::Impossible;
      Module1 module1(platform);
      return Ending(platform, [&] {
        AppStartBeforeWindows(module1);
        module1.NormalNames[6] = "X";
        if (situation == "HugeSparseScoreFile" || situation == "FileSizeLimit") SaveScoreFile(module1);
      }) + (platform.messages.empty() || platform.messages[0].title == "Morvane-Tesk" ? "" : " (no title)");
    });
    if (!rootFileBefore && ::access(score.c_str(), F_OK) == 0) {
      ::unlink(score.c_str());
      QFAIL("the score file landed in the root folder");
    }
    QVERIFY2(child.exitedNormally, "the start hung or died");
    QTEST(QString::fromStdString(child.output), "message");

    std::set<std::string> left{"MTScore.dat"};
    if (situation == "Leftovers") left.insert(lookalikes.begin(), lookalikes.end());
    if (situation == "UnknownFolder") {
      QVERIFY(Entries(root.path().toStdString()).empty());
    } else if (situation == "OverlongFolder" || situation == "AnotherCopy" || situation == "NoClaim") {
      QVERIFY(Entries(folder).empty());  // ended before touching a file
    } else {
      QCOMPARE(Entries(folder), left);
    }
    if (situation == "NonUtf8Folder") QCOMPARE(Entries(root.path().toStdString()), std::set<std::string>{"game\xff"});
    if (situation == "NonUtf8Folder" || situation == "LongestUsableFolder")
      QCOMPARE(ReadAt(folder + score, 0, 4096), fixture);
    if (situation == "FileSizeLimit") QCOMPARE(ReadAt(folder + score, 0, 4096), fixture);
    if (situation == "HugeSparseScoreFile") {
      struct stat status {};
      QVERIFY(::stat((folder + score).c_str(), &status) == 0 && status.st_size == HugeSize);
      QVERIFY2(status.st_blocks * 512 < (1 << 20), "the hole became real zeros");
      QCOMPARE(ReadAt(folder + score, 2576, 2).toHex(), QByteArray("0158"));  // entry 6 now "X"
      QCOMPARE(ReadAt(folder + score, HugeSize - 4, 4), QByteArray("TAIL"));
    }
  }

  void firstStartThenAnother() {
    // Guards against a first start that leaves the tables empty or skips the start values, and a
    // later start that overwrites the player's scores with the defaults.
    ModuleFixture game;
    game.module1.Stage = 4;  // whatever they held, start-up gives them their start values
    game.module1.PlayerIndex = 3;
    game.module1.SoundFlags = 1;
    AppStartBeforeWindows(game.module1);
    QVERIFY(game.platform.messages.empty());
    QCOMPARE(game.Read("MTScore.dat"), Fixture("default-MTScore.dat"));
    QVERIFY(static_cast<const ScoreTables&>(game.module1) == DefaultTables());
    QCOMPARE((QList<int>{game.module1.Stage, game.module1.PlayerIndex, game.module1.SoundFlags, game.module1.GameMode}),
             (QList<int>{1, 0, 139267, 0}));

    QFile file(game.File("MTScore.dat"));
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(2408 + 1 + 8 + 16));  // entry 0's 5th stage
    file.write(QByteArray("\x39\x30\x00\x00", 4));                            // 12345
    file.close();
    ModuleFixture again;
    again.platform.programFolder = game.Path();
    AppStartBeforeWindows(again.module1);
    QCOMPARE(again.module1.NormalScores[0][4], 12345);
    QCOMPARE(file.size(), qint64(2692));
  }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
