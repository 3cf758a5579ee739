#pragma once
// The little-endian images of the game records that saved games and network messages share:
// the 54-byte property record and the 32 bytes of a player record from `name` on (a saved game
// puts 2 reserved bytes in front of them, a network message 4), and the range checks a record
// from outside must pass before the rules may use its fields as indexes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "data/game_state.h"

namespace tomtura {

constexpr std::size_t kPropertyRecordSize = 54;
constexpr std::size_t kPlayerFieldsSize = 32;
constexpr int kMaxToken = 9;  // token pictures 0..9

inline void PutU16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value & 0xFF);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutI32(std::uint8_t* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline std::uint16_t GetU16(const std::uint8_t* in) {
  return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

inline std::int16_t GetI16(const std::uint8_t* in) {
  return static_cast<std::int16_t>(GetU16(in));
}

inline std::int32_t GetI32(const std::uint8_t* in) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

template <std::size_t N>
void PutText(std::uint8_t* out, const FixedText<N>& text) {
  for (std::size_t i = 0; i < N; ++i) out[i] = static_cast<std::uint8_t>(text.bytes[i]);
}

// A text field of N bytes; setRaw stops at the first NUL and cuts an unterminated field.
template <std::size_t N>
void GetText(const std::uint8_t* in, FixedText<N>& text) {
  text.setRaw(std::string_view(reinterpret_cast<const char*>(in), N));
}

// True when the N-byte text field at `in` holds its terminating NUL.
template <std::size_t N>
bool TextTerminated(const std::uint8_t* in) {
  return std::memchr(in, 0, N) != nullptr;
}

// The 54-byte image of one property record.
void EncodePropertyRecord(const Property& property,
                          std::span<std::uint8_t, kPropertyRecordSize> out);
Property DecodePropertyRecord(std::span<const std::uint8_t, kPropertyRecordSize> in);

// A player record from `name` to `isBankrupt`.
void EncodePlayerFields(const Player& player, std::span<std::uint8_t, kPlayerFieldsSize> out);
Player DecodePlayerFields(std::span<const std::uint8_t, kPlayerFieldsSize> in);

// Why a record may not enter a game, empty when it may: a position outside 0..39 or a token
// outside 0..9 (player), an owner outside -1..5 or houses outside 0..5 (property).
std::string PlayerRecordFault(const Player& player);
std::string PropertyRecordFault(const Property& property);

}  // namespace tomtura
