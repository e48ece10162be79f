// Start-up with windows: what a player sees first, offscreen; and the real game where no window can
// be shown.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <thread>

#include "flight/qt/Form1Window.h"
#include "menus/qt/Form2Window.h"
#include "menus/qt/Form4Window.h"
#include "controls/qt/QtLook.h"
#include "platform/qt/QtPlatform.h"
#include "platform/ScriptedPlatform.h"
#include "app/qt/Program.h"

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
    // Guards against a start-up that shows the prompt, misplaces it, or leaves the menu without focus.
    MapJapaneseFonts();
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Program program(platform);
    program.Start();

    Form1Window& playScreen = *program.form1Window;
    QVERIFY(playScreen.isVisible());
    QCOMPARE(playScreen.windowTitle(), QStringLiteral("Morvane-Tesk"));
    QCOMPARE(playScreen.size(), QSize(408, 256));
    QCOMPARE(playScreen.findChild<QLabel*>("Label4")->text(), QStringLiteral("Morvane-Tesk"));

    Form2Window& menu = *program.form2Window;
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.windowTitle(), QStringLiteral("Morvane-Tesk Menu"));
    QCOMPARE(menu.size(), QSize(187, 239));

    Form4Window& prompt = *program.form4Window;
    QVERIFY(!prompt.isVisible());
    QCOMPARE(prompt.size(), QSize(183, 71));
    QCOMPARE(prompt.PlaceOverPlayScreen(), playScreen.frameGeometry().topLeft() + QPoint(46, 174));
    const auto* retry = prompt.findChild<QPushButton*>("Command2");
    QVERIFY(retry && !retry->isVisibleTo(&prompt) && !retry->isEnabled());

    QCOMPARE(QString::fromStdString(program.game.form1.Label2.Caption()),
             QStringLiteral("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal"));
    QCOMPARE(program.game.desktop.ActiveForm(), &program.game.form2);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&menu));
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
    game.start(QStringLiteral(MORVANE_GAME), {});
    QVERIFY(game.waitForFinished(30000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 1);
    QCOMPARE(QString::fromLocal8Bit(game.readAllStandardError()).trimmed(), line.replace("%1", display));
  }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
