#include "sound/sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "data/text_catalogue.h"
#include "sound/mixer_library.h"

namespace tomtura {
namespace {

const QEvent::Type kMusicEnded = static_cast<QEvent::Type>(QEvent::User + 71);
const QEvent::Type kSetUp = static_cast<QEvent::Type>(QEvent::User + 72);
const QEvent::Type kPieceLoaded = static_cast<QEvent::Type>(QEvent::User + 73);

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
constexpr auto kPoll = std::chrono::milliseconds(2);
constexpr int kSyncSlackMs = 500;  // a stalled device never holds the game longer than this
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The sequencer plays Standard MIDI Files only, bare or in a RIFF "RMID" wrapper; anything else
// is a piece that fails, and the mixer must not guess another decoder for it.
bool IsMidiFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char head[12] = {};
  if (!file.read(head, sizeof head)) return false;
  const std::string_view bytes(head, sizeof head);
  return bytes.starts_with("MThd") || (bytes.starts_with("RIFF") && bytes.substr(8, 4) == "RMID");
}

// The whole file, or nothing when it is missing or larger than an effect may be.
std::vector<std::uint8_t> ReadEffectFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return {};
  const std::streamoff size = file.tellg();
  if (size <= 0 || static_cast<std::size_t>(size) > SoundEffects::kMaxEffectFileBytes) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return {};
  return bytes;
}

bool OpenDevice(const MixerLibrary& mixer) {
  if (mixer.OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames) != 0) return false;
  mixer.AllocateChannels(1);
  mixer.Volume(-1, kEffectVolume);
  mixer.VolumeMusic(kMusicVolume);
  return true;
}

// A piece of music for the sequencer; null when the file is none.
Mix_Music* LoadPiece(const MixerLibrary& mixer, const std::string& path) {
  if (!IsMidiFile(path)) return nullptr;
  SDL_RWops* file = mixer.RWFromFile(path.c_str(), "rb");
  return file != nullptr ? mixer.LoadMUSType_RW(file, MUS_MID, 1) : nullptr;
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
}

SoundEffects::~SoundEffects() {
  startMusicWhenReady_ = false;
  if (stage_ == Stage::Loading) Ready();
  TakePiece();
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (!audio_) return;
  // The hook is taken away under the mixer's lock, so no end of a piece is in flight after it.
  SoundEffects* self = this;
  musicOwner.compare_exchange_strong(self, nullptr);
  mixer_->HookMusicFinished(nullptr);
  HaltMusic();
  FreePreloadedPiece();
  if (deviceActive_) {
    mixer_->HaltChannel(-1);
    mixer_->CloseAudio();
  }
  if (decoded_ != nullptr) mixer_->FreeChunk(decoded_);
  mixer_->Quit();
  mixer_->QuitSubSystem(SDL_INIT_AUDIO);
#endif
}

// The effects' files as the board file names them, and the piece to load (-1: none).
SoundEffects::Request SoundEffects::MakeRequest(int pieceNumber) {
  Request request;
  for (int n = 0; n < kEffectCount; ++n) {
    const auto i = static_cast<std::size_t>(n);
    effectPaths_[i] = QDir(directory_).filePath(QString::fromStdString(texts_.GetSoundName(n)));
    request.effectFiles[i] = QFile::encodeName(effectPaths_[i]).toStdString();
  }
  if (pieceNumber >= 0) {
    request.pieceFile =
        QFile::encodeName(
            QDir(directory_).filePath(QString::fromStdString(MusicFileName(pieceNumber))))
            .toStdString();
  }
  return request;
}

// Runs on the background thread: it touches nothing of this object and only reads files.
SoundEffects::Prepared SoundEffects::Prepare(const Request& request) {
  Prepared prepared;
#ifdef TOMTURA_HAVE_SDL_MIXER
  const MixerLibrary* mixer = LoadMixerLibrary();
  if (mixer == nullptr) return prepared;
  // SDL would turn SIGINT and SIGTERM into quit events that nobody reads, and the game would
  // outlive a logout or a `kill`.
  mixer->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (mixer->InitSubSystem(SDL_INIT_AUDIO) != 0) return prepared;
  mixer->Init(MIX_INIT_MID);
  const char* fonts = std::getenv("SDL_SOUNDFONTS");
  if ((fonts == nullptr || *fonts == '\0') && std::ifstream(kSoundFont).good()) {
    mixer->SetSoundFonts(kSoundFont);
  }
  if (!OpenDevice(*mixer)) {
    mixer->Quit();
    mixer->QuitSubSystem(SDL_INIT_AUDIO);
    return prepared;
  }
  prepared.mixer = mixer;
  prepared.deviceOpen = true;
  for (std::size_t n = 0; n < request.effectFiles.size(); ++n) {
    prepared.files[n] = ReadEffectFile(request.effectFiles[n]);
  }
#else
  (void)request;
#endif
  return prepared;
}

