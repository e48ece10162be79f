// The one way the game ends "at once".
#include "shell/EndProgram.h"

void EndProgramAtOnce(Module1& module1) { module1.platform.EndProgram(); }

void ShowMessageAndEnd(Module1& module1, const std::string& text) {
  module1.platform.MessageBox(text, AppTitle, MessageIcon::None);
  EndProgramAtOnce(module1);
}
