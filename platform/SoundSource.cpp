// Hands Qt's sound service a sound file whose path need not be UTF-8: Qt turns every path into
// UTF-16 text, which cannot carry a folder name that is not UTF-8.
#include "platform/SoundSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QObject>

namespace {

// Closes the descriptor when its owner goes, so the sound keeps its file as long as it may play.
class DescriptorKeeper : public QObject {
 public:
  DescriptorKeeper(int fd, QObject* owner) : QObject(owner), fd_(fd) {}
  ~DescriptorKeeper() override { ::close(fd_); }

 private:
  int fd_;
};

}  // namespace

QUrl OpenSoundSource(const std::string& path, QObject* keeper) {
  // Non-blocking: a pipe in a sound's place must not hang the game.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return {};
  }
  new DescriptorKeeper(fd, keeper);
  return QUrl::fromLocalFile(QStringLiteral("/proc/self/fd/%1").arg(fd));
}
