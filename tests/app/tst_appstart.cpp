// Start-up with windows: what a player sees first, offscreen; and the real game where no window can
// be shown.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <thread>

#include "app/qt/Program.h"
#include "controls/qt/QtLook.h"
#include "flight/qt/Form1Window.h"
#include "menus/qt/Form2Window.h"
#include "menus/qt/Form4Window.h"
#include "tests/support/Fixtures.h"

namespace {

// An X display on 127.0.0.1 that accepts its first connection, answers the setup as a display
// without screens would, hangs up, and refuses every later connection.
class OneShotDisplay {
 public:
  OneShotDisplay() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    for (number_ = 60; number_ < 200; ++number_) {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = htons(uint16_t(6000 + number_));
      if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) break;
    }
    if (::listen(listener_, 4) != 0) number_ = -1;
    server_ = std::thread([this] { Serve(); });
  }
  ~OneShotDisplay() {
    server_.join();
    if (listener_ >= 0) ::close(listener_);
  }
  QString Name() const { return QStringLiteral("127.0.0.1:%1").arg(number_); }

 private:
  void Serve() {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 20000) != 1) return;
    const int client = ::accept(listener_, nullptr, nullptr);
    ::close(std::exchange(listener_, -1));  // the next connection is refused
    char request[64];
    if (client < 0 || ::recv(client, request, sizeof request, 0) <= 0) return;
    // Success, protocol 11.0, then the setup: no screens, no pixmap formats, vendor "fake".
    const unsigned char setup[] = {1, 0, 11, 0, 0, 0, 9, 0,             // status, version, 9 words
                                   0, 0, 0, 0, 0, 0, 0x20, 0,           // release, resource id base
                                   0xff, 0xff, 0x1f, 0, 0, 0, 0, 0,     // id mask, motion buffer
                                   4, 0, 0xff, 0xff, 0, 0, 0, 0,        // vendor length, request length
                                   32, 32, 8, 255, 0, 0, 0, 0,          // keycodes
                                   'f', 'a', 'k', 'e'};
    [[maybe_unused]] const ssize_t sent = ::send(client, setup, sizeof setup, MSG_NOSIGNAL);
    ::close(client);
  }

  int listener_ = -1;
  int number_ = -1;
  std::thread server_;
};

}  // namespace

class TestAppStart : public QObject {
  Q_OBJECT

 private slots:
  void windowsComeUpAsThePlayerExpects() {
    // Guards against a start-up that shows the prompt, misplaces it, leaves the criteria without
    // their captions, or leaves the menu without the keyboard.
    MapJapaneseFonts();
    ProgramFixture desk;
    Form4Window& prompt = *desk.program->form4Window;
    QVERIFY(desk.program->form1Window->isVisible() && desk.program->form2Window->isVisible() && !prompt.isVisible());
    QCOMPARE(prompt.PlaceOverPlayScreen(), desk.program->form1Window->frameGeometry().topLeft() + QPoint(46, 174));
    QCOMPARE(Text(desk.game.form1.Label2.Caption()),
             QStringLiteral("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal"));
    QCOMPARE(desk.game.desktop.ActiveForm(), &desk.game.form2);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(desk.program->form2Window.get()));
  }

  void toolkitMessagesOfTheStartStillShow() {
    // Guards against the toolkit's own messages of the start held back for good while the display
    // is being decided: a player would never learn that an option of theirs was ignored.
    QTemporaryDir folder;
    const QString game = folder.filePath("morvane-tesk");
    QVERIFY(QFile::copy(QStringLiteral(MORVANE_BUILD "/morvane-tesk"), game));
    QProcess process;
    process.start(game, {"-style", "nonexistent"});
    QVERIFY(process.waitForStarted());
    QByteArray said;
    for (int i = 0; i < 100 && !said.contains("invalid style override"); ++i) {
      process.waitForReadyRead(100);
      said += process.readAllStandardError();
    }
    process.kill();
    process.waitForFinished();
    QVERIFY2(said.contains("invalid style override 'nonexistent'"), said.constData());
  }

  void noDisplayEndsInOneLine_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("line");
    QTest::newRow("DISPLAY not set") << ""
                                     << "morvane-tesk: no display: DISPLAY is not set (start the game inside a "
                                        "graphical session)";
    QTest::newRow("nothing listening") << ":97" << R"(morvane-tesk: no display: cannot open the X display ":97")";
    QTest::newRow("a display that accepts one connection and refuses the next")
        << "one shot" << R"(morvane-tesk: no display: cannot open the X display "%1")";
  }
  void noDisplayEndsInOneLine() {
    // Guards against a game started without a display that aborts with a core dump and a paragraph
    // about plugins, or that decides on one connection and then dies on the next.
    QFETCH(QString, display);
    QFETCH(QString, line);
    std::optional<OneShotDisplay> oneShot;
    if (display == "one shot") display = oneShot.emplace().Name();
    QProcess game;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("WAYLAND_DISPLAY");
    if (display.isEmpty())
      environment.remove("DISPLAY");
    else
      environment.insert("DISPLAY", display);
    game.setProcessEnvironment(environment);
    QTemporaryDir folder;
    game.setWorkingDirectory(folder.path());
    game.start(QStringLiteral(MORVANE_BUILD "/morvane-tesk"), {});
    QVERIFY(game.waitForFinished(30000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 1);
    QCOMPARE(QString::fromLocal8Bit(game.readAllStandardError()).trimmed(), line.replace("%1", display));
  }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
