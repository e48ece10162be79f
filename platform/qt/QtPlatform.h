// The outside services on a Linux desktop, through Qt: real pauses, the event loop, key events,
// sound files, message and input boxes.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/KeyState.h"
#include "platform/Platform.h"

class QKeyEvent;
class SoundBackEnd;

// Maps a Qt key event to the virtual-key code the steering asks about, or 0 for other keys.
// Keypad 2 and 8 count as such whether NumLock is on (Key_2/Key_8) or off (Key_Down/Key_Up).
int VirtualKeyOf(int qtKey, bool onKeypad);

class QtPlatform : public QObject, public Platform {
  Q_OBJECT

 public:
  // Needs a QApplication. Watches every key event of the application. Plays sounds through the
  // sound back end in `soundModule` (the system's bytes), opened a quarter of a second after start
  // or at the first sound; without it the game is silent.
  explicit QtPlatform(std::string soundModule = SoundModuleBesideProgram());
  ~QtPlatform() override;

  void Sleep(int milliseconds) override;
  void DoEvents() override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void PlaySound(const std::string& path, int32_t flags) override;
  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  int TextWidth(const std::string& text, const FontSpec& font) override;
  LocalDateTime Now() override;
  std::string ProgramFolder() override;
  InstanceClaim ClaimSingleInstance(const std::string& scorePath) override;
  [[noreturn]] void EndProgram() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static std::string SoundModuleBesideProgram();
  // The sound back end, opened on first use; nullptr when there is none.
  SoundBackEnd* Sounds();
  void StopSound();
  // A sound for the WAV file at `path`, or nullptr when it is no playable one.
  std::unique_ptr<QObject> OpenSound(const std::string& path);

  KeyState keys_;
  std::string soundModule_;
  std::optional<SoundBackEnd*> sounds_;  // once tried: the back end, or nullptr
  std::map<QString, std::unique_ptr<QObject>> soundByPath_;
  QObject* playing_ = nullptr;
};
