#pragma once
// Hard's measure of a player's standing: what his holdings would fetch at the bank and the rent
// they can bring in over the game ahead, with the houses his money can build on his whole groups
// and a share of what his part of an unfinished group may come to. The Hard computer player
// (rules/hard_player.h, trade/hard_deals.h) weighs its bids, deals and houses by it. It reads
// only the records on the board.
#include "data/game_state.h"

namespace tomtura {

// What HardDealGain gives a deal the game would not allow.
constexpr double kNoGain = -1e300;

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

// The money Hard keeps in hand: the rent it may meet in its next throw, less what it could
// raise by mortgaging properties outside its whole groups.
int HardReserve(const PropertyTable& table, const PlayerTable& players, int player);

}  // namespace tomtura
