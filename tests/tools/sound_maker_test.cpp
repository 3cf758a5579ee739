#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "composer.h"
#include "effects.h"
#include "midi_writer.h"
#include "synth.h"
#include "wav_writer.h"

using namespace tomtura::sound_maker;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

// ---- File writers --------------------------------------------------------------------------

TEST(SoundMakerWav, TinyFileHasTheHandComputedBytes) {
  const Bytes expected = Cat({Text("RIFF"),
                              {0x2A, 0, 0, 0},
                              Text("WAVE"),
                              Text("fmt "),
                              {16, 0, 0, 0, 1, 0, 1, 0},
                              {0x40, 0x1F, 0, 0},  // 8000 samples a second
                              {0x80, 0x3E, 0, 0},  // 16000 bytes a second
                              {2, 0, 16, 0},
                              Text("data"),
                              {6, 0, 0, 0},
                              {0x01, 0x00, 0xFE, 0xFF, 0x34, 0x12}});
  EXPECT_EQ(EncodeWav({1, -2, 0x1234}, 8000), expected);
  EXPECT_FALSE(WriteBytes("/nonexistent-dir/x.wav", expected));
}

TEST(SoundMakerMidi, TinyFileHasTheHandComputedBytes) {
  MidiTrack conductor;
  conductor.Tempo(0, 500000);
  MidiTrack notes;
  notes.Controller(250, 0, 7, 100);
  notes.Note(200, 100, 0, 60, 90);
  notes.Note(0, 200, 0, 60, 100);
  notes.TrackName("Hi");
  const Bytes expected = Cat({Text("MThd"),
                              {0, 0, 0, 6, 0, 1, 0, 2, 0, 96},
                              Text("MTrk"),
                              {0, 0, 0, 11},
                              {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},
                              {0x00, 0xFF, 0x2F, 0x00},
                              Text("MTrk"),
                              {0, 0, 0, 29},
                              {0x00, 0xFF, 0x03, 0x02, 'H', 'i'},
                              {0x00, 0x90, 0x3C, 0x64},
                              {0x81, 0x48, 0x3C, 0x00},  // 200 ticks on, running status
                              {0x00, 0x3C, 0x5A},
                              {0x32, 0xB0, 0x07, 0x64},
                              {0x32, 0x90, 0x3C, 0x00},
                              {0x00, 0xFF, 0x2F, 0x00}});
  EXPECT_EQ(EncodeMidiFile(96, {conductor, notes}), expected);
}

// ---- Synthesis -----------------------------------------------------------------------------

TEST(SoundMakerSynth, NormaliseHoldsThePeakUnderItsLimit) {
  Signal spike(2000, 0.01);
  spike[1000] = 0.5;  // a quiet signal with one spike: the RMS target would clip it
  Normalise(spike, 0.5, 0.8);
  EXPECT_NEAR(Peak(spike), 0.8, 1e-12);
  Signal tone = Render(Tone{Wave::kSine, 440.0, 0.0, 0.3, 0.001, 0.01, 1.0, 0.001});
  Normalise(tone, 0.1, 0.9);
  EXPECT_NEAR(LoudestRms(tone), 0.1, 0.002);
}

// ---- The sound effects -----------------------------------------------------------------------

TEST(SoundMakerEffects, EachFitsItsEvent) {
  // Seconds each may last: the step sound plays once a square, the game waits for tax. How
  // loud they are, their fades and their noise are the shipped files' (below).
  const double shortest[kEffectCount] = {1.2, 0.3, 0.04, 0.3, 0.2, 0.2, 0.2, 0.2, 0.3, 0.4};
  const double longest[kEffectCount] = {2.0, 0.8, 0.08, 0.8, 0.5, 0.5, 0.5, 0.5, 1.0, 1.0};
  for (int n = 0; n < kEffectCount; ++n) {
    SCOPED_TRACE("effect " + std::to_string(n));
    const double seconds = double(MakeEffect(n).size()) / kSampleRate;
    EXPECT_GE(seconds, shortest[n]);
    EXPECT_LE(seconds, longest[n]);
  }
}

// The shipped files are what this program makes now (the effects to within rounding, as
// floating point may differ a little between builds): any change to the music or the effects
// shows here first.
TEST(SoundMakerAssets, ShippedFilesAreTheToolsOutput) {
  for (int n = 0; n < kPieceCount; ++n) {
    const std::string path = std::string(TOMTURA_ASSETS_DIR "/tomtura") + std::to_string(n);
    EXPECT_TRUE(ReadFile(path + ".mid") == ComposePiece(n).midi) << path << ".mid: run sound_maker";
    const Bytes shipped = ReadFile(path + ".wav");
    const Bytes made = EncodeWav(MakeEffect(n), kSampleRate);
    ASSERT_EQ(shipped.size(), made.size()) << path << ".wav: run sound_maker";
    EXPECT_TRUE(std::equal(shipped.begin(), shipped.begin() + 44, made.begin()));
    int worst = 0;
    for (std::size_t i = 44; i + 1 < made.size(); i += 2) {
      const int a = std::int16_t(shipped[i] | shipped[i + 1] << 8);
      const int b = std::int16_t(made[i] | made[i + 1] << 8);
      worst = std::max(worst, std::abs(a - b));
    }
    EXPECT_LE(worst, 2) << path << ".wav";
  }
}
