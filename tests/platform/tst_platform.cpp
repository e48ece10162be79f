// Outside services: the key state the steering relies on, the pause, the message and input boxes,
// the sounds and the sound-file check, the end of the program, the file helpers.
#include <fcntl.h>
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

#include "linux/PosixFile.h"
#include "platform/qt/QtPlatform.h"
#include "linux/WavFile.h"

namespace {

void WriteBytes(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

std::string Le32(uint32_t v) {
  return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
}

// A chunk: four-letter id, declared body length, and that many (or `actual`) zero bytes, padded to even.
std::string Chunk(const std::string& id, uint32_t declared, uint32_t actual, bool pad = true,
                  char fill = '\0') {
  return id + Le32(declared) + std::string(actual, fill) + std::string(pad ? actual & 1 : 0, '\0');
}

std::string Format(uint32_t length = 16) {
  std::string pcm =
      std::string("\x01\x00\x01\x00", 4) + Le32(22050) + Le32(44100) + std::string("\x02\x00\x10\x00", 4);
  pcm.resize(length, '\0');
  return "fmt " + Le32(length) + pcm;
}

std::string Riff(const std::string& body, const char* form = "WAVE") {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + body.size())) + form + body;
}

// Runs `act` on the modal dialog as soon as it is up, from inside the dialog's own event loop. A dialog
// that `act` leaves open is rejected two seconds later, so that a failing test ends instead of hanging;
// the answer tells whether that happened.
std::shared_ptr<bool> WhenModalShows(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  auto waited = std::make_shared<int>(0);
  auto leftOpen = std::make_shared<bool>(false);
  QObject::connect(poll, &QTimer::timeout, [poll, waited, leftOpen, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && ++*waited < 300) return;
    poll->deleteLater();
    poll->stop();
    if (!modal) return;
    act(modal);
    QTimer::singleShot(2000, [leftOpen, dialog = QPointer<QDialog>(qobject_cast<QDialog*>(modal))] {
      if (!dialog || !dialog->isVisible()) return;
      *leftOpen = true;
      dialog->reject();
    });
  });
  poll->start(10);
  return leftOpen;
}

enum Close { EnterKey, EscapeKey, CancelButton, OkButton };

