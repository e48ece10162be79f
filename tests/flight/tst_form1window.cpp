// Play window tests, offscreen: layout, colours, fonts, the craft, the picture and the keys.
#include <QLabel>
#include <QTest>

#include "flight/Form1Window.h"
#include "platform/ScriptedPlatform.h"
#include "shell/Game.h"

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // As the game maps the face at start-up.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    module1_.GameMode = 1;
    module1_.Stage = 1;
    window_ = std::make_unique<Form1Window>(form1_);
    form1_.Show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void labels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("italic");
    const QColor red(255, 0, 0), white(255, 255, 255), black(0, 0, 0);
    QTest::newRow("banner") << "Label4" << QRect(0, 120, 280, 25) << red << white << 14.25 << true;
    QTest::newRow("score value") << "Label3_7" << QRect(336, 240, 73, 17) << white << black << 12.0 << false;
  }

  // Guards against a label out of place, in the wrong colours or in the wrong font.
  void labels() {
    QFETCH(QString, name);
    const QLabel* label = window_->findChild<QLabel*>(name);
    QVERIFY(label);
    QTEST(label->geometry(), "geometry");
    QTEST(label->palette().color(QPalette::WindowText), "fore");
    QTEST(label->palette().color(QPalette::Window), "back");
    QCOMPARE(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QTEST(label->font().pointSizeF(), "points");
    QVERIFY(label->font().bold());
    QTEST(label->font().italic(), "italic");
  }

  // Guards against a window of the wrong size or caption; a picture, pad, craft or score-list caption
  // that does not reach the screen as the model has it; or key presses that never reach the steering.
  void windowPictureAndKeys() {
    QCOMPARE(window_->size(), QSize(408, 256));
    QCOMPARE(window_->windowTitle(), "Morvane-Tesk");
    form1_.GameInit();
    form1_.Ship.Move(120, 60);
    const QImage shown = window_->grab().toImage();
    const QList<QColor> expected{QColor(127, 127, 127), QColor(255, 255, 0), QColor(255, 255, 0),
                                 QColor(248, 120, 88), QColor(0, 0, 0)};
    const QList<QColor> seen{shown.pixelColor(40, 60), shown.pixelColor(171, 100), shown.pixelColor(196, 101),
                             shown.pixelColor(197, 100), shown.pixelColor(120, 60)};
    QCOMPARE(seen, expected);  // grey chart, both pad ends, the ground past the pad, the craft

    // The multi-line criteria values end in three blanks that keep them clear of the row's edge.
    auto rightmostLit = [&](int top, int bottom) {
      for (int x = 407; x >= 344; --x)
        for (int y = top; y < bottom; ++y)
          if (qGray(shown.pixel(x, y)) > 128) return x;
      return -1;
    };
    QVERIFY2(rightmostLit(112, 161) < rightmostLit(88, 113) - 6, "trailing blanks of Label3(1) were dropped");

    platform_.keys.Press(VirtualKey::Down);
    QTest::keyClick(window_.get(), Qt::Key_A);
    QCOMPARE(form1_.DescentAngle, 14);
  }

  // Guards against a crash that does not show as the orange circle where the craft came down.
  void crashCircle() {
    form1_.Ship.Move(180, 98);
    form1_.LandingFailed();
    QCOMPARE(window_->grab().toImage().pixelColor(187, 96), QColor(248, 184, 0));
    // The circle leaves the corner of its box to the picture.
    QCOMPARE(window_->grab().toImage().pixelColor(180, 89), QColor(127, 127, 127));
  }

 private:
  ScriptedPlatform platform_;
  Game game_{platform_};
  Module1& module1_ = game_.module1;
  Form1& form1_ = game_.form1;
  std::unique_ptr<Form1Window> window_;
};

QTEST_MAIN(Form1WindowTest)
#include "tst_form1window.moc"
