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
    QVERIFY(game.ReloadsAlike());
  }

  void failedSaveKeepsOldFile_data() {
    QTest::addColumn<SaveStep>("step");
    QTest::newRow("old file cannot be opened") << SaveStep::OpenOld;
    QTest::newRow("old file cannot be read") << SaveStep::ReadOld;
    QTest::newRow("temporary file cannot be created") << SaveStep::CreateTemp;
    QTest::newRow("disk full while writing") << SaveStep::WriteTemp;
    QTest::newRow("sync fails") << SaveStep::SyncTemp;
    QTest::newRow("close fails") << SaveStep::CloseTemp;
    QTest::newRow("rename fails") << SaveStep::Rename;
    QTest::newRow("folder sync fails after the rename") << SaveStep::SyncFolder;
  }
  void failedSaveKeepsOldFile() {
    // Guards against a failed save that damages the old file, leaves litter, or goes unreported.
    QFETCH(SaveStep, step);
    Game game;
    WriteFile(game.ScorePath(), Fixture());
    game.module1.PlayerNames[0] = "新人";
    QVERIFY_THROWS_EXCEPTION(ScriptedPlatform::ProgramEnded,
                             SaveScoreFile(game.module1, [&](SaveStep at, int) { return at == step; }));
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

  void everyCutIsRejected() {
    // Guards against a cut position at which the decoder takes half a file, or reads past its end.
    const QByteArray fixture = Fixture();
    for (int length = 0; length < 2692; ++length)
      QVERIFY2(!Decode(fixture.left(length)), qPrintable(QString("accepted %1 bytes").arg(length)));
  }
};

QTEST_GUILESS_MAIN(TestScoreFile)
#include "tst_scorefile.moc"
