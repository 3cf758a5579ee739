// SPDX-License-Identifier: GPL-3.0-or-later
// Normal's dealing at the start of the computer player's turn, before it throws: it raises money
// while in debt (mortgages, house sales, sales to the richest opponent), then invests (houses,
// lifted mortgages, exchanges and purchases that complete colour groups) and sums up what it
// did in the status line. Every deal with another player needs that player's consent.
#include <array>
#include <bit>
#include <cstdint>

#include "trade/computer_deals.h"

#include "data/property_rules.h"
#include "data/tabletop.h"
#include "trade/deal_steps.h"
#include "trade/easy_deals.h"
#include "trade/hard_deals.h"

namespace tomtura {

namespace {

constexpr int kLookAhead = 12;  // squares ahead whose rent the computer keeps back
constexpr int kInvestmentCycles = 3;
constexpr int kJailCardAskingPrice = 500;
constexpr int kMortgagedDiscount = 50;
constexpr int kUnmortgagedDiscount = 100;
constexpr int kRichUnmortgage = 15000;  // above it any mortgage is lifted
constexpr int kMarginWithGroup = 5000;  // what a deal must leave of the liquidation value
constexpr int kMarginWithoutGroup = 1000;
constexpr int kOfferBonus = 100;
constexpr int kSplitGroupMoney = 20000;  // buying into split groups, without a group of its own
constexpr int kSplitGroupRichMoney = 40000;
// Every pass of the dealing either changes the game or stops, so this is never reached in
// play; it bounds the work should the board file hold numbers that defeat that reasoning.
constexpr int kMaxPasses = 1000;

enum class Mode { Normal = 0, CannotPay = 1, RentAhead = 2 };

// What one pass may change; comparing two of them tells whether a pass did anything.
struct DealSnapshot {
  PlayerTable players;
  PropertyTable properties;
  std::array<std::uint16_t, kPropertyCount> asked;
  std::uint32_t refusedNow;
  std::uint32_t refusedLast;
  std::uint32_t refusedThis;
  bool operator==(const DealSnapshot&) const = default;
};

// For each entry, the entries 0..27 that share its group, as bits. Groups come from the board
// file and never change during a game, so they are worked out again only when the table's group
// numbers differ from the last table's.
using GroupBits = std::array<std::uint32_t, kPropertyCount>;
const GroupBits& GroupBitsOf(const PropertyTable& props) {
  thread_local std::array<std::int16_t, kPropertyCount> groups{};
  thread_local GroupBits bits{};
  thread_local bool known = false;
  bool same = known;
  for (int p = 0; p < kPropertyCount && same; ++p) same = groups[p] == props[p].group;
  if (same) return bits;
  for (int p = 0; p < kPropertyCount; ++p) {
    groups[p] = props[p].group;
    bits[p] = 0;
    for (int q = 0; q < kBoardPropertyCount; ++q) {
      if (props[q].group == props[p].group) bits[p] |= std::uint32_t{1} << q;
    }
  }
  known = true;
  return bits;
}

// Calls `visit` with each entry 0..27 of the group of entry `p`.
template <class Visit>
void ForEachInGroup(const GroupBits& groups, int p, Visit visit) {
  for (std::uint32_t bits = groups[p]; bits != 0; bits &= bits - 1) visit(std::countr_zero(bits));
}

class ComputerDealer {
 public:
  ComputerDealer(Tabletop& table, bool sketch)
      : state_(table.state),
        props_(table.state.properties),
        groups_(GroupBitsOf(table.state.properties)),
        actor_(table.state.currentPlayer),
        steps_(table, sketch) {}

  void Run();

 private:
  Player& actor() { return state_.players[actor_]; }
  bool InDebt() { return actor().money < 0; }
  bool CannotPay() { return CannotPayDebt(actor_, props_, state_.players, state_.askedThisTurn); }
  int Liquidation() { return LiquidationValue(actor_, props_, state_.players); }
  bool OwnsCompleteGroup() { return CountCompleteGroups(actor_, props_) > 0; }
  bool Owns(int p) const { return props_[p].owner == actor_; }
  bool Masked(int p) const { return steps_.Masked(p); }

  // Group tests of the debt phase and of lifting mortgages: the entries 0..27 that share p's
  // group, so a jail card has a group of its own.
  int GroupOthers(int p) const;  // entries of the group not owned by the actor
  bool GroupComplete(int p) const { return GroupOthers(p) == 0; }
  bool GroupHasHouses(int p) const;
  int MostHousesInGroupExcept(int p) const;
  bool GroupHasMortgage(int p) const;
  // For a street: the one entry of its run not owned by the actor, when there is exactly one.
  int SingleMissing(int p) const;

