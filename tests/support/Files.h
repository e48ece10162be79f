// Files as the tests need them: whole files read and written, fixture files, a folder's entries.
#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <set>
#include <utility>
#include <string>

// The whole file, or "" when it cannot be read.
QByteArray ReadBytes(const QString& path);
// True when the whole of `bytes` was written.
bool WriteBytes(const QString& path, const QByteArray& bytes);
// A file of tests/fixtures.
QByteArray Fixture(const QString& name);
// Score file bytes written down by hand (see tests/fixtures/default-MTScore.md): one record is the
// name's length byte and its code page 932 bytes in hex, then its integers, little-endian.
QByteArray Record(int length, const char* nameHex, std::initializer_list<int32_t> values);
// A player record: name, then 75 integers, 0 but those given as {index, value}.
QByteArray PlayerRecord(int length, const char* nameHex, std::initializer_list<std::pair<int, int32_t>> values = {});

// The names in a folder (bytes: they need not be UTF-8), "." and ".." left out.
std::set<std::string> Entries(const std::string& folder);
