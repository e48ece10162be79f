// Linux helpers: the program's own folder as the system names it, the file helpers, and the check
// that keeps broken sound files from the sound service.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cstdio>

#include "linux/PosixFile.h"
#include "linux/ProgramFolder.h"
#include "linux/WavFile.h"
#include "tests/support/Files.h"
#include "tests/support/Wav.h"

namespace {

constexpr char PrintFolderChild[] = "MORVANE_TEST_PRINT_FOLDER";

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), qsizetype(text.size())); }

}  // namespace

class TestLinux : public QObject {
  Q_OBJECT

 private slots:
  void programFolderFromTheSystem_data() {
    QTest::addColumn<QByteArray>("program");  // where the link points; empty: no link
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("folder name that is not UTF-8") << QByteArray("/srv/game\xff/morvane-tesk") << QByteArray("/srv/game\xff");
    QTest::newRow("program in the root folder") << QByteArray("/morvane-tesk") << QByteArray("/");
    const QByteArray deep = "/" + QByteArray(3000, 'd');
    QTest::newRow("path longer than a first guess at its length") << deep + "/morvane-tesk" << deep;
    QTest::newRow("relative path") << QByteArray("game/morvane-tesk") << QByteArray();
    QTest::newRow("no link") << QByteArray() << QByteArray();
  }
  void programFolderFromTheSystem() {
    // Guards against a program folder lost or changed on its way from the system, which would put
    // the score file somewhere else.
    QFETCH(QByteArray, program);
    QTemporaryDir links;
    const std::string link = links.path().toStdString() + "/exe";
    if (!program.isEmpty()) QVERIFY(::symlink(program.constData(), link.c_str()) == 0);
    QTEST(QByteArray::fromStdString(ProgramFolderFromLink(link)), "folder");
  }

  void runningProgramsFolder() {
    // Guards against reading the folder from anything but the running program itself, also when it
    // was started through the dynamic loader, which the system then names as the running program:
    // the score file would go to the loader's folder.
    QCOMPARE(QString::fromStdString(ProgramFolder()), QCoreApplication::applicationDirPath());
    const QString loader = QStringLiteral("/lib64/ld-linux-x86-64.so.2");
    if (!QFileInfo::exists(loader)) QSKIP("this system's dynamic loader is not at /lib64/ld-linux-x86-64.so.2");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(PrintFolderChild, "1");
    child.setProcessEnvironment(environment);
    child.start(loader, {QCoreApplication::applicationFilePath()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), QCoreApplication::applicationDirPath());
  }

