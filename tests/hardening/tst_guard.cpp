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

#include "platform/ScriptedPlatform.h"
#include "linux/SingleInstance.h"
#include "scores/ScoreFile.h"
#include "tests/hardening/ChildProcess.h"

namespace {

constexpr int ScorePipe = 010000;

// The folders one row plays in: the program folder, a symbolic link to it, an empty folder to
// mount it on, another program folder, and a folder whose score file is a link to the first's.
struct Folders {
  QTemporaryDir program, mountPoint, other, links, sharing;
  std::string Path() const { return program.path().toStdString(); }
  std::string Link() const { return links.path().toStdString() + "/link"; }
};

// A copy of the game in a process of its own that claims the folder the way `way` names, saves the
// score file when asked, and holds whatever it got until it is released or killed. Its answer: 'y'
// admitted, 'n' refused as a second copy, 'i' no claim possible, 'w' admitted but its save failed,
// 's' the system does not offer that way in.
class Copy {
 public:
  Copy(const Folders& folders, const QString& way, bool asNobody, bool save = false) {
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
    if (way == "symbolic link") path = folders.Link();
    if (way == "other folder") path = folders.other.path().toStdString();
    if (way == "folder sharing the score file") path = folders.sharing.path().toStdString();
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
    switch (ClaimScoreFile(path + "/MTScore.dat")) {
      case InstanceClaim::AnotherCopy: return 'n';
      case InstanceClaim::Impossible: return 'i';
      case InstanceClaim::Claimed: break;
    }
    if (!save) return 'y';
    ScriptedPlatform platform;
    Module1 module1(platform);
    module1.AppFolder = path + "/";
    module1.NormalNames[0] = "saved";
    try {
      SaveScoreFile(module1);
    } catch (const ScriptedPlatform::ProgramEnded&) {
      return 'w';
    }
    return 'y';
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

// What stands in the claim file's place before the first copy comes.
enum class ClaimFileAs { Nothing, Folder, Link, HardLink, RootsReadable, RootsUnreadable, Others };

}  // namespace

Q_DECLARE_METATYPE(ClaimFileAs)

class TestGuard : public QObject {
  Q_OBJECT

