// A game as a player drives it, headless: the window models on the scripted platform, started in a
// fresh program folder, with flights that land or crash as the test asks.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFileCodec.h"
#include "app/AppStart.h"
#include "app/Game.h"

struct Session {
  QTemporaryDir folder;
  ScriptedPlatform platform;
  Game game{platform};
  Module1& module1 = game.module1;
  Form1& form1 = game.form1;
  Form2& menu = game.form2;
  Form4& prompt = game.form4;

  Session() {
    platform.programFolder = folder.path().toStdString();
    platform.keyDownHandler = [this](int) { form1.Form_KeyDown(); };
    AppStart(game);
  }

  // The next flight goes down at 28 degrees, levels to 17 at its 81st tick and touches down just
  // beyond the pad: a landing on every stage (stage 1 2305, 2 2273, 3 2596, 4 2472, 5 2415).
  void NextFlightLands() {
    const long first = platform.yields + 1;
    platform.PressAt(first, VirtualKey::Down);
    platform.PressAt(first, VirtualKey::Down);
    platform.PressAt(first + 80, VirtualKey::Up);
  }

  // The player moves to `option` with the mouse or the arrow keys: it is switched on and takes the
  // keyboard, which runs its GotFocus handler.
  void Choose(OptionControl& option) {
    option.SetValue(true);
    option.SetFocus();
  }

  // The stage prompt's main button, as Enter presses it.
  void PressPrompt() { prompt.Command1_Click(); }

  QString PromptText() const { return QString::fromStdString(prompt.Label1.Caption()); }
  QString PromptButton() const { return QString::fromStdString(prompt.Command1.Caption()); }

  QString FilePath(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
  QByteArray ReadFile(const char* name) const {
    QFile file(FilePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // What a save of `tables` leaves in place of `before`: the new records, then any old bytes
  // beyond them.
  static QByteArray SavedOver(const QByteArray& before, const ScoreTables& tables) {
    const std::vector<uint8_t> encoded = EncodeScoreFile(tables);
    QByteArray bytes(reinterpret_cast<const char*>(encoded.data()), qsizetype(encoded.size()));
    if (before.size() > bytes.size()) bytes += before.mid(bytes.size());
    return bytes;
  }
};

// The tables a first start writes: no players, the ten house names with 2000 - 200 x e per stage.
inline ScoreTables DefaultTables() {
  ScoreTables tables;
  const char* names[] = {"てんぷ亭", "かつや",       "こづちや", "味濱屋",   "万人屋",
                         "一心寿司", "天狗ラーメン", "担々麺屋", "まるしん", "東横"};
  for (int entry = 0; entry < 10; ++entry) {
    tables.NormalNames[entry] = names[entry];
    tables.NormalScores[entry].fill(2000 - 200 * entry);
  }
  return tables;
}
