#pragma once
// How much rent holdings can bring in, as a player at the table can reckon it: the odds of each
// square from the dice and the go-to-jail corner alone, and the rents of the property table.
// The Hard computer player weighs its purchases, bids, deals and houses by these figures; none
// of them looks at the decks or at dice not yet thrown.
#include <array>
#include <utility>

#include "data/game_state.h"

namespace tomtura {

// The share of throws that end on each square in a long game: two dice from square to square,
// the go-to-jail corner sending its visitors to the jail. Cards are left out.
const std::array<double, kSquareCount>& LandingOdds();

// The share of throws of two dice that come to `sum` (2..12; 0 for any other sum).
double ThrowOdds(int sum);

// The share of throws that end on property p's square; 0 for the jail cards.
double PropertyOdds(int p);

// The entries of p's run of equal group in the table, first and last.
std::pair<int, int> GroupRunOf(const PropertyTable& table, int p);

// The one entry of p's run that `player` does not own, or kNobody when he lacks none or more
// than one.
int SingleMissingOfRun(const PropertyTable& table, int p, int player);

// True when `player` owns every entry of street p's colour group.
bool OwnsWholeGroup(const PropertyTable& table, int p, int player);

// True when street p would finish `player`'s colour group: he owns every other entry of it.
bool FinishesGroup(const PropertyTable& table, int p, int player);

// The rent a visitor would pay on p if it had `houses` houses (streets), held as the table
// says: the double rent of a whole group without houses, the station count, the utilities at
// an average throw of seven.
int RentWith(const PropertyTable& table, int p, int houses);

// The rent a visitor expects to pay on p per throw of his, as the table stands.
double ExpectedRent(const PropertyTable& table, int p);

// The largest rent `player` could meet in his next throw: the dearest property of another
// player, not mortgaged, 2 to 12 squares ahead of him.
int RentAhead(const PropertyTable& table, const PlayerTable& players, int player);

}  // namespace tomtura
