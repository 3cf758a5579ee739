#pragma once
// How well a computer player plays. Normal is the computer player's own rules; Easy makes a
// beginner's mistakes; Hard values streets by the rent they bring in. A person's record keeps
// Normal, which is also what any older file or message gives.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tomtura {

enum class Strength : std::uint8_t { Easy = 0, Normal = 1, Hard = 2 };

constexpr int kStrengthCount = 3;
constexpr std::array<Strength, kStrengthCount> kStrengths = {Strength::Easy, Strength::Normal,
                                                             Strength::Hard};

// The strength's word on command lines and in reports: "easy", "normal", "hard".
constexpr std::string_view StrengthName(Strength strength) {
  switch (strength) {
    case Strength::Easy:
      return "easy";
    case Strength::Hard:
      return "hard";
    case Strength::Normal:
      break;
  }
  return "normal";
}

// The strength a word names, exactly as StrengthName writes it.
constexpr std::optional<Strength> ParseStrength(std::string_view word) {
  for (Strength strength : kStrengths) {
    if (StrengthName(strength) == word) return strength;
  }
  return std::nullopt;
}

}  // namespace tomtura
