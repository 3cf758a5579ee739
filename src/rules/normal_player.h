#pragma once
// The Normal computer player: the computer player's own rules, and the default strength.
#include "rules/computer_mind.h"

namespace tomtura {

class Game;

const ComputerMind& NormalMind();

// A factor x of the computer's rules: exactly x while a computer player is on turn, else varied
// by one draw of the game's random source to x - 0.2 .. x + 0.2 in steps of 0.1.
double Jitter(Game& game, int x);

}  // namespace tomtura
