// Replay tool: flies one normal-mode flight from a script of key presses and prints its outcome.
//
//   morvane-replay STAGE [SLOT:KEY ...]
//
// STAGE is 1..5. SLOT counts the flight's yields to pending events from 1 (every tick, every
// pixel of the fall, every step of the bonus count-up); KEY is down, kp2, up or kp8. Each token
// is one press and release handled in that slot, in the order given.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "app/Game.h"
#include "flight/RunSetUp.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr int BadArguments = 2;

// A whole decimal number and nothing else, within [lowest, highest].
std::optional<long> WholeNumber(const std::string& text, long lowest, long highest) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < lowest || value > highest) return std::nullopt;
  return value;
}

std::optional<int> KeyNamed(const std::string& name) {
  static const std::map<std::string, int> keys = {{"down", VirtualKey::Down},
                                                  {"kp2", VirtualKey::Numpad2},
                                                  {"up", VirtualKey::Up},
                                                  {"kp8", VirtualKey::Numpad8}};
  if (auto found = keys.find(name); found != keys.end()) return found->second;
  return std::nullopt;
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "morvane-replay: %s (usage: morvane-replay STAGE [SLOT:KEY ...])\n", message.c_str());
  return BadArguments;
}

// The folder this tool lies in, where the game's sounds would be looked for.
std::string OwnFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  return self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Refuse("no stage given");
  const std::optional<long> stage = WholeNumber(argv[1], 1, 5);
  if (!stage) return Refuse("stage must be 1..5, not \"" + std::string(argv[1]) + "\"");

  ScriptedPlatform platform;
  for (int i = 2; i < argc; ++i) {
    const std::string token = argv[i];
    const size_t colon = token.find(':');
    const std::optional<long> slot =
        colon == std::string::npos ? std::nullopt : WholeNumber(token.substr(0, colon), 1, 1000000000L);
    const std::optional<int> key =
        colon == std::string::npos ? std::nullopt : KeyNamed(token.substr(colon + 1));
    if (!slot || !key)
      return Refuse("bad press \"" + token + "\", expected SLOT:KEY with KEY down, kp2, up or kp8");
    platform.PressAt(*slot, *key);
  }

  platform.programFolder = OwnFolder(argv[0]);
  Game game(platform);
  Form1& form1 = game.form1;
  platform.keyDownHandler = [&form1](int) { form1.Form_KeyDown(); };
  SetUpNormalFlight(form1, game.module1, static_cast<int32_t>(*stage));
  form1.GameMain();

  const long ticks = std::count(platform.sleeps.begin(), platform.sleeps.end(), Flight::TickPauseMs);
  // The banner is what the player is told: "Failed!!" is the crash, every other banner a landing.
  const bool success = form1.Label4.Caption() != "Failed!!";
  std::printf(
      "result=%s edge=%d x=%ld y=%.6f angle=%d softness=%d control=%d course=%d total=%d ticks=%ld "
      "slots=%ld\n",
      success ? "success" : "failure", form1.EdgeBonus, std::lround(form1.ShipX), form1.ShipY,
      form1.DescentAngle, form1.SoftnessPoints, form1.ControlPoints, form1.CoursePoints,
      form1.SoftnessPoints + form1.ControlPoints + form1.CoursePoints, ticks, platform.yields);
  return 0;
}
