// Whole games through every window's model, as transcripts under tests/fixtures/games: a player's
// steps and what the game shows and keeps after them.
#include <QDir>
#include <QTest>

#include "tests/support/Transcript.h"

class TestGames : public QObject {
  Q_OBJECT

 private slots:
  void transcripts_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : QDir(QStringLiteral(MORVANE_FIXTURES "/games")).entryList({"*.txt"}))
      QTest::newRow(name.toUtf8().constData()) << name;
  }
  void transcripts() {
    // Guards against a game that goes from one step to the next otherwise than the player was told:
    // a stage, a mode or a window that does not follow, a result ranked, recorded, saved or shown
    // wrongly, a message or a name box that is missing or wrong. Each transcript says what it plays.
    QFETCH(QString, name);
    QVERIFY(PlayTranscript(name));
  }
};

QTEST_APPLESS_MAIN(TestGames)
#include "tst_games.moc"
