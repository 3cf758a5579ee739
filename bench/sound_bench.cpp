// How quickly an effect is heard: the call of PlaySoundEffect alone, and the time from the call
// to the first mixing pass of the audio device that carries the sound: the effect played last
// (kept decoded), another one (decoded from its file's bytes at the call), the first after a
// silence that closed the device, and one asked for while the sound is still being set up. Run
// with SDL_AUDIODRIVER=dummy on a machine without a sound card; with a card the device's own
// latency comes on top. Built only with the front end and SDL_mixer.
#if __has_include(<QApplication>) && defined(TOMTURA_HAVE_SDL_MIXER)

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "data/text_catalogue.h"
#include "sound/sound.h"

namespace tomtura {
namespace {

using Clock = std::chrono::steady_clock;

// Set by the mixer's thread after each pass in which the effect channel played.
std::atomic<bool> mixedWithSound{false};

void AfterMix(void*, Uint8*, int) {
  if (Mix_Playing(0) != 0) mixedWithSound = true;
}

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "tomtura-bench";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

SoundEffects& Sound() {
  Application();
  static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  static SoundEffects sound(texts, TOMTURA_ASSETS_DIR, 1);
  return sound;
}

// The worst case after the window's first frame: an effect asked for at once, while the sound is
// still being set up in the background (the mixer library is loaded already in this program).
void BM_CallToFirstMixingPassDuringSetUp(benchmark::State& state) {
  Application();
  static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  for (auto _ : state) {
    state.PauseTiming();
    auto fresh = std::make_unique<SoundEffects>(texts, TOMTURA_ASSETS_DIR, 1);
    state.ResumeTiming();
    mixedWithSound = false;
    const auto start = Clock::now();
    fresh->OpenInBackground(true);
    fresh->PlaySoundEffect(1, true);
    if (!fresh->deviceOpen()) {
      state.SkipWithError("no audio device");
      return;
    }
    Mix_SetPostMix(&AfterMix, nullptr);
    while (!mixedWithSound && Clock::now() - start < std::chrono::seconds(1)) {
      std::this_thread::yield();
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    Mix_SetPostMix(nullptr, nullptr);
    state.PauseTiming();
    fresh.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CallToFirstMixingPassDuringSetUp)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_PlaySoundEffectCall(benchmark::State& state) {
  SoundEffects& sound = Sound();
  if (!sound.deviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  for (auto _ : state) sound.PlaySoundEffect(2, true);
}
BENCHMARK(BM_PlaySoundEffectCall)->Unit(benchmark::kMicrosecond);

void BM_CallToFirstMixingPass(benchmark::State& state) {
  SoundEffects& sound = Sound();
  if (!sound.deviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  Mix_SetPostMix(&AfterMix, nullptr);
  for (auto _ : state) {
    Mix_HaltChannel(-1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the device drains
    mixedWithSound = false;
    const auto start = Clock::now();
    sound.PlaySoundEffect(2, true);
    while (!mixedWithSound) std::this_thread::yield();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  Mix_SetPostMix(nullptr, nullptr);
  state.counters["effect_bytes"] = static_cast<double>(sound.effectBytes());
}
BENCHMARK(BM_CallToFirstMixingPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// An effect that is not the one played last: it is decoded from its file's bytes first.
void BM_CallToFirstMixingPassOfAnotherEffect(benchmark::State& state) {
  SoundEffects& sound = Sound();
  if (!sound.deviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  Mix_SetPostMix(&AfterMix, nullptr);
  int effect = 0;
  for (auto _ : state) {
    Mix_HaltChannel(-1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mixedWithSound = false;
    effect = effect == 0 ? 3 : 0;  // the two largest files but the tax sound
    const auto start = Clock::now();
    sound.PlaySoundEffect(effect, true);
    while (!mixedWithSound) std::this_thread::yield();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  Mix_SetPostMix(nullptr, nullptr);
}
BENCHMARK(BM_CallToFirstMixingPassOfAnotherEffect)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

// The first sound after a silence long enough to close the device: it opens the device again.
void BM_CallToFirstMixingPassAfterSilence(benchmark::State& state) {
  SoundEffects& sound = Sound();
  if (!sound.deviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  for (auto _ : state) {
    Mix_HaltChannel(-1);
    sound.CloseIfIdle();
    mixedWithSound = false;
    const auto start = Clock::now();
    sound.PlaySoundEffect(2, true);
    Mix_SetPostMix(&AfterMix, nullptr);
    while (!mixedWithSound && Clock::now() - start < std::chrono::seconds(1)) {
      std::this_thread::yield();
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  Mix_SetPostMix(nullptr, nullptr);
}
BENCHMARK(BM_CallToFirstMixingPassAfterSilence)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
}  // namespace tomtura

#endif
