#pragma once
// The Easy computer player's dealing at the start of its turn.

namespace tomtura {

class Tabletop;

// The current player, an Easy computer player, pays a debt by mortgaging in the order of the
// board and then selling houses, offers the printed price and a tenth for the street missing
// from a group, builds at most one house a turn (its cheapest whole group first, and only with
// a large sum left in hand) and lifts mortgages when it is rich. Every change goes through the
// dealing's steps (trade/deal_steps.h); a sketch is as trade/computer_deals.h says.
void RunEasyDealing(Tabletop& table, bool sketch);

}  // namespace tomtura
