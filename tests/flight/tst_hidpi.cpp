// The play screen on a high-density screen (device pixel ratio 2, as QT_SCALE_FACTOR=2 gives),
// offscreen: twice the size, the stage picture and the craft in whole device pixels with no blur,
// and text drawn at the device's own resolution.
#include <QDir>
#include <QLabel>
#include <QTest>
#include <functional>
#include <optional>

#include "controls/qt/QtLook.h"
#include "flight/qt/Form1Window.h"
#include "tests/support/Fixtures.h"

namespace {

constexpr int Ratio = 2;

// Of a text in its colour on white: how much of it is inked, how much of the ink is the pure text
// colour, and how many of the 2 x 2 blocks that hold ink are not one colour throughout.
struct Sharpness {
  int ink = 0;
  int pure = 0;
  int inkedBlocks = 0;
  int mixedBlocks = 0;
};

Sharpness MeasureText(const QImage& image, QColor text) {
  const auto inked = [](QRgb pixel) { return qGreen(pixel) < 200; };  // red text on white
  Sharpness measured;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      measured.ink += inked(image.pixel(x, y));
      measured.pure += image.pixelColor(x, y) == text;
    }
  for (int y = 0; y + 1 < image.height(); y += 2)
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb block[4] = {image.pixel(x, y), image.pixel(x + 1, y), image.pixel(x, y + 1),
                             image.pixel(x + 1, y + 1)};
      if (!std::any_of(std::begin(block), std::end(block), inked)) continue;
      ++measured.inkedBlocks;
      measured.mixedBlocks += !std::all_of(std::begin(block), std::end(block), [&](QRgb p) { return p == block[0]; });
    }
  return measured;
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    MapJapaneseFonts();
    s_.module1.GameMode = 1;
    s_.module1.Stage = 3;
    window_ = std::make_unique<Form1Window>(s_.form1);
    s_.form1.Show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    s_.form1.GameInit();
    s_.form1.Ship.Move(120, 60);
    shot_ = window_->grab().toImage();
    QDir().mkpath(MORVANE_SCREENSHOTS);
    shot_.save(MORVANE_SCREENSHOTS "/hidpi-play-screen.png");
  }

  void wholePicture() {
    // Guards against a window that is not twice the size on the screen, or any pixel of the picture
    // (above the banner, beside the craft) reaching it blurred or misplaced: anything but 2 x 2
    // device pixels of its own colour.
    QCOMPARE(window_->size(), QSize(408, 256));
    QCOMPARE(shot_.size(), QSize(408 * Ratio, 256 * Ratio));
    const Bitmap& picture = s_.form1.Picture();
    QCOMPARE(FirstDeviceMismatch(QRect(0, 0, 280 * Ratio, 120 * Ratio),
                                 [&](int x, int y) -> std::optional<QRgb> {
                                   if (QRect(120, 60, 4, 4).contains(x / Ratio, y / Ratio)) return std::nullopt;
                                   return picture.At(x / Ratio, y / Ratio) | 0xff000000u;
                                 }),
             QPoint(-1, -1));
  }

  void craft() {
    // Guards against a craft drawn with a one-device-pixel pen: a thinner border on two sides, a
    // thicker one on the others, and a row and column of the chart showing through its box.
    const char* const expected[] = {"..........", ".########.", ".########.", ".##OOOO##.", ".##OOOO##.",
                                    ".##OOOO##.", ".##OOOO##.", ".########.", ".########.", ".........."};
    const QColor border(0, 0, 0), fill(255, 255, 255), chart(127, 127, 127);
    for (int row = 0; row < 10; ++row)
      for (int column = 0; column < 10; ++column) {
        const QColor want = expected[row][column] == '#' ? border : expected[row][column] == 'O' ? fill : chart;
        QVERIFY2(shot_.pixelColor(120 * Ratio - 1 + column, 60 * Ratio - 1 + row) == want,
                 qPrintable(QString("row %1, column %2").arg(row).arg(column)));
      }
  }

  void text() {
    // Guards against text drawn at the window's own resolution and then scaled up: by whole pixels
    // it shows as blocks (no 2 x 2 block with detail), smoothly it blurs (little of the ink keeps the
    // pure text colour). Both scalings of a 1x rendering are measured too, to show they fail.
    auto* banner = window_->findChild<QLabel*>(QStringLiteral("Label4"));
    QVERIFY(banner);
    const QColor red(255, 0, 0);
    const QImage drawn = shot_.copy(QRect(banner->pos() * Ratio, banner->size() * Ratio));
    QImage once(banner->size(), QImage::Format_RGB32);
    banner->render(&once);
    const QImage blocky = once.scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage blurred = once.scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const auto sharp = [&](const QImage& image) {
      const Sharpness s = MeasureText(image, red);
      return s.ink > 500 && s.mixedBlocks * 3 > s.inkedBlocks && s.pure * 2 > s.ink;
    };
    QVERIFY(!sharp(blocky));
    QVERIFY(!sharp(blurred));
    const Sharpness s = MeasureText(drawn, red);
    QVERIFY2(sharp(drawn), qPrintable(QString("ink %1, pure %2, blocks %3 of which mixed %4")
                                          .arg(s.ink).arg(s.pure).arg(s.inkedBlocks).arg(s.mixedBlocks)));
  }

 private:
  // The first device pixel in `box` whose colour is not the one `expected` gives for it (nothing:
  // any colour will do), or (-1, -1).
  QPoint FirstDeviceMismatch(QRect box, const std::function<std::optional<QRgb>(int, int)>& expected) const {
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x)
        if (const std::optional<QRgb> colour = expected(x, y); colour && shot_.pixel(x, y) != *colour)
          return {x, y};
    return {-1, -1};
  }

  GameFixture s_{GameFixture::Start::NotStarted};
  std::unique_ptr<Form1Window> window_;
  QImage shot_;
};

int main(int argc, char** argv) {
  // Before the application exists, as a player's session would set it.
  qputenv("QT_SCALE_FACTOR", QByteArray::number(Ratio));
  QApplication application(argc, argv);
  HiDpiTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_hidpi.moc"
