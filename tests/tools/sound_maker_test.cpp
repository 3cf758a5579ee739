#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
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

// What a player takes from a MIDI file, read here independently of the writer.
struct MidiNote {
  std::uint32_t start, end;
  int channel, key, velocity;
};
struct Midi {
  bool wellFormed = false;
  int format = -1, tracks = 0, tracksWithNotes = 0, hangingNotes = 0;
  std::uint32_t division = 0, end = 0;
  double seconds = 0.0;
  std::map<std::uint32_t, std::uint32_t> tempo{{0, 500000}};  // tick -> microseconds a beat
  std::vector<MidiNote> notes;
};

Midi ReadMidi(const Bytes& b) {
  Midi m;
  const auto be = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + std::size_t(i));
    return v;
  };
  if (b.size() < 14 || Bytes(b.begin(), b.begin() + 4) != Text("MThd") || be(4, 4) != 6) return m;
  m.format = int(be(8, 2));
  m.division = be(12, 2);
  std::size_t at = 14;
  while (at < b.size()) {
    if (Bytes(b.begin() + long(at), b.begin() + long(at) + 4) != Text("MTrk")) return m;
    const std::size_t stop = at + 8 + be(at + 4, 4);
    at += 8;
    std::uint32_t tick = 0;
    int status = 0, notes = 0;
    bool ended = false;
    std::map<int, std::vector<std::size_t>> open;  // channel and key -> sounding notes
    while (at < stop && !ended) {
      std::uint32_t delta = 0;
      do delta = delta << 7 | (b.at(at) & 0x7F);
      while (b.at(at++) & 0x80);
      tick += delta;
      if (b.at(at) & 0x80) status = b.at(at++);
      const int channel = status & 0x0F, kind = status & 0xF0;
      if (status == 0xFF) {
        const int type = b.at(at), length = b.at(at + 1);
        if (type == 0x51) m.tempo[tick] = be(at + 2, 3);
        ended = type == 0x2F;
        at += 2 + std::size_t(length);
        status = 0;
      } else if (kind == 0xC0) {
        ++at;  // a program change
      } else {
        const int data1 = b.at(at), data2 = b.at(at + 1);
        at += 2;
        const int id = channel << 8 | data1;
        if (kind == 0x90 && data2 > 0) {
          open[id].push_back(m.notes.size());
          m.notes.push_back({tick, tick, channel, data1, data2});
          ++notes;
        } else if ((kind == 0x80 || kind == 0x90) && !open[id].empty()) {
          m.notes[open[id].front()].end = tick;
          open[id].erase(open[id].begin());
        } else if (kind == 0x80 || kind == 0x90) {
          ++m.hangingNotes;  // an end without a start
        }
      }
    }
    if (!ended || at != stop) return m;
    for (const auto& [id, list] : open) m.hangingNotes += int(list.size());
    m.tracksWithNotes += notes > 0;
    m.end = std::max(m.end, tick);
    ++m.tracks;
  }
  for (auto it = m.tempo.begin(); it != m.tempo.end(); ++it) {
    const auto next = std::next(it);
    const std::uint32_t until = next == m.tempo.end() ? m.end : next->first;
    if (until > it->first) m.seconds += double(until - it->first) / m.division * it->second / 1e6;
  }
  m.wellFormed = m.tracks == int(be(10, 2));
  return m;
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

TEST(SoundMakerEffects, EachFitsItsEventAndLevel) {
  // Seconds each may last: the step sound plays once a square, the game waits for tax.
  const double shortest[kEffectCount] = {1.2, 0.3, 0.04, 0.3, 0.2, 0.2, 0.2, 0.2, 0.3, 0.4};
  const double longest[kEffectCount] = {2.0, 0.8, 0.08, 0.8, 0.5, 0.5, 0.5, 0.5, 1.0, 1.0};
  std::size_t total = 0;
  for (int n = 0; n < kEffectCount; ++n) {
    SCOPED_TRACE("effect " + std::to_string(n));
    const std::vector<std::int16_t> s = MakeEffect(n);
    const double seconds = double(s.size()) / kSampleRate;
    EXPECT_GE(seconds, shortest[n]);
    EXPECT_LE(seconds, longest[n]);
    int peak = 0;
    for (std::int16_t x : s) peak = std::max(peak, std::abs(int(x)));
    EXPECT_LE(peak, 29205);                    // -1 dBFS
    EXPECT_LT(std::abs(int(s.front())), 300);  // faded in and out: no click
    EXPECT_LT(std::abs(int(s.back())), 300);
    // Loud enough to hear at the game's default level, never harsh.
    const double dbfs = 20.0 * std::log10(LoudestRms(Signal(s.begin(), s.end())) / 32767.0);
    EXPECT_GT(dbfs, -30.0);
    EXPECT_LT(dbfs, -10.0);
    EXPECT_EQ(MakeEffect(n), s);  // the noise has a fixed seed
    total += EncodeWav(s, kSampleRate).size();
  }
  EXPECT_LT(total, 1'000'000u);
}

// ---- The music -------------------------------------------------------------------------------

TEST(SoundMakerMusic, EachPieceIsAPlayableFileOfOneToTwoMinutes) {
  std::size_t total = 0;
  for (int n = 0; n < kPieceCount; ++n) {
    SCOPED_TRACE("piece " + std::to_string(n));
    const Composition piece = ComposePiece(n);
    const Midi m = ReadMidi(piece.midi);
    ASSERT_TRUE(m.wellFormed);
    EXPECT_EQ(m.format, 1);
    EXPECT_GE(m.tracksWithNotes, 3);
    EXPECT_EQ(m.hangingNotes, 0);
    EXPECT_GE(m.seconds, 60.0);
    EXPECT_LE(m.seconds, 120.0);
    EXPECT_NEAR(m.seconds, piece.seconds, 0.01);
    EXPECT_EQ(ComposePiece(n).midi, piece.midi);  // the same bytes every time
    total += piece.midi.size();
  }
  EXPECT_LT(total, 200'000u);
}

// The shipped files are what this program makes now (the effects to within rounding, as
// floating point may differ a little between builds).
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
