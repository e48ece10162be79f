// The play screen Form1 without a window: stage set-up, flight loop, steering, landing judgement.
#include "flight/Form1.h"

#include <cmath>
#include <string_view>

#include "resources/Resources.h"
#include "scores/ScoreList.h"
#include "scores/ScoreNumbers.h"
#include "shell/EndProgram.h"

namespace {

// A multi-line caption: lines joined by CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

// Whole pixels for the drawn craft.
int ToPixel(double coordinate) { return static_cast<int>(std::lround(coordinate)); }

// The number in the first two characters of a course string, as the old tables were read:
// leading blanks skipped, digits up to the first other character, 0 when there are none.
int32_t CourseValue(const std::string& text) {
  std::string firstTwo = text.substr(0, 2);
  size_t position = firstTwo.find_first_not_of(' ');
  int32_t value = 0;
  for (; position < firstTwo.size() && firstTwo[position] >= '0' && firstTwo[position] <= '9'; ++position)
    value = value * 10 + (firstTwo[position] - '0');
  return value;
}

struct StageParameters {
  int32_t steerCost;
  std::array<int32_t, 3> courseGain;
  std::array<int32_t, 4> softGain;
};

StageParameters ParametersOf(int32_t stage) {
  switch (stage) {
    case 3: return {48, {37, 19, 9}, {24, 17, 9, 1}};
    case 4: return {24, {73, 47, 21}, {24, 17, 9, 1}};
    case 5: return {48, {25, 13, 5}, {33, 24, 13, 2}};
    default: return {48, {25, 13, 5}, {24, 17, 9, 1}};
  }
}

}  // namespace

Form1::Form1(Desktop& desktop, Module1& module1, PlayScreenLinks& links)
    : FormModel(desktop),
      Label1(*this, SystemColour::WindowText, SystemColour::WindowBackground),
      Label2(*this, SystemColour::WindowText, Colour::LightGrey),
      Label4(*this, Colour::Red, Colour::White),
      Label5(*this, Colour::Yellow, Colour::Black),
      Label6(*this, Colour::White, Colour::Black),
      Label7(*this, Colour::White, Colour::Black),
      Label3(ControlArray<LabelControl, 16>(*this, Colour::White, Colour::Black)),
      Ship(*this),
      module1_(module1),
      links_(links),
      picture_(LoadPicture(100)) {
  Label4.SetCaption(AppTitle);
  Ship.SetVisible(false);
  Ship.Move(static_cast<int>(Flight::StartX), static_cast<int>(Flight::StartY));
  RestoreShipLook();
}

void Form1::RestoreShipLook() {
  Ship.SetShape(ShapeKind::Square);
  Ship.SetFillColor(Colour::White);
  Ship.SetBorderColor(SystemColour::WindowText);
  Ship.SetWidth(4);
  Ship.SetHeight(4);
}

void Form1::SetPicture(int bitmapId) {
  picture_ = LoadPicture(bitmapId);
  ++pictureVersion_;
  FormChanged();
}

void Form1::DrawFilledBox(int x1, int y1, int x2, int y2, Rgb colour) {
  picture_.FillBox(x1, y1, x2, y2, colour);
  ++pictureVersion_;
  FormChanged();
}

void Form1::GameInit() {
  if (auto* view = dynamic_cast<Form1View*>(View())) view->InputMethodOff();

  switch (module1_.GameMode) {
    case 1:
      SetPicture(module1_.Stage + 100);
      for (int i = 0; i <= 3; ++i) module1_.LandingPoints[i] = 0;
      ScoreListUpNormal();
      ScoreListCaptionNormal();
      break;
    case 2:
      for (int i = 0; i <= 7; ++i) module1_.LandingPoints[i] = module1_.AttackBest[i];
      RankResult = 0;
      ScoreListUpAttack();
      ScoreListCaptionAttack();
      break;
    case 3:
      ScoreListUpNormal();
      ScoreListCaptionNormal();
      break;
    default: break;
  }

  DrawFilledBox(Flight::PadStartX, 100, Flight::PadEndX, 101, Flight::PadColour);
  Ship.Move(ToPixel(Flight::StartX), ToPixel(Flight::StartY));
  Ship.SetVisible(true);

  ShipX = Flight::StartX;
  ShipY = Flight::StartY;
  DescentAngle = 0;
  CoursePoints = 0;
  ControlPoints = Flight::StartControlPoints;
  SoftnessPoints = 0;
  EdgeBonus = 0;
  steeringLocked_ = false;

  for (int x = Flight::CourseFirstX; x <= Flight::CourseLastX; ++x)
    CourseLine[x] = module1_.Stage > 4 ? 0 : CourseValue(LoadResString(module1_.Stage * 1000 + x));

  const StageParameters parameters = ParametersOf(module1_.Stage);
  SteerCost = parameters.steerCost;
  CourseGain = parameters.courseGain;
  SoftGain = parameters.softGain;

  Label4.SetCaption("Ready...");
}

