// The menu, the stage prompt and the player select as real windows, offscreen: every control's look
// against the design's listing, the menu's place, tab order, Enter on the default button, real clicks
// and focus reaching the handlers, and the title bar's close.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QTest>

#include "app/qt/Program.h"
#include "flight/qt/Form1Window.h"
#include "controls/qt/QtLook.h"
#include "menus/qt/Form2Window.h"
#include "menus/qt/Form4Window.h"
#include "tests/support/Describe.h"
#include "tests/support/Fixtures.h"

namespace {

QWidget* TopLevel(const QString& title) {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == title) return window;
  return nullptr;
}

template <typename Widget = QWidget>
Widget* Child(QWidget* window, const char* name) {
  return window->findChild<Widget*>(QString::fromLatin1(name));
}

}  // namespace

class TestMenuWindows : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { MapJapaneseFonts(); }

  void looks_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("the menu") << "menu";
    QTest::newRow("the stage prompt") << "prompt";
    QTest::newRow("the player select") << "player-select";
  }
  void looks() {
    // Guards against a control out of place, under the frame, in the wrong font or colours, with the
    // wrong text or tool tip, or shown or usable in the wrong start state.
    QFETCH(QString, window);
    ProgramFixture desk;
    QWidget* shown = window == "menu" ? static_cast<QWidget*>(desk.program->form2Window.get())
                                      : static_cast<QWidget*>(desk.program->form4Window.get());
    if (window == "player-select") {
      desk.game.form2.Option2.SetValue(true);
      desk.game.form2.Command1_Click();
      shown = TopLevel(QStringLiteral("プレイヤーセレクト"));
      QVERIFY(shown);
    }
    QVERIFY(SameAsFixture(DescribeControls(*shown), window + "-controls.txt"));
  }

  void menuPlaceFocusAndKeys() {
    // Guards against a menu off the centre (or a play screen centred under it) or with buttons the
    // design does not have, a wrong tab order, a start without the keyboard on the normal mode, or
    // choices by mouse and arrow keys that never reach the handlers.
    ProgramFixture desk;
    QWidget* menu = desk.program->form2Window.get();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Centred; the platform's frame may shift the client area by a few pixels. The play screen keeps
    // to the corner, out from under it.
    QVERIFY((menu->geometry().center() - screenCentre).manhattanLength() <= 8);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(desk.program->form1Window->frameGeometry().topLeft(), available.topLeft() + QPoint(22, 22));
    QVERIFY(!(menu->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QStringList tabs;
    QWidget* widget = Child(menu, "Option1");
    for (int i = 0; i < 8; ++i, widget = widget->nextInFocusChain()) {
      while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
      tabs << widget->objectName();
    }
    QCOMPARE(tabs, QStringList({"Option1", "Option2", "Command1", "Check1", "Combo1", "Option3", "Check2", "Command2"}));
    QStringList items;
    for (int i = 0; i < Child<QComboBox>(menu, "Combo1")->count(); ++i) items << Child<QComboBox>(menu, "Combo1")->itemText(i);
    QCOMPARE(items, QStringList({"STAGE 1", "STAGE 2", "STAGE 3", "STAGE 4", "STAGE 5"}));
    QTRY_VERIFY(Child(menu, "Option1")->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // the arrow key moves to score attack
    QTRY_VERIFY(desk.game.form2.Option2.Value());
    QCOMPARE(Text(desk.game.form1.Label5.Caption()), QStringLiteral("SCORE\r\nATTACK\r\nMODE"));
    QVERIFY(Child(menu, "Check1")->isEnabled() && !Child(menu, "Check2")->isEnabled());
    QTest::mouseClick(Child(menu, "Check1"), Qt::LeftButton);
    QCOMPARE(Text(desk.game.form1.Label5.Caption()), QStringLiteral("SUPER\r\nSCORE\r\nATTACK!!"));
    QTest::mouseClick(Child(menu, "Option3"), Qt::LeftButton);
    QTRY_COMPARE(Text(desk.game.form1.Label5.Caption()), QString());
    QVERIFY(!Child(menu, "Combo1")->isEnabled());
  }

  void enterStartsANormalRun() {
    // Guards against a menu whose Enter does not press START, or a prompt whose Enter does not press
    // its main button, whatever has the keyboard.
    ProgramFixture desk;
    QWidget* menu = desk.program->form2Window.get();
    QWidget* prompt = desk.program->form4Window.get();
    QTRY_VERIFY(menu->isActiveWindow());
    QTest::keyClick(menu, Qt::Key_Return);
    const auto shown = [&] { return Child<QLabel>(prompt, "Label1")->text() + "|" + Child<QPushButton>(prompt, "Command1")->text(); };
    QVERIFY(!menu->isVisible() && prompt->isVisible());
    QCOMPARE(shown(), QStringLiteral("Stage1,Ready...|GO!!"));
    QTest::keyClick(prompt, Qt::Key_Enter);  // the flight runs inside the press, and crashes
    QCOMPARE(shown(), QStringLiteral("ゲームオーバー|OK"));
    QTest::keyClick(prompt, Qt::Key_Return);
    QVERIFY(menu->isVisible() && !prompt->isVisible());
  }

  void promptStates_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("after");  // message | main button | "終" shown and usable, after Enter
    QTest::newRow("before any flight") << 0 << "|OK|00";
    QTest::newRow("retry question") << 4 << "もっかいやります？|OK|11";
    QTest::newRow("stage set up") << 3 << "Stage3, Ready...|GO!!|00";
  }
  void promptStates() {
    // Guards against a "終" button that shows outside the retry question, an Enter that does not
    // press the main button, a title bar that closes the prompt, or a message whose lines do not fit.
    QFETCH(int, state);
    ProgramFixture desk;
    QWidget* prompt = desk.program->form4Window.get();
    desk.game.module1.Stage = 3;
    desk.game.module1.GameMode = 2;
    desk.game.module1.PromptState = state;
    desk.game.form4.Show();
    desk.game.form4.SetFocus();
    prompt->close();  // the title bar's close: nothing happens
    QVERIFY(prompt->isVisible());
    QTest::keyClick(prompt, Qt::Key_Return);
    auto* retry = Child<QPushButton>(prompt, "Command2");
    QTEST(Child<QLabel>(prompt, "Label1")->text() + "|" + Child<QPushButton>(prompt, "Command1")->text() + "|" +
              QString::number(retry->isVisibleTo(prompt)) + QString::number(retry->isEnabled()),
          "after");
    QCOMPARE(prompt->isVisible(), state != 0);
    auto* message = Child<QLabel>(prompt, "Label1");  // the longest two-line message fits, foot and all
    desk.game.form4.Label1.SetCaption("ランクインせず…\r\nハイスコアまであと1234500点");
    QVERIFY(message->fontMetrics().boundingRect(message->rect(), message->alignment(), message->text()).height() <=
            message->height());
  }

  void playerSelectWindow() {
    // Guards against a player select without its eight rows in view (a long name included), or whose
    // double-click, Enter or title bar does not do what the buttons do.
    ProgramFixture desk;
    const QString longName = QStringLiteral("ミナミミナミミナミミナミミ");  // wider than the list
    desk.game.module1.PlayerNames[1] = longName.toStdString();
    desk.game.form2.Option2.SetValue(true);
    desk.game.form2.Command1_Click();
    QWidget* select = TopLevel(QStringLiteral("プレイヤーセレクト"));
    auto* rows = Child<QListWidget>(select, "List1");
    QCOMPARE(rows->count(), 8);
    QCOMPARE(rows->item(1)->text() + QString::number(rows->currentRow()), longName + "-1");
    // All eight rows show at once, as in the old list box, and a long name is elided in its row.
    QVERIFY(rows->visualItemRect(rows->item(7)).bottom() < rows->viewport()->height());
    QVERIFY(rows->visualItemRect(rows->item(1)).right() < rows->viewport()->width());
    QVERIFY(!rows->horizontalScrollBar()->isVisible() && !rows->verticalScrollBar()->isVisible());
    QTest::keyClick(select, Qt::Key_Return);  // START with no row: told to choose
    QCOMPARE(desk.platform.messages.size(), size_t(1));
    select->close();  // back, as "戻る"
    QVERIFY(!desk.game.Form5Loaded() && desk.program->form2Window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!TopLevel(QStringLiteral("プレイヤーセレクト")));

    desk.game.form2.Command1_Click();
    rows = Child<QListWidget>(TopLevel(QStringLiteral("プレイヤーセレクト")), "List1");
    const QPoint row = rows->visualItemRect(rows->item(1)).center();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, row);
    QVERIFY(!desk.game.Form5Loaded() && desk.program->form4Window->isVisible());
    QCOMPARE(desk.game.module1.PlayerIndex, 1);
  }
};

QTEST_MAIN(TestMenuWindows)
#include "tst_menuwindows.moc"
