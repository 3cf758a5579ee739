#include "rules/computer_mind.h"

#include "rules/easy_player.h"
#include "rules/game.h"
#include "rules/hard_player.h"

namespace tomtura {

namespace {

class NormalMind : public ComputerMind {
 public:
  bool Buys(Game& game, int p) const override { return game.ComputerBuys(p); }
  bool PaysBail(Game& game) const override { return game.ComputerPaysBail(); }
  bool Accepts(Game& game, int asked, int moneyReceived, int propertyGiven, int propertyReceived,
               const PropertyTable& table) const override {
    return game.ComputerAccepts(asked, moneyReceived, propertyGiven, propertyReceived, table);
  }
  int AuctionRaise(Game& game, int bidder, int bid, int p) const override {
    return game.ComputerAuctionRaise(bidder, bid, p);
  }
};

}  // namespace

const ComputerMind& MindOf(Strength strength) {
  static const NormalMind normal;
  switch (strength) {
    case Strength::Easy:
      return EasyMind();
    case Strength::Hard:
      return HardMind();
    case Strength::Normal:
      break;
  }
  return normal;
}

const ComputerMind& MindOf(const GameState& state, int player) {
  if (player < 0 || player >= kMaxPlayers) return MindOf(Strength::Normal);
  return MindOf(state.players[player].strength);
}

}  // namespace tomtura
