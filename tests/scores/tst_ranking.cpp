// Ranking rules: strict placing, AttackBest shifts and the inserts into the tables.
#include <QTest>

#include "scores/Ranking.h"

using Best = std::array<int32_t, 11>;
Q_DECLARE_METATYPE(Best)

namespace {

// Normal ranking entries named "e0".."e9", entry e scoring 10 x (e + 1) on every stage.
ScoreTables NumberedRanking() {
  ScoreTables tables;
  for (int entry = 0; entry < 10; ++entry) {
    tables.NormalNames[entry] = "e" + std::to_string(entry);
    tables.NormalScores[entry].fill(10 * (entry + 1));
  }
  return tables;
}

}  // namespace

class TestRanking : public QObject {
  Q_OBJECT

 private slots:
  void normalRank_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("place");
    QTest::newRow("above 1st") << 10001 << 1;
    QTest::newRow("equal to 1st, above 2nd") << 10000 << 2;
    QTest::newRow("equal to 6th") << 5000 << 7;
    QTest::newRow("just above 10th") << 1001 << 10;
    QTest::newRow("equal to 10th") << 1000 << 0;
    QTest::newRow("below 10th") << 0 << 0;
  }
  void normalRank() {
    // Guards against ties that push an older entry down, or a tie with 10th place that ranks.
    QFETCH(int, total);
    QFETCH(int, place);
    std::array<int32_t, 11> totals{};
    for (int entry = 0; entry < 10; ++entry) totals[entry] = 10000 - 1000 * entry;  // the default ranking
    QCOMPARE(NormalRank(total, totals), place);
  }

  void attackRank_data() {
    QTest::addColumn<Best>("before");
    QTest::addColumn<QList<int>>("landing");
    QTest::addColumn<int>("place");
    QTest::addColumn<Best>("after");
    const Best filled{30, 10, 10, 10, 20, 10, 5, 1};
    QTest::newRow("first positive landing on an unplayed stage")
        << Best{} << QList<int>{5, 6, 7} << 1 << Best{18, 5, 6, 7};
    QTest::newRow("zero landing on an unplayed stage") << Best{} << QList<int>{0, 0, 0} << 0 << Best{};
    QTest::newRow("beats 1st") << filled << QList<int>{11, 12, 8} << 1 << Best{31, 11, 12, 8, 30, 20, 10, 5};
    QTest::newRow("equal to 1st, above 2nd")
        << filled << QList<int>{0, 0, 30} << 2 << Best{30, 10, 10, 10, 30, 20, 10, 5};
    QTest::newRow("between 3rd and 4th")
        << filled << QList<int>{3, 3, 3} << 4 << Best{30, 10, 10, 10, 20, 10, 9, 5};
    QTest::newRow("equal to 5th") << filled << QList<int>{1, 0, 0} << 0 << filled;
  }
  void attackRank() {
    // Guards against a wrong place or an AttackBest that no longer mirrors the top five.
    QFETCH(Best, before);
    QFETCH(QList<int>, landing);
    QFETCH(int, place);
    QFETCH(Best, after);
    QCOMPARE(AttackRank(landing[0], landing[1], landing[2], before), place);
    QCOMPARE(QList<int32_t>(before.begin(), before.end()), QList<int32_t>(after.begin(), after.end()));
  }

  void insertNormal_data() {
    QTest::addColumn<int>("place");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("place 1") << 1 << QStringList{"new", "e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8"};
    QTest::newRow("place 3") << 3 << QStringList{"e0", "e1", "new", "e2", "e3", "e4", "e5", "e6", "e7", "e8"};
    QTest::newRow("place 10") << 10
                              << QStringList{"e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "new"};
    QTest::newRow("place 11 changes nothing")
        << 11 << QStringList{"e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e9"};
  }
  void insertNormal() {
    // Guards against entries lost, duplicated or left with another run's stage scores.
    QFETCH(int, place);
    QFETCH(QStringList, names);
    ScoreTables tables = NumberedRanking();
    InsertNormalRanking(tables, place, "new", {0, 1, 2, 3, 4, 5});
    for (int entry = 0; entry < 10; ++entry) {
      QCOMPARE(QString::fromStdString(tables.NormalNames[entry]), names[entry]);
      const int32_t firstStage = names[entry] == "new" ? 1 : 10 * (names[entry].mid(1).toInt() + 1);
      QCOMPARE(tables.NormalScores[entry][0], firstStage);
    }
    if (place <= 10) QCOMPARE(tables.NormalScores[place - 1], (std::array<int32_t, 5>{1, 2, 3, 4, 5}));
  }

  void insertAttack_data() {
    QTest::addColumn<int>("place");
    QTest::addColumn<QList<int>>("stageTwo");  // the 15 values of stage 2 afterwards
    QTest::newRow("place 1") << 1 << QList<int>{7, 8, 9, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    QTest::newRow("place 3") << 3 << QList<int>{1, 1, 1, 2, 2, 2, 7, 8, 9, 3, 3, 3, 4, 4, 4};
    QTest::newRow("place 5") << 5 << QList<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 7, 8, 9};
    QTest::newRow("place 6 changes nothing") << 6 << QList<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5};
  }
  void insertAttack() {
    // Guards against a landing written over another place, stage or player.
    QFETCH(int, place);
    QFETCH(QList<int>, stageTwo);
    ScoreTables tables;
    for (auto& player : tables.AttackScores) player.fill(-1);
    for (int index = 0; index < 15; ++index) tables.AttackScores[3][15 + index] = index / 3 + 1;
    ScoreTables expected = tables;
    for (int index = 0; index < 15; ++index) expected.AttackScores[3][15 + index] = stageTwo[index];
    InsertAttackRanking(tables, 3, 2, place, 7, 8, 9);
    QVERIFY(tables == expected);
  }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
