// Scripted stand-in for the outside services.
#include "platform/ScriptedPlatform.h"

void ScriptedPlatform::PressAt(long slot, int virtualKey) { pressesBySlot_[slot].push_back(virtualKey); }

void ScriptedPlatform::Sleep(int milliseconds) {
  sleeps.push_back(milliseconds);
  sleptMilliseconds += milliseconds;
}

void ScriptedPlatform::DoEvents() {
  ++yields;
  if (auto found = pressesBySlot_.find(yields); found != pressesBySlot_.end()) {
    for (int key : found->second) {
      keys.Press(key);
      if (keyDownHandler) keyDownHandler(key);
      keys.Release(key);
    }
  }
  if (yieldHook) yieldHook(yields);
}

int16_t ScriptedPlatform::GetAsyncKeyState(int virtualKey) { return keys.Query(virtualKey); }

void ScriptedPlatform::PlaySound(const std::string& path, int32_t) { sounds.push_back(path); }

void ScriptedPlatform::MessageBox(const std::string& text, const std::string& title, MessageIcon icon) {
  messages.push_back({text, title, icon});
  if (messageHook) messageHook(messages.back());
}

std::string ScriptedPlatform::InputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
  inputRequests.push_back({prompt, title, defaultText});
  if (inputAnswers.empty()) return {};
  std::string answer = std::move(inputAnswers.front());
  inputAnswers.pop_front();
  return answer;
}

LocalDateTime ScriptedPlatform::Now() { return now; }

std::string ScriptedPlatform::ProgramFolder() { return programFolder; }

bool ScriptedPlatform::ClaimSingleInstance(const std::string&) { return !anotherCopyRunning; }

void ScriptedPlatform::EndProgram() {
  ended = true;
  throw ProgramEnded{};
}
