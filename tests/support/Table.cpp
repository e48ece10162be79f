// Data-driven rows kept in a fixture file.
#include "tests/support/Table.h"

#include <QTest>
#include <deque>

#include "tests/support/Files.h"

namespace {

QString Unescaped(const QString& value) {
  QString text;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    const QChar next = value[++i];
    text += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next == u's' ? QChar(u' ') : next;
  }
  return text;
}

// The line cut at every bar that no backslash escapes.
QStringList Cells(const QString& line) {
  QStringList cells{QString()};
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == u'\\' && i + 1 < line.size()) {
      cells.back() += line.mid(i, 2);
      ++i;
    } else if (line[i] == u'|') {
      cells << QString();
    } else {
      cells.back() += line[i];
    }
  }
  return cells;
}

}  // namespace

void RowsFromFixture(const QString& fixture, const QStringList& columns) {
  // The test table keeps the column's name by its address.
  static std::deque<QByteArray> names;
  for (const QString& column : columns) QTest::addColumn<QString>(names.emplace_back(column.toLatin1()).constData());
  const QStringList lines = QString::fromUtf8(Fixture(fixture)).split(u'\n');
  QVERIFY2(!lines.join("").trimmed().isEmpty(), qPrintable("no rows in " + fixture));
  for (const QString& line : lines) {
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
    const QStringList cells = Cells(line);
    QVERIFY2(cells.size() == columns.size() + 1, qPrintable(fixture + ": " + line));
    QTestData& row = QTest::newRow(cells[0].trimmed().toUtf8().constData());
    for (qsizetype i = 1; i < cells.size(); ++i) {
      QString value = cells[i].trimmed();
      if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) value = value.mid(1, value.size() - 2);
      row << Unescaped(value);
    }
  }
}

QList<int> Numbers(const QString& text) {
  QList<int> numbers;
  for (const QString& part : text.split(u' ', Qt::SkipEmptyParts)) numbers << part.toInt();
  return numbers;
}
