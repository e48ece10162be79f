// Asynchronous key state as the steering asks for it: down now, and pressed since last asked.
#pragma once

#include <cstdint>
#include <map>

class KeyState {
 public:
  // A key went down. An auto-repeated press of a held key is not a new press.
  void Press(int virtualKey, bool autoRepeat = false);
  // A key came up. The release half of an auto-repeat pair leaves the key down.
  void Release(int virtualKey, bool autoRepeat = false);
  // 0x8000 when down now, | 0x0001 when pressed since the previous query of this key;
  // the query clears the pressed bit.
  int16_t Query(int virtualKey);
  // Forget everything (the window lost the keyboard).
  void Clear();

 private:
  struct Key {
    bool down = false;
    bool pressedSinceQuery = false;
  };
  std::map<int, Key> keys_;
};
