// Outcomes: which ones fit a game, and what each adds to the history of the game: a player's
// money, worth and tallies, and the points of the turns.
#include "data/game_history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace tomtura {
namespace {

// Two players with 1000 each. Player 0 owns street 0 (one house) and street 1; player 1 owns
// street 5, mortgaged. Prices 2000, houses 1001 (half of it rounds down).
struct Table {
  Table() {
    state.playerCount = 2;
    for (Player& player : state.players) player.money = 1000;
    for (int p = 0; p < kPropertyCount; ++p) {
      state.properties[p].price = p >= kBoardPropertyCount ? 0 : 2000;
      state.properties[p].housePrice = 1001;
    }
    state.properties[0].owner = state.properties[1].owner = 0;
    state.properties[0].houses = 1;
    state.properties[5].owner = 1;
    state.properties[5].mortgaged = 1;
    history.Begin(state, HistoryStart::NewGame);
  }
  void Apply(const Outcome& outcome) {
    const Holdings live{state.players, state.properties, state.playerCount};
    ASSERT_EQ(CheckOutcome(live, outcome), "") << DescribeOutcome(outcome);
    ApplyOutcome(live, outcome);
    history.Note(outcome, state);
  }
  GameState state;
  GameHistory history;
};

TEST(GameHistory, EachOutcomeMovesMoneyWorthBankAndTallies) {
  using Field = std::int64_t PlayerTally::*;
  struct Case {
    Outcome outcome;
    std::int64_t cash0, worth0, cash1, worth1;  // changes of player 0 and player 1
    std::int64_t bankPaid, bankTook;
    Field field;  // a tally of player `who` and its value
    int who;
    std::int64_t tally;
  };
  // clang-format off
  const Case cases[] = {
      // outcome                                         cash0  worth0  cash1  worth1  paid  took  tally
      {{Purchase{0, 3, 2000, false}},                    -2000,      0,     0,      0,    0, 2000, &PlayerTally::bought, 0, 1},
      {{Purchase{1, 3, 700, true}},                          0,      0,  -700,   1300,    0,  700, &PlayerTally::bought, 1, 1},
      {{Deal{0, 1, 300, PropertyBit(5), PropertyBit(1), DealSource::Computer}},
                                                          -300,  -1300,   300,   1300,    0,    0, &PlayerTally::deals, 1, 1},
      {{Payment{0, 1, 400, PaymentReason::Rent}},          -400,   -400,   400,    400,    0,    0, &PlayerTally::rentReceived, 1, 400},
      {{Payment{0, 1, 400, PaymentReason::Rent}},          -400,   -400,   400,    400,    0,    0, &PlayerTally::rentPaid, 0, 400},
      {{Payment{kBank, 0, 4000, PaymentReason::Salary}},   4000,   4000,     0,      0, 4000,    0, &PlayerTally::salary, 0, 4000},
      {{Payment{1, kBank, 200, PaymentReason::Tax}},          0,      0,  -200,   -200,    0,  200, &PlayerTally::taxes, 1, 200},
      {{Payment{kBank, 1, 150, PaymentReason::Card}},         0,      0,   150,    150,  150,    0, &PlayerTally::cards, 1, 150},
      {{Payment{0, 1, 50, PaymentReason::Gift}},            -50,    -50,    50,     50,    0,    0, &PlayerTally::cards, 0, -50},
      {{Repairs{0, 1, 0, 250}},                            -250,   -250,     0,      0,    0,  250, &PlayerTally::cards, 0, -250},
      {{Payment{0, kBank, 1000, PaymentReason::Bail}},    -1000,  -1000,     0,      0,    0, 1000, &PlayerTally::bailAndFees, 0, 1000},
      {{Payment{1, kBank, 30, PaymentReason::Charges}},       0,      0,   -30,    -30,    0,   30, &PlayerTally::bailAndFees, 1, 30},
      {{Mortgage{0, 1, false}},                            1000,      0,     0,      0, 1000,    0, &PlayerTally::mortgages, 0, 1},
      {{Mortgage{1, 5, true}},                                0,      0, -1100,   -100,    0, 1100, &PlayerTally::mortgagesLifted, 1, 1},
      {{Houses{0, 0, 2, DealSource::PlayWindow}},         -2002,      0,     0,      0,    0, 2002, &PlayerTally::housesBought, 0, 2},
      {{Houses{0, 0, -1, DealSource::PlayWindow}},          500,   -501,     0,      0,  500,    0, &PlayerTally::housesSold, 0, 1},
      {{Bankruptcy{1}},                                       0,      0,     0,  -1000,    0,    0, &PlayerTally::bankruptciesCaused, 0, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    Table t;
    const TurnPoint before = t.history.current();
    t.Apply(c.outcome);
    const TurnPoint& after = t.history.current();
    const std::string what = DescribeOutcome(c.outcome);
    EXPECT_EQ(after.cash[0] - before.cash[0], c.cash0) << what;
    EXPECT_EQ(after.worth[0] - before.worth[0], c.worth0) << what;
    EXPECT_EQ(after.cash[1] - before.cash[1], c.cash1) << what;
    EXPECT_EQ(after.worth[1] - before.worth[1], c.worth1) << what;
    EXPECT_EQ(after.bankPaid, c.bankPaid) << what;
    EXPECT_EQ(after.bankTook, c.bankTook) << what;
    EXPECT_EQ(t.history.tallies()[c.who].*c.field, c.tally) << what;
  }
}

// A turn's point holds the standing and the bank's sums of that turn only; a player who owes
// money when he goes bankrupt is the bankruptcy of the one he owes, not of the bank; a turn
// begun in jail is counted.
TEST(GameHistory, TurnsJailAndTheBankruptcyOfADebtor) {
  Table t;
  t.Apply({Payment{kBank, 0, 4000, PaymentReason::Salary}});
  t.state.currentPlayer = 1;
  t.state.players[1].jailTurns = 4;
  t.history.TurnPassed(t.state, 0);
  t.Apply({Payment{1, kBank, 100, PaymentReason::Tax}});
  t.Apply({Payment{1, 0, 1500, PaymentReason::Rent}});  // 900 short, owed to player 0
  t.Apply({Bankruptcy{1}});
  t.state.turnPhase = TurnPhase::GameOver;
  t.history.Finished(t.state);

  const auto& points = t.history.points();
  ASSERT_EQ(points.size(), 3u);
  std::vector<std::pair<int, int>> turns;  // each point's turn and the player whose it was
  for (const TurnPoint& point : points) turns.emplace_back(point.turn, point.player);
  EXPECT_EQ(turns, (std::vector<std::pair<int, int>>{{0, kNobody}, {1, 0}, {2, 1}}));
  // Paid, took, and the cash and worth of the player who ended the turn: the bankrupt's street
  // went back to the bank.
  EXPECT_EQ(std::tuple(points[1].bankPaid, points[1].bankTook, points[1].cash[0]),
            std::tuple(4000, 0, 5000));
  EXPECT_EQ(
      std::tuple(points[2].bankPaid, points[2].bankTook, points[2].cash[1], points[2].worth[1]),
      std::tuple(0, 100, -600, -600));
  EXPECT_EQ(t.history.tallies()[1].jailTurns, 1);
  EXPECT_EQ(t.history.tallies()[0].bankruptciesCaused, 1);

  // Owing the bank instead: nobody caused it.
  Table u;
  u.Apply({Payment{1, kBank, 1500, PaymentReason::Tax}});
  u.Apply({Bankruptcy{1}});
  EXPECT_EQ(u.history.tallies()[0].bankruptciesCaused, 0);
}

// Which outcomes fit a game.
TEST(Outcome, ChecksRefuseWhatDoesNotFitTheGame) {
  const int kMax = std::numeric_limits<std::int32_t>::max();
  const std::pair<Outcome, bool> cases[] = {
      // an outcome, and whether it fits
      {{Purchase{0, 3, 2000, false}}, true},
      {{Purchase{0, 3, 1500, false}}, false},            // not the price of the offer
      {{Purchase{0, 3, 1500, true}}, true},              // any bid at auction
      {{Purchase{2, 3, 2000, false}}, false},            // bankrupt
      {{Purchase{0, 5, 2000, false}}, false},            // not the bank's
      {{Purchase{0, kChanceJailCard, 0, true}}, false},  // not on the board
      {{Deal{0, 1, 500, PropertyBit(5), PropertyBit(1), DealSource::Computer}}, true},
      {{Deal{0, 1, 500, PropertyBit(1), 0, DealSource::Computer}}, false},  // his own
      {{Deal{0, 0, 500, 0, 0, DealSource::Computer}}, false},
      {{Deal{0, 2, 500, 0, 0, DealSource::Computer}}, false},
      {{Deal{0, 1, 0, 1u << 31, 0, DealSource::Computer}}, false},  // no such property
      {{Payment{0, 1, 300, PaymentReason::Rent}}, true},
      {{Payment{kBank, 0, 4000, PaymentReason::Salary}}, true},
      {{Payment{0, 1, -1, PaymentReason::Card}}, false},
      {{Payment{0, 2, 300, PaymentReason::Gift}}, false},
      {{Payment{kBank, 0, kMax, PaymentReason::Card}}, false},  // beyond what a record holds
      {{Mortgage{0, 1, false}}, true},
      {{Mortgage{0, 0, false}}, false},  // houses on it
      {{Mortgage{0, 1, true}}, false},   // not mortgaged
      {{Mortgage{1, 5, true}}, true},
      {{Mortgage{0, 5, true}}, false},  // not his
      {{Houses{0, 0, 4, DealSource::Computer}}, true},
      {{Houses{0, 0, 5, DealSource::Computer}}, false},  // beyond the hotel
      {{Houses{0, 0, -2, DealSource::Computer}}, false},
      {{Houses{1, 5, 1, DealSource::Computer}}, false},  // mortgaged
      {{Houses{0, 0, 0, DealSource::Computer}}, false},
      {{JailCard{1, kCommunityJailCard, false}}, true},
      {{JailCard{1, kChanceJailCard, false}}, false},  // player 0 holds it
      {{JailCard{0, kChanceJailCard, true}}, true},
      {{JailCard{0, 7, true}}, false},
      {{Bankruptcy{2}}, false},
      {{PlayerGone{3, LeaveReason::ConnectionLost}}, false},
  };
  Table t;  // with a third player, bankrupt, and player 0 holding the chance jail card
  t.state.playerCount = 3;
  t.state.players[2].isBankrupt = 1;
  t.state.properties[kChanceJailCard].owner = 0;
  const Holdings holdings{t.state.players, t.state.properties, t.state.playerCount};
  for (const auto& [outcome, fits] : cases) {
    EXPECT_EQ(CheckOutcome(holdings, outcome).empty(), fits) << DescribeOutcome(outcome);
  }
}

}  // namespace
}  // namespace tomtura
