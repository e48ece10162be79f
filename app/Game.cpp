// The program-wide home.
#include "app/Game.h"

#include "flight/ResetPlayScreen.h"

Game::Game(Platform& platform)
    : module1(platform),
      form1(desktop, module1, *this),
      form4(desktop, module1, form1, *this),
      form2(desktop, module1, form1, form4, *this) {}

Game::~Game() = default;

namespace {

// A window unloaded by its own handler is only marked: the model goes when it is next used, never
// while one of its handlers may still be running.
template <typename Form, typename Make, typename Factory>
Form& LoadOnDemand(std::unique_ptr<Form>& form, Make make, Factory* factory) {
  if (!form || !form->Loaded()) {
    form = make();
    if (factory) factory->Loaded(*form);
    form->Load();
  }
  return *form;
}

}  // namespace

Form3& Game::form3() {
  RankingLinks& links = *this;
  return LoadOnDemand(form3_, [&] { return std::make_unique<Form3>(desktop, module1, links); }, factory_);
}

Form5& Game::form5() {
  return LoadOnDemand(
      form5_, [this] { return std::make_unique<Form5>(desktop, module1, form1, form2, form4); }, factory_);
}

bool Game::Form3Loaded() const { return form3_ && form3_->Loaded(); }

bool Game::Form5Loaded() const { return form5_ && form5_->Loaded(); }

void Game::BackToMenu() {
  ResetPlayScreen(form1, module1);
  form2.Show();
  form2.SetFocus();
}

void Game::SetPromptMessage(std::string message) { form4.Label1.SetCaption(std::move(message)); }

void Game::ShowPrompt() {
  form4.Show();
  form4.SetFocus();
}

void Game::ShowNormalRanking() {
  Form3& ranking = form3();
  ranking.Show();
  ranking.SetFocus();
  ranking.Option7.SetValue(true);
  ranking.Option7_Click();
}

void Game::OpenRanking() { OpenFromMenu(form3()); }

void Game::OpenPlayerSelect() { OpenFromMenu(form5()); }

void Game::OpenFromMenu(FormModel& window) {
  window.Show();
  form2.Hide();
  window.SetFocus();
}
