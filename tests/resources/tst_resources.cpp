// Tests for what the game carries: course strings, stage pictures and the generated sounds.
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtTest>

#include "resources/Resources.h"

static bool InBox(int x, int y, int l, int t, int r, int b) { return x >= l && x <= r && y >= t && y <= b; }

// The picture's colour at x, y as a letter: White, Cyan, Grey, Orange, or '?' for any other colour.
static char Colour(const Bitmap& picture, int x, int y) {
  using namespace PictureColour;
  const Rgb rgb = picture.At(x, y);
  return rgb == White ? 'W' : rgb == Cyan ? 'C' : rgb == Grey ? 'G' : rgb == Orange ? 'O' : '?';
}

// The axes and their tick marks, as a player sees them on every chart: two-pixel marks every 8 pixels,
// on the y axis the long ones every 16 from row 36, below the x axis one every 16 from column 70.
static bool IsChartOrange(int x, int y) {
  const bool tickRow = y >= 36 && y <= 93 && (y - 36) % 8 < 2;
  const bool tickColumn = x >= 62 && x <= 215 && (x - 62) % 8 < 2;
  return InBox(x, y, 54, 36, 55, 101) || InBox(x, y, 54, 100, 215, 101) ||
         (tickRow && x <= 57 && x >= ((y - 36) % 16 < 2 ? 52 : 56)) ||
         (tickColumn && (y == 98 || y == 99 || (x >= 70 && (x - 70) % 16 < 2 && (y == 102 || y == 103))));
}

class TestResources : public QObject {
  Q_OBJECT

 private slots:
  void chart_data() {
    QTest::addColumn<int>("id");  // 100 the empty chart, 101..104 the stages, 105 with its stub and FREE!
    for (int id = 100; id <= 105; ++id) QTest::addRow("picture %d", id) << id;
  }
  void chart() {
    // Guards against a chart that lost its frame, chamfer, grey field (up to the frame's inner
    // corners), axes or a tick, or that shows a stray colour, stray orange, or a FREE! sign outside
    // its box.
    QFETCH(int, id);
    const Bitmap& picture = LoadPicture(id);
    QVERIFY(picture.width == 280 && picture.height == 140);
    const bool exact = id == 100 || id == 105;  // no course adds orange of its own
    int letterPixels = 0;
    for (int y = 0; y < 140; ++y)
      for (int x = 0; x < 280; ++x) {
        const char colour = Colour(picture, x, y);
        if (colour == '?') QFAIL(qPrintable(QString("stray colour at %1,%2").arg(x).arg(y)));
        const bool drawn = IsChartOrange(x, y) || (id == 105 && InBox(x, y, 56, 36, 64, 39));  // the stub
        if (drawn || exact) QCOMPARE(colour == 'O', drawn);
        if (!InBox(x, y, 30, 22, 253, 117)) QCOMPARE(colour, 'W');
        // In the field only grey, orange, and the letters of FREE! in their box.
        const bool letter = id == 105 && colour == 'C' && InBox(x, y, 84, 47, 191, 85);
        if (InBox(x, y, 34, 26, 249, 113)) QVERIFY(colour == 'G' || colour == 'O' || letter);
        letterPixels += letter;
      }
    QVERIFY(id != 105 || letterPixels > 1000);
    // Walking in across each side: a two-pixel frame.
    const int walks[][4] = {{29, 70, 1, 0}, {254, 70, -1, 0}, {140, 21, 0, 1}, {140, 118, 0, -1}};
    for (const auto& [x, y, dx, dy] : walks) {
      QByteArray seen;
      for (int step = 0; step < 4; ++step) seen += Colour(picture, x + step * dx, y + step * dy);
      QCOMPARE(seen, QByteArray("WCCG"));
    }
    // The 5 x 5 pixels of each cut corner, read from the outer corner inwards: the chamfer, a frame
    // with no gap between the grey and the white, and grey up to the inner corner of the frame
    // (32, 24), (251, 24), (32, 115), (251, 115).
    const char* const corner[5] = {"WWWCC", "WWCCC", "WCGGG", "CCGGG", "CCGGG"};
    const int corners[][4] = {{30, 22, 1, 1}, {253, 22, -1, 1}, {30, 117, 1, -1}, {253, 117, -1, -1}};
    for (const auto& [x, y, dx, dy] : corners)
      for (int row = 0; row < 5; ++row) {
        QByteArray seen;
        for (int column = 0; column < 5; ++column) seen += Colour(picture, x + column * dx, y + row * dy);
        QVERIFY2(seen == corner[row], qPrintable(QString("corner at %1,%2, row %3: %4").arg(x).arg(y).arg(row)
                                                     .arg(QString::fromLatin1(seen))));
      }
  }

