// The menu, the stage prompt and the player select as real windows, offscreen: layout, captions,
// tool tips, tab order, Enter on the default button, real clicks and focus reaching the handlers,
// and the title bar's close.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "flight/qt/Form1Window.h"
#include "menus/qt/Form2Window.h"
#include "menus/qt/Form4Window.h"
#include "menus/Form5.h"
#include "controls/qt/QtLook.h"
#include "platform/qt/QtPlatform.h"
#include "platform/ScriptedPlatform.h"
#include "resources/Resources.h"
#include "app/qt/Program.h"

namespace {

// The real program's windows over the scripted platform, started in a fresh folder.
struct Desk {
  QTemporaryDir folder;
  ScriptedPlatform platform;
  std::unique_ptr<Program> program;
  Desk() {
    platform.programFolder = folder.path().toStdString();
    program = std::make_unique<Program>(platform);
    platform.keyDownHandler = [this](int) { program->game.form1.Form_KeyDown(); };
    program->Start();
  }
  Game& game() { return program->game; }
  template <typename Widget>
  Widget* Find(QWidget& window, const char* name) {
    return window.findChild<Widget*>(QString::fromLatin1(name));
  }
  QWidget* TopLevel(const QString& title) {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->windowTitle() == title) return window;
    return nullptr;
  }
};

QString CaptionOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText();
  return {};
}

}  // namespace

