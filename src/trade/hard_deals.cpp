// The Hard computer player's dealing: each choice is the one that costs its standing least or
// raises it most (rules/hard_player.h); the dealing's steps apply it.
#include "trade/hard_deals.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "data/estate_value.h"
#include "data/outcome.h"
#include "data/property_rules.h"
#include "data/tabletop.h"
#include "trade/deal_steps.h"
#include "trade/hard_standing.h"

namespace tomtura {

namespace {

// Asking prices of a sale to raise money, as the computer player asks them.
constexpr int kJailCardAskingPrice = 500;
constexpr int kMortgagedDiscount = 50;
constexpr int kUnmortgagedDiscount = 100;
// Offers for the street that finishes a group: in an exchange Hard pays one and a half times
// what the street is dearer than its own (a mortgaged one counted at half its price), rounded up
// to the hundred, and a hundred more; for a dearer street of its own the partner pays the
// difference less a hundred. A purchase offers five halves of the price and a hundred.
constexpr int kRoundTo = 100;
constexpr int kOfferBonus = 100;
// A deal is offered when it brings Hard this much more than it brings the partner.
constexpr double kOfferMargin = 1500;
// A second street of a group of three held by three players is bought for twice its price and
// a hundred, with this much left in hand beyond the reserve.
constexpr int kBuyIntoCushion = 10000;
// Houses go up to three on every whole group before any gets a fourth, which also wants this
// much in hand beyond the reserve.
constexpr int kThirdHouse = 3;
constexpr int kBeyondThreeCushion = 5000;
// Mortgages outside whole groups are lifted only with this much in hand beyond the reserve.
constexpr int kLiftCushion = 5000;
// Bounds the steps of one turn's dealing; each step changes the game, so this is never reached.
constexpr int kMaxSteps = 400;

int RoundUp(int amount) {
  return (amount + kRoundTo - 1) / kRoundTo * kRoundTo;
}

class HardDealer {
 public:
  HardDealer(Tabletop& table, bool sketch)
      : state_(table.state),
        props_(table.state.properties),
        steps_(table, sketch),
        me_(steps_.actor()) {}

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
  int Reserve() const { return HardReserve(props_, state_.players, me_); }
  HardDealSides Before(int partner) const {
    return HardStandingsBefore(props_, state_.players, state_.playerCount, me_, partner);
  }
  double Gain(const HardDealSides& before, int partner, int moneyReceived, int given,
              int received) const {
    return HardDealGain(props_, state_.players, state_.playerCount, me_, partner, moneyReceived,
                        given, received, before);
  }
  bool GroupHasHouses(int p) const {
    const auto [first, last] = GroupRunOf(props_, p);
    for (int q = first; q <= last; ++q) {
      if (props_[q].houses > 0) return true;
    }
    return false;
  }
  bool InWholeGroup(int p) const { return p < kStreetCount && OwnsWholeGroup(props_, p, me_); }
  // True when p has the most houses of its group, so that a house may go from it.
  bool MostBuilt(int p) const {
    const auto [first, last] = GroupRunOf(props_, p);
    for (int q = first; q <= last; ++q) {
      if (props_[q].houses > props_[p].houses) return false;
    }
    return true;
  }

  double Standing() const { return HardStanding(props_, state_.players, state_.playerCount, me_); }

  // What `change` (a mortgage or a house sold by the actor) costs the standing, `before` without
  // it, per krona it brings in.
  double LossPerKrona(double before, const Outcome& change, int money) const {
    PropertyTable properties = props_;
    PlayerTable players = state_.players;
    const Holdings after{players, properties, state_.playerCount};
    if (!CheckOutcome(after, change).empty()) return kNoLoss;
    ApplyOutcome(after, change);
    return (before - HardStanding(properties, players, state_.playerCount, me_)) /
           std::max(money, 1);
  }
  static constexpr double kNoLoss = 1e300;  // a change the game would not allow

  // ---- Raising money ----

  // A sale to another player fetches nearly the price, a mortgage half of it and a house half
  // of its cost: sales are offered first, then mortgages taken, then houses sold.
  void RaiseMoney() {
    for (int step = 0; step < kMaxSteps && InDebt(); ++step) {
      if (OfferSales(kNoFloor)) continue;
      if (MortgageLeastNeeded()) continue;
      if (!SellLeastNeededHouse()) break;
    }
  }

  static constexpr double kNoFloor = -1e300;

