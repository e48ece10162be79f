// The play screen back to its idle look.
#include "shell/ResetPlayScreen.h"

#include "shell/Game.h"

void ResetPlayScreen(Game& game) {
  Form1& form1 = game.form1;
  Module1& module1 = game.module1;
  ShapeControl& ship = form1.Ship;
  ship.SetVisible(false);
  ship.SetShape(ShapeKind::Square);
  ship.SetFillColor(MakeRgb(255, 255, 255));
  ship.SetBorderColor(SystemColour::WindowText);
  ship.SetWidth(4);
  ship.SetHeight(4);
  ship.Move(static_cast<int>(Flight::StartX), static_cast<int>(Flight::StartY));
  form1.Label4.SetCaption(AppTitle);
  form1.Label1.SetCaption("");
  form1.Label6.SetCaption("");
  form1.Label7.SetCaption("");
  if (module1.GameMode == 1 || module1.GameMode == 4) form1.SetPicture(100);
  for (LabelControl& label : form1.Label3) label.SetCaption("");
  module1.LandingPoints.fill(0);
}
