// Tests for what the game carries: course strings, stage pictures and the generated sounds.
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "resources/Resources.h"

namespace {

bool InBox(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

// The axes and their tick marks, as a player sees them on every chart.
bool IsChartOrange(int x, int y) {
  if (InBox(x, y, 54, 36, 55, 101) || InBox(x, y, 54, 100, 215, 101)) return true;
  for (int tick : {36, 52, 68, 84})
    if (InBox(x, y, 52, tick, 57, tick + 1)) return true;
  for (int tick : {44, 60, 76, 92})
    if (InBox(x, y, 56, tick, 57, tick + 1)) return true;
  for (int tick = 62; tick <= 214; tick += 8)
    if (InBox(x, y, tick, 98, tick + 1, 99)) return true;
  for (int tick = 70; tick <= 214; tick += 16)
    if (InBox(x, y, tick, 102, tick + 1, 103)) return true;
  return false;
}

// The orange pixels 8-connected to the start of the course, kept to the chart above the ground.
std::set<std::pair<int, int>> CourseLinePixels(const Bitmap& picture) {
  std::set<std::pair<int, int>> line;
  std::vector<std::pair<int, int>> todo = {{60, 37}};
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (!InBox(x, y, 56, 24, 169, 99) || picture.At(x, y) != PictureColour::Orange) continue;
    if (!line.insert({x, y}).second) continue;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) todo.push_back({x + dx, y + dy});
  }
  return line;
}

}  // namespace

class TestStagePictures : public QObject {
  Q_OBJECT

