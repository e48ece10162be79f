// Refuses a second running copy of the game on one score file.
#include "linux/SingleInstance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "linux/PosixFile.h"

namespace {

constexpr char ClaimFileName[] = "MTScore.lock";
// A score file that a save replaces between the open and the lock is simply tried again.
constexpr int ScoreFileAttempts = 10;

// The claim lasts as long as the descriptor: it is never closed, the kernel closes it at the end.
InstanceClaim KeepOpen(Descriptor& file) {
  file.Release();
  return InstanceClaim::Claimed;
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

// Only this program's own claim file gets its group and mode put right: of the regular files with
// no other name that claims are taken through, those that belong to this process's user. Failures
// leave it as it was: narrower, never wider.
void MendOwnClaimFile(int fd, const struct stat& status, const std::string& folder, mode_t mode) {
  if (status.st_uid != ::geteuid()) return;
  struct stat folderStatus {};
  // The umask narrowed the bits at creation, and a group member must share the folder's group.
  if (::stat(folder.c_str(), &folderStatus) == 0 && status.st_gid != folderStatus.st_gid) {
    [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), folderStatus.st_gid);
  }
  ::fchmod(fd, mode);
}

enum class OtherClaim { None, Held, Unknown };

// Whether a copy may hold its claim through what stands at `claimPath`. Only a regular file can
// carry one; a file this copy cannot read might.
OtherClaim ClaimFileState(const std::string& claimPath) {
  struct stat status {};
  if (::lstat(claimPath.c_str(), &status) != 0) return errno == ENOENT ? OtherClaim::None : OtherClaim::Unknown;
  if (!S_ISREG(status.st_mode)) return OtherClaim::None;
  const Descriptor file(OpenFile(claimPath, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
  if (!file.Valid()) return OtherClaim::Unknown;
  return HasWriteLock(file.Get()) ? OtherClaim::Held : OtherClaim::None;
}

// True when a copy holds its claim through the score file.
bool ScoreFileClaimed(const std::string& scorePath) {
  const Descriptor file(OpenFile(scorePath, O_RDONLY | O_NONBLOCK));
  return file.Valid() && HasWriteLock(file.Get());
}

// Each way of claiming takes its own lock first and then looks for the other's, so that of two
// copies starting together at least one sees the other.
InstanceClaim ClaimThroughScoreFile(const std::string& claimPath, const std::string& scorePath) {
  for (int attempt = 0; attempt < ScoreFileAttempts; ++attempt) {
    Descriptor score(OpenFile(scorePath, O_RDWR | O_NONBLOCK));
    if (!IsRegularFile(score.Get())) return InstanceClaim::Impossible;
    // Anyone who may read the file can hold a read lock on it, and that is no copy of the game.
    if (!LockWhole(score.Get()))
      return HasWriteLock(score.Get()) ? InstanceClaim::AnotherCopy : InstanceClaim::Impossible;
    if (!NamesFile(scorePath, score.Get())) continue;  // a save put a new file there meanwhile
    switch (ClaimFileState(claimPath)) {
      case OtherClaim::None: return KeepOpen(score);
      case OtherClaim::Held: return InstanceClaim::AnotherCopy;
      case OtherClaim::Unknown: return InstanceClaim::Impossible;
    }
  }
  return InstanceClaim::Impossible;
}

}  // namespace

InstanceClaim ClaimScoreFile(const std::string& scorePath) {
  const std::string target = FollowedPath(scorePath);
  const std::string folder = FolderOf(target);
  const std::string claimPath = folder + ClaimFileName;
  const mode_t mode = ClaimFileMode(folder, target);
  // No link is followed: a link could lead to a file that people outside the folder may lock.
  // Non-blocking: a pipe in its place must not hang the start.
  Descriptor claim(OpenFile(claimPath, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK, mode));
  struct stat status {};
  if (!claim.Valid() || ::fstat(claim.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1)
    return ClaimThroughScoreFile(claimPath, target);
  MendOwnClaimFile(claim.Get(), status, folder, mode);
  if (!LockWhole(claim.Get()) || ScoreFileClaimed(target)) return InstanceClaim::AnotherCopy;
  return KeepOpen(claim);
}
