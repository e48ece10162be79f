// Outside services: the key state the steering relies on, the sound-file check, the single-copy guard.
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "platform/QtPlatform.h"
#include "platform/SingleInstance.h"
#include "platform/WavCheck.h"

namespace {

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

}  // namespace

class TestPlatform : public QObject {
  Q_OBJECT

 private slots:
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
    // Guards against keypad steering that works with one NumLock state only, against Qt's
    // auto-repeat (release + press pairs) counting as fresh presses, and against a key that was
    // pressed and let go before the query counting as down.
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, virtualKey);
    QtPlatform platform;
    QWidget window;
    auto send = [&](QEvent::Type type, bool autoRepeat) {
      QKeyEvent event(type, qtKey, keypad ? Qt::KeypadModifier : Qt::NoModifier, QString(), autoRepeat);
      QApplication::sendEvent(&window, &event);
    };
    auto state = [&] { return uint16_t(platform.GetAsyncKeyState(virtualKey ? virtualKey : VirtualKey::Numpad2)); };
    const uint16_t mapped = virtualKey ? 0xffff : 0;
    send(QEvent::KeyPress, false);
    QCOMPARE(state(), uint16_t(0x8001 & mapped));
    send(QEvent::KeyRelease, true);
    send(QEvent::KeyPress, true);
    QCOMPARE(state(), uint16_t(0x8000 & mapped));
    send(QEvent::KeyRelease, false);
    QCOMPARE(state(), uint16_t(0));
    send(QEvent::KeyPress, false);
    send(QEvent::KeyRelease, false);
    QCOMPARE(state(), uint16_t(0x0001 & mapped));
  }

  void heldKeyIsForgottenWhenTheWindowLosesFocus_data() {
    QTest::addColumn<int>("leave");
    QTest::newRow("to another window of the program") << 0;
    QTest::newRow("to a modal message box") << 1;
    QTest::newRow("the play window deactivated") << 2;
    QTest::newRow("the program deactivated") << 3;
  }
  void heldKeyIsForgottenWhenTheWindowLosesFocus() {
    // Guards against a steering key that reads as still down after the play window lost the keyboard
    // inside the program (to the stage prompt, a message box) and got it back: its release went to
    // another window or nowhere, and a stale state would steer or block the next press.
    QFETCH(int, leave);
    QtPlatform platform;
    QWidget play;
    play.setFocusPolicy(Qt::StrongFocus);
    play.show();
    play.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&play));
    QTest::keyPress(&play, Qt::Key_Down);
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(VirtualKey::Down)), uint16_t(0x8001));
    QTest::keyPress(&play, Qt::Key_Up);  // pressed, not yet asked about

    if (leave == 0) {
      QWidget prompt;
      prompt.show();
      prompt.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&prompt));
    } else if (leave == 1) {
      QMessageBox box(QMessageBox::Warning, "Morvane-Tesk", "message", QMessageBox::Ok);
      box.setModal(true);
      box.show();
      box.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&box));
    } else {
      QEvent deactivate(leave == 2 ? QEvent::WindowDeactivate : QEvent::ApplicationDeactivate);
      QApplication::sendEvent(leave == 2 ? static_cast<QObject*>(&play) : qApp, &deactivate);
    }
    play.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&play));
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(VirtualKey::Down)), uint16_t(0));
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(VirtualKey::Up)), uint16_t(0));
    // The next real press steers again.
    QTest::keyPress(&play, Qt::Key_Down);
    QCOMPARE(uint16_t(platform.GetAsyncKeyState(VirtualKey::Down)), uint16_t(0x8001));
  }

  void onlyCompleteWavFilesReachTheSoundService_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    auto bytes = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
    QTest::newRow("complete") << bytes(Wav(100, 100)) << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("data shorter than declared") << bytes(Wav(100, 40)) << false;
    QTest::newRow("data before format") << bytes(Wav(100, 100, false)) << false;
    QTest::newRow("not a WAV") << QByteArray("ID3\x03 this is an mp3") << false;
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

  void secondCopyFromTheSameFolderIsRefused() {
    // Guards against two copies writing one score file, and against refusing copies elsewhere.
    // (A killed copy's claim dying with it is checked with real processes in the desktop test.)
    QTemporaryDir folder, other;
    QVERIFY(ClaimProgramFolder(folder.path().toStdString()));
    QVERIFY2(!ClaimProgramFolder(folder.path().toStdString()), "a second copy from the same folder was let in");
    QVERIFY2(ClaimProgramFolder(other.path().toStdString()), "a copy in another folder was refused");
  }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