  void courseLine_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QList<QPoint>>("course");  // x and the course row, typed from the course tables
    QTest::newRow("stage 1") << 1 << QList<QPoint>{{64, 36}, {96, 52}, {108, 71}, {130, 90}, {149, 96}};
    QTest::newRow("stage 2") << 2 << QList<QPoint>{{75, 37}, {80, 48}, {83, 58}, {100, 89}, {149, 97}};
    QTest::newRow("stage 3") << 3 << QList<QPoint>{{78, 36}, {89, 46}, {120, 69}, {140, 83}, {149, 90}};
    QTest::newRow("stage 4") << 4 << QList<QPoint>{{88, 51}, {105, 78}, {114, 66}, {126, 55}, {149, 95}};
  }
  void courseLine() {
    // Guards against a mistyped course value (a wrong score), or a course drawn at the wrong height,
    // too thick, broken, or not reaching the ground.
    QFETCH(int, stage);
    QFETCH(QList<QPoint>, course);
    const Bitmap& picture = LoadPicture(100 + stage);
    for (auto [x, y] : course)
      QCOMPARE(QString::fromStdString(LoadResString(stage * 1000 + x)), QString::number(y));
    // Per column, the highest run of orange above the ground: it touches the run of the column before,
    // at least at a corner, stays thin, covers the typed row and the one below it, and ends on the ground.
    int lastTop = 0, lastBottom = 99;
    for (int x = 56; x <= 169; ++x) {
      int top = 24;
      while (top <= 99 && Colour(picture, x, top) != 'O') ++top;
      int bottom = top;
      while (bottom < 99 && Colour(picture, x, bottom + 1) == 'O') ++bottom;
      QVERIFY2(top <= 99 && top <= lastBottom + 1 && bottom + 1 >= lastTop, qPrintable(QString::number(x)));
      QVERIFY(x < 64 || x > 149 || bottom - top < 4);
      for (auto [typedX, y] : course)
        if (typedX == x) QVERIFY(top <= y && bottom > y);
      lastTop = top, lastBottom = bottom;
    }
    QVERIFY(lastTop <= 98 && lastBottom == 99);
  }

  void idsOutsideTheTables() {
    // Guards against an id outside the course tables or pictures reading another table or past its end.
    for (int id : {1063, 1150, 4150, 5064, 64, -1064})
      QVERIFY2(LoadResString(id).empty(), qPrintable(QString::number(id)));
    QVERIFY(LoadPicture(99).width == 0 && LoadPicture(106).width == 0);
  }

  void soundFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    QTest::newRow("failed landing") << "fail.wav" << 0.6;
    QTest::newRow("edge bonus") << "bonus.wav" << 1.0;
    QTest::newRow("landed") << "clear.wav" << 0.7;
    QTest::newRow("all stages cleared") << "all.wav" << 2.0;
  }
  void soundFiles() {
    // Guards against sound files the sound service would reject, or of the wrong length.
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFile file(QStringLiteral(MORVANE_BUILD "/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const quint32 data = quint32(bytes.size() - 44);
    // "RIFF", "WAVEfmt ", 16-bit mono PCM at 22050 Hz, "data"; then the two sizes.
    QCOMPARE(bytes.left(4) + bytes.mid(8, 32),
             "RIFFWAVEfmt " + QByteArray::fromHex("10000000 0100 0100 22560000 44ac0000 0200 1000") + "data");
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), data + 36);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 40), data);
    QVERIFY(qAbs(data / 44100.0 - seconds) < 0.05);
  }

};

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
