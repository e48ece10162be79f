// Asynchronous key state as the steering asks for it: down now, and pressed since last asked.
#include "platform/KeyState.h"

void KeyState::Press(int virtualKey, bool autoRepeat) {
  if (autoRepeat) return;
  Key& key = keys_[virtualKey];
  key.down = true;
  key.pressedSinceQuery = true;
}

void KeyState::Release(int virtualKey, bool autoRepeat) {
  if (autoRepeat) return;
  keys_[virtualKey].down = false;
}

int16_t KeyState::Query(int virtualKey) {
  Key& key = keys_[virtualKey];
  uint16_t state = (key.down ? 0x8000u : 0u) | (key.pressedSinceQuery ? 0x0001u : 0u);
  key.pressedSinceQuery = false;
  return static_cast<int16_t>(state);
}

void KeyState::Clear() { keys_.clear(); }
