// Start-up in the order players see it.
#pragma once

class Game;

// The single-copy guard, the program folder, the score file and the start values; then the play
// screen and the menu shown, the criteria's captions, the stage prompt loaded hidden, and the
// keyboard to the menu.
void AppStart(Game& game);
