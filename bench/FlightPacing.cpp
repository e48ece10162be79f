// Pacing benchmark: real flights on the play window with real pauses. It reports how far the
// flight's wall time runs over the pauses it asked for, where the excess went (work between the
// pauses, pauses woken late, time the machine kept the game waiting for a processor), and the work
// done between two pauses.
//
//   morvane-bench-flight [RUNS] [default-slice]
//
// default-slice puts the scheduler slice the game asks for back to the kernel's default, to compare.
// Offscreen unless QT_QPA_PLATFORM says otherwise (bench/measure.sh runs it under Xvfb too).
#include <sys/resource.h>

#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Game.h"
#include "flight/RunSetUp.h"
#include "flight/qt/Form1Window.h"
#include "linux/SchedulerSlice.h"
#include "platform/qt/QtPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<size_t>(fraction * static_cast<double>(values.size()));
  return values[std::min(values.size() - 1, rank)];
}

// What the kernel counted for this thread: time on a processor, time runnable but kept waiting for
// one (both in milliseconds), and how often it was taken off a processor against its will.
struct ThreadCounters {
  double runningMs = 0;
  double waitingMs = 0;
  long involuntarySwitches = 0;
};

ThreadCounters ReadThreadCounters() {
  ThreadCounters counters;
  std::ifstream schedstat("/proc/thread-self/schedstat");
  long long running = 0, waiting = 0;
  if (schedstat >> running >> waiting) {
    counters.runningMs = static_cast<double>(running) / 1e6;
    counters.waitingMs = static_cast<double>(waiting) / 1e6;
  }
  rusage usage{};
  if (getrusage(RUSAGE_THREAD, &usage) == 0) counters.involuntarySwitches = usage.ru_nivcsw;
  return counters;
}

// The scheduler slice of this thread in microseconds, from the kernel's debug view (0 if it has none).
double SliceMicroseconds() {
  std::ifstream sched("/proc/thread-self/sched");
  std::string line;
  while (std::getline(sched, line))
    if (line.rfind("se.slice", 0) == 0) return std::atof(line.substr(line.find(':') + 1).c_str()) / 1e3;
  return 0;
}

