// Refuses a second running copy of the program on the same program folder.
#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PosixFile.h"

namespace {

// The file the claim protects; a copy that cannot write the claim file locks this one instead.
constexpr char ScoreFileName[] = "MTScore.dat";

// The claim lasts as long as the descriptor: it is never closed, the kernel closes it at the end.
bool KeepOpen(Descriptor& file) {
  file.Release();
  return true;
}

int Open(const std::string& path, int flags, mode_t mode) {
  // Non-blocking: a pipe put in either file's place must not hang the start.
  return OpenFile(path, flags | O_NONBLOCK, mode);
}

// Read and write for each class that may write the folder or the score file, nobody else.
mode_t ClaimFileMode(const std::string& folder, const std::string& scorePath) {
  mode_t writers = S_IWUSR;
  struct stat status {};
  if (::stat(folder.c_str(), &status) == 0) writers |= status.st_mode & (S_IWGRP | S_IWOTH);
  if (::stat(scorePath.c_str(), &status) == 0) writers |= status.st_mode & (S_IWGRP | S_IWOTH);
  return writers | (writers << 1);  // each class's read bit sits just above its write bit
}

// An open-file-description lock over the whole file: a second descriptor conflicts with it even in
// the same process, and it ends with the last descriptor, not with the first close.
bool LockWhole(int fd) {
  struct flock lock = {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 0, .l_pid = 0};
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when some running copy holds a write lock on the file at `path`.
bool WriteLockHeld(const std::string& path, int flags) {
  const Descriptor file(Open(path, O_RDONLY | flags, 0));
  // Asks for the locks that would stop a reader: write locks only.
  struct flock lock = {.l_type = F_RDLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 0, .l_pid = 0};
  return ::fcntl(file.Get(), F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

// For a copy that may not write the claim file. A score file it cannot write cannot be harmed by a
// copy beside it: its saves fail with their own message.
bool ClaimThroughScoreFile(const std::string& claimPath, const std::string& scorePath) {
  if (WriteLockHeld(claimPath, O_NOFOLLOW)) return false;
  Descriptor score(Open(scorePath, O_RDWR, 0));
  if (!IsRegularFile(score.Get())) return true;
  return LockWhole(score.Get()) && KeepOpen(score);
}

}  // namespace

bool ClaimProgramFolder(const std::string& programFolder) {
  const std::string folder = programFolder.ends_with('/') ? programFolder : programFolder + "/";
  const std::string claimPath = folder + ClaimFileName;
  const std::string scorePath = folder + ScoreFileName;
  const mode_t mode = ClaimFileMode(folder, scorePath);
  // No link is followed: a link could lead to a file that people outside the folder may lock.
  Descriptor claim(Open(claimPath, O_RDWR | O_CREAT | O_NOFOLLOW, mode));
  struct stat status {};
  if (::fstat(claim.Get(), &status) != 0) return ClaimThroughScoreFile(claimPath, scorePath);
  struct stat folderStatus {};
  if (status.st_uid == ::geteuid()) {
    // The umask narrowed the bits at creation, and a group member must share the folder's group.
    // Failures leave the file as it was: narrower, never wider.
    if (::stat(folder.c_str(), &folderStatus) == 0 && status.st_gid != folderStatus.st_gid) {
      [[maybe_unused]] const int ignored = ::fchown(claim.Get(), static_cast<uid_t>(-1), folderStatus.st_gid);
    }
    ::fchmod(claim.Get(), mode);
  }
  return LockWhole(claim.Get()) && !WriteLockHeld(scorePath, 0) && KeepOpen(claim);
}
