// The play screen back to its idle look, before the menu is shown again.
#pragma once

#include "flight/Form1.h"

// Hides the craft as a white 4 x 4 square at its start, shows the title, empties the status, score
// and name texts and the score list, shows the picture without a stage in the normal mode and the
// high-score view (a score attack keeps its stage picture), and zeroes LandingPoints.
void ResetPlayScreen(Form1& form1, Module1& module1);
