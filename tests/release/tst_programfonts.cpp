// The fonts the downloadable archive carries beside the game: found in folders of any name, and a
// broken one neither counted nor left open.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "controls/qt/QtLook.h"

namespace {

constexpr char SystemFonts[] = "/usr/share/fonts/opentype/ipafont-gothic/";

int OpenDescriptors() {
  int count = 0;
  if (DIR* folder = opendir("/proc/self/fd")) {
    while (readdir(folder)) ++count;
    closedir(folder);
  }
  return count;
}

}  // namespace

class TestProgramFonts : public QObject {
  Q_OBJECT

 private slots:
  void fontsBesideTheProgram_data() {
    QTest::addColumn<QByteArray>("folderName");
    QTest::addColumn<QStringList>("fonts");  // "real" links the system's copy, "empty" is no font
    QTest::addColumn<int>("added");
    QTest::newRow("both fonts") << QByteArray("game") << QStringList{"real", "real"} << 2;
    QTest::newRow("folder name that is not UTF-8")
        << QByteArray("g\xe9me \xff") << QStringList{"real", "real"} << 2;
    QTest::newRow("an empty file in place of the proportional face")
        << QByteArray("game") << QStringList{"empty", "real"} << 1;
    QTest::newRow("no fonts folder") << QByteArray("game") << QStringList{} << 0;
  }
  void fontsBesideTheProgram() {
    // Guards against carried fonts lost in a folder whose name is not UTF-8 (the windows would
    // draw boxes where no font package is installed), and a broken file counted or kept open.
    QFETCH(QByteArray, folderName);
    QFETCH(QStringList, fonts);
    QFETCH(int, added);
    if (access((std::string(SystemFonts) + "ipagp.ttf").c_str(), R_OK) != 0)
      QSKIP("fonts-ipafont-gothic is not installed");
    QTemporaryDir outside;
    const std::string folder = outside.path().toStdString() + "/" + folderName.toStdString();
    QVERIFY(mkdir(folder.c_str(), 0755) == 0);
    if (!fonts.isEmpty()) QVERIFY(mkdir((folder + "/fonts").c_str(), 0755) == 0);
    const char* names[] = {"ipagp.ttf", "ipag.ttf"};
    for (qsizetype i = 0; i < fonts.size(); ++i) {
      const std::string path = folder + "/fonts/" + names[i];
      if (fonts[i] == "real")
        QVERIFY(symlink((std::string(SystemFonts) + names[i]).c_str(), path.c_str()) == 0);
      else
        QVERIFY(close(creat(path.c_str(), 0644)) == 0);
    }
    const int before = OpenDescriptors();
    QCOMPARE(AddFontsBesideProgram(folder), added);
    // Each added font stays open for the whole run, nothing else does.
    QCOMPARE(OpenDescriptors() - before, added);
  }
};

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  TestProgramFonts test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_programfonts.moc"
