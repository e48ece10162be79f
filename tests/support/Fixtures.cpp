// The test fixtures.
#include "tests/support/Fixtures.h"

#include <cstdlib>

#include "app/AppStart.h"
#include "app/qt/Program.h"
#include "tests/support/Files.h"

ModuleFixture::ModuleFixture() {
  platform.programFolder = Path();
  module1.AppFolder = Path() + "/";
}

QByteArray ModuleFixture::Read(const QString& name) const { return ReadBytes(File(name)); }

GameFixture::GameFixture(Start start) {
  platform.programFolder = folder.path().toStdString();
  platform.keyDownHandler = [this](int) { form1.Form_KeyDown(); };
  if (start == Start::Started) {
    AppStart(game);
  } else {
    module1.AppFolder = platform.programFolder + "/";
  }
}

QByteArray GameFixture::Read(const QString& name) const { return ReadBytes(File(name)); }

void GameFixture::NextFlightLands() {
  const long first = platform.yields + 1;
  platform.PressAt(first, VirtualKey::Down);
  platform.PressAt(first, VirtualKey::Down);
  platform.PressAt(first + 80, VirtualKey::Up);
}

void GameFixture::Choose(OptionControl& option) {
  option.SetValue(true);
  option.SetFocus();
}

void GameFixture::KeyEvent(const QList<int>& keys) {
  for (int key : keys) platform.keys.Press(std::abs(key));
  form1.Form_KeyDown();
  for (int key : keys)
    if (key > 0) platform.keys.Release(key);
}

void GameFixture::TouchDown(double x, int angle, int control) {
  form1.ShipX = x;
  form1.ShipY = 98;
  form1.DescentAngle = angle;
  form1.SoftnessPoints = 10;
  form1.ControlPoints = control;
  form1.CoursePoints = 50;
  form1.Ship.Move(static_cast<int>(x), 98);
  form1.LandingTest();
}

ProgramFixture::ProgramFixture()
    : program([this] {
        platform.programFolder = folder.path().toStdString();
        return std::make_unique<Program>(platform);
      }()),
      game(program->game) {
  platform.keyDownHandler = [this](int) { game.form1.Form_KeyDown(); };
  program->Start();
}

ProgramFixture::~ProgramFixture() = default;

ScoreTables DefaultTables() {
  ScoreTables tables;
  const char* names[] = {"てんぷ亭", "かつや",       "こづちや", "味濱屋",   "万人屋",
                         "一心寿司", "天狗ラーメン", "担々麺屋", "まるしん", "東横"};
  for (int entry = 0; entry < 10; ++entry) {
    tables.NormalNames[entry] = names[entry];
    tables.NormalScores[entry].fill(2000 - 200 * entry);
  }
  return tables;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }
