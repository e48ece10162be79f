// The sound back end: Qt Multimedia's sound effects, in a module of their own. The program opens the
// module (and with it Qt Multimedia, the sound server's client and their codecs) once the menu is up
// or at the first sound, so that start-up does not wait for what only the sounds need.
#pragma once

class QObject;
class QString;

class SoundBackEnd {
 public:
  // A sound for the WAV file `source` (a local file name), a child of `owner`.
  virtual QObject* NewSound(const QString& source, QObject* owner) = 0;
  virtual void Play(QObject* sound) = 0;
  virtual void Stop(QObject* sound) = 0;

 protected:
  ~SoundBackEnd() = default;
};

// The module beside the program, and its one entry point: the back end, which lives as long as the
// program does.
inline constexpr char SoundModuleName[] = "morvane-sound.so";
inline constexpr char SoundBackEndEntry[] = "MorvaneSoundBackEnd";
extern "C" SoundBackEnd* MorvaneSoundBackEnd();
