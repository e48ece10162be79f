// Outside services on the desktop: the key state the steering relies on, the pause, the message and
// input boxes, the sounds (also files that are no sound in a sound's place), the end of the program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

#include "platform/qt/QtPlatform.h"
#include "linux/WavFile.h"
#include "tests/support/Wav.h"

namespace {

// Runs `act` on the modal dialog as soon as it is up, from inside the dialog's own event loop.
void WhenModalShows(std::function<void(QWidget*)> act) {
  QTimer::singleShot(10, [act] {
    if (QWidget* modal = QApplication::activeModalWidget()) return act(modal);
    WhenModalShows(act);
  });
}

constexpr char EndProgramChild[] = "MORVANE_TEST_END_PROGRAM";

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
    auto state = [&] {
      return uint16_t(platform.GetAsyncKeyState(virtualKey ? virtualKey : VirtualKey::Numpad2));
    };
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

  void pauseLastsTheAskedTime() {
    // Guards against a pause in the wrong unit, or one that returns early, slowing or racing every
    // flight; the bounds are generous, the machine may be busy.
    QtPlatform platform;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 10; ++i) platform.Sleep(5);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 50 && elapsed <= 500,
             qPrintable(QString("10 pauses of 5 ms took %1 ms").arg(elapsed)));
  }

  void dialogs_data() {
    QTest::addColumn<QString>("box");      // "input" with the text offered, or a message box's icon
    QTest::addColumn<QString>("typed");    // into the input box
    QTest::addColumn<QString>("close");    // the key or button that closes it
    QTest::addColumn<QString>("outcome");  // what the box showed, and the input box's answer
    const QString title = "Morvane-Tesk|名前を入れてください|";
    QTest::newRow("typed name, Enter") << "input" << "Taro" << "Return" << title + "|Taro";
    QTest::newRow("typed name, Escape") << "input" << "Taro" << "Escape" << title + "|";
    QTest::newRow("offered name kept, OK button") << "input たろう" << "" << "OK" << title + "たろう|たろう";
    QTest::newRow("offered name, Cancel button") << "input Hanako" << "" << "Cancel" << title + "Hanako|";
    QTest::newRow("warning, closed with Enter") << "warning" << "" << "Return" << "Morvane-Tesk|text|2|OK";
    QTest::newRow("plain message, closed with OK") << "plain" << "" << "OK" << "Morvane-Tesk|text|0|OK";
  }
  void dialogs() {
    // Guards against a cancelled input box that answers text, an OK that loses what was typed or
    // offered, an offered text missing from the field, a box without its title and text, a warning
    // without its exclamation icon or a plain message with one, or more buttons than OK.
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, close);
    QtPlatform platform;
    QStringList seen;
    WhenModalShows([&](QWidget* dialog) {
      seen << dialog->windowTitle();
      if (auto* message = qobject_cast<QMessageBox*>(dialog)) {
        seen << message->text() << QString::number(message->icon());
        for (QAbstractButton* button : message->buttons()) seen << button->text().remove('&');
      } else if (auto* edit = dialog->findChild<QLineEdit*>()) {
        seen << dialog->findChild<QLabel*>()->text() << edit->text();
        edit->setFocus();
        QTest::keyClicks(edit, typed);
      }
      for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text().remove('&') == close) return QTest::mouseClick(button, Qt::LeftButton);
      QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, close == "Return" ? Qt::Key_Return : Qt::Key_Escape);
    });
    if (box.startsWith("input"))
      seen << QString::fromStdString(platform.InputBox("名前を入れてください", "Morvane-Tesk", box.mid(6).toStdString()));
    else
      platform.MessageBox("text", "Morvane-Tesk", box == "warning" ? MessageIcon::Exclamation : MessageIcon::None);
    QTEST(seen.join('|'), "outcome");
  }

  void eachSoundReplacesTheOneBefore() {
    // Guards against a sound that keeps playing under the next one or after the stop, a missing file
    // that leaves the previous sound playing, or a sound that never starts.
    QTemporaryDir folder;
    const QString clear = folder.filePath("clear.wav"), bonus = folder.filePath("bonus.wav");
    std::ofstream(clear.toStdString(), std::ios::binary) << Riff(Format() + Chunk("data", 4000, 4000));
    std::ofstream(bonus.toStdString(), std::ios::binary) << Riff(Format() + Chunk("data", 4000, 4000));
    QtPlatform platform(MORVANE_SOUND_MODULE);
    auto playing = [&] {
      QStringList files;
      for (const QSoundEffect* effect : platform.findChildren<QSoundEffect*>())
        // The sound service is handed the open file (/proc/self/fd/N): follow it to the file's name.
        if (effect->isPlaying()) files << QFileInfo(effect->source().toLocalFile()).symLinkTarget();
      return files;
    };
    const int32_t flags = SoundFlag::FileName | SoundFlag::NoWait | SoundFlag::NoDefault | SoundFlag::Async;
    platform.PlaySound(clear.toStdString(), flags);
    QCOMPARE(playing(), QStringList{clear});
    platform.PlaySound(bonus.toStdString(), flags);
    QCOMPARE(playing(), QStringList{bonus});
    platform.PlaySound(folder.filePath("missing.wav").toStdString(), flags);
    QCOMPARE(playing(), QStringList{});
    platform.PlaySound(clear.toStdString(), flags);
    QCOMPARE(playing(), QStringList{clear});
    platform.PlaySound("", SoundFlag::Async);
    QCOMPARE(playing(), QStringList{});
    // The toolkit decodes samples on a thread of its own; ending the test halfway through a decode
    // leaves its reader behind, which the leak check of the sanitizer run reports.
    for (const QSoundEffect* effect : platform.findChildren<QSoundEffect*>())
      QTRY_VERIFY(effect->status() != QSoundEffect::Loading && effect->status() != QSoundEffect::Null);
  }

  void endOfProgramIsImmediateAndClean() {
    // Guards against an end of the program that reports a failure, loses what was already printed, or
    // still runs exit handlers and destructors.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(EndProgramChild, "1");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput(), QByteArray("printed before the end\n"));
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
      QtPlatform platform(MORVANE_SOUND_MODULE);
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

// Run as the child of endOfProgramIsImmediateAndClean: print into the pipe's buffer, then end.
int EndProgramNow(int argc, char** argv) {
  QApplication application(argc, argv);
  QtPlatform platform;
  std::atexit([] { std::printf("exit handler ran\n"); });
  struct Destructor {
    ~Destructor() { std::printf("destructor ran\n"); }
  } destructor;
  std::printf("printed before the end\n");
  platform.EndProgram();
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet(EndProgramChild)) return EndProgramNow(argc, argv);
  QApplication application(argc, argv);
  TestPlatform test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "tst_platform.moc"
