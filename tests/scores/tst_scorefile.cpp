// Score file: byte layout, code page 932 names, default file, safe saves and short files.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFile.h"
#include "scores/ScoreFileCodec.h"

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
};

}  // namespace

Q_DECLARE_METATYPE(SaveStep)

class TestScoreFile : public QObject {
  Q_OBJECT

 private slots:
  void namesKeepLaterRecordsInPlace_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("record");  // length byte and name bytes
    QTest::addColumn<QByteArray>("loaded");
    QTest::newRow("empty name") << QByteArray() << QByteArray::fromHex("00") << QByteArray();
    QTest::newRow("double-byte name")
        << QByteArray("天狗ラーメン") << QByteArray::fromHex("06 9356 8be7 8389 815b 8381 8393")
        << QByteArray("天狗ラーメン");
    QTest::newRow("half-width katakana")
        << QByteArray("ｶﾀｶﾅ") << QByteArray::fromHex("04 b6 c0 b6 c5") << QByteArray("ｶﾀｶﾅ");
    QTest::newRow("trail byte below 0x80")
        << QByteArray("濱") << QByteArray::fromHex("01 e05f") << QByteArray("濱");
    QTest::newRow("character code page 932 lacks")
        << QByteArray("né") << QByteArray::fromHex("02 6e 3f") << QByteArray("n?");
    QTest::newRow("character outside the BMP")
        << QByteArray("a😀b") << QByteArray::fromHex("04 61 3f3f 62") << QByteArray("a??b");
    QTest::newRow("malformed UTF-8") << QByteArray::fromHex("61 ff 62") << QByteArray::fromHex("03 61 3f 62")
                                     << QByteArray("a?b");
    QTest::newRow("256 units cut at 255")
        << QByteArray(256, 'A') << "\xff" + QByteArray(255, 'A') << QByteArray(255, 'A');
    QTest::newRow("surrogate pair at unit 255 not split")
        << QByteArray(254, 'A') + "😀"
        << "\xfe" + QByteArray(254, 'A') << QByteArray(254, 'A');
  }
  void namesKeepLaterRecordsInPlace() {
    // Guards against a length byte that disagrees with the name bytes and shifts every later record.
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, loaded);
    ScoreTables tables;
    tables.PlayerNames[0] = tables.NormalNames[9] = name.toStdString();
    tables.PlayerNames[1] = "次";
    tables.AttackScores[0][0] = 0x01020304;
    tables.AttackScores[0][74] = -2;
    tables.NormalScores[9][4] = 7;
    const QByteArray bytes = Bytes(EncodeScoreFile(tables));
    QCOMPARE(bytes.left(record.size() + 4).toHex(' '), (record + QByteArray::fromHex("04030201")).toHex(' '));
    QCOMPARE(bytes.mid(record.size() + 296, 4).toHex(' '), QByteArray("fe ff ff ff"));
    QCOMPARE(bytes.right(record.size() + 20).left(record.size()).toHex(' '), record.toHex(' '));
    ScoreTables expected = tables;
    expected.PlayerNames[0] = expected.NormalNames[9] = loaded.toStdString();
    QVERIFY(Decode(bytes) == expected);
  }

  void undefinedCharactersDecodeOneForOne_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("loaded");
    QTest::newRow("unassigned double-byte code") << QByteArray::fromHex("01 8540") << QByteArray("?");
    QTest::newRow("single bytes without meaning")
        << QByteArray::fromHex("05 80 a0 fd fe ff") << QByteArray("?????");
    QTest::newRow("lead byte with a NUL trail") << QByteArray::fromHex("02 8100 41") << QByteArray("?A");
    QTest::newRow("user-defined area") << QByteArray::fromHex("01 f040") << QByteArray("\xee\x80\x80");
  }
  void undefinedCharactersDecodeOneForOne() {
    // Guards against invalid UTF-8 or a misaligned file from bytes that code page 932 does not map.
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, loaded);
    QByteArray bytes(qsizetype(ScoreFileLayout::EmptyNamesFileSize), '\0');
    bytes.replace(0, 1, record);
    bytes[bytes.size() - 4] = 42;  // NormalScores[9][4], read last
    const std::optional<ScoreTables> tables = Decode(bytes);
    QVERIFY(tables);
    QCOMPARE(QByteArray::fromStdString(tables->PlayerNames[0]), loaded);
    QCOMPARE(tables->NormalScores[9][4], 42);
  }

  void defaultFileMatchesFixture() {
    // Guards against a first-start file whose bytes stray from the layout existing score files use.
    Game game;
    InitScoreTables(game.module1);
    QCOMPARE(ReadFile(game.ScorePath()).toHex(' '), Fixture().toHex(' '));
    // The bytes are right, so loading them must give back exactly the defaults.
    Game reader;
    QFile::copy(game.ScorePath(), reader.ScorePath());
    LoadScoreFile(reader.module1);
    QVERIFY(static_cast<ScoreTables&>(reader.module1) == static_cast<ScoreTables&>(game.module1));
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
    LoadScoreFile(game.module1);
    game.module1.NormalNames[6] = "X";  // 12 name bytes become 1
    SaveScoreFile(game.module1);
    const QByteArray expected =
        fixture.left(2576) + QByteArray::fromHex("01 58") + fixture.mid(2589) + fixture.right(11);
    QCOMPARE(ReadFile(game.ScorePath()).toHex(' '), expected.toHex(' '));
    QVERIFY(QFileInfo(game.ScorePath()).isSymLink());
    struct stat status {};
    QVERIFY(::stat(game.folder.filePath("real.dat").toLocal8Bit(), &status) == 0);
    QCOMPARE(status.st_mode & 07777, 0664u);
    Game reader;
    QFile::copy(game.ScorePath(), reader.ScorePath());
    LoadScoreFile(reader.module1);
    QVERIFY(static_cast<ScoreTables&>(reader.module1) == static_cast<ScoreTables&>(game.module1));
  }

  void failedSaveKeepsOldFile_data() {
    QTest::addColumn<SaveStep>("step");
    QTest::addColumn<bool>("oldKept");
    QTest::newRow("old file cannot be opened") << SaveStep::OpenOld << true;
    QTest::newRow("old file cannot be read") << SaveStep::ReadOld << true;
    QTest::newRow("temporary file cannot be created") << SaveStep::CreateTemp << true;
    QTest::newRow("disk full while writing") << SaveStep::WriteTemp << true;
    QTest::newRow("sync fails") << SaveStep::SyncTemp << true;
    QTest::newRow("close fails") << SaveStep::CloseTemp << true;
    QTest::newRow("rename fails") << SaveStep::Rename << true;
    QTest::newRow("folder sync fails after the rename") << SaveStep::SyncFolder << false;
  }
  void failedSaveKeepsOldFile() {
    // Guards against a failed save that damages the old file, leaves litter, or goes unreported.
    QFETCH(SaveStep, step);
    QFETCH(bool, oldKept);
    Game game;
    WriteFile(game.ScorePath(), Fixture());
    game.module1.PlayerNames[0] = "新人";
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded,
                             SaveScoreFile(game.module1, [&](SaveStep at) { return at == step; }));
    QVERIFY(game.EndedWith(WriteError));
    QCOMPARE(QDir(game.folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"MTScore.dat"});
    QCOMPARE(ReadFile(game.ScorePath()) == Fixture(), oldKept);
  }

  void unwritableScoreFileGivesWriteError_data() {
    QTest::addColumn<bool>("firstStart");
    QTest::newRow("protected score file") << false;
    QTest::newRow("first start in a protected folder") << true;
  }
  void unwritableScoreFileGivesWriteError() {
    // Guards against a save that silently fails, or replaces a file the player protected.
    QFETCH(bool, firstStart);
    Game game;
    // Root writes through permission bits, so there a folder or a file stands where writing needs the other.
    const bool root = ::geteuid() == 0;
    const QString folder = game.folder.path();
    if (firstStart && root) {
      WriteFile(game.folder.filePath("plain-file"), "x");
      game.module1.AppFolder = game.folder.filePath("plain-file").toStdString() + "/";
    } else if (firstStart) {
      QVERIFY(::chmod(folder.toLocal8Bit(), 0555) == 0);
    } else if (root) {
      QVERIFY(QDir(folder).mkdir("MTScore.dat"));
    } else {
      WriteFile(game.ScorePath(), Fixture());
      QVERIFY(::chmod(game.ScorePath().toLocal8Bit(), 0444) == 0);
    }
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded,
                             firstStart ? InitScoreTables(game.module1) : SaveScoreFile(game.module1));
    ::chmod(folder.toLocal8Bit(), 0755);
    QVERIFY(game.EndedWith(WriteError));
    if (!firstStart && !root) QCOMPARE(ReadFile(game.ScorePath()), Fixture());
  }

  void shortFileGivesReadError() {
    // Guards against loading half a table from a cut-off file, or reading past its end.
    const QByteArray fixture = Fixture();
    QCOMPARE(fixture.size(), 2692);
    for (qsizetype length = -1; length < fixture.size(); ++length) {  // -1: no file at all
      Game game;
      if (length >= 0) WriteFile(game.ScorePath(), fixture.left(length));
      game.module1.NormalNames[0] = "before";
      QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded, LoadScoreFile(game.module1));
      QVERIFY2(game.EndedWith(ReadError), qPrintable(QString::number(length)));
      QCOMPARE(game.module1.NormalNames[0], std::string("before"));
    }
  }
};

QTEST_GUILESS_MAIN(TestScoreFile)
#include "tst_scorefile.moc"
