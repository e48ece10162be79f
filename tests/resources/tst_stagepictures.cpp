// Tests for what the game carries: course strings, stage pictures and the generated sounds.
#include <QFile>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <map>

#include "resources/Resources.h"

namespace {

bool InBox(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

// The picture's colour at x, y as a letter: White, Cyan, Grey, Orange, or '?' for any other colour.
char Colour(const Bitmap& picture, int x, int y) {
  using namespace PictureColour;
  const Rgb rgb = picture.At(x, y);
  return rgb == White ? 'W' : rgb == Cyan ? 'C' : rgb == Grey ? 'G' : rgb == Orange ? 'O' : '?';
}

// The axes and their tick marks, as a player sees them on every chart.
bool IsChartOrange(int x, int y) {
  if (InBox(x, y, 54, 36, 55, 101) || InBox(x, y, 54, 100, 215, 101)) return true;
  for (int tick = 36; tick <= 92; tick += 8)  // long ticks from 36 on, short ones between
    if (InBox(x, y, tick % 16 == 4 ? 52 : 56, tick, 57, tick + 1)) return true;
  for (int tick = 62; tick <= 214; tick += 8)
    if (InBox(x, y, tick, 98, tick + 1, 99)) return true;
  for (int tick = 70; tick <= 214; tick += 16)
    if (InBox(x, y, tick, 102, tick + 1, 103)) return true;
  return false;
}

// Top and bottom row, per column, of the highest run of orange above the ground: the course.
std::map<int, std::pair<int, int>> CourseColumns(const Bitmap& picture) {
  std::map<int, std::pair<int, int>> columns;
  for (int x = 56; x <= 169; ++x) {
    int y = 24;
    while (y <= 99 && Colour(picture, x, y) != 'O') ++y;
    const int top = y;
    while (y <= 99 && Colour(picture, x, y) == 'O') ++y;
    if (y > top) columns[x] = {top, y - 1};
  }
  return columns;
}

}  // namespace

class TestStagePictures : public QObject {
  Q_OBJECT

 private slots:
  void chart_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("course");
    QTest::newRow("empty chart") << 100 << false;
    for (int stage = 1; stage <= 4; ++stage) QTest::addRow("stage %d", stage) << 100 + stage << true;
    QTest::newRow("stage 5 with its stub and FREE!") << 105 << false;
  }
  void chart() {
    // Guards against a chart that lost its frame, chamfer, grey field, axes or a tick, or that shows a
    // stray colour, stray orange, or a FREE! sign outside its box.
    QFETCH(int, id);
    QFETCH(bool, course);
    const Bitmap& picture = LoadPicture(id);
    QVERIFY(picture.width == 280 && picture.height == 140);
    int letterPixels = 0;
    for (int y = 0; y < 140; ++y) {
      for (int x = 0; x < 280; ++x) {
        const char colour = Colour(picture, x, y);
        QVERIFY2(colour != '?', qPrintable(QString("stray colour at %1,%2").arg(x).arg(y)));
        const bool drawn = IsChartOrange(x, y) || (id == 105 && InBox(x, y, 56, 36, 64, 39));  // the stub
        if (drawn || !course) QCOMPARE(colour == 'O', drawn);
        if (!InBox(x, y, 30, 22, 253, 117)) QCOMPARE(colour, 'W');
        // In the field only grey, orange, and the letters of FREE! in their box.
        if (InBox(x, y, 34, 26, 249, 113) && colour != 'G' && colour != 'O') {
          QVERIFY(colour == 'C' && id == 105 && InBox(x, y, 84, 47, 191, 85));
          ++letterPixels;
        }
      }
    }
    QVERIFY(id != 105 || letterPixels > 1000);
    // Walking in across each side, then across each cut corner: a two-pixel frame that stays closed.
    const auto walk = [&](int x, int y, int dx, int dy) {
      return QByteArray(1, Colour(picture, x, y)) + Colour(picture, x + dx, y + dy) +
             Colour(picture, x + 2 * dx, y + 2 * dy) + Colour(picture, x + 3 * dx, y + 3 * dy);
    };
    for (auto [x, y, dx, dy] :
         {std::array{29, 70, 1, 0}, {254, 70, -1, 0}, {140, 21, 0, 1}, {140, 118, 0, -1}})
      QCOMPARE(walk(x, y, dx, dy), QByteArray("WCCG"));
    for (auto [x, y, dx, dy] :
         {std::array{30, 22, 1, 1}, {253, 22, -1, 1}, {30, 117, 1, -1}, {253, 117, -1, -1}})
      QCOMPARE(walk(x, y, dx, dy), QByteArray("WWCG"));
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
    auto columns = CourseColumns(picture);
    for (int x = 56; x <= 169; ++x) QVERIFY2(columns.count(x), qPrintable(QString("gap at x %1").arg(x)));
    for (int x = 64; x <= 149; ++x) QVERIFY(columns[x].second - columns[x].first < 4);
    for (int x = 57; x <= 169; ++x)  // neighbouring columns touch, at least at a corner
      QVERIFY(columns[x].first <= columns[x - 1].second + 1 && columns[x].second + 1 >= columns[x - 1].first);
    QVERIFY(columns[169].first <= 98 && columns[169].second == 99);
    for (auto [x, y] : course) {
      QCOMPARE(QString::fromStdString(LoadResString(stage * 1000 + x)), QString::number(y));
      QVERIFY(Colour(picture, x, y) == 'O' && Colour(picture, x, y + 1) == 'O');
      QVERIFY(columns[x].first >= y - 2 && columns[x].second <= y + 3);
    }
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
    // Guards against sound files the sound service would reject, or that clip or click.
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFile file(QStringLiteral(MORVANE_SOUND_DIR "/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const quint32 data = quint32(bytes.size() - 44);
    // "RIFF", "WAVEfmt ", 16-bit mono PCM at 22050 Hz, "data"; then the two sizes.
    QCOMPARE(bytes.left(4) + bytes.mid(8, 32),
             "RIFFWAVEfmt " + QByteArray::fromHex("10000000 0100 0100 22560000 44ac0000 0200 1000") + "data");
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), data + 36);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 40), data);
    QVERIFY(qAbs(data / 44100.0 - seconds) < 0.05);
    QList<int> levels;
    for (quint32 i = 0; i < data / 2; ++i)
      levels << std::abs(qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * i));
    const int peak = *std::max_element(levels.begin(), levels.end());
    QVERIFY(peak > 3000 && peak < 23197);                  // audible, and below -3 dBFS
    QVERIFY(levels.first() < 100 && levels.last() < 100);  // no click at either end
  }
};

QTEST_GUILESS_MAIN(TestStagePictures)
#include "tst_stagepictures.moc"
