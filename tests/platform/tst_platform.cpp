// Outside services: the key state the steering relies on, the sound-file check, the single-copy guard.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "platform/KeyState.h"
#include "platform/QtPlatform.h"
#include "platform/SingleInstance.h"
#include "platform/WavCheck.h"

namespace {

constexpr int K = VirtualKey::Down;

enum class Step { Press, Repeat, ReleaseRepeat, Release };

void WriteBytes(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

std::string Le32(uint32_t v) {
  return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
}

std::string Wav(uint32_t declaredData, uint32_t actualData, bool formatFirst = true) {
  std::string format = "fmt " + Le32(16) + std::string("\x01\x00\x01\x00", 4) + Le32(22050) + Le32(44100) +
                       std::string("\x02\x00\x10\x00", 4);
  std::string data = "data" + Le32(declaredData) + std::string(actualData, '\0');
  std::string body = formatFirst ? format + data : data + format;
  return "RIFF" + Le32(static_cast<uint32_t>(4 + body.size())) + "WAVE" + body;
}

// Holds the claim in a child process until it is killed; returns its pid.
pid_t ClaimInChild(const std::string& folder, int readyPipe[2]) {
  pid_t child = fork();
  if (child == 0) {
    char ok = ClaimProgramFolder(folder) ? 'y' : 'n';
    if (write(readyPipe[1], &ok, 1) != 1) _exit(3);
    pause();
    _exit(0);
  }
  return child;
}

}  // namespace

class TestPlatform : public QObject {
  Q_OBJECT

 private slots:
  void keyStateCountsFreshPressesOnly_data() {
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<QList<int>>("queriesAfter");  // state read after each step
    using S = Step;
    QTest::newRow("press counts once, then the held key is only down")
        << QList<int>{int(S::Press)} << QList<int>{0x8001, 0x8000};
    QTest::newRow("press and release before the query: not down, so no step")
        << QList<int>{int(S::Press), int(S::Release)} << QList<int>{0x0001, 0x0000};
    QTest::newRow("auto-repeat of a held key is not a new press")
        << QList<int>{int(S::Press), int(S::ReleaseRepeat), int(S::Repeat)} << QList<int>{0x8001, 0x8000};
    QTest::newRow("released key reads nothing") << QList<int>{int(S::Release)} << QList<int>{0x0000};
  }
  void keyStateCountsFreshPressesOnly() {
    // Guards against a held or auto-repeating key steering the craft again and again.
    QFETCH(QList<int>, steps);
    QFETCH(QList<int>, queriesAfter);
    KeyState keys;
    for (int step : steps) {
      switch (Step(step)) {
        case Step::Press: keys.Press(K); break;
        case Step::Repeat: keys.Press(K, true); break;
        case Step::ReleaseRepeat: keys.Release(K, true); break;
        case Step::Release: keys.Release(K); break;
      }
    }
    for (int expected : queriesAfter) QCOMPARE(uint16_t(keys.Query(K)), uint16_t(expected));
  }

  void qtKeyEventsReachTheKeyState_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("virtualKey");
    QTest::newRow("arrow down") << int(Qt::Key_Down) << false << VirtualKey::Down;
    QTest::newRow("arrow up") << int(Qt::Key_Up) << false << VirtualKey::Up;
    QTest::newRow("keypad 2, NumLock off") << int(Qt::Key_Down) << true << VirtualKey::Numpad2;
    QTest::newRow("keypad 8, NumLock off") << int(Qt::Key_Up) << true << VirtualKey::Numpad8;
    QTest::newRow("keypad 2, NumLock on") << int(Qt::Key_2) << true << VirtualKey::Numpad2;
    QTest::newRow("keypad 8, NumLock on") << int(Qt::Key_8) << true << VirtualKey::Numpad8;
    QTest::newRow("digit 2 on the main keyboard") << int(Qt::Key_2) << false << 0;
  }
  void qtKeyEventsReachTheKeyState() {
    // Guards against keypad steering that works with one NumLock state only, and against Qt's
    // auto-repeat (release + press pairs) counting as fresh presses.
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, virtualKey);
    QtPlatform platform;
    QWidget window;
    const Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    auto send = [&](QEvent::Type type, bool autoRepeat) {
      QKeyEvent event(type, qtKey, modifiers, QString(), autoRepeat);
      QApplication::sendEvent(&window, &event);
    };
    const int asked = virtualKey ? virtualKey : VirtualKey::Numpad2;
    send(QEvent::KeyPress, false);
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(asked)), uint16_t(virtualKey ? 0x8001 : 0));
    send(QEvent::KeyRelease, true);
    send(QEvent::KeyPress, true);
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(asked)), uint16_t(virtualKey ? 0x8000 : 0));
    send(QEvent::KeyRelease, false);
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(asked)), uint16_t(0));
  }

  void onlyCompleteWavFilesReachTheSoundService_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    auto bytes = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
    QTest::newRow("complete") << bytes(Wav(100, 100)) << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("data shorter than declared") << bytes(Wav(100, 40)) << false;
    QTest::newRow("no samples") << bytes(Wav(0, 0)) << false;
    QTest::newRow("data before format") << bytes(Wav(100, 100, false)) << false;
    QTest::newRow("not a WAV") << QByteArray("ID3\x03 this is an mp3") << false;
    QTest::newRow("header only") << bytes(Wav(100, 100).substr(0, 12)) << false;
  }
  void onlyCompleteWavFilesReachTheSoundService() {
    // Guards against a broken sound file hanging the program instead of staying silent.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playable);
    QTemporaryDir folder;
    const QString path = folder.filePath("sound.wav");
    WriteBytes(path, bytes.toStdString());
    QCOMPARE(IsPlayableWav(path.toStdString()), playable);
    QVERIFY(!IsPlayableWav(folder.filePath("missing.wav").toStdString()));
  }

  void secondCopyIsRefusedAndAKilledCopyLeavesNoLock() {
    // Guards against two copies writing one score file, and against a stale lock after a crash.
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    int ready[2];
    QVERIFY(pipe(ready) == 0);
    pid_t first = ClaimInChild(path, ready);
    char answer = 0;
    QVERIFY(read(ready[0], &answer, 1) == 1);
    QCOMPARE(answer, 'y');

    QVERIFY2(!ClaimProgramFolder(path), "a second copy from the same folder was let in");

    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    pid_t next = ClaimInChild(path, ready);
    QVERIFY(read(ready[0], &answer, 1) == 1);
    QCOMPARE(answer, 'y');  // the killed copy's claim is gone
    QVERIFY(!ClaimProgramFolder(path));
    kill(next, SIGKILL);
    waitpid(next, nullptr, 0);

    QTemporaryDir other;
    QVERIFY2(ClaimProgramFolder(other.path().toStdString()), "a copy in another folder was refused");
    close(ready[0]);
    close(ready[1]);
  }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
