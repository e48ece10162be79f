// Start-up in the order players see it.
#include "shell/AppStart.h"

#include "shell/Game.h"
#include "shell/StartUp.h"

void AppStart(Game& game) {
  PrepareStart(game.module1);
  game.form1.Show();
  game.form2.Show();
  game.form1.Label2.SetCaption("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal");
  // Its window stands over the play screen wherever that is.
  game.form4.Load();
  game.form2.SetFocus();
}
