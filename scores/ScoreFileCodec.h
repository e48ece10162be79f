// Score file bytes: the record layout of "MTScore.dat" and the one encoder and decoder of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "scores/ScoreTables.h"

// The file has no header, count, version or checksum: PlayerRecordCount player records (slot 0
// first), then RankingRecordCount ranking records (1st place first), back to back. Bytes after
// the last ranking record are never read (a shorter save leaves old bytes there).
//
//   player record                                 ranking record
//   offset 0        1 byte   name length n        offset 0        1 byte   name length n
//   offset 1        n characters of the name      offset 1        n characters of the name
//   1 + name bytes  75 x int32 AttackScores[p]    1 + name bytes  5 x int32 NormalScores[e]
//
// Names are code page 932: a character is one byte, or two when the first is a lead byte. The
// length byte counts UTF-16 code units, not bytes, so a reader walks the name character by
// character. Integers are signed 32-bit two's complement, little-endian, with no padding.
namespace ScoreFileLayout {
inline constexpr size_t PlayerRecordCount = PlayerCount;
inline constexpr size_t RankingRecordCount = NormalEntryCount;

inline constexpr size_t LengthOffset = 0;
inline constexpr size_t LengthSize = 1;
inline constexpr size_t NameOffset = LengthOffset + LengthSize;
inline constexpr size_t MaxNameUnits = 255;  // what one length byte can count
inline constexpr size_t MaxCharacterSize = 2;

inline constexpr size_t IntegerSize = 4;
inline constexpr size_t PlayerIntegerCount = AttackValueCount;
inline constexpr size_t RankingIntegerCount = StageCount;

constexpr size_t PlayerRecordSize(size_t nameBytes) {
  return NameOffset + nameBytes + PlayerIntegerCount * IntegerSize;
}
constexpr size_t RankingRecordSize(size_t nameBytes) {
  return NameOffset + nameBytes + RankingIntegerCount * IntegerSize;
}

// With every name empty: 8 x 301 + 10 x 21 bytes.
inline constexpr size_t EmptyNamesFileSize =
    PlayerRecordCount * PlayerRecordSize(0) + RankingRecordCount * RankingRecordSize(0);
// The most the 18 records can ever occupy; the loader never needs to read more.
inline constexpr size_t MaxFileSize = PlayerRecordCount * PlayerRecordSize(MaxNameUnits * MaxCharacterSize) +
                                      RankingRecordCount * RankingRecordSize(MaxNameUnits * MaxCharacterSize);

// First byte of a two-byte code-page-932 character.
constexpr bool IsLeadByte(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
}  // namespace ScoreFileLayout

// The complete file for these tables. A name character that code page 932 cannot hold is written
// as "?"; one outside the Basic Multilingual Plane (two UTF-16 units) as "??"; a name longer than
// 255 UTF-16 units is cut at 255, or 254 where a surrogate pair would be split. So the length
// byte always matches the bytes written and no name can shift the records after it.
// Throws std::runtime_error when the system has no code page 932 conversion.
std::vector<uint8_t> EncodeScoreFile(const ScoreTables& tables);

// The tables held by the first 18 records of `bytes`, or nothing when the bytes end before them
// (a lead byte without its trail byte, a missing integer). A character that code page 932 does
// not define decodes to "?", one character for one, so names stay valid UTF-8.
// Throws std::runtime_error when the system has no code page 932 conversion.
std::optional<ScoreTables> DecodeScoreFile(std::span<const uint8_t> bytes);
