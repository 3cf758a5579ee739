// The Hard computer player's answers and its measure of a player's standing.
#include "rules/hard_player.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "data/property_rules.h"
#include "rules/estate_value.h"
#include "rules/game.h"
#include "trade/hard_deals.h"

namespace tomtura {

namespace {

// Throws of each rival over which the standing counts the rent of holdings.
constexpr double kHorizonThrows = 45;
// What a part of an unfinished colour group carries of the group's worth when whole, before
// it is scaled down by the share held; halved when another player holds a part too.
constexpr double kUnfinishedShare = 0.35;
// Money the standing leaves unspent when it reckons the houses a player can build.
constexpr int kBuildCushion = 2000;
constexpr int kMostPlannedHouses = kHotel;
// A deal must bring Hard this much more than it brings the partner.
constexpr double kAcceptMargin = 500;
// Bail: paid while this many properties are still the bank's to buy, or the rent a throw from
// the jail may cost is below kCalmRent.
constexpr int kUnownedForBail = 6;
constexpr double kCalmRent = 150;
// Auction limits, in prices of the property.
constexpr double kCompletingBidFactor = 3.0;
constexpr double kBlockingBidFactor = 2.0;
constexpr double kPlainBidFactor = 1.0;
constexpr int kBidStep = 100;

int Rivals(const PlayerTable& players, int playerCount, int player) {
  int rivals = 0;
  for (int n = 0; n < playerCount && n < kMaxPlayers; ++n) {
    if (n != player && players[n].isBankrupt == 0) ++rivals;
  }
  return std::max(rivals, 1);
}

// A colour group's entries and what `player` holds of it.
struct GroupHolding {
  int first = 0;
  int last = 0;
  int held = 0;       // entries of `player`
  int others = 0;     // entries of other players
  bool mortgaged = false;
  int size() const { return last - first + 1; }
  bool whole() const { return held == size(); }
};

GroupHolding HoldingOf(const PropertyTable& table, int p, int player) {
  GroupHolding g;
  std::tie(g.first, g.last) = GroupRunOf(table, p);
  for (int q = g.first; q <= g.last; ++q) {
    if (table[q].owner == player) {
      ++g.held;
      g.mortgaged = g.mortgaged || table[q].mortgaged != 0;
    } else if (table[q].owner != kNobody) {
      ++g.others;
    }
  }
  return g;
}

// Rent per throw of a whole group with `level` houses on each entry (at least those it has).
double GroupRate(const PropertyTable& table, const GroupHolding& g, int level) {
  double rate = 0;
  for (int q = g.first; q <= g.last; ++q) {
    rate += PropertyOdds(q) * RentWith(table, q, std::max<int>(level, table[q].houses));
  }
  return rate;
}

}  // namespace

double HardStanding(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player) {
  if (player < 0 || player >= kMaxPlayers) return 0;
  const double horizon = kHorizonThrows * Rivals(players, playerCount, player);
  double standing = LiquidationValue(player, table, players);
  double budget = std::max(0, players[player].money - kBuildCushion);

  // Whole groups: their rent with the houses the budget builds, best return first.
  struct Whole {
    GroupHolding g;
    int level;
  };
  std::vector<Whole> wholes;
  std::array<bool, kPropertyCount> counted{};
  for (int p = 0; p < kStreetCount; ++p) {
    if (counted[p] || table[p].owner != player) continue;
    const GroupHolding g = HoldingOf(table, p, player);
    for (int q = g.first; q <= g.last; ++q) counted[q] = true;
    if (g.whole()) {
      int level = kHotel;
      for (int q = g.first; q <= g.last; ++q) level = std::min<int>(level, table[q].houses);
      wholes.push_back({g, level});
      continue;
    }
    // An unfinished group: a share of what it would be worth whole, by the part held.
    const double share = static_cast<double>(g.held) / g.size();
    double whole = 0;
    for (int q = g.first; q <= g.last; ++q) whole += PropertyOdds(q) * table[q].rent[3];
    const double cost = 3.0 * g.size() * table[p].housePrice;
    const double worth = std::max(0.0, horizon * whole - cost);
    standing += worth * kUnfinishedShare * share * share * (g.others > 0 ? 0.5 : 1.0);
  }
  for (;;) {
    Whole* best = nullptr;
    double bestGain = 0;
    for (Whole& w : wholes) {
      if (w.level >= kMostPlannedHouses || w.g.mortgaged) continue;
      const double cost = static_cast<double>(w.g.size()) * table[w.g.first].housePrice;
      if (cost > budget) continue;
      const double gain = horizon * (GroupRate(table, w.g, w.level + 1) - GroupRate(table, w.g, w.level));
      // A house is worth building when its rent outweighs what it loses at the bank.
      if (gain <= cost / 2) continue;
      if (best == nullptr || gain / cost > bestGain) {
        best = &w;
        bestGain = gain / cost;
      }
    }
    if (best == nullptr) break;
    const double cost = static_cast<double>(best->g.size()) * table[best->g.first].housePrice;
    budget -= cost;
    standing -= cost / 2;
    ++best->level;
  }

  double rate = 0;
  for (const Whole& w : wholes) rate += GroupRate(table, w.g, w.level) * (w.g.mortgaged ? 0.5 : 1);
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    if (table[p].owner != player) continue;
    if (p < kStreetCount && OwnsWholeGroup(table, p, player)) continue;
    const double r = PropertyOdds(p) * RentWith(table, p, table[p].houses);
    rate += table[p].mortgaged != 0 ? r / 2 : r;
  }
  return standing + horizon * rate;
}

