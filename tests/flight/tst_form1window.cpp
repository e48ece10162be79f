// Play window tests, offscreen: layout, colours, fonts, the craft, the picture and the keys.
#include <QLabel>
#include <QTest>
#include <map>

#include "flight/qt/Form1Window.h"
#include "platform/ScriptedPlatform.h"
#include "app/Game.h"

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
    QTest::addColumn<double>("points");  // all in the Japanese proportional face
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("alignment");  // horizontal; every caption starts at the label's top
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("back");
    const QColor red(255, 0, 0), yellow(255, 255, 0), white(255, 255, 255), black(0, 0, 0),
        grey(192, 192, 192);
    const QColor windowText = black, windowBackground = white;  // the desktop's system colours
    const int right = Qt::AlignRight, left = Qt::AlignLeft, centre = Qt::AlignHCenter;
    // Labels without a font of their own show the window's: 9 pt, neither bold nor italic.
    QTest::newRow("Label1, the landing's points") << "Label1" << QRect(192, 168, 81, 73) << 9.0 << false
                                                  << false << right << windowText << windowBackground;
    QTest::newRow("Label2, the criteria's captions")
        << "Label2" << QRect(64, 168, 105, 73) << 9.0 << false << false << right << windowText << grey;
    QTest::newRow("Label4, status banner")
        << "Label4" << QRect(0, 120, 280, 25) << 14.25 << true << true << centre << red << white;
    QTest::newRow("Label5, mode banner")
        << "Label5" << QRect(280, 0, 129, 73) << 15.75 << true << true << left << yellow << black;
    QTest::newRow("Label6, player's name")
        << "Label6" << QRect(320, 72, 89, 17) << 8.25 << false << false << right << white << black;
    QTest::newRow("Label7, NAME heading")
        << "Label7" << QRect(280, 72, 41, 17) << 8.25 << false << false << right << white << black;
    // The score list: value and heading of each row, the criteria row in the window's font.
    const int tops[8] = {88, 112, 160, 176, 192, 208, 224, 240};
    const int heights[8] = {25, 49, 17, 17, 17, 17, 17, 17};
    for (int row = 0; row < 8; ++row) {
      const bool criteria = row == 1, last = row == 7;
      const double points = criteria ? 9.0 : 12.0;
      QTest::addRow("Label3(%d), value of row %d", row, row + 1)
          << QString("Label3_%1").arg(row) << QRect(last ? 336 : 344, tops[row], last ? 73 : 65, heights[row])
          << points << !criteria << false << right << white << black;
      QTest::addRow("Label3(%d), heading of row %d", row + 8, row + 1)
          << QString("Label3_%1").arg(row + 8) << QRect(280, tops[row], last ? 57 : 65, heights[row])
          << points << !criteria << false << right << white << black;
    }
  }

  // Guards against a label of the play screen or the score list out of place, in a wrong size,
  // colour, font or alignment, or whose caption never reaches the screen.
  void labels() {
    QFETCH(QString, name);
    const QLabel* label = window_->findChild<QLabel*>(name);
    QVERIFY(label);
    QTEST(label->geometry(), "geometry");
    QCOMPARE(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QTEST(label->font().pointSizeF(), "points");
    QTEST(label->font().bold(), "bold");
    QTEST(label->font().italic(), "italic");
    QFETCH(int, alignment);
    QCOMPARE(label->alignment().toInt(), alignment | Qt::AlignTop);
    QTEST(label->palette().color(QPalette::WindowText), "fore");
    QTEST(label->palette().color(QPalette::Window), "back");
    QVERIFY(label->autoFillBackground());

    // The model's caption reaches this widget and no other.
    LabelControl* model = ModelLabel(name);
    const std::string before = model->Caption();
    model->SetCaption("caption of " + name.toStdString());
    QCOMPARE(label->text(), "caption of " + name);
    for (const QLabel* other : window_->findChildren<QLabel*>())
      if (other != label) QVERIFY(other->text() != label->text());
    model->SetCaption(before);
    // And so do its colours when they change.
    const Rgb fore = model->ForeColor(), back = model->BackColor();
    model->SetForeColor(MakeRgb(1, 2, 3));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(1, 2, 3));
    model->SetBackColor(MakeRgb(4, 5, 6));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(4, 5, 6));
    model->SetForeColor(fore);
    model->SetBackColor(back);
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
  LabelControl* ModelLabel(const QString& name) {
    const std::map<QString, LabelControl*> named{{"Label1", &form1_.Label1}, {"Label2", &form1_.Label2},
                                                 {"Label4", &form1_.Label4}, {"Label5", &form1_.Label5},
                                                 {"Label6", &form1_.Label6}, {"Label7", &form1_.Label7}};
    if (auto found = named.find(name); found != named.end()) return found->second;
    return &form1_.Label3.at(name.mid(7).toUInt());
  }

  ScriptedPlatform platform_;
  Game game_{platform_};
  Module1& module1_ = game_.module1;
  Form1& form1_ = game_.form1;
  std::unique_ptr<Form1Window> window_;
};

QTEST_MAIN(Form1WindowTest)
#include "tst_form1window.moc"