  // Offers the richest other player, one after another and best for Hard first, the properties
  // not asked about this turn and without houses in their group whose sale gains Hard at least
  // `floor`, until one is sold; false when none was.
  bool OfferSales(double floor) {
    int buyer = kNobody;
    for (int n = 0; n < state_.playerCount; ++n) {
      if (n == me_ || state_.players[n].isBankrupt != 0) continue;
      if (buyer == kNobody || state_.players[n].money > state_.players[buyer].money) buyer = n;
    }
    if (buyer == kNobody) return false;
    struct Sale {
      int property;
      int price;
      double gain;
    };
    std::vector<Sale> sales;
    const HardDealSides before = Before(buyer);
    for (int p = kPropertyCount - 1; p >= 0; --p) {
      if (props_[p].owner != me_ || state_.askedThisTurn[p] != 0 || GroupHasHouses(p)) continue;
      const int price = AskingPrice(p);
      const double gain = Gain(before, buyer, price, p, kNobody);
      if (gain >= floor) sales.push_back({p, price, gain});
    }
    // A refusal changes nothing but the inquiry flag, so the order holds until a sale is made.
    std::stable_sort(sales.begin(), sales.end(),
                     [](const Sale& a, const Sale& b) { return a.gain > b.gain; });
    for (const Sale& sale : sales) {
      if (steps_.OfferSale(sale.property, buyer, sale.price)) return true;
    }
    return false;
  }

  int AskingPrice(int p) {
    const Property& property = props_[p];
    if (CountOwnedProperties(me_, props_) == 1 && InDebt()) return -self().money;
    if (property.price == 0) return kJailCardAskingPrice;
    if (property.mortgaged != 0) return MortgageValue(property) - kMortgagedDiscount;
    return property.price - kUnmortgagedDiscount;
  }

  // Mortgages the property whose rent the standing misses least; false when none is left.
  bool MortgageLeastNeeded() {
    const double before = Standing();
    int best = kNobody;
    double bestLoss = 0;
    for (int p = 0; p < kBoardPropertyCount; ++p) {
      if (props_[p].owner != me_ || props_[p].mortgaged != 0 || GroupHasHouses(p)) continue;
      const int value = MortgageValue(props_[p]);
      if (value <= 0) continue;
      const double loss = LossPerKrona(before, {Mortgage{me_, p, false}}, value);
      if (loss < kNoLoss && (best == kNobody || loss < bestLoss)) {
        best = p;
        bestLoss = loss;
      }
    }
    return best != kNobody && steps_.Mortgage(best);
  }

  // Sells one house where the standing misses it least, evenly within the group.
  bool SellLeastNeededHouse() {
    const double before = Standing();
    int best = kNobody;
    double bestLoss = 0;
    for (int p = 0; p < kStreetCount; ++p) {
      if (props_[p].owner != me_ || props_[p].houses <= 0 || !MostBuilt(p)) continue;
      const double loss =
          LossPerKrona(before, {Houses{me_, p, -1, DealSource::Computer}}, HouseRefund(props_[p]));
      if (loss < kNoLoss && (best == kNobody || loss < bestLoss)) {
        best = p;
        bestLoss = loss;
      }
    }
    return best != kNobody && steps_.SellHouse(best);
  }

  // ---- Deals towards whole groups ----

  void OfferDeals() {
    for (int p = kStreetCount - 1; p >= 0; --p) {
      const auto [first, last] = GroupRunOf(props_, p);
      if (p != last) continue;  // one look at each group
      const int missing = SingleMissingOfRun(props_, p, me_);
      if (missing == kNobody) continue;
      const int holder = props_[missing].owner;
      if (holder == kNobody || state_.players[holder].isBankrupt != 0) continue;
      if (steps_.Masked(missing) || state_.askedThisTurn[missing] != 0) continue;
      if (GroupHasHouses(missing)) continue;
      OfferBestDealFor(missing, holder);
    }
    BuyIntoSplitGroups();
  }

  // The exchange or purchase of q that is best for Hard, when it is good enough. A swap in which
  // the partner finishes a group too comes first: that is the deal a partner who reckons as
  // Hard does will take.
  void OfferBestDealFor(int q, int holder) {
    const int price = props_[q].price;
    const int spendable = self().money - Reserve();
    const HardDealSides before = Before(holder);
    int bestCounterpart = kNobody;
    int bestAmount = 5 * (price / 2) + kOfferBonus;
    bool bestMutual = false;
    double bestGain =
        bestAmount <= spendable ? Gain(before, holder, -bestAmount, kNobody, q) : kNoFloor;
    for (int c = 0; c < kPropertyCount; ++c) {
      if (props_[c].owner != me_ || props_[c].group == props_[q].group || GroupHasHouses(c)) {
        continue;
      }
      const int worth = props_[c].mortgaged != 0 ? props_[c].price / 2 : props_[c].price;
      const int amount = worth <= price
                             ? RoundUp(3 * (price - worth) / 2) + kOfferBonus
                             : -std::max(0, (worth - price) / kRoundTo * kRoundTo - kOfferBonus);
      if (amount > 0 && amount > spendable) continue;
      const double gain = Gain(before, holder, -amount, c, q);
      const bool mutual = gain >= kOfferMargin && FinishesGroup(props_, c, holder);
      if ((mutual && !bestMutual) || (mutual == bestMutual && gain > bestGain)) {
        bestGain = gain;
        bestCounterpart = c;
        bestAmount = amount;
        bestMutual = mutual;
      }
    }
    if (bestGain < kOfferMargin) return;
    if (bestCounterpart == kNobody) {
      steps_.OfferPurchase(q, holder, bestAmount);
    } else {
      steps_.OfferExchange(q, holder, bestCounterpart, bestAmount);
    }
  }

