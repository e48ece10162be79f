// Play window tests, offscreen: every label's look against the design's listing, captions and colours
// reaching their widgets, where the window opens, the picture, the craft, the keys, and a long player name.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "controls/qt/QtLook.h"
#include "flight/ResetPlayScreen.h"
#include "flight/qt/Form1Window.h"
#include "tests/support/Describe.h"
#include "tests/support/Fixtures.h"

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    MapJapaneseFonts();
    s_.module1.GameMode = 1;
    s_.module1.Stage = 1;
    window_ = std::make_unique<Form1Window>(s_.form1);
    s_.form1.Show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void looks() {
    // Guards against a label of the play screen or the score list out of place, in a wrong size,
    // colour, font or alignment.
    QVERIFY(SameAsFixture(DescribeControls(*window_), "play-screen-controls.txt"));
    // Not centred, where the menu would cover the chart it previews: a step in from the corner.
    QCOMPARE(window_->frameGeometry().topLeft() - window_->screen()->availableGeometry().topLeft(), QPoint(22, 22));
  }

  void captionsAndColoursReachTheirWidget() {
    // Guards against a caption or a colour of the model that reaches no widget, or another one.
    Form1& form1 = s_.form1;
    std::vector<std::pair<LabelControl*, QString>> labels{{&form1.Label1, "Label1"}, {&form1.Label2, "Label2"},
                                                          {&form1.Label4, "Label4"}, {&form1.Label5, "Label5"},
                                                          {&form1.Label6, "Label6"}, {&form1.Label7, "Label7"}};
    for (size_t i = 0; i < 16; ++i) labels.emplace_back(&form1.Label3[i], QStringLiteral("Label3_%1").arg(i));
    for (const auto& [model, name] : labels) {
      const auto* label = window_->findChild<QLabel*>(name);
      const std::string before = model->Caption();
      const Rgb fore = model->ForeColor(), back = model->BackColor();
      model->SetCaption(name.toStdString());
      model->SetForeColor(MakeRgb(1, 2, 3));
      model->SetBackColor(MakeRgb(4, 5, 6));
      QCOMPARE(label->text(), name);
      QCOMPARE(label->palette().color(QPalette::WindowText), QColor(1, 2, 3));
      QCOMPARE(label->palette().color(QPalette::Window), QColor(4, 5, 6));
      for (const QLabel* other : window_->findChildren<QLabel*>())
        if (other != label) QVERIFY(other->text() != label->text());
      model->SetCaption(before);
      model->SetForeColor(fore);
      model->SetBackColor(back);
    }
  }

  void pictureCraftAndKeys() {
    // Guards against a picture, pad, craft or score-list caption that does not reach the screen as the
    // model has it, key presses that never reach the steering, or a crash that does not show as the
    // orange circle where the craft came down.
    s_.form1.GameInit();
    s_.form1.Ship.Move(120, 60);
    QImage shown = window_->grab().toImage();
    const QList<QColor> seen{shown.pixelColor(40, 60), shown.pixelColor(171, 100), shown.pixelColor(196, 101),
                             shown.pixelColor(197, 100), shown.pixelColor(120, 60)};
    // Grey chart, both pad ends, the ground past the pad, the craft's border.
    QCOMPARE(seen, (QList<QColor>{QColor(127, 127, 127), QColor(255, 255, 0), QColor(255, 255, 0), QColor(248, 120, 88),
                                  QColor(0, 0, 0)}));
    // The multi-line criteria values end in three blanks that keep them clear of the row's edge.
    auto rightmostLit = [&](int top, int bottom) {
      for (int x = 407; x >= 344; --x)
        for (int y = top; y < bottom; ++y)
          if (qGray(shown.pixel(x, y)) > 128) return x;
      return -1;
    };
    QVERIFY2(rightmostLit(112, 161) < rightmostLit(88, 113) - 6, "trailing blanks of Label3(1) were dropped");
    s_.platform.keys.Press(VirtualKey::Down);
    QTest::keyClick(window_.get(), Qt::Key_A);
    QCOMPARE(s_.form1.DescentAngle, 14);

    s_.form1.Ship.Move(180, 98);
    s_.form1.LandingFailed();
    shown = window_->grab().toImage();
    QCOMPARE(shown.pixelColor(187, 96), QColor(248, 184, 0));
    QCOMPARE(shown.pixelColor(180, 89), QColor(127, 127, 127));  // the circle leaves its box's corner
  }

  void desktopColoursFollowTheScheme() {
    // Guards against the score captions, the values or the craft's border drawn in fixed black and
    // white where the design names the desktop's colours, unreadable on a dark scheme.
    const QPalette classic = QApplication::palette();
    QPalette dark = classic;
    dark.setColor(QPalette::WindowText, QColor(230, 230, 231));
    dark.setColor(QPalette::Base, QColor(30, 31, 32));
    QApplication::setPalette(dark);
    QCoreApplication::sendPostedEvents();
    ResetPlayScreen(s_.form1, s_.module1);
    s_.form1.GameInit();
    const QImage shown = window_->grab().toImage();
    QStringList seen;
    for (const char* name : {"Label1", "Label2"}) {
      const QPalette& label = window_->findChild<QLabel*>(name)->palette();
      seen << label.color(QPalette::WindowText).name() + " on " + label.color(QPalette::Window).name();
    }
    seen << shown.pixelColor(53, 36).name();
    QApplication::setPalette(classic);
    QCOMPARE(seen.join(", "), QStringLiteral("#e6e6e7 on #1e1f20, #e6e6e7 on #c0c0c0, #e6e6e7"));
  }

  void longPlayerNameKeepsItsStart() {
    // Guards against a long player name whose beginning is cut off, or that is cut mid-character.
    auto* label = window_->findChild<QLabel*>("Label6");
    s_.form1.Label6.SetCaption("あいうえおかきくけこさしすせそた ");
    const QString shown = label->text();
    QVERIFY2(shown.startsWith(QStringLiteral("あいうえお")) && shown.endsWith(QChar(0x2026)), qPrintable(shown));
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->width());
    QCOMPARE(label->font().pointSizeF(), 8.25);  // smaller type is unreadable
    s_.form1.Label6.SetCaption("Bob ");  // a short name whole
    QCOMPARE(label->text(), QStringLiteral("Bob\u00a0"));
  }

 private:
  GameFixture s_{GameFixture::Start::NotStarted};
  std::unique_ptr<Form1Window> window_;
};

QTEST_MAIN(Form1WindowTest)
#include "tst_form1window.moc"
