// In-game score list: the captions of the play screen's sixteen score labels.
#include "scores/ScoreList.h"

#include "scores/ScoreNumbers.h"

namespace {

// The three criteria of the best or last landing, one per line; the three blanks keep the
// digits clear of the headings' text.
std::string CriteriaLines(const std::array<int32_t, 11>& landingPoints) {
  return Hundreds(landingPoints[1]) + "   \r\n" + Hundreds(landingPoints[2]) + "   \r\n" +
         Hundreds(landingPoints[3]) + "   ";
}

constexpr char CriteriaHeadings[] = "Landing  \r\nControl  \r\nCourse  ";

}  // namespace

ScoreListCaptions ScoreListHeadingsNormal(int32_t stage) {
  return {"Stage" + std::to_string(stage) + " ", CriteriaHeadings, "Stage1 ", "Stage2 ", "Stage3 ",
          "Stage4 ", "Stage5 ", "Total "};
}

ScoreListCaptions ScoreListHeadingsAttack() {
  return {"BEST ", CriteriaHeadings, "2nd  ", "3rd  ", "4th  ", "5th  ", "", ""};
}

ScoreListCaptions ScoreListValuesNormal(const std::array<int32_t, 11>& landingPoints) {
  return {Hundreds(landingPoints[0]), CriteriaLines(landingPoints), Hundreds(landingPoints[4]),
          Hundreds(landingPoints[5]), Hundreds(landingPoints[6]), Hundreds(landingPoints[7]),
          Hundreds(landingPoints[8]), Hundreds(landingPoints[9])};
}

ScoreListCaptions ScoreListValuesAttack(const std::array<int32_t, 11>& landingPoints, int32_t stage) {
  return {Hundreds(landingPoints[0]), CriteriaLines(landingPoints), Hundreds(landingPoints[4]),
          Hundreds(landingPoints[5]), Hundreds(landingPoints[6]), Hundreds(landingPoints[7]),
          "", "Stage " + std::to_string(stage)};
}
