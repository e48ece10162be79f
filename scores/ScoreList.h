// In-game score list: the captions of the play screen's sixteen score labels.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Captions of the headings Label3(8..15) (element 0 is Label3(8)) or of the values Label3(0..7)
// (element 0 is Label3(0)). Multi-line captions join their lines with CR LF; the trailing blanks
// are part of the texts: they push the right-aligned text away from its neighbour.
using ScoreListCaptions = std::array<std::string, 8>;

// Headings of the normal run and of the SUPER score attack; `stage` 1..5 names the current row.
ScoreListCaptions ScoreListHeadingsNormal(int32_t stage);
// Headings of the score attack: the five places.
ScoreListCaptions ScoreListHeadingsAttack();
// Values of the normal run and of the SUPER score attack from LandingPoints(0..9), hundreds of
// points (shown with "00" appended).
ScoreListCaptions ScoreListValuesNormal(const std::array<int32_t, 11>& landingPoints);
// Values of the score attack from LandingPoints(0..7), and the stage played in the last row.
ScoreListCaptions ScoreListValuesAttack(const std::array<int32_t, 11>& landingPoints, int32_t stage);
