#include "wav_writer.h"

#include <fstream>

namespace tomtura::sound_maker {
namespace {

void Tag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

void U16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(std::uint8_t(value & 0xFF));
  out.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  U16(out, value & 0xFFFF);
  U16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate) {
  constexpr std::uint32_t kChannels = 1;
  constexpr std::uint32_t kBytesPerSample = 2;
  const auto dataBytes = std::uint32_t(samples.size() * kBytesPerSample);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  Tag(out, "RIFF");
  U32(out, 36 + dataBytes);  // everything after this field
  Tag(out, "WAVE");
  Tag(out, "fmt ");
  U32(out, 16);  // size of the PCM format block
  U16(out, 1);   // PCM
  U16(out, kChannels);
  U32(out, std::uint32_t(sampleRate));
  U32(out, std::uint32_t(sampleRate) * kChannels * kBytesPerSample);  // bytes per second
  U16(out, kChannels * kBytesPerSample);                              // bytes per frame
  U16(out, 16);                                                       // bits per sample
  Tag(out, "data");
  U32(out, dataBytes);
  for (std::int16_t sample : samples) U16(out, std::uint16_t(sample));
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  return bool(file);
}

}  // namespace tomtura::sound_maker