double ProcessCpuMilliseconds() {
  timespec cpu{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6;
}

// The real services, with key presses typed into the window at chosen yields and every pause timed.
class TimedPlatform : public Platform {
 public:
  explicit TimedPlatform(QtPlatform& real) : real_(real) {}

  QWidget* window = nullptr;
  std::map<long, std::vector<int>> pressesBySlot;  // Qt key codes
  long long requestedMilliseconds = 0;
  long yields = 0;
  std::vector<double> tickWorkMilliseconds;  // before each 50 ms tick pause
  std::vector<double> stepWorkMilliseconds;  // before every pause: ticks, the fall, the count-up
  std::vector<double> overshootMilliseconds;
  double yieldMilliseconds = 0;
  double soundMilliseconds = 0;
  long longSteps = 0;          // work over 1 ms between two pauses...
  long longStepsTakenOff = 0;  // ...of which the kernel took the processor away in between

  void Sleep(int milliseconds) override {
    const Clock::time_point start = Clock::now();
    const long switches = InvoluntarySwitches();
    // Work: from the end of one pause to the start of the next one.
    if (lastPauseEnd_) {
      const double work = Milliseconds(start - *lastPauseEnd_);
      stepWorkMilliseconds.push_back(work);
      if (milliseconds == Flight::TickPauseMs && lastWasTick_) tickWorkMilliseconds.push_back(work);
      if (work > 1.0) {
        ++longSteps;
        if (switches > switchesAtPauseEnd_) ++longStepsTakenOff;
      }
    }
    requestedMilliseconds += milliseconds;
    real_.Sleep(milliseconds);
    switchesAtPauseEnd_ = InvoluntarySwitches();
    lastPauseEnd_ = Clock::now();
    lastWasTick_ = milliseconds == Flight::TickPauseMs;
    overshootMilliseconds.push_back(Milliseconds(*lastPauseEnd_ - start) - milliseconds);
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
  InstanceClaim ClaimSingleInstance(const std::string& scorePath) override {
    return real_.ClaimSingleInstance(scorePath);
  }
  [[noreturn]] void EndProgram() override {
    real_.EndProgram();
    std::abort();  // not reached: the real end never returns
  }

 private:
  QtPlatform& real_;
  static long InvoluntarySwitches() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nivcsw;
  }

  std::optional<Clock::time_point> lastPauseEnd_;
  long switchesAtPauseEnd_ = 0;
  bool lastWasTick_ = false;
};

struct Script {
  const char* name;
  int stage;
  std::map<long, std::vector<int>> presses;
};

struct Result {
  double pacing = 0;
  double pacingWithoutWaiting = 0;
};

Result Fly(QtPlatform& real, const Script& script) {
  TimedPlatform platform(real);
  platform.pressesBySlot = script.presses;
  Game game(platform);
  Form1& form1 = game.form1;
  Form1Window window(form1);
  platform.window = &window;
  window.show();
  window.activateWindow();
  window.setFocus();
  QCoreApplication::processEvents();

  SetUpNormalFlight(form1, game.module1, script.stage);
  const ThreadCounters before = ReadThreadCounters();
  const double cpuBefore = ProcessCpuMilliseconds();
  const Clock::time_point start = Clock::now();
  form1.GameMain();
  const double wall = Milliseconds(Clock::now() - start);
  const double cpu = ProcessCpuMilliseconds() - cpuBefore;
  const ThreadCounters after = ReadThreadCounters();

  const auto requested = static_cast<double>(platform.requestedMilliseconds);
  const double waiting = after.waitingMs - before.waitingMs;
  double overshoot = 0;
  for (double late : platform.overshootMilliseconds) overshoot += late;
  const auto over = [](const std::vector<double>& values, double limit) {
    return std::count_if(values.begin(), values.end(), [limit](double value) { return value > limit; });
  };

  std::printf("%s: %s at x %.0f, %ld yields\n", script.name, form1.Label4.Caption().c_str(), form1.ShipX,
              platform.yields);
  std::printf("  wall %.1f ms / requested pauses %.0f ms = pacing %.4f\n", wall, requested, wall / requested);
  std::printf("  excess %.1f ms: pauses woke late by %.1f ms (per pause: 99th percentile %.3f ms, max %.3f ms),"
              " yields took %.1f ms, sounds %.1f ms\n",
              wall - requested, overshoot, Percentile(platform.overshootMilliseconds, 0.99),
              Percentile(platform.overshootMilliseconds, 1.0), platform.yieldMilliseconds,
              platform.soundMilliseconds);
  std::printf("  kept waiting for a processor %.1f ms (%ld involuntary switches); without that wait, pacing %.4f\n",
              waiting, after.involuntarySwitches - before.involuntarySwitches, (wall - waiting) / requested);
  std::printf("  cpu %.1f ms = %.1f %% of the wall time\n", cpu, 100.0 * cpu / wall);
  std::printf("  work per tick over %zu ticks: median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
              platform.tickWorkMilliseconds.size(), Percentile(platform.tickWorkMilliseconds, 0.5),
              Percentile(platform.tickWorkMilliseconds, 0.99), Percentile(platform.tickWorkMilliseconds, 1.0));
  std::printf("  work per step over %zu steps (ticks, fall, count-up): median %.3f ms, 99th percentile %.3f ms,"
              " max %.3f ms, %td over 1 ms, %td over 5 ms\n",
              platform.stepWorkMilliseconds.size(), Percentile(platform.stepWorkMilliseconds, 0.5),
              Percentile(platform.stepWorkMilliseconds, 0.99), Percentile(platform.stepWorkMilliseconds, 1.0),
              over(platform.stepWorkMilliseconds, 1.0), over(platform.stepWorkMilliseconds, 5.0));
  if (platform.longSteps > 0)
    std::printf("  of the %ld steps over 1 ms, the kernel took the processor away during %ld\n", platform.longSteps,
                platform.longStepsTakenOff);
  return {wall / requested, (wall - waiting) / requested};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As the game does.
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
  QApplication application(argc, argv);
  MapJapaneseFonts();
  QtPlatform real;
  // A player reaches the first flight from the menu, by which time the sound back end is open.
  QEventLoop menu;
  QTimer::singleShot(1000, &menu, &QEventLoop::quit);
  menu.exec();
  if (argc > 2 && std::string(argv[2]) == "default-slice") AskForSchedulerSlice(0);
  std::printf("platform %s, scheduler slice %.0f us\n", qPrintable(QGuiApplication::platformName()),
              SliceMicroseconds());
  const Script scripts[] = {
      {"stage 3, edge landing with bonus count-up", 3, {{1, {Qt::Key_Down, Qt::Key_Down}}, {116, {Qt::Key_Up}}}},
      {"stage 1, no keys: fall beyond the pad", 1, {}},
  };
  std::map<std::string, std::vector<double>> pacings, pacingsWithoutWaiting;
  for (int run = 0; run < runs; ++run) {
    for (const Script& script : scripts) {
      const Result result = Fly(real, script);
      pacings[script.name].push_back(result.pacing);
      pacingsWithoutWaiting[script.name].push_back(result.pacingWithoutWaiting);
    }
  }
  if (runs > 1) {
    for (const Script& script : scripts) {
      const std::vector<double>& all = pacings[script.name];
      const std::vector<double>& own = pacingsWithoutWaiting[script.name];
      std::printf("%s, %d runs: pacing min %.4f median %.4f max %.4f; without the wait for a processor"
                  " min %.4f median %.4f max %.4f\n",
                  script.name, runs, Percentile(all, 0), Percentile(all, 0.5), Percentile(all, 1.0),
                  Percentile(own, 0), Percentile(own, 0.5), Percentile(own, 1.0));
    }
  }
  return 0;
}
