// Scripted stand-in for the outside services: pauses take no time, key presses arrive at chosen
// yields, input boxes take queued answers, and the end of the program is an exception.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/KeyState.h"
#include "platform/Platform.h"

class ScriptedPlatform : public Platform {
 public:
  // Thrown by EndProgram so that a test sees "the program ended here" and nothing after it ran.
  struct ProgramEnded {};

  struct Message {
    std::string text;
    std::string title;
    MessageIcon icon;
  };
  struct InputRequest {
    std::string prompt;
    std::string title;
    std::string defaultText;
  };

  // At the yield numbered `slot` (1-based count of DoEvents calls), press and release `virtualKey`
  // once, running the key-down handler for the press. Several presses in one slot run in the
  // order they were added.
  void PressAt(long slot, int virtualKey);
  // The window's key-down handler that scripted presses are delivered to.
  std::function<void(int virtualKey)> keyDownHandler;
  // Runs at every yield after the scripted presses of that slot (for tests that act mid-flight).
  std::function<void(long slot)> yieldHook;

  // Answers for the coming input boxes, in order; with none left an input box answers "" (Cancel).
  std::deque<std::string> inputAnswers;

  std::string programFolder = "/opt/morvane-tesk";
  LocalDateTime now{2026, 12, 6, 9, 5, 7};
  InstanceClaim claim = InstanceClaim::Claimed;

  // What happened.
  long yields = 0;
  long long sleptMilliseconds = 0;
  std::vector<int> sleeps;
  std::vector<Message> messages;
  std::vector<InputRequest> inputRequests;
  std::vector<std::string> sounds;  // paths played, "" for a stop
  bool ended = false;
  KeyState keys;

  void Sleep(int milliseconds) override;
  void DoEvents() override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void PlaySound(const std::string& path, int32_t flags) override;
  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  // Deterministic stand-in for a font's measure: an em is `points` x 4 / 3 pixels (96 dots per
  // inch); a character below U+0100 or a half-width katakana is half an em, every other a whole em;
  // bold adds one pixel per character. Rounded to whole pixels.
  int TextWidth(const std::string& text, const FontSpec& font) override;
  LocalDateTime Now() override;
  std::string ProgramFolder() override;
  InstanceClaim ClaimSingleInstance(const std::string& scorePath) override;
  [[noreturn]] void EndProgram() override;

 private:
  std::map<long, std::vector<int>> pressesBySlot_;
};
