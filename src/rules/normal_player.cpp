// The Normal computer player, the computer player's own rules: its answers to the questions a
// person answers in a dialog (buy the square landed on, pay the jail fine, accept a deal, raise
// a bid). All compare kronor against prices; during a person's turn their factors vary a little
// (Jitter).
#include "rules/normal_player.h"

#include <string>
#include <vector>

#include "data/property_rules.h"
#include "rules/game.h"

namespace tomtura {

namespace {

constexpr int kJitterSpread = 5;  // r = 0..4 gives -0.2 .. +0.2
constexpr double kJitterStep = 0.1;
constexpr int kBuyMargin = 2000;           // buys anything with this much left over
constexpr int kWealthyLiquidation = 5000;  // below it a computer sells more cheaply
constexpr int kSmallRaise = 100;
constexpr int kLargeRaise = 250;

bool ValidProperty(int p) {
  return p >= 0 && p < kPropertyCount;
}

// Entries of p's colour group (the fixed group scan) whose owner is not `player`.
int GroupEntriesNotOwnedBy(const PropertyTable& table, int p, int player) {
  int count = 0;
  for (int q : GroupScan(table, p)) {
    if (table[q].owner != player) ++count;
  }
  return count;
}

}  // namespace

double Jitter(Game& game, int x) {
  if (!IsPersonHere(game.state.current())) return x;
  const int r = game.rng.Rand() % kJitterSpread;
  return x + (r - 2) * kJitterStep;
}

namespace {

class Normal : public ComputerMind {
 public:
  bool Buys(Game& game, int p) const override;
  bool PaysBail(Game& game) const override;
  bool Accepts(Game& game, int asked, int moneyReceived, int propertyGiven, int propertyReceived,
               const PropertyTable& table) const override;
  int AuctionRaise(Game& game, int bidder, int bid, int p) const override;
};

}  // namespace

bool Normal::Buys(Game& game, int p) const {
  const GameState& state = game.state;
  if (!ValidProperty(p)) return false;
  const int player = state.currentPlayer;
  const int price = state.properties[p].price;
  if (state.current().money > price + kBuyMargin) return true;
  const int k = CountCompleteGroups(player, state.properties) > 0 ? 2 : 1;
  if (LiquidationValue(player, state.properties, state.players) <= k * price) return false;
  // Only a street that completes a colour group is worth going short for.
  return GroupEntriesNotOwnedBy(state.properties, p, player) == 1;
}

bool Normal::PaysBail(Game& game) const {
  const GameState& state = game.state;
  const Player& me = state.current();
  return me.money >= (me.jailTurns + 2) * kBail;
}

bool Normal::Accepts(Game& game, int asked, int moneyReceived, int propertyGiven,
                     int propertyReceived, const PropertyTable& table) const {
  const GameState& state = game.state;
  if (asked < 0 || asked >= kMaxPlayers) return false;
  const int given = ValidProperty(propertyGiven) ? propertyGiven : kNobody;
  const int received = ValidProperty(propertyReceived) ? propertyReceived : kNobody;
  const Player& me = state.players[asked];
  const int liquidation = LiquidationValue(asked, state.properties, state.players);
  bool accept = false;

  // The side of the deal on which it receives a property.
  if (received != kNobody) {
    const int pays = -moneyReceived;
    const int price = table[received].price;
    if (liquidation > pays && Jitter(game, 2) * price >= pays) {
      if (GroupEntriesNotOwnedBy(table, received, asked) == 1) {
        accept = true;
      } else if (me.money > pays) {
        const double divisor = table[received].mortgaged ? Jitter(game, 2) : Jitter(game, 1);
        if (pays < price / divisor) accept = true;
      }
    }
  }

  // The side on which it hands a property over.
  if (given != kNobody) {
    const int givenPrice = table[given].price;
    const bool givenMortgaged = table[given].mortgaged != 0;
    int worth = moneyReceived;
    if (received != kNobody) {
      const double factor = Jitter(game, 3);
      worth = static_cast<int>(factor * table[received].price / Jitter(game, 2) + moneyReceived);
    }
    bool refuse = false;
    if (!accept && received != kNobody) refuse = true;
    if (!refuse && !accept && received == kNobody && liquidation >= kWealthyLiquidation &&
        worth <= 2 * givenPrice) {
      refuse = true;
    }
    if (!refuse) {
      const double f = liquidation < kWealthyLiquidation ? Jitter(game, 2) : Jitter(game, 3);
      const double base = givenMortgaged ? givenPrice / 4 : givenPrice / Jitter(game, 2);
      if (worth < base * f) refuse = true;
    }
    if (!refuse) {
      // It keeps what completes, or nearly completes, a group of its own.
      const int othersOfOwner = GroupEntriesNotOwnedBy(table, given, table[given].owner);
      if (othersOfOwner <= 1) {
        refuse = true;
      } else if (received != kNobody) {
        accept = true;
      } else if (GroupEntriesNotOwnedBy(table, given, state.currentPlayer) != 1) {
        accept = true;
      } else {
        // The sale would complete the asker's group: it wants more for that.
        const double f2 = liquidation < kWealthyLiquidation ? Jitter(game, 3) : Jitter(game, 5);
        const double base2 =
            givenMortgaged ? givenPrice / Jitter(game, 3) : givenPrice / Jitter(game, 2);
        accept = worth >= base2 * f2;
      }
    }
    if (refuse) accept = false;
  }
  return accept;
}

int Normal::AuctionRaise(Game& game, int bidder, int bid, int p) const {
  const GameState& state = game.state;
  if (!ValidProperty(p) || bidder < 0 || bidder >= kMaxPlayers) return 0;
  const PropertyTable& table = state.properties;
  const int group = table[p].group;
  const int price = table[p].price;
  const int money = state.players[bidder].money;

  // The run of equal groups around p, stations and utilities included.
  int first = p;
  while (first > 0 && table[first - 1].group == group) --first;
  int others = 0;
  for (int q = first; q < kPropertyCount && table[q].group == group; ++q) {
    if (table[q].owner != bidder) ++others;
  }

  // The most it bids, drawn anew for every use, the factors in the order written.
  auto completingLimit = [&] {
    const double divisor = Jitter(game, 2);
    return price / divisor * Jitter(game, 5);
  };
  auto ordinaryLimit = [&] {
    const double factor = Jitter(game, 3);
    return factor * price / Jitter(game, 2);
  };

  if (bid < price && money > price) return price - bid;
  const int next = bid + kLargeRaise;
  if (next < price / 2) return kLargeRaise;

  if (others == 1 && group < kStationGroup) {
    // The last street of a colour group: worth up to several times its price.
    if (money <= next) {
      if (CountCompleteGroups(bidder, table) > 0) return 0;
      if (LiquidationValue(bidder, table, state.players) < next) return 0;
    }
    if (completingLimit() < bid) return 0;
    return completingLimit() - bid >= kLargeRaise ? kLargeRaise : kSmallRaise;
  }

  if (money <= next) return 0;
  if (ordinaryLimit() < bid) return 0;
  return ordinaryLimit() - bid >= kLargeRaise ? kLargeRaise : kSmallRaise;
}

const ComputerMind& NormalMind() {
  static const Normal normal;
  return normal;
}

}  // namespace tomtura
