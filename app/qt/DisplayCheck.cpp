// Whether a window can be shown at all, decided by the toolkit's own one attempt to reach the display:
// a check of our own before it would be a second connection, which a display may refuse after
// accepting the first.
#include "app/qt/DisplayCheck.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The context's strings live as long as the program.
struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};

std::vector<HeldMessage> heldMessages;

void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    heldMessages.push_back({type, context.file, context.line, context.function, context.category, text});
    return;
  }
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display)
    std::fprintf(stderr, "morvane-tesk: no display: DISPLAY is not set (start the game inside a graphical session)\n");
  else
    std::fprintf(stderr, "morvane-tesk: no display: cannot open the X display \"%s\"\n", display);
  std::fflush(stderr);
  ::_exit(1);
}

}  // namespace

DisplayConnectionWatch::DisplayConnectionWatch() : previous_(qInstallMessageHandler(HoldOrEnd)) {}

DisplayConnectionWatch::~DisplayConnectionWatch() {
  qInstallMessageHandler(previous_);
  for (const HeldMessage& message : std::exchange(heldMessages, {})) {
    const QMessageLogContext context(message.file, message.line, message.function, message.category);
    qt_message_output(message.type, context, message.text);
  }
}
