#include "sound/sound.h"

#include <utility>

#include "data/text_catalogue.h"

namespace tomtura {
namespace {
constexpr int kEffectCount = 10;
constexpr int kMusicPieces = 10;
}  // namespace

SoundEffects::SoundEffects(const TextCatalogue& texts, QString directory)
    : texts_(texts), directory_(std::move(directory)) {}

void SoundEffects::PlaySoundEffect(int n, bool soundOn) {
  if (!soundOn || n < 0 || n >= kEffectCount) return;
  ++effectsRequested_;
}

void SoundEffects::PlayNextMusic() {
  nextPiece_ = (nextPiece_ + 1) % kMusicPieces;
  musicPlaying_ = true;
}

void SoundEffects::StopMusic() {
  musicPlaying_ = false;
}

}  // namespace tomtura
