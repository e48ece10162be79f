// Refuses a second running copy of the program on the same program folder.
#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file the claim protects; a copy that cannot write the claim file locks this one instead.
constexpr char ScoreFileName[] = "MTScore.dat";

int Open(const std::string& path, int flags, mode_t mode = 0) {
  // Non-blocking: a pipe put in either file's place must not hang the start.
  return ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
}

bool IsRegularFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
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
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when some running copy holds a write lock on the file at `path`.
bool WriteLockHeld(const std::string& path, int flags) {
  const int fd = Open(path, O_RDONLY | flags);
  if (fd < 0) return false;
  struct flock lock {};
  lock.l_type = F_RDLCK;  // asks for the locks that would stop a reader: write locks only
  lock.l_whence = SEEK_SET;
  const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

// For a copy that may not write the claim file. A score file it cannot write cannot be harmed by a
// copy beside it: its saves fail with their own message.
bool ClaimThroughScoreFile(const std::string& claimPath, const std::string& scorePath) {
  if (WriteLockHeld(claimPath, O_NOFOLLOW)) return false;
  const int fd = Open(scorePath, O_RDWR);
  if (fd < 0) return true;
  if (!IsRegularFile(fd)) {
    ::close(fd);
    return true;
  }
  if (LockWhole(fd)) return true;  // the descriptor stays open, and the claim held, until the end
  ::close(fd);
  return false;
}

}  // namespace

bool ClaimProgramFolder(const std::string& programFolder) {
  const std::string folder = programFolder.ends_with('/') ? programFolder : programFolder + "/";
  const std::string claimPath = folder + ClaimFileName;
  const std::string scorePath = folder + ScoreFileName;
  const mode_t mode = ClaimFileMode(folder, scorePath);
  // No link is followed: a link could lead to a file that people outside the folder may lock.
  const int fd = Open(claimPath, O_RDWR | O_CREAT | O_NOFOLLOW, mode);
  if (fd < 0 || !IsRegularFile(fd)) {
    if (fd >= 0) ::close(fd);
    return ClaimThroughScoreFile(claimPath, scorePath);
  }
  struct stat status {};
  struct stat folderStatus {};
  if (::fstat(fd, &status) == 0 && status.st_uid == ::geteuid()) {
    // The umask narrowed the bits at creation, and a group member must share the folder's group.
    // Failures leave the file as it was: narrower, never wider.
    if (::stat(folder.c_str(), &folderStatus) == 0 && status.st_gid != folderStatus.st_gid) {
      [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), folderStatus.st_gid);
    }
    ::fchmod(fd, mode);
  }
  if (!LockWhole(fd) || WriteLockHeld(scorePath, 0)) {
    ::close(fd);
    return false;
  }
  return true;  // the descriptor stays open, and the claim held, until the process ends
}
