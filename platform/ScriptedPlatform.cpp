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

int ScriptedPlatform::TextWidth(const std::string& text, const FontSpec& font) {
  const double em = font.points * 4.0 / 3.0;
  double width = 0;
  for (size_t pos = 0; pos < text.size();) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length && pos + i < text.size(); ++i)
      codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    const bool halfWidth = codePoint < 0x100 || (codePoint >= 0xFF61 && codePoint <= 0xFF9F);
    width += (halfWidth ? em / 2 : em) + (font.bold ? 1 : 0);
    pos += length;
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
