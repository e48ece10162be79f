// Score file "MTScore.dat": default tables, loading at start-up and saving after every change.
#include "scores/ScoreFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "linux/PosixFile.h"
#include "scores/ScoreFileCodec.h"
#include "shell/EndProgram.h"

namespace {

constexpr std::array<const char*, NormalEntryCount> DefaultNormalNames = {
    "てんぷ亭", "かつや",       "こづちや", "味濱屋",   "万人屋",
    "一心寿司", "天狗ラーメン", "担々麺屋", "まるしん", "東横"};
constexpr int32_t DefaultTopStageScore = 2000;
constexpr int32_t DefaultStepPerPlace = 200;

// Temporary names tried before giving up; only files of saves killed this very moment can take one.
constexpr int TempNameAttempts = 100;
constexpr char TempInfix[] = ".tmp-";
// The old tail is copied in pieces of this size, never held whole.
constexpr size_t CopyPieceSize = 64 * 1024;

// Removes the temporary file unless the save got as far as renaming it.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  void Renamed() { path_.clear(); }

 private:
  std::string path_;
};

// The failures a test asks for: each refused call fails with EIO, never with an error that would
// choose another way to save.
class InjectedFailures {
 public:
  explicit InjectedFailures(const SaveHookForTests& hook) : hook_(hook) {}
  bool Refused(SaveStep step, int fd) const {
    if (!hook_ || !hook_(step, fd)) return false;
    errno = EIO;
    return true;
  }

 private:
  const SaveHookForTests& hook_;
};

