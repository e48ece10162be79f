// The play screen Form1 without a window: its controls as data, the flight state, stage set-up,
// flight loop, steering, landing judgement and the in-game score list.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "resources/Bitmap.h"
#include "shell/Module1.h"

// The desktop colours the play screen borrows.
namespace SystemColour {
inline constexpr Rgb WindowText = MakeRgb(0, 0, 0);
inline constexpr Rgb WindowBackground = MakeRgb(255, 255, 255);
}  // namespace SystemColour

// Geometry and pace of a flight, in pixels of the play screen and milliseconds.
namespace Flight {
inline constexpr int TickPauseMs = 50;
inline constexpr int FallPauseMs = 40;
inline constexpr int BonusStepPauseMs = 10;
inline constexpr int BonusSteps = 100;
// 3.14159 / 180: the game's own value, kept so that every flight lands where it always did.
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

class Form1;
class LabelControl;

// Told what changed on the play screen, so that a window repaints only that.
class Form1View {
 public:
  virtual void LabelChanged(const LabelControl& label) = 0;
  virtual void ShipChanged() = 0;
  virtual void PictureChanged() = 0;
  // The steering keys must arrive as keys, not as text for an input method.
  virtual void InputMethodOff() = 0;

 protected:
  ~Form1View() = default;
};

// A label of the play screen: caption (UTF-8, lines joined by CR LF) and colours.
class LabelControl {
 public:
  LabelControl() = default;
  LabelControl(const LabelControl&) = delete;
  LabelControl& operator=(const LabelControl&) = delete;

  const std::string& Caption() const { return caption_; }
  Rgb ForeColor() const { return foreColor_; }
  Rgb BackColor() const { return backColor_; }
  void SetCaption(std::string caption);
  void SetForeColor(Rgb colour);
  void SetBackColor(Rgb colour);

 private:
  friend class Form1;
  void Changed() const;

  const Form1* owner_ = nullptr;
  std::string caption_;
  Rgb foreColor_ = SystemColour::WindowText;
  Rgb backColor_ = SystemColour::WindowBackground;
};

enum class ShapeKind { Square, Circle };

// The craft: a square or circle with fill and border colours, position and size in pixels.
class ShapeControl {
 public:
  ShapeControl() = default;
  ShapeControl(const ShapeControl&) = delete;
  ShapeControl& operator=(const ShapeControl&) = delete;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  ShapeKind Shape() const { return shape_; }
  Rgb FillColor() const { return fillColor_; }
  Rgb BorderColor() const { return borderColor_; }
  bool Visible() const { return visible_; }

  void Move(int left, int top);
  void SetWidth(int width);
  void SetHeight(int height);
  void SetShape(ShapeKind shape);
  void SetFillColor(Rgb colour);
  void SetBorderColor(Rgb colour);
  void SetVisible(bool visible);

 private:
  friend class Form1;
  template <typename T>
  void Change(T& field, T value);

  const Form1* owner_ = nullptr;
  int left_ = static_cast<int>(Flight::StartX);
  int top_ = static_cast<int>(Flight::StartY);
  int width_ = 4;
  int height_ = 4;
  ShapeKind shape_ = ShapeKind::Square;
  Rgb fillColor_ = MakeRgb(255, 255, 255);
  Rgb borderColor_ = SystemColour::WindowText;
  bool visible_ = false;
};

// The ideal y of the craft's top edge for each x of the course band, addressed by x itself.
class CourseLineTable {
 public:
  int32_t& operator[](int x) { return values_.at(static_cast<size_t>(x - Flight::CourseFirstX)); }
  int32_t operator[](int x) const { return values_.at(static_cast<size_t>(x - Flight::CourseFirstX)); }

 private:
  std::array<int32_t, Flight::CourseLastX - Flight::CourseFirstX + 1> values_{};
};

class Form1 {
 public:
  explicit Form1(Module1& module1);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // At most one view; nullptr for none.
  void SetView(Form1View* view) { view_ = view; }

  // Controls.
  LabelControl Label1;  // running and final points of the landing
  LabelControl Label2;  // the criteria's captions
  LabelControl Label4;  // title and status banner
  LabelControl Label5;  // mode banner
  LabelControl Label6;  // score-attack player's name
  LabelControl Label7;  // "NAME" heading
  std::array<LabelControl, 16> Label3;  // score list: 0..7 values, 8..15 headings
  ShapeControl Ship;

  // The window's picture (280 x 140) with whatever was drawn on it since it was set.
  const Bitmap& Picture() const { return picture_; }
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

  // Judges the touchdown at ShipX with DescentAngle; calls LandingSuccess or LandingFailed.
  void LandingTest();
  void LandingFailed();
  void LandingSuccess();

  void ScoreListCaptionNormal();
  void ScoreListCaptionAttack();
  void ScoreListUpNormal();
  void ScoreListUpAttack();
  // Places the landing's total among the player's five best of the stage (RankResult 1..5, 0 for
  // none) and keeps AttackBest in order.
  void RankCheckAttack();

  // What follows a landing, and the end of a normal run after a crash: they show the stage prompt
  // and come with it.
  void StageResult();
  void GameOverNormal();

 private:
  friend class LabelControl;
  friend class ShapeControl;

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

  Module1& module1_;
  Form1View* view_ = nullptr;
  Bitmap picture_;
  // Set when the craft starts its fall beyond the pad or touches down: from then until the next
  // GameInit a key press must not change a landing that is already decided.
  bool steeringLocked_ = false;
};
