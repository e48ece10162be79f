// Ranking window tests, headless: the score texts, the three views, name fitting, opening, the
// player list, the way back, and the end of a ranked normal run.
#include <QTemporaryDir>
#include <QTest>
#include <limits>

#include "platform/ScriptedPlatform.h"
#include "app/Game.h"
#include "viewer/Form3.h"
#include "scores/ScoreNumbers.h"
#include "viewer/RankingText.h"

namespace {

using Ints = QList<qint64>;
constexpr qint64 Max = std::numeric_limits<int32_t>::max();
constexpr qint64 Min = std::numeric_limits<int32_t>::min();

QString Text(const std::string& text) { return QString::fromStdString(text); }

// What a picture box holds, one print after another: "text @x,y size".
QString Printed(const PictureControl& box) {
  QStringList prints;
  for (const PrintedText& print : box.Printed())
    prints << QStringLiteral("%1 @%2,%3 %4")
                  .arg(Text(print.text))
                  .arg(print.x)
                  .arg(print.y)
                  .arg(print.font.points);
  return prints.join(" + ");
}

// One row of the window as a player reads it: "rank | name box | total | detail line".
QString Row(const Form3& form, size_t row) {
  return QStringList{Text(form.Label7[row].Caption()), Printed(form.Picture1[row]),
                     Text(form.Label4[row].Caption()), Text(form.Label5[row].Caption())}
      .join(" | ");
}

// The game's models with hand-made tables: every normal entry named and scored, player 2 with a
// stage 3 top five and a best on every stage.
struct Ranking {
  ScriptedPlatform platform;
  Game game{platform};
  Module1& module1 = game.module1;

  Ranking() {
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
};

}  // namespace

class Form3Test : public QObject {
  Q_OBJECT

 private slots:
  void scoreTexts_data() {
    QTest::addColumn<Ints>("values");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("total");  // of the values' sum
    QTest::newRow("stage columns: 12, 345, 0") << Ints{12, 345, 0} << 8 << "   1200/  34500/      0"
                                               << "35700";
    QTest::newRow("normal columns: 12, 0, 3456, 7, 100")
        << Ints{12, 0, 3456, 7, 100} << 7 << "  1200/     0/345600/   700/ 10000"
        << "357500";
    QTest::newRow("all zero, stage") << Ints{0, 0, 0} << 8 << "      0/      0/      0"
                                     << "0";
    QTest::newRow("all zero, normal") << Ints{0, 0, 0, 0, 0} << 7 << "     0/     0/     0/     0/     0"
                                      << "0";
    QTest::newRow("widest that fits, stage") << Ints{99999, 99999} << 8 << "9999900/9999900"
                                             << "19999800";
    QTest::newRow("widest that fits, normal") << Ints{9999, 1} << 7 << "999900/   100"
                                              << "1000000";
    QTest::newRow("too wide: the next column gives up its blanks")
        << Ints{123456, 1, 2} << 7 << "12345600/ 100/   200"
        << "12345900";
    QTest::newRow("too wide: the next column has no blanks left")
        << Ints{1234567, 1234567, 5} << 8 << "123456700/123456700/500"
        << "246913900";
    QTest::newRow("negative values keep their sign")
        << Ints{-5, 0, -1234, 5} << 7 << "  -500/     0/-123400/  500"
        << "-123400";
    QTest::newRow("sum to zero shows 0") << Ints{7, -7} << 8 << "    700/   -700"
                                         << "0";
    QTest::newRow("32-bit maximum, summed wide")
        << Ints{Max, Max, Max} << 8 << "214748364700/214748364700/214748364700"
        << "644245094100";
    QTest::newRow("32-bit minimum, summed wide")
        << Ints{Min, Min, Min} << 8 << "-214748364800/-214748364800/-214748364800"
        << "-644245094400";
    QTest::newRow("both extremes") << Ints{Max, Min, 0, 0, 1} << 7 << "214748364700/-214748364800/0/0/100"
                                   << "0";
    QTest::newRow("nothing") << Ints{} << 8 << ""
                             << "0";
  }

  // Guards against a wrong column width, zero written "000", a "/" left at the end, a negative count
  // of blanks, or a total that wraps round or shows zero as "000".
  void scoreTexts() {
    QFETCH(Ints, values);
    QFETCH(int, width);
    std::vector<int32_t> scores;
    for (qint64 value : values) scores.push_back(static_cast<int32_t>(value));
    QTEST(Text(DetailLine(scores, static_cast<size_t>(width))), "line");
    QTEST(Text(TotalText(WideSum(scores))), "total");
  }

