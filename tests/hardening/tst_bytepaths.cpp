// Paths as bytes: the program folder as the system names it, and sounds in folders whose names
// are not UTF-8.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "platform/ProgramFolder.h"
#include "platform/SoundSource.h"

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
    // Guards against reading the folder from anything but the running program itself.
    QCOMPARE(QString::fromStdString(ProgramFolderFromLink()), QCoreApplication::applicationDirPath());
  }

  void soundFileByItsBytes_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("playable");
    QTest::newRow("WAV in a folder that is not UTF-8") << "wav" << true;
    QTest::newRow("pipe in the sound's place") << "pipe" << false;
    QTest::newRow("no such file") << "none" << false;
  }
  void soundFileByItsBytes() {
    // Guards against silence, or a hang, for the sounds of a game kept in a folder whose name is
    // not UTF-8 (Qt cannot name such a file itself).
    QFETCH(QString, kind);
    QFETCH(bool, playable);
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/game\xff";
    const std::string path = folder + "/fail.wav";
    QVERIFY(::mkdir(folder.c_str(), 0755) == 0);
    if (kind == "wav") std::ofstream(path, std::ios::binary) << Wav();
    if (kind == "pipe") QVERIFY(::mkfifo(path.c_str(), 0644) == 0);
    {
      QSoundEffect effect;
      const QUrl source = OpenSoundSource(path, &effect);
      QCOMPARE(!source.isEmpty(), playable);
      if (playable) {
        effect.setSource(source);
        QTRY_COMPARE(effect.status(), QSoundEffect::Ready);
      }
    }
    ::unlink(path.c_str());
    ::rmdir(folder.c_str());
  }
};

QTEST_MAIN(TestBytePaths)
#include "tst_bytepaths.moc"
