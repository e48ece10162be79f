// Sound maker: synthesizes the game's four sounds into WAV files at build time.
// Usage: morvane_make_sounds OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
// About -4.4 dBFS: loud enough to be heard over nothing else, never clipping.
constexpr double PeakLevel = 0.6;
// Every sound starts and ends on silence, so it never clicks; the longer fade-out lets a ringing
// sound die away rather than stop.
constexpr double FadeInSeconds = 0.005;
constexpr double FadeOutSeconds = 0.06;
constexpr double TwoPi = 2.0 * std::numbers::pi;

using Samples = std::vector<double>;

Samples Silence(double seconds) {
  return Samples(static_cast<size_t>(std::lround(seconds * SampleRate)), 0.0);
}

double NoteFrequency(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

// Named notes, in semitones from A4 (440 Hz).
constexpr int C5 = 3, E5 = 7, G5 = 10, C6 = 15, E6 = 19, G6 = 22, C7 = 27, E7 = 31, G4 = -2, C4 = -9;

struct Note {
  double start = 0;      // seconds
  double length = 0;     // seconds, release included
  int pitch = 0;         // semitones from A4
  double level = 1;      // relative loudness
  double attack = 0.01;  // seconds
  double decay = 0.3;    // seconds for the level to fall to 1/e
};

// Harmonic recipe of one instrument: the level of partial 1, 2, 3...
using Timbre = std::vector<double>;

// Adds a note: a short attack, an exponential decay and a 20 ms release into silence at its end.
void AddNote(Samples& track, const Note& note, const Timbre& timbre, double vibratoDepth = 0.0) {
  const size_t first = static_cast<size_t>(std::lround(note.start * SampleRate));
  const size_t count = static_cast<size_t>(std::lround(note.length * SampleRate));
  const double frequency = NoteFrequency(note.pitch);
  const double release = std::min(0.02, note.length / 2);
  double phase = 0;
  for (size_t i = 0; i < count && first + i < track.size(); ++i) {
    const double t = static_cast<double>(i) / SampleRate;
    double envelope = std::exp(-t / note.decay);
    if (t < note.attack) envelope *= std::sin(0.5 * std::numbers::pi * t / note.attack);
    const double left = note.length - t;
    if (left < release) envelope *= left / release;
    double value = 0;
    for (size_t partial = 0; partial < timbre.size(); ++partial) {
      const double n = static_cast<double>(partial + 1);
      if (frequency * n >= SampleRate / 2.0) break;  // no aliasing on high notes
      value += timbre[partial] * std::sin(phase * n);
    }
    track[first + i] += note.level * envelope * value;
    const double wobble = 1.0 + vibratoDepth * std::sin(TwoPi * 5.5 * t) * std::min(1.0, t / 0.3);
    phase += TwoPi * frequency * wobble / SampleRate;
  }
}

// Fades the track in and out, then scales it to the peak level.
void Finish(Samples& track) {
  const auto fade = [&track](double seconds, bool atEnd) {
    const size_t length = std::min(track.size() / 2, static_cast<size_t>(seconds * SampleRate));
    for (size_t i = 0; i < length; ++i) {
      const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / length);
      track[atEnd ? track.size() - 1 - i : i] *= gain;
    }
  };
  fade(FadeInSeconds, false);
  fade(FadeOutSeconds, true);
  double peak = 0;
  for (double value : track) peak = std::max(peak, std::abs(value));
  if (peak > 0)
    for (double& value : track) value *= PeakLevel / peak;
}

// A failed landing: a tone that slides down as the craft falls, under a soft, dull thud of noise.
Samples MakeFail() {
  Samples track = Silence(0.6);
  uint32_t noiseState = 0x2545F491u;  // fixed, so every build writes the same file
  double phase = 0;
  double lowPassed = 0;
  double rumble = 0;
  for (size_t i = 0; i < track.size(); ++i) {
    const double t = static_cast<double>(i) / SampleRate;
    const double frequency = 480.0 * std::pow(90.0 / 480.0, t / 0.6);
    phase += TwoPi * frequency / SampleRate;
    const double tone = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
    const double toneEnvelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.25);

    noiseState = noiseState * 1664525u + 1013904223u;
    const double noise = static_cast<double>(noiseState >> 8) / (1u << 24) * 2.0 - 1.0;
    // Two gentle low-pass stages take the hiss out, leaving a dull rumble.
    lowPassed += 0.08 * (noise - lowPassed);
    rumble += 0.08 * (lowPassed - rumble);
    const double sinceThud = t - 0.12;
    const double thudEnvelope =
        sinceThud < 0 ? 0.0 : std::min(1.0, sinceThud / 0.02) * std::exp(-sinceThud / 0.12);

    track[i] = 0.55 * toneEnvelope * tone + 6.0 * thudEnvelope * rumble;
  }
  Finish(track);
  return track;
}

