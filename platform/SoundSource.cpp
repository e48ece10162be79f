// Hands Qt's sound service a sound file whose path need not be UTF-8: Qt turns every path into
// UTF-16 text, which cannot carry a folder name that is not UTF-8.
#include "platform/SoundSource.h"

#include <fcntl.h>

#include <QObject>

#include "platform/PosixFile.h"
#include "platform/WavCheck.h"

namespace {

// Closes the descriptor when its owner goes, so the sound keeps its file as long as it may play.
class DescriptorKeeper : public QObject {
 public:
  DescriptorKeeper(int fd, QObject* owner) : QObject(owner), file_(fd) {}

 private:
  Descriptor file_;
};

}  // namespace

QUrl OpenSoundSource(const std::string& path, QObject* keeper) {
  // Non-blocking: a pipe in a sound's place must not hang the game. The file checked is the file
  // handed over.
  Descriptor file(OpenFile(path, O_RDONLY | O_NONBLOCK));
  if (!file.Valid() || !IsPlayableWav(file.Get())) return {};
  const int fd = file.Release();
  new DescriptorKeeper(fd, keeper);
  return QUrl::fromLocalFile(QStringLiteral("/proc/self/fd/%1").arg(fd));
}
