#include "rules/computer_mind.h"

#include "rules/easy_player.h"
#include "rules/hard_player.h"
#include "rules/normal_player.h"

namespace tomtura {

const ComputerMind& MindOf(Strength strength) {
  switch (strength) {
    case Strength::Easy:
      return EasyMind();
    case Strength::Hard:
      return HardMind();
    case Strength::Normal:
      break;
  }
  return NormalMind();
}

const ComputerMind& MindOf(const GameState& state, int player) {
  if (player < 0 || player >= kMaxPlayers) return MindOf(Strength::Normal);
  return MindOf(state.players[player].strength);
}

}  // namespace tomtura