  void views_data() {
    QTest::addColumn<int>("view");  // 0 the normal view, 1..5 a stage view, 6 the total view
    QTest::addColumn<int>("player");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");  // Label6 | Picture2
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("normal ranking")
        << 0 << 0 << "NORMAL MODE LANKING"
        << "STAGE1/STAGE2/STAGE3/STAGE4/STAGE5 | "
        << QStringList{"1 | てんぷ亭 @0,5 9 | 1000000 | 200000/200000/200000/200000/200000",
                       "2 | ＡＢＣＤＥＦＧ @0,5 9 | 357500 |   1200/     0/345600/   700/ 10000",
                       "3 |  @0,5 9 | 0 |      0/     0/     0/     0/     0",
                       "4 | 味濱屋 @0,5 9 | 4999500 | 999900/999900/999900/999900/999900",
                       "5 | 万人屋 @0,5 9 | 12346600 | 12345600/ 100/   200/   300/   400",
                       "6 | 一心寿司 @0,5 9 | -123400 |   -500/     0/-123400/  500/     0",
                       "7 | 天狗ラーメン @0,5 9 | 1073741823500 | 214748364700/214748364700/"
                       "214748364700/214748364700/214748364700",
                       "8 | 担々麺屋 @0,5 9 | -1073741824000 | -214748364800/-214748364800/"
                       "-214748364800/-214748364800/-214748364800",
                       "9 | まるしん @0,5 9 | 0 | 214748364700/-214748364800/0/0/100",
                       "10 | 東横 @0,5 9 | 100000 |  20000/ 20000/ 20000/ 20000/ 20000"};
    QTest::newRow("stage 3 of player 2")
        << 3 << 2 << "SCORE ATTACK RESULT"
        << " | ニ号 @0,0 16"
        << QStringList{" |  |  | ",
                       " | STAGE 3 @0,0 16 |  | ",
                       " |  |  | Landing/Control/ Course",
                       " | BEST @37,0 16 | 46500 |   12000/  34500/      0",
                       " | 2nd @37,0 16 | 29999700 | 9999900/9999900/9999900",
                       " | 3rd @37,0 16 | 12344900 | 12345600/  -700/      0",
                       " | 4th @37,0 16 | 644245094100 | "
                       "214748364700/214748364700/214748364700",
                       " | 5th @37,0 16 | 0 |       0/      0/      0",
                       " |  |  | ",
                       " |  |  | "};
    QTest::newRow("stage 2 of the last player, a best only")
        << 2 << 7 << "SCORE ATTACK RESULT"
        << " | Seventh @0,0 16"
        << QStringList{" |  |  | ",
                       " | STAGE 2 @0,0 16 |  | ",
                       " |  |  | Landing/Control/ Course",
                       " | BEST @37,0 16 | 4200 |    4200/      0/      0",
                       " | 2nd @37,0 16 | 0 |       0/      0/      0",
                       " | 3rd @37,0 16 | 0 |       0/      0/      0",
                       " | 4th @37,0 16 | 0 |       0/      0/      0",
                       " | 5th @37,0 16 | 0 |       0/      0/      0",
                       " |  |  | ",
                       " |  |  | "};
    QTest::newRow("total of player 2") << 6 << 2 << "SCORE ATTACK RESULT"
                                       << " | ニ号 @0,0 16"
                                       << QStringList{" |  |  | ",
                                                      " |   TOTAL @0,0 16 | 46800 | ",
                                                      " |  |  | Landing/Control/ Course",
                                                      " | STAGE 1 @0,0 16 | 600 |     100/    200/    300",
                                                      " | STAGE 2 @0,0 16 | 0 |       0/      0/      0",
                                                      " | STAGE 3 @0,0 16 | 46500 |   12000/  34500/      0",
                                                      " | STAGE 4 @0,0 16 | -644245094400 | "
                                                      "-214748364800/-214748364800/-214748364800",
                                                      " | STAGE 5 @0,0 16 | 644245094100 | "
                                                      "214748364700/214748364700/214748364700",
                                                      " |  |  | ",
                                                      " |  |  | "};
  }

  // Guards against a view that reads the wrong entry, player, stage, place or criterion, sums in 32
  // bits, leaves something of the view before it (each view is drawn over another one here), or
  // prints in the wrong box, place or size.
  void views() {
    QFETCH(int, view);
    QFETCH(int, player);
    Ranking ranking;
    Form3& form = ranking.form();
    form.Combo1.SetListIndex(player);
    // Each view is drawn over the other kind, which left the most behind.
    if (view == 0) {
      form.Combo1_Click();
      form.Option7_Click();
    } else if (view == 6) {
      form.Option6_Click();
    } else {
      form.ShowAttackStage(view);
    }

    QTEST(Text(form.Label2.Caption()), "title");
    QTEST(Text(form.Label6.Caption()) + " | " + Printed(form.Picture2), "heading");
    QStringList rows;
    for (size_t row = 0; row < 10; ++row) rows << Row(form, row);
    QTEST(rows, "rows");
    for (const PictureControl* box :
         {&form.Picture2, &form.Picture1[0], &form.Picture1[1], &form.Picture1[3]})
      for (const PrintedText& print : box->Printed())
        QVERIFY(print.font == (FontSpec{"ＭＳ Ｐゴシック", print.font.points, true, false}));
  }

