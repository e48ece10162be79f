// The one way the game ends "at once".
#include "shell/EndProgram.h"

#include <cstdlib>

void EndProgramAtOnce(Module1& module1) {
  module1.platform.EndProgram();
  std::abort();  // a platform that came back from ending must not let the game go on
}

void ShowMessageAndEnd(Module1& module1, const std::string& text) {
  module1.platform.MessageBox(text, AppTitle, MessageIcon::None);
  EndProgramAtOnce(module1);
}
