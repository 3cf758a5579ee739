#pragma once
// A computer player's mind: its answers to the questions of the game (buy the street landed on,
// pay the bail, accept a deal, raise a bid). Each strength has one; Normal is the computer
// player's own rules (rules/normal_player.h). A mind decides only: the referee applies
// what it chose. The dealing at the start of a computer's turn follows its strength too
// (trade/computer_deals.h).
#include "data/game_state.h"

namespace tomtura {

class Game;

class ComputerMind {
 public:
  virtual ~ComputerMind() = default;
  // The current player, this mind's, buys the unowned property p it landed on.
  virtual bool Buys(Game& game, int p) const = 0;
  // The current player pays its way out of jail now.
  virtual bool PaysBail(Game& game) const = 0;
  // `asked` takes a deal: it receives `moneyReceived` (negative: pays), hands over
  // `propertyGiven` and receives `propertyReceived` (-1: none); prices and owners from `table`.
  virtual bool Accepts(Game& game, int asked, int moneyReceived, int propertyGiven,
                       int propertyReceived, const PropertyTable& table) const = 0;
  // What `bidder` adds to the highest bid `bid` for p; 0 passes.
  virtual int AuctionRaise(Game& game, int bidder, int bid, int p) const = 0;
};

const ComputerMind& MindOf(Strength strength);
// The mind of `player`'s strength (Normal for a number outside the table).
const ComputerMind& MindOf(const GameState& state, int player);

}  // namespace tomtura
