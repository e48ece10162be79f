// Refuses a second running copy of the game on one score file.
//
// The claim is a write lock that lasts as long as the process (F_OFD_SETLK) on "MTScore.lock" beside
// the file the game saves to, so every path, mount, namespace or folder that reaches that file meets
// the same claim. Only those who may write the folder or the score file may open the claim file.
// Where no usable claim file can be had, the copy locks the score file itself instead.
#pragma once

#include <string>

// What the guard found: the claim is this copy's, another running copy holds it, or none can be
// taken here (the game must not touch its files then).
enum class InstanceClaim { Claimed, AnotherCopy, Impossible };

// Claims the score file at `scorePath` (the folder's "MTScore.dat") for this process's lifetime.
InstanceClaim ClaimScoreFile(const std::string& scorePath);
