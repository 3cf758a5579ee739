// The Easy computer player: a beginner's game. It keeps a large sum in hand and so lets
// streets go, always pays its way out of jail, judges every deal by the printed prices alone
// (it sells the street that finishes another player's group as soon as it is offered more than
// the price, and offers no more than the price and a tenth for a street it lacks), bids no more
// than the price, and builds one house a turn at most, on its cheapest group first.
#include "rules/easy_player.h"

#include "data/property_rules.h"
#include "rules/game.h"

namespace tomtura {

namespace {

// What Easy keeps in hand when it buys or bids.
constexpr int kEasyCushion = 5000;
constexpr int kBidStep = 100;

class Easy : public ComputerMind {
 public:
  bool Buys(Game& game, int p) const override {
    if (p < 0 || p >= kPropertyCount) return false;
    return game.state.current().money - game.state.properties[p].price >= kEasyCushion;
  }

  bool PaysBail(Game& game) const override { return game.state.current().money >= kBail; }

  bool Accepts(Game& game, int asked, int moneyReceived, int propertyGiven, int propertyReceived,
               const PropertyTable& table) const override {
    if (asked < 0 || asked >= kMaxPlayers) return false;
    const bool gives = propertyGiven >= 0 && propertyGiven < kPropertyCount;
    const bool receives = propertyReceived >= 0 && propertyReceived < kPropertyCount;
    if (moneyReceived < 0 && game.state.players[asked].money < -moneyReceived) return false;
    // Printed prices against money, nothing else.
    const int got = moneyReceived + (receives ? table[propertyReceived].price : 0);
    const int lost = gives ? table[propertyGiven].price : 0;
    return got > lost;
  }

  int AuctionRaise(Game& game, int bidder, int bid, int p) const override {
    if (p < 0 || p >= kPropertyCount || bidder < 0 || bidder >= kMaxPlayers) return 0;
    const int next = bid + kBidStep;
    if (next > game.state.properties[p].price) return 0;
    if (game.state.players[bidder].money - next < kEasyCushion) return 0;
    return kBidStep;
  }
};

}  // namespace

const ComputerMind& EasyMind() {
  static const Easy mind;
  return mind;
}

}  // namespace tomtura
