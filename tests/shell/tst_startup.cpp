// Start-up before any window: the single-copy guard, the program folder, the first score file,
// and starts in hostile surroundings.
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFile.h"
#include "shell/AppFolder.h"
#include "app/AppStart.h"
#include "tests/hardening/ChildProcess.h"

namespace {

enum class Hostile {
  NonUtf8Folder,
  UnknownFolder,
  LongestUsableFolder,
  OverlongFolder,
  Leftovers,
  PipeAsScoreFile,
  FolderAsScoreFile,
  HugeSparseScoreFile,
  FileSizeLimit
};

constexpr off_t HugeSize = off_t{30} << 30;

// The names in a folder, as bytes.
std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* listing = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(listing)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.insert(name);
    }
    ::closedir(listing);
  }
  return names;
}

// Creates nested folders below `base` until the path is exactly `length` bytes long.
std::string MakeFolderOfLength(std::string path, size_t length) {
  while (path.size() < length) {
    size_t take = std::min<size_t>(200, length - path.size() - 1);
    if (length - path.size() - 1 - take == 1) --take;  // a lone "/" cannot end a path
    path += "/" + std::string(take, 'd');
    if (::mkdir(path.c_str(), 0755) != 0) return {};
  }
  return path;
}

QByteArray ReadBytes(const std::string& path, off_t offset, size_t size) {
  QByteArray bytes(qsizetype(size), '\0');
  const int fd = ::open(path.c_str(), O_RDONLY);
  const ssize_t got = fd < 0 ? -1 : ::pread(fd, bytes.data(), size, offset);
  if (fd >= 0) ::close(fd);
  return got == ssize_t(size) ? bytes : QByteArray();
}

}  // namespace

Q_DECLARE_METATYPE(Hostile)
Q_DECLARE_METATYPE(InstanceClaim)

class TestStartUp : public QObject {
  Q_OBJECT

 private slots:
  void appFolderEndsInOneSeparator_data() {
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("appFolder");
    QTest::newRow("root folder is not doubled") << "/"
                                                << "/";
    QTest::newRow("ordinary folder") << "/opt/morvane-tesk"
                                     << "/opt/morvane-tesk/";
    QTest::newRow("folder already ending in a separator") << "/home/a/"
                                                          << "/home/a/";
  }
  void appFolderEndsInOneSeparator() {
    // Guards against "//MTScore.dat" at the root or a missing separator elsewhere.
    QFETCH(QString, programFolder);
    QFETCH(QString, appFolder);
    QCOMPARE(QString::fromStdString(AppFolderFrom(programFolder.toStdString())), appFolder);
  }