 private slots:
  // Guards against a mistyped course value (a wrong score) or ids outside the tables answering.
  void courseStrings_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("stage 1, first x") << 1064 << "36";
    QTest::newRow("stage 1, x 108") << 1108 << "71";
    QTest::newRow("stage 1, last x") << 1149 << "96";
    QTest::newRow("stage 2, x 80") << 2080 << "48";
    QTest::newRow("stage 2, last x") << 2149 << "97";
    QTest::newRow("stage 3, x 89") << 3089 << "46";
    QTest::newRow("stage 3, last x") << 3149 << "90";
    QTest::newRow("stage 4, x 105, top of the hill") << 4105 << "78";
    QTest::newRow("stage 4, x 126, bottom of the valley") << 4126 << "55";
    QTest::newRow("stage 4, last x") << 4149 << "95";
    QTest::newRow("left of the table") << 1063 << "";
    QTest::newRow("right of the table") << 4150 << "";
    QTest::newRow("stage 5 has no table") << 5064 << "";
    QTest::newRow("no stage") << 64 << "";
    QTest::newRow("negative id") << -1064 << "";
  }
  void courseStrings() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(LoadResString(id)), text);
  }

  // Guards against a chart that lost its frame, chamfer, grey field, axes or a tick, or a stray colour.
  void chart_data() {
    QTest::addColumn<int>("id");
    for (int id = 100; id <= 105; ++id) QTest::addRow("picture %d", id) << id;
  }
  void chart() {
    QFETCH(int, id);
    const Bitmap& picture = LoadPicture(id);
    QCOMPARE(picture.width, 280);
    QCOMPARE(picture.height, 140);
    const std::set<Rgb> palette = {PictureColour::Cyan, PictureColour::Grey, PictureColour::Orange,
                                   PictureColour::White};
    for (int y = 0; y < 140; ++y) {
      for (int x = 0; x < 280; ++x) {
        const Rgb colour = picture.At(x, y);
        QVERIFY2(palette.count(colour), qPrintable(QString("stray colour at %1,%2").arg(x).arg(y)));
        if (IsChartOrange(x, y)) QVERIFY(colour == PictureColour::Orange);
        if (!InBox(x, y, 30, 22, 253, 117)) QVERIFY(colour == PictureColour::White);
        if (colour == PictureColour::Cyan && !(id == 105 && InBox(x, y, 84, 47, 191, 85)))
          QVERIFY(!InBox(x, y, 34, 26, 249, 113));  // cyan only near the frame, or in the FREE! box
      }
    }
    for (auto [x, y] : {std::pair{30, 22}, {253, 22}, {30, 117}, {253, 117}})
      QCOMPARE(picture.At(x, y), PictureColour::White);  // chamfered corners
    for (auto [x, y] : {std::pair{30, 70}, {31, 70}, {252, 70}, {253, 70}, {140, 22}, {140, 23}, {140, 116},
                        {140, 117}})
      QCOMPARE(picture.At(x, y), PictureColour::Cyan);
    for (auto [x, y] : {std::pair{32, 70}, {251, 70}, {240, 24}, {240, 115}, {40, 30}, {230, 60}})
      QCOMPARE(picture.At(x, y), PictureColour::Grey);
    // The cut corner still closes the frame: walking in along the diagonal meets cyan before grey.
    int step = 0;
    while (picture.At(30 + step, 22 + step) == PictureColour::White) ++step;
    QCOMPARE(picture.At(30 + step, 22 + step), PictureColour::Cyan);
  }

  // Guards against extra orange on the empty chart or the FREE! stage (a course that should not be there).
  void orangeOnlyWhereDrawn_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("empty chart") << 100;
    QTest::newRow("stage 5 with its stub") << 105;
  }
  void orangeOnlyWhereDrawn() {
    QFETCH(int, id);
    const Bitmap& picture = LoadPicture(id);
    for (int y = 0; y < 140; ++y)
      for (int x = 0; x < 280; ++x) {
        const bool stub = id == 105 && InBox(x, y, 56, 36, 64, 39);
        QCOMPARE(picture.At(x, y) == PictureColour::Orange, IsChartOrange(x, y) || stub);
      }
  }

  // Guards against FREE! spilling out of its box or being too small to read.
  void freeSignInItsBox() {
    const Bitmap& chart = LoadPicture(100);
    const Bitmap& picture = LoadPicture(105);
    int letterPixels = 0;
    for (int y = 0; y < 140; ++y)
      for (int x = 0; x < 280; ++x)
        if (picture.At(x, y) == PictureColour::Cyan && chart.At(x, y) != PictureColour::Cyan) {
          QVERIFY(InBox(x, y, 84, 47, 191, 85));
          ++letterPixels;
        }
    QVERIFY(letterPixels > 1000);
  }

  // Guards against a course drawn at the wrong height, too thick, broken, or not reaching the ground.
  void courseLine_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QList<QPoint>>("course");  // x and the course row typed from the course tables
    QTest::newRow("stage 1") << 1 << QList<QPoint>{{64, 36}, {96, 52}, {108, 71}, {130, 90}, {149, 96}};
    QTest::newRow("stage 2") << 2 << QList<QPoint>{{75, 37}, {80, 48}, {83, 58}, {100, 89}, {149, 97}};
    QTest::newRow("stage 3") << 3 << QList<QPoint>{{78, 36}, {89, 46}, {120, 69}, {140, 83}, {149, 90}};
    QTest::newRow("stage 4") << 4 << QList<QPoint>{{88, 51}, {105, 78}, {114, 66}, {126, 55}, {149, 95}};
  }
  void courseLine() {
    QFETCH(int, stage);
    QFETCH(QList<QPoint>, course);
    const auto line = CourseLinePixels(LoadPicture(100 + stage));
    std::map<int, std::pair<int, int>> columnSpan;
    for (auto [x, y] : line) {
      auto [it, fresh] = columnSpan.try_emplace(x, y, y);
      it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
    }
    for (int x = 56; x <= 169; ++x) QVERIFY2(columnSpan.count(x), qPrintable(QString("gap at x %1").arg(x)));
    for (int x = 64; x <= 149; ++x) QVERIFY(columnSpan[x].second - columnSpan[x].first < 4);
    QVERIFY(line.count({169, 98}) && line.count({169, 99}));
    for (const QPoint& point : course) {
      QVERIFY(line.count({point.x(), point.y()}) && line.count({point.x(), point.y() + 1}));
      QVERIFY(columnSpan[point.x()].first >= point.y() - 2 && columnSpan[point.x()].second <= point.y() + 3);
    }
  }

  // Guards against sound files the sound service would reject, or that clip or click.
  void soundFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    QTest::newRow("failed landing") << "fail.wav" << 0.6;
    QTest::newRow("edge bonus") << "bonus.wav" << 1.0;
    QTest::newRow("landed") << "clear.wav" << 0.7;
    QTest::newRow("all stages cleared") << "all.wav" << 2.0;
  }
  void soundFiles() {
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFile file(QStringLiteral(MORVANE_SOUND_DIR "/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 44);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    QCOMPARE(bytes.left(4), "RIFF");
    QCOMPARE(u32(4), quint32(bytes.size() - 8));
    QCOMPARE(bytes.mid(8, 8), "WAVEfmt ");
    QCOMPARE(u32(16), 16u);
    QCOMPARE(u16(20), 1);  // PCM
    QCOMPARE(u16(22), 1);  // mono
    const quint32 rate = u32(24);
    QVERIFY(rate == 22050 || rate == 44100);
    QCOMPARE(u32(28), rate * 2);
    QCOMPARE(u16(32), 2);
    QCOMPARE(u16(34), 16);
    QCOMPARE(bytes.mid(36, 4), "data");
    QCOMPARE(u32(40), quint32(bytes.size() - 44));
    QVERIFY(qAbs(double(u32(40)) / 2 / rate - seconds) < 0.05);
    const auto sample = [&](int index) {
      return qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * index);
    };
    const int count = int(u32(40) / 2);
    int peak = 0;
    for (int i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(sample(i))));
    QVERIFY(peak > 3000 && peak < 23197);  // audible, and below -3 dBFS
    QVERIFY(std::abs(sample(0)) < 100 && std::abs(sample(count - 1)) < 100);
  }
};

QTEST_GUILESS_MAIN(TestStagePictures)
#include "tst_stagepictures.moc"
