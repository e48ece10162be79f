// Score list tests: the sixteen captions per mode, trailing blanks and line breaks included.
#include <QTest>

#include "scores/ScoreList.h"

using Points = std::array<int32_t, 11>;
Q_DECLARE_METATYPE(Points)

class ScoreListTest : public QObject {
  Q_OBJECT

 private slots:
  void captions_data() {
    QTest::addColumn<bool>("attack");
    QTest::addColumn<int>("stage");
    QTest::addColumn<Points>("points");
    QTest::addColumn<QStringList>("values");    // Label3(0..7)
    QTest::addColumn<QStringList>("headings");  // Label3(8..15)
    const QString criteria = "Landing  \r\nControl  \r\nCourse  ";
    QTest::newRow("normal, stage 2 after a landing of 37")
        << false << 2 << Points{37, 5, 30, 2, 100, 37, 0, 8, 9, 137, 99}
        << QStringList{"3700", "500   \r\n3000   \r\n200   ", "10000", "3700", "000", "800", "900", "13700"}
        << QStringList{"Stage2 ", criteria, "Stage1 ", "Stage2 ", "Stage3 ", "Stage4 ", "Stage5 ", "Total "};
    QTest::newRow("attack, stage 4, places 2 to 5 filled")
        << true << 4 << Points{2532, 27, 1856, 649, 2400, 1500, 40, 0, 77, 88, 99}
        << QStringList{"253200", "2700   \r\n185600   \r\n64900   ", "240000", "150000", "4000", "000", "",
                       "Stage 4"}
        << QStringList{"BEST ", criteria, "2nd  ", "3rd  ", "4th  ", "5th  ", "", ""};
  }

  // Guards against a caption that loses its blanks, its "00", its line breaks or shows the wrong row.
  void captions() {
    QFETCH(bool, attack);
    QFETCH(int, stage);
    QFETCH(Points, points);
    auto shown = [](const ScoreListCaptions& captions) {
      QStringList texts;
      for (const std::string& caption : captions) texts << QString::fromStdString(caption);
      return texts;
    };
    QTEST(shown(attack ? ScoreListValuesAttack(points, stage) : ScoreListValuesNormal(points)), "values");
    QTEST(shown(attack ? ScoreListHeadingsAttack() : ScoreListHeadingsNormal(stage)), "headings");
  }
};

QTEST_APPLESS_MAIN(ScoreListTest)
#include "tst_scorelist.moc"