  DealSnapshot Snapshot() const {
    return {state_.players,
            state_.properties,
            state_.askedThisTurn,
            steps_.refusedNow(),
            state_.refusedLastTurn[actor_],
            state_.refusedThisTurn[actor_]};
  }

  void DebtPhase();
  void MortgageIncompleteGroups();
  void MortgageBareGroups();
  void SellProperties(bool bareGroupsOnly);
  void SellHouses();
  void OfferSale(int p);

  void AssessRisk();
  void InvestmentCycle();
  int BuildHouses();  // returns the house price it could not pay, 0 if none
  void RaiseWanted(int wanted);
  void LiftMortgages();
  void OfferExchanges();
  void OfferPurchases();
  void BuyIntoSplitGroups();
  int FindCounterpart(int q, int holder) const;
  bool Affordable(int amount);

  GameState& state_;
  PropertyTable& props_;
  const GroupBits& groups_;
  const int actor_;
  DealSteps steps_;
  Mode mode_ = Mode::Normal;
  int reserve_ = 0;
};

int ComputerDealer::GroupOthers(int p) const {
  int count = 0;
  ForEachInGroup(groups_, p, [&](int q) { count += props_[q].owner != actor_ ? 1 : 0; });
  return count;
}

bool ComputerDealer::GroupHasHouses(int p) const {
  bool houses = props_[p].houses > 0;
  ForEachInGroup(groups_, p, [&](int q) { houses = houses || props_[q].houses > 0; });
  return houses;
}

int ComputerDealer::MostHousesInGroupExcept(int p) const {
  int most = 0;
  ForEachInGroup(groups_, p, [&](int q) {
    if (q != p && props_[q].houses > most) most = props_[q].houses;
  });
  return most;
}

bool ComputerDealer::GroupHasMortgage(int p) const {
  bool mortgaged = false;
  ForEachInGroup(groups_, p, [&](int q) { mortgaged = mortgaged || props_[q].mortgaged != 0; });
  return mortgaged;
}

int ComputerDealer::SingleMissing(int p) const {
  int missing = kNobody;
  int count = 0;
  for (int q : GroupScan(props_, p)) {
    if (props_[q].owner != actor_) {
      missing = q;
      ++count;
    }
  }
  return count == 1 ? missing : kNobody;
}

void ComputerDealer::Run() {
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const DealSnapshot before = Snapshot();
    DebtPhase();
    AssessRisk();
    for (int cycle = 0; cycle < kInvestmentCycles; ++cycle) InvestmentCycle();
    steps_.ShiftRefusals();
    if (!InDebt() || CannotPay()) break;
    // A pass that changed nothing would repeat itself for ever.
    if (Snapshot() == before) break;
  }
  steps_.WriteSummary();
}

// ---- Raising money ----

void ComputerDealer::DebtPhase() {
  while (InDebt() && !CannotPay()) {
    const DealSnapshot before = Snapshot();
    MortgageIncompleteGroups();
    MortgageBareGroups();
    SellProperties(false);
    if (CannotPay()) return;
    SellHouses();
    SellProperties(true);
    if (Snapshot() == before) return;  // nothing left that this phase could do
  }
}

void ComputerDealer::MortgageIncompleteGroups() {
  if (Liquidation() < 0) return;
  for (int p = kBoardPropertyCount - 1; p >= 0 && InDebt(); --p) {
    if (Owns(p) && props_[p].mortgaged == 0 && !GroupComplete(p)) steps_.Mortgage(p);
  }
}

void ComputerDealer::MortgageBareGroups() {
  if (Liquidation() < 0) return;
  for (int p = kBoardPropertyCount - 1; p >= 0 && InDebt(); --p) {
    if (Owns(p) && props_[p].mortgaged == 0 && props_[p].houses == 0 && !GroupHasHouses(p)) {
      steps_.Mortgage(p);
    }
  }
}

void ComputerDealer::SellProperties(bool bareGroupsOnly) {
  for (int p = kPropertyCount - 1; p >= 0 && InDebt(); --p) {
    if (!Owns(p) || state_.askedThisTurn[p] != 0) continue;
    const bool wanted =
        bareGroupsOnly ? props_[p].houses == 0 && !GroupHasHouses(p) : !GroupComplete(p);
    if (wanted) OfferSale(p);
  }
}

void ComputerDealer::OfferSale(int p) {
  // The buyer is the richest other player; ties go to the lower number.
  int buyer = kNobody;
  for (int n = 0; n < state_.playerCount; ++n) {
    if (n == actor_) continue;
    if (buyer == kNobody || state_.players[n].money > state_.players[buyer].money) buyer = n;
  }
  if (buyer == kNobody) return;
  if (state_.players[buyer].isBankrupt != 0) {
    state_.askedThisTurn[p] = 1;
    return;
  }

  const Property& property = props_[p];
  int price;
  if (CountOwnedProperties(actor_, props_) == 1) {
    price = -actor().money;
  } else if (property.price == 0) {
    price = kJailCardAskingPrice;
  } else if (property.mortgaged != 0) {
    price = MortgageValue(property) - kMortgagedDiscount;
  } else {
    price = property.price - kUnmortgagedDiscount;
  }

  steps_.OfferSale(p, buyer, price);
}

void ComputerDealer::SellHouses() {
  for (int p = 0; p < kBoardPropertyCount && InDebt(); ++p) {
    if (!Owns(p) || props_[p].houses < 1) continue;
    if (MostHousesInGroupExcept(p) > props_[p].houses) continue;
    steps_.SellHouse(p);
  }
}

// ---- Investing ----

void ComputerDealer::AssessRisk() {
  mode_ = Mode::Normal;
  reserve_ = 0;
  if (CannotPay()) {
    mode_ = Mode::CannotPay;
    return;
  }
  const int liquidation = Liquidation();
  const int position = actor().position;
  for (int k = 1; k <= kLookAhead && mode_ != Mode::RentAhead; ++k) {
    const int square = (position + k) % kSquareCount;
    const int p = kBoardLayout[square];
    if (p < 0) continue;
    const Property& property = props_[p];
    if (property.owner == kNobody || property.owner == actor_) continue;
    const int houses = property.houses >= 0 && property.houses <= kHotel ? property.houses : 0;
    const int rent = property.rent[houses];
    if (rent > reserve_) reserve_ = rent;
    mode_ = rent > liquidation ? Mode::RentAhead : Mode::Normal;
  }
  if (mode_ == Mode::RentAhead) reserve_ = 0;
}

void ComputerDealer::InvestmentCycle() {
  if (mode_ == Mode::CannotPay) return;
  const int wanted = BuildHouses();
  RaiseWanted(wanted);
  LiftMortgages();
  OfferExchanges();
  OfferPurchases();
  BuyIntoSplitGroups();
}

int ComputerDealer::BuildHouses() {
  int wanted = 0;
  for (int p = kStreetCount - 1; p >= 0; --p) {
    if (!Owns(p) || props_[p].mortgaged != 0) continue;
    if (!GroupComplete(p) || GroupHasMortgage(p)) continue;
    const int group = props_[p].group;
    auto inGroup = [&](int q) { return q >= 0 && props_[q].group == group; };

    // Houses go on evenly, the last entry of the group first.
    int last = p;
    while (last + 1 < kStreetCount && props_[last + 1].group == group) ++last;
    int target = kNobody;
    for (int i = last; inGroup(i); --i) {
      const bool evenWithPrevious = !inGroup(i - 1) || props_[i].houses <= props_[i - 1].houses;
      const bool previousEven = !inGroup(i - 2) || props_[i - 1].houses <= props_[i - 2].houses;
      if (evenWithPrevious && previousEven) {
        target = i;
        break;
      }
    }
    if (target == kNobody || props_[target].houses >= kHotel) continue;

    const int housePrice = props_[p].housePrice;
    if (mode_ == Mode::Normal && actor().money + housePrice < reserve_) {
      wanted = housePrice;
      continue;
    }
    if (housePrice > actor().money) {
      wanted = housePrice;
      continue;
    }
    steps_.BuildHouse(target);
  }
  return wanted;
}

void ComputerDealer::RaiseWanted(int wanted) {
  // Mortgages of incomplete groups for a house it could not pay; these are not logged.
  for (int p = kBoardPropertyCount - 1; p >= 0 && wanted > 0; --p) {
    if (!Owns(p) || props_[p].mortgaged != 0 || GroupComplete(p)) continue;
    if (!steps_.Mortgage(p, false)) continue;
    wanted -= MortgageValue(props_[p]);
  }
}

void ComputerDealer::LiftMortgages() {
  for (int p = kBoardPropertyCount - 1; p >= 0; --p) {
    if (!Owns(p) || props_[p].mortgaged == 0) continue;
    const int half = MortgageValue(props_[p]);
    if (half > actor().money) continue;
    bool lift = false;
    if (GroupOthers(p) == 0) {
      const int compared = CountCompleteGroups(actor_, props_) >= 2 ? actor().money : Liquidation();
      lift = compared > half;
    }
    if (!lift) lift = actor().money > kRichUnmortgage;
    if (!lift) continue;
    steps_.LiftMortgage(p);
  }
}

bool ComputerDealer::Affordable(int amount) {
  const bool hasGroup = OwnsCompleteGroup();
  const bool keepsReserve =
      mode_ != Mode::Normal || !hasGroup || actor().money - amount >= reserve_;
  const int margin = hasGroup ? kMarginWithGroup : kMarginWithoutGroup;
  return keepsReserve && Liquidation() >= amount + margin;
}

// A street of the actor that would complete a group of `holder`'s: the search runs over the
// actor's streets outside q's group, from the highest, one group at a time.
int ComputerDealer::FindCounterpart(int q, int holder) const {
  for (int j = kStreetCount - 1; j >= 0; --j) {
    if (!Owns(j) || props_[j].group == props_[q].group) continue;
    while (j > 0 && props_[j - 1].group == props_[j].group) --j;
    int held = 0;
    for (int k = j; k < j + 3; ++k) {
      if (props_[k].owner == holder) ++held;
    }
    if (held != 2) continue;
    for (int k = j; k < j + 3; ++k) {
      if (Owns(k)) return k;
    }
  }
  return kNobody;
}

void ComputerDealer::OfferExchanges() {
  for (int p = kStreetCount - 1; p >= 0; --p) {
    if (!Owns(p)) continue;
    const int q = SingleMissing(p);
    if (q == kNobody) continue;
    const int holder = props_[q].owner;
    if (holder == kNobody || Masked(q)) continue;
    const int c = FindCounterpart(q, holder);
    if (c == kNobody) continue;

    const int amount = (3 * props_[q].price) / 2 - (3 * props_[c].price) / 2;
    if (!Affordable(amount)) continue;
    steps_.OfferExchange(q, holder, c, amount);
  }
}

void ComputerDealer::OfferPurchases() {
  for (int p = kStreetCount - 1; p >= 0; --p) {
    if (!Owns(p)) continue;
    const int q = SingleMissing(p);
    if (q == kNobody) continue;
    const int holder = props_[q].owner;
    if (holder == kNobody || Masked(q)) continue;
    const int m = OwnsCompleteGroup() ? 3 : 5;
    const int offer = m * (props_[q].price / 2) + kOfferBonus;
    if (!Affordable(offer)) continue;
    steps_.OfferPurchase(q, holder, offer);
  }
}

void ComputerDealer::BuyIntoSplitGroups() {
  const int money = actor().money;
  if (!((!OwnsCompleteGroup() && money > kSplitGroupMoney) || money > kSplitGroupRichMoney)) {
    return;
  }
  for (int p = kStreetCount - 1; p >= 0; --p) {
    if (!Owns(p)) continue;
    int s = p;
    while (s > 0 && props_[s - 1].group == props_[p].group) --s;
    // Three entries with three different owners, none of them the bank.
    if (s + 2 >= kPropertyCount || props_[s + 2].group != props_[s].group) continue;
    const int a = props_[s].owner, b = props_[s + 1].owner, c = props_[s + 2].owner;
    if (a == kNobody || b == kNobody || c == kNobody || a == b || b == c || a == c) continue;
    for (int q = s; q <= s + 2; ++q) {
      const int holder = props_[q].owner;
      if (holder == actor_ || Masked(q)) continue;
      // The first offer of this step, accepted or refused, ends the cycle.
      steps_.OfferPurchase(q, holder, 2 * props_[q].price + kOfferBonus);
      return;
    }
  }
}

// The current player's dealing, by the rules of its strength.
void DealByStrength(Tabletop& table, bool sketch) {
  const int actor = table.state.currentPlayer;
  const Strength strength =
      actor >= 0 && actor < kMaxPlayers ? table.state.players[actor].strength : Strength::Normal;
  switch (strength) {
    case Strength::Easy:
      RunEasyDealing(table, sketch);
      return;
    case Strength::Hard:
      RunHardDealing(table, sketch);
      return;
    case Strength::Normal:
      break;
  }
  ComputerDealer(table, sketch).Run();
}

}  // namespace

void RunComputerTransactions(Tabletop& table) {
  DealByStrength(table, false);
}

void SketchComputerTransactions(Tabletop& table) {
  DealByStrength(table, true);
}

}  // namespace tomtura
