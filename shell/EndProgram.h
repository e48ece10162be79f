// The one way the game ends "at once".
#pragma once

#include "shell/Module1.h"

// Ends the program immediately: every window goes, no further handler runs, nothing is saved.
[[noreturn]] void EndProgramAtOnce(Module1& module1);

// Shows the message box (OK only, application title) and then ends the program at once.
[[noreturn]] void ShowMessageAndEnd(Module1& module1, const std::string& text);
