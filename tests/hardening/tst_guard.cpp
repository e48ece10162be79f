// Single-copy guard: copies on one folder through every way in, killed copies, and people who may
// not write the folder.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/SingleInstance.h"
#include "tests/hardening/ChildProcess.h"

namespace {

constexpr int ScorePipe = 010000;

// The folders one row plays in: the program folder, a symbolic link to it, an empty folder to
// mount it on, and another program folder.
struct Folders {
  QTemporaryDir program, mountPoint, other, links;
  std::string Path() const { return program.path().toStdString(); }
  std::string Link() const { return links.path().toStdString() + "/link"; }
};

// A copy of the game in a process of its own that claims the folder the way `way` names and
// holds whatever it got until it is released or killed. Its answer: 'y' admitted, 'n' refused,
// 's' the system does not offer that way in.
class Copy {
 public:
  Copy(const Folders& folders, const QString& way, bool asNobody) {
    int answer[2], release[2];
    if (::pipe2(answer, O_CLOEXEC) != 0 || ::pipe2(release, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(answer[0]);
      ::close(release[1]);
      const char reply = Claim(folders, way, asNobody);
      [[maybe_unused]] const ssize_t sent = ::write(answer[1], &reply, 1);
      char ignored;
      while (::read(release[0], &ignored, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(answer[1]);
    ::close(release[0]);
    release_ = release[1];
    // A copy that hangs answers nothing; ten seconds are plenty for one claim.
    pollfd ready{answer[0], POLLIN, 0};
    if (::poll(&ready, 1, 10000) != 1 || ::read(answer[0], &answer_, 1) != 1) answer_ = '?';
    ::close(answer[0]);
  }
  ~Copy() { End(); }
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  char Answer() const { return answer_; }
  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    End();
  }

 private:
  static char Claim(const Folders& folders, const QString& way, bool asNobody) {
    std::string path = folders.Path();
    if (way == "symbolic link") path = folders.Link();
    if (way == "other folder") path = folders.other.path().toStdString();
    if (way == "bind mount") {
      path = folders.mountPoint.path().toStdString();
      // A mount namespace of its own keeps the mount away from the rest of the machine.
      if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          ::mount(folders.Path().c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return 's';
      }
    }
    if (way == "network namespace" && ::unshare(CLONE_NEWNET) != 0) return 's';
    if (asNobody && !BecomeNobody()) return 's';
    if (way == "read locks") {
      // Everything a reader can do: read locks on the score file and the folder, a try at the claim file.
      const int score = ::open((path + "/MTScore.dat").c_str(), O_RDONLY);
      struct flock lock {};
      lock.l_type = F_RDLCK;
      const bool scoreLocked = score >= 0 && ::fcntl(score, F_OFD_SETLK, &lock) == 0;
      const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
      const bool folderLocked = folder >= 0 && ::flock(folder, LOCK_EX) == 0;
      const bool claimOpened = ::open((path + "/MTScore.lock").c_str(), O_RDONLY) >= 0;
      return scoreLocked && folderLocked && !claimOpened ? 'y' : 'x';
    }
    return ClaimProgramFolder(path) ? 'y' : 'n';
  }

  void End() {
    if (release_ >= 0) ::close(release_);
    release_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int release_ = -1;
  char answer_ = '?';
};

}  // namespace

class TestGuard : public QObject {
  Q_OBJECT

 private slots:
  void secondCopy_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("scoreMode");  // 0: no score file; with ScorePipe: a pipe of that mode
    QTest::addColumn<QString>("first");  // empty: no first copy
    QTest::addColumn<bool>("firstIsNobody");
    QTest::addColumn<bool>("firstKilled");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("secondIsNobody");
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<int>("claimMode");      // of the claim file afterwards, -1: no claim file
    QTest::addColumn<int>("claimOpenedTo");  // a mode someone gives the claim file after the first copy
    const QString path = "path";
    const int pipe = ScorePipe;
    QTest::newRow("same path") << 0755 << 0644 << path << false << false << path << false << false << 0600
                               << 0;
    QTest::newRow("through a symbolic link to the folder")
        << 0755 << 0644 << path << false << false << "symbolic link" << false << false << 0600 << 0;
    QTest::newRow("through a bind mount in another mount namespace")
        << 0755 << 0644 << path << false << false << "bind mount" << false << false << 0600 << 0;
    QTest::newRow("from another network namespace")
        << 0755 << 0644 << path << false << false << "network namespace" << false << false << 0600 << 0;
    QTest::newRow("another folder") << 0755 << 0644 << path << false << false << "other folder" << false
                                    << true << 0600 << 0;
    QTest::newRow("after the first copy was killed")
        << 0755 << 0644 << path << false << true << path << false << true << 0600 << 0;
    QTest::newRow("group may write the folder")
        << 0775 << 0644 << path << false << false << path << false << false << 0660 << 0;
    QTest::newRow("after read locks of one who may not write the folder")
        << 0755 << 0644 << "read locks" << true << false << path << false << true << 0600 << 0;
    QTest::newRow("after a copy of one who may write nothing")
        << 0755 << 0644 << path << true << false << path << false << true << 0600 << 0;
    QTest::newRow("one who may write the score file only, after a copy")
        << 0755 << 0666 << path << false << false << path << true << false << 0666 << 0;
    QTest::newRow("after a copy of one who may write the score file only")
        << 0755 << 0666 << path << true << false << path << false << false << 0666 << 0;
    QTest::newRow("pipe in the score file's place")
        << 0755 << (pipe | 0644) << path << false << false << path << false << false << 0600 << 0;
    QTest::newRow("pipe in the score file's place, one who may not write the folder")
        << 0755 << (pipe | 0666) << "" << false << false << path << true << true << -1 << 0;
    QTest::newRow("two who may write the score file only")
        << 0755 << 0666 << path << true << false << path << true << false << -1 << 0;
    QTest::newRow("claim file opened to readers, one who may write the score file only")
        << 0755 << 0666 << path << false << false << path << true << false << 0644 << 0644;
    QTest::newRow("one who may write nothing, first of all")
        << 0755 << 0644 << "" << false << false << path << true << true << -1 << 0;
  }
  void secondCopy() {
    // Guards against two copies on one folder running side by side whatever way they came in,
    // against a claim that outlives its copy, and against anyone who may not write the folder
    // keeping the game from starting.
    QFETCH(int, folderMode);
    QFETCH(int, scoreMode);
    QFETCH(QString, first);
    QFETCH(bool, firstIsNobody);
    QFETCH(bool, firstKilled);
    QFETCH(QString, second);
    QFETCH(bool, secondIsNobody);
    QFETCH(bool, admitted);
    QFETCH(int, claimMode);
    QFETCH(int, claimOpenedTo);
    const bool nobody = firstIsNobody || secondIsNobody;
    if (nobody && ::geteuid() != 0) QSKIP("needs root to switch to an unprivileged user");

    Folders folders;
    const std::string folder = folders.Path();
    QVERIFY(::chmod(folder.c_str(), mode_t(folderMode)) == 0);
    // The group that may write the folder is not root's own.
    if (folderMode & S_IWGRP) QVERIFY(::chown(folder.c_str(), static_cast<uid_t>(-1), 100) == 0);
    const std::string score = folder + "/MTScore.dat";
    if (scoreMode & ScorePipe) QVERIFY(::mkfifo(score.c_str(), 0600) == 0);
    if (scoreMode != 0 && !(scoreMode & ScorePipe))
      QVERIFY(QFile(QString::fromStdString(score)).open(QIODevice::WriteOnly));
    if (scoreMode != 0) QVERIFY(::chmod(score.c_str(), mode_t(scoreMode & 07777)) == 0);
    QVERIFY(QFile::link(folders.program.path(), QString::fromStdString(folders.Link())));

    if (first == "read locks") Copy(folders, "path", false).Kill();  // the claim file is there to be tried

    std::unique_ptr<Copy> firstCopy;
    if (!first.isEmpty()) {
      firstCopy = std::make_unique<Copy>(folders, first, firstIsNobody);
      QCOMPARE(firstCopy->Answer(), 'y');
      if (firstKilled) firstCopy->Kill();
      if (claimOpenedTo != 0)
        QVERIFY(::chmod((folder + "/MTScore.lock").c_str(), mode_t(claimOpenedTo)) == 0);
    }
    Copy secondCopy(folders, second, secondIsNobody);
    if (secondCopy.Answer() == 's') QSKIP("the system does not let this test make that way into the folder");
    QCOMPARE(secondCopy.Answer(), admitted ? 'y' : 'n');

    struct stat status {};
    const bool claimFile = ::lstat((folder + "/MTScore.lock").c_str(), &status) == 0;
    QCOMPARE(claimFile ? int(status.st_mode & 07777) : -1, claimMode);
    if (claimFile) QCOMPARE(status.st_uid, uid_t(0));  // only root copies of the rows create one
    if (claimFile && (folderMode & S_IWGRP)) QCOMPARE(status.st_gid, gid_t(100));
  }
};

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
