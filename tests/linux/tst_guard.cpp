// Single-copy guard: copies on one score file through every way in, whatever stands in the claim
// file's place, saves between them, killed copies, and people who may not write the folder.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "linux/SingleInstance.h"
#include "scores/ScoreFile.h"
#include "tests/support/Child.h"
#include "tests/support/Table.h"

namespace {

// The folders one row plays in: the program folder, a symbolic link to it, an empty folder to
// mount it on, another program folder, and a folder whose score file is a link to the first's.
struct Folders {
  QTemporaryDir program, mountPoint, other, links, sharing;
  std::string Path() const { return program.path().toStdString(); }
};

// A copy of the game in a process of its own: it claims the score file the way `way` names, saves
// when asked, and holds whatever it got until it is released or killed. Its answer: y admitted,
// n refused as a second copy, i no claim possible, w admitted but its save failed, s the system
// does not offer that way in.
class Copy {
 public:
  Copy(const Folders& folders, const QString& way, bool asNobody, bool save) {
    int answer[2], release[2];
    if (::pipe2(answer, O_CLOEXEC) != 0 || ::pipe2(release, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(answer[0]);
      ::close(release[1]);
      const char reply = Claim(folders, way, asNobody, save);
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
  static char Claim(const Folders& folders, const QString& way, bool asNobody, bool save) {
    std::string path = folders.Path();
    if (way == "link") path = folders.links.path().toStdString() + "/link";
    if (way == "other") path = folders.other.path().toStdString();
    if (way == "sharing") path = folders.sharing.path().toStdString();
    if (way == "mount") {
      path = folders.mountPoint.path().toStdString();
      // A mount namespace of its own keeps the mount away from the rest of the machine.
      if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          ::mount(folders.Path().c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return 's';
    }
    if (way == "netns" && ::unshare(CLONE_NEWNET) != 0) return 's';
    if (asNobody && !BecomeNobody()) return 's';
    if (way == "readlocks") {
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
    switch (ClaimScoreFile(path + "/MTScore.dat")) {
      case InstanceClaim::AnotherCopy: return 'n';
      case InstanceClaim::Impossible: return 'i';
      case InstanceClaim::Claimed: break;
    }
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = path + "/";
    module1.NormalNames[0] = "saved";
    return !save || Ending(platform, [&] { SaveScoreFile(module1); }).empty() ? 'y' : 'w';
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

mode_t Octal(const QString& text) { return mode_t(text.toUInt(nullptr, 8)); }

}  // namespace

class TestGuard : public QObject {
  Q_OBJECT

 private slots:
  void secondCopy_data() { RowsFromFixture("guard-matrix.txt", {"folderMode", "score", "claimFile", "first", "second", "after"}); }
  void secondCopy() {
    // Guards against two copies on one score file running side by side, whatever way they came in
    // and whatever stands in the claim file's place, before or after a save; against a claim that
    // outlives its copy; against anyone who may not write the folder keeping the game from starting;
    // against a claim taken where none can hold; and against changing what is not the game's own.
    QFETCH(QString, folderMode);
    QFETCH(QString, score);
    QFETCH(QString, claimFile);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, after);
    if (::geteuid() != 0 && (first + second + claimFile).contains(QRegularExpression("nobody|others|root-")))
      QSKIP("needs root to act as an unprivileged user");

    Folders folders;
    const std::string folder = folders.Path(), claim = folder + "/MTScore.lock", scorePath = folder + "/MTScore.dat";
    QVERIFY(::chmod(folder.c_str(), Octal(folderMode)) == 0);
    // The group that may write the folder is not root's own.
    if (Octal(folderMode) & S_IWGRP) QVERIFY(::chown(folder.c_str(), static_cast<uid_t>(-1), 100) == 0);
    if (score.startsWith("pipe")) QVERIFY(::mkfifo(scorePath.c_str(), 0600) == 0);
    if (score != "none" && !score.startsWith("pipe"))
      QVERIFY(QFile(QString::fromStdString(scorePath)).open(QIODevice::WriteOnly));
    if (score != "none") QVERIFY(::chmod(scorePath.c_str(), Octal(score.split(' ').last())) == 0);
    QVERIFY(QFile::link(folders.program.path(), folders.links.path() + "/link"));
    QVERIFY(QFile::link(QString::fromStdString(scorePath), folders.sharing.filePath("MTScore.dat")));

    // Something of somebody else's that the claim must leave as it is.
    const std::string outside = folders.links.path().toStdString() + "/outside";
    QVERIFY(QFile(QString::fromStdString(outside)).open(QIODevice::WriteOnly) && ::chmod(outside.c_str(), 0644) == 0);
    if (claimFile == "folder") QVERIFY(::mkdir(claim.c_str(), 0755) == 0);
    if (claimFile == "pipe") QVERIFY(::mkfifo(claim.c_str(), 0644) == 0);
    if (claimFile == "link") QVERIFY(::symlink(outside.c_str(), claim.c_str()) == 0);
    if (claimFile == "hardlink") QVERIFY(::link(outside.c_str(), claim.c_str()) == 0);
    if (claimFile == "others" || claimFile.startsWith("root-"))
      QVERIFY(QFile(QString::fromStdString(claim)).open(QIODevice::WriteOnly));
    if (claimFile == "others") QVERIFY(::chown(claim.c_str(), NobodyId, NobodyId) == 0 && ::chmod(claim.c_str(), 0666) == 0);
    if (claimFile.startsWith("root-")) QVERIFY(::chmod(claim.c_str(), claimFile == "root-readable" ? 0644 : 0600) == 0);
    struct stat before {};
    const bool claimFileBefore = claimFile != "-" && ::lstat(claim.c_str(), &before) == 0;

    if (first.contains("readlocks")) Copy(folders, "path", false, false).Kill();  // the claim file to be tried
    std::unique_ptr<Copy> firstCopy;
    if (first != "-") {
      const QStringList words = first.split(' ');
      firstCopy = std::make_unique<Copy>(folders, words[1], words[0] == "nobody", words[2].contains("save"));
      QCOMPARE(QString(QChar(firstCopy->Answer())), words[2].left(1));
      if (words[2].contains("killed")) firstCopy->Kill();
      if (words[2].contains("opened")) QVERIFY(::chmod(claim.c_str(), Octal(words[3])) == 0);
    }
    const QStringList words = second.split(' ');
    Copy secondCopy(folders, words[1], words[0] == "nobody", false);
    if (secondCopy.Answer() == 's') QSKIP("the system does not let this test make that way into the folder");
    QCOMPARE(QString(QChar(secondCopy.Answer())), words[2]);

    struct stat status {};
    const bool claimFileAfter = ::lstat(claim.c_str(), &status) == 0;
    if (after == "as it was") {
      QVERIFY(claimFileBefore && claimFileAfter);
      QCOMPARE((QList<uint>{status.st_mode, status.st_uid}), (QList<uint>{before.st_mode, before.st_uid}));
      QVERIFY(::lstat(outside.c_str(), &status) == 0 && (status.st_mode & 07777) == 0644);
      return;
    }
    QCOMPARE(claimFileAfter ? QString::number(status.st_mode & 07777, 8) : QString("-"), after);
    if (claimFileAfter) QCOMPARE(status.st_uid, uid_t(0));  // only root copies of the rows create one
    if (claimFileAfter && (Octal(folderMode) & S_IWGRP)) QCOMPARE(status.st_gid, gid_t(100));
  }
};

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
