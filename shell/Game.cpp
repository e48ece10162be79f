// The program-wide instances.
#include "shell/Game.h"

#include "menus/Form5.h"
#include "viewer/Form3.h"

Game::Game(Platform& platform) : module1(platform), form1(*this), form2(*this), form4(*this) {}

Game::~Game() = default;

namespace {

// A window unloaded by its own handler is only marked: the model goes when it is next used, never
// while one of its handlers may still be running.
template <typename Form, typename Factory>
Form& LoadOnDemand(std::unique_ptr<Form>& form, Game& game, Factory* factory) {
  if (!form || !form->Loaded()) {
    form = std::make_unique<Form>(game);
    if (factory) factory->Loaded(*form);
    form->Load();
  }
  return *form;
}

}  // namespace

Form3& Game::form3() { return LoadOnDemand(form3_, *this, factory_); }

Form5& Game::form5() { return LoadOnDemand(form5_, *this, factory_); }

bool Game::Form3Loaded() const { return form3_ && form3_->Loaded(); }

bool Game::Form5Loaded() const { return form5_ && form5_->Loaded(); }
