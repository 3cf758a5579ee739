// The Hard computer player's answers.
#include "rules/hard_player.h"

#include <algorithm>

#include "data/estate_value.h"
#include "data/property_rules.h"
#include "rules/game.h"
#include "trade/hard_standing.h"

namespace tomtura {

namespace {

// A deal must bring Hard this much more than it brings the partner, as HardDealGain weighs it.
constexpr double kAcceptMargin = 500;
// Bail: paid while this many properties are still the bank's to buy, or while the rent a
// throw from the jail may cost is below kCalmRent.
constexpr int kUnownedForBail = 6;
constexpr double kCalmRent = 150;
// Auction limits, in prices of the property.
constexpr double kCompletingBidFactor = 3.0;
constexpr double kBlockingBidFactor = 2.0;
constexpr double kPlainBidFactor = 1.0;
constexpr int kBidStep = 100;
constexpr int kLeastThrow = 2;
constexpr int kMostThrow = 12;

class Hard : public ComputerMind {
 public:
  bool Buys(Game& game, int p) const override {
    if (p < 0 || p >= kPropertyCount) return false;
    const GameState& state = game.state;
    const int me = state.currentPlayer;
    const int price = state.properties[p].price;
    // Whatever it can pay for, if need be by mortgages and sales at its next turn, while the
    // rent it may meet is still covered.
    const int reserve = HardReserve(state.properties, state.players, me);
    return LiquidationValue(me, state.properties, state.players) - price >= reserve;
  }

  bool PaysBail(Game& game) const override {
    const GameState& state = game.state;
    const Player& me = state.current();
    if (me.money < kBail) return false;
    int unowned = 0;
    for (int p = 0; p < kBoardPropertyCount; ++p) unowned += state.properties[p].owner == kNobody;
    if (unowned >= kUnownedForBail) return true;
    // Later on the jail is a shelter while the rents ahead of it are high.
    double risk = 0;
    for (int sum = kLeastThrow; sum <= kMostThrow; ++sum) {
      const int p = kBoardLayout[(kJailSquare + sum) % kSquareCount];
      if (p < 0) continue;
      const Property& property = state.properties[p];
      if (property.owner == kNobody || property.owner == state.currentPlayer) continue;
      if (property.mortgaged != 0) continue;
      risk += ThrowOdds(sum) * RentWith(state.properties, p, property.houses);
    }
    return risk < kCalmRent;
  }

  bool Accepts(Game& game, int asked, int moneyReceived, int propertyGiven, int propertyReceived,
               const PropertyTable& table) const override {
    const GameState& state = game.state;
    if (asked < 0 || asked >= kMaxPlayers) return false;
    const int partner = state.currentPlayer;
    if (partner == asked || partner < 0 || partner >= kMaxPlayers) return false;
    if (moneyReceived < 0 && state.players[asked].money < -moneyReceived) return false;
    const int given = propertyGiven >= 0 && propertyGiven < kPropertyCount ? propertyGiven : -1;
    const int received =
        propertyReceived >= 0 && propertyReceived < kPropertyCount ? propertyReceived : -1;
    // The standing is reckoned on the deal's own table (the play window's copies, or the
    // live one) with the live players.
    return HardDealGain(table, state.players, state.playerCount, asked, partner, moneyReceived,
                        given, received) > kAcceptMargin;
  }

  int AuctionRaise(Game& game, int bidder, int bid, int p) const override {
    const GameState& state = game.state;
    if (p < 0 || p >= kPropertyCount || bidder < 0 || bidder >= kMaxPlayers) return 0;
    const int price = state.properties[p].price;
    double factor = kPlainBidFactor;
    if (FinishesGroup(state.properties, p, bidder)) {
      factor = kCompletingBidFactor;
    } else if (Blocks(state, p, bidder)) {
      factor = kBlockingBidFactor;
    }
    const int reserve = HardReserve(state.properties, state.players, bidder);
    int limit = static_cast<int>(factor * price);
    const int money = state.players[bidder].money;
    const int room = factor > kPlainBidFactor
                         ? LiquidationValue(bidder, state.properties, state.players) - reserve
                         : money - reserve;
    limit = std::min(limit, room);
    if (bid + kBidStep > limit) return 0;
    return kBidStep;
  }

 private:
  // p would finish a rival's group.
  static bool Blocks(const GameState& state, int p, int me) {
    for (int n = 0; n < state.playerCount && n < kMaxPlayers; ++n) {
      if (n == me || state.players[n].isBankrupt != 0) continue;
      if (FinishesGroup(state.properties, p, n)) return true;
    }
    return false;
  }
};

}  // namespace

const ComputerMind& HardMind() {
  static const Hard mind;
  return mind;
}

}  // namespace tomtura
