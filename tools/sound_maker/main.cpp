// sound_maker: makes the game's sound effects (tomtura0..9.wav) and background music
// (tomtura0..9.mid) and writes them into a folder, normally assets/.
//
//   sound_maker OUTDIR
#include <cstdio>
#include <filesystem>
#include <string>

#include "composer.h"
#include "effects.h"
#include "synth.h"
#include "wav_writer.h"

using namespace tomtura::sound_maker;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sound_maker OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code error;
  std::filesystem::create_directories(dir, error);

  std::size_t wavBytes = 0, midiBytes = 0;
  for (int n = 0; n < kEffectCount; ++n) {
    const std::vector<std::int16_t> samples = MakeEffect(n);
    const auto bytes = EncodeWav(samples, kSampleRate);
    const std::string path = (dir / ("tomtura" + std::to_string(n) + ".wav")).string();
    if (!WriteBytes(path, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    wavBytes += bytes.size();
    std::printf("%s  %6zu bytes  %.3f s\n", path.c_str(), bytes.size(),
                double(samples.size()) / kSampleRate);
  }
  for (int n = 0; n < kPieceCount; ++n) {
    const Composition piece = ComposePiece(n);
    const std::string path = (dir / ("tomtura" + std::to_string(n) + ".mid")).string();
    if (!WriteBytes(path, piece.midi)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    midiBytes += piece.midi.size();
    std::printf("%s  %6zu bytes  %5.1f s  %s\n", path.c_str(), piece.midi.size(), piece.seconds,
                piece.description.c_str());
  }
  std::printf("sound effects %zu bytes, music %zu bytes\n", wavBytes, midiBytes);
  return 0;
}
