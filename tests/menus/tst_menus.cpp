// The main menu's previews and the player select's registration, as tables under tests/fixtures
// (START in each mode, the player rows and the exit are played in tests/fixtures/games).
#include <QTest>

#include "resources/Resources.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Table.h"

namespace {

QString Messages(const ScriptedPlatform& platform) {
  QStringList shown;
  for (const auto& message : platform.messages)
    shown << Text(message.text) + (message.icon == MessageIcon::Exclamation ? "(!)" : "") + "/" +
                 Text(message.title);
  return shown.join("|");
}

}  // namespace

class TestMenus : public QObject {
  Q_OBJECT

 private slots:
  void choicePreviewsOnPlayScreen_data() {
    RowsFromFixture("menu-previews.txt",
                    {"path", "super", "stageItem", "enabled", "picture", "caption", "colour"});
  }
  void choicePreviewsOnPlayScreen() {
    // Guards against a dependent control usable in the wrong mode, or a preview that shows another
    // stage or mode than the one that START will play.
    QFETCH(QString, path);
    QFETCH(QString, super);
    QFETCH(QString, stageItem);
    QFETCH(QString, picture);
    QFETCH(QString, colour);
    GameFixture s;
    Form2& menu = s.menu;
    QVERIFY(menu.Option1.HasFocus());  // the first control that takes the keyboard
    for (int option : Numbers(path)) {
      s.Choose(option == 1 ? menu.Option1 : option == 2 ? menu.Option2 : menu.Option3);
      if (option != 2) continue;
      menu.Check1.SetValue(super == "y" ? 1 : 0);
      if (super == "y") menu.Check1_Click();
      menu.Combo1.SetListIndex(stageItem.toInt());
      menu.Combo1_Click();
    }
    QTEST(QString::number(menu.Check1.Enabled()) + QString::number(menu.Combo1.Enabled()) +
              QString::number(menu.Check2.Enabled()),
          "enabled");
    QVERIFY(s.form1.Picture() == LoadPicture(picture.toInt()));
    QTEST(Text(s.form1.Label5.Caption()), "caption");
    QCOMPARE(s.form1.Label5.ForeColor(), colour.toUInt(nullptr, 16));
  }

  void registration_data() {
    RowsFromFixture("registrations.txt", {"registered", "answers", "stored", "bytes", "messages"});
  }
  void registration() {
    // Guards against a name limit counted wrongly, a cancelled or refused name that is stored, a
    // ninth player, or a registration that is not saved and selected at once.
    QFETCH(QString, registered);
    QFETCH(QString, answers);
    QFETCH(QString, stored);
    QFETCH(QString, bytes);
    const int players = registered.toInt();
    const QStringList typed = answers.isEmpty() ? QStringList() : answers.split('/');
    GameFixture s;
    for (int slot = 0; slot < players; ++slot)
      s.module1.PlayerNames[size_t(slot)] = "Same";       // duplicates are fine
    s.module1.AttackScores[size_t(players % 8)][0] = 77;  // a free slot keeps its values
    for (const QString& answer : typed) s.platform.inputAnswers.push_back(answer.toStdString());
    s.Choose(s.menu.Option2);
    s.menu.Command1_Click();
    Form5& select = s.game.form5();
    const QByteArray file = s.Read("MTScore.dat");
    ScoreTables expected = s.module1;
    select.Command1_Click();
    QTEST(Messages(s.platform), "messages");
    for (size_t i = 0; i < s.platform.inputRequests.size(); ++i) {
      const auto& request = s.platform.inputRequests[i];
      QCOMPARE(Text(request.prompt), (i ? QStringLiteral("新規プレイヤーの名前を入力してください")
                                        : QStringLiteral("新規プレイヤーの名前を入れてください")) +
                                         "\r\n（16文字まで、漢字もOK）");
      QCOMPARE(Text(request.title) + "|" + Text(request.defaultText),
               "プレイヤー登録|" + (i ? typed[qsizetype(i - 1)] : ""));
    }
    if (!stored.isEmpty()) expected.PlayerNames[size_t(players)] = stored.toStdString();
    QVERIFY(static_cast<const ScoreTables&>(s.module1) == expected);
    QCOMPARE(s.module1.PlayerIndex, stored.isEmpty() ? 0 : players);
    QCOMPARE(select.List1.ListCount(), 8);
    QCOMPARE(Text(select.List1.Text()), stored.isEmpty() ? (players ? "Same" : "") : stored);
    QVERIFY(select.Command2.HasFocus());
    // Saved at once: the players in their slots, the new one's free slot keeping its 77.
    QByteArray saved;
    for (int slot = 0; slot < 8; ++slot)
      saved += slot < players ? PlayerRecord(4, "53616d65")
               : slot == players && !stored.isEmpty()
                   ? PlayerRecord(int(stored.size()), bytes.toLatin1().constData(), {{0, 77}})
                   : PlayerRecord(0, "", {{0, slot == players % 8 ? 77 : 0}});
    QCOMPARE(s.Read("MTScore.dat").toHex(' '), (stored.isEmpty() ? file : saved + file.mid(2408)).toHex(' '));
  }
};

QTEST_APPLESS_MAIN(TestMenus)
#include "tst_menus.moc"
