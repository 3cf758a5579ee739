#pragma once
// The Hard computer player: it weighs its bids, deals and houses by how a player's standing
// changes, where the standing is what his holdings would fetch at the bank and the rent they can
// bring in over the game ahead (rules/estate_value.h), and buys whatever it can pay for while it
// keeps back the rent it may meet. It sees what a person at the table sees: the records on the
// board, never the decks or dice to come.
#include "data/game_state.h"
#include "rules/computer_mind.h"

namespace tomtura {

const ComputerMind& HardMind();

// A player's standing as Hard reckons it: his liquidation value, and the rent his streets,
// stations and utilities can bring in from his rivals over the game ahead, with the houses his
// money can build on his whole groups and a share of what his part of an unfinished group may
// come to.
double HardStanding(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player);

// What a deal is worth to `player`: what it does to his standing, less what it does to
// `partner`'s shared out among `player`'s rivals; a swap in which both gain, `player` at least
// four fifths of what `partner` gains, counts as a good deal too. `player` receives
// `moneyReceived` (negative: pays), hands over `given` and receives `received` (-1: none).
double HardDealGain(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player, int partner, int moneyReceived, int given, int received);

// The two standings before a deal, for judging many deals between the same two players.
struct HardDealSides {
  double mine = 0;
  double theirs = 0;
};
HardDealSides HardStandingsBefore(const PropertyTable& table, const PlayerTable& players,
                                  int playerCount, int player, int partner);
double HardDealGain(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player, int partner, int moneyReceived, int given, int received,
                    const HardDealSides& before);

// The money Hard keeps in hand at the start of its turn: the rent it may meet in its throw,
// less what it could raise by mortgaging streets outside its whole groups.
int HardReserve(const PropertyTable& table, const PlayerTable& players, int player);

}  // namespace tomtura
