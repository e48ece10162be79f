// The test fixtures, one family: a program folder of the test's own with the scripted platform and
// the module state; then with the whole game's window models; then with the program's Qt windows.
#pragma once

#include <QTemporaryDir>
#include <memory>

#include "app/Game.h"
#include "platform/ScriptedPlatform.h"
#include "shell/Module1.h"

class Program;

// A fresh program folder, the scripted platform pointed at it, and the module state with AppFolder
// set (nothing on disk yet).
struct ModuleFixture {
  QTemporaryDir folder;
  ScriptedPlatform platform;
  Module1 module1{platform};

  ModuleFixture();
  QString File(const QString& name) const { return folder.filePath(name); }
  QByteArray Read(const QString& name) const;
  std::string Path() const { return folder.path().toStdString(); }
};

// The game's window models in a fresh program folder, steering keys delivered to the play screen;
// started as the player sees it (AppStart) unless asked not to.
struct GameFixture {
  enum class Start { Started, NotStarted };
  explicit GameFixture(Start start = Start::Started);

  QTemporaryDir folder;
  ScriptedPlatform platform;
  Game game{platform};
  Module1& module1 = game.module1;
  Form1& form1 = game.form1;
  Form2& menu = game.form2;
  Form4& prompt = game.form4;

  QString File(const QString& name) const { return folder.filePath(name); }
  QByteArray Read(const QString& name) const;

  // The next flight goes down at 28 degrees, levels to 17 at its 81st tick and touches down just
  // beyond the pad: a landing on every stage (stage 1 2305, 2 2273, 3 2596, 4 2472, 5 2415).
  void NextFlightLands();
  // The player moves to `option`: it is switched on and takes the keyboard (its GotFocus runs).
  void Choose(OptionControl& option);
  // The stage prompt's main button, as Enter presses it.
  void PressPrompt() { prompt.Command1_Click(); }
  // One key-down event of the play screen with `keys` newly down (negative: held down, not new).
  void KeyEvent(const QList<int>& keys);
  // Judges a touchdown at `x` with `angle` after a flight that earned 10 / `control` / 50.
  void TouchDown(double x, int angle, int control = 1000);
};

// The program with its Qt windows over the scripted platform, started in a fresh program folder.
struct ProgramFixture {
  ProgramFixture();
  ~ProgramFixture();

  QTemporaryDir folder;
  ScriptedPlatform platform;
  std::unique_ptr<Program> program;
  Game& game;
};

// The tables a first start writes: no players, the ten house names with 2000 - 200 x e per stage.
ScoreTables DefaultTables();

QString Text(const std::string& text);
