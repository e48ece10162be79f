// Whether a window can be shown at all, decided by the toolkit's own one attempt to reach the display.
#pragma once

#include <QtGlobal>

// While it lives (around the construction of the QApplication), a toolkit that cannot reach its
// display ends the program with one line on stderr and status 1, instead of its own abort with a
// core dump and a paragraph about platform plugins. The toolkit's other messages of that moment wait
// and follow once it goes.
class DisplayConnectionWatch {
 public:
  DisplayConnectionWatch();
  ~DisplayConnectionWatch();
  DisplayConnectionWatch(const DisplayConnectionWatch&) = delete;
  DisplayConnectionWatch& operator=(const DisplayConnectionWatch&) = delete;

 private:
  QtMessageHandler previous_;
};
