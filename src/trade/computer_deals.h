#pragma once
// The computer player's dealing at the start of each of its turns.

namespace tomtura {

class Game;

// The current player, a computer player, deals as its strength's mind does (rules/
// computer_mind.h).
void RunComputerTransactions(Game& game);

// Normal's dealing: the current player raises money while in debt (mortgages, house sales,
// sales to the richest opponent), then invests (houses, lifted mortgages, exchanges and
// purchases that complete colour groups), and sums up what it did in the status line. Every
// deal with another player is put to that player's seat through the referee.
void RunNormalDealing(Game& game);

}  // namespace tomtura
