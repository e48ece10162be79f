// Ranking window tests, offscreen: layout and fonts, the player list, printed text on screen, the
// real font measure, the views reached through the widgets, and closing from the title bar.
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "app/Game.h"
#include "controls/qt/QtLook.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/Describe.h"
#include "viewer/qt/Form3Window.h"

namespace {

// Gives the ranking window its Qt window whenever the game loads it, as the program does.
struct Views : WindowFactory {
  QPointer<Form3Window> form3;
  void Loaded(Form3& model) override { form3 = new Form3Window(model); }
  void Loaded(Form5&) override {}
};

// The box of the pixels of `image` brighter than black, or an empty box.
QRect LitBox(const QImage& image) {
  QRect lit;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) > 40) lit |= QRect(x, y, 1, 1);
  return lit;
}

// How many pixels of `image` are exactly `colour`.
int Pixels(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  return count;
}

constexpr char LongName[] = "あいうえおかきくけこさしすせそた";

}  // namespace

class Form3WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    MapJapaneseFonts();
    module1_.NormalNames = {"てんぷ亭", "東西南北春夏秋冬朝昼晩", "こづちや", "味濱屋",   "万人屋",
                            "一心寿司", "天狗ラーメン",           "担々麺屋", "まるしん", "東横"};
    for (size_t entry = 0; entry < 10; ++entry)
      module1_.NormalScores[entry].fill(2000 - 200 * static_cast<int32_t>(entry));
    module1_.NormalScores[7] = {-5, 0, 123456, 7, 0};
    module1_.NormalScores[8] = {INT32_MAX, INT32_MIN, 1, 2, 3};
    module1_.NormalScores[9] = {0, 0, 0, 0, 0};
    module1_.PlayerNames = {"", "", "ニ号", LongName, "", "", "", ""};
    const std::array<int32_t, 15> stage3 = {120, 345, 0, 99999, 8, 77, 5, 0, 0, 0, 0, 0, 0, 0, 0};
    std::copy(stage3.begin(), stage3.end(), module1_.AttackScores[2].begin() + AttackIndex(3, 1, 0));
    module1_.AttackScores[3][0] = 1234;
    module1_.PlayerIndex = 2;
    game_.SetWindowFactory(&views_);
    game_.form3();
    QVERIFY(views_.form3);
    QVERIFY(QTest::qWaitForWindowExposed(views_.form3));
  }

  void looks() {
    // Guards against a control out of place, a label in the wrong font, size, alignment or colours.
    QVERIFY(SameAsFixture(DescribeControls(*views_.form3), "ranking-controls.txt"));
  }

  // Guards against a window that is not black, without its white line, or a player list that can be
  // typed into, lacks the free places, or is not black on white.
  void windowAndList() {
    Form3Window& window = *views_.form3;
    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(100, 300), QColor(Qt::black));
    QCOMPARE(shown.pixelColor(50, 64), QColor(Qt::white));  // Line1 in Frame1
    QCOMPARE(shown.pixelColor(50, 62), QColor(Qt::black));

    const auto* list = window.findChild<QComboBox*>("Combo1");
    QVERIFY(!list->isEditable());
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    QCOMPARE(items, (QStringList{"", "", "ニ号", LongName, "", "", "", ""}));
    QCOMPARE(list->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(list->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QVERIFY(shown.pixelColor(list->mapTo(&window, QPoint(3, 10))).lightness() >= 250);
  }

  // Guards against a real measure that maps the old faces elsewhere or lets the detail columns drift,
  // and against a cut that leaves a name wider than its box or cuts more than it must.
  void realFontMeasure() {
    const FontSpec fixed{"ＭＳ ゴシック", 9, false, false}, name{"ＭＳ Ｐゴシック", 9, true, false};
    QCOMPARE(QFontInfo(ToQFont(fixed)).family(), "IPAGothic");
    QCOMPARE(QFontInfo(ToQFont(name)).family(), "IPAPGothic");
    const int half = platform_.TextWidth("0", fixed);
    QCOMPARE(platform_.TextWidth("０", fixed), 2 * half);
    QCOMPARE(platform_.TextWidth(" -/12345", fixed), 8 * half);
    const int defaultName = platform_.TextWidth("天狗ラーメン", name);
    QVERIFY2(defaultName > 60 && defaultName < 90, qPrintable(QString::number(defaultName)));

    const std::string whole = module1_.NormalNames[1];
    const std::string cut = game_.form3().Picture1[1].Printed().at(0).text;
    QVERIFY(cut.size() < whole.size() && whole.starts_with(cut));
    QVERIFY(platform_.TextWidth(cut, name) <= 96);
    QVERIFY(platform_.TextWidth(whole.substr(0, cut.size() + 3), name) > 96);  // one more character
  }

  // Guards against a view the widgets do not reach, text printed out of place or in the wrong
  // colour, a cut name spilling out of its box, a number cut at the edge of its label, or a long
  // player name not drawn small and low; and leaves a picture of each view for a person to look at.
  void viewsOnScreen() {
    Form3Window& window = *views_.form3;
    Form3& model = game_.form3();
    auto box = [&](const char* name) { return LitBox(window.findChild<QWidget*>(name)->grab().toImage()); };
    auto picture = [&](const char* file) {
      QDir().mkpath(MORVANE_SCREENSHOTS);
      QVERIFY(window.grab().save(QStringLiteral(MORVANE_SCREENSHOTS "/%1.png").arg(file)));
    };

    QVERIFY(model.Option7.Value());
    const QRect cutName = box("Picture1_1");
    QVERIFY2(cutName.left() <= 1 && cutName.right() >= 84 && cutName.right() <= 96 && cutName.top() >= 5,
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(cutName.x())
                            .arg(cutName.y())
                            .arg(cutName.width())
                            .arg(cutName.height())));
    QVERIFY(Pixels(window.findChild<QWidget*>("Picture1_1")->grab().toImage(), QColor(255, 255, 25)) > 50);
    // Numbers too wide for the installed face or for their label show whole, and no smaller than
    // they must: a quarter point larger, their first figure would be cut.
    for (const char* number : {"Label7_9", "Label4_0", "Label4_7"}) {
      auto* label = window.findChild<QLabel*>(number);
      const QFont shown = label->font();
      QVERIFY2(box(number).left() >= 1 && box(number).width() > 10, number);
      QVERIFY2(shown.pointSizeF() < 15.75, number);
      QFont larger = shown;
      larger.setPointSizeF(shown.pointSizeF() + 0.25);
      label->setFont(larger);
      const int largerLeft = box(number).left();
      label->setFont(shown);
      QVERIFY2(largerLeft < 1, number);
    }
    QCOMPARE(model.Label5[8].Caption(), "214748364700/-214748364800/100/200/300");
    QCOMPARE(window.findChild<QLabel*>("Label5_8")->text(), "214748364700/-214748364800/100/2…");
    picture("ranking-normal");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(model.Label2.Caption()), "SCORE ATTACK RESULT");
    QCOMPARE(QString::fromStdString(model.Picture1[1].Printed().at(0).text), "STAGE 3");
    // What the screen shows of a picture, not only what it would draw: a changed text is repainted.
    auto* printed = window.findChild<QWidget*>("Picture1_1");
    const auto shown = [&] {
      const QRect place(printed->mapTo(&window, QPoint()), printed->size());
      return window.screen()->grabWindow(window.winId(), place.x(), place.y(), place.width(), place.height()).toImage();
    };
    QTRY_COMPARE(shown().convertToFormat(QImage::Format_RGB32), printed->grab().toImage().convertToFormat(QImage::Format_RGB32));
    QVERIFY(box("Picture1_3").left() >= 37 && box("Picture1_3").left() <= 40);
    QVERIFY(box("Picture2").top() < 5);
    // A short number after a wide one is back at its full size.
    QCOMPARE(window.findChild<QLabel*>("Label4_7")->font().pointSizeF(), 15.75);
    picture("ranking-stage");

    QTest::mouseClick(window.findChild<QRadioButton*>("Option6"), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(model.Picture1[1].Printed().at(0).text), "  TOTAL");
    picture("ranking-total");

    auto* list = window.findChild<QComboBox*>("Combo1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(model.Combo1.ListIndex(), 3);
    QVERIFY(model.Option6.Value());
    QCOMPARE(model.Picture2.Printed().at(0).font.points, 9.0);
    const QRect heading = box("Picture2");
    QVERIFY(heading.top() >= 5 && heading.right() < 224);
    picture("ranking-total-long-name");
  }

  // Guards against a title-bar close that does not go back as "戻る" does: play screen reset, menu
  // shown with the keyboard, the window unloaded and its Qt window gone.
  void closeFromTitleBar() {
    module1_.GameMode = 4;
    game_.form1.Label4.SetCaption("GO!!");
    QVERIFY(views_.form3->close() == false);
    QCOMPARE(QString::fromStdString(game_.form1.Label4.Caption()), "Morvane-Tesk");
    QVERIFY(game_.form2.Visible() && game_.form2.Active());
    QVERIFY(!game_.Form3Loaded());
    QVERIFY(!views_.form3->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!views_.form3);
  }

 private:
  QtPlatform platform_;
  Game game_{platform_};
  Module1& module1_ = game_.module1;
  Views views_;
};

QTEST_MAIN(Form3WindowTest)
#include "tst_form3window.moc"
