#pragma once
// Network games without a display, for tests and tournaments: this process's player is
// answered by the computer's rules (and deals as the computer would, through the play window),
// over plain TCP sockets.
#include <cstdint>
#include <string>

#include "data/strength.h"
#include "data/text_catalogue.h"

namespace tomtura {

struct NetPlayOptions {
  bool host = false;
  std::string address;  // join: the host's address or name
  int port = 0;         // 0: the host picks a free one and prints it
  int players = 2;      // host: the game starts when this many have joined, computers included
  int computers = 0;    // host: computer players of the host's, seated first
  Strength computerLevel = Strength::Normal;  // host: how well they play
  // Host: a saved network game to go on with; its players take back their seats by name.
  std::string load;
  std::string name;  // join: this player's name
  std::uint64_t seed = 1;
  std::string save;  // the game as it ended, as a saved game
  // Turns after which a game that has not ended stops, on every computer at the same point.
  int maxTurns = 2000;
  int leaveAfter = -1;  // join: leave the game (close the connection) after this many throws
  int dropAfter = -1;   // join: the process kills itself (SIGKILL) after this many throws
  // Host: how long a player whose connection broke keeps his seat, and what the host does
  // meanwhile: "wait" for him, let the "computer" play it, or let him "leave" at once.
  int graceSeconds = 120;
  std::string onDrop = "leave";
  // Join: the process kills itself (SIGKILL) when its player is first asked a decision of this
  // kind: offer, card (a card or notice), jail, debt, bid, consent or play (the play window).
  std::string dropAt;
  bool classic = false;  // the design's messages alone
  // One line per question answered and auction turn taken, in the game's order on every
  // computer: the monotonic clock in nanoseconds and whether it came from another computer
  // (for measuring how long a press takes to arrive).
  std::string decisionTimes;
};

// Whether `kind` names a kind of decision for NetPlayOptions::dropAt.
bool IsDropKind(const std::string& kind);
// Whether `choice` names a choice for NetPlayOptions::onDrop.
bool IsDropChoice(const std::string& choice);

// Plays one network game to its end; the exit status: 0 when the game ended with a winner.
int PlayNetworkGame(const TextCatalogue& texts, const NetPlayOptions& options);

}  // namespace tomtura
