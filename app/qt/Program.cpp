// The game with its Qt windows.
#include "app/qt/Program.h"

#include "app/AppStart.h"
#include "flight/qt/Form1Window.h"
#include "menus/qt/Form2Window.h"
#include "menus/qt/Form4Window.h"
#include "menus/qt/Form5Window.h"
#include "viewer/qt/Form3Window.h"

Program::Program(Platform& platform)
    : game(platform),
      form1Window(std::make_unique<Form1Window>(game.form1)),
      form2Window(std::make_unique<Form2Window>(game.form2)),
      form4Window(std::make_unique<Form4Window>(game.form4, form1Window.get())) {
  game.SetWindowFactory(this);
}

Program::~Program() {
  game.SetWindowFactory(nullptr);
  delete form3Window_;
  delete form5Window_;
}

void Program::Start() { AppStart(game); }

void Program::Loaded(Form3& form3) { form3Window_ = new Form3Window(form3); }

void Program::Loaded(Form5& form5) { form5Window_ = new Form5Window(form5); }