// The edge bonus: a quick rising arpeggio of bell tones that rings out.
Samples MakeBonus() {
  Samples track = Silence(1.0);
  const Timbre bell = {1.0, 0.35, 0.12, 0.05};
  const int pitches[] = {G5, C6, E6, G6, C7, E7};
  double start = 0;
  for (int pitch : pitches) {
    AddNote(track, {start, 1.0 - start, pitch, 0.7, 0.004, 0.25}, bell);
    start += 0.07;
  }
  // A high shimmer over the last notes.
  AddNote(track, {0.42, 0.58, E7 + 5, 0.25, 0.01, 0.2}, {1.0});
  Finish(track);
  return track;
}

// A successful landing: three rising chime notes.
Samples MakeClear() {
  Samples track = Silence(0.7);
  const Timbre chime = {1.0, 0.25, 0.08};
  AddNote(track, {0.00, 0.70, C6, 0.8, 0.005, 0.18}, chime);
  AddNote(track, {0.11, 0.59, E6, 0.8, 0.005, 0.18}, chime);
  AddNote(track, {0.22, 0.48, G6, 1.0, 0.005, 0.22}, chime);
  Finish(track);
  return track;
}

// All five stages cleared: a short brass-like fanfare ending on a held chord.
Samples MakeAll() {
  Samples track = Silence(2.0);
  const Timbre brass = {1.0, 0.6, 0.4, 0.25, 0.15, 0.08};
  const Note lead[] = {
      {0.00, 0.15, C5, 0.8, 0.015, 0.5},
      {0.16, 0.15, E5, 0.8, 0.015, 0.5},
      {0.32, 0.15, G5, 0.8, 0.015, 0.5},
      {0.48, 0.30, C6, 0.9, 0.015, 0.6},
      {0.80, 0.15, G5, 0.8, 0.015, 0.5},
  };
  for (const Note& note : lead) AddNote(track, note, brass);
  const double chordStart = 0.96;
  const double chordLength = 2.0 - chordStart;
  AddNote(track, {chordStart, chordLength, C6, 1.0, 0.02, 0.9}, brass, 0.004);
  AddNote(track, {chordStart, chordLength, G5, 0.6, 0.03, 0.9}, brass, 0.003);
  AddNote(track, {chordStart, chordLength, E5, 0.6, 0.03, 0.9}, brass, 0.003);
  AddNote(track, {chordStart, chordLength, C4, 0.5, 0.04, 0.9}, brass);
  AddNote(track, {0.0, 0.9, G4 - 12, 0.3, 0.03, 0.6}, {1.0, 0.3});  // a soft bass under the run
  Finish(track);
  return track;
}

void PutLittleEndian(std::string& bytes, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 16-bit PCM mono RIFF/WAVE: a 44-byte header, then the samples, little-endian.
bool WriteWav(const std::filesystem::path& path, const Samples& track) {
  const uint32_t dataBytes = static_cast<uint32_t>(track.size() * 2);
  std::string bytes = "RIFF";
  PutLittleEndian(bytes, 36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  PutLittleEndian(bytes, 16, 4);              // format chunk size
  PutLittleEndian(bytes, 1, 2);               // PCM
  PutLittleEndian(bytes, 1, 2);               // mono
  PutLittleEndian(bytes, SampleRate, 4);
  PutLittleEndian(bytes, SampleRate * 2, 4);  // bytes per second
  PutLittleEndian(bytes, 2, 2);               // bytes per sample frame
  PutLittleEndian(bytes, 16, 2);              // bits per sample
  bytes += "data";
  PutLittleEndian(bytes, dataBytes, 4);
  for (double value : track) {
    const long sample = std::lround(std::clamp(value, -1.0, 1.0) * 32767.0);
    PutLittleEndian(bytes, static_cast<uint32_t>(static_cast<int16_t>(sample)) & 0xFFFF, 2);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const struct {
    const char* name;
    Samples (*make)();
  } sounds[] = {
      {"fail.wav", MakeFail}, {"bonus.wav", MakeBonus}, {"clear.wav", MakeClear}, {"all.wav", MakeAll}};
  for (const auto& sound : sounds) {
    if (!WriteWav(folder / sound.name, sound.make())) {
      std::fprintf(stderr, "cannot write %s\n", (folder / sound.name).string().c_str());
      return 1;
    }
  }
  return 0;
}
