// Ranking window tests, headless: the score texts, the three views, their colours, name fitting,
// opening and the player list.
#include <QTest>
#include <limits>

#include "scores/ScoreNumbers.h"
#include "tests/support/Describe.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"
#include "viewer/RankingText.h"

namespace {

// What a picture box holds, one print after another: "text @x,y size".
QString Printed(const PictureControl& box) {
  QStringList prints;
  for (const PrintedText& print : box.Printed())
    prints << QStringLiteral("%1 @%2,%3 %4").arg(Text(print.text)).arg(print.x).arg(print.y).arg(print.font.points);
  return prints.join(" + ");
}

// One row of the window as a player reads it: "rank | name box | total | detail line".
QString Row(const Form3& form, size_t row) {
  return QStringList{Text(form.Label7[row].Caption()), Printed(form.Picture1[row]), Text(form.Label4[row].Caption()),
                     Text(form.Label5[row].Caption())}
      .join(" | ");
}

// The game's models with hand-made tables: every normal entry named and scored, player 2 with a
// stage 3 top five and a best on every stage.
struct Ranking : GameFixture {
  Ranking() : GameFixture(Start::NotStarted) {
    module1.NormalNames = {"てんぷ亭", "ＡＢＣＤＥＦＧＨＩＪ", "",         "味濱屋",   "万人屋",
                           "一心寿司", "天狗ラーメン",         "担々麺屋", "まるしん", "東横"};
    module1.NormalScores = {{{2000, 2000, 2000, 2000, 2000},
                             {12, 0, 3456, 7, 100},
                             {0, 0, 0, 0, 0},
                             {9999, 9999, 9999, 9999, 9999},
                             {123456, 1, 2, 3, 4},
                             {-5, 0, -1234, 5, 0},
                             {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
                             {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
                             {INT32_MAX, INT32_MIN, 0, 0, 1},
                             {200, 200, 200, 200, 200}}};
    module1.PlayerNames = {"Ace", "", "ニ号", "", "", "", "", "Seventh"};
    auto& two = module1.AttackScores[2];
    const std::array<int32_t, 15> stage3 = {120, 345,       0,         99999,     99999, 99999, 123456, -7,
                                            0,   INT32_MAX, INT32_MAX, INT32_MAX, 0,     0,     0};
    std::copy(stage3.begin(), stage3.end(), two.begin() + AttackIndex(3, 1, 0));
    for (int criterion = 0; criterion < 3; ++criterion) {
      two[AttackIndex(1, 1, criterion)] = criterion + 1;
      two[AttackIndex(4, 1, criterion)] = INT32_MIN;
      two[AttackIndex(5, 1, criterion)] = INT32_MAX;
    }
    module1.AttackScores[7][AttackIndex(2, 1, 0)] = 42;
    module1.PlayerIndex = 2;
  }
  Form3& form() { return game.form3(); }
  // Draws `view` (0 the normal view, 1..5 a stage view, 6 the total view) over the other kind.
  void Show(int view) {
    if (view == 0) {
      form().Combo1_Click();
      form().Option7_Click();
    } else if (view == 6) {
      form().Option6_Click();
    } else {
      form().ShowAttackStage(view);
    }
  }
};

}  // namespace

class Form3Test : public QObject {
  Q_OBJECT

 private slots:
  void scoreTexts_data() { RowsFromFixture("ranking-texts.txt", {"values", "width", "line", "total"}); }
  void scoreTexts() {
    // Guards against a wrong column width, zero written "000", a "/" left at the end, a negative count
    // of blanks, or a total that wraps round or shows zero as "000".
    QFETCH(QString, values);
    QFETCH(QString, width);
    std::vector<int32_t> scores;
    for (const QString& value : values.split(' ', Qt::SkipEmptyParts)) scores.push_back(int32_t(value.toLongLong()));
    QTEST(Text(DetailLine(scores, width.toULong())), "line");
    QTEST(Text(TotalText(WideSum(scores))), "total");
  }

  void views_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("player");
    QTest::addColumn<QString>("fixture");
    QTest::newRow("normal ranking") << 0 << 0 << "normal";
    QTest::newRow("stage 3 of player 2") << 3 << 2 << "stage3-player2";
    QTest::newRow("stage 2 of the last player, a best only") << 2 << 7 << "stage2-player7";
    QTest::newRow("total of player 2") << 6 << 2 << "total-player2";
  }
  void views() {
    // Guards against a view that reads the wrong entry, player, stage, place or criterion, sums in 32
    // bits, leaves something of the view before it (each view is drawn over another one here), or
    // prints in the wrong box, place, face or size.
    QFETCH(int, view);
    QFETCH(int, player);
    QFETCH(QString, fixture);
    Ranking ranking;
    Form3& form = ranking.form();
    form.Combo1.SetListIndex(player);
    ranking.Show(view);
    QStringList lines{"title: " + Text(form.Label2.Caption()), "heading: " + Text(form.Label6.Caption()) + " | " + Printed(form.Picture2)};
    for (size_t row = 0; row < 10; ++row) lines << Row(form, row);
    QVERIFY(SameAsFixture(lines.join('\n'), "ranking-view-" + fixture + ".txt"));
    for (const PictureControl* box : {&form.Picture2, &form.Picture1[0], &form.Picture1[1], &form.Picture1[3]})
      for (const PrintedText& print : box->Printed())
        QVERIFY(print.font == (FontSpec{"ＭＳ Ｐゴシック", print.font.points, true, false}));
  }

