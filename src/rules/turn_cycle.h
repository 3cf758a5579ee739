#pragma once
// Numbers shared by the turn cycle (turn.cpp) and the landing resolution (landing.cpp): the
// sound effects, the token's walk across the board picture and the walk timer's interval.
#include "data/game_state.h"
#include "rules/game.h"

namespace tomtura {

// Sound effects by event; the front end maps them to files and honours the sound option.
enum SoundEffect : int {
  kSoundGameOver = 0,
  kSoundDice = 1,
  kSoundStep = 2,
  kSoundSalary = 3,
  kSoundOffer = 4,
  kSoundRent = 5,
  kSoundChance = 6,
  kSoundCommunity = 7,
  kSoundTax = 8,
  kSoundJail = 9,
};

// The token's path on the 685 x 685 board picture.
constexpr int kSquarePitch = 57;  // pixels from one square to the next along an edge
constexpr int kCornerShift = 29;  // extra vertical shift along the bottom edge (squares 20..29)
constexpr int kGoPlaceOrigin = 29;
constexpr int kGoPlaceStepX = 8;
constexpr int kGoPlaceStepY = 5;
constexpr int kFreeParkingSquare = 20;

// Where player `player`'s token stands on GO before its first step.
constexpr int GoPlaceX(int player) {
  return kGoPlaceOrigin + kGoPlaceStepX * (player % 2);
}
constexpr int GoPlaceY(int player) {
  return kGoPlaceOrigin + kGoPlaceStepY * (player / 2);
}

// Interval of a walk: the normal pace, or the quicker one of a card move or a trip to jail.
inline int WalkIntervalMs(const GameState& state, bool quick) {
  bool fast = state.settings.fastMoves != 0;
  if (quick) return fast ? kFastJailWalkTickMs : kJailWalkTickMs;
  return fast ? kFastWalkTickMs : kWalkTickMs;
}

// Steps forward from square `from` to square `to`, across GO when `to` lies behind.
inline int StepsForwardTo(int from, int to) {
  int steps = to - from;
  return steps < 0 ? steps + kSquareCount : steps;
}

}  // namespace tomtura
