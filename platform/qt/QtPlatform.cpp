// The outside services on a Linux desktop, through Qt.
#include "platform/qt/QtPlatform.h"

#include <dlfcn.h>
#include <sys/prctl.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "controls/qt/QtLook.h"
#include "linux/ProgramFolder.h"
#include "linux/SchedulerSlice.h"
#include "linux/SingleInstance.h"
#include "linux/WavFile.h"
#include "platform/qt/SoundBackEnd.h"

namespace {

// Closes the descriptor when its owner goes, so the sound keeps its file as long as it may play.
class DescriptorKeeper : public QObject {
 public:
  DescriptorKeeper(Descriptor file, QObject* owner) : QObject(owner), file_(std::move(file)) {}

 private:
  Descriptor file_;
};

// The back end in the module at `path`, or nullptr. The module stays open for the whole run: the
// sounds' code lives in it.
SoundBackEnd* OpenSoundBackEnd(const std::string& path) {
  void* module = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* entry = module ? dlsym(module, SoundBackEndEntry) : nullptr;
  return entry ? reinterpret_cast<SoundBackEnd* (*)()>(entry)() : nullptr;
}

}  // namespace

int VirtualKeyOf(int qtKey, bool onKeypad) {
  switch (qtKey) {
    case Qt::Key_Down: return onKeypad ? VirtualKey::Numpad2 : VirtualKey::Down;
    case Qt::Key_Up: return onKeypad ? VirtualKey::Numpad8 : VirtualKey::Up;
    case Qt::Key_2: return onKeypad ? VirtualKey::Numpad2 : 0;
    case Qt::Key_8: return onKeypad ? VirtualKey::Numpad8 : 0;
    default: return 0;
  }
}

QtPlatform::QtPlatform(std::string soundModule) : soundModule_(std::move(soundModule)) {
  // The default 50 us timer slack adds to every 50 ms tick; one microsecond keeps the pace honest.
  prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
  // The flight wakes every 50 ms to do some 50 us of work, and every late wake-up adds to the
  // flight's length.
  AskForSchedulerSlice(100000);  // the shortest the kernel grants
  QCoreApplication::instance()->installEventFilter(this);
  // Opening the sound back end loads some thirty libraries: once the menu is up and drawn, and
  // before a player could have pressed START and GO!!, so that neither start-up nor a flight
  // waits for it.
  QTimer::singleShot(250, this, [this] { Sounds(); });
}

std::string QtPlatform::SoundModuleBesideProgram() {
  const std::string folder = ::ProgramFolder();
  return folder.empty() ? std::string() : folder + "/" + SoundModuleName;
}

SoundBackEnd* QtPlatform::Sounds() {
  // Tried once: a missing module stays silence, and a flight's sounds never look for it again.
  if (!sounds_) sounds_ = OpenSoundBackEnd(soundModule_);
  return *sounds_;
}

QtPlatform::~QtPlatform() = default;

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (int code = VirtualKeyOf(key->key(), key->modifiers().testFlag(Qt::KeypadModifier))) {
        if (event->type() == QEvent::KeyPress)
          keys_.Press(code, key->isAutoRepeat());
        else
          keys_.Release(code, key->isAutoRepeat());
      }
      break;
    }
    case QEvent::ApplicationDeactivate:
    case QEvent::WindowDeactivate:
      // A key released while another program or another window has the keyboard may report its
      // release elsewhere or nowhere (a window under a modal box gets no keys): forget what is held.
      keys_.Clear();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

void QtPlatform::Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  // The kernel wakes a sleeper some 0.1 ms late, and a flight has hundreds of pauses: sleep to
  // just short of the deadline, then wait out the rest on the clock.
  constexpr long SpinNanoseconds = 200000;
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  const long long target = deadline.tv_sec * 1000000000LL + deadline.tv_nsec + milliseconds * 1000000LL;
  const long long wake = target - SpinNanoseconds;
  const timespec wakeAt{static_cast<time_t>(wake / 1000000000LL), static_cast<long>(wake % 1000000000LL)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wakeAt, nullptr) == EINTR) {
  }
  timespec now{};
  do {
    clock_gettime(CLOCK_MONOTONIC, &now);
  } while (now.tv_sec * 1000000000LL + now.tv_nsec < target);
}

void QtPlatform::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int16_t QtPlatform::GetAsyncKeyState(int virtualKey) { return keys_.Query(virtualKey); }

void QtPlatform::StopSound() {
  if (playing_) Sounds()->Stop(playing_);
  playing_ = nullptr;
}

std::unique_ptr<QObject> QtPlatform::OpenSound(const std::string& path) {
  SoundBackEnd* sounds = Sounds();
  if (!sounds) return nullptr;
  Descriptor file = OpenPlayableWav(path);
  if (!file.Valid()) return nullptr;
  // Qt turns every path into UTF-16 text, which cannot carry a folder name that is not UTF-8; the
  // open file itself can be named by its number. Also a child: what plays can be looked up.
  std::unique_ptr<QObject> sound(sounds->NewSound(QStringLiteral("/proc/self/fd/%1").arg(file.Get()), this));
  new DescriptorKeeper(std::move(file), sound.get());
  return sound;
}

void QtPlatform::PlaySound(const std::string& path, int32_t) {
  // Always asynchronous and never a default sound: the only ways the game plays sounds.
  StopSound();
  if (path.empty()) return;
  // Keyed by the path's bytes: Latin-1 gives each byte a character of its own.
  const QString key = QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size()));
  auto found = soundByPath_.find(key);
  if (found == soundByPath_.end()) {
    // Remembered either way: an unplayable file stays silence.
    found = soundByPath_.emplace(key, OpenSound(path)).first;
  }
  if (QObject* sound = found->second.get()) {
    Sounds()->Play(sound);
    playing_ = sound;
  }
}

void QtPlatform::MessageBox(const std::string& text, const std::string& title, MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
  box.exec();
}

std::string QtPlatform::InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
  bool accepted = false;
  QString answer =
      QInputDialog::getText(nullptr, QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(defaultText), &accepted);
  return accepted ? answer.toStdString() : std::string();
}

int QtPlatform::TextWidth(const std::string& text, const FontSpec& font) {
  return QFontMetrics(ToQFont(font)).horizontalAdvance(QString::fromStdString(text));
}

LocalDateTime QtPlatform::Now() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

// Qt's own answer turns the folder into text and comes back empty for a name that is not UTF-8.
std::string QtPlatform::ProgramFolder() { return ::ProgramFolder(); }

InstanceClaim QtPlatform::ClaimSingleInstance(const std::string& scorePath) {
  return ClaimScoreFile(scorePath);
}

void QtPlatform::EndProgram() {
  // No destructors, no atexit handlers, no pending events: nothing may run or be written now.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(0);
}