  void hostileSurroundings_data() {
    QTest::addColumn<Hostile>("situation");
    QTest::addColumn<QString>("message");  // empty: the start goes on
    const QString noFolder = QStringLiteral("ゲームのフォルダが見つかりません！");
    const QString writeError = QStringLiteral("ファイル書きこみ中エラー発生!");
    QTest::newRow("folder name that is not UTF-8") << Hostile::NonUtf8Folder << QString();
    QTest::newRow("folder the system could not tell") << Hostile::UnknownFolder << noFolder;
    QTest::newRow("longest folder with room for every file") << Hostile::LongestUsableFolder << QString();
    QTest::newRow("folder one byte longer") << Hostile::OverlongFolder << noFolder;
    QTest::newRow("leftovers of saves killed before their rename") << Hostile::Leftovers << QString();
    QTest::newRow("pipe in the score file's place") << Hostile::PipeAsScoreFile << writeError;
    QTest::newRow("folder in the score file's place") << Hostile::FolderAsScoreFile << writeError;
    QTest::newRow("30 GB sparse score file, little memory, a save")
        << Hostile::HugeSparseScoreFile << QString();
    QTest::newRow("file size limit below the score file's size, a save") << Hostile::FileSizeLimit << writeError;
  }
  void hostileSurroundings() {
    // Guards against a start that puts files outside the program folder, hangs, dies without its
    // message, or keeps what killed saves left behind.
    QFETCH(Hostile, situation);
    QFETCH(QString, message);
    QTemporaryDir root;
    std::string folder = root.path().toStdString();
    const std::string score = "/MTScore.dat";
    const std::set<std::string> lookalikes = {"MTScore.dat.tmp-4242", "MTScore.dat.tmp-x-0",
                                              "MTScore.dat.tmp--0",   "MTScore.dat.tmp-1-2.bak",
                                              "MTSCmemo.txt.tmp-1-2", "MTScore.datatmp-1-2"};
    switch (situation) {
      case Hostile::NonUtf8Folder:
        folder += "/game\xff";
        QVERIFY(::mkdir(folder.c_str(), 0755) == 0);
        break;
      case Hostile::UnknownFolder: folder.clear(); break;
      case Hostile::LongestUsableFolder: folder = MakeFolderOfLength(folder, 4062); break;
      case Hostile::OverlongFolder: folder = MakeFolderOfLength(folder, 4063); break;
      case Hostile::FileSizeLimit:
        QVERIFY(QFile::copy(QStringLiteral(MORVANE_FIXTURES "/default-MTScore.dat"),
                            QString::fromStdString(folder + score)));
        break;
      case Hostile::Leftovers:
        // With a score file in place the start saves nothing: the start itself must clear them.
        QVERIFY(QFile::copy(QStringLiteral(MORVANE_FIXTURES "/default-MTScore.dat"),
                            QString::fromStdString(folder + score)));
        for (const std::string& name : lookalikes)
          QVERIFY(QFile(QString::fromStdString(folder + "/" + name)).open(QIODevice::WriteOnly));
        for (const char* name : {"/MTScore.dat.tmp-4242-0", "/MTScore.dat.tmp-1-99"})
          QVERIFY(QFile(QString::fromStdString(folder + name)).open(QIODevice::WriteOnly));
        break;
      case Hostile::PipeAsScoreFile: QVERIFY(::mkfifo((folder + score).c_str(), 0644) == 0); break;
      case Hostile::FolderAsScoreFile: QVERIFY(::mkdir((folder + score).c_str(), 0755) == 0); break;
      case Hostile::HugeSparseScoreFile: {
        QFile file(QStringLiteral(MORVANE_FIXTURES "/default-MTScore.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int fd = ::open((folder + score).c_str(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(::pwrite(fd, bytes.data(), size_t(bytes.size()), 0) == bytes.size());
        QVERIFY(::pwrite(fd, "TAIL", 4, HugeSize - 4) == 4);
        ::close(fd);
        break;
      }
    }
    QVERIFY(situation == Hostile::UnknownFolder || !folder.empty());
    // Qt cannot name a folder that is not UTF-8, so it cannot remove this one either.
    const auto removeNonUtf8 = qScopeGuard([&] {
      if (situation != Hostile::NonUtf8Folder) return;
      ::unlink((folder + score).c_str());
      ::rmdir(folder.c_str());
    });
    const bool rootFileBefore = ::access(score.c_str(), F_OK) == 0;

    const ChildResult child = RunInChild([&] {
      if (situation == Hostile::HugeSparseScoreFile && AddressSpaceCanBeLimited &&
          !LimitAddressSpace(256 << 20))
        return std::string("no memory limit");
      // A file written anywhere but the program folder would land here or in the root folder.
      if (::chdir(root.path().toLocal8Bit().constData()) != 0) return std::string("no chdir");
      // The game is not told: a save past the limit must fail with its message, not kill it.
      const rlimit sizeLimit{1000, 1000};
      if (situation == Hostile::FileSizeLimit && ::setrlimit(RLIMIT_FSIZE, &sizeLimit) != 0)
        return std::string("no size limit");
      ScriptedPlatform platform;
      platform.programFolder = folder;
      Module1 module1(platform);
      try {
        AppStartBeforeWindows(module1);
        if (situation == Hostile::HugeSparseScoreFile || situation == Hostile::FileSizeLimit) {
          module1.NormalNames[6] = "X";
          SaveScoreFile(module1);
        }
        return std::string();
      } catch (const ScriptedPlatform::ProgramEnded&) {
        return platform.messages.at(0).text;
      }
    });
    if (!rootFileBefore && ::access(score.c_str(), F_OK) == 0) {
      ::unlink(score.c_str());
      QFAIL("the score file landed in the root folder");
    }
    QVERIFY2(child.exitedNormally, "the start hung or died");
    QCOMPARE(QString::fromStdString(child.output), message);

    struct stat status {};
    switch (situation) {
      case Hostile::NonUtf8Folder:
      case Hostile::LongestUsableFolder:
        QVERIFY(::stat((folder + score).c_str(), &status) == 0 && status.st_size == 2692);
        QCOMPARE(Entries(folder), std::set<std::string>{"MTScore.dat"});
        if (situation == Hostile::NonUtf8Folder)
          QCOMPARE(Entries(root.path().toStdString()), std::set<std::string>{"game\xff"});
        break;
      case Hostile::UnknownFolder: QVERIFY(Entries(root.path().toStdString()).empty()); break;
      case Hostile::OverlongFolder: QVERIFY(Entries(folder).empty()); break;
      case Hostile::Leftovers: {
        std::set<std::string> kept = lookalikes;
        kept.insert("MTScore.dat");
        QCOMPARE(Entries(folder), kept);
        break;
      }
      case Hostile::PipeAsScoreFile:
      case Hostile::FolderAsScoreFile: QCOMPARE(Entries(folder), std::set<std::string>{"MTScore.dat"}); break;
      case Hostile::FileSizeLimit: {
        QFile fixture(QStringLiteral(MORVANE_FIXTURES "/default-MTScore.dat"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        QCOMPARE(ReadBytes(folder + score, 0, 2692), fixture.readAll());
        QCOMPARE(Entries(folder), std::set<std::string>{"MTScore.dat"});
        break;
      }
      case Hostile::HugeSparseScoreFile: {
        QVERIFY(::stat((folder + score).c_str(), &status) == 0);
        QCOMPARE(status.st_size, HugeSize);
        QVERIFY2(status.st_blocks * 512 < (1 << 20), "the hole became real zeros");
        QCOMPARE(ReadBytes(folder + score, 2576, 2).toHex(), QByteArray("0158"));  // entry 6 now "X"
        QCOMPARE(ReadBytes(folder + score, HugeSize - 4, 4), QByteArray("TAIL"));
        break;
      }
    }
  }

  void refusedStartEndsBeforeTouchingAnything_data() {
    QTest::addColumn<InstanceClaim>("claim");
    QTest::addColumn<QString>("message");
    QTest::newRow("another copy runs") << InstanceClaim::AnotherCopy << QStringLiteral("二重起動はできません！");
    QTest::newRow("no claim can be taken")
        << InstanceClaim::Impossible << QStringLiteral("ゲームのフォルダを確保できません！");
  }
  void refusedStartEndsBeforeTouchingAnything() {
    // Guards against a start that goes on, or creates or reads the score file, without the claim
    // that keeps two copies off one score file.
    QFETCH(InstanceClaim, claim);
    QFETCH(QString, message);
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    platform.claim = claim;
    Module1 module1(platform);
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, AppStartBeforeWindows(module1));
    QCOMPARE(platform.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(platform.messages[0].text), message);
    QCOMPARE(QString::fromStdString(platform.messages[0].title), QStringLiteral("Morvane-Tesk"));
    QVERIFY(!QFile::exists(folder.filePath("MTScore.dat")));
  }

  void firstStartWritesAndLoadsTheDefaults() {
    // Guards against a first start that leaves the tables empty or skips the start values.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Module1 module1(platform);
    module1.Stage = 4;  // whatever they held, start-up gives them their start values
    module1.PlayerIndex = 3;
    module1.SoundFlags = 1;
    AppStartBeforeWindows(module1);
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
      AppStartBeforeWindows(first);
    }
    QFile file(folder.filePath("MTScore.dat"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(2408 + 1 + 8 + 16);  // 1st ranking entry, 5th stage score, after "てんぷ亭"
    file.write(QByteArray("\x39\x30\x00\x00", 4));  // 12345
    file.close();

    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Module1 module1(platform);
    AppStartBeforeWindows(module1);
    QCOMPARE(module1.NormalScores[0][4], 12345);
    QCOMPARE(file.size(), qint64(2692));
  }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
