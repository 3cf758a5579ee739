#include "sound/sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <chrono>
#include <utility>

#include "data/text_catalogue.h"

#ifdef TOMTURA_HAVE_SDL_MIXER
#include <SDL.h>
#include <SDL_mixer.h>
#endif

namespace tomtura {
namespace {

const QEvent::Type kMusicEnded = static_cast<QEvent::Type>(QEvent::User + 71);

// The end of a piece, as the mixer's thread reports it.
class MusicEndedEvent : public QEvent {
 public:
  explicit MusicEndedEvent(int generation) : QEvent(kMusicEnded), generation(generation) {}
  const int generation;
};

// The one player that owns the mixer's music hook.
std::atomic<SoundEffects*> musicOwner{nullptr};

#ifdef TOMTURA_HAVE_SDL_MIXER
constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 512;  // about 12 ms: short enough that a sound starts at once
constexpr int kEffectChannel = 0;   // one channel: a new effect cuts off the one still playing
constexpr int kEffectVolume = MIX_MAX_VOLUME * 3 / 4;
constexpr int kMusicVolume = MIX_MAX_VOLUME * 2 / 5;  // background: under the effects
constexpr int kPollMs = 2;
constexpr int kSyncSlackMs = 500;  // a stalled device never holds the game longer than this
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The sequencer plays Standard MIDI Files only, bare or in a RIFF "RMID" wrapper; anything else
// is a piece that fails, and the mixer must not guess another decoder for it.
bool IsMidiFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = file.read(12);
  return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

// Milliseconds of sound in a decoded chunk at the device's format.
int ChunkMs(const Mix_Chunk& chunk) {
  constexpr int kBytesPerFrame = kChannels * 2;
  return static_cast<int>(static_cast<long long>(chunk.alen) * 1000 /
                          (static_cast<long long>(kFrequency) * kBytesPerFrame));
}
#endif

}  // namespace

SoundEffects::SoundEffects(const TextCatalogue& texts, QString directory, std::uint64_t musicSeed)
    : texts_(texts),
      directory_(std::move(directory)),
      order_(Random(musicSeed != 0
                        ? musicSeed
                        : static_cast<std::uint64_t>(
                              std::chrono::steady_clock::now().time_since_epoch().count()))) {
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, &SoundEffects::CloseIfIdle);
#ifdef TOMTURA_HAVE_SDL_MIXER
  // SDL would turn SIGINT and SIGTERM into quit events that nobody reads, and the game would
  // outlive a logout or a `kill`.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  Mix_Init(MIX_INIT_MID);
  if (qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS") && QFile::exists(kSoundFont)) {
    Mix_SetSoundFonts(kSoundFont);
  }
  if (!Activate()) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  audio_ = true;
  musicOwner = this;
  Mix_HookMusicFinished(&SoundEffects::MusicFinished);
  // Every effect is decoded now, so the first of each starts as quickly as the rest. The decoded
  // sound keeps the device's format, which is the same each time the device opens.
  for (int n = 0; n < kEffectCount; ++n) {
    Effect(QDir(directory_).filePath(QString::fromStdString(texts_.GetSoundName(n))));
  }
#endif
}

SoundEffects::~SoundEffects() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (!audio_) return;
  // The hook is taken away under the mixer's lock, so no end of a piece is in flight after it.
  SoundEffects* self = this;
  musicOwner.compare_exchange_strong(self, nullptr);
  Mix_HookMusicFinished(nullptr);
  HaltMusic();
  if (deviceActive_) {
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
  }
  for (auto& [path, chunk] : effects_) {
    if (chunk != nullptr) Mix_FreeChunk(chunk);
  }
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
#endif
}

bool SoundEffects::Activate() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (!deviceActive_) {
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames) != 0) return false;
    deviceActive_ = true;
    Mix_AllocateChannels(1);
    Mix_Volume(-1, kEffectVolume);
    Mix_VolumeMusic(kMusicVolume);
  }
  Rearm();
  return true;
#else
  return false;
#endif
}

void SoundEffects::Rearm() {
  idle_.start(kIdleCloseMs);
}

