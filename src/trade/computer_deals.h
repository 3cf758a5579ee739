#pragma once
// The computer player's dealing at the start of each of its turns.

namespace tomtura {

class Tabletop;

// The current player, a computer player, deals by the rules of its strength (Easy:
// trade/easy_deals.h, Hard: trade/hard_deals.h). Normal raises money while in debt
// (mortgages, house sales, sales to the richest opponent), then invests (houses, lifted
// mortgages, exchanges and purchases that complete colour groups), and sums up what it did in
// the status line. Every deal with another player is put to that player's seat; every change
// is an outcome applied by the game (trade/deal_steps.h).
void RunComputerTransactions(Tabletop& table);

// The same dealing for a player who deals as the computer would in a play window: its changes
// go straight into the live tables, without log lines, summary or listeners, for the caller to
// move to the window's working copies and put the live tables back.
void SketchComputerTransactions(Tabletop& table);

}  // namespace tomtura