// Appends up to `limit` bytes of a regular file, whose reads signals do not interrupt.
bool ReadUpTo(int fd, std::vector<uint8_t>& bytes, size_t limit) {
  uint8_t buffer[4096];
  while (bytes.size() < limit) {
    const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (got < 0) return false;
    if (got == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return true;
}

// "NAME.tmp-PID-N" for the file NAME: the temporary names of this game's saves and nothing else.
bool IsLeftoverName(std::string_view entry, std::string_view name) {
  const std::string prefix = std::string(name) + TempInfix;
  if (!entry.starts_with(prefix)) return false;
  entry.remove_prefix(prefix.size());
  const size_t dash = entry.find('-');
  const auto digits = [](std::string_view part) {
    return !part.empty() &&
           std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  return dash != std::string_view::npos && digits(entry.substr(0, dash)) && digits(entry.substr(dash + 1));
}

void RemoveLeftovers(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string name = target.substr(folder.size());
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
  if (!listing) return;  // unlisted leftovers stay; they harm nothing
  while (const dirent* entry = ::readdir(listing.get())) {
    if (IsLeftoverName(entry->d_name, name)) ::unlinkat(::dirfd(listing.get()), entry->d_name, 0);
  }
}

// Copies bytes [from, to) of `old` to the same offsets of `temp` in bounded pieces. Only the
// parts that hold data are copied, so a hole stays a hole instead of becoming real zeros.
bool CopyTail(int old, int temp, off_t from, off_t to, const InjectedFailures& calls) {
  std::vector<uint8_t> piece(CopyPieceSize);
  for (off_t pos = from; pos < to;) {
    off_t data = ::lseek(old, pos, SEEK_DATA);
    off_t hole = to;
    if (data < 0 && errno == ENXIO) break;  // nothing but a hole up to the end
    if (data < 0) {
      data = pos;  // a file system that cannot tell holes: copy everything
    } else if (const off_t dataEnd = ::lseek(old, data, SEEK_HOLE); dataEnd > data) {
      hole = std::min(to, dataEnd);
    }
    for (pos = data; pos < hole;) {
      const ssize_t got = calls.Refused(SaveStep::ReadOld, old)
                              ? -1
                              : ::pread(old, piece.data(), std::min<off_t>(hole - pos, CopyPieceSize), pos);
      if (got <= 0) return false;
      if (calls.Refused(SaveStep::WriteTemp, temp) ||
          !WriteAllAt(temp, std::span(piece.data(), static_cast<size_t>(got)), pos)) {
        return false;
      }
      pos += got;
    }
  }
  // The length, with any hole at the end.
  return ::ftruncate(temp, to) == 0;
}

// The new file takes the old one's owner and group where this process may give them: root can,
// a player can give a group they belong to. Failures keep the process's own.
void KeepOwner(int temp, const struct stat& old) {
  if (::fchown(temp, old.st_uid, old.st_gid) == 0) return;
  [[maybe_unused]] const int groupOnly = ::fchown(temp, static_cast<uid_t>(-1), old.st_gid);
}

// The fallback for a folder that takes no new file, and the save of a copy whose claim is the
// score file's own lock: the old bytes are overwritten in place and synced. A crash in the middle
// can leave a mixed file.
bool RewriteInPlace(Descriptor& old, std::span<const uint8_t> content, const InjectedFailures& calls) {
  // A file size limit below the new length would stop the rewrite half-way.
  rlimit sizeLimit {};
  if (::getrlimit(RLIMIT_FSIZE, &sizeLimit) != 0 ||
      (sizeLimit.rlim_cur != RLIM_INFINITY && sizeLimit.rlim_cur < content.size())) {
    return false;
  }
  if (calls.Refused(SaveStep::WriteInPlace, old.Get()) || !WriteAllAt(old.Get(), content, 0)) return false;
  if (calls.Refused(SaveStep::SyncInPlace, old.Get()) || ::fsync(old.Get()) != 0) return false;
  return old.Close();
}

// The file a save replaces, open for writing (so that a protected score file is reported rather
// than quietly replaced), or none yet.
struct OldFile {
  Descriptor file{-1};
  struct stat status {};
};

// False when the old file is there but cannot be written, or is no regular file (a pipe in its
// place fails at once: the open does not wait).
bool OpenOldFile(const std::string& target, OldFile& old, const InjectedFailures& calls) {
  if (calls.Refused(SaveStep::OpenOld, -1)) return false;
  old.file = Descriptor(OpenFile(target, O_RDWR | O_NONBLOCK));
  if (!old.file.Valid()) return errno == ENOENT;
  return ::fstat(old.file.Get(), &old.status) == 0 && S_ISREG(old.status.st_mode);
}

// A new file beside `target` named "NAME.tmp-PID-N", with `mode`. Its descriptor is invalid when
// none could be made; `folderRefuses` then tells whether the folder takes no new file at all.
Descriptor CreateTemporary(const std::string& target, mode_t mode, std::string& path, bool& folderRefuses,
                           const InjectedFailures& calls) {
  folderRefuses = false;
  for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
    if (calls.Refused(SaveStep::CreateTemp, -1)) return Descriptor(-1);
    path = target + TempInfix + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    Descriptor temp(OpenFile(path, O_WRONLY | O_CREAT | O_EXCL, mode));
    if (temp.Valid()) return temp;
    if (errno != EEXIST) {
      folderRefuses = errno == EACCES || errno == EPERM;
      break;
    }
  }
  return Descriptor(-1);
}

// The temporary file made what the old file would be after an overwrite in place: the old owner and
// mode, the new bytes, then the old bytes beyond them; synced and closed.
bool FillTemporary(Descriptor& temp, const OldFile& old, std::span<const uint8_t> content,
                   const InjectedFailures& calls) {
  if (old.file.Valid()) {
    KeepOwner(temp.Get(), old.status);
    // The creation mode passed through the umask, and a change of owner clears set-id bits.
    if (::fchmod(temp.Get(), old.status.st_mode & 07777) != 0) return false;
  }
  if (calls.Refused(SaveStep::WriteTemp, temp.Get()) || !WriteAll(temp.Get(), content)) return false;
  const off_t newLength = static_cast<off_t>(content.size());
  if (old.file.Valid() && old.status.st_size > newLength &&
      !CopyTail(old.file.Get(), temp.Get(), newLength, old.status.st_size, calls)) {
    return false;
  }
  if (calls.Refused(SaveStep::SyncTemp, temp.Get()) || ::fsync(temp.Get()) != 0) return false;
  return !calls.Refused(SaveStep::CloseTemp, temp.Get()) && temp.Close();
}

// Renames the temporary file over `target` and syncs the folder: until then a crash could still
// bring back the old file.
bool CommitTemporary(TemporaryFile& temporary, const std::string& target, const InjectedFailures& calls) {
  if (calls.Refused(SaveStep::Rename, -1) || ::rename(temporary.Path().c_str(), target.c_str()) != 0)
    return false;
  temporary.Renamed();
  Descriptor folder(OpenFile(FolderOf(target), O_RDONLY | O_DIRECTORY));
  if (!folder.Valid() || calls.Refused(SaveStep::SyncFolder, folder.Get())) return false;
  // EINVAL: the file system keeps no folder data to sync.
  return ::fsync(folder.Get()) == 0 || errno == EINVAL;
}

// Puts `content` in place of the file at `path` by way of a synced temporary file and a rename.
// False on any failure; up to the rename the old file is never touched.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> content, const InjectedFailures& calls) {
  const std::string target = FollowedPath(path);
  RemoveLeftovers(target);
  OldFile old;
  if (!OpenOldFile(target, old, calls)) return false;
  // A copy that holds its single-copy claim through the score file's own lock keeps the file, and
  // the lock with it.
  if (old.file.Valid() && HasWriteLock(old.file.Get())) return RewriteInPlace(old.file, content, calls);

  std::string tempPath;
  bool folderRefuses = false;
  const mode_t mode = old.file.Valid() ? old.status.st_mode & 07777 : 0666;
  Descriptor temp = CreateTemporary(target, mode, tempPath, folderRefuses, calls);
  if (!temp.Valid()) return folderRefuses && old.file.Valid() && RewriteInPlace(old.file, content, calls);
  TemporaryFile temporary(tempPath);
  return FillTemporary(temp, old, content, calls) && CommitTemporary(temporary, target, calls);
}

std::optional<ScoreTables> ReadScoreFile(const std::string& path) {
  // Non-blocking so that a pipe put in the file's place fails instead of hanging the game.
  Descriptor file(OpenFile(path, O_RDONLY | O_NONBLOCK));
  std::vector<uint8_t> bytes;
  if (!file.Valid() || !IsRegularFile(file.Get()) ||
      !ReadUpTo(file.Get(), bytes, ScoreFileLayout::MaxFileSize)) {
    return std::nullopt;
  }
  std::optional<ScoreTables> tables = DecodeScoreFile(bytes);
  if (!file.Close()) return std::nullopt;
  return tables;
}

}  // namespace