// What still sounds keeps the device open for another idle time.
void SoundEffects::CloseIfIdle() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (!deviceActive_) return;
  if (music_ != nullptr || Mix_Playing(-1) != 0) {
    Rearm();
    return;
  }
  idle_.stop();
  Mix_CloseAudio();
  deviceActive_ = false;
#endif
}

Mix_Chunk* SoundEffects::Effect(const QString& path) {
#ifdef TOMTURA_HAVE_SDL_MIXER
  const auto found = effects_.find(path);
  if (found != effects_.end()) return found->second;
  Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
  effects_.emplace(path, chunk);  // a file that failed is not tried again
  return chunk;
#else
  (void)path;
  return nullptr;
#endif
}

void SoundEffects::PlaySoundEffect(int n, bool soundOn) {
  if (!soundOn || !audio_ || n < 0 || n >= kEffectCount) return;
#ifdef TOMTURA_HAVE_SDL_MIXER
  const QString path =
      QDir(directory_).filePath(QString::fromStdString(texts_.GetSoundName(n)));
  Mix_Chunk* chunk = Effect(path);
  if (chunk == nullptr || !Activate()) return;  // every effect was decoded with the device open
  if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return;
  ++effectsStarted_;
  lastEffectFile_ = path;
  if (n != kTaxSound) return;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(ChunkMs(*chunk) + kSyncSlackMs);
  while (Mix_Playing(kEffectChannel) != 0 && Mix_GetChunk(kEffectChannel) == chunk &&
         std::chrono::steady_clock::now() < deadline) {
    SDL_Delay(kPollMs);
  }
#endif
}

bool SoundEffects::PlayNextMusic() {
  const int piece = order_.Next();
  HaltMusic();
  if (!audio_ || !Activate()) return false;
#ifdef TOMTURA_HAVE_SDL_MIXER
  const QString path = QDir(directory_).filePath(QString::fromStdString(MusicFileName(piece)));
  if (!IsMidiFile(path)) return false;
  SDL_RWops* file = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
  if (file == nullptr) return false;
  music_ = Mix_LoadMUSType_RW(file, MUS_MID, 1);
  if (music_ == nullptr) return false;
  ++musicGeneration_;
  if (Mix_PlayMusic(music_, 1) != 0) {
    HaltMusic();
    return false;
  }
  piecesStarted_.push_back(piece);
  emit musicStarted(piece);
  return true;
#else
  return false;
#endif
}

void SoundEffects::StopMusic() {
  HaltMusic();
}

// "Close all": what plays stops, and its end is not taken for a piece that ended by itself.
void SoundEffects::HaltMusic() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (music_ == nullptr) return;
  halting_ = true;
  ++musicGeneration_;
  Mix_HaltMusic();
  Mix_FreeMusic(music_);
  music_ = nullptr;
  halting_ = false;
#endif
}

bool SoundEffects::musicPlaying() const {
#ifdef TOMTURA_HAVE_SDL_MIXER
  return music_ != nullptr && Mix_PlayingMusic() != 0;
#else
  return false;
#endif
}

std::size_t SoundEffects::decodedBytes() const {
  std::size_t bytes = 0;
#ifdef TOMTURA_HAVE_SDL_MIXER
  for (const auto& [path, chunk] : effects_) {
    if (chunk != nullptr) bytes += chunk->alen;
  }
#endif
  return bytes;
}

// Runs on the mixer's thread with the mixer locked: it touches nothing but atomics and posts an
// event, which Qt lets any thread do.
void SoundEffects::MusicFinished() {
  SoundEffects* owner = musicOwner.load();
  if (owner == nullptr || owner->halting_) return;
  QCoreApplication::postEvent(owner, new MusicEndedEvent(owner->musicGeneration_.load()));
}

// A piece that ended by itself is closed and followed by the next; a failure ends the chain.
void SoundEffects::customEvent(QEvent* event) {
  if (event->type() != kMusicEnded) return;
  const auto* ended = static_cast<MusicEndedEvent*>(event);
  if (ended->generation != musicGeneration_.load() || music_ == nullptr) return;
  HaltMusic();
  PlayNextMusic();
}

}  // namespace tomtura
