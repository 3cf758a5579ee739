#pragma once
// The Hard computer player's dealing at the start of its turn.

namespace tomtura {

class Tabletop;

// The current player, a Hard computer player, raises money while in debt with the least loss to
// its standing (sales first, then mortgages, houses last), then offers the deals that finish
// its colour groups, builds where the rent gained per krona is greatest and keeps in hand what
// the rents ahead of it call for. Every change goes through the dealing's steps
// (trade/deal_steps.h); a sketch is as trade/computer_deals.h says.
void RunHardDealing(Tabletop& table, bool sketch);

}  // namespace tomtura
