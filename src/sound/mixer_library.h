#pragma once
// SDL2_mixer, loaded when the first sound is prepared rather than when the program starts: the
// mixer brings some fifty libraries (the synthesizer, codecs, audio servers) that the first
// frame of the window does not need. Only the declarations of SDL's headers are used here; the
// functions are looked up in the library at run time.
#ifdef TOMTURA_HAVE_SDL_MIXER
#include <SDL.h>
#include <SDL_mixer.h>

namespace tomtura {

struct MixerLibrary {
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_RWFromFile) RWFromFile;
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&Mix_Init) Init;
  decltype(&Mix_Quit) Quit;
  decltype(&Mix_SetSoundFonts) SetSoundFonts;
  decltype(&Mix_OpenAudio) OpenAudio;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_AllocateChannels) AllocateChannels;
  decltype(&Mix_Volume) Volume;
  decltype(&Mix_VolumeMusic) VolumeMusic;
  decltype(&Mix_HookMusicFinished) HookMusicFinished;
  decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
  decltype(&Mix_FreeChunk) FreeChunk;
  decltype(&Mix_PlayChannelTimed) PlayChannelTimed;
  decltype(&Mix_Playing) Playing;
  decltype(&Mix_GetChunk) GetChunk;
  decltype(&Mix_HaltChannel) HaltChannel;
  decltype(&Mix_LoadMUSType_RW) LoadMUSType_RW;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_PlayingMusic) PlayingMusic;
};

// The mixer's functions, the library loaded at the first call (from any thread); null when it
// is not installed or lacks one of them. The library stays loaded until the program ends.
const MixerLibrary* LoadMixerLibrary();

}  // namespace tomtura

#endif  // TOMTURA_HAVE_SDL_MIXER
