#pragma once
// The game's ten pieces of background music, composed here: each piece has its own key, mode,
// metre, tempo, instruments, chord progressions and form; a seeded generator writes melodies
// from motifs that repeat and vary over those chords, with accompaniment, bass and percussion.
#include <cstdint>
#include <string>
#include <vector>

namespace tomtura::sound_maker {

constexpr int kPieceCount = 10;

struct Composition {
  std::vector<std::uint8_t> midi;  // a Standard MIDI File, format 1
  double seconds = 0.0;            // playing time, with the closing slow-down
  int bpm = 0;
  std::string description;  // key, metre, tempo and instruments, for people
};

Composition ComposePiece(int n);

}  // namespace tomtura::sound_maker
