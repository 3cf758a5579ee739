// The Hard computer player's dealing: every choice is the one that costs its standing least or
// raises it most (rules/hard_player.h); the dealing's steps apply it.
#include "trade/hard_deals.h"

#include <algorithm>
#include <cstdint>

#include "data/property_rules.h"
#include "rules/estate_value.h"
#include "rules/game.h"
#include "rules/hard_player.h"
#include "trade/deal_steps.h"

namespace tomtura {

namespace {

// Asking prices of a sale to raise money, as the computer player asks them.
constexpr int kJailCardAskingPrice = 500;
constexpr int kMortgagedDiscount = 50;
constexpr int kUnmortgagedDiscount = 100;
// An exchange pays one and a half times the difference in price, rounded up to the hundred,
// and a hundred more; a purchase five halves of the price and a hundred.
constexpr int kRoundTo = 100;
constexpr int kOfferBonus = 100;
// A deal is offered when it brings Hard this much more than it brings the partner.
constexpr double kOfferMargin = 1500;
// Mortgages outside whole groups are lifted only with this much in hand beyond the reserve.
constexpr int kLiftCushion = 5000;
// Bounds the steps of one turn's dealing; each step changes the game, so this is never reached.
constexpr int kMaxSteps = 400;

class HardDealer {
 public:
  explicit HardDealer(Game& game)
      : game_(game), state_(game.state), props_(game.state.properties), steps_(game) {
    me_ = steps_.actor();
  }

  void Run() {
    RaiseMoney();
    if (!InDebt()) {
      OfferDeals();
      Build();
      LiftSpareMortgages();
    }
    steps_.ShiftRefusals();
    steps_.WriteSummary();
  }

 private:
  Player& self() { return state_.players[me_]; }
  bool InDebt() { return self().money < 0; }
  double Standing() const {
    return HardStanding(props_, state_.players, state_.playerCount, me_);
  }
  int Reserve() const { return HardReserve(props_, state_.players, me_); }
  bool GroupHasHouses(int p) const {
    const auto [first, last] = GroupRunOf(props_, p);
    for (int q = first; q <= last; ++q) {
      if (props_[q].houses > 0) return true;
    }
    return false;
  }
  bool InWholeGroup(int p) const { return p < kStreetCount && OwnsWholeGroup(props_, p, me_); }

  // What a change costs the standing, per krona it brings in.
  template <typename Change>
  double LossPerKrona(int p, int money, Change change) {
    const double before = Standing();
    Property saved = props_[p];
    const int savedMoney = self().money;
    change(props_[p]);
    self().money += money;
    const double after = Standing();
    props_[p] = saved;
    self().money = savedMoney;
    return (before - after) / std::max(money, 1);
  }

  // ---- Raising money ----

  void RaiseMoney() {
    for (int step = 0; step < kMaxSteps && InDebt(); ++step) {
      if (MortgageLeastNeeded()) continue;
      if (SellLeastNeededHouse()) continue;
      if (!OfferASale()) break;
    }
  }

  // Mortgages the property whose rent the standing misses least; false when none is left.
  bool MortgageLeastNeeded() {
    int best = kNobody;
    double bestLoss = 0;
    for (int p = 0; p < kBoardPropertyCount; ++p) {
      if (props_[p].owner != me_ || props_[p].mortgaged != 0 || GroupHasHouses(p)) continue;
      const int value = MortgageValue(props_[p]);
      if (value <= 0) continue;
      const double loss = LossPerKrona(p, value, [](Property& q) { q.mortgaged = 1; });
      if (best == kNobody || loss < bestLoss) {
        best = p;
        bestLoss = loss;
      }
    }
    if (best == kNobody) return false;
    steps_.Mortgage(best);
    return true;
  }

  // Sells one house where the standing misses it least, evenly within the group.
  bool SellLeastNeededHouse() {
    int best = kNobody;
    double bestLoss = 0;
    for (int p = 0; p < kStreetCount; ++p) {
      if (props_[p].owner != me_ || props_[p].houses <= 0) continue;
      const auto [first, last] = GroupRunOf(props_, p);
      bool most = true;
      for (int q = first; q <= last; ++q) most = most && props_[q].houses <= props_[p].houses;
      if (!most) continue;
      const double loss =
          LossPerKrona(p, HouseRefund(props_[p]), [](Property& q) { q.houses -= 1; });
      if (best == kNobody || loss < bestLoss) {
        best = p;
        bestLoss = loss;
      }
    }
    if (best == kNobody) return false;
    steps_.SellHouse(best);
    return true;
  }