void InitScoreTables(Module1& module1) {
  for (size_t player = 0; player < PlayerCount; ++player) {
    module1.PlayerNames[player].clear();
    module1.AttackScores[player].fill(0);
  }
  for (size_t entry = 0; entry < NormalEntryCount; ++entry) {
    module1.NormalNames[entry] = DefaultNormalNames[entry];
    module1.NormalScores[entry].fill(DefaultTopStageScore -
                                     DefaultStepPerPlace * static_cast<int32_t>(entry));
  }
  SaveScoreFile(module1);
}

void LoadScoreFile(Module1& module1) {
  bool loaded = false;
  // Every failure, a missing conversion or memory included, ends in the message.
  try {
    if (std::optional<ScoreTables> tables = ReadScoreFile(module1.AppFolder + ScoreFileName)) {
      static_cast<ScoreTables&>(module1) = std::move(*tables);
      loaded = true;
    }
  } catch (const std::exception&) {
    loaded = false;
  }
  if (!loaded) ShowMessageAndEnd(module1, FileReadErrorText);
}

void SaveScoreFile(Module1& module1) { SaveScoreFile(module1, nullptr); }

void SaveScoreFile(Module1& module1, const SaveHookForTests& hook) {
  bool saved;
  try {
    saved = ReplaceFile(module1.AppFolder + ScoreFileName, EncodeScoreFile(module1), InjectedFailures(hook));
  } catch (const std::exception&) {
    saved = false;
  }
  if (!saved) ShowMessageAndEnd(module1, FileWriteErrorText);
}

void RemoveSaveLeftovers(const Module1& module1) {
  RemoveLeftovers(FollowedPath(module1.AppFolder + ScoreFileName));
}
