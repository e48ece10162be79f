// Data-driven rows kept in a fixture file instead of C++: one row a line, "name | value | value",
// every value a QString column. Blank lines and lines starting with "#" are left out. Values are
// trimmed, unless given in double quotes, which keep every blank between them; in a value "\r" and
// "\n" stand for CR and LF, "\|" for a bar, "\\" for a backslash, and "\s" for a blank.
#pragma once

#include <QString>
#include <QStringList>

// Adds the columns (all QString) and the rows of tests/fixtures/`fixture` to the running _data()
// function; a row with another number of values fails the test.
void RowsFromFixture(const QString& fixture, const QStringList& columns);

// "1 2 3" as numbers.
QList<int> Numbers(const QString& text);