  // Offers the richest other player the property that is best sold; false when none is left
  // to offer.
  bool OfferASale() {
    int buyer = kNobody;
    for (int n = 0; n < state_.playerCount; ++n) {
      if (n == me_ || state_.players[n].isBankrupt != 0) continue;
      if (buyer == kNobody || state_.players[n].money > state_.players[buyer].money) buyer = n;
    }
    if (buyer == kNobody) return false;
    int best = kNobody;
    int bestPrice = 0;
    double bestGain = 0;
    for (int p = kPropertyCount - 1; p >= 0; --p) {
      if (props_[p].owner != me_ || state_.askedThisTurn[p] != 0 || GroupHasHouses(p)) continue;
      const int price = AskingPrice(p);
      const double gain = HardDealGain(props_, state_.players, state_.playerCount, me_, buyer,
                                       price, p, kNobody);
      if (best == kNobody || gain > bestGain) {
        best = p;
        bestPrice = price;
        bestGain = gain;
      }
    }
    if (best == kNobody) return false;
    steps_.OfferSale(best, buyer, bestPrice);
    return true;
  }

  int AskingPrice(int p) {
    const Property& property = props_[p];
    if (CountOwnedProperties(me_, props_) == 1) return -self().money;
    if (property.price == 0) return kJailCardAskingPrice;
    if (property.mortgaged != 0) return MortgageValue(property) - kMortgagedDiscount;
    return property.price - kUnmortgagedDiscount;
  }

  // ---- Deals that finish a group ----

  static int RoundUp(int amount) {
    if (amount <= 0) return -((-amount) / kRoundTo * kRoundTo);
    return (amount + kRoundTo - 1) / kRoundTo * kRoundTo;
  }

  void OfferDeals() {
    for (int p = kStreetCount - 1; p >= 0; --p) {
      const auto [first, last] = GroupRunOf(props_, p);
      if (p != last) continue;  // one pass per group
      int missing = kNobody;
      int count = 0;
      for (int q = first; q <= last; ++q) {
        if (props_[q].owner != me_) {
          missing = q;
          ++count;
        }
      }
      if (count != 1) continue;
      const int holder = props_[missing].owner;
      if (holder == kNobody || holder == me_ || state_.players[holder].isBankrupt != 0) continue;
      if (steps_.Masked(missing) || state_.askedThisTurn[missing] != 0) continue;
      if (GroupHasHouses(missing)) continue;
      OfferBestDealFor(missing, holder);
    }
  }

  void OfferBestDealFor(int q, int holder) {
    const int price = props_[q].price;
    const int money = self().money;
    int bestCounterpart = kNobody;
    int bestAmount = 5 * (price / 2) + kOfferBonus;
    double bestGain = bestAmount <= money - Reserve()
                          ? HardDealGain(props_, state_.players, state_.playerCount, me_, holder,
                                         -bestAmount, kNobody, q)
                          : -1e18;
    for (int c = 0; c < kPropertyCount; ++c) {
      if (props_[c].owner != me_ || props_[c].group == props_[q].group || GroupHasHouses(c)) {
        continue;
      }
      const int amount = RoundUp(3 * (price - props_[c].price) / 2) + kOfferBonus;
      if (amount > 0 && amount > money - Reserve()) continue;
      const double gain = HardDealGain(props_, state_.players, state_.playerCount, me_, holder,
                                       -amount, c, q);
      if (gain > bestGain) {
        bestGain = gain;
        bestCounterpart = c;
        bestAmount = amount;
      }
    }
    if (bestGain < kOfferMargin) return;
    if (bestCounterpart == kNobody) {
      steps_.OfferPurchase(q, holder, bestAmount);
    } else {
      steps_.OfferExchange(q, holder, bestCounterpart, bestAmount);
    }
  }

  // ---- Houses ----