 private slots:
  void secondCopy_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("scoreMode");  // 0: no score file; with ScorePipe: a pipe of that mode
    QTest::addColumn<ClaimFileAs>("claimFileAs");
    QTest::addColumn<QString>("first");  // empty: no first copy
    QTest::addColumn<bool>("firstIsNobody");
    QTest::addColumn<QString>("firstAnswer");  // and with "+save" the first copy saves once admitted
    QTest::addColumn<bool>("firstKilled");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("secondIsNobody");
    QTest::addColumn<QString>("secondAnswer");
    QTest::addColumn<int>("claimMode");      // of the claim file afterwards, -1: no claim file
    QTest::addColumn<int>("claimOpenedTo");  // a mode someone gives the claim file after the first copy
    const QString path = "path", y = "y", n = "n", i = "i", ySaved = "y+save";
    const int pipe = ScorePipe;
    const auto row = [&](const char* name, int folderMode, int scoreMode, ClaimFileAs as, const QString& first,
                         bool firstIsNobody, const QString& firstAnswer, const QString& second,
                         bool secondIsNobody, const QString& secondAnswer, int claimMode) {
      QTest::newRow(name) << folderMode << scoreMode << as << first << firstIsNobody << firstAnswer << false
                          << second << secondIsNobody << secondAnswer << claimMode << 0;
    };
    const ClaimFileAs plain = ClaimFileAs::Nothing;
    row("same path", 0755, 0644, plain, path, false, ySaved, path, false, n, 0600);
    row("through a symbolic link to the folder", 0755, 0644, plain, path, false, y, "symbolic link", false, n,
        0600);
    row("through a bind mount in another mount namespace", 0755, 0644, plain, path, false, y, "bind mount",
        false, n, 0600);
    row("from another network namespace", 0755, 0644, plain, path, false, y, "network namespace", false, n,
        0600);
    row("another folder", 0755, 0644, plain, path, false, y, "other folder", false, y, 0600);
    QTest::newRow("after the first copy was killed") << 0755 << 0644 << plain << path << false << y << true
                                                     << path << false << y << 0600 << 0;
    row("group may write the folder", 0775, 0644, plain, path, false, y, path, false, n, 0660);
    row("after read locks of one who may not write the folder", 0755, 0644, plain, "read locks", true, y, path,
        false, y, 0600);
    row("after one who may write nothing", 0755, 0644, plain, path, true, i, path, false, y, 0600);
    row("one who may write the score file only, after a copy", 0755, 0666, plain, path, false, y, path, true, n,
        0666);
    row("after a copy of one who may write the score file only", 0755, 0666, plain, path, true, ySaved, path,
        false, n, 0666);
    row("pipe in the score file's place", 0755, pipe | 0644, plain, path, false, y, path, false, n, 0600);
    row("pipe in the score file's place, one who may not write the folder", 0755, pipe | 0666, plain, "", false,
        y, path, true, i, -1);
    row("two who may write the score file only", 0755, 0666, plain, path, true, ySaved, path, true, n, -1);
    QTest::newRow("claim file opened to readers, one who may write the score file only")
        << 0755 << 0666 << plain << path << false << y << false << path << true << n << 0644 << 0644;
    row("one who may write nothing, first of all", 0755, 0644, plain, "", false, y, path, true, i, -1);
    // Whatever stands in the claim file's place, a save between two copies does not let both in.
    row("claim file a folder", 0755, 0644, ClaimFileAs::Folder, path, false, ySaved, path, false, n, -1);
    row("claim file a folder, no score file yet", 0755, 0, ClaimFileAs::Folder, path, false, i, path, false, i,
        -1);
    row("claim file a link", 0755, 0644, ClaimFileAs::Link, path, false, ySaved, path, false, n, -1);
    row("claim file a hard link", 0755, 0644, ClaimFileAs::HardLink, path, false, ySaved, path, false, n, -1);
    row("claim file of another player, open to all", 0755, 0644, ClaimFileAs::Others, path, false, ySaved, path,
        false, n, -1);
    row("claim file root's and readable, players who may write the folder", 0757, 0666,
        ClaimFileAs::RootsReadable, path, true, ySaved, path, true, n, 0644);
    row("claim file root's and unreadable, players who may write the folder", 0757, 0666,
        ClaimFileAs::RootsUnreadable, path, true, i, path, false, y, 0666);
    // The claim follows the score file the game writes, wherever it is linked from.
    row("folder sharing the score file through a link", 0755, 0644, plain, path, false, ySaved,
        "folder sharing the score file", false, n, 0600);
    row("folder sharing the score file, after its save", 0755, 0644, plain, "folder sharing the score file",
        false, ySaved, path, false, n, 0600);
  }
  void secondCopy() {
    // Guards against two copies on one score file running side by side whatever way they came in and
    // whatever stands in the claim file's place, before or after a save; against a claim that
    // outlives its copy; against anyone who may not write the folder keeping the game from starting;
    // and against a claim taken where none can hold.
    QFETCH(int, folderMode);
    QFETCH(int, scoreMode);
    QFETCH(ClaimFileAs, claimFileAs);
    QFETCH(QString, first);
    QFETCH(bool, firstIsNobody);
    QFETCH(QString, firstAnswer);
    QFETCH(bool, firstKilled);
    QFETCH(QString, second);
    QFETCH(bool, secondIsNobody);
    QFETCH(QString, secondAnswer);
    QFETCH(int, claimMode);
    QFETCH(int, claimOpenedTo);
    const bool nobody = firstIsNobody || secondIsNobody || claimFileAs == ClaimFileAs::Others;
    if (nobody && ::geteuid() != 0) QSKIP("needs root to act as an unprivileged user");

    Folders folders;
    const std::string folder = folders.Path();
    const std::string claim = folder + "/MTScore.lock";
    QVERIFY(::chmod(folder.c_str(), mode_t(folderMode)) == 0);
    // The group that may write the folder is not root's own.
    if (folderMode & S_IWGRP) QVERIFY(::chown(folder.c_str(), static_cast<uid_t>(-1), 100) == 0);
    const std::string score = folder + "/MTScore.dat";
    if (scoreMode & ScorePipe) QVERIFY(::mkfifo(score.c_str(), 0600) == 0);
    if (scoreMode != 0 && !(scoreMode & ScorePipe))
      QVERIFY(QFile(QString::fromStdString(score)).open(QIODevice::WriteOnly));
    if (scoreMode != 0) QVERIFY(::chmod(score.c_str(), mode_t(scoreMode & 07777)) == 0);
    QVERIFY(QFile::link(folders.program.path(), QString::fromStdString(folders.Link())));
    QVERIFY(QFile::link(QString::fromStdString(score), folders.sharing.filePath("MTScore.dat")));

    // Something of somebody else's that the claim must leave as it is.
    const std::string outside = folders.links.path().toStdString() + "/outside";
    QVERIFY(QFile(QString::fromStdString(outside)).open(QIODevice::WriteOnly));
    QVERIFY(::chmod(outside.c_str(), 0644) == 0);
    switch (claimFileAs) {
      case ClaimFileAs::Nothing: break;
      case ClaimFileAs::Folder: QVERIFY(::mkdir(claim.c_str(), 0755) == 0); break;
      case ClaimFileAs::Link: QVERIFY(::symlink(outside.c_str(), claim.c_str()) == 0); break;
      case ClaimFileAs::HardLink: QVERIFY(::link(outside.c_str(), claim.c_str()) == 0); break;
      case ClaimFileAs::Others:
        QVERIFY(QFile(QString::fromStdString(claim)).open(QIODevice::WriteOnly));
        QVERIFY(::chown(claim.c_str(), NobodyId, NobodyId) == 0 && ::chmod(claim.c_str(), 0666) == 0);
        break;
      case ClaimFileAs::RootsReadable:
      case ClaimFileAs::RootsUnreadable:
        QVERIFY(QFile(QString::fromStdString(claim)).open(QIODevice::WriteOnly));
        QVERIFY(::chmod(claim.c_str(), claimFileAs == ClaimFileAs::RootsReadable ? 0644 : 0600) == 0);
        break;
    }
    struct stat claimBefore {};
    const bool notAClaimFile = claimFileAs == ClaimFileAs::Folder || claimFileAs == ClaimFileAs::Link ||
                               claimFileAs == ClaimFileAs::HardLink || claimFileAs == ClaimFileAs::Others;
    QVERIFY(!notAClaimFile || ::lstat(claim.c_str(), &claimBefore) == 0);

    if (first == "read locks") Copy(folders, "path", false).Kill();  // the claim file is there to be tried

    std::unique_ptr<Copy> firstCopy;
    if (!first.isEmpty()) {
      firstCopy = std::make_unique<Copy>(folders, first, firstIsNobody, firstAnswer.endsWith("+save"));
      QCOMPARE(QString(QChar(firstCopy->Answer())), firstAnswer.left(1));
      if (firstKilled) firstCopy->Kill();
      if (claimOpenedTo != 0) QVERIFY(::chmod(claim.c_str(), mode_t(claimOpenedTo)) == 0);
    }
    Copy secondCopy(folders, second, secondIsNobody);
    if (secondCopy.Answer() == 's') QSKIP("the system does not let this test make that way into the folder");
    QCOMPARE(QString(QChar(secondCopy.Answer())), secondAnswer);

    struct stat status {};
    const bool claimFile = ::lstat(claim.c_str(), &status) == 0;
    if (notAClaimFile) {
      // Not the game's own claim file: left exactly as it was, and so is what it leads to.
      QCOMPARE(status.st_mode, claimBefore.st_mode);
      QCOMPARE(status.st_uid, claimBefore.st_uid);
      QVERIFY(::lstat(outside.c_str(), &status) == 0);
      QCOMPARE(int(status.st_mode & 07777), 0644);
      return;
    }
    QCOMPARE(claimFile ? int(status.st_mode & 07777) : -1, claimMode);
    if (claimFile) QCOMPARE(status.st_uid, uid_t(0));  // only root copies of the rows create one
    if (claimFile && (folderMode & S_IWGRP)) QCOMPARE(status.st_gid, gid_t(100));
  }
};

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
