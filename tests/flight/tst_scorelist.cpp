// Score list tests: the sixteen captions per mode, trailing blanks and line breaks included.
#include <QTest>

#include "scores/ScoreList.h"

using Points = std::array<int32_t, 11>;
Q_DECLARE_METATYPE(Points)

class ScoreListTest : public QObject {
  Q_OBJECT

 private slots:
  void captions_data();
  void captions();
};

void ScoreListTest::captions_data() {
  QTest::addColumn<bool>("attack");
  QTest::addColumn<int>("stage");
  QTest::addColumn<Points>("points");
  QTest::addColumn<QStringList>("values");    // Label3(0..7)
  QTest::addColumn<QStringList>("headings");  // Label3(8..15)
  const QString criteria = "Landing  \r\nControl  \r\nCourse  ";
  QTest::newRow("normal, stage 2 after a landing of 37")
      << false << 2 << Points{37, 5, 30, 2, 100, 37, 0, 0, 0, 137, 99}
      << QStringList{"3700", "500   \r\n3000   \r\n200   ", "10000", "3700", "000", "000", "000", "13700"}
      << QStringList{"Stage2 ", criteria, "Stage1 ", "Stage2 ", "Stage3 ", "Stage4 ", "Stage5 ", "Total "};
  QTest::newRow("normal, stage 5, every row filled")
      << false << 5 << Points{1, 2, 3, 4, 5, 6, 7, 8, 9, 123456, 0}
      << QStringList{"100", "200   \r\n300   \r\n400   ", "500", "600", "700", "800", "900", "12345600"}
      << QStringList{"Stage5 ", criteria, "Stage1 ", "Stage2 ", "Stage3 ", "Stage4 ", "Stage5 ", "Total "};
  QTest::newRow("attack, stage 4 never played")
      << true << 4 << Points{}
      << QStringList{"000", "000   \r\n000   \r\n000   ", "000", "000", "000", "000", "", "Stage 4"}
      << QStringList{"BEST ", criteria, "2nd  ", "3rd  ", "4th  ", "5th  ", "", ""};
  QTest::newRow("attack, stage 1, places 2 to 5 filled")
      << true << 1 << Points{2532, 27, 1856, 649, 2400, 1500, 40, 1, 77, 88, 99}
      << QStringList{"253200", "2700   \r\n185600   \r\n64900   ", "240000", "150000", "4000", "100", "",
                     "Stage 1"}
      << QStringList{"BEST ", criteria, "2nd  ", "3rd  ", "4th  ", "5th  ", "", ""};
}

// Guards against a caption that loses its blanks, its "00", its line breaks or shows the wrong row.
void ScoreListTest::captions() {
  QFETCH(bool, attack);
  QFETCH(int, stage);
  QFETCH(Points, points);
  const ScoreListCaptions values = attack ? ScoreListValuesAttack(points, stage) : ScoreListValuesNormal(points);
  const ScoreListCaptions headings = attack ? ScoreListHeadingsAttack() : ScoreListHeadingsNormal(stage);
  QStringList shownValues, shownHeadings;
  for (const std::string& caption : values) shownValues << QString::fromStdString(caption);
  for (const std::string& caption : headings) shownHeadings << QString::fromStdString(caption);
  QTEST(shownValues, "values");
  QTEST(shownHeadings, "headings");
}

QTEST_APPLESS_MAIN(ScoreListTest)
#include "tst_scorelist.moc"
