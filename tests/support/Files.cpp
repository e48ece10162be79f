// Files as the tests need them.
#include "tests/support/Files.h"

#include <QFile>
#include <filesystem>
#include <system_error>

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Fixture(const QString& name) { return ReadBytes(QStringLiteral(MORVANE_FIXTURES "/") + name); }

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    names.insert(entry.path().filename().string());
  return names;
}

QByteArray Record(int length, const char* nameHex, std::initializer_list<int32_t> values) {
  QByteArray bytes = char(length) + QByteArray::fromHex(nameHex);
  for (int32_t value : values)
    for (int shift = 0; shift < 32; shift += 8) bytes += char((uint32_t(value) >> shift) & 0xff);
  return bytes;
}

QByteArray PlayerRecord(int length, const char* nameHex, std::initializer_list<std::pair<int, int32_t>> values) {
  QByteArray bytes = Record(length, nameHex, {}) + QByteArray(300, '\0');
  for (const auto& [index, value] : values)
    bytes.replace(bytes.size() - 300 + 4 * index, 4, Record(0, "", {value}).mid(1));
  return bytes;
}