  void Build() {
    for (int step = 0; step < kMaxSteps; ++step) {
      LiftWholeGroupMortgages();
      const int p = BestHouse();
      if (p == kNobody) return;
      const int housePrice = props_[p].housePrice;
      if (self().money - housePrice < Reserve() && !RaiseForHouse(p)) return;
      if (self().money - housePrice < Reserve()) return;
      steps_.BuildHouse(p);
    }
  }

  // Mortgages of a whole group stand in the way of its houses: lifted when the money allows.
  void LiftWholeGroupMortgages() {
    for (int p = 0; p < kStreetCount; ++p) {
      if (props_[p].owner != me_ || props_[p].mortgaged == 0 || !InWholeGroup(p)) continue;
      if (self().money - UnmortgageCost(props_[p]) < Reserve()) continue;
      steps_.LiftMortgage(p);
    }
  }

  // Rent gained per krona by bringing group [first, last] from `level` up to `target` houses.
  double Return(int first, int last, int level, int target) const {
    double gain = 0;
    double cost = 0;
    for (int q = first; q <= last; ++q) {
      const int now = props_[q].houses;
      const int then = std::max(now, target);
      gain += PropertyOdds(q) * (RentWith(props_, q, then) - RentWith(props_, q, now));
      cost += static_cast<double>(then - now) * props_[q].housePrice;
    }
    (void)level;
    return cost > 0 ? gain / cost : 0;
  }

  // The street of the whole group that best repays its houses, where the next house goes.
  int BestHouse() const {
    int best = kNobody;
    double bestReturn = 0;
    for (int p = kStreetCount - 1; p >= 0; --p) {
      const auto [first, last] = GroupRunOf(props_, p);
      if (p != last || !InWholeGroup(p)) continue;
      int level = kHotel;
      int target = kNobody;
      bool mortgaged = false;
      for (int q = last; q >= first; --q) {
        mortgaged = mortgaged || props_[q].mortgaged != 0;
        if (props_[q].houses < level) {
          level = props_[q].houses;
          target = q;
        }
      }
      if (mortgaged || level >= kHotel || target == kNobody) continue;
      double r = 0;
      for (int t = level + 1; t <= kHotel; ++t) r = std::max(r, Return(first, last, level, t));
      if (best == kNobody || r > bestReturn) {
        best = target;
        bestReturn = r;
      }
    }
    return best;
  }

  // Mortgages properties outside whole groups while their rent per krona is below what the
  // house on p brings; true when the money for the house is there.
  bool RaiseForHouse(int p) {
    const auto [first, last] = GroupRunOf(props_, p);
    const double houseReturn =
        PropertyOdds(p) * (RentWith(props_, p, props_[p].houses + 1) -
                           RentWith(props_, p, props_[p].houses)) /
        std::max(1, static_cast<int>(props_[p].housePrice));
    (void)first;
    (void)last;
    while (self().money - props_[p].housePrice < Reserve()) {
      int spare = kNobody;
      double spareReturn = 0;
      for (int q = 0; q < kBoardPropertyCount; ++q) {
        if (props_[q].owner != me_ || props_[q].mortgaged != 0 || InWholeGroup(q)) continue;
        if (GroupHasHouses(q) || MortgageValue(props_[q]) <= 0) continue;
        const double r = PropertyOdds(q) * RentWith(props_, q, props_[q].houses) /
                         MortgageValue(props_[q]);
        if (spare == kNobody || r < spareReturn) {
          spare = q;
          spareReturn = r;
        }
      }
      if (spare == kNobody || spareReturn >= houseReturn) return false;
      steps_.Mortgage(spare);
    }
    return true;
  }

  void LiftSpareMortgages() {
    for (int p = kBoardPropertyCount - 1; p >= 0; --p) {
      if (props_[p].owner != me_ || props_[p].mortgaged == 0) continue;
      if (self().money - UnmortgageCost(props_[p]) < Reserve() + kLiftCushion) continue;
      steps_.LiftMortgage(p);
    }
  }

  Game& game_;
  GameState& state_;
  PropertyTable& props_;
  DealSteps steps_;
  int me_ = 0;
};

}  // namespace

void RunHardDealing(Game& game) {
  HardDealer(game).Run();
}

}  // namespace tomtura
