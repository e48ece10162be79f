// Pacing benchmark: real flights on the play window with real pauses. It reports how far the
// flight's wall time runs over the pauses it asked for, and the work done between two ticks.
#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "flight/Form1Window.h"
#include "platform/QtPlatform.h"
#include "shell/AppFolder.h"
#include "shell/Game.h"
#include "shell/RunSetUp.h"
#include "shell/StartUp.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The real services, with key presses typed into the window at chosen yields and every pause timed.
class TimedPlatform : public Platform {
 public:
  explicit TimedPlatform(QtPlatform& real) : real_(real) {}

  QWidget* window = nullptr;
  std::map<long, std::vector<int>> pressesBySlot;  // Qt key codes
  long long requestedMilliseconds = 0;
  long yields = 0;
  std::vector<double> tickWorkMilliseconds;
  double sleepOvershootMilliseconds = 0;
  double yieldMilliseconds = 0;
  double soundMilliseconds = 0;

  void Sleep(int milliseconds) override {
    const Clock::time_point start = Clock::now();
    // Work per tick: from the end of one tick's pause to the start of the next one.
    if (milliseconds == Flight::TickPauseMs && lastTickPauseEnd_)
      tickWorkMilliseconds.push_back(Milliseconds(start - *lastTickPauseEnd_));
    requestedMilliseconds += milliseconds;
    real_.Sleep(milliseconds);
    sleepOvershootMilliseconds += Milliseconds(Clock::now() - start) - milliseconds;
    if (milliseconds == Flight::TickPauseMs)
      lastTickPauseEnd_ = Clock::now();
    else
      lastTickPauseEnd_.reset();
  }
  void DoEvents() override {
    ++yields;
    if (auto found = pressesBySlot.find(yields); found != pressesBySlot.end()) {
      for (int key : found->second) {
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
      }
    }
    const Clock::time_point start = Clock::now();
    real_.DoEvents();
    yieldMilliseconds += Milliseconds(Clock::now() - start);
  }
  int16_t GetAsyncKeyState(int virtualKey) override { return real_.GetAsyncKeyState(virtualKey); }
  void PlaySound(const std::string& path, int32_t flags) override {
    const Clock::time_point start = Clock::now();
    real_.PlaySound(path, flags);
    soundMilliseconds += Milliseconds(Clock::now() - start);
  }
  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
    real_.MessageBox(text, title, icon);
  }
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override {
    return real_.InputBox(prompt, title, defaultText);
  }
  int TextWidth(const std::string& text, const FontSpec& font) override {
    return real_.TextWidth(text, font);
  }
  LocalDateTime Now() override { return real_.Now(); }
  std::string ProgramFolder() override { return real_.ProgramFolder(); }
  bool ClaimSingleInstance(const std::string& programFolder) override {
    return real_.ClaimSingleInstance(programFolder);
  }
  [[noreturn]] void EndProgram() override {
    real_.EndProgram();
    std::abort();  // not reached: the real end never returns
  }

 private:
  QtPlatform& real_;
  std::optional<Clock::time_point> lastTickPauseEnd_;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<size_t>(fraction * static_cast<double>(values.size()));
  const size_t index = std::min(values.size() - 1, rank);
  return values[index];
}

struct Script {
  const char* name;
  int stage;
  std::map<long, std::vector<int>> presses;
};

void Fly(QtPlatform& real, const Script& script) {
  TimedPlatform platform(real);
  platform.pressesBySlot = script.presses;
  Game game(platform);
  game.module1.AppFolder = AppFolderFrom(platform.ProgramFolder());
  ApplyStartValues(game.module1);
  BeginNormalRun(game, 0);
  game.module1.Stage = script.stage;
  Form1& form1 = game.form1;
  Form1Window window(form1);
  platform.window = &window;
  window.show();
  window.activateWindow();
  window.setFocus();
  QCoreApplication::processEvents();

  form1.GameInit();
  const Clock::time_point start = Clock::now();
  form1.GameMain();
  const double wall = Milliseconds(Clock::now() - start);

  std::printf("%s: %s at x %.0f, %ld yields\n", script.name, form1.Label4.Caption().c_str(), form1.ShipX,
              platform.yields);
  std::printf("  wall %.1f ms / requested pauses %lld ms = pacing %.4f\n", wall,
              platform.requestedMilliseconds, wall / static_cast<double>(platform.requestedMilliseconds));
  std::printf("  pauses overshot by %.1f ms, yields took %.1f ms, sounds %.1f ms\n",
              platform.sleepOvershootMilliseconds, platform.yieldMilliseconds, platform.soundMilliseconds);
  std::printf("  work per tick over %zu ticks: median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
              platform.tickWorkMilliseconds.size(), Percentile(platform.tickWorkMilliseconds, 0.5),
              Percentile(platform.tickWorkMilliseconds, 0.99),
              Percentile(platform.tickWorkMilliseconds, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  MapJapaneseFonts();
  QtPlatform real;
  std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
  Fly(real, {"stage 3, edge landing with bonus count-up",
             3,
             {{1, {Qt::Key_Down, Qt::Key_Down}}, {116, {Qt::Key_Up}}}});
  Fly(real, {"stage 1, no keys: fall beyond the pad", 1, {}});
  return 0;
}
