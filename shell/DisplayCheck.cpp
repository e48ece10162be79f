// Tells before Qt starts whether a window can be shown at all: without this, Qt aborts with a core
// dump and a paragraph about platform plugins when a player starts the game over ssh.
#include "shell/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

bool DisplayAvailable(std::string& reason) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && !std::string_view(platform).starts_with("xcb")) return true;

  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    reason = "no display: DISPLAY is not set (start the game inside a graphical session)";
    return false;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool connected = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (!connected) reason = std::string("no display: cannot open the X display \"") + display + "\"";
  return connected;
}
