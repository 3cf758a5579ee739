#include "net/lobby.h"

namespace tomtura {

namespace {

// The isComputer value a roster gives the players whose computers a client does not know.
constexpr std::int16_t kElsewhere = 2;

}  // namespace

void OpenLobby(PlayerTable& players, std::int32_t& playerCount) {
  // Nothing of an earlier game stays: above all no password, which nobody at the other
  // computers could give.
  for (std::size_t i = 0; i < players.size(); ++i) {
    players[i] = Player{};
    players[i].token = static_cast<std::int16_t>(i);
  }
  playerCount = 1;
}

bool AcceptConnection(PlayerTable& players, std::int32_t& playerCount, ConnectionId connection) {
  if (playerCount < 0 || playerCount >= kMaxPlayers) return false;
  Player& player = players[playerCount];
  SetPlayerConnection(player, connection);
  player.token = static_cast<std::int16_t>(playerCount);
  ++playerCount;
  return true;
}

bool AddComputerPlayer(PlayerTable& players, std::int32_t& playerCount, const PlayerName& name,
                       Strength strength) {
  if (playerCount < 0 || playerCount >= kMaxPlayers) return false;
  Player& player = players[playerCount];
  player = Player{};
  player.name = name;
  player.isComputer = kComputerPlayer;
  player.strength = strength;
  player.token = static_cast<std::int16_t>(playerCount);
  ++playerCount;
  return true;
}

int RecordOfConnection(const PlayerTable& players, int playerCount, ConnectionId connection) {
  for (int i = 1; i < playerCount && i < kMaxPlayers; ++i) {
    if (PlayerConnection(players[i]) == connection) return i;
  }
  return -1;
}

void NamePlayer(Player& player, const PlayerName& name, int record,
                const DefaultName& defaultName) {
  if (name.empty()) {
    player.name.setUtf8(defaultName(record));
  } else {
    player.name = name;
  }
}

int NameJoiner(PlayerTable& players, int playerCount, ConnectionId connection,
               const JoinMessage& join, const DefaultName& defaultName) {
  const int record = RecordOfConnection(players, playerCount, connection);
  if (record >= 0) NamePlayer(players[record], join.name, record, defaultName);
  return record;
}

int RemoveLeaver(PlayerTable& players, std::int32_t& playerCount, ConnectionId connection) {
  const int record = RecordOfConnection(players, playerCount, connection);
  if (record < 0) return -1;
  for (int i = record; i + 1 < playerCount; ++i) {
    SetPlayerConnection(players[i], PlayerConnection(players[i + 1]));
    players[i].name = players[i + 1].name;
  }
  --playerCount;
  SetPlayerConnection(players[playerCount], kPersonHere);
  players[playerCount].name.clear();
  return record;
}

std::vector<RosterMessage> RostersAtStart(const PlayerTable& players, int playerCount,
                                          const RuleSettings& settings) {
  std::vector<RosterMessage> rosters;
  RosterMessage roster{players, settings.auctionOn, settings.firstLapRule};
  for (Player& player : roster.players) {
    if (IsComputerPlayer(player)) SetPlayerConnection(player, kElsewhere);
  }
  for (int k = 1; k < playerCount && k < kMaxPlayers; ++k) {
    SetPlayerConnection(roster.players[k - 1], kElsewhere);
    SetPlayerConnection(roster.players[k], kPersonHere);
    rosters.push_back(roster);
  }
  return rosters;
}

RosterMessage RosterOf(const PlayerTable& players, int playerCount, int k,
                       const RuleSettings& settings) {
  RosterMessage roster{players, settings.auctionOn, settings.firstLapRule};
  for (int i = 0; i < kMaxPlayers; ++i) {
    SetPlayerConnection(roster.players[i], i == k            ? kPersonHere
                                           : i < playerCount ? kElsewhere
                                                             : kPersonHere);
  }
  return roster;
}

std::vector<ConnectionId> RelayTargets(const PlayerTable& players, int playerCount,
                                       ConnectionId from) {
  std::vector<ConnectionId> targets;
  for (int i = 1; i < playerCount && i < kMaxPlayers; ++i) {
    const ConnectionId connection = PlayerConnection(players[i]);
    // 0: the player has left; 1: a computer player, who has no connection.
    if (connection != 0 && connection != kComputerPlayer && connection != from) {
      targets.push_back(connection);
    }
  }
  return targets;
}

}  // namespace tomtura
