// The sound back end through Qt Multimedia: the only code of the game that links it.
#include "platform/qt/SoundBackEnd.h"

#include <QSoundEffect>
#include <QUrl>

namespace {

class QtSoundBackEnd final : public SoundBackEnd {
 public:
  QObject* NewSound(const QString& source, QObject* owner) override {
    auto* effect = new QSoundEffect(owner);
    effect->setSource(QUrl::fromLocalFile(source));
    return effect;
  }
  void Play(QObject* sound) override { static_cast<QSoundEffect*>(sound)->play(); }
  void Stop(QObject* sound) override { static_cast<QSoundEffect*>(sound)->stop(); }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) SoundBackEnd* MorvaneSoundBackEnd() {
  static QtSoundBackEnd backEnd;
  return &backEnd;
}
