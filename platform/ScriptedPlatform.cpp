// Scripted stand-in for the outside services.
#include "platform/ScriptedPlatform.h"

#include "base/Utf8.h"

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
}

std::string ScriptedPlatform::InputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
  inputRequests.push_back({prompt, title, defaultText});
  if (inputAnswers.empty()) return {};
  std::string answer = std::move(inputAnswers.front());
  inputAnswers.pop_front();
  return answer;
}

int ScriptedPlatform::TextWidth(const std::string& text, const FontSpec& font) {
  const double em = font.points * 4.0 / 3.0;
  double width = 0;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t codePoint = NextCodePoint(text, pos);
    const bool halfWidth = codePoint < 0x100 || (codePoint >= 0xFF61 && codePoint <= 0xFF9F);
    width += (halfWidth ? em / 2 : em) + (font.bold ? 1 : 0);
  }
  return static_cast<int>(width + 0.5);
}

LocalDateTime ScriptedPlatform::Now() { return now; }

std::string ScriptedPlatform::ProgramFolder() { return programFolder; }

InstanceClaim ScriptedPlatform::ClaimSingleInstance(const std::string&) { return claim; }

void ScriptedPlatform::EndProgram() {
  ended = true;
  throw ProgramEnded{};
}