void Form1::GameMain() {
  Platform& platform = module1_.platform;
  for (;;) {
    platform.Sleep(Flight::TickPauseMs);
    platform.DoEvents();

    if (ShipX > Flight::PadEndX && ShipY <= Flight::TouchdownY) {
      steeringLocked_ = true;
      DescentAngle = 0;
      while (ShipY < Flight::TouchdownY) {
        ShipY = ShipY + 1;
        MoveShipToFlightPosition();
        platform.DoEvents();
        platform.Sleep(Flight::FallPauseMs);
      }
    }

    if (ShipY >= Flight::TouchdownY) {
      LandingTest();
      return;
    }

    ShipX = ShipX + 1;
    ShipY = std::tan(DescentAngle * Flight::DegreeFactor) + ShipY;
    if (ShipY < Flight::CeilingY) ShipY = Flight::CeilingY;
    CountCoursePoints();
    CountSoftnessPoints();
    ShowRunningPoints();
    MoveShipToFlightPosition();
  }
}

void Form1::Form_KeyDown() {
  Platform& platform = module1_.platform;
  // All four are asked every time, in this order: asking clears a key's "pressed" mark.
  constexpr int16_t PressedNow = static_cast<int16_t>(0x8001);
  const bool down = platform.GetAsyncKeyState(VirtualKey::Down) == PressedNow;
  const bool numpad2 = platform.GetAsyncKeyState(VirtualKey::Numpad2) == PressedNow;
  const bool up = platform.GetAsyncKeyState(VirtualKey::Up) == PressedNow;
  const bool numpad8 = platform.GetAsyncKeyState(VirtualKey::Numpad8) == PressedNow;
  if (steeringLocked_) return;

  if (down || numpad2) {
    ControlPoints = ControlPoints - SteerCost;
    DescentAngle = DescentAngle > 60 ? 74 : DescentAngle + 14;
  } else if (up || numpad8) {
    ControlPoints = ControlPoints - SteerCost;
    DescentAngle = DescentAngle < -49 ? -60 : DescentAngle - 11;
  }
}

void Form1::Form_Unload() {
  module1_.platform.PlaySound("", SoundFlag::Async);
  EndProgramAtOnce(module1_);
}

void Form1::MoveShipToFlightPosition() { Ship.Move(ToPixel(ShipX), ToPixel(ShipY)); }

void Form1::CountCoursePoints() {
  if (ShipX < Flight::CourseFirstX || ShipX > Flight::CourseLastX) return;
  const double h = CourseLine[ToPixel(ShipX)];
  if (h - 1 <= ShipY && ShipY <= h)
    CoursePoints = CoursePoints + CourseGain[0];
  else if (h - 2 <= ShipY && ShipY <= h + 1)
    CoursePoints = CoursePoints + CourseGain[1];
  else if (h - 3 <= ShipY && ShipY <= h + 2)
    CoursePoints = CoursePoints + CourseGain[2];
}

void Form1::CountSoftnessPoints() {
  if (ShipY < Flight::LowBandY) return;
  if (DescentAngle >= 1 && DescentAngle <= 6)
    SoftnessPoints = SoftnessPoints + SoftGain[0];
  else if (DescentAngle >= 7 && DescentAngle <= 12)
    SoftnessPoints = SoftnessPoints + SoftGain[1];
  else if (DescentAngle >= 13 && DescentAngle <= 18)
    SoftnessPoints = SoftnessPoints + SoftGain[2];
  else if (DescentAngle >= 19 && DescentAngle <= 24)
    SoftnessPoints = SoftnessPoints + SoftGain[3];
}

void Form1::ShowRunningPoints() {
  const std::string control = ControlPoints > 0 ? Hundreds(ControlPoints) : "000";
  Label1.SetCaption(Lines({Hundreds(SoftnessPoints), control, Hundreds(CoursePoints)}));
}

