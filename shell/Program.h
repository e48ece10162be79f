// The program-wide instances: the module state and the windows, each existing once.
#pragma once

#include <memory>

#include "flight/Form1.h"
#include "shell/Module1.h"

class Form1Window;
class Form2;
class Form4;

struct Program {
  explicit Program(Platform& platform);
  ~Program();

  Module1 module1;
  Form1 form1;
  std::unique_ptr<Form1Window> form1Window;
  std::unique_ptr<Form2> form2;
  std::unique_ptr<Form4> form4;
};

// Start-up in its order: guard, folder, score file, start values, the play screen and the menu,
// the category captions, the stage prompt loaded hidden over the play screen, focus to the menu.
void AppStart(Program& program);

// Maps the Japanese font names the windows ask for to the installed IPA fonts.
void MapJapaneseFonts();
