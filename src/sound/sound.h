#pragma once
// Sound effects and background music. Effects are numbered 0..9 (names from the board file);
// while the sound option is off nothing plays. This version is silent: it keeps the calls and
// their order so that the player can be filled in without touching its callers.
#include <QString>

namespace tomtura {

class TextCatalogue;

class SoundEffects {
 public:
  SoundEffects(const TextCatalogue& texts, QString directory);

  // Plays effect n (0..9) when `soundOn`; effect 8 returns only when it has finished.
  void PlaySoundEffect(int n, bool soundOn);
  // Starts the next of the ten music pieces, or stops the music.
  void PlayNextMusic();
  void StopMusic();

  int effectsRequested() const { return effectsRequested_; }
  bool musicPlaying() const { return musicPlaying_; }

 private:
  const TextCatalogue& texts_;
  QString directory_;
  int effectsRequested_ = 0;
  int nextPiece_ = 0;
  bool musicPlaying_ = false;
};

}  // namespace tomtura
