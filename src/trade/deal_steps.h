#pragma once
// The steps by which a computer player's dealing changes the game, whatever its strength: a
// mortgage, a lifted mortgage, a house built or sold, and the offers that need another player's
// consent. Each step is an outcome that the game checks, applies and logs (data/outcome.h);
// the steps note what was done, for the summary on the status line at the end. The strengths
// choose the steps; only this applies them.
#include <cstdint>
#include <string>

#include "data/game_state.h"
#include "data/tabletop.h"

namespace tomtura {

struct Outcome;

class DealSteps {
 public:
  // The dealing of the current player. In a sketch the changes go straight into the live
  // tables, without log lines, summary or listeners (a player who deals as the computer would
  // in a play window). The play window's copies of the players are emptied, so that a consent
  // dialog sees the live records.
  DealSteps(Tabletop& table, bool sketch);

  int actor() const { return actor_; }

  // ---- Refused offers ----
  // An offer for p was refused in this call or in the actor's last two turns.
  bool Masked(int p) const;
  // The offer for p was refused: no further offer for it this turn, nor in the next two.
  void Refused(int p);
  // The end of a pass: the refusals of this call become those of the actor's last turn.
  void ShiftRefusals();
  std::uint32_t refusedNow() const { return refusedNow_; }

  // ---- Changes the actor makes alone; each true when it was made ----
  // Mortgages p for half its price; `logged` false leaves no log line.
  bool Mortgage(int p, bool logged = true);
  bool LiftMortgage(int p);
  // One more house on street p, for its house price.
  bool BuildHouse(int p);
  // One house of street p back to the bank, for half its house price.
  bool SellHouse(int p);

  // ---- Offers; each true when the other player consented and the deal was made ----
  // The actor's p to `buyer` for `price`.
  bool OfferSale(int p, int buyer, int price);
  // `holder`'s q for the actor's c; `amount` > 0 the actor pays it, < 0 the holder pays.
  bool OfferExchange(int q, int holder, int c, int amount);
  // `holder`'s q for `offer`.
  bool OfferPurchase(int q, int holder, int offer);

  // The status line: what was done, or that the actor did nothing. Nothing in a sketch.
  void WriteSummary();

 private:
  bool Apply(const Outcome& outcome);
  bool Ask(int partner, const OfferWords& words, int moneyReceived, int given, int received);

  Tabletop& table_;
  GameState& state_;
  const int actor_;
  const bool sketch_;
  std::uint32_t refusedNow_ = 0;
  bool didMortgage_ = false;
  bool didUnmortgage_ = false;
  bool didBuyHouses_ = false;
  bool didSellHouses_ = false;
  bool didBuyProperty_ = false;
  bool didSellProperty_ = false;
};

}  // namespace tomtura