  // In a group of three held one each by Hard and two others, Hard offers twice the price and a
  // hundred for a second street, once a turn, when it has the money to spare.
  void BuyIntoSplitGroups() {
    for (int p = kStreetCount - 1; p >= 0; --p) {
      const auto [first, last] = GroupRunOf(props_, p);
      if (p != last || last - first != 2 || GroupHasHouses(p)) continue;
      const int a = props_[first].owner;
      const int b = props_[first + 1].owner;
      const int c = props_[last].owner;
      if (a == kNobody || b == kNobody || c == kNobody || a == b || b == c || a == c) continue;
      if (a != me_ && b != me_ && c != me_) continue;
      for (int q = first; q <= last; ++q) {
        const int holder = props_[q].owner;
        if (holder == me_ || steps_.Masked(q) || state_.askedThisTurn[q] != 0) continue;
        const int offer = 2 * props_[q].price + kOfferBonus;
        if (self().money - offer < Reserve() + kBuyIntoCushion) return;
        steps_.OfferPurchase(q, holder, offer);
        return;
      }
    }
  }

  // ---- Houses ----

  void Build() {
    for (int step = 0; step < kMaxSteps; ++step) {
      LiftWholeGroupMortgages();
      const int p = BestHouse();
      if (p == kNobody) return;
      const int reserve = Reserve() + (props_[p].houses >= kThirdHouse ? kBeyondThreeCushion : 0);
      if (self().money - props_[p].housePrice < reserve && !RaiseForHouse(p, reserve)) return;
      if (!steps_.BuildHouse(p)) return;
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

  // Rent gained per krona by bringing every street of [first, last] up to `target` houses.
  double Return(int first, int last, int target) const {
    double gain = 0;
    double cost = 0;
    for (int q = first; q <= last; ++q) {
      const int now = props_[q].houses;
      const int then = std::max(now, target);
      gain += PropertyOdds(q) * (RentWith(props_, q, then) - RentWith(props_, q, now));
      cost += static_cast<double>(then - now) * props_[q].housePrice;
    }
    return cost > 0 ? gain / cost : 0;
  }

  // Where the next house goes: the whole, unmortgaged group below three houses that best repays
  // bringing it up to three, else the one that best repays its fourth house and hotel; within
  // the group the street with the fewest houses, the last first.
  int BestHouse() const {
    int best = kNobody;
    bool bestBelowThree = false;
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
      if (mortgaged || target == kNobody) continue;
      const bool belowThree = level < kThirdHouse;
      double r = 0;
      for (int t = level + 1; t <= (belowThree ? kThirdHouse : kHotel); ++t) {
        r = std::max(r, Return(first, last, t));
      }
      if (best == kNobody || (belowThree && !bestBelowThree) ||
          (belowThree == bestBelowThree && r > bestReturn)) {
        best = target;
        bestBelowThree = belowThree;
        bestReturn = r;
      }
    }
    return best;
  }

  // Raises the money for a house on p, keeping `reserve`: sales of properties that cost Hard
  // nothing it misses, then mortgages outside whole groups while their rent per krona is below
  // what the house brings. True when the money is there.
  bool RaiseForHouse(int p, int reserve) {
    const double houseReturn =
        PropertyOdds(p) *
        (RentWith(props_, p, props_[p].houses + 1) - RentWith(props_, p, props_[p].houses)) /
        std::max(1, static_cast<int>(props_[p].housePrice));
    while (self().money - props_[p].housePrice < reserve) {
      if (OfferSales(0)) continue;
      int spare = kNobody;
      double spareReturn = 0;
      for (int q = 0; q < kBoardPropertyCount; ++q) {
        if (props_[q].owner != me_ || props_[q].mortgaged != 0 || InWholeGroup(q)) continue;
        if (GroupHasHouses(q) || MortgageValue(props_[q]) <= 0) continue;
        const double r =
            PropertyOdds(q) * RentWith(props_, q, props_[q].houses) / MortgageValue(props_[q]);
        if (spare == kNobody || r < spareReturn) {
          spare = q;
          spareReturn = r;
        }
      }
      if (spare == kNobody || spareReturn >= houseReturn) return false;
      if (!steps_.Mortgage(spare)) return false;
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

  GameState& state_;
  PropertyTable& props_;
  DealSteps steps_;
  const int me_;
};

}  // namespace

void RunHardDealing(Tabletop& table, bool sketch) {
  HardDealer(table, sketch).Run();
}

}  // namespace tomtura
