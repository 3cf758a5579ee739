#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "rng.h"

namespace tomtura::sound_maker {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kNyquist = kSampleRate / 2.0;

}  // namespace

int SampleCount(double seconds) {
  return int(std::lround(seconds * kSampleRate));
}

double WaveValue(Wave wave, double phase, double freq) {
  const double x = kTwoPi * (phase - std::floor(phase));
  if (wave == Wave::kSine) return std::sin(x);
  const int step = wave == Wave::kSaw ? 1 : 2;  // the others have odd harmonics only
  double sum = 0.0;
  for (int k = 1; k * freq < 0.9 * kNyquist; k += step) {
    const double s = std::sin(k * x);
    switch (wave) {
      case Wave::kTriangle:
        sum += ((k / 2) % 2 == 0 ? 1.0 : -1.0) * s / (double(k) * k);
        break;
      case Wave::kSquare:
        sum += s / k;
        break;
      default:
        sum += (k % 2 == 1 ? 1.0 : -1.0) * s / k;
        break;
    }
  }
  switch (wave) {
    case Wave::kTriangle:
      return sum * 8.0 / (std::numbers::pi * std::numbers::pi);
    case Wave::kSquare:
      return sum * 4.0 / std::numbers::pi;
    default:
      return sum * 2.0 / std::numbers::pi;
  }
}

double Adsr(double t, double length, double attack, double decay, double sustain, double release) {
  if (t < 0.0 || t >= length) return 0.0;
  double level = sustain;
  if (t < attack) {
    level = t / attack;
  } else if (t < attack + decay) {
    level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
  }
  const double left = length - t;
  if (left < release) level *= left / release;
  return level;
}

Signal Render(const Tone& tone) {
  const int n = SampleCount(tone.seconds);
  Signal out(std::size_t(n), 0.0);
  const double ratio = tone.freqEnd > 0.0 ? tone.freqEnd / tone.freq : 1.0;
  double phase = 0.0;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / kSampleRate;
    double f = tone.freq * std::pow(ratio, t / tone.seconds);
    if (tone.vibratoDepth > 0.0)
      f *= std::pow(2.0, tone.vibratoDepth / 12.0 * std::sin(kTwoPi * tone.vibratoHz * t));
    out[std::size_t(i)] =
        WaveValue(tone.wave, phase, f) *
        Adsr(t, tone.seconds, tone.attack, tone.decay, tone.sustain, tone.release);
    phase += f / kSampleRate;
  }
  return out;
}

Signal Struck(double freq, const std::vector<Partial>& partials, double seconds) {
  const int n = SampleCount(seconds);
  Signal out(std::size_t(n), 0.0);
  constexpr double kAttack = 0.001;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / kSampleRate;
    double sum = 0.0;
    for (const Partial& p : partials) {
      if (p.ratio * freq >= 0.9 * kNyquist) continue;
      sum += p.amplitude * std::exp(-t / p.decaySeconds) * std::sin(kTwoPi * p.ratio * freq * t);
    }
    out[std::size_t(i)] = sum * std::min(1.0, t / kAttack);
  }
  return out;
}

Filter::Out Filter::Process(double input, double cutoffHz, double q) {
  const double g =
      std::tan(std::numbers::pi * std::min(cutoffHz, 0.45 * kSampleRate) / kSampleRate);
  const double k = 1.0 / q;
  const double a1 = 1.0 / (1.0 + g * (g + k));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = input - ic2_;
  const double v1 = a1 * ic1_ + a2 * v3;
  const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  return {v2, v1, input - k * v1 - v2};
}

Signal Render(const NoiseBurst& burst) {
  const int n = SampleCount(burst.seconds);
  Signal out(std::size_t(n), 0.0);
  Rng noise(burst.seed);
  Filter filter;
  const double ratio = burst.centreEndHz > 0.0 ? burst.centreEndHz / burst.centreHz : 1.0;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / kSampleRate;
    const double centre = burst.centreHz * std::pow(ratio, t / burst.seconds);
    const double band = filter.Process(noise.Signed(), centre, burst.q).band / burst.q;
    const double envelope =
        t < burst.attack ? t / burst.attack : std::exp(-(t - burst.attack) / burst.decaySeconds);
    out[std::size_t(i)] = band * envelope;
  }
  return out;
}

void MixAt(Signal& signal, const Signal& part, double atSeconds, double gain) {
  const std::size_t start = std::size_t(SampleCount(atSeconds));
  if (signal.size() < start + part.size()) signal.resize(start + part.size(), 0.0);
  for (std::size_t i = 0; i < part.size(); ++i) signal[start + i] += gain * part[i];
}

void Fade(Signal& signal, double inSeconds, double outSeconds) {
  const auto ramp = [](int i, int length) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * (i + 0.5) / length);
  };
  const int n = int(signal.size());
  const int in = std::min(n, SampleCount(inSeconds));
  const int out = std::min(n, SampleCount(outSeconds));
  for (int i = 0; i < in; ++i) signal[std::size_t(i)] *= ramp(i, in);
  for (int i = 0; i < out; ++i) signal[std::size_t(n - 1 - i)] *= ramp(i, out);
}

double Peak(const Signal& signal) {
  double peak = 0.0;
  for (double x : signal) peak = std::max(peak, std::abs(x));
  return peak;
}

double LoudestRms(const Signal& signal) {
  const std::size_t window = std::min(signal.size(), std::size_t(SampleCount(0.05)));
  if (window == 0) return 0.0;
  double sum = 0.0;
  for (std::size_t i = 0; i < window; ++i) sum += signal[i] * signal[i];
  double loudest = sum;
  for (std::size_t i = window; i < signal.size(); ++i) {
    sum += signal[i] * signal[i] - signal[i - window] * signal[i - window];
    loudest = std::max(loudest, sum);
  }
  return std::sqrt(std::max(0.0, loudest) / double(window));
}

void Normalise(Signal& signal, double targetRms, double peakLimit) {
  const double rms = LoudestRms(signal);
  const double peak = Peak(signal);
  if (rms <= 0.0 || peak <= 0.0) return;
  const double gain = std::min(targetRms / rms, peakLimit / peak);
  for (double& x : signal) x *= gain;
}

std::vector<std::int16_t> ToPcm(const Signal& signal) {
  std::vector<std::int16_t> pcm;
  pcm.reserve(signal.size());
  for (double x : signal)
    pcm.push_back(std::int16_t(std::clamp(std::lround(x * 32767.0), -32767L, 32767L)));
  return pcm;
}

}  // namespace tomtura::sound_maker