void Form1::LandingTest() {
  steeringLocked_ = true;
  if (ShipX == Flight::PadStartX || ShipX == Flight::PadEndX) EdgeBonus = 1;
  if (ShipX >= Flight::PadStartX && DescentAngle >= 1 && DescentAngle <= 20)
    LandingSuccess();
  else
    LandingFailed();
}

void Form1::LandingFailed() {
  SoftnessPoints = 0;
  ControlPoints = 0;
  Label1.SetCaption(Lines({"000", "000", Hundreds(CoursePoints), "", Hundreds(CoursePoints)}));

  Ship.Move(Ship.Left(), Ship.Top() - 9);
  Ship.SetShape(ShapeKind::Circle);
  Ship.SetFillColor(Flight::CrashColour);
  Ship.SetBorderColor(Flight::CrashColour);
  Ship.SetWidth(15);
  Ship.SetHeight(15);

  Label4.SetCaption("Failed!!");
  PlayGameSound("fail.wav");

  switch (module1_.GameMode) {
    case 1:
      RecordNormalResult();
      GameOverNormal();
      break;
    case 2:
      RankCheckAttack();
      StageResult();
      break;
    case 3:
      CheckSuperHighScore();
      StageResult();
      break;
    default: StageResult(); break;
  }
}

void Form1::LandingSuccess() {
  if (ControlPoints <= 0) ControlPoints = 0;

  if (EdgeBonus == 1) {
    Label4.SetCaption("Hajikko BOUNS!! 10000Pts.");
    PlayGameSound("bonus.wav");
    for (int step = 0; step < Flight::BonusSteps; ++step) {
      CoursePoints = CoursePoints + 1;
      Label1.SetCaption(Lines({Hundreds(SoftnessPoints), Hundreds(ControlPoints), Hundreds(CoursePoints)}));
      module1_.platform.Sleep(Flight::BonusStepPauseMs);
      module1_.platform.DoEvents();
    }
  } else {
    Label4.SetCaption("Successful!!");
    PlayGameSound("clear.wav");
  }

  Label1.SetCaption(Lines({Hundreds(SoftnessPoints), Hundreds(ControlPoints), Hundreds(CoursePoints), "",
                           Hundreds(LandingTotal())}));

  switch (module1_.GameMode) {
    case 1: RecordNormalResult(); break;
    case 2: RankCheckAttack(); break;
    case 3: CheckSuperHighScore(); break;
    default: break;
  }
  StageResult();
}

void Form1::RecordNormalResult() {
  const int32_t total = LandingTotal();
  auto& points = module1_.LandingPoints;
  ShowLandingInScoreDisplay(total);
  points.at(static_cast<size_t>(module1_.Stage + 3)) = total;
  module1_.RunStageScores.at(static_cast<size_t>(module1_.Stage)) = total;
  TotalScore = TotalScore + total;
  points[9] = TotalScore;
  ScoreListUpNormal();
}

void Form1::ShowLandingInScoreDisplay(int32_t total) {
  auto& points = module1_.LandingPoints;
  points[0] = total;
  points[1] = SoftnessPoints;
  points[2] = ControlPoints;
  points[3] = CoursePoints;
}

void Form1::CheckSuperHighScore() {
  const int32_t total = LandingTotal();
  if (module1_.HighScore >= total) {
    HighScoreUpdated = 0;
    return;
  }
  module1_.HighScore = total;
  auto& points = module1_.LandingPoints;
  ShowLandingInScoreDisplay(total);
  points.at(static_cast<size_t>(module1_.Stage + 3)) = module1_.HighScore;
  points[9] = Saturated(int64_t{module1_.OtherStagesBest} + module1_.HighScore);
  HighScoreUpdated = 1;
}

void Form1::PlayGameSound(const std::string& fileName) {
  module1_.platform.PlaySound(module1_.AppFolder + fileName, module1_.SoundFlags);
}

void Form1::ShowScoreList(size_t first, const ScoreListCaptions& captions) {
  for (size_t i = 0; i < captions.size(); ++i) Label3[first + i].SetCaption(captions[i]);
}

void Form1::ScoreListCaptionNormal() { ShowScoreList(8, ScoreListHeadingsNormal(module1_.Stage)); }

void Form1::ScoreListCaptionAttack() { ShowScoreList(8, ScoreListHeadingsAttack()); }

void Form1::ScoreListUpNormal() { ShowScoreList(0, ScoreListValuesNormal(module1_.LandingPoints)); }

void Form1::ScoreListUpAttack() { ShowScoreList(0, ScoreListValuesAttack(module1_.LandingPoints, module1_.Stage)); }

