// The play screen back to its idle look.
#include "flight/ResetPlayScreen.h"

void ResetPlayScreen(Form1& form1, Module1& module1) {
  form1.Ship.SetVisible(false);
  form1.RestoreShipLook();
  form1.Ship.Move(static_cast<int>(Flight::StartX), static_cast<int>(Flight::StartY));
  form1.Label4.SetCaption(AppTitle);
  form1.Label1.SetCaption("");
  form1.Label6.SetCaption("");
  form1.Label7.SetCaption("");
  if (module1.GameMode == 1 || module1.GameMode == 4) form1.SetPicture(100);
  for (LabelControl& label : form1.Label3) label.SetCaption("");
  module1.LandingPoints.fill(0);
}