void SoundEffects::OpenInBackground(bool withMusic) {
  holding_ = false;
  if (stage_ != Stage::Idle) return;
  // The piece that the next PlayNextMusic will ask for, found on a copy of the order.
  MusicOrder next = order_;
  preloadedPiece_ = withMusic ? next.Next() : -1;
  const Request request = MakeRequest(preloadedPiece_);
  startMusicWhenReady_ = withMusic;
  stage_ = Stage::Loading;
  std::promise<Prepared> prepared;
  std::promise<Mix_Music*> piece;
  prepared_ = prepared.get_future();
  piece_ = piece.get_future();
  // The effects are handed over before the piece is loaded, so that a sound asked for in the
  // meantime waits only for them.
  loader_ = std::thread(
      [this, request, prepared = std::move(prepared), piece = std::move(piece)]() mutable {
        Prepared ready = Prepare(request);
        const MixerLibrary* mixer = ready.deviceOpen ? ready.mixer : nullptr;
        prepared.set_value(std::move(ready));
        QCoreApplication::postEvent(this, new QEvent(kSetUp));
#ifdef TOMTURA_HAVE_SDL_MIXER
        piece.set_value(mixer != nullptr && !request.pieceFile.empty()
                            ? LoadPiece(*mixer, request.pieceFile)
                            : nullptr);
#else
        (void)mixer;
        piece.set_value(nullptr);
#endif
        QCoreApplication::postEvent(this, new QEvent(kPieceLoaded));
      });
}

void SoundEffects::Ready() {
  if (stage_ == Stage::Ready) return;
  Adopt(stage_ == Stage::Loading ? prepared_.get() : Prepare(MakeRequest(-1)));
}

void SoundEffects::Adopt(Prepared prepared) {
  stage_ = Stage::Ready;
  mixer_ = prepared.mixer;
  audio_ = prepared.deviceOpen;
  deviceActive_ = prepared.deviceOpen;
  effectFiles_ = std::move(prepared.files);
  if (!audio_) return;
#ifdef TOMTURA_HAVE_SDL_MIXER
  musicOwner = this;
  mixer_->HookMusicFinished(&SoundEffects::MusicFinished);
  Rearm();
#endif
}

void SoundEffects::TakePiece() {
  if (!piece_.valid()) return;
  preloaded_ = piece_.get();
  loader_.join();
  if (preloaded_ == nullptr) preloadedPiece_ = -1;
}

void SoundEffects::FreePreloadedPiece() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (preloaded_ != nullptr) mixer_->FreeMusic(preloaded_);
  preloaded_ = nullptr;
  preloadedPiece_ = -1;
#endif
}

bool SoundEffects::deviceOpen() {
  Ready();
  return audio_;
}

bool SoundEffects::Activate() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (!deviceActive_) {
    if (!OpenDevice(*mixer_)) return false;
    deviceActive_ = true;
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
  if (music_ != nullptr || mixer_->Playing(-1) != 0) {
    Rearm();
    return;
  }
  idle_.stop();
  mixer_->CloseAudio();
  deviceActive_ = false;
#endif
}

Mix_Chunk* SoundEffects::Decoded(int n) {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (decoded_ != nullptr && decodedEffect_ == n) return decoded_;
  std::vector<std::uint8_t>& file = effectFiles_[static_cast<std::size_t>(n)];
  if (file.empty()) return nullptr;
  Mix_Chunk* chunk =
      mixer_->LoadWAV_RW(mixer_->RWFromConstMem(file.data(), static_cast<int>(file.size())), 1);
  if (chunk == nullptr) {
    std::vector<std::uint8_t>().swap(file);  // a file that failed is not tried again
    return nullptr;
  }
  // Freeing the last one stops it if it still plays; the new one would cut it off anyway.
  if (decoded_ != nullptr) mixer_->FreeChunk(decoded_);
  decoded_ = chunk;
  decodedEffect_ = n;
  return chunk;
#else
  (void)n;
  return nullptr;
#endif
}

