#pragma once
// A writer of RIFF/WAVE files holding 16-bit PCM mono samples, the form of the game's sound
// effects. Every field is written byte by byte, little-endian.
#include <cstdint>
#include <string>
#include <vector>

namespace tomtura::sound_maker {

// The file image: the 44-byte header, then the samples.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate);
// Writes bytes to path; false when the file cannot be written completely.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tomtura::sound_maker
