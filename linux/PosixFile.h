// Plain POSIX file access for the score file, the memo, the single-copy claim and the sounds:
// paths are the system's bytes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

// A file descriptor that is closed however the function is left.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor();
  Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
  // Closes what it held, then takes over `other`'s descriptor.
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Hands the descriptor over: it is no longer closed here.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now; false when the close failed, which can mean written data was lost.
  bool Close();

 private:
  int fd_;
};

// open(2) with O_CLOEXEC, repeated when a signal interrupts it; -1 and errno on failure.
int OpenFile(const std::string& path, int flags, mode_t mode = 0);

bool IsRegularFile(int fd);

// The folder part of `path`: everything up to and including its last "/".
std::string FolderOf(const std::string& path);

// The file a symbolic link at `path` leads to (an absolute path without links), or `path` itself
// when it is no link or leads nowhere.
std::string FollowedPath(const std::string& path);

// True when `path` still names the file open at `fd`.
bool NamesFile(const std::string& path, int fd);

// True when another open file description, of this process or any other, holds a write lock on
// part of the file open at `fd`. Read locks are not reported.
bool HasWriteLock(int fd);

// Writes every byte at the descriptor's position; false on any failure, a full disk or the file
// size limit included.
bool WriteAll(int fd, std::span<const uint8_t> bytes);

// Writes every byte from `offset` on, leaving the position alone.
bool WriteAllAt(int fd, std::span<const uint8_t> bytes, off_t offset);
