// The Easy computer player's dealing.
#include "trade/easy_deals.h"

#include "data/estate_value.h"
#include "data/property_rules.h"
#include "data/tabletop.h"
#include "trade/deal_steps.h"

namespace tomtura {

namespace {

constexpr int kBuildCushion = 8000;  // left in hand after a house
constexpr int kRichUnmortgage = 15000;
constexpr int kOfferTenth = 10;

class EasyDealer {
 public:
  EasyDealer(Tabletop& table, bool sketch)
      : state_(table.state), props_(table.state.properties), steps_(table, sketch) {
    me_ = steps_.actor();
  }

  void Run() {
    PayDebt();
    if (self().money >= 0) {
      OfferPrices();
      BuildOneHouse();
      LiftMortgages();
    }
    steps_.ShiftRefusals();
    steps_.WriteSummary();
  }

 private:
  Player& self() { return state_.players[me_]; }
  bool GroupHasHouses(int p) const {
    const auto [first, last] = GroupRunOf(props_, p);
    for (int q = first; q <= last; ++q) {
      if (props_[q].houses > 0) return true;
    }
    return false;
  }

  void PayDebt() {
    bool changed = true;
    while (self().money < 0 && changed) {
      changed = false;
      for (int p = 0; p < kBoardPropertyCount && self().money < 0; ++p) {
        if (props_[p].owner != me_ || props_[p].mortgaged != 0 || GroupHasHouses(p)) continue;
        changed = steps_.Mortgage(p) || changed;
      }
      for (int p = 0; p < kStreetCount && self().money < 0; ++p) {
        if (props_[p].owner != me_ || props_[p].houses <= 0) continue;
        const auto [first, last] = GroupRunOf(props_, p);
        bool most = true;
        for (int q = first; q <= last; ++q) most = most && props_[q].houses <= props_[p].houses;
        if (!most) continue;
        changed = steps_.SellHouse(p) || changed;
      }
    }
  }

  // For the one street missing from a group it offers the printed price and a tenth.
  void OfferPrices() {
    for (int p = 0; p < kStreetCount; ++p) {
      const auto [first, last] = GroupRunOf(props_, p);
      if (p != first) continue;
      const int missing = SingleMissingOfRun(props_, p, me_);
      if (missing == kNobody) continue;
      const int holder = props_[missing].owner;
      if (holder == kNobody || state_.players[holder].isBankrupt != 0) continue;
      if (steps_.Masked(missing) || state_.askedThisTurn[missing] != 0) continue;
      const int offer = props_[missing].price + props_[missing].price / kOfferTenth;
      if (self().money - offer < kBuildCushion) continue;
      steps_.OfferPurchase(missing, holder, offer);
    }
  }

  void BuildOneHouse() {
    for (int p = 0; p < kStreetCount; ++p) {
      if (props_[p].owner != me_ || !OwnsWholeGroup(props_, p, me_)) continue;
      const auto [first, last] = GroupRunOf(props_, p);
      int target = kNobody;
      bool mortgaged = false;
      for (int q = first; q <= last; ++q) {
        mortgaged = mortgaged || props_[q].mortgaged != 0;
        if (target == kNobody || props_[q].houses < props_[target].houses) target = q;
      }
      if (mortgaged || props_[target].houses >= kHotel) continue;
      if (self().money - props_[target].housePrice < kBuildCushion) return;
      steps_.BuildHouse(target);
      return;
    }
  }

  void LiftMortgages() {
    for (int p = 0; p < kBoardPropertyCount; ++p) {
      if (props_[p].owner != me_ || props_[p].mortgaged == 0) continue;
      if (self().money - UnmortgageCost(props_[p]) < kRichUnmortgage) continue;
      steps_.LiftMortgage(p);
    }
  }

  GameState& state_;
  PropertyTable& props_;
  DealSteps steps_;
  int me_ = 0;
};

}  // namespace

void RunEasyDealing(Tabletop& table, bool sketch) {
  EasyDealer(table, sketch).Run();
}

}  // namespace tomtura
