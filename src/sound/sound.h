#pragma once
// Sound effects and background music on SDL2_mixer. Effects are numbered 0..9, their files named
// by the board file. Nothing of it is set up before the window's first frame: OpenInBackground
// loads the mixer, opens the device, reads the effect files and loads the first piece on a
// thread of its own, and whatever is asked for earlier waits for that work or does it. An
// effect is kept as its file's bytes and decoded for the device when it plays (the decoded one
// is kept for its next turn), so memory holds the files and one effect at the device's rate.
// Every effect but the tax sound starts at once and cuts off the one still playing; the tax
// sound plays to its end before the call returns. Music walks the ten pieces in an order
// shuffled once per run; the end of a piece comes from the mixer's thread as an event, and only
// a piece that ended by itself is followed by the next. No mixer library or audio device, a
// missing or broken file: silence, no message, no wait. While nothing has sounded for a few
// seconds and no music plays, the device is closed, so a waiting game costs no processor time.
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "rules/music_order.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace tomtura {

class TextCatalogue;
struct MixerLibrary;

class SoundEffects : public QObject {
  Q_OBJECT

 public:
  static constexpr int kEffectCount = 10;
  static constexpr int kTaxSound = 8;
  // Silence this long (no effect, no music) closes the device; the next sound opens it again.
  static constexpr int kIdleCloseMs = 5000;
  // A larger effect file is not read: it is silent.
  static constexpr std::size_t kMaxEffectFileBytes = 8 << 20;

  // `directory` holds the sound and music files; `musicSeed` shuffles the music order. Sets
  // nothing up: that is OpenInBackground's work, or the first sound's.
  SoundEffects(const TextCatalogue& texts, QString directory, std::uint64_t musicSeed = 0);
  ~SoundEffects() override;
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;

  // An effect asked for this long before the effects are ready no longer fits its event.
  static constexpr int kHeldEffectMs = 300;

  // Until OpenInBackground, an effect asked for is held instead of setting the sound up there
  // and then: the last one waits, and plays when the effects are ready if it is not older than
  // kHeldEffectMs by then. The window holds what the game asks before its first frame.
  void HoldUntilOpened() { holding_ = stage_ == Stage::Idle; }
  // Ends the hold without setting anything up: what is asked for from now on sets the sound up
  // there and then. The effect held, if any, is dropped.
  void StopHolding() {
    holding_ = false;
    heldEffect_ = -1;
  }
  // Sets the sound up on a thread of its own; with `withMusic` the next piece of the order is
  // loaded there too and starts once all is ready, unless music was started or stopped in the
  // meantime. Once only; a later call does nothing.
  void OpenInBackground(bool withMusic);

  // Plays effect n (0..9) when `soundOn`; effect 8 returns only when it has finished.
  void PlaySoundEffect(int n, bool soundOn);
  // Closes what plays and starts the next piece of the order; false when it could not start
  // (then no further piece follows by itself).
  bool PlayNextMusic();
  // Closes the music; a piece closed here is not followed by another.
  void StopMusic();

  // What the player would hear, for tests and measurements.
  // The sound is set up (waiting for it, or doing it now) and an audio device could be opened.
  bool deviceOpen();
  // The device and the effects are set up, by the background thread or by a call that needed
  // them.
  bool ready() const { return stage_ == Stage::Ready; }
  // The background set-up has something not yet taken: the effects, or the first piece.
  bool settingUp() const { return stage_ == Stage::Loading || piece_.valid(); }
  // The device is open now (it is closed while the game is silent).
  bool deviceActive() const { return deviceActive_; }
  // Closes the device now if nothing plays, as the idle time would.
  void CloseIfIdle();
  int effectsStarted() const { return effectsStarted_; }
  QString lastEffectFile() const { return lastEffectFile_; }
  const MusicOrder& musicOrder() const { return order_; }
  const std::vector<int>& piecesStarted() const { return piecesStarted_; }
  bool musicPlaying() const;
  // The bytes the effects hold in memory: their files, and the one decoded for the device.
  std::size_t effectBytes() const;

 signals:
  // A piece has begun (its number, 0..9).
  void musicStarted(int piece);

 protected:
  void customEvent(QEvent* event) override;

 private:
  enum class Stage { Idle, Loading, Ready };

  // What the set-up hands over: it runs on the background thread, or on the caller's.
  struct Prepared {
    const MixerLibrary* mixer = nullptr;  // null: no sound at all
    bool deviceOpen = false;
    std::array<std::vector<std::uint8_t>, kEffectCount> files;
  };
  struct Request {
    std::array<std::string, kEffectCount> effectFiles;  // local encoding
    std::string pieceFile;                              // empty: no piece to load
  };
  static Prepared Prepare(const Request& request);
  Request MakeRequest(int pieceNumber);

  // The mixer's thread reports the end of a piece here; it only posts an event.
  static void MusicFinished();

  // Waits for the device and the effects of the background set-up, or sets them up here when
  // none began; then takes them over.
  void Ready();
  void Adopt(Prepared prepared);
  // Waits for the piece the set-up loads, if it loads one, and keeps it as preloaded.
  void TakePiece();
  // The effect decoded for the device; null when its file is missing or does not decode.
  Mix_Chunk* Decoded(int n);
  void FreePreloadedPiece();
  void HaltMusic();
  // Opens the device when it was closed; false when it cannot be.
  bool Activate();
  // The idle time starts again.
  void Rearm();

  const TextCatalogue& texts_;
  QString directory_;
  MusicOrder order_;
  Stage stage_ = Stage::Idle;
  std::thread loader_;
  std::future<Prepared> prepared_;  // the device and the effects, from the loader
  std::future<Mix_Music*> piece_;   // then the first piece; valid until taken
  bool startMusicWhenReady_ = false;
  bool holding_ = false;
  int heldEffect_ = -1;
  std::chrono::steady_clock::time_point heldSince_;
  const MixerLibrary* mixer_ = nullptr;
  bool audio_ = false;
  bool deviceActive_ = false;
  QTimer idle_;
  std::array<QString, kEffectCount> effectPaths_;
  std::array<std::vector<std::uint8_t>, kEffectCount> effectFiles_;  // empty: silent
  Mix_Chunk* decoded_ = nullptr;  // the effect last played, at the device's format
  int decodedEffect_ = -1;
  Mix_Music* preloaded_ = nullptr;  // the piece loaded by the set-up, until it is played
  int preloadedPiece_ = -1;
  Mix_Music* music_ = nullptr;
  std::atomic<int> musicGeneration_{0};  // the piece playing; an end of an older one is ignored
  std::atomic<bool> halting_{false};     // set while this program closes the music itself
  int effectsStarted_ = 0;
  QString lastEffectFile_;
  std::vector<int> piecesStarted_;
};

}  // namespace tomtura
