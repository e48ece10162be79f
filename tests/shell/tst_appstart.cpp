// Start-up with windows: what a player sees first, offscreen.
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "flight/Form1Window.h"
#include "menus/Form2.h"
#include "menus/Form4.h"
#include "platform/ScriptedPlatform.h"
#include "shell/Program.h"

class TestAppStart : public QObject {
  Q_OBJECT

 private slots:
  void windowsComeUpAsThePlayerExpects() {
    // Guards against a start-up that shows the prompt, misplaces it, or leaves the menu without focus.
    QTemporaryDir folder;
    ScriptedPlatform platform;
    platform.programFolder = folder.path().toStdString();
    Program program(platform);
    AppStart(program);

    Form1Window& playScreen = *program.form1Window;
    QVERIFY(playScreen.isVisible());
    QCOMPARE(playScreen.windowTitle(), QStringLiteral("Morvane-Tesk"));
    QCOMPARE(playScreen.size(), QSize(408, 256));

    Form2& menu = *program.form2;
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.windowTitle(), QStringLiteral("Morvane-Tesk Menu"));
    QCOMPARE(menu.size(), QSize(187, 239));

    Form4& prompt = *program.form4;
    QVERIFY(!prompt.isVisible());
    QCOMPARE(prompt.size(), QSize(183, 71));
    QCOMPARE(prompt.pos(), playScreen.frameGeometry().topLeft() + QPoint(46, 174));
    QVERIFY(!prompt.Command2->isVisible() && !prompt.Command2->isEnabled());

    QCOMPARE(QString::fromStdString(program.form1.Label2.Caption()),
             QStringLiteral("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal"));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&menu));
  }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
