// Play window tests, offscreen: layout, colours, fonts, the craft, the picture and the keys.
#include <QLabel>
#include <QTest>

#include "flight/Form1Window.h"
#include "platform/ScriptedPlatform.h"

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // As the game maps the face at start-up.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    module1_.GameMode = 1;
    module1_.Stage = 1;
    window_ = std::make_unique<Form1Window>(form1_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void labels_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<int>("alignment");  // horizontal part
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    const QColor white(255, 255, 255), black(0, 0, 0);
    QTest::newRow("status banner") << QByteArray("Label4") << QRect(0, 120, 280, 25) << QColor(255, 0, 0)
                                   << white << int(Qt::AlignHCenter) << 14.25 << true << true;
    QTest::newRow("criteria captions, the window's font")
        << QByteArray("Label2") << QRect(64, 168, 105, 73) << black << QColor(192, 192, 192)
        << int(Qt::AlignRight) << 9.0 << false << false;
    QTest::newRow("mode banner") << QByteArray("Label5") << QRect(280, 0, 129, 73) << QColor(255, 255, 0)
                                 << black << int(Qt::AlignLeft) << 15.75 << true << true;
    QTest::newRow("last row value") << QByteArray("Label3_7") << QRect(336, 240, 73, 17) << white << black
                                    << int(Qt::AlignRight) << 12.0 << true << false;
  }

  // Guards against a label out of place, in the wrong colours, alignment or font.
  void labels() {
    QFETCH(QByteArray, name);
    QLabel* label = Label(name.constData());
    QVERIFY(label);
    QTEST(label->geometry(), "geometry");
    QTEST(label->palette().color(QPalette::WindowText), "fore");
    QTEST(label->palette().color(QPalette::Window), "back");
    QTEST(int(label->alignment() & Qt::AlignHorizontal_Mask), "alignment");
    QCOMPARE(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QTEST(label->font().pointSizeF(), "points");
    QTEST(label->font().bold(), "bold");
    QTEST(label->font().italic(), "italic");
  }

  // Guards against a window of the wrong size or caption, one that takes text input, or a picture, pad
  // or craft that does not reach the screen where the model puts it.
  void windowPictureAndCraft() {
    QCOMPARE(window_->size(), QSize(408, 256));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QCOMPARE(window_->windowTitle(), "Morvane-Tesk");
    QVERIFY(!window_->testAttribute(Qt::WA_InputMethodEnabled));
    QWidget* ship = window_->findChild<QWidget*>(QStringLiteral("Ship"));
    QVERIFY(ship && !ship->isVisible());
    form1_.GameInit();
    QCOMPARE(ship->geometry(), QRect(53, 36, 4, 4));
    form1_.Ship.Move(120, 60);
    const QImage shown = window_->grab().toImage();
    const QList<QColor> expected{QColor(128, 255, 255), QColor(255, 255, 255), QColor(127, 127, 127),
                                 QColor(248, 120, 88),  QColor(255, 255, 0),   QColor(255, 255, 0),
                                 QColor(248, 120, 88),  QColor(0, 0, 0),       QColor(255, 255, 255)};
    const QList<QColor> seen{
        shown.pixelColor(30, 250),  shown.pixelColor(0, 0),     shown.pixelColor(40, 60),
        shown.pixelColor(54, 60),   shown.pixelColor(171, 100), shown.pixelColor(196, 101),
        shown.pixelColor(197, 100), shown.pixelColor(120, 60),  shown.pixelColor(121, 61)};
    QCOMPARE(seen, expected);  // background, white edge, grey chart, axis, both pad ends, ground, craft

    form1_.Ship.Move(180, 98);
    form1_.LandingFailed();
    QCOMPARE(ship->geometry(), QRect(180, 89, 15, 15));
    QCOMPARE(Pixel(187, 96), QColor(248, 184, 0));
    QCOMPARE(Pixel(180, 89), QColor(127, 127, 127));  // the circle leaves the box's corner to the picture
  }

  // Guards against captions that never reach the screen and key presses that never reach the steering.
  void captionsAndKeys() {
    form1_.Label2.SetCaption("Landing Softness\r\nControl Stadiness");
    QCOMPARE(Label("Label2")->text(), "Landing Softness\nControl Stadiness");
    form1_.Label5.SetForeColor(MakeRgb(0, 255, 0));
    QCOMPARE(Label("Label5")->palette().color(QPalette::WindowText), QColor(0, 255, 0));

    // The criteria values end in three blanks that keep them clear of the row's edge.
    form1_.GameInit();
    const QImage list = window_->grab().toImage();
    auto rightmostLit = [&](int top, int bottom) {
      int right = -1;
      for (int y = top; y < bottom; ++y)
        for (int x = 344; x < 408; ++x)
          if (qGray(list.pixel(x, y)) > 128) right = std::max(right, x);
      return right;
    };
    QVERIFY2(rightmostLit(112, 161) < rightmostLit(88, 113) - 6, "trailing blanks of Label3(1) were dropped");

    platform_.keys.Press(VirtualKey::Down);
    QTest::keyClick(window_.get(), Qt::Key_A);
    QCOMPARE(form1_.DescentAngle, 14);
  }

 private:
  QLabel* Label(const char* name) { return window_->findChild<QLabel*>(QString::fromLatin1(name)); }
  QColor Pixel(int x, int y) { return window_->grab().toImage().pixelColor(x, y); }

  ScriptedPlatform platform_;
  Module1 module1_{platform_};
  Form1 form1_{module1_};
  std::unique_ptr<Form1Window> window_;
};

QTEST_MAIN(Form1WindowTest)
#include "tst_form1window.moc"
