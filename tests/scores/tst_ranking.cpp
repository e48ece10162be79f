// Ranking rules: strict placing, AttackBest shifts and the inserts into the tables.
#include <QTest>

#include "scores/Ranking.h"

using Best = std::array<int32_t, 11>;
using Ints = QList<int>;
Q_DECLARE_METATYPE(Best)

namespace {

// Tables with the normal entries "0".."9" in `order`, entry n scoring 10 x (n + 1) on every stage and
// "N" the inserted run with 1..5; player 3's `stage` holding the digits of `places`, every other
// attack value -1.
ScoreTables Tables(const QString& order, int stage, const QString& places) {
  ScoreTables tables;
  for (int entry = 0; entry < 10; ++entry) {
    tables.NormalNames[entry] = order.mid(entry, 1).toStdString();
    tables.NormalScores[entry].fill(10 * (order[entry].digitValue() + 1));
    if (order[entry] == 'N') tables.NormalScores[entry] = {1, 2, 3, 4, 5};
  }
  for (auto& player : tables.AttackScores) player.fill(-1);
  for (int index = 0; index < 15; ++index)
    tables.AttackScores[3][15 * (stage - 1) + index] = places[index].digitValue();
  return tables;
}

}  // namespace

class TestRanking : public QObject {
  Q_OBJECT

 private slots:
  void strictRanking_data() {
    QTest::addColumn<int>("total");  // a normal run's, against the default ranking 10000, 9000 ... 1000
    QTest::addColumn<int>("normalPlace");
    QTest::addColumn<Best>("before");  // a score attack's AttackBest, and a landing against it
    QTest::addColumn<Ints>("landing");
    QTest::addColumn<int>("attackPlace");
    QTest::addColumn<Best>("after");
    const Best top{30, 10, 10, 10, 20, 10, 5, 1};
    QTest::newRow("beats 1st") << 10001 << 1 << top << Ints{11, 12, 8} << 1
                               << Best{31, 11, 12, 8, 30, 20, 10, 5};
    QTest::newRow("equal to 1st, below it")
        << 10000 << 2 << top << Ints{0, 0, 30} << 2 << Best{30, 10, 10, 10, 30, 20, 10, 5};
    QTest::newRow("just above the last")
        << 1001 << 10 << top << Ints{2, 0, 0} << 5 << Best{30, 10, 10, 10, 20, 10, 5, 2};
    QTest::newRow("equal to the last") << 1000 << 0 << top << Ints{1, 0, 0} << 0 << top;
    QTest::newRow("nothing, even on an unplayed stage") << 0 << 0 << Best{} << Ints{0, 0, 0} << 0 << Best{};
  }
  void strictRanking() {
    // Guards against ties that push an older result down, a tie with the last place that ranks, or an
    // AttackBest that no longer mirrors the top five.
    QFETCH(int, total);
    QFETCH(int, normalPlace);
    QFETCH(Best, before);
    QFETCH(Ints, landing);
    QFETCH(int, attackPlace);
    QFETCH(Best, after);
    QCOMPARE(NormalRank(total, {10000, 9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000}), normalPlace);
    QCOMPARE(AttackRank(landing[0], landing[1], landing[2], before), attackPlace);
    QCOMPARE(QList<int32_t>(before.begin(), before.end()), QList<int32_t>(after.begin(), after.end()));
  }

  void insertsShiftLowerPlaces_data() {
    QTest::addColumn<int>("normalPlace");
    QTest::addColumn<QString>("normalOrder");
    QTest::addColumn<int>("stage");  // of player 3's score attack
    QTest::addColumn<int>("attackPlace");
    QTest::addColumn<QString>("places");  // the 15 values of that stage afterwards
    QTest::newRow("first place, stage 1") << 1 << "N012345678" << 1 << 1 << "789111222333444";
    QTest::newRow("middle place, stage 2") << 3 << "01N2345678" << 2 << 3 << "111222789333444";
    QTest::newRow("last place, stage 5") << 10 << "012345678N" << 5 << 5 << "111222333444789";
    QTest::newRow("past the last place") << 11 << "0123456789" << 2 << 6 << "111222333444555";
  }
  void insertsShiftLowerPlaces() {
    // Guards against entries lost or duplicated, or a result written over another place, stage or player.
    QFETCH(int, normalPlace);
    QFETCH(QString, normalOrder);
    QFETCH(int, stage);
    QFETCH(int, attackPlace);
    QFETCH(QString, places);
    ScoreTables tables = Tables("0123456789", stage, "111222333444555");
    InsertNormalRanking(tables, normalPlace, "N", {0, 1, 2, 3, 4, 5});
    QVERIFY(tables == Tables(normalOrder, stage, "111222333444555"));
    InsertAttackRanking(tables, 3, stage, attackPlace, 7, 8, 9);
    QVERIFY(tables == Tables(normalOrder, stage, places));
  }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
