// Whole games played by computer players with the headless front end: the invariants the rules
// keep, seeded reproducibility, and the turn boundary at which Run stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../rules/turn_fixture.h"
#include "rules/game.h"
#include "rules/headless.h"

namespace tomtura {
namespace {

constexpr int kGames = 1000;
constexpr int kPlayers = 4;
constexpr int kTurnCap = 300;

struct ComputerTable {
  explicit ComputerTable(std::uint64_t seed, int players = kPlayers)
      : game(turn_test::TestCatalogue(), ui, seed) {
    ui.Attach(game);
    SeatComputerPlayers(game, players);
  }
  HeadlessFrontEnd ui;
  Game game;
};

// Every rule-kept invariant of a position between turns; empty when all hold.
std::string BrokenInvariant(const GameState& state) {
  for (int p = 0; p < kPropertyCount; ++p) {
    const Property& property = state.properties[p];
    if (property.owner < kNobody || property.owner >= state.playerCount) {
      return "owner of " + std::to_string(p);
    }
    if (property.owner != kNobody && state.players[property.owner].isBankrupt != 0) {
      return "bankrupt player owns " + std::to_string(p);
    }
    if (property.houses < 0 || property.houses > kHotel) return "houses on " + std::to_string(p);
    if (property.houses > 0 && p >= kStreetCount) return "houses off the streets";
  }
  // Houses only on complete, unmortgaged groups, built evenly.
  for (int first = 0; first < kStreetCount;) {
    int last = first;
    while (last + 1 < kStreetCount &&
           state.properties[last + 1].group == state.properties[first].group) {
      ++last;
    }
    int most = 0;
    int fewest = kHotel;
    bool complete = true;
    bool mortgaged = false;
    for (int p = first; p <= last; ++p) {
      const Property& street = state.properties[p];
      most = std::max<int>(most, street.houses);
      fewest = std::min<int>(fewest, street.houses);
      complete =
          complete && street.owner != kNobody && street.owner == state.properties[first].owner;
      mortgaged = mortgaged || street.mortgaged != 0;
    }
    if (most > 0 && (!complete || mortgaged))
      return "houses in group from " + std::to_string(first);
    if (most - fewest > 1) return "uneven houses in group from " + std::to_string(first);
    first = last + 1;
  }
  for (int i = 0; i < state.playerCount; ++i) {
    const Player& player = state.players[i];
    if (player.position < 0 || player.position >= kSquareCount) return "position";
    // Each list shows exactly the player's properties, in ascending order.
    std::vector<int> owned;
    for (int p = 0; p < kPropertyCount; ++p) {
      if (state.properties[p].owner == i) owned.push_back(p);
    }
    if (state.propertyLists[i].items != owned) {
      std::string shown;
      for (int p : state.propertyLists[i].items) shown += " " + std::to_string(p);
      std::string held;
      for (int p : owned) held += " " + std::to_string(p);
      return "property list of " + std::to_string(i) + ":" + shown + " / owns:" + held;
    }
  }
  int left = 0;
  for (int i = 0; i < state.playerCount; ++i) left += state.players[i].isBankrupt == 0 ? 1 : 0;
  if (state.turnPhase == TurnPhase::GameOver) {
    if (left != 1) return "game over with " + std::to_string(left) + " players left";
  } else if (state.players[state.currentPlayer].isBankrupt != 0) {
    return "a bankrupt player on turn";
  }
  return {};
}

TEST(HeadlessGames, ThousandSeededGamesKeepTheRulesInvariants) {
  auto start = std::chrono::steady_clock::now();
  int finished = 0;
  long turns = 0;
  for (int i = 0; i < kGames; ++i) {
    ComputerTable table(SeriesSeed(2024, i));
    // Checked every 25 turns and at the end.
    HeadlessFrontEnd::RunResult result = HeadlessFrontEnd::RunResult::TurnLimit;
    for (int played = 0; played < kTurnCap && result == HeadlessFrontEnd::RunResult::TurnLimit;
         played += 25) {
      result = table.ui.Run(25);
      std::string broken = BrokenInvariant(table.game.state);
      ASSERT_EQ(broken, "") << "game " << i << " after " << table.ui.stats().turns << " turns";
    }
    ASSERT_NE(result, HeadlessFrontEnd::RunResult::Stalled) << "game " << i;
    finished += result == HeadlessFrontEnd::RunResult::GameOver ? 1 : 0;
    turns += table.ui.stats().turns;
  }
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RecordProperty("finished", finished);
  RecordProperty("turns", static_cast<int>(turns));
  RecordProperty("seconds", std::to_string(seconds));
  EXPECT_GT(finished, kGames / 2);  // most games end within the cap
}

TEST(HeadlessGames, ASeedGivesAFixedGame) {
  auto play = [](std::uint64_t seed) {
    ComputerTable table(seed);
    auto result = table.ui.Run(5000);
    EXPECT_EQ(result, HeadlessFrontEnd::RunResult::GameOver);
    int winner = -1;
    for (int i = 0; i < kPlayers; ++i) {
      if (table.game.state.players[i].isBankrupt == 0) winner = i;
    }
    return std::vector<int>{winner, table.ui.stats().turns, table.ui.stats().bankruptcies,
                            table.ui.stats().housesBuilt, table.ui.stats().deals};
  };
  std::vector<int> first = play(SeriesSeed(1, 0));
  EXPECT_EQ(first, play(SeriesSeed(1, 0)));
  // Winner seat, turns, bankruptcies, houses built, deals.
  EXPECT_EQ(first, (std::vector<int>{2, 152, 3, 57, 14}));
}

TEST(HeadlessGames, RunStopsAtATurnBoundaryAndZeroTurnsChangeNothing) {
  ComputerTable table(5);
  table.game.Roll();  // as a load or a new game with a computer on turn would
  GameState before = table.game.state;
  EXPECT_EQ(table.ui.Run(0), HeadlessFrontEnd::RunResult::TurnLimit);
  EXPECT_FALSE(table.ui.dicePending());
  EXPECT_EQ(table.game.state.turnPhase, TurnPhase::AwaitRoll);
  EXPECT_EQ(table.game.state.players, before.players);
  EXPECT_EQ(table.game.state.properties, before.properties);

  EXPECT_EQ(table.ui.Run(3), HeadlessFrontEnd::RunResult::TurnLimit);
  EXPECT_EQ(table.ui.stats().turns, 3);
  EXPECT_EQ(table.game.state.turnPhase, TurnPhase::AwaitRoll);
  EXPECT_FALSE(table.ui.dicePending());
  EXPECT_FALSE(table.ui.walkPending());
}

// Changes the records in the middle of a tick, as the rules do during a turn.
struct RiggedFrontEnd : HeadlessFrontEnd {
  std::function<void()> during;
  void DiceChanged() override {
    if (during) during();
    during = nullptr;
  }
};

TEST(HeadlessGames, CountsDealsHousesBankruptciesAndTurnsFromTheRecords) {
  RiggedFrontEnd ui;
  Game game(turn_test::TestCatalogue(), ui, 9);
  ui.Attach(game);
  SeatComputerPlayers(game, 3);
  GameState& state = game.state;
  state.properties[0].owner = 0;
  state.properties[1].owner = 1;
  state.properties[5].owner = 2;
  state.properties[2].houses = 1;
  ui.during = [&] {
    std::swap(state.properties[0].owner, state.properties[1].owner);  // an exchange
    state.properties[5].owner = 0;                                    // a sale
    state.properties[6].owner = 1;                                    // from the bank
    state.properties[2].houses = 2;
    state.properties[3].houses = 2;
    state.properties[4].houses = 0;
    state.players[2].isBankrupt = 1;
    state.currentPlayer = 1;
  };
  game.Roll();
  ASSERT_TRUE(ui.Tick());
  EXPECT_EQ(ui.stats().deals, 2);
  EXPECT_EQ(ui.stats().housesBuilt, 3);
  EXPECT_EQ(ui.stats().bankruptcies, 1);
  EXPECT_EQ(ui.stats().turns, 1);
}

}  // namespace
}  // namespace tomtura
