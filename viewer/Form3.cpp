// The ranking window Form3 without a window: its three views as captions, colours and printed text.
#include "viewer/Form3.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/Utf8.h"
#include "scores/ScoreNumbers.h"
#include "viewer/RankingText.h"

namespace {

using Colour::Black;
using Colour::Green;
using Colour::Red;
using Colour::White;
using Colour::Yellow;

// Rows grow paler downwards: c = 25 x row.
constexpr int Pale(size_t row) { return 25 * static_cast<int>(row); }

constexpr size_t DetailWidthNormal = 7;
constexpr size_t DetailWidthAttack = 8;
constexpr double NamePoints = 9;
constexpr int NameFitPixels = 96;
constexpr int NameTop = 5;
constexpr double HeadingPoints = 16;
constexpr double SmallHeadingPoints = 9;
constexpr int HeadingFitPixels = 224;
constexpr int PlaceLabelX = 37;
constexpr char CriteriaHeading[] = "Landing/Control/ Course";

}  // namespace

Form3::Form3(Desktop& desktop, const Module1& module1, RankingLinks& links)
    : FormModel(desktop),
      Option7(*this, Frame1, "ノーマルモード"),
      Label1(*this, White, Black),
      Combo1(*this),
      Option1(*this, Frame1, "STAGE1"),
      Option2(*this, Frame1, "STAGE2"),
      Option3(*this, Frame1, "STAGE3"),
      Option4(*this, Frame1, "STAGE4"),
      Option5(*this, Frame1, "STAGE5"),
      Option6(*this, Frame1, "TOTAL"),
      Command1(*this, "戻る"),
      Label2(*this, White, Black),
      Picture2(*this, FontSpec{ProportionalGothic, HeadingPoints, true, false}, Yellow),
      Label6(*this, White, Black),
      Label7(ControlArray<LabelControl, 10>(*this, White, Black)),
      Picture1(ControlArray<PictureControl, 10>(*this, FontSpec{ProportionalGothic, NamePoints, true, false},
                                                White)),
      Label4(ControlArray<LabelControl, 10>(*this, White, Black)),
      Label5(ControlArray<LabelControl, 10>(*this, White, Black)),
      module1_(module1),
      links_(links) {
  Label1.SetCaption("スコアアタック");
  SetTabOrder({&Option7, &Combo1, &Option1, &Option2, &Option3, &Option4, &Option5, &Option6, &Command1});
}

void Form3::Form_Load() {
  Show();
  Command1.SetFocus();
  Combo1.Clear();
  for (const std::string& name : module1_.PlayerNames) Combo1.AddItem(name);
  Combo1.SetListIndex(module1_.PlayerIndex);
  Combo1_Click();
  Option7.SetValue(true);
  Option7_Click();
}

void Form3::Option7_Click() {
  Picture2.Cls();
  for (PictureControl& picture : Picture1) picture.Cls();

  Label2.SetCaption("NORMAL MODE LANKING");
  Label2.SetForeColor(Yellow);
  Label6.SetForeColor(Red);
  Label6.SetCaption("STAGE1/STAGE2/STAGE3/STAGE4/STAGE5");
  for (size_t row = 0; row < 10; ++row) {
    const int c = Pale(row);
    Label7[row].SetForeColor(MakeRgb(255, c, c));
    Label5[row].SetForeColor(MakeRgb(255, c, c));
    Label4[row].SetForeColor(MakeRgb(c, 255, c));
    Picture1[row].SetForeColor(MakeRgb(255, 255, c));
  }

  Platform& platform = module1_.platform;
  for (size_t row = 0; row < 10; ++row) {
    Label7[row].SetCaption(std::to_string(row + 1));
    Label4[row].SetCaption(TotalText(WideSum(module1_.NormalScores[row])));
    PictureControl& box = Picture1[row];
    box.SetFontSize(NamePoints);
    std::string name = module1_.NormalNames[row];
    while (!name.empty() && platform.TextWidth(name, box.Font()) > NameFitPixels) DropLastCharacter(name);
    box.SetCurrentY(NameTop);  // x is at the left edge since the box was cleared
    box.Print(name);
    Label5[row].SetCaption(DetailLine(module1_.NormalScores[row], DetailWidthNormal));
  }
}

