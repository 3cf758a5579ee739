// Outcomes: which ones fit a game. What applying one changes is told by the history it leaves
// (game_history_test.cpp).
#include "data/outcome.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tomtura {
namespace {

// Three players; player 2 is bankrupt. Player 0 owns streets 0 (one house) and 1, and the
// chance jail card; player 1 owns street 5, mortgaged; the rest is the bank's.
struct Table {
  Table() {
    state.playerCount = 3;
    for (Player& player : state.players) player.money = 1000;
    state.players[2].isBankrupt = 1;
    for (int p = 0; p < kPropertyCount; ++p) {
      state.properties[p].price = 2000;
      state.properties[p].housePrice = 1001;  // an odd price: half of it rounds down
    }
    state.properties[0].owner = state.properties[1].owner = 0;
    state.properties[0].houses = 1;
    state.properties[kChanceJailCard].owner = 0;
    state.properties[5].owner = 1;
    state.properties[5].mortgaged = 1;
  }
  Holdings holdings() { return {state.players, state.properties, state.playerCount}; }
  GameState state;
};

TEST(Outcome, ChecksRefuseWhatDoesNotFitTheGame) {
  const int kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    Outcome outcome;
    bool fits;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    Table t;
    EXPECT_EQ(CheckOutcome(t.holdings(), c.outcome).empty(), c.fits) << DescribeOutcome(c.outcome);
  }
}

}  // namespace
}  // namespace tomtura