class TestMenuWindows : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { MapJapaneseFonts(); }

  void menuLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");  // twips / 15, relative to the frame for the frame's controls
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Label1") << "Label1" << QRect(8, 8, 169, 17) << ""
                            << "LET'S LANDING!!"
                            << "" << true;
    QTest::newRow("Frame1") << "Frame1" << QRect(8, 32, 169, 169) << ""
                            << "メインメニュー"
                            << "" << true;
    QTest::newRow("Option1") << "Option1" << QRect(16, 16, 129, 12) << "Frame1"
                             << "ノーマルモード"
                             << "全5面をプレイするモードです" << true;
    QTest::newRow("Option2") << "Option2" << QRect(16, 64, 129, 12) << "Frame1"
                             << "スコアアタックモード"
                             << "1つの面をひたすらスコアアタックするモードです" << true;
    QTest::newRow("Command1") << "Command1" << QRect(16, 208, 65, 25) << ""
                              << "START"
                              << "" << true;
    QTest::newRow("Check1") << "Check1" << QRect(40, 80, 97, 25) << "Frame1"
                            << "SUPERモード"
                            << "1位のスコアを出したときのみランキングされるようになります" << false;
    QTest::newRow("Combo1") << "Combo1" << QRect(40, 112, 97, 20) << "Frame1"
                            << "STAGE 1"
                            << "" << false;
    QTest::newRow("Option3") << "Option3" << QRect(16, 144, 137, 17) << "Frame1"
                             << "ハイスコアを見る"
                             << "ハイスコアを見ます" << true;
    QTest::newRow("Check2 on the window") << "Check2" << QRect(48, 64, 97, 25) << ""
                                          << "自動スコアメモ"
                                          << "ノーマルモードのスコアメモファイルを自動生成します" << true;
    QTest::newRow("Command2") << "Command2" << QRect(104, 208, 65, 25) << ""
                              << "終了"
                              << "" << true;
  }
  void menuLayout() {
    // Guards against a menu control out of place, under the frame, with the wrong text or tool tip,
    // or usable in the wrong start state.
    QFETCH(QString, name);
    Desk desk;
    Form2Window& menu = *desk.program->form2Window;
    QWidget* widget = desk.Find<QWidget>(menu, name.toLatin1().constData());
    QVERIFY(widget);
    QTEST(widget->geometry(), "geometry");
    QTEST(widget->parentWidget() == &menu ? QString() : widget->parentWidget()->objectName(), "parent");
    QTEST(CaptionOf(widget), "caption");
    QTEST(widget->toolTip(), "toolTip");
    QTEST(widget->isEnabled(), "enabled");
    if (name == "Check2") {  // drawn over the frame, not hidden behind it
      const QObjectList& siblings = menu.children();
      QVERIFY(siblings.indexOf(widget) > siblings.indexOf(desk.Find<QWidget>(menu, "Frame1")));
    }
  }

  void menuWindowAndFocus() {
    // Guards against a menu of the wrong size or caption, a wrong tab order, a start without the
    // keyboard on the normal mode, or choices by mouse and arrow keys that never reach the handlers.
    Desk desk;
    Form2Window& menu = *desk.program->form2Window;
    QCOMPARE(menu.windowTitle(), QStringLiteral("Morvane-Tesk Menu"));
    QCOMPARE(menu.size(), QSize(187, 239));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Centred; the platform's frame may shift the client area by a few pixels.
    QVERIFY((menu.geometry().center() - screenCentre).manhattanLength() <= 8);
    QVERIFY(!(menu.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QStringList tabs;
    QWidget* widget = desk.Find<QWidget>(menu, "Option1");
    for (int i = 0; i < 8; ++i, widget = widget->nextInFocusChain()) {
      while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
      tabs << widget->objectName();
    }
    QCOMPARE(tabs, QStringList({"Option1", "Option2", "Command1", "Check1", "Combo1", "Option3", "Check2",
                                "Command2"}));
    const QStringList items{"STAGE 1", "STAGE 2", "STAGE 3", "STAGE 4", "STAGE 5"};
    auto* stages = desk.Find<QComboBox>(menu, "Combo1");
    QStringList shown;
    for (int i = 0; i < stages->count(); ++i) shown << stages->itemText(i);
    QCOMPARE(shown, items);
    QVERIFY(desk.Find<QRadioButton>(menu, "Option1")->isChecked() &&
            desk.Find<QCheckBox>(menu, "Check2")->isChecked());
    QTRY_VERIFY(desk.Find<QWidget>(menu, "Option1")->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // the arrow key moves to score attack
    QTRY_VERIFY(desk.game().form2.Option2.Value());
    QCOMPARE(QString::fromStdString(desk.game().form1.Label5.Caption()),
             QStringLiteral("SCORE\r\nATTACK\r\nMODE"));
    QVERIFY(desk.Find<QWidget>(menu, "Check1")->isEnabled() &&
            !desk.Find<QWidget>(menu, "Check2")->isEnabled());
    QTest::mouseClick(desk.Find<QWidget>(menu, "Check1"), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(desk.game().form1.Label5.Caption()),
             QStringLiteral("SUPER\r\nSCORE\r\nATTACK!!"));
    QTest::mouseClick(desk.Find<QWidget>(menu, "Option3"), Qt::LeftButton);
    QTRY_COMPARE(QString::fromStdString(desk.game().form1.Label5.Caption()), QString());
    QVERIFY(!desk.Find<QWidget>(menu, "Combo1")->isEnabled());
  }

  void enterStartsANormalRun() {
    // Guards against a menu whose Enter does not press START, or a prompt whose Enter does not press
    // its main button, whatever has the keyboard.
    Desk desk;
    Form2Window& menu = *desk.program->form2Window;
    QTRY_VERIFY(menu.isActiveWindow());
    QTest::keyClick(&menu, Qt::Key_Return);
    Form4Window& prompt = *desk.program->form4Window;
    QVERIFY(!menu.isVisible() && prompt.isVisible());
    QCOMPARE(desk.Find<QLabel>(prompt, "Label1")->text(), QStringLiteral("Stage1,Ready..."));
    QCOMPARE(desk.Find<QPushButton>(prompt, "Command1")->text(), QStringLiteral("GO!!"));
    QTest::keyClick(&prompt, Qt::Key_Enter);  // the flight runs inside the press, and crashes
    QCOMPARE(desk.Find<QLabel>(prompt, "Label1")->text(), QStringLiteral("ゲームオーバー"));
    QCOMPARE(desk.Find<QPushButton>(prompt, "Command1")->text(), QStringLiteral("OK"));
    QTest::keyClick(&prompt, Qt::Key_Return);
    QVERIFY(menu.isVisible() && !prompt.isVisible());
  }

  void promptWidgets_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("after");  // message | main button | "終" shown and usable, after Enter
    QTest::newRow("before any flight") << 0 << "|OK|00";
    QTest::newRow("retry question") << 4 << "もっかいやります？|OK|11";
    QTest::newRow("stage set up") << 3 << "Stage3, Ready...|GO!!|00";
  }
  void promptWidgets() {
    // Guards against a prompt out of place or size, a "終" button that shows outside the retry
    // question, an Enter that does not press the main button, or a title bar that closes it.
    QFETCH(int, state);
    Desk desk;
    Form4Window& prompt = *desk.program->form4Window;
    QCOMPARE(prompt.windowTitle(), QStringLiteral(" "));
    QCOMPARE(prompt.size(), QSize(183, 71));
    const QList<QRect> boxes{desk.Find<QLabel>(prompt, "Label1")->geometry(),
                             desk.Find<QPushButton>(prompt, "Command1")->geometry(),
                             desk.Find<QPushButton>(prompt, "Command2")->geometry()};
    QCOMPARE(boxes, (QList<QRect>{{8, 8, 169, 25}, {48, 40, 81, 23}, {144, 40, 33, 23}}));
    QCOMPARE(desk.Find<QPushButton>(prompt, "Command2")->text(), QStringLiteral("終"));
    desk.game().module1.Stage = 3;
    desk.game().module1.GameMode = 2;
    desk.game().module1.PromptState = state;
    desk.game().form4.Show();
    desk.game().form4.SetFocus();
    prompt.close();  // the title bar's close: nothing happens
    QVERIFY(prompt.isVisible());
    QTest::keyClick(&prompt, Qt::Key_Return);
    auto* retry = desk.Find<QPushButton>(prompt, "Command2");
    const QString after = desk.Find<QLabel>(prompt, "Label1")->text() + "|" +
                          desk.Find<QPushButton>(prompt, "Command1")->text() + "|" +
                          QString::number(retry->isVisibleTo(&prompt)) + QString::number(retry->isEnabled());
    QTEST(after, "after");
    QCOMPARE(prompt.isVisible(), state != 0);
  }

  void playerSelectWindow() {
    // Guards against a player select out of place, without its eight rows, or whose double-click,
    // Enter or title bar does not do what the buttons do.
    Desk desk;
    desk.game().module1.PlayerNames[1] = std::string("B");
    desk.game().form2.Option2.SetValue(true);
    desk.game().form2.Command1_Click();
    QWidget* select = desk.TopLevel(QStringLiteral("プレイヤーセレクト"));
    QVERIFY(select);
    QCOMPARE(select->size(), QSize(165, 201));
    const QList<QRect> boxes{desk.Find<QWidget>(*select, "List1")->geometry(),
                             desk.Find<QWidget>(*select, "Command1")->geometry(),
                             desk.Find<QWidget>(*select, "Command2")->geometry(),
                             desk.Find<QWidget>(*select, "Command3")->geometry()};
    QCOMPARE(boxes,
             (QList<QRect>{{16, 48, 129, 100}, {48, 8, 65, 25}, {16, 168, 65, 25}, {88, 168, 65, 25}}));
    auto* rows = desk.Find<QListWidget>(*select, "List1");
    QCOMPARE(rows->count(), 8);
    QCOMPARE(rows->item(1)->text(), QStringLiteral("B"));
    QCOMPARE(rows->currentRow(), -1);
    // All eight rows show at once, as in the old list box.
    QVERIFY(rows->visualItemRect(rows->item(7)).bottom() < rows->viewport()->height());

    QTest::keyClick(select, Qt::Key_Return);  // START with no row: told to choose
    QCOMPARE(desk.platform.messages.size(), size_t(1));
    select->close();  // back, as "戻る"
    QVERIFY(!desk.game().Form5Loaded() && desk.program->form2Window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!desk.TopLevel(QStringLiteral("プレイヤーセレクト")));

    desk.game().form2.Command1_Click();
    select = desk.TopLevel(QStringLiteral("プレイヤーセレクト"));
    rows = desk.Find<QListWidget>(*select, "List1");
    const QPoint row = rows->visualItemRect(rows->item(1)).center();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, row);
    QVERIFY(!desk.game().Form5Loaded());
    QCOMPARE(desk.game().module1.PlayerIndex, 1);
    QVERIFY(desk.program->form4Window->isVisible());
  }

  void longPlayerNameKeepsItsStart() {
    // Guards against a long player name whose beginning is cut off, or that is cut mid-character.
    Desk desk;
    Form1Window& playScreen = *desk.program->form1Window;
    auto* label = playScreen.findChild<QLabel*>("Label6");
    desk.game().form1.Label6.SetCaption("あいうえおかきくけこさしすせそた ");
    const QString shown = label->text();
    QVERIFY2(shown.startsWith(QStringLiteral("あいうえお")), qPrintable(shown));
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->width());
    QVERIFY(label->font().pointSizeF() >= 6);
    QVERIFY(shown.endsWith(QChar(0x2026)));
    desk.game().form1.Label6.SetCaption("Bob ");  // a short name keeps the design size, whole
    QCOMPARE(label->text(), QStringLiteral("Bob\u00a0"));
    QCOMPARE(label->font().pointSizeF(), 8.25);
  }
};

QTEST_MAIN(TestMenuWindows)
#include "tst_menuwindows.moc"
