// Fuzz target for the score file decoder: any bytes either fail cleanly or give tables that
// survive being saved and loaded again unchanged.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "scores/ScoreFileCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<ScoreTables> loaded = DecodeScoreFile(std::span(data, size));
  if (!loaded) return 0;
  const std::vector<uint8_t> saved = EncodeScoreFile(*loaded);
  const std::optional<ScoreTables> reloaded = DecodeScoreFile(saved);
  if (!reloaded || *reloaded != *loaded) std::abort();
  return 0;
}
