#pragma once
// The host's bookkeeping of a network game. The player records double as the table of
// connections: record 0 is the host's own player (isComputer 0), records 1.. the clients'
// players in the order their connections were accepted, each holding its connection in
// isComputer. Connection ids fit in 16 bits and are never 0 or 1, so that they cannot be taken
// for a person here or a computer player.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/game_state.h"
#include "net/messages.h"

namespace tomtura {

using ConnectionId = std::int16_t;

// The connection a player at another computer plays over, as the host's record keeps it.
inline ConnectionId PlayerConnection(const Player& player) {
  return player.isComputer;
}
inline void SetPlayerConnection(Player& player, ConnectionId connection) {
  player.isComputer = connection;
}

// The name a player gets who gave none, formatted with his record index (UTF-8).
using DefaultName = std::function<std::string(int record)>;

// The lobby opens: every record is emptied (name, password, connection), each keeping its index
// as its token, and the host's player is alone.
void OpenLobby(PlayerTable& players, std::int32_t& playerCount);

// A client connects: the record at index playerCount gets the connection and that index as its
// token. False, and nothing changes, when six players exist already.
bool AcceptConnection(PlayerTable& players, std::int32_t& playerCount, ConnectionId connection);

// The record of the player who plays over `connection`, searched from record 1; -1 for none.
int RecordOfConnection(const PlayerTable& players, int playerCount, ConnectionId connection);

// Names a player, or gives him the default name of his record when `name` is empty.
void NamePlayer(Player& player, const PlayerName& name, int record, const DefaultName& defaultName);

// A Join arrived over `connection`: names that connection's record, which is returned; -1, and
// nothing changes, when no record holds the connection.
int NameJoiner(PlayerTable& players, int playerCount, ConnectionId connection,
               const JoinMessage& join, const DefaultName& defaultName);

// The host seats a computer player of its own at index playerCount, named `name`, of
// `strength`, with that index as its token; false, and nothing changes, when six players exist
// already.
bool AddComputerPlayer(PlayerTable& players, std::int32_t& playerCount, const PlayerName& name,
                       Strength strength = Strength::Normal);

// A connection closed before Start: the later records' connection and name move up one place,
// playerCount falls by one and the freed last record is left with neither. Returns the record
// the player had; -1, and nothing changes, when no record holds the connection.
int RemoveLeaver(PlayerTable& players, std::int32_t& playerCount, ConnectionId connection);

// The rosters sent at Start, one per client k = 1..playerCount-1 in that order (element k-1;
// a computer player's record has none, and gets an empty roster). They come from one copy of
// the records, in which record k-1 is set to isComputer 2 and record k to 0 before client k's
// roster is taken: client k sees records 0..k-1 with 2, its own with 0 and the later ones with
// the host's connection ids. The host's computer players are players elsewhere to every client
// (2): a client must never take one for a computer player of its own.
std::vector<RosterMessage> RostersAtStart(const PlayerTable& players, int playerCount,
                                          const RuleSettings& settings);

// The roster of the player at record `k` as a computer joining the game in its course sees the
// players: every other one elsewhere (2), his own with 0.
RosterMessage RosterOf(const PlayerTable& players, int playerCount, int k,
                       const RuleSettings& settings);

// The connections a message from `from` goes to (0 = made at the host): every client's
// connection in record order, except `from` and the records of players who have left.
std::vector<ConnectionId> RelayTargets(const PlayerTable& players, int playerCount,
                                       ConnectionId from);

}  // namespace tomtura
