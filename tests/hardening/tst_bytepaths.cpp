// Paths as bytes: the program folder as the system names it, and sounds in folders whose names
// are not UTF-8 or that hold something other than a sound in a sound's place.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "linux/ProgramFolder.h"
#include "platform/qt/QtPlatform.h"
#include "linux/WavFile.h"

namespace {

std::string Le32(uint32_t v) {
  return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
}

// A short, silent, complete WAV file: mono, 16 bits, 22050 Hz.
std::string Wav() {
  const std::string format = "fmt " + Le32(16) + std::string("\x01\x00\x01\x00", 4) + Le32(22050) +
                             Le32(44100) + std::string("\x02\x00\x10\x00", 4);
  const std::string data = "data" + Le32(2000) + std::string(2000, '\0');
  return "RIFF" + Le32(uint32_t(4 + format.size() + data.size())) + "WAVE" + format + data;
}

constexpr char PrintFolderChild[] = "MORVANE_TEST_PRINT_FOLDER";

}  // namespace

class TestBytePaths : public QObject {
  Q_OBJECT

 private slots:
  void programFolderFromTheSystem_data() {
    QTest::addColumn<QByteArray>("program");  // where the link points; empty: no link
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("folder name that is not UTF-8")
        << QByteArray("/srv/game\xff/morvane-tesk") << QByteArray("/srv/game\xff");
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
    QFETCH(QByteArray, folder);
    QTemporaryDir links;
    const std::string link = links.path().toStdString() + "/exe";
    if (!program.isEmpty()) QVERIFY(::symlink(program.constData(), link.c_str()) == 0);
    QCOMPARE(QByteArray::fromStdString(ProgramFolderFromLink(link)), folder);
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

  void soundFileByItsBytes_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("playable");
    QTest::newRow("WAV in a folder that is not UTF-8") << "wav" << "fail.wav" << true;
    QTest::newRow("no such file") << "none" << "fail.wav" << false;
    for (const char* name : {"fail.wav", "bonus.wav", "clear.wav", "all.wav"}) {
      for (const char* kind : {"pipe", "folder", "oversized"})
        QTest::addRow("%s in place of %s", kind, name) << kind << name << false;
    }
  }
  void soundFileByItsBytes() {
    // Guards against silence for the sounds of a game kept in a folder whose name is not UTF-8 (Qt
    // cannot name such a file itself), against a pipe or a folder in a sound's place freezing the
    // game at its first sound, and against a huge file held in memory until the end.
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(bool, playable);
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/game\xff";
    const std::string path = folder + "/" + name.toStdString();
    QVERIFY(::mkdir(folder.c_str(), 0755) == 0);
    if (kind == "wav" || kind == "oversized") std::ofstream(path, std::ios::binary) << Wav();
    if (kind == "pipe") QVERIFY(::mkfifo(path.c_str(), 0644) == 0);
    if (kind == "folder") QVERIFY(::mkdir(path.c_str(), 0755) == 0);
    // Complete, then a hole: only its size is wrong.
    if (kind == "oversized") QVERIFY(::truncate(path.c_str(), MaxSoundFileSize + 1) == 0);
    {
      QtPlatform platform;
      ::alarm(20);  // a sound that blocks the game ends the test instead of hanging it
      platform.PlaySound(path, SoundFlag::FileName | SoundFlag::Async);
      ::alarm(0);
      const QList<QSoundEffect*> effects = platform.findChildren<QSoundEffect*>();
      QCOMPARE(effects.size(), playable ? 1 : 0);
      if (playable) {
        QTRY_COMPARE(effects[0]->status(), QSoundEffect::Ready);
        QVERIFY(effects[0]->isPlaying());
      }
    }
    ::unlink(path.c_str());
    ::rmdir(path.c_str());
    ::rmdir(folder.c_str());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet(PrintFolderChild)) {
    std::fputs(ProgramFolder().c_str(), stdout);
    return 0;
  }
  QApplication application(argc, argv);
  TestBytePaths test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "tst_bytepaths.moc"
