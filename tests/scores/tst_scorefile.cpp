// Score file: byte layout, code page 932 names, default file, safe saves and short files.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFile.h"
#include "scores/ScoreFileCodec.h"
#include "tests/hardening/ChildProcess.h"

namespace {

const QString WriteError = QStringLiteral("ファイル書きこみ中エラー発生!");
const QString ReadError = QStringLiteral("ファイル読みこみ中エラー発生!");

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
QByteArray Fixture() { return ReadFile(QStringLiteral(MORVANE_FIXTURES "/default-MTScore.dat")); }
void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}
QByteArray Bytes(const std::vector<uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}
std::optional<ScoreTables> Decode(const QByteArray& bytes) {
  return DecodeScoreFile(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size())));
}

// A game whose program folder is a fresh temporary folder.
struct Game {
  QTemporaryDir folder;
  ScriptedPlatform platform;
  Module1 module1{platform};
  Game() { module1.AppFolder = folder.path().toStdString() + "/"; }
  QString ScorePath() const { return folder.filePath("MTScore.dat"); }
  bool EndedWith(const QString& text) const {
    return platform.ended && platform.messages.size() == 1 &&
           platform.messages[0].text == text.toStdString() && platform.messages[0].title == "Morvane-Tesk";
  }
  // Loading a copy of the saved file in a second game gives back exactly this game's tables.
  bool ReloadsAlike() const {
    Game reader;
    QFile::copy(ScorePath(), reader.ScorePath());
    LoadScoreFile(reader.module1);
    return static_cast<const ScoreTables&>(reader.module1) == static_cast<const ScoreTables&>(module1);
  }
};

// The file for tables whose only names are `name` in player slot 7 and ranking entry 0, every score
// 0 but the last one, NormalScores[9][4] = -2: `record` is the name's length byte and bytes.
QByteArray FileWithName(const QByteArray& record) {
  return QByteArray(7 * 301, '\0') + record + QByteArray(300, '\0') + record +
         QByteArray(20 + 9 * 21 - 4, '\0') + QByteArray::fromHex("feffffff");
}

// The default file with ranking entry 6 renamed "X" saved over it: 11 bytes shorter, the old last
// 11 bytes left behind the new content.
QByteArray FixtureWithEntry6X() {
  const QByteArray fixture = Fixture();
  return fixture.left(2576) + QByteArray::fromHex("01 58") + fixture.mid(2589) + fixture.right(11);
}

ino_t Inode(const QString& path) {
  struct stat status {};
  return ::stat(path.toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
}

}  // namespace

Q_DECLARE_METATYPE(SaveStep)

class TestScoreFile : public QObject {
  Q_OBJECT

