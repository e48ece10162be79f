// Score file bytes: the record layout of "MTScore.dat" and the one encoder and decoder of it.
#include "scores/ScoreFileCodec.h"

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "base/LittleEndian.h"
#include "base/Utf8.h"

namespace {

using namespace ScoreFileLayout;

constexpr uint8_t Unrepresentable = '?';

// One iconv conversion, open for the length of one encode or decode. Code page 932 is asked for
// by name so that the locale never matters.
class Conversion {
 public:
  Conversion(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr): its failure value
      throw std::runtime_error(std::string("no iconv conversion from ") + from + " to " + to);
    }
  }
  ~Conversion() { iconv_close(handle_); }
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  // Converts the whole input; the number of bytes written, or nothing when any of it fails.
  std::optional<size_t> Convert(std::span<const uint8_t> input, std::span<uint8_t> output) {
    constexpr size_t failed = static_cast<size_t>(-1);
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // drop whatever a failed call left behind
    // iconv's prototype is not const-correct; it never writes through the input pointer.
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input.data()));
    size_t inLeft = input.size();
    char* out = reinterpret_cast<char*>(output.data());
    size_t outLeft = output.size();
    if (iconv(handle_, &in, &inLeft, &out, &outLeft) == failed || inLeft != 0) return std::nullopt;
    if (iconv(handle_, nullptr, nullptr, &out, &outLeft) == failed) return std::nullopt;
    return output.size() - outLeft;
  }

 private:
  iconv_t handle_;
};

// `codePoint` must be a scalar value of the Basic Multilingual Plane, the only ones code page 932
// decodes to.
void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// One character of the Basic Multilingual Plane in code page 932, or "?" when it has none. The
// bytes must be exactly what a reader takes for one character: one byte that is no lead byte, or
// a lead byte and one more.
void AppendCp932Character(std::vector<uint8_t>& bytes, char32_t codePoint, Conversion& toCp932) {
  const uint8_t utf32[4] = {static_cast<uint8_t>(codePoint & 0xFF),
                            static_cast<uint8_t>((codePoint >> 8) & 0xFF), 0, 0};
  uint8_t cp932[8];
  const std::optional<size_t> size = toCp932.Convert(utf32, cp932);
  const bool readsBackAsOne = (size == 1u && !IsLeadByte(cp932[0])) || (size == 2u && IsLeadByte(cp932[0]));
  if (readsBackAsOne) {
    bytes.insert(bytes.end(), cp932, cp932 + *size);
  } else {
    bytes.push_back(Unrepresentable);
  }
}

void AppendName(std::vector<uint8_t>& bytes, std::string_view name, Conversion& toCp932) {
  const size_t lengthAt = bytes.size();
  bytes.push_back(0);
  size_t units = 0;
  for (size_t pos = 0; pos < name.size();) {
    const char32_t codePoint = NextCodePoint(name, pos);
    const size_t codePointUnits = codePoint > 0xFFFF ? 2 : 1;
    // Cut before the character that would overflow the length byte, never inside a pair.
    if (units + codePointUnits > MaxNameUnits) break;
    units += codePointUnits;
    if (codePointUnits == 2) {
      // Code page 932 has nothing outside the BMP; one "?" per UTF-16 unit keeps the count right.
      bytes.insert(bytes.end(), {Unrepresentable, Unrepresentable});
    } else {
      AppendCp932Character(bytes, codePoint, toCp932);
    }
  }
  bytes[lengthAt] = static_cast<uint8_t>(units);
}

// Reads forward through the file; every read says whether the bytes were there.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Byte(uint8_t& value) {
    if (pos_ >= bytes_.size()) return false;
    value = bytes_[pos_++];
    return true;
  }

  bool Int32(int32_t& value) {
    if (bytes_.size() - pos_ < IntegerSize) return false;
    value = static_cast<int32_t>(ReadLittleEndian32(&bytes_[pos_]));
    pos_ += IntegerSize;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// One BMP character for one code-page-932 character, so that the next save counts it as one.
char32_t DecodeCp932Character(std::span<const uint8_t> character, Conversion& fromCp932) {
  uint8_t utf32[16];
  const std::optional<size_t> size = fromCp932.Convert(character, utf32);
  if (size != 4u) return Unrepresentable;
  const char32_t codePoint =
      char32_t{utf32[0]} | char32_t{utf32[1]} << 8 | char32_t{utf32[2]} << 16 | char32_t{utf32[3]} << 24;
  if (codePoint > 0xFFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return Unrepresentable;
  return codePoint;
}

bool ReadName(ByteReader& reader, std::string& name, Conversion& fromCp932) {
  uint8_t characterCount = 0;
  if (!reader.Byte(characterCount)) return false;
  name.clear();
  for (size_t i = 0; i < characterCount; ++i) {
    uint8_t character[MaxCharacterSize] = {};
    size_t size = 1;
    if (!reader.Byte(character[0])) return false;
    if (IsLeadByte(character[0])) {
      if (!reader.Byte(character[1])) return false;
      size = 2;
    }
    AppendUtf8(name, DecodeCp932Character(std::span(character, size), fromCp932));
  }
  return true;
}

template <size_t Count>
bool ReadIntegers(ByteReader& reader, std::array<int32_t, Count>& values) {
  for (int32_t& value : values) {
    if (!reader.Int32(value)) return false;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeScoreFile(const ScoreTables& tables) {
  Conversion toCp932("CP932", "UTF-32LE");
  std::vector<uint8_t> bytes;
  bytes.reserve(EmptyNamesFileSize + 256);
  for (size_t player = 0; player < PlayerRecordCount; ++player) {
    AppendName(bytes, tables.PlayerNames[player], toCp932);
    for (int32_t value : tables.AttackScores[player]) AppendLittleEndian32(bytes, static_cast<uint32_t>(value));
  }
  for (size_t entry = 0; entry < RankingRecordCount; ++entry) {
    AppendName(bytes, tables.NormalNames[entry], toCp932);
    for (int32_t value : tables.NormalScores[entry]) AppendLittleEndian32(bytes, static_cast<uint32_t>(value));
  }
  return bytes;
}

std::optional<ScoreTables> DecodeScoreFile(std::span<const uint8_t> bytes) {
  Conversion fromCp932("UTF-32LE", "CP932");
  ByteReader reader(bytes);
  ScoreTables tables;
  for (size_t player = 0; player < PlayerRecordCount; ++player) {
    if (!ReadName(reader, tables.PlayerNames[player], fromCp932)) return std::nullopt;
    if (!ReadIntegers(reader, tables.AttackScores[player])) return std::nullopt;
  }
  for (size_t entry = 0; entry < RankingRecordCount; ++entry) {
    if (!ReadName(reader, tables.NormalNames[entry], fromCp932)) return std::nullopt;
    if (!ReadIntegers(reader, tables.NormalScores[entry])) return std::nullopt;
  }
  return tables;
}
