// Tells before Qt starts whether a window can be shown at all.
#pragma once

#include <string>

// True when the platform Qt will use can open a window. Otherwise `reason` says why, in one line.
bool DisplayAvailable(std::string& reason);