double HardDealGain(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player, int partner, int moneyReceived, int given, int received) {
  PropertyTable after = table;
  PlayerTable people = players;
  people[player].money += moneyReceived;
  people[partner].money -= moneyReceived;
  if (given >= 0 && given < kPropertyCount) after[given].owner = static_cast<std::int16_t>(partner);
  if (received >= 0 && received < kPropertyCount) {
    after[received].owner = static_cast<std::int16_t>(player);
  }
  const double mine = HardStanding(after, people, playerCount, player) -
                      HardStanding(table, players, playerCount, player);
  const double theirs = HardStanding(after, people, playerCount, partner) -
                        HardStanding(table, players, playerCount, partner);
  return mine - theirs;
}

int HardReserve(const PropertyTable& table, const PlayerTable& players, int player) {
  int spare = 0;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    const Property& property = table[p];
    if (property.owner != player || property.mortgaged != 0 || property.houses > 0) continue;
    if (p < kStreetCount && OwnsWholeGroup(table, p, player)) continue;
    spare += MortgageValue(property);
  }
  return std::max(0, RentAhead(table, players, player) - spare);
}

namespace {

class Hard : public ComputerMind {
 public:
  bool Buys(Game& game, int p) const override {
    if (p < 0 || p >= kPropertyCount) return false;
    const GameState& state = game.state;
    const int me = state.currentPlayer;
    const int price = state.properties[p].price;
    const int reserve = HardReserve(state.properties, state.players, me);
    if (state.players[me].money - price >= reserve) return true;
    // Going short, to be paid by mortgages, only for a street that finishes a group or stops
    // a rival finishing one.
    if (!Strategic(state, p, me)) return false;
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
    for (int sum = 2; sum <= 12; ++sum) {
      const int p = kBoardLayout[(kJailSquare + sum) % kSquareCount];
      if (p < 0) continue;
      const Property& property = state.properties[p];
      if (property.owner == kNobody || property.owner == state.currentPlayer) continue;
      if (property.mortgaged != 0) continue;
      risk += (6 - std::abs(sum - 7)) / 36.0 * RentWith(state.properties, p, property.houses);
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
    if (CompletesFor(state.properties, p, bidder)) {
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

  void Deal(Game& game) const override { RunHardDealing(game); }

 private:
  static bool CompletesFor(const PropertyTable& table, int p, int player) {
    if (p >= kStreetCount) return false;
    const auto [first, last] = GroupRunOf(table, p);
    for (int q = first; q <= last; ++q) {
      if (q != p && table[q].owner != player) return false;
    }
    return true;
  }
  // p would finish a rival's group.
  static bool Blocks(const GameState& state, int p, int me) {
    for (int n = 0; n < state.playerCount && n < kMaxPlayers; ++n) {
      if (n == me || state.players[n].isBankrupt != 0) continue;
      if (CompletesFor(state.properties, p, n)) return true;
    }
    return false;
  }
  static bool Strategic(const GameState& state, int p, int me) {
    return CompletesFor(state.properties, p, me) || Blocks(state, p, me);
  }
};

}  // namespace

const ComputerMind& HardMind() {
  static const Hard mind;
  return mind;
}

}  // namespace tomtura
