#pragma once
// The Hard computer player: it weighs its bids and deals by how the players' standings change
// (trade/hard_standing.h), buys whatever it can pay for while it keeps back the rent it may
// meet, and stays in jail while the rents beyond it are high. It sees what a person at the table
// sees: the records on the board, never the decks or dice to come. Its dealing is
// trade/hard_deals.h.
#include "rules/computer_mind.h"

namespace tomtura {

const ComputerMind& HardMind();

}  // namespace tomtura
