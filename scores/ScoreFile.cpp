// Score file "MTScore.dat": default tables, loading at start-up and saving after every change.
#include "scores/ScoreFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "scores/ScoreFileCodec.h"
#include "shell/EndProgram.h"

namespace {

constexpr std::array<const char*, NormalEntryCount> DefaultNormalNames = {
    "てんぷ亭", "かつや",       "こづちや", "味濱屋",   "万人屋",
    "一心寿司", "天狗ラーメン", "担々麺屋", "まるしん", "東横"};
constexpr int32_t DefaultTopStageScore = 2000;
constexpr int32_t DefaultStepPerPlace = 200;

// Temporary names tried before giving up; only stale files of crashed saves can take one.
constexpr int TempNameAttempts = 100;

// A file descriptor that is closed however the function is left.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now; false when the close failed, which can mean written data was lost.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
  }

 private:
  int fd_;
};

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

int OpenFile(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool ReadAll(int fd, std::vector<uint8_t>& bytes, size_t limit) {
  bytes.clear();
  uint8_t buffer[4096];
  while (bytes.size() < limit) {
    const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return true;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

bool IsRegularFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// A score file that is a symbolic link is saved where the link points, as writing through the
// link always did; renaming over the link itself would cut it.
std::string SaveTarget(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

// Puts `content` in place of the file at `path` by way of a synced temporary file and a rename.
// False on any failure; up to the rename the old file is never touched.
bool ReplaceFile(const std::string& path, std::vector<uint8_t> content, const SaveFaultForTests& failStep) {
  const auto refused = [&](SaveStep step) { return failStep && failStep(step); };
  const std::string target = SaveTarget(path);
  const std::string folder = target.substr(0, target.rfind('/') + 1);

  // The old file is opened for writing first, as every save always did, so that a protected
  // score file is reported instead of quietly replaced.
  mode_t keptMode = 0666;
  bool oldFileExists = false;
  {
    if (refused(SaveStep::OpenOld)) return false;
    Descriptor old(OpenFile(target, O_RDWR));
    if (!old.Valid() && errno != ENOENT) return false;
    if (old.Valid()) {
      struct stat status {};
      if (::fstat(old.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
      keptMode = status.st_mode & 07777;
      oldFileExists = true;
      // An overwrite in place left the old bytes beyond the new length; the file stays byte for
      // byte what it always was.
      std::vector<uint8_t> oldContent;
      if (refused(SaveStep::ReadOld) || !ReadAll(old.Get(), oldContent, std::numeric_limits<size_t>::max())) {
        return false;
      }
      if (oldContent.size() > content.size()) {
        content.insert(content.end(), oldContent.begin() + static_cast<ptrdiff_t>(content.size()),
                       oldContent.end());
      }
    }
  }

  if (refused(SaveStep::CreateTemp)) return false;
  int tempFd = -1;
  std::string tempPath;
  for (int attempt = 0; attempt < TempNameAttempts && tempFd < 0; ++attempt) {
    tempPath = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    tempFd = OpenFile(tempPath, O_WRONLY | O_CREAT | O_EXCL, keptMode);
    if (tempFd < 0 && errno != EEXIST) return false;
  }
  if (tempFd < 0) return false;
  TemporaryFile temporary(tempPath);
  Descriptor temp(tempFd);
  // The creation mode passed through the umask; the old file's bits must come back unnarrowed.
  if (oldFileExists && ::fchmod(temp.Get(), keptMode) != 0) return false;

  if (refused(SaveStep::WriteTemp) || !WriteAll(temp.Get(), content)) return false;
  if (refused(SaveStep::SyncTemp) || ::fsync(temp.Get()) != 0) return false;
  const bool closed = temp.Close();
  if (refused(SaveStep::CloseTemp) || !closed) return false;
  if (refused(SaveStep::Rename) || ::rename(temporary.Path().c_str(), target.c_str()) != 0) return false;
  temporary.Renamed();

  // Until the folder is synced a crash could still bring back the old file.
  if (refused(SaveStep::SyncFolder)) return false;
  Descriptor folderFd(OpenFile(folder, O_RDONLY | O_DIRECTORY));
  // EINVAL: the file system keeps no folder data to sync.
  return folderFd.Valid() && (::fsync(folderFd.Get()) == 0 || errno == EINVAL);
}

std::optional<ScoreTables> ReadScoreFile(const std::string& path) {
  // Non-blocking so that a pipe put in the file's place fails instead of hanging the game.
  Descriptor file(OpenFile(path, O_RDONLY | O_NONBLOCK));
  std::vector<uint8_t> bytes;
  if (!file.Valid() || !IsRegularFile(file.Get()) ||
      !ReadAll(file.Get(), bytes, ScoreFileLayout::MaxFileSize)) {
    return std::nullopt;
  }
  std::optional<ScoreTables> tables;
  try {
    tables = DecodeScoreFile(bytes);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
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
  std::optional<ScoreTables> tables = ReadScoreFile(module1.AppFolder + ScoreFileName);
  if (!tables) ShowMessageAndEnd(module1, FileReadErrorText);
  static_cast<ScoreTables&>(module1) = std::move(*tables);
}

void SaveScoreFile(Module1& module1) { SaveScoreFile(module1, nullptr); }

void SaveScoreFile(Module1& module1, const SaveFaultForTests& failStep) {
  bool saved = false;
  try {
    saved = ReplaceFile(module1.AppFolder + ScoreFileName, EncodeScoreFile(module1), failStep);
  } catch (const std::runtime_error&) {
    saved = false;
  }
  if (!saved) ShowMessageAndEnd(module1, FileWriteErrorText);
}
