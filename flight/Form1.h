// The play screen Form1 without a window: its controls as data, the flight state, stage set-up,
// flight loop, steering, landing judgement, stage results, rankings and the in-game score list.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/Controls.h"
#include "flight/PlayScreenLinks.h"
#include "resources/Bitmap.h"
#include "shell/Module1.h"

// Geometry and pace of a flight, in pixels of the play screen and milliseconds.
namespace Flight {
inline constexpr int TickPauseMs = 50;
inline constexpr int FallPauseMs = 40;
inline constexpr int BonusStepPauseMs = 10;
inline constexpr int BonusSteps = 100;
// 3.14159 / 180, not the exact pi / 180: every recorded flight lands where this value puts it.
inline constexpr double DegreeFactor = 0.017453277777777776;
inline constexpr double StartX = 53;
inline constexpr double StartY = 36;
inline constexpr double CeilingY = 36;
inline constexpr double LowBandY = 85;
inline constexpr double TouchdownY = 98;
inline constexpr int CourseFirstX = 64;
inline constexpr int CourseLastX = 149;
inline constexpr int PadStartX = 171;
inline constexpr int PadEndX = 196;
inline constexpr int StartControlPoints = 2000;
inline constexpr Rgb PadColour = MakeRgb(255, 255, 0);
inline constexpr Rgb CrashColour = MakeRgb(248, 184, 0);
}  // namespace Flight

// The ideal y of the craft's top edge for each x of the course band, addressed by x itself.
class CourseLineTable {
 public:
  int32_t& operator[](int x) { return values_.at(static_cast<size_t>(x - Flight::CourseFirstX)); }
  int32_t operator[](int x) const { return values_.at(static_cast<size_t>(x - Flight::CourseFirstX)); }

 private:
  std::array<int32_t, Flight::CourseLastX - Flight::CourseFirstX + 1> values_{};
};

// What only the play screen asks of its window; the play screen's view implements it beside
// FormView.
class Form1View {
 public:
  // The steering keys must arrive as keys, not as text for an input method.
  virtual void InputMethodOff() = 0;

 protected:
  ~Form1View() = default;
};

class Form1 : public FormModel {
 public:
  Form1(Desktop& desktop, Module1& module1, PlayScreenLinks& links);

  // Controls.
  LabelControl Label1;                  // running and final points of the landing
  LabelControl Label2;                  // the criteria's captions
  LabelControl Label4;                  // title and status banner
  LabelControl Label5;                  // mode banner
  LabelControl Label6;                  // score-attack player's name
  LabelControl Label7;                  // "NAME" heading
  std::array<LabelControl, 16> Label3;  // score list: 0..7 values, 8..15 headings
  ShapeControl Ship;

  // The window's picture (280 x 140) with whatever was drawn on it since it was set.
  const Bitmap& Picture() const { return picture_; }
  // Counts the changes of the picture, so that a view redraws it only when it changed.
  unsigned PictureVersion() const { return pictureVersion_; }
  // Shows bitmap resource 100..105; anything drawn before is gone.
  void SetPicture(int bitmapId);
  // Fills the box with corners (x1, y1) and (x2, y2), both included, on the picture.
  void DrawFilledBox(int x1, int y1, int x2, int y2, Rgb colour);

  // Flight state: pixels, degrees and hundreds of points.
  double ShipX = Flight::StartX;
  double ShipY = Flight::StartY;
  int32_t DescentAngle = 0;  // below the horizontal; negative climbs
  int32_t SoftnessPoints = 0;
  int32_t ControlPoints = 0;  // may fall below 0 during a flight
  int32_t CoursePoints = 0;
  uint8_t EdgeBonus = 0;
  int32_t SteerCost = 0;
  CourseLineTable CourseLine;
  std::array<int32_t, 3> CourseGain{};  // within 1, 2, 3 pixels of the course
  std::array<int32_t, 4> SoftGain{};    // angle bands 1-6, 7-12, 13-18, 19-24
  int32_t RankResult = 0;
  int32_t HighScoreUpdated = 0;
  // Sum of the stage results of the current normal run.
  int32_t TotalScore = 0;

  // Prepares the screen and the flight state for stage `Stage` in `GameMode`.
  void GameInit();
  // Flies one stage to touchdown and judges it; returns after the landing's outcome has run.
  void GameMain();
  // Steering: one angle step per key-down event, for the keys whose state says "pressed".
  void Form_KeyDown();
  // Closing the play screen: silence, then the end of the program.
  [[noreturn]] void Form_Unload();
  // The craft's own look again after a crash: a white 4 x 4 square with a border in the desktop's
  // text colour. Its place and visibility stay.
  void RestoreShipLook();

  // Judges the touchdown at ShipX with DescentAngle; calls LandingSuccess or LandingFailed.
  void LandingTest();
  void LandingFailed();
  void LandingSuccess();

  void ScoreListCaptionNormal();
  void ScoreListCaptionAttack();
  void ScoreListUpNormal();
  void ScoreListUpAttack();

  // Place 1..10 that TotalScore earns in the normal ranking as it stood at START (NormalTotals),
  // into RankResult (0 for none).
  void RankCheckNormal();
  // Places the landing's total among the player's five best of the stage (RankResult 1..5, 0 for
  // none) and keeps AttackBest in order.
  void RankCheckAttack();
  // Writes the run (RunStageScores) with `name` at `place` 1..10 of the normal ranking.
  void InsertNormalRanking(int32_t place, const std::string& name);
  // Writes the last landing's three criteria at `place` 1..5 of the selected player's top five
  // on the current stage.
  void InsertAttackRanking(int32_t place);
  // Name entry for the normal-ranking place in RankResult, the insert, the save, and the
  // ranking window on its normal view.
  void LankinNormal();

  // What follows a landing: the stage prompt with the result and what its button does next.
  void StageResult();
  // The end of a normal run after a crash: memo, message, rank check, prompt.
  void GameOverNormal();

 private:
  int32_t LandingTotal() const { return SoftnessPoints + ControlPoints + CoursePoints; }
  void MoveShipToFlightPosition();
  void CountCoursePoints();
  void CountSoftnessPoints();
  void ShowRunningPoints();
  void RecordNormalResult();
  // LandingPoints(0..3): the landing's total and its three criteria.
  void ShowLandingInScoreDisplay(int32_t total);
  void CheckSuperHighScore();
  void PlayGameSound(const std::string& fileName);
  // Label3(first .. first + 7) from `captions`.
  void ShowScoreList(size_t first, const std::array<std::string, 8>& captions);

  Module1& module1_;
  PlayScreenLinks& links_;
  Bitmap picture_;
  unsigned pictureVersion_ = 0;
  // Set when the craft starts its fall beyond the pad or touches down: from then until the next
  // GameInit a key press must not change a landing that is already decided.
  bool steeringLocked_ = false;
};