void CloseDialog(QWidget* dialog, int how) {
  QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
  if (how == EnterKey) QTest::keyClick(focus, Qt::Key_Return);
  if (how == EscapeKey) QTest::keyClick(focus, Qt::Key_Escape);
  if (how == CancelButton || how == OkButton) {
    const QString caption = how == OkButton ? "OK" : "Cancel";
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
      if (button->text().remove('&') == caption) QTest::mouseClick(button, Qt::LeftButton);
  }
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

  void inputBox_data() {
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("close");
    QTest::addColumn<QString>("answer");
    const QString none;
    QTest::newRow("typed name, Enter") << none << "Taro" << int(EnterKey) << "Taro";
    QTest::newRow("typed name, Escape") << none << "Taro" << int(EscapeKey) << none;
    QTest::newRow("offered name kept, OK button") << "たろう" << none << int(OkButton) << "たろう";
    QTest::newRow("offered name, Cancel button") << "Hanako" << none << int(CancelButton) << none;
  }
  void inputBox() {
    // Guards against a cancelled input box that answers text, an OK that loses what was typed or
    // offered, an offered text missing from the field, or a box without its title and prompt.
    QFETCH(QString, offered);
    QFETCH(QString, typed);
    QFETCH(int, close);
    QtPlatform platform;
    QString title, prompt, field;
    const auto leftOpen = WhenModalShows([&](QWidget* dialog) {
      title = dialog->windowTitle();
      if (auto* label = dialog->findChild<QLabel*>()) prompt = label->text();
      auto* edit = dialog->findChild<QLineEdit*>();
      if (!edit) return;
      field = edit->text();
      edit->setFocus();
      QTest::keyClicks(edit, typed);
      CloseDialog(dialog, close);
    });
    const std::string answer =
        platform.InputBox("名前を入れてください", "Morvane-Tesk", offered.toStdString());
    QVERIFY2(!*leftOpen, "the input box did not close");
    QCOMPARE(title, "Morvane-Tesk");
    QCOMPARE(prompt, "名前を入れてください");
    QCOMPARE(field, offered);
    QTEST(QString::fromStdString(answer), "answer");
  }

  void messageBox_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("close");
    QTest::addColumn<int>("shownIcon");
    QTest::newRow("warning, closed with Enter")
        << int(MessageIcon::Exclamation) << int(EnterKey) << int(QMessageBox::Warning);
    QTest::newRow("plain message, closed with OK")
        << int(MessageIcon::None) << int(OkButton) << int(QMessageBox::NoIcon);
  }
  void messageBox() {
    // Guards against a warning without its exclamation icon, a plain message with one, a lost title or
    // text, or a box with more than its OK button.
    QFETCH(int, icon);
    QFETCH(int, close);
    QtPlatform platform;
    int shownIcon = -1;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    const auto leftOpen = WhenModalShows([&](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      if (!box) return;
      shownIcon = box->icon();
      title = box->windowTitle();
      text = box->text();
      buttons = box->standardButtons();
      CloseDialog(box, close);
    });
    platform.MessageBox("ファイル書きこみ中エラー発生!", "Morvane-Tesk", MessageIcon(icon));
    QVERIFY2(!*leftOpen, "the message box did not close");
    QTEST(shownIcon, "shownIcon");
    QCOMPARE(title, "Morvane-Tesk");
    QCOMPARE(text, "ファイル書きこみ中エラー発生!");
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  void eachSoundReplacesTheOneBefore() {
    // Guards against a sound that keeps playing under the next one or after the stop, a missing file
    // that leaves the previous sound playing, or a sound that never starts.
    QTemporaryDir folder;
    const QString clear = folder.filePath("clear.wav"), bonus = folder.filePath("bonus.wav");
    WriteBytes(clear, Riff(Format() + Chunk("data", 4000, 4000)));
    WriteBytes(bonus, Riff(Format() + Chunk("data", 4000, 4000)));
    QtPlatform platform;
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

  void onlyCompleteWavFilesReachTheSoundService_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    auto bytes = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
    QTest::newRow("complete") << bytes(Riff(Format() + Chunk("data", 100, 100))) << true;
    QTest::newRow("odd chunk padded before the data")
        << bytes(Riff(Format() + Chunk("LIST", 3, 3) + Chunk("data", 100, 100))) << true;
    // Its length needs all four bytes; the filler would read as a huge chunk if the length were misread.
    QTest::newRow("chunk of 64 KiB and more before the data")
        << bytes(Riff(Format() + Chunk("LIST", 65539, 65539, true, 'x') + Chunk("data", 100, 100))) << true;
    QTest::newRow("longer format chunk") << bytes(Riff(Format(18) + Chunk("data", 2, 2))) << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("data shorter than declared") << bytes(Riff(Format() + Chunk("data", 100, 40))) << false;
    QTest::newRow("data one byte short") << bytes(Riff(Format() + Chunk("data", 100, 99, false))) << false;
    QTest::newRow("empty data") << bytes(Riff(Format() + Chunk("data", 0, 0))) << false;
    QTest::newRow("data before format") << bytes(Riff(Chunk("data", 100, 100) + Format())) << false;
    QTest::newRow("format chunk too short") << bytes(Riff(Format(14) + Chunk("data", 100, 100))) << false;
    QTest::newRow("format chunk past the end") << bytes(Riff(Format().substr(0, 20))) << false;
    QTest::newRow("no data chunk") << bytes(Riff(Format() + Chunk("LIST", 4, 4))) << false;
    QTest::newRow("format look-alike")
        << bytes(Riff(Format().replace(0, 4, "fmt_") + Chunk("data", 100, 100))) << false;
    QTest::newRow("big-endian RIFX") << bytes("RIFX" + Riff(Format() + Chunk("data", 100, 100)).substr(4))
                                     << false;
    QTest::newRow("RIFF of another form") << bytes(Riff(Format() + Chunk("data", 100, 100), "AVI ")) << false;
    QTest::newRow("not a WAV") << QByteArray("ID3\x03 this is an mp3") << false;
  }
  void onlyCompleteWavFilesReachTheSoundService() {
    // Guards against a broken sound file hanging the program instead of staying silent.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playable);
    QTemporaryDir folder;
    const QString path = folder.filePath("sound.wav");
    WriteBytes(path, bytes.toStdString());
    const Descriptor file(OpenFile(path.toStdString(), O_RDONLY));
    QCOMPARE(IsPlayableWav(file.Get()), playable);
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
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray::fromHex("0102030000010203"));
    // A name that still leads to the open file, and one that a rename gave to another file.
    const Descriptor open(OpenFile(path.toStdString(), O_RDONLY));
    QVERIFY(NamesFile(path.toStdString(), open.Get()));
    QVERIFY(QFile(folder.filePath("other")).open(QIODevice::WriteOnly));
    QVERIFY(::rename(folder.filePath("other").toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0);
    QVERIFY(!NamesFile(path.toStdString(), open.Get()));
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