  void fileHelpersDoWhatTheyReport() {
    // Guards against a refused write reported as done, a piece written at the wrong place, a close
    // that leaves the file open, an owner that closes its number again when it goes (by then that
    // number may belong to another file), and a file taken for the one a name leads to after a
    // save renamed another file over it.
    QTemporaryDir folder;
    const QString path = folder.filePath("file");
    const std::array<uint8_t, 3> bytes = {1, 2, 3};
    int number = -1;
    {
      Descriptor file(OpenFile(path.toStdString(), O_RDWR | O_CREAT, 0600));
      const Descriptor readOnly(OpenFile(path.toStdString(), O_RDONLY));
      QVERIFY(!WriteAll(readOnly.Get(), bytes) && !WriteAllAt(readOnly.Get(), bytes, 2));
      QVERIFY(WriteAll(file.Get(), bytes) && WriteAllAt(file.Get(), bytes, 5));
      number = file.Get();
      QVERIFY(file.Close() && !file.Valid() && ::fcntl(number, F_GETFD) == -1);
      QVERIFY(::dup2(readOnly.Get(), number) == number);  // another file under the old number
    }
    QVERIFY2(::fcntl(number, F_GETFD) != -1, "the closed descriptor's owner closed another file");
    ::close(number);
    QCOMPARE(ReadBytes(path), QByteArray::fromHex("0102030000010203"));
    const Descriptor open(OpenFile(path.toStdString(), O_RDONLY));
    QVERIFY(NamesFile(path.toStdString(), open.Get()));
    QVERIFY(WriteBytes(folder.filePath("other"), "x"));
    QVERIFY(::rename(folder.filePath("other").toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0);
    QVERIFY(!NamesFile(path.toStdString(), open.Get()));
  }

  void onlyCompleteWavFilesReachTheSoundService_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    QTest::addColumn<qint64>("size");  // the file made this long with a hole at its end; 0: as written
    // Complete WAV files made as long as the game plays, and one byte longer.
    QTest::newRow("the largest sound played") << Bytes(Wav()) << true << qint64(MaxSoundFileSize);
    QTest::newRow("one byte larger") << Bytes(Wav()) << false << qint64(MaxSoundFileSize + 1);
    QTest::newRow("complete") << Bytes(Riff(Format() + Chunk("data", 100, 100))) << true << qint64(0);
    QTest::newRow("odd chunk padded before the data")
        << Bytes(Riff(Format() + Chunk("LIST", 3, 3) + Chunk("data", 100, 100))) << true << qint64(0);
    // Its length needs all four bytes; the filler would read as a huge chunk if the length were misread.
    QTest::newRow("chunk of 64 KiB and more before the data")
        << Bytes(Riff(Format() + Chunk("LIST", 65539, 65539, true, 'x') + Chunk("data", 100, 100))) << true << qint64(0);
    QTest::newRow("longer format chunk") << Bytes(Riff(Format(18) + Chunk("data", 2, 2))) << true << qint64(0);
    QTest::newRow("empty file") << QByteArray() << false << qint64(0);
    QTest::newRow("data shorter than declared") << Bytes(Riff(Format() + Chunk("data", 100, 40))) << false << qint64(0);
    QTest::newRow("data one byte short") << Bytes(Riff(Format() + Chunk("data", 100, 99, false))) << false << qint64(0);
    QTest::newRow("empty data") << Bytes(Riff(Format() + Chunk("data", 0, 0))) << false << qint64(0);
    QTest::newRow("data before format") << Bytes(Riff(Chunk("data", 100, 100) + Format())) << false << qint64(0);
    QTest::newRow("format chunk too short") << Bytes(Riff(Format(14) + Chunk("data", 100, 100))) << false << qint64(0);
    QTest::newRow("format chunk past the end") << Bytes(Riff(Format().substr(0, 20))) << false << qint64(0);
    QTest::newRow("no data chunk") << Bytes(Riff(Format() + Chunk("LIST", 4, 4))) << false << qint64(0);
    QTest::newRow("format look-alike") << Bytes(Riff(Format().replace(0, 4, "fmt_") + Chunk("data", 100, 100))) << false << qint64(0);
    QTest::newRow("big-endian RIFX") << Bytes("RIFX" + Riff(Format() + Chunk("data", 100, 100)).substr(4)) << false << qint64(0);
    QTest::newRow("RIFF of another form") << Bytes(Riff(Format() + Chunk("data", 100, 100), "AVI ")) << false << qint64(0);
    QTest::newRow("not a WAV") << QByteArray("ID3\x03 this is an mp3") << false << qint64(0);
  }
  void onlyCompleteWavFilesReachTheSoundService() {
    // Guards against a broken sound file hanging the program instead of staying silent.
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    QFETCH(qint64, size);
    QVERIFY(WriteBytes(folder.filePath("sound.wav"), bytes));
    if (size) QVERIFY(::truncate(folder.filePath("sound.wav").toLocal8Bit().constData(), size) == 0);
    const Descriptor file(OpenFile(folder.filePath("sound.wav").toStdString(), O_RDONLY));
    QTEST(IsPlayableWav(file.Get()), "playable");
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet(PrintFolderChild)) {
    std::fputs(ProgramFolder().c_str(), stdout);
    return 0;
  }
  QCoreApplication application(argc, argv);
  TestLinux test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_linux.moc"
