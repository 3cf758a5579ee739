#pragma once
// The game log's line for an outcome, in the edition's words.
#include "data/outcome.h"

namespace tomtura {

class Tabletop;

// Writes the log line (or lines) of an outcome that has just been applied.
void LogOutcome(Tabletop& table, const Outcome& outcome);

}  // namespace tomtura
