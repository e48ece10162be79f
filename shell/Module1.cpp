// Global state that every window shares.
#include "shell/Module1.h"

void ApplyStartValues(Module1& module1) {
  module1.Stage = 1;
  module1.PlayerIndex = 0;
  module1.SoundFlags = DefaultSoundFlags;
}
