#include "effects.h"

#include <cmath>
#include <stdexcept>

#include "rng.h"
#include "synth.h"

namespace tomtura::sound_maker {
namespace {

// Peak ceiling: -1.5 dBFS. Loudness targets are the RMS of the loudest 50 ms.
const double kPeakLimit = std::pow(10.0, -1.5 / 20.0);
double Db(double db) {
  return std::pow(10.0, db / 20.0);
}

double Hz(double midiNote) {
  return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

// A soft brass-like note: a saw whose low-pass opens with the attack and closes as it fades.
Signal Brassy(double freq, double seconds) {
  Tone tone{Wave::kSaw, freq, 0.0, seconds, 0.02, 0.12, 0.75, 0.08, 5.5, 0.06};
  const Signal raw = Render(tone);
  Signal out(raw.size());
  Filter filter;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double env = Adsr(t, seconds, 0.03, 0.15, 0.6, 0.1);
    out[i] = filter.Process(raw[i], freq * (1.5 + 4.0 * env), 0.9).low;
  }
  return out;
}

// A glockenspiel-like bar: the partials of a struck metal bar.
Signal Bar(double freq, double seconds, double ring) {
  return Struck(freq,
                {{1.0, 1.0, ring},
                 {2.76, 0.35, ring * 0.35},
                 {5.40, 0.15, ring * 0.15},
                 {8.93, 0.06, ring * 0.08}},
                seconds);
}

Signal Fanfare() {
  Signal s;
  struct Note {
    double key, at, length;
  };
  // A quick climb, a step back, a leap, and a long top note over its chord.
  const Note notes[] = {{72, 0.00, 0.10}, {76, 0.10, 0.10}, {79, 0.20, 0.17},
                        {77, 0.40, 0.08}, {81, 0.48, 0.19}, {84, 0.70, 1.00}};
  for (const Note& n : notes) MixAt(s, Brassy(Hz(n.key), n.length + 0.04), n.at, 0.5);
  for (double key : {60.0, 67.0, 72.0, 76.0}) MixAt(s, Brassy(Hz(key), 1.0), 0.70, 0.22);
  for (int i = 0; i < 4; ++i)  // sparkle above the last chord
    MixAt(s, Bar(Hz(96.0 + (i % 2 == 0 ? 0 : 7) + (i / 2) * 4), 0.5, 0.15), 0.72 + 0.08 * i, 0.08);
  Fade(s, 0.003, 0.25);
  Normalise(s, Db(-15.0), kPeakLimit);
  return s;
}

Signal DiceRattle() {
  Signal s;
  Rng rng(0xD1CE);
  const double times[] = {0.0, 0.05, 0.085, 0.14, 0.19, 0.26, 0.31, 0.39, 0.47};
  double level = 1.0;
  std::uint32_t seed = 11;
  for (double at : times) {
    at += 0.008 * rng.Signed();
    if (at < 0.0) at = 0.0;
    NoiseBurst click{0.04,  2500.0 + 2000.0 * (rng.Signed() + 1.0) / 2.0, 0.0, 1.5, 0.0005, 0.006,
                     seed++};
    MixAt(s, Render(click), at, 0.8 * level);
    const double knock = 700.0 + 250.0 * rng.Signed();
    MixAt(s, Struck(knock, {{1.0, 1.0, 0.015}, {2.7, 0.5, 0.008}}, 0.05), at, 0.5 * level);
    MixAt(s, Struck(240.0, {{1.0, 1.0, 0.02}}, 0.06), at, 0.35 * level);
    level *= 0.92;
  }
  Fade(s, 0.002, 0.03);
  Normalise(s, Db(-18.0), kPeakLimit);
  return s;
}

Signal StepTick() {
  Signal s = Struck(Hz(81), {{1.0, 1.0, 0.018}, {4.0, 0.2, 0.004}}, 0.07);
  MixAt(s, Render(NoiseBurst{0.01, 3000.0, 0.0, 1.0, 0.0005, 0.002, 7}), 0.0, 0.3);
  Fade(s, 0.002, 0.015);
  Normalise(s, Db(-24.0), Db(-8.0));
  return s;
}

Signal StartChime() {
  Signal s;
  const double keys[] = {81, 88, 93};  // a rising fifth and fourth
  for (int i = 0; i < 3; ++i) MixAt(s, Bar(Hz(keys[i]), 0.6 - 0.09 * i, 0.3), 0.09 * i, 0.5);
  MixAt(s, Render(NoiseBurst{0.2, 8000.0, 0.0, 0.7, 0.005, 0.08, 3}), 0.0, 0.15);
  s.resize(std::size_t(SampleCount(0.6)), 0.0);
  Fade(s, 0.002, 0.12);
  Normalise(s, Db(-17.0), kPeakLimit);
  return s;
}

// An ocarina-like voice: triangle with a touch of sine an octave up.
Signal Soft(double freq, double freqEnd, double seconds) {
  Signal s = Render(Tone{Wave::kTriangle, freq, freqEnd, seconds, 0.015, 0.06, 0.7, 0.06});
  MixAt(s, Render(Tone{Wave::kSine, 2.0 * freq, 2.0 * freqEnd, seconds, 0.02, 0.05, 0.4, 0.06}),
        0.0, 0.15);
  return s;
}

Signal Offer() {
  Signal s;
  MixAt(s, Soft(Hz(74), 0.0, 0.16), 0.0);
  MixAt(s, Soft(Hz(79), Hz(79.5), 0.23), 0.17);  // up a fourth, lifting at the end
  Fade(s, 0.003, 0.04);
  Normalise(s, Db(-17.0), kPeakLimit);
  return s;
}

Signal Coin() {
  Signal s;
  const std::vector<Partial> metal{
      {1.0, 1.0, 0.14}, {2.4, 0.6, 0.08}, {3.9, 0.35, 0.05}, {5.6, 0.2, 0.03}};
  const double pings[][3] = {{0.0, 1900.0, 1.0}, {0.075, 2500.0, 0.8}, {0.14, 2250.0, 0.4}};
  for (const auto& p : pings) {
    MixAt(s, Struck(p[1], metal, 0.4 - p[0]), p[0], p[2]);
    MixAt(s, Render(NoiseBurst{0.02, 6000.0, 0.0, 1.0, 0.0005, 0.003, 5}), p[0], 0.3 * p[2]);
  }
  s.resize(std::size_t(SampleCount(0.4)), 0.0);
  Fade(s, 0.002, 0.08);
  Normalise(s, Db(-18.0), kPeakLimit);
  return s;
}

// A card slid off the pile: a short swish, then the flap of it landing.
Signal CardFlip(double low, double high, std::uint32_t seed) {
  Signal s;
  MixAt(s, Render(NoiseBurst{0.09, low, high, 0.8, 0.01, 0.03, seed}), 0.0, 2.5);
  MixAt(s, Render(NoiseBurst{0.03, high, 0.0, 1.2, 0.001, 0.006, seed + 1}), 0.06, 1.5);
  return s;
}

Signal ChanceCard() {
  Signal s = CardFlip(1500.0, 5000.0, 21);
  MixAt(s, Render(Tone{Wave::kSine, 660.0, 1320.0, 0.16, 0.005, 0.05, 0.6, 0.05}), 0.12, 0.7);
  MixAt(s, Render(Tone{Wave::kTriangle, 660.0, 1320.0, 0.16, 0.005, 0.05, 0.6, 0.05}), 0.12, 0.3);
  MixAt(s, Bar(1760.0, 0.12, 0.05), 0.28, 0.25);
  s.resize(std::size_t(SampleCount(0.4)), 0.0);
  Fade(s, 0.003, 0.05);
  Normalise(s, Db(-17.0), kPeakLimit);
  return s;
}

Signal CommunityCard() {
  Signal s = CardFlip(1000.0, 3000.0, 31);
  Tone low{Wave::kTriangle, Hz(67), 0.0, 0.12, 0.012, 0.04, 0.7, 0.04, 6.0, 0.08};
  Tone high{Wave::kTriangle, Hz(71), 0.0, 0.17, 0.012, 0.05, 0.7, 0.07, 6.0, 0.1};
  MixAt(s, Render(low), 0.11, 0.8);
  MixAt(s, Render(high), 0.22, 0.8);
  s.resize(std::size_t(SampleCount(0.4)), 0.0);
  Fade(s, 0.003, 0.04);
  Normalise(s, Db(-17.0), kPeakLimit);
  return s;
}

Signal TaxWah() {
  constexpr double kSeconds = 0.7;
  const Signal raw =
      Render(Tone{Wave::kSaw, 311.0, 196.0, kSeconds, 0.02, 0.1, 0.85, 0.12, 6.0, 0.15});
  Signal s(raw.size());
  Filter filter;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const double t = double(i) / kSampleRate;
    // The filter opens fast ("w"), then closes slowly ("ah" falling away).
    const double wah = t < 0.12 ? t / 0.12 : 0.1 + 0.9 * std::exp(-(t - 0.12) / 0.2);
    s[i] = filter.Process(raw[i], 350.0 + 2200.0 * wah, 3.0).low;
  }
  Fade(s, 0.004, 0.08);
  Normalise(s, Db(-17.0), kPeakLimit);
  return s;
}

Signal JailClang() {
  Signal s = Struck(220.0,
                    {{1.0, 1.0, 0.30},
                     {1.012, 0.6, 0.30},  // a near twin, for the beating of a metal door
                     {1.58, 0.7, 0.25},
                     {2.37, 0.6, 0.20},
                     {3.46, 0.45, 0.14},
                     {4.9, 0.3, 0.10},
                     {6.7, 0.2, 0.06}},
                    0.8);
  MixAt(s, Render(NoiseBurst{0.1, 1200.0, 0.0, 0.7, 0.0005, 0.02, 9}), 0.0, 0.8);
  MixAt(s, Struck(70.0, {{1.0, 1.0, 0.08}}, 0.3), 0.0, 0.6);
  // The bolt: a small click shortly after the door.
  MixAt(s, Struck(1800.0, {{1.0, 1.0, 0.01}, {2.3, 0.5, 0.006}}, 0.05), 0.16, 0.3);
  MixAt(s, Render(NoiseBurst{0.03, 4000.0, 0.0, 1.0, 0.0005, 0.004, 10}), 0.16, 0.3);
  s.resize(std::size_t(SampleCount(0.8)), 0.0);
  Fade(s, 0.002, 0.15);
  Normalise(s, Db(-16.0), kPeakLimit);
  return s;
}

}  // namespace

std::vector<std::int16_t> MakeEffect(int n) {
  switch (n) {
    case 0:
      return ToPcm(Fanfare());
    case 1:
      return ToPcm(DiceRattle());
    case 2:
      return ToPcm(StepTick());
    case 3:
      return ToPcm(StartChime());
    case 4:
      return ToPcm(Offer());
    case 5:
      return ToPcm(Coin());
    case 6:
      return ToPcm(ChanceCard());
    case 7:
      return ToPcm(CommunityCard());
    case 8:
      return ToPcm(TaxWah());
    case 9:
      return ToPcm(JailClang());
    default:
      throw std::out_of_range("no such sound effect");
  }
}

}  // namespace tomtura::sound_maker
