// What the real platform asks of the kernel so that a flight keeps its pace on a busy machine.
#include <sys/resource.h>
#include <sys/utsname.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <cstdio>

#include "platform/qt/QtPlatform.h"

class PacingTest : public QObject {
  Q_OBJECT

 private slots:
  void shortSchedulerSlice() {
    // Guards against the user-interface thread keeping the kernel's default slice, with which a busy
    // machine lets the woken flight wait up to a clock tick after every pause, or losing the
    // niceness it was started with.
    utsname system{};
    uname(&system);
    int major = 0, minor = 0;
    std::sscanf(system.release, "%d.%d", &major, &minor);
    QFile sched(QStringLiteral("/proc/thread-self/sched"));
    if (major * 100 + minor < 612 || !sched.open(QIODevice::ReadOnly))
      QSKIP("this kernel has no slices of a thread's own choice, or does not show them");
    const auto slice = [] {
      QFile file(QStringLiteral("/proc/thread-self/sched"));
      file.open(QIODevice::ReadOnly);
      for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("se.slice")) return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
      return -1LL;
    };
    QVERIFY(slice() != 100000);
    // A player who started the game at a lower priority keeps it: asking for the slice must not
    // reset the niceness (nor, unprivileged, fail for asking to).
    QCOMPARE(setpriority(PRIO_PROCESS, 0, 7), 0);
    QtPlatform platform;
    QCOMPARE(slice(), 100000);  // nanoseconds: the shortest the kernel grants
    QCOMPARE(getpriority(PRIO_PROCESS, 0), 7);
  }
};

QTEST_MAIN(PacingTest)
#include "tst_pacing.moc"