  void colours_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<Rgb>>("colours");  // Label2, Label7 (normal view only), Label5, Label4, Picture1
    const Rgb Red = MakeRgb(255, 0, 0), Green = MakeRgb(0, 255, 0), Yellow = MakeRgb(255, 255, 0);
    QTest::newRow("normal, first row") << 0 << 0 << QList<Rgb>{Yellow, Red, Red, Green, Yellow};
    QTest::newRow("normal, second row") << 0 << 1
                                        << QList<Rgb>{Yellow, MakeRgb(255, 25, 25), MakeRgb(255, 25, 25),
                                                      MakeRgb(25, 255, 25), MakeRgb(255, 255, 25)};
    QTest::newRow("normal, last row") << 0 << 9
                                      << QList<Rgb>{Yellow, MakeRgb(255, 225, 225), MakeRgb(255, 225, 225),
                                                    MakeRgb(225, 255, 225), MakeRgb(255, 255, 225)};
    QTest::newRow("stage, stage heading row")
        << 4 << 1 << QList<Rgb>{Red, MakeRgb(255, 25, 25), MakeRgb(25, 255, 25), Yellow};
    QTest::newRow("stage, column heading row")
        << 4 << 2 << QList<Rgb>{Red, Red, MakeRgb(50, 255, 50), MakeRgb(255, 255, 50)};
    QTest::newRow("stage, best") << 4 << 3 << QList<Rgb>{Red, Red, Green, Yellow};
    QTest::newRow("stage, 2nd") << 4 << 4
                                << QList<Rgb>{Red, MakeRgb(255, 100, 100), MakeRgb(100, 255, 100),
                                              MakeRgb(255, 255, 100)};
    QTest::newRow("stage, 5th") << 4 << 7
                                << QList<Rgb>{Red, MakeRgb(255, 175, 175), MakeRgb(175, 255, 175),
                                              MakeRgb(255, 255, 175)};
    QTest::newRow("total, heading row") << 6 << 1 << QList<Rgb>{Red, Red, Green, MakeRgb(255, 255, 255)};
    QTest::newRow("total, last row") << 6 << 9 << QList<Rgb>{Red, Red, Green, Yellow};
  }

  // Guards against a wrong gradient step, a colour given to the wrong control or row, or a stage or
  // total view that keeps the normal view's colours.
  void colours() {
    QFETCH(int, view);
    QFETCH(int, row);
    QFETCH(QList<Rgb>, colours);
    Ranking ranking;
    Form3& form = ranking.form();
    if (view == 6)
      form.Option6_Click();
    else if (view != 0)
      form.ShowAttackStage(view);
    const auto at = static_cast<size_t>(row);
    const PictureControl& box = form.Picture1[at];
    QList<Rgb> seen{form.Label2.ForeColor(), form.Label5[at].ForeColor(), form.Label4[at].ForeColor(),
                    box.Printed().empty() ? box.ForeColor() : box.Printed().front().colour};
    if (view == 0) seen.insert(1, form.Label7[at].ForeColor());
    QCOMPARE(seen, colours);
    if (view == 0) QCOMPARE(form.Label6.ForeColor(), MakeRgb(255, 0, 0));
  }

  void nameFitting_data() {
    // The stand-in measure at 9 pt bold: 7 pixels a half-width character, 13 a full-width one.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a name that fits") << "天狗ラーメン"
                                      << "天狗ラーメン";
    QTest::newRow("exactly 96 pixels") << "ＡＢabcdefghij"
                                       << "ＡＢabcdefghij";
    QTest::newRow("97 pixels and more lose characters") << "ＡＢabcdefghijk"
                                                        << "ＡＢabcdefghij";
    QTest::newRow("sixteen full-width characters") << "あいうえおかきくけこさしすせそた"
                                                   << "あいうえおかき";
    QTest::newRow("sixteen half-width characters") << "ABCDEFGHIJKLMNOP"
                                                   << "ABCDEFGHIJKLM";
    QTest::newRow("no name") << ""
                             << "";
  }

  // Guards against a name cut before it needs to be, not cut enough, or cut inside a character.
  void nameFitting() {
    QFETCH(QString, name);
    Ranking ranking;
    ranking.module1.NormalNames[4] = name.toStdString();
    Form3& form = ranking.form();
    QFETCH(QString, shown);
    QCOMPARE(Printed(form.Picture1[4]), shown + " @0,5 9");
  }

