// Outside services the game waits on or touches: one interface, a Qt implementation for the
// game (QtPlatform) and a scripted one for tests and the replay tool (ScriptedPlatform).
#pragma once

#include <cstdint>
#include <string>

#include "linux/SingleInstance.h"

// Virtual-key codes the steering asks about.
namespace VirtualKey {
constexpr int Up = 0x26;
constexpr int Down = 0x28;
constexpr int Numpad2 = 0x62;
constexpr int Numpad8 = 0x68;
}  // namespace VirtualKey

// Sound flags as the game passes them with every sound (SoundFlags = 139267 sets all four).
namespace SoundFlag {
constexpr int32_t Async = 0x1;         // return at once, play in the background
constexpr int32_t NoDefault = 0x2;     // a missing file is silence, never a default sound
constexpr int32_t NoWait = 0x2000;     // never wait for the sound device
constexpr int32_t FileName = 0x20000;  // the name is a file path
}  // namespace SoundFlag

enum class MessageIcon { None, Exclamation };

// A font as a window asks for it: the old face names ("ＭＳ Ｐゴシック", "ＭＳ ゴシック") are kept,
// and the real platform maps them to installed faces.
struct FontSpec {
  std::string family;
  double points = 9;
  bool bold = false;
  bool italic = false;
  bool operator==(const FontSpec&) const = default;
};

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Blocks the user-interface thread for the given time (milliseconds, >= 0).
  virtual void Sleep(int milliseconds) = 0;
  // Lets every pending window event run once (key presses reach their handlers here).
  virtual void DoEvents() = 0;
  // 16-bit key state: 0x8000 = down now, 0x0001 = pressed since the previous query of this key.
  // The query clears the 0x0001 bit.
  virtual int16_t GetAsyncKeyState(int virtualKey) = 0;
  // Plays a WAV file in the background, replacing any sound playing; an empty path stops the
  // sound. A missing or unplayable file, or no audio device, is silence.
  virtual void PlaySound(const std::string& path, int32_t flags) = 0;
  // Modal message with an OK button only; returns when it is closed. Texts are UTF-8.
  virtual void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // Modal one-line text entry; Cancel answers the empty text.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
  // Width in pixels of one line of UTF-8 text drawn in `font`, as a picture box measures it.
  virtual int TextWidth(const std::string& text, const FontSpec& font) = 0;
  // Local date and time now.
  virtual LocalDateTime Now() = 0;
  // Absolute folder of the program file as the system's bytes (need not be UTF-8; no trailing "/"
  // except "/"), or "" when the system cannot tell.
  virtual std::string ProgramFolder() = 0;
  // Claims the score file at `scorePath` (bytes) against every other copy of the program, through
  // whatever path it reaches it; the claim lasts until the process ends, however it ends.
  virtual InstanceClaim ClaimSingleInstance(const std::string& scorePath) = 0;
  // Ends the program at once: no further handler runs and nothing is written.
  [[noreturn]] virtual void EndProgram() = 0;
};
