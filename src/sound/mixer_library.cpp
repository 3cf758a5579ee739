#include "sound/mixer_library.h"

#ifdef TOMTURA_HAVE_SDL_MIXER
#include <dlfcn.h>

namespace tomtura {
namespace {

// The runtime library of SDL2_mixer 2.x, by its soname.
constexpr const char* kMixerSoname = "libSDL2_mixer-2.0.so.0";

// Looks `name` up in the mixer and in what it links (SDL itself); false when it is missing.
template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool Resolve(void* library, MixerLibrary& m) {
  return Find(library, "SDL_SetHint", m.SetHint) &&
         Find(library, "SDL_InitSubSystem", m.InitSubSystem) &&
         Find(library, "SDL_QuitSubSystem", m.QuitSubSystem) &&
         Find(library, "SDL_RWFromFile", m.RWFromFile) &&
         Find(library, "SDL_RWFromConstMem", m.RWFromConstMem) &&
         Find(library, "Mix_Init", m.Init) && Find(library, "Mix_Quit", m.Quit) &&
         Find(library, "Mix_SetSoundFonts", m.SetSoundFonts) &&
         Find(library, "Mix_OpenAudio", m.OpenAudio) &&
         Find(library, "Mix_CloseAudio", m.CloseAudio) &&
         Find(library, "Mix_AllocateChannels", m.AllocateChannels) &&
         Find(library, "Mix_Volume", m.Volume) && Find(library, "Mix_VolumeMusic", m.VolumeMusic) &&
         Find(library, "Mix_HookMusicFinished", m.HookMusicFinished) &&
         Find(library, "Mix_LoadWAV_RW", m.LoadWAV_RW) &&
         Find(library, "Mix_FreeChunk", m.FreeChunk) &&
         Find(library, "Mix_PlayChannelTimed", m.PlayChannelTimed) &&
         Find(library, "Mix_Playing", m.Playing) && Find(library, "Mix_GetChunk", m.GetChunk) &&
         Find(library, "Mix_HaltChannel", m.HaltChannel) &&
         Find(library, "Mix_LoadMUSType_RW", m.LoadMUSType_RW) &&
         Find(library, "Mix_PlayMusic", m.PlayMusic) &&
         Find(library, "Mix_HaltMusic", m.HaltMusic) &&
         Find(library, "Mix_FreeMusic", m.FreeMusic) &&
         Find(library, "Mix_PlayingMusic", m.PlayingMusic);
}

}  // namespace

const MixerLibrary* LoadMixerLibrary() {
  static const MixerLibrary* const loaded = []() -> const MixerLibrary* {
    void* library = dlopen(kMixerSoname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static MixerLibrary functions{};
    if (!Resolve(library, functions)) return nullptr;
    return &functions;
  }();
  return loaded;
}

}  // namespace tomtura

#endif  // TOMTURA_HAVE_SDL_MIXER
