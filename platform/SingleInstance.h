// Refuses a second running copy of the game on one score file.
//
// The claim is a write lock (F_OFD_SETLK: it belongs to the file and lasts until the process ends,
// however it ends) on "MTScore.lock" beside the file the game saves to, found through any symbolic
// link: copies started through another path, mount or namespace, and folders sharing one score file
// through a link, all meet the same claim file. It is created readable and writable only for those
// who may write the folder or the score file, so nobody else can lock it, not even for reading.
//
// When that name holds no claim file this copy can lock (a folder, a link, a file with other links,
// or one it may only read, or no file at all for a player who may not write the folder), the copy
// locks the score file itself, which saves then rewrite in place so that the lock stays with it.
// Where neither can be locked, or a claim file this copy cannot even read might hold a claim, no
// claim can be taken.
#pragma once

#include <string>

#include "platform/Platform.h"

// Claims the score file at `scorePath` (the folder's "MTScore.dat") for this process's lifetime.
InstanceClaim ClaimScoreFile(const std::string& scorePath);
