#pragma once
// The building blocks of the sound effects: band-limited oscillators, noise, a resonant
// filter, envelopes, and the mixing and level tools that turn a signal into 16-bit samples.
#include <cstdint>
#include <vector>

namespace tomtura::sound_maker {

constexpr int kSampleRate = 22050;

// A mono signal at kSampleRate, nominally within [-1, 1].
using Signal = std::vector<double>;

int SampleCount(double seconds);

enum class Wave { kSine, kTriangle, kSquare, kSaw };
// The waveform at phase (in cycles) for a tone of freq Hz, summed from harmonics below the
// Nyquist frequency so that high notes do not alias.
double WaveValue(Wave wave, double phase, double freq);

// A tone gliding exponentially from freq to freqEnd, shaped by an ADSR envelope over seconds
// (the release falls inside them), with optional vibrato (depth in semitones).
struct Tone {
  Wave wave = Wave::kSine;
  double freq = 440.0;
  double freqEnd = 0.0;  // 0: no glide
  double seconds = 0.2;
  double attack = 0.005, decay = 0.05, sustain = 0.7, release = 0.05;
  double vibratoHz = 0.0, vibratoDepth = 0.0;
};
Signal Render(const Tone& tone);

// A struck, inharmonic sound: sine partials at ratios of freq, each with its own decay.
struct Partial {
  double ratio;
  double amplitude;
  double decaySeconds;
};
Signal Struck(double freq, const std::vector<Partial>& partials, double seconds);

// White noise through a band-pass filter around centreHz (gliding to centreEndHz when given),
// with a linear attack and an exponential decay.
struct NoiseBurst {
  double seconds = 0.05;
  double centreHz = 2000.0;
  double centreEndHz = 0.0;
  double q = 1.0;
  double attack = 0.001;
  double decaySeconds = 0.01;
  std::uint32_t seed = 1;
};
Signal Render(const NoiseBurst& burst);

// A state-variable filter (trapezoidal form, stable while its cutoff moves).
class Filter {
 public:
  struct Out {
    double low, band, high;
  };
  Out Process(double input, double cutoffHz, double q);

 private:
  double ic1_ = 0.0, ic2_ = 0.0;
};

// Envelope value at time t of a note lasting length seconds (release inside length).
double Adsr(double t, double length, double attack, double decay, double sustain, double release);

// Adds part into signal from atSeconds on, growing signal as needed.
void MixAt(Signal& signal, const Signal& part, double atSeconds, double gain = 1.0);
// Raised-cosine fades at both ends.
void Fade(Signal& signal, double inSeconds, double outSeconds);
double Peak(const Signal& signal);
// The RMS of the loudest 50 ms stretch: how loud the sound seems.
double LoudestRms(const Signal& signal);
// Scales to targetRms (by LoudestRms), lowered if needed so the peak stays at peakLimit.
void Normalise(Signal& signal, double targetRms, double peakLimit);
std::vector<std::int16_t> ToPcm(const Signal& signal);

}  // namespace tomtura::sound_maker
