#pragma once
// The Easy computer player: a beginner's game.
#include "rules/computer_mind.h"

namespace tomtura {

const ComputerMind& EasyMind();

}  // namespace tomtura
