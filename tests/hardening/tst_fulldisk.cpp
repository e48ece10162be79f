// Saves on a full disk: a small file system of the test's own that runs out of space half-way
// through the temporary file, or has no inode left for it. The old file stays whole, nothing is
// left behind, and the write message ends the program.
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "ChildProcess.h"
#include "platform/ScriptedPlatform.h"
#include "scores/ScoreFile.h"
#include "scores/ScoreFileCodec.h"

namespace {

constexpr int Page = 4096;

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Tables whose file takes about three pages: long double-byte names.
ScoreTables LargeTables(const char* character) {
  ScoreTables tables;
  std::string name;
  for (int i = 0; i < 200; ++i) name += character;
  for (auto& entry : tables.NormalNames) entry = name;
  for (auto& player : tables.PlayerNames) player = name;
  return tables;
}

// A file system of its own in a mount namespace of its own: `pages` pages of space and `inodes`
// inodes in all (the folder itself takes one).
bool MountSmallFileSystem(const QString& folder, int pages, int inodes) {
  if (::unshare(CLONE_NEWNS) != 0) return false;
  if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  const std::string options = "size=" + std::to_string(pages * Page) + ",nr_inodes=" + std::to_string(inodes);
  return ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) == 0;
}

// Fills the file system until `leavePages` pages are free (a file system larger than that: just the
// filler file, empty).
bool FillUpTo(const QString& path, long leavePages) {
  QFile filler(path);
  if (!filler.open(QIODevice::WriteOnly)) return false;
  struct statvfs space {};
  const QByteArray block(Page, 'x');
  while (::statvfs(QFileInfo(path).absolutePath().toLocal8Bit().constData(), &space) == 0 &&
         long(space.f_bavail) > leavePages) {
    if (filler.write(block) != Page || !filler.flush()) return false;
  }
  return true;
}

}  // namespace

class TestFullDisk : public QObject {
  Q_OBJECT

 private slots:
  void fullDiskKeepsTheOldFile_data() {
    QTest::addColumn<int>("freePages");  // left free for the temporary file
    QTest::addColumn<bool>("noInode");   // no inode left for it at all
    QTest::newRow("space runs out half-way through the temporary file") << 1 << false;
    QTest::newRow("no space at all") << 0 << false;
    QTest::newRow("no free inode") << 8 << true;
  }
  void fullDiskKeepsTheOldFile() {
    // Guards against a save on a full disk that damages the old file, leaves its temporary file
    // behind, or goes on as if it had saved.
    QFETCH(int, freePages);
    QFETCH(bool, noInode);
    QTemporaryDir outside;
    const QString folder = outside.filePath("small");
    QVERIFY(QDir().mkdir(folder));
    const ChildResult result = RunInChild([&]() -> std::string {
      // Inodes: the folder, the score file, the filler, and one spare unless none is wanted. Where
      // no file system of our own can be mounted (not root, no namespaces), the system is made to
      // refuse the same call instead: the temporary file's creation, or a write into it.
      const bool mounted = MountSmallFileSystem(folder, 16, noInode ? 3 : 8);
      SaveHookForTests refuse;
      if (!mounted) {
        refuse = [&](SaveStep step, int) {
          const bool full = step == (noInode ? SaveStep::CreateTemp : SaveStep::WriteTemp);
          if (full) errno = ENOSPC;
          return full;
        };
      }
      ScriptedPlatform platform;
      Module1 module1(platform);
      module1.AppFolder = folder.toStdString() + "/";
      static_cast<ScoreTables&>(module1) = LargeTables("あ");
      SaveScoreFile(module1);
      const QByteArray before = ReadAll(folder + "/MTScore.dat");
      if (before.size() <= 2 * Page) return "the old file is too small to be cut half-way";
      if (!FillUpTo(folder + "/filler", mounted ? freePages : 1L << 40))
        return "could not fill the file system";

      static_cast<ScoreTables&>(module1) = LargeTables("い");
      try {
        SaveScoreFile(module1, refuse);
        return "the save reported success";
      } catch (const ScriptedPlatform::ProgramEnded&) {
      }
      if (platform.messages.size() != 1 || platform.messages[0].text != FileWriteErrorText)
        return "no write message";
      if (ReadAll(folder + "/MTScore.dat") != before) return "the old file changed";
      QStringList left = Entries(folder);
      left.sort();
      if (left != QStringList({"MTScore.dat", "filler"}))
        return "left behind: " + left.join(" ").toStdString();
      return mounted ? "ok" : "ok (injected)";
    });
    QVERIFY(result.exitedNormally);
    if (result.output == "ok (injected)")
      qInfo("no file system of our own here: the system's refusal was injected");
    QVERIFY2(result.output.starts_with("ok"), result.output.c_str());
  }
};

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