 private slots:
  void nameRecords_data() {
    QTest::addColumn<bool>("saved");  // false: bytes only another writer could have left
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("record");  // length byte and name bytes of player slot 0
    QTest::addColumn<QByteArray>("loaded");
    const auto row = [](const char* tag, std::optional<QByteArray> name, const QByteArray& hex,
                        const QByteArray& loaded) {
      QTest::newRow(tag) << name.has_value() << name.value_or("") << QByteArray::fromHex(hex) << loaded;
    };
    row("empty name", "", "00", "");
    row("double-byte name", "天狗ラーメン", "06 9356 8be7 8389 815b 8381 8393", "天狗ラーメン");
    row("character code page 932 lacks", "né", "02 6e 3f", "n?");
    row("character outside the BMP", "a😀b", "04 61 3f3f 62", "a??b");
    row("malformed UTF-8", QByteArray::fromHex("61 ff 62"), "03 61 3f 62", "a?b");
    row("overlong four-byte form", QByteArray::fromHex("f0 8f bf bf"), "04 3f3f3f3f", "????");
    row("characters of planes 1, 4 and 16", QByteArray::fromHex("f0908080 f1808080 f4808080"),
        "06 3f3f 3f3f 3f3f", "??????");
    row("around the surrogates", QByteArray::fromHex("ed9fbf eda080 edbfbf ee8080"),
        "08 3f 3f3f3f 3f3f3f f040", QByteArray("???????") + QByteArray::fromHex("ee8080"));
    const QByteArray a254(254, 'A'), hex254 = QByteArray("41").repeated(254);
    row("256 units cut at 255", a254 + "AA", "ff 41" + hex254, a254 + "A");
    row("surrogate pair at unit 255 not split", a254 + "😀", "fe" + hex254, a254);
    row("unassigned double-byte code", std::nullopt, "01 8540", "?");
    row("single bytes without meaning", std::nullopt, "05 80 a0 fd fe ff", "?????");
    row("lead byte with a NUL trail", std::nullopt, "02 8100 41", "?A");
  }
  void nameRecords() {
    // Guards against a length byte that disagrees with the name bytes and shifts every later record.
    QFETCH(bool, saved);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, loaded);
    // 2618 bytes with every name empty; all scores 0 but the last one read, NormalScores[9][4] = -2.
    const QByteArray file = record + QByteArray(2613, '\0') + QByteArray::fromHex("feffffff");
    ScoreTables tables;
    tables.NormalScores[9][4] = -2;
    tables.PlayerNames[0] = name.toStdString();
    if (saved) QCOMPARE(Bytes(EncodeScoreFile(tables)).toHex(' '), file.toHex(' '));
    tables.PlayerNames[0] = loaded.toStdString();
    QVERIFY(Decode(file) == tables);
  }

  void defaultFileMatchesFixture() {
    // Guards against a first-start file whose bytes stray from the layout existing score files use.
    Game game;
    // Whatever the tables held before, the defaults replace it.
    game.module1.PlayerNames[0] = "old";
    game.module1.AttackScores[0][0] = 9;
    InitScoreTables(game.module1);
    QCOMPARE(ReadFile(game.ScorePath()).toHex(' '), Fixture().toHex(' '));
    QVERIFY(game.ReloadsAlike());
  }

  void shorterSaveKeepsOldTailAndMode() {
    // Guards against a save that truncates the file, loses its mode, or replaces a linked file's link.
    Game game;
    ::umask(022);
    const QByteArray fixture = Fixture();
    WriteFile(game.folder.filePath("real.dat"), fixture);
    // Group write: wider than the umask lets a new file have.
    QVERIFY(::chmod(game.folder.filePath("real.dat").toLocal8Bit(), 0664) == 0);
    QVERIFY(QFile::link("real.dat", game.ScorePath()));
    // What a killed save left beside the file the link points to, and a look-alike to keep.
    WriteFile(game.folder.filePath("real.dat.tmp-77-0"), "left");
    WriteFile(game.folder.filePath("real.dat.tmp-77-0.keep"), "mine");
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";  // 12 name bytes become 1
    SaveScoreFile(game.module1);
    const QByteArray expected =
        fixture.left(2576) + QByteArray::fromHex("01 58") + fixture.mid(2589) + fixture.right(11);
    QCOMPARE(ReadFile(game.ScorePath()).toHex(' '), expected.toHex(' '));
    QVERIFY(QFileInfo(game.ScorePath()).isSymLink());
    QCOMPARE(QDir(game.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"MTScore.dat", "real.dat", "real.dat.tmp-77-0.keep"}));
    struct stat status {};
    QVERIFY(::stat(game.folder.filePath("real.dat").toLocal8Bit(), &status) == 0);
    QCOMPARE(status.st_mode & 07777, 0664u);
    QVERIFY(game.ReloadsAlike());
    // A name one byte shorter than the old one leaves a tail of one byte.
    game.module1.NormalNames[6] = "XXXXXXXXXXX";
    SaveScoreFile(game.module1);
    QCOMPARE(ReadFile(game.ScorePath()).toHex(' '),
             (fixture.left(2576) + QByteArray::fromHex("0b") + QByteArray(11, 'X') + fixture.mid(2589) +
              fixture.right(1))
                 .toHex(' '));
  }

  void failedSaveKeepsOldFile_data() {
    QTest::addColumn<SaveStep>("step");
    QTest::addColumn<int>("call");  // which call of that step fails, 1 for the first
    QTest::newRow("old file cannot be opened") << SaveStep::OpenOld << 1;
    QTest::newRow("old file cannot be read") << SaveStep::ReadOld << 1;
    QTest::newRow("temporary file cannot be created") << SaveStep::CreateTemp << 1;
    QTest::newRow("disk full while writing") << SaveStep::WriteTemp << 1;
    QTest::newRow("disk full while copying the old tail") << SaveStep::WriteTemp << 2;
    QTest::newRow("sync fails") << SaveStep::SyncTemp << 1;
    QTest::newRow("close fails") << SaveStep::CloseTemp << 1;
    QTest::newRow("rename fails") << SaveStep::Rename << 1;
    QTest::newRow("folder sync fails after the rename") << SaveStep::SyncFolder << 1;
  }
  void failedSaveKeepsOldFile() {
    // Guards against a failed save that damages the old file, leaves litter, or goes unreported.
    QFETCH(SaveStep, step);
    QFETCH(int, call);
    Game game;
    WriteFile(game.ScorePath(), Fixture());
    game.module1.PlayerNames[0] = "新人";
    int calls = 0;
    QVERIFY_THROWS_EXCEPTION(
        ScriptedPlatform::ProgramEnded,
        SaveScoreFile(game.module1, [&](SaveStep at, int) { return at == step && ++calls == call; }));
    QVERIFY(game.EndedWith(WriteError));
    QCOMPARE(QDir(game.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"MTScore.dat"});
    // Only the folder sync comes after the new file took the old one's place.
    QCOMPARE(ReadFile(game.ScorePath()) == Fixture(), step != SaveStep::SyncFolder);
  }

  void protectedScoreFileGivesWriteError() {
    // Guards against a save that silently fails, or replaces a file the player protected.
    Game game;
    WriteFile(game.ScorePath(), Fixture());
    // Root writes through permission bits, so there a folder takes the score file's place instead.
    const bool root = ::geteuid() == 0;
    QVERIFY(root ? QFile::remove(game.ScorePath()) && QDir(game.folder.path()).mkdir("MTScore.dat")
                 : ::chmod(game.ScorePath().toLocal8Bit(), 0444) == 0);
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, SaveScoreFile(game.module1));
    QVERIFY(game.EndedWith(WriteError));
    if (!root) QCOMPARE(ReadFile(game.ScorePath()), Fixture());
  }

  void shortFileGivesReadError_data() {
    QTest::addColumn<int>("length");  // bytes kept of the default file, -1 for no file at all
    QTest::newRow("no file") << -1;
    QTest::newRow("cut between a lead and its trail byte") << 2410;
    QTest::newRow("last byte missing") << 2691;
  }
  void shortFileGivesReadError() {
    // Guards against loading half a table from a cut-off file, or a load failure that goes unreported.
    QFETCH(int, length);
    Game game;
    if (length >= 0) WriteFile(game.ScorePath(), Fixture().left(length));
    game.module1.NormalNames[0] = "before";
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, LoadScoreFile(game.module1));
    QVERIFY(game.EndedWith(ReadError) && game.module1.NormalNames[0] == "before");
  }

  void namesThroughSaveAndLoad_data() {
    QTest::addColumn<bool>("saved");  // false: bytes another writer could have left, loaded only
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("record");  // length byte and name bytes, written by hand
    QTest::addColumn<QString>("loaded");
    QTest::newRow("lead bytes 0x81 to 0x9F, trail byte 0x5C")
        << true << "亜ソ" << QByteArray("02 889f 835c") << "亜ソ";
    QTest::newRow("lead bytes 0xE0 to 0xFC") << true << "髙﨑" << QByteArray("02 fbfc fab1") << "髙﨑";
    QTest::newRow("half-width katakana, one byte each")
        << true << "ｶﾀｶﾅﾟ｡" << QByteArray("06 b6 c0 b6 c5 df a1") << "ｶﾀｶﾅﾟ｡";
    QTest::newRow("Greek, Cyrillic and signs, two bytes each in UTF-8")
        << true << "ΑΩжЖ×±°" << QByteArray("07 839f 83b6 8477 8447 817e 817d 818b") << "ΑΩжЖ×±°";
    QTest::newRow("NEC row 13 and the full-width tilde")
        << true << "①～" << QByteArray("02 8740 8160") << "①～";
    QTest::newRow("characters code page 932 lacks among others")
        << true << "髙é😀ｱ" << QByteArray("05 fbfc 3f 3f3f b1") << "髙???ｱ";
    QTest::newRow("NEC-selected twin of 髙") << false << QString() << QByteArray("01 eee0") << "髙";
  }
  void namesThroughSaveAndLoad() {
    // Guards against names whose bytes in the score file differ from what the players' own
    // system writes and reads, in either lead-byte range or in the single-byte katakana.
    QFETCH(bool, saved);
    QFETCH(QString, name);
    QFETCH(QByteArray, record);
    QFETCH(QString, loaded);
    const QByteArray file = FileWithName(QByteArray::fromHex(record));
    if (saved) {
      Game game;
      game.module1.PlayerNames[7] = game.module1.NormalNames[0] = name.toStdString();
      game.module1.NormalScores[9][4] = -2;
      SaveScoreFile(game.module1);
      QCOMPARE(ReadFile(game.ScorePath()).toHex(' '), file.toHex(' '));
    }
    Game game;
    WriteFile(game.ScorePath(), file);
    LoadScoreFile(game.module1);
    QCOMPARE(QString::fromStdString(game.module1.PlayerNames[7]), loaded);
    QCOMPARE(QString::fromStdString(game.module1.NormalNames[0]), loaded);
    QCOMPARE(game.module1.NormalScores[9][4], -2);
  }

  void hostileFileInTheScoreFilesPlace_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome");  // entry 6's name, or the message
    QTest::newRow("pipe without a writer") << "pipe" << ReadError;
    QTest::newRow("folder") << "folder" << ReadError;
    QTest::newRow("pipe fed a valid score file") << "fed pipe" << ReadError;
    // Reads as the bytes of a valid file with every name empty, but is no file.
    QTest::newRow("link to a device of zeros") << "zeros" << ReadError;
    QTest::newRow("30 GB file, valid at the start, little memory")
        << "huge" << QStringLiteral("天狗ラーメン");
  }
  void hostileFileInTheScoreFilesPlace() {
    // Guards against a load that waits for ever on a pipe, reads a folder, or reads a huge file
    // whole instead of the bytes the records can need.
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    Game game;
    const QByteArray path = game.ScorePath().toLocal8Bit();
    if (kind.contains("pipe")) QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    if (kind == "zeros") QVERIFY(QFile::link("/dev/zero", game.ScorePath()));
    // Opened for reading and writing, a pipe needs no reader to be written.
    const int feeder = kind == "fed pipe" ? ::open(path.constData(), O_RDWR | O_NONBLOCK) : -1;
    if (feeder >= 0) QCOMPARE(::write(feeder, Fixture().constData(), 2692), ssize_t(2692));
    if (kind == "folder") QVERIFY(QDir(game.folder.path()).mkdir("MTScore.dat"));
    if (kind == "huge") {
      WriteFile(game.ScorePath(), Fixture());
      QVERIFY(::truncate(path.constData(), off_t{30} << 30) == 0);
    }
    const ChildResult child = RunInChild(
        [&] {
          if (kind == "huge" && AddressSpaceCanBeLimited && !LimitAddressSpace(64 << 20))
            return std::string("no limit");
          try {
            LoadScoreFile(game.module1);
            return game.module1.NormalNames[6];
          } catch (const ScriptedPlatform::ProgramEnded&) {
            return game.platform.messages.at(0).text;
          }
        },
        10);
    if (feeder >= 0) ::close(feeder);
    QVERIFY2(child.exitedNormally, "the load hung or died");
    QCOMPARE(QString::fromStdString(child.output), outcome);
  }

  void saveSyncsTheFileThenTheFolder() {
    // Guards against a save that drops the temporary file's sync or the folder's sync after the
    // rename: a crash could then leave an empty file or bring the old one back.
    Game game;
    WriteFile(game.ScorePath(), Fixture());
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";
    const QByteArray expected = FixtureWithEntry6X();
    struct stat folderStatus {};
    QVERIFY(::stat(game.folder.path().toLocal8Bit().constData(), &folderStatus) == 0);
    QStringList seen;
    SaveScoreFile(game.module1, [&](SaveStep step, int fd) {
      struct stat status {};
      const bool isFile = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
      // The temporary file is open for writing only; its /proc name opens it afresh for reading.
      const QByteArray content = isFile ? ReadFile(QString("/proc/self/fd/%1").arg(fd)) : QByteArray();
      const bool renamed = ReadFile(game.ScorePath()) == expected;
      if (step == SaveStep::SyncTemp)
        seen << QString("temporary file synced, %1, %2")
                    .arg(content == expected ? "complete" : "incomplete",
                         renamed ? "already renamed" : "not yet renamed");
      if (step == SaveStep::SyncFolder)
        seen << QString("folder synced, %1, %2")
                    .arg(S_ISDIR(status.st_mode) && status.st_ino == folderStatus.st_ino ? "the score file's"
                                                                                         : "another",
                         renamed ? "after the rename" : "before the rename");
      return false;
    });
    QCOMPARE(seen, QStringList({"temporary file synced, complete, not yet renamed",
                                "folder synced, the score file's, after the rename"}));
  }

  void saveKeepsOwnerGroupAndMode_data() {
    QTest::addColumn<bool>("byPlayer");  // false: root saves
    QTest::addColumn<uint>("owner");     // of the file before the save; nobody saves as a player
    QTest::addColumn<uint>("group");
    QTest::addColumn<uint>("mode");
    QTest::addColumn<uint>("ownerAfter");
    QTest::newRow("root saves a player's file")
        << false << uint(NobodyId) << uint(NobodyId) << 0640u << uint(NobodyId);
    // A player cannot give a file away, but can give it a group of theirs (100 here).
    QTest::newRow("a player saves a file of a group of theirs")
        << true << 0u << 100u << 0664u << uint(NobodyId);
  }
  void saveKeepsOwnerGroupAndMode() {
    // Guards against a save by root handing a player's score file to root, and against a save
    // that takes away the group the players share.
    QFETCH(bool, byPlayer);
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(uint, mode);
    QFETCH(uint, ownerAfter);
    if (::geteuid() != 0) QSKIP("only root can give a file to another owner or switch users");
    Game game;
    QVERIFY(::chmod(game.folder.path().toLocal8Bit().constData(), 0777) == 0);
    WriteFile(game.ScorePath(), Fixture());
    const QByteArray path = game.ScorePath().toLocal8Bit();
    QVERIFY(::chown(path.constData(), owner, group) == 0 && ::chmod(path.constData(), mode) == 0);
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";
    const ChildResult child = RunInChild([&] {
      const gid_t groups[] = {gid_t(group)};
      if (byPlayer && (::setgroups(1, groups) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
        return std::string("no user change");
      try {
        SaveScoreFile(game.module1);
        return std::string();
      } catch (const ScriptedPlatform::ProgramEnded&) {
        return game.platform.messages.at(0).text;
      }
    });
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromStdString(child.output), QString());
    struct stat status {};
    QVERIFY(::stat(path.constData(), &status) == 0);
    QCOMPARE(uint(status.st_uid), ownerAfter);
    QCOMPARE(uint(status.st_gid), group);
    QCOMPARE(uint(status.st_mode & 07777), mode);
    QCOMPARE(ReadFile(game.ScorePath()), FixtureWithEntry6X());
  }

  void inPlaceWhereTheFolderRefuses_data() {
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<int>("failing");  // a SaveStep refused, -1 for none
    QTest::addColumn<QString>("message");
    QTest::newRow("file writable, folder not") << true << -1 << QString();
    QTest::newRow("in-place write fails") << true << int(SaveStep::WriteInPlace) << WriteError;
    QTest::newRow("in-place sync fails") << true << int(SaveStep::SyncInPlace) << WriteError;
    QTest::newRow("neither writable") << false << -1 << WriteError;
  }
  void inPlaceWhereTheFolderRefuses() {
    // Guards against losing every save of a player who may write the score file but not its
    // folder, and against a failed in-place rewrite that goes unreported.
    QFETCH(bool, fileWritable);
    QFETCH(int, failing);
    QFETCH(QString, message);
    if (::geteuid() != 0) QSKIP("needs root to switch to an unprivileged user");
    Game game;
    QVERIFY(QFile::setPermissions(game.folder.path(), QFileDevice::Permissions(0x7555)));
    WriteFile(game.ScorePath(), Fixture());
    const QByteArray path = game.ScorePath().toLocal8Bit();
    if (fileWritable) QVERIFY(::chown(path.constData(), NobodyId, NobodyId) == 0);
    const ino_t inode = Inode(game.ScorePath());
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";
    const ChildResult child = RunInChild([&] {
      if (!BecomeNobody()) return std::string("no user change");
      try {
        SaveScoreFile(game.module1, [&](SaveStep step, int) { return int(step) == failing; });
        return std::string();
      } catch (const ScriptedPlatform::ProgramEnded&) {
        return game.platform.messages.at(0).text;
      }
    });
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromStdString(child.output), message);
    QCOMPARE(QDir(game.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"MTScore.dat"});
    QCOMPARE(Inode(game.ScorePath()), inode);
    if (failing != int(SaveStep::SyncInPlace))
      QCOMPARE(ReadFile(game.ScorePath()).toHex(' '),
               (message.isEmpty() ? FixtureWithEntry6X() : Fixture()).toHex(' '));
  }

  void everyCutIsRejected() {
    // Guards against a cut position at which the decoder takes half a file, or reads past its end.
    const QByteArray fixture = Fixture();
    for (int length = 0; length < 2692; ++length)
      QVERIFY2(!Decode(fixture.left(length)), qPrintable(QString("accepted %1 bytes").arg(length)));
  }
};

QTEST_GUILESS_MAIN(TestScoreFile)
#include "tst_scorefile.moc"
