// Window layouts were designed in twips: 15 twips make one pixel at 96 dots per inch.
#pragma once

constexpr int FromTwips(int twips) { return twips / 15; }
