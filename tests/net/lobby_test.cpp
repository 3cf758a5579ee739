#include "net/lobby.h"

#include <gtest/gtest.h>

namespace tomtura {
namespace {

std::string DefaultNameOf(int record) {
  return "Spelare " + std::to_string(record);
}

std::vector<int> IsComputer(const PlayerTable& players) {
  std::vector<int> values;
  for (const Player& p : players) values.push_back(p.isComputer);
  return values;
}

std::vector<std::string> Names(const PlayerTable& players) {
  std::vector<std::string> names;
  for (const Player& p : players) names.push_back(p.name.utf8());
  return names;
}

// The host "Host" and the clients on connections 12, 13 and 14, who joined as B, "" and D.
PlayerTable FourPlayers(std::int32_t& count) {
  PlayerTable players{};
  players[4].name.setRaw("Old");  // left from an earlier game
  players[4].isComputer = 1;
  players[0].password.setRaw("abc");
  players[2].password.setRaw("xyz");
  OpenLobby(players, count);
  players[0].name.setRaw("Host");
  const char* names[] = {"B", "", "D"};
  for (int i = 0; i < 3; ++i) {
    const auto connection = static_cast<ConnectionId>(12 + i);
    EXPECT_TRUE(AcceptConnection(players, count, connection));
    JoinMessage join;
    join.name.setRaw(names[i]);
    EXPECT_EQ(NameJoiner(players, count, connection, join, DefaultNameOf), i + 1);
  }
  return players;
}

TEST(LobbyTest, JoinsFillTheRecordsInTurnAndASeventhPlayerIsRefused) {
  std::int32_t count = 0;
  PlayerTable players = FourPlayers(count);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(Names(players), (std::vector<std::string>{"Host", "B", "Spelare 2", "D", "", ""}));
  EXPECT_EQ(IsComputer(players), (std::vector<int>{0, 12, 13, 14, 0, 0}));
  for (const Player& player : players) EXPECT_TRUE(player.password.empty());
  EXPECT_EQ(NameJoiner(players, count, 99, JoinMessage{}, DefaultNameOf), -1);

  EXPECT_TRUE(AcceptConnection(players, count, 15));
  EXPECT_TRUE(AcceptConnection(players, count, 16));
  const PlayerTable six = players;
  EXPECT_FALSE(AcceptConnection(players, count, 17));
  EXPECT_EQ(count, 6);
  EXPECT_EQ(players, six);
}

TEST(LobbyTest, ALeaverBeforeStartMovesTheLaterRecordsUp) {
  std::int32_t count = 0;
  PlayerTable players = FourPlayers(count);
  EXPECT_EQ(RemoveLeaver(players, count, 12), 1);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Names(players), (std::vector<std::string>{"Host", "Spelare 2", "D", "", "", ""}));
  EXPECT_EQ(IsComputer(players), (std::vector<int>{0, 13, 14, 0, 0, 0}));
  EXPECT_EQ(players[1].token, 1);  // tokens stay with their records

  EXPECT_EQ(RemoveLeaver(players, count, 12), -1);
  EXPECT_EQ(RemoveLeaver(players, count, 14), 2);  // the last one
  EXPECT_EQ(IsComputer(players), (std::vector<int>{0, 13, 0, 0, 0, 0}));
}

TEST(LobbyTest, EachClientsRosterShowsItsOwnPlayerAsPlayedThere) {
  const struct {
    int playerCount;
    std::vector<std::vector<int>> isComputer;  // of client k = 1, 2, ..
  } cases[] = {
      {3, {{2, 0, 13, 0, 0, 0}, {2, 2, 0, 0, 0, 0}}},
      {4, {{2, 0, 13, 14, 0, 0}, {2, 2, 0, 14, 0, 0}, {2, 2, 2, 0, 0, 0}}},
  };
  for (const auto& c : cases) {
    std::int32_t count = 0;
    PlayerTable players = FourPlayers(count);
    if (c.playerCount == 3) RemoveLeaver(players, count, 14);
    const std::vector<RosterMessage> rosters =
        RostersAtStart(players, count, RuleSettings{.firstLapRule = 0, .auctionOn = 7});
    ASSERT_EQ(rosters.size(), c.isComputer.size());
    for (std::size_t k = 0; k < rosters.size(); ++k) {
      EXPECT_EQ(IsComputer(rosters[k].players), c.isComputer[k]) << k + 1;
      EXPECT_EQ(Names(rosters[k].players), Names(players));
      EXPECT_EQ(rosters[k].auctionOn, 7);
      EXPECT_EQ(rosters[k].firstLapRule, 0);
    }
  }
}

TEST(RelayTest, AMessageGoesToEveryOtherClient) {
  std::int32_t count = 0;
  const PlayerTable players = FourPlayers(count);
  const struct {
    ConnectionId from;
    int leaver;  // the record of a player who has left (isComputer 0), or 0
    std::vector<ConnectionId> to;
  } cases[] = {
      {0, 2, {12, 14}},  // made at the host
      {12, 3, {13}},     // a chat from client 1
  };
  for (const auto& c : cases) {
    PlayerTable table = players;
    if (c.leaver != 0) table[c.leaver].isComputer = 0;
    EXPECT_EQ(RelayTargets(table, count, c.from), c.to) << c.from << " " << c.leaver;
  }
}

}  // namespace
}  // namespace tomtura
