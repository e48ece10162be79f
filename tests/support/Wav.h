// WAV files made in the test, chunk by chunk, as a sound service reads them.
#pragma once

#include <cstdint>
#include <string>

inline std::string Le32(uint32_t v) {
  return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
}

// A chunk: four-letter id, declared body length, and that many (or `actual`) `fill` bytes, padded to even.
inline std::string Chunk(const std::string& id, uint32_t declared, uint32_t actual, bool pad = true,
                         char fill = '\0') {
  return id + Le32(declared) + std::string(actual, fill) + std::string(pad ? actual & 1 : 0, '\0');
}

// A "fmt " chunk of 16-bit mono PCM at 22050 Hz, `length` bytes long.
inline std::string Format(uint32_t length = 16) {
  std::string pcm =
      std::string("\x01\x00\x01\x00", 4) + Le32(22050) + Le32(44100) + std::string("\x02\x00\x10\x00", 4);
  pcm.resize(length, '\0');
  return "fmt " + Le32(length) + pcm;
}

inline std::string Riff(const std::string& body, const char* form = "WAVE") {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + body.size())) + form + body;
}

// A short, silent, complete WAV file.
inline std::string Wav() { return Riff(Format() + Chunk("data", 2000, 2000)); }