void Form3::ClearForAttackView() {
  Picture2.Cls();
  for (size_t row = 0; row < 10; ++row) {
    Label4[row].SetCaption("");
    Label5[row].SetCaption("");
    Label7[row].SetCaption("");
    Picture1[row].Cls();
    Picture1[row].SetFontSize(HeadingPoints);
  }
  Label6.SetCaption("");
  Label2.SetCaption("SCORE ATTACK RESULT");
  Label2.SetForeColor(Red);
}

void Form3::PrintPlayerHeading(size_t player) {
  const std::string& name = module1_.PlayerNames[player];
  Picture2.SetFontSize(HeadingPoints);
  if (module1_.platform.TextWidth(name, Picture2.Font()) > HeadingFitPixels) {
    Picture2.SetFontSize(SmallHeadingPoints);
    Picture2.SetCurrentY(NameTop);
  }
  Picture2.Print(name);
}

size_t Form3::SelectedPlayer() const {
  return static_cast<size_t>(std::clamp(Combo1.ListIndex(), 0, PlayerCount - 1));
}

void Form3::ShowAttackStage(int32_t stage) {
  const auto base = static_cast<size_t>((stage - 1) * 15);
  const size_t player = SelectedPlayer();
  const auto& scores = module1_.AttackScores[player];
  ClearForAttackView();

  for (size_t row = 0; row < 10; ++row) {
    const int c = Pale(row);
    Label5[row].SetForeColor(MakeRgb(255, c, c));
    Label4[row].SetForeColor(MakeRgb(c, 255, c));
    Picture1[row].SetForeColor(MakeRgb(255, 255, c));
  }
  Label5[3].SetForeColor(Red);
  Label4[3].SetForeColor(Green);
  Picture1[3].SetForeColor(Yellow);
  Label5[2].SetForeColor(Red);
  Picture1[1].SetForeColor(Yellow);

  PrintPlayerHeading(player);
  Picture1[1].Print("STAGE " + std::to_string(stage));
  constexpr std::array<const char*, 5> Places = {"BEST", "2nd", "3rd", "4th", "5th"};
  for (size_t place = 0; place < Places.size(); ++place) {
    Picture1[place + 3].SetCurrentX(PlaceLabelX);
    Picture1[place + 3].Print(Places[place]);
  }

  Label5[2].SetCaption(CriteriaHeading);
  for (size_t rank = 0; rank < 5; ++rank) {
    const auto criteria = std::span(scores).subspan(base + rank * 3, 3);
    Label4[rank + 3].SetCaption(TotalText(WideSum(criteria)));
    Label5[rank + 3].SetCaption(DetailLine(criteria, DetailWidthAttack));
  }
}

void Form3::Option6_Click() {
  const size_t player = SelectedPlayer();
  const auto& scores = module1_.AttackScores[player];
  ClearForAttackView();

  for (size_t row = 0; row < 10; ++row) {
    Label5[row].SetForeColor(Red);
    Label4[row].SetForeColor(Green);
    Picture1[row].SetForeColor(Yellow);
  }
  Picture1[1].SetForeColor(White);

  PrintPlayerHeading(player);
  Picture1[1].Print("  TOTAL");
  for (size_t stage = 0; stage < 5; ++stage) Picture1[stage + 3].Print("STAGE " + std::to_string(stage + 1));

  int64_t sum = 0;
  Label5[2].SetCaption(CriteriaHeading);
  for (size_t stage = 0; stage < 5; ++stage) {
    const auto best = std::span(scores).subspan(stage * 15, 3);  // rank 0 of the stage
    const int64_t stageSum = WideSum(best);
    sum += stageSum;
    Label4[stage + 3].SetCaption(TotalText(stageSum));
    Label5[stage + 3].SetCaption(DetailLine(best, DetailWidthAttack));
  }
  Label4[1].SetCaption(TotalText(sum));
}

void Form3::Combo1_Click() {
  Option6.SetValue(true);
  Option6_Click();
}

void Form3::Command1_Click() {
  links_.BackToMenu();
  Unload();
}