  void headingFitting_data() {
    // The stand-in measure at 16 pt bold: 11.67 pixels a half-width character, 22.33 a full-width one.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ten full-width characters fit") << "あいうえおかきくけこ"
                                                   << "あいうえおかきくけこ @0,0 16";
    QTest::newRow("exactly 224 pixels") << "あいうえおかきくけAB"
                                        << "あいうえおかきくけAB @0,0 16";
    QTest::newRow("225 pixels: smaller and lower, not cut") << "あいうえおかきくABCD"
                                                            << "あいうえおかきくABCD @0,5 9";
    QTest::newRow("a free place") << ""
                                  << " @0,0 16";
    QTest::newRow("sixteen full-width characters, not cut") << "あいうえおかきくけこさしすせそた"
                                                            << "あいうえおかきくけこさしすせそた @0,5 9";
  }

  // Guards against a long player name cut, drawn at 16 pt past its box, or not moved down at 9 pt,
  // and against a short one drawn small.
  void headingFitting() {
    QFETCH(QString, name);
    Ranking ranking;
    ranking.module1.PlayerNames[2] = name.toStdString();
    Form3& form = ranking.form();
    form.Option6_Click();
    QTEST(Printed(form.Picture2), "shown");
    form.ShowAttackStage(1);
    QTEST(Printed(form.Picture2), "shown");
  }

  // Guards against an opening that lists the players wrongly, is set to another player, does not end
  // on the normal view with "戻る" holding the keyboard, or a list change that keeps the old player,
  // the old view, or the small heading of a long name shown before.
  void openingAndPlayerChange() {
    Ranking ranking;
    ranking.module1.PlayerNames[2] = "あいうえおかきくけこさしすせそた";
    Form3& form = ranking.form();
    QCOMPARE(form.Combo1.Items(), (std::vector<std::string>{"Ace", "", "あいうえおかきくけこさしすせそた", "",
                                                            "", "", "", "Seventh"}));
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

  // Guards against a way back that leaves the play screen as it was, the menu hidden or without the
  // keyboard, or the ranking window still loaded.
  void back() {
    Ranking ranking;
    ranking.module1.GameMode = 4;
    Form1& form1 = ranking.game.form1;
    form1.Label4.SetCaption("GO!!");
    ranking.module1.LandingPoints[3] = 7;
    ranking.form().Command1_Click();
    QCOMPARE(Text(form1.Label4.Caption()), "Morvane-Tesk");
    QCOMPARE(ranking.module1.LandingPoints[3], 0);
    QVERIFY(ranking.game.form2.Visible() && ranking.game.form2.Active());
    QVERIFY(ranking.game.form2.Option1.HasFocus());
    QVERIFY(!ranking.game.Form3Loaded());
  }

  // Guards against the end of a ranked normal run that does not open this window on the normal
  // ranking with the new entry in its place and the old ones moved down.
  void rankedRunOpensNormalView() {
    Ranking ranking;
    QTemporaryDir folder;
    Module1& module1 = ranking.module1;
    module1.AppFolder = folder.path().toStdString() + "/";
    module1.NormalScores[1] = {1000, 1000, 1000, 1000, 1000};
    module1.NormalScores[2] = {900, 900, 900, 900, 900};
    for (size_t entry = 0; entry < 10; ++entry)
      module1.NormalTotals[entry] = 5000 - 100 * static_cast<int>(entry);
    module1.RunStageScores = {0, 950, 950, 950, 950, 951};
    ranking.game.form1.RankResult = 3;
    module1.PromptState = 5;
    ranking.platform.inputAnswers = {"新人"};
    QVERIFY(!ranking.game.Form3Loaded());
    ranking.game.form4.Command1_Click();

    QVERIFY(QFile::exists(folder.filePath("MTScore.dat")));
    QVERIFY(ranking.game.Form3Loaded());
    Form3& form = ranking.form();
    QVERIFY(form.Visible() && form.Active() && form.Option7.Value());
    QCOMPARE(Row(form, 1), "2 | ＡＢＣＤＥＦＧ @0,5 9 | 500000 | 100000/100000/100000/100000/100000");
    QCOMPARE(Row(form, 2), "3 | 新人 @0,5 9 | 475100 |  95000/ 95000/ 95000/ 95000/ 95100");
    QCOMPARE(Row(form, 3), "4 |  @0,5 9 | 450000 |  90000/ 90000/ 90000/ 90000/ 90000");
  }
};

QTEST_GUILESS_MAIN(Form3Test)
#include "tst_form3.moc"
