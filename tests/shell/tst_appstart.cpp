// Start-up with windows: what a player sees first, offscreen.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "flight/Form1Window.h"
#include "menus/Form2Window.h"
#include "menus/Form4Window.h"
#include "platform/QtPlatform.h"
#include "platform/ScriptedPlatform.h"
#include "shell/Program.h"

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
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
