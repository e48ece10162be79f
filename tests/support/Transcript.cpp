// Whole games as transcripts.
//
// Steps: set TABLE INDEX... = VALUES (NormalScores E|all, AttackScores P K, PlayerNames P, NormalTotals
// all, LandingPoints all, RunStageScores, and the single numbers PlayerIndex Stage GameMode TotalScore
// RankResult PromptState); label NAME = TEXT (a label of the play screen); answer [TEXT]; choose
// normal|attack|scores; super on|off; stage N [unclicked]; memo on|off; START; exit; close menu; land;
// clear N stages (land, then OK and GO!! on each); press; 終; show prompt; close prompt; register; row N;
// player START; double-click; player back; close player select; ranking back; close ranking; name entry;
// init; crash; picture N; reset. Facts: the keys of Facts() below.
#include "tests/support/Transcript.h"

#include <QMap>
#include <QStringList>
#include <QtDebug>
#include <QtEndian>
#include <functional>
#include <memory>

#include "flight/ResetPlayScreen.h"
#include "resources/Resources.h"
#include "tests/support/Files.h"
#include "tests/support/Fixtures.h"

namespace {

QString Shown(const std::string& text) { return Text(text).replace("\r\n", "\\r\\n"); }

template <typename Values>
QString Numbers(const Values& values) {
  QStringList numbers;
  for (const auto value : values) numbers << QString::number(value);
  return numbers.join(' ');
}

QString Window(const FormModel& form) {
  return QString(form.Visible() ? "shown" : "hidden") + (form.Active() ? " active" : "");
}

// The score file's records as a reader of its layout sees them: name length and code page 932
// bytes, then the integers (a player's as INDEX=VALUE where not 0).
void FileFacts(const QByteArray& file, QMap<QString, QString>& facts) {
  qsizetype at = 0;
  const auto byte = [&](qsizetype i) { return i < file.size() ? uint8_t(file[i]) : 0; };
  const auto record = [&](int integers, bool player) {
    const int length = byte(at++);
    const qsizetype start = at;
    for (int i = 0; i < length; ++i) {
      const auto lead = byte(at);
      at += (lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc) ? 2 : 1;
    }
    QStringList fields{QString::number(length)};
    if (length) fields << file.mid(start, at - start).toHex();
    for (int i = 0; i < integers; ++i, at += 4) {
      const int32_t value = at + 4 <= file.size() ? qFromLittleEndian<int32_t>(file.constData() + at) : 0;
      if (!player)
        fields << QString::number(value);
      else if (value != 0)
        fields << QStringLiteral("%1=%2").arg(i).arg(value);
    }
    return fields.join(' ');
  };
  for (int player = 0; player < 8; ++player)
    facts[QStringLiteral("file player %1").arg(player)] = record(75, true);
  for (int entry = 0; entry < 10; ++entry)
    facts[QStringLiteral("file entry %1").arg(entry)] = record(5, false);
  facts["file size"] = QString::number(file.size());
}

QString Printed(const PictureControl& box) {
  QStringList prints;
  for (const PrintedText& print : box.Printed()) prints << Text(print.text);
  return prints.join(" + ");
}

QString N(int64_t number) { return QString::number(number); }
QString Hex(Rgb colour) {
  return colour == SystemColour::WindowText ? QStringLiteral("desktop-text")
                                            : QStringLiteral("%1").arg(colour, 6, 16, QChar('0'));
}

QMap<QString, QString> Facts(GameFixture& s, bool ended) {
  Form1& form1 = s.form1;
  Module1& m = s.module1;
  const Form2& menu = s.menu;
  const Form4& prompt = s.prompt;
  QMap<QString, QString> facts;
  facts["prompt"] =
      QStringList{Window(prompt), Shown(prompt.Label1.Caption()), Shown(prompt.Command1.Caption()),
                  QString("終 ") + (prompt.Command2.Visible() ? "shown" : "hidden") +
                      (prompt.Command2.Enabled() ? "" : " disabled")}
          .join(" | ");
  facts["menu"] = Window(menu);
  facts["menu choices"] =
      QStringList{menu.Option1.Value()   ? "normal"
                  : menu.Option2.Value() ? "attack"
                                         : "scores",
                  "SUPER " + N(menu.Check1.Value()), Text(menu.Combo1.Text()),
                  "memo " + N(menu.Check2.Value()),
                  "usable " + N(menu.Check1.Enabled()) + N(menu.Combo1.Enabled()) + N(menu.Check2.Enabled())}
          .join(" | ");
  facts["play screen"] = QStringList{Shown(form1.Label4.Caption()), Shown(form1.Label1.Caption()),
                                     Shown(form1.Label7.Caption()), Shown(form1.Label6.Caption())}
                             .join(" | ");
  facts["mode caption"] = Shown(form1.Label5.Caption()) + " | " + Hex(form1.Label5.ForeColor());
  QStringList values, headings;
  for (size_t i = 0; i < 8; ++i)
    values << Shown(form1.Label3[i].Caption()), headings << Shown(form1.Label3[8 + i].Caption());
  facts["list"] = values.join(" / ");
  facts["headings"] = headings.join(" / ");
  const ShapeControl& ship = form1.Ship;
  facts["ship"] = QString(ship.Visible() ? "shown " : "hidden ") +
                  (ship.Shape() == ShapeKind::Square ? "square " : "circle ") + N(ship.Width()) + "x" +
                  N(ship.Height()) + " " + Hex(ship.BorderColor()) + " on " + Hex(ship.FillColor()) + " at " +
                  N(ship.Left()) + "," + N(ship.Top());
  for (int id = 100; id <= 105; ++id) {
    Bitmap padded = LoadPicture(id);
    padded.FillBox(171, 100, 196, 101, MakeRgb(255, 255, 0));
    if (form1.Picture() == LoadPicture(id)) facts["picture"] = N(id);
    if (form1.Picture() == padded) facts["picture"] = N(id) + " with the pad";
  }
  facts["state"] =
      QStringList{"GameMode " + N(m.GameMode), "Stage " + N(m.Stage), "PromptState " + N(m.PromptState),
                  "PlayerIndex " + N(m.PlayerIndex), "AutoMemo " + N(m.AutoMemo)}
          .join(" | ");
  facts["results"] =
      QStringList{"RankResult " + N(form1.RankResult), "HighScoreUpdated " + N(form1.HighScoreUpdated),
                  "TotalScore " + N(form1.TotalScore), "HighScore " + N(m.HighScore),
                  "OtherStagesBest " + N(m.OtherStagesBest)}
          .join(" | ");
  facts["LandingPoints"] = Numbers(m.LandingPoints);
  facts["RunStageScores"] = Numbers(m.RunStageScores);
  facts["NormalTotals"] = Numbers(m.NormalTotals);
  facts["AttackBest"] = Numbers(m.AttackBest);
  QStringList messages, boxes, sounds;
  for (const auto& message : s.platform.messages)
    messages << Shown(message.text) + (message.icon == MessageIcon::Exclamation ? "(!)/" : "/") +
                    Text(message.title);
  for (const auto& box : s.platform.inputRequests)
    boxes << Text(box.title) + ": " + Shown(box.prompt) + " [" + Text(box.defaultText) + "]";
  for (const std::string& sound : s.platform.sounds)
    sounds << (sound.empty() ? "stop" : Text(sound).section('/', -1));
  facts["messages"] = messages.join(" | ");
  facts["input boxes"] = boxes.join(" | ");
  facts["sounds"] = sounds.join(" ");
  facts["memo"] = Shown(s.Read("MTSCmemo.txt").toStdString());
  FileFacts(s.Read("MTScore.dat"), facts);
  const bool ranking = s.game.Form3Loaded(), select = s.game.Form5Loaded();
  QStringList active;  // the windows that have the keys: one, or none once the program ended
  for (const auto& [window, name] : {std::pair<const FormModel*, const char*>{&menu, "menu"},
                                     {&prompt, "prompt"},
                                     {&form1, "play screen"},
                                     {ranking ? &s.game.form3() : nullptr, "ranking"},
                                     {select ? &s.game.form5() : nullptr, "player select"}})
    if (window && window->Active()) active << name;
  facts["keys"] = active.join(" + ");
  facts["ended"] = ended ? "yes" : "no";
  facts["yields"] = N(s.platform.yields);
  facts["ranking"] = facts["player select"] = "not loaded";
  if (ranking) {
    Form3& form3 = s.game.form3();
    facts["ranking"] = Window(form3) + (form3.Option7.Value() ? " | normal view" : "");
    for (size_t row = 0; row < 10; ++row)
      facts["ranking row " + N(row + 1)] =
          Printed(form3.Picture1[row]) + " | " + Text(form3.Label4[row].Caption());
  }
  if (select) {
    const Form5& form5 = s.game.form5();
    facts["player select"] = Window(form5) + " | " + N(form5.List1.ListCount()) + " rows | row " +
                             N(form5.List1.ListIndex()) + " | START " +
                             (form5.Command2.HasFocus() ? "has the keys" : "without the keys");
  }
  return facts;
}

// Does one step; false when it is no step a transcript may take.
bool Step(GameFixture& s, const QString& step, bool& ended, bool& closed) {
  const QStringList words = step.split(' ', Qt::SkipEmptyParts);
  const QString rest = step.section(' ', 1);
  const QString value = step.section(" = ", 1);
  Module1& m = s.module1;
  Form2& menu = s.menu;
  const auto ending = [&](const std::function<void()>& act) {
    try {
      act();
    } catch (const ScriptedPlatform::ProgramEnded&) {
      ended = true;
    }
  };
  if (words[0] == "set") {
    const QList<int> numbers = [&] {
      QList<int> list;
      for (const QString& number : value.split(' ', Qt::SkipEmptyParts)) list << number.toInt();
      return list;
    }();
    const QString table = words[1];
    if (table == "NormalScores") {
      for (int e = 0; e < 10; ++e)
        if (words[2] == "all" || words[2].toInt() == e)
          for (int stage = 0; stage < 5; ++stage) m.NormalScores[e][stage] = numbers[stage];
    } else if (table == "AttackScores") {
      for (qsizetype i = 0; i < numbers.size(); ++i)
        m.AttackScores[words[2].toInt()][words[3].toInt() + i] = numbers[i];
    } else if (table == "PlayerNames") {
      m.PlayerNames[words[2].toInt()] = value.toStdString();
    } else if (table == "NormalTotals" || table == "LandingPoints") {
      (table == "NormalTotals" ? m.NormalTotals : m.LandingPoints).fill(numbers[0]);
    } else if (table == "RunStageScores") {
      for (int i = 0; i < 6; ++i) m.RunStageScores[i] = numbers[i];
    } else {
      const QMap<QString, int32_t*> single{
          {"PlayerIndex", &m.PlayerIndex},     {"Stage", &m.Stage},
          {"GameMode", &m.GameMode},           {"TotalScore", &s.form1.TotalScore},
          {"RankResult", &s.form1.RankResult}, {"PromptState", &m.PromptState}};
      if (!single.contains(table)) return false;
      *single[table] = numbers[0];
    }
  } else if (words[0] == "label") {
    const QMap<QString, LabelControl*> labels{
        {"Label1", &s.form1.Label1}, {"Label4", &s.form1.Label4}, {"Label5", &s.form1.Label5},
        {"Label6", &s.form1.Label6}, {"Label7", &s.form1.Label7}, {"Label3(15)", &s.form1.Label3[15]}};
    if (!labels.contains(words[1])) return false;
    labels[words[1]]->SetCaption(value.toStdString());
  } else if (words[0] == "answer") {
    s.platform.inputAnswers.push_back(rest.toStdString());
  } else if (words[0] == "choose") {
    s.Choose(rest == "normal" ? menu.Option1 : rest == "attack" ? menu.Option2 : menu.Option3);
  } else if (words[0] == "super") {
    menu.Check1.SetValue(rest == "on" ? 1 : 0);
    menu.Check1_Click();
  } else if (words[0] == "stage") {
    menu.Combo1.SetListIndex(words[1].toInt() - 1);
    if (words.size() == 2) menu.Combo1_Click();
  } else if (words[0] == "memo") {
    menu.Check2.SetValue(rest == "on" ? 1 : 0);
  } else {
    const std::map<QString, std::function<void()>> steps{
        {"START", [&] { menu.Command1_Click(); }},
        {"exit", [&] { ending([&] { menu.Command2_Click(); }); }},
        {"close menu", [&] { ending([&] { menu.QueryUnload(); }); }},
        {"land", [&] { s.NextFlightLands(); }},
        {"press", [&] { s.PressPrompt(); }},
        {"終", [&] { s.prompt.Command2_Click(); }},
        {"close prompt", [&] { closed = s.prompt.QueryUnload(); }},
        {"show prompt", [&] { s.prompt.Show(); }},
        {"register", [&] { s.game.form5().Command1_Click(); }},
        {"player START", [&] { s.game.form5().Command2_Click(); }},
        {"double-click", [&] { s.game.form5().List1_DblClick(); }},
        {"player back", [&] { s.game.form5().Command3_Click(); }},
        {"close player select", [&] { s.game.form5().QueryUnload(); }},
        {"ranking back", [&] { s.game.form3().Command1_Click(); }},
        {"close ranking", [&] { s.game.form3().QueryUnload(); }},
        {"name entry", [&] { s.form1.LankinNormal(); }},
        {"init", [&] { s.form1.GameInit(); }},
        {"crash",
         [&] {
           s.form1.Ship.Move(180, 98);
           s.form1.LandingFailed();
         }},
        {"reset", [&] { ResetPlayScreen(s.form1, m); }},
    };
    if (words[0] == "clear" && words.size() == 3 && words[2] == "stages") {
      for (int stage = 0; stage < words[1].toInt(); ++stage)
        s.NextFlightLands(), s.PressPrompt(), s.PressPrompt();
    } else if (words[0] == "row") {
      s.game.form5().List1.SetListIndex(words[1].toInt());
    } else if (words[0] == "picture") {
      s.form1.SetPicture(words[1].toInt());
    } else if (const auto found = steps.find(step); found != steps.end()) {
      found->second();
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

bool PlayTranscript(const QString& name) {
  auto game = std::make_unique<GameFixture>();
  bool ended = false, closed = true, held = true;
  int number = 0;
  for (const QString& line : QString::fromUtf8(Fixture("games/" + name)).split('\n')) {
    ++number;
    if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
    if (line.startsWith("=== ")) {  // another game in the same file, from a fresh start
      game = std::make_unique<GameFixture>();
      ended = false;
      closed = true;
      continue;
    }
    GameFixture& s = *game;
    if (line.startsWith("> ")) {
      if (!Step(s, line.mid(2).trimmed(), ended, closed)) {
        qWarning().noquote() << name << "line" << number << ": no such step:" << line;
        return false;
      }
      // For writing a transcript: every fact after every step.
      if (qEnvironmentVariableIsSet("MORVANE_SHOW_FACTS")) {
        const QMap<QString, QString> facts = Facts(s, ended);
        qInfo().noquote() << line;
        for (auto fact = facts.begin(); fact != facts.end(); ++fact)
          qInfo().noquote() << fact.key() + ": " + fact.value();
      }
      continue;
    }
    const QString key = line.section(':', 0, 0), want = line.section(':', 1).trimmed();
    QMap<QString, QString> facts = Facts(s, ended);
    facts["prompt closes"] = closed ? "yes" : "no";
    if (!facts.contains(key)) {
      qWarning().noquote() << name << "line" << number << ": no such fact:" << key;
      return false;
    }
    if (facts[key].trimmed() != want) {
      qWarning().noquote() << name << "line" << number << key << "\n  expected:" << want
                           << "\n  shown:   " << facts[key];
      held = false;
    }
  }
  return held;
}