  void colours_data() { RowsFromFixture("ranking-colours.txt", {"view", "row", "colours"}); }
  void colours() {
    // Guards against a wrong gradient step, a colour given to the wrong control or row, or a stage or
    // total view that keeps the normal view's colours.
    QFETCH(QString, view);
    QFETCH(QString, row);
    Ranking ranking;
    Form3& form = ranking.form();
    if (view != "0") ranking.Show(view.toInt());
    const auto at = row.toULong();
    const PictureControl& box = form.Picture1[at];
    QList<Rgb> seen{form.Label2.ForeColor(), form.Label5[at].ForeColor(), form.Label4[at].ForeColor(),
                    box.Printed().empty() ? box.ForeColor() : box.Printed().front().colour};
    if (view == "0") seen.insert(1, form.Label7[at].ForeColor());
    QStringList hex;
    for (Rgb colour : seen) hex << QStringLiteral("%1").arg(colour, 6, 16, QChar('0'));
    QTEST(hex.join(' '), "colours");
    if (view == "0") QCOMPARE(form.Label6.ForeColor(), MakeRgb(255, 0, 0));
  }

  void nameFitting_data() {
    // The stand-in measure at 9 pt bold: 7 pixels a half-width character, 13 a full-width one; at 16
    // pt bold 11.67 and 22.33.
    QTest::addColumn<bool>("heading");  // the player's name heading, or a normal-ranking name
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a name that fits") << false << "天狗ラーメン" << "天狗ラーメン @0,5 9";
    QTest::newRow("exactly 96 pixels") << false << "ＡＢabcdefghij" << "ＡＢabcdefghij @0,5 9";
    QTest::newRow("97 pixels and more lose characters") << false << "ＡＢabcdefghijk" << "ＡＢabcdefghij @0,5 9";
    QTest::newRow("sixteen full-width characters") << false << "あいうえおかきくけこさしすせそた" << "あいうえおかき @0,5 9";
    QTest::newRow("sixteen half-width characters") << false << "ABCDEFGHIJKLMNOP" << "ABCDEFGHIJKLM @0,5 9";
    QTest::newRow("no name") << false << "" << " @0,5 9";
    QTest::newRow("heading: ten full-width characters fit") << true << "あいうえおかきくけこ" << "あいうえおかきくけこ @0,0 16";
    QTest::newRow("heading: exactly 224 pixels") << true << "あいうえおかきくけAB" << "あいうえおかきくけAB @0,0 16";
    QTest::newRow("heading: 225 pixels, smaller and lower, not cut")
        << true << "あいうえおかきくABCD" << "あいうえおかきくABCD @0,5 9";
    QTest::newRow("heading: a free place") << true << "" << " @0,0 16";
    QTest::newRow("heading: sixteen full-width characters, not cut")
        << true << "あいうえおかきくけこさしすせそた" << "あいうえおかきくけこさしすせそた @0,5 9";
  }
  void nameFitting() {
    // Guards against a name cut before it needs to be, not cut enough, or cut inside a character, and
    // against a long player name cut, drawn at 16 pt past its box, or not moved down at 9 pt.
    QFETCH(bool, heading);
    QFETCH(QString, name);
    Ranking ranking;
    (heading ? ranking.module1.PlayerNames[2] : ranking.module1.NormalNames[4]) = name.toStdString();
    Form3& form = ranking.form();
    if (!heading) {
      QTEST(Printed(form.Picture1[4]), "shown");
      return;
    }
    form.Option6_Click();
    QTEST(Printed(form.Picture2), "shown");
    form.ShowAttackStage(1);
    QTEST(Printed(form.Picture2), "shown");
  }

  void openingAndPlayerChange() {
    // Guards against an opening that lists the players wrongly, is set to another player, does not end
    // on the normal view with "戻る" holding the keyboard, or a list change that keeps the old player,
    // the old view, or the small heading of a long name shown before.
    Ranking ranking;
    ranking.module1.PlayerNames[2] = "あいうえおかきくけこさしすせそた";
    Form3& form = ranking.form();
    QCOMPARE(form.Combo1.Items(),
             (std::vector<std::string>{"Ace", "", "あいうえおかきくけこさしすせそた", "", "", "", "", "Seventh"}));
    QCOMPARE(form.Combo1.ListIndex(), 2);
    QVERIFY(form.Visible() && form.Active() && form.Command1.HasFocus());
    QVERIFY(form.Option7.Value() && !form.Option6.Value());
    QCOMPARE(Text(form.Label2.Caption()), "NORMAL MODE LANKING");
    form.Option3.SetValue(true);
    form.Option3_Click();
    form.Combo1.SetListIndex(7);
    form.Combo1_Click();
    QVERIFY(form.Option6.Value() && !form.Option3.Value());
    QCOMPARE(Printed(form.Picture2), "Seventh @0,0 16");
    QCOMPARE(Row(form, 4), " | STAGE 2 @0,0 16 | 4200 |    4200/      0/      0");
    form.Combo1.SetListIndex(0);
    form.Combo1_Click();
    QCOMPARE(Printed(form.Picture2), "Ace @0,0 16");
    QCOMPARE(Row(form, 4), " | STAGE 2 @0,0 16 | 0 |       0/      0/      0");
  }
};

QTEST_GUILESS_MAIN(Form3Test)
#include "tst_form3.moc"