void SoundEffects::PlaySoundEffect(int n, bool soundOn) {
  if (!soundOn || n < 0 || n >= kEffectCount) return;
  if (holding_) {
    heldEffect_ = n;
    heldSince_ = std::chrono::steady_clock::now();
    return;
  }
  heldEffect_ = -1;
  Ready();
  if (!audio_) return;
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (effectFiles_[static_cast<std::size_t>(n)].empty() || !Activate()) return;
  // The device is open here: an effect is decoded to its format.
  Mix_Chunk* chunk = Decoded(n);
  if (chunk == nullptr) return;
  if (mixer_->PlayChannelTimed(kEffectChannel, chunk, 0, -1) < 0) return;
  ++effectsStarted_;
  lastEffectFile_ = effectPaths_[static_cast<std::size_t>(n)];
  if (n != kTaxSound) return;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(ChunkMs(*chunk) + kSyncSlackMs);
  while (mixer_->Playing(kEffectChannel) != 0 && mixer_->GetChunk(kEffectChannel) == chunk &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
  }
#endif
}

bool SoundEffects::PlayNextMusic() {
  startMusicWhenReady_ = false;
  Ready();
  TakePiece();
  const int piece = order_.Next();
  HaltMusic();
  if (!audio_ || !Activate()) return false;
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (preloaded_ != nullptr && preloadedPiece_ == piece) {
    music_ = std::exchange(preloaded_, nullptr);
    preloadedPiece_ = -1;
  } else {
    FreePreloadedPiece();
    music_ = LoadPiece(
        *mixer_,
        QFile::encodeName(QDir(directory_).filePath(QString::fromStdString(MusicFileName(piece))))
            .toStdString());
  }
  if (music_ == nullptr) return false;
  ++musicGeneration_;
  if (mixer_->PlayMusic(music_, 1) != 0) {
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

// A piece still being loaded by the set-up is not started either.
void SoundEffects::StopMusic() {
  startMusicWhenReady_ = false;
  HaltMusic();
}

// "Close all": what plays stops, and its end is not taken for a piece that ended by itself.
void SoundEffects::HaltMusic() {
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (music_ == nullptr) return;
  halting_ = true;
  ++musicGeneration_;
  mixer_->HaltMusic();
  mixer_->FreeMusic(music_);
  music_ = nullptr;
  halting_ = false;
#endif
}

bool SoundEffects::musicPlaying() const {
#ifdef TOMTURA_HAVE_SDL_MIXER
  return music_ != nullptr && mixer_->PlayingMusic() != 0;
#else
  return false;
#endif
}

std::size_t SoundEffects::effectBytes() const {
  std::size_t bytes = 0;
  for (const std::vector<std::uint8_t>& file : effectFiles_) bytes += file.size();
#ifdef TOMTURA_HAVE_SDL_MIXER
  if (decoded_ != nullptr) bytes += decoded_->alen;
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

// The set-up has readied the effects, or loaded the first piece, on its thread: what it made is
// taken now, unless a call that needed it took it first. A piece that ended by itself is closed
// and followed by the next; a failure ends the chain.
void SoundEffects::customEvent(QEvent* event) {
  if (event->type() == kSetUp) {
    Ready();
    if (heldEffect_ >= 0 &&
        std::chrono::steady_clock::now() - heldSince_ <= std::chrono::milliseconds(kHeldEffectMs)) {
      PlaySoundEffect(heldEffect_, true);
    }
    heldEffect_ = -1;
    return;
  }
  if (event->type() == kPieceLoaded) {
    if (!piece_.valid()) return;  // taken already by a call that needed it
    Ready();
    TakePiece();
    if (startMusicWhenReady_) PlayNextMusic();
    FreePreloadedPiece();
    return;
  }
  if (event->type() != kMusicEnded) return;
  const auto* ended = static_cast<MusicEndedEvent*>(event);
  if (ended->generation != musicGeneration_.load() || music_ == nullptr) return;
  HaltMusic();
  PlayNextMusic();
}

}  // namespace tomtura
