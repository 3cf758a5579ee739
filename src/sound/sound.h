#pragma once
// Sound effects and background music on SDL2_mixer. Effects are numbered 0..9, their files named
// by the board file; each file is decoded once and kept, so a sound starts within a few
// milliseconds of its event. Every effect but the tax sound starts at once and cuts off the one
// still playing; the tax sound plays to its end before the call returns. Music walks the ten
// pieces in an order shuffled once per run; the end of a piece comes from the mixer's thread as
// an event, and only a piece that ended by itself is followed by the next. No audio device, a
// missing or broken file: silence, no message, no wait. While nothing has sounded for a few
// seconds and no music plays, the device is closed, so a waiting game costs no processor time.
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <map>
#include <vector>

#include "rules/music_order.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace tomtura {

class TextCatalogue;

class SoundEffects : public QObject {
  Q_OBJECT

 public:
  static constexpr int kEffectCount = 10;
  static constexpr int kTaxSound = 8;
  // Silence this long (no effect, no music) closes the device; the next sound opens it again.
  static constexpr int kIdleCloseMs = 5000;

  // `directory` holds the sound and music files; `musicSeed` shuffles the music order.
  SoundEffects(const TextCatalogue& texts, QString directory, std::uint64_t musicSeed = 0);
  ~SoundEffects() override;
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;

  // Plays effect n (0..9) when `soundOn`; effect 8 returns only when it has finished.
  void PlaySoundEffect(int n, bool soundOn);
  // Closes what plays and starts the next piece of the order; false when it could not start
  // (then no further piece follows by itself).
  bool PlayNextMusic();
  // Closes the music; a piece closed here is not followed by another.
  void StopMusic();

  // What the player would hear, for tests and measurements.
  // An audio device could be opened at start-up; sounds are played.
  bool deviceOpen() const { return audio_; }
  // The device is open now (it is closed while the game is silent).
  bool deviceActive() const { return deviceActive_; }
  // Closes the device now if nothing plays, as the idle time would.
  void CloseIfIdle();
  int effectsStarted() const { return effectsStarted_; }
  QString lastEffectFile() const { return lastEffectFile_; }
  const MusicOrder& musicOrder() const { return order_; }
  const std::vector<int>& piecesStarted() const { return piecesStarted_; }
  bool musicPlaying() const;
  // The bytes of the decoded effects kept in memory.
  std::size_t decodedBytes() const;

 signals:
  // A piece has begun (its number, 0..9).
  void musicStarted(int piece);

 protected:
  void customEvent(QEvent* event) override;

 private:
  // The mixer's thread reports the end of a piece here; it only posts an event.
  static void MusicFinished();

  Mix_Chunk* Effect(const QString& path);
  void HaltMusic();
  // Opens the device when it was closed; false when it cannot be.
  bool Activate();
  // The idle time starts again.
  void Rearm();

  const TextCatalogue& texts_;
  QString directory_;
  MusicOrder order_;
  bool audio_ = false;
  bool deviceActive_ = false;
  QTimer idle_;
  std::map<QString, Mix_Chunk*> effects_;  // by path; null when the file could not be decoded
  Mix_Music* music_ = nullptr;
  std::atomic<int> musicGeneration_{0};  // the piece playing; an end of an older one is ignored
  std::atomic<bool> halting_{false};     // set while this program closes the music itself
  int effectsStarted_ = 0;
  QString lastEffectFile_;
  std::vector<int> piecesStarted_;
};

}  // namespace tomtura
