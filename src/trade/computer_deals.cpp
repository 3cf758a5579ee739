// The computer player's dealing at the start of its turn, before it throws: it raises money
// while in debt (mortgages, house sales, sales to the richest opponent), then invests (houses,
// lifted mortgages, exchanges and purchases that complete colour groups) and sums up what it
// did in the status line. Every deal with another player needs that player's consent.
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "trade/computer_deals.h"

#include "data/outcome.h"
#include "data/property_rules.h"
#include "data/tabletop.h"
#include "data/text_encoding.h"
#include "data/text_ids.h"

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

std::uint32_t Bit(int p) {
  return std::uint32_t{1} << p;
}

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

class ComputerDealer {
 public:
  ComputerDealer(Tabletop& table, bool sketch)
      : game_(table),
        state_(table.state),
        props_(table.state.properties),
        actor_(table.state.currentPlayer),
        sketch_(sketch) {}

  void Run();

 private:
  Player& actor() { return state_.players[actor_]; }
  bool InDebt() { return actor().money < 0; }
  bool CannotPay() { return CannotPayDebt(actor_, props_, state_.players, state_.askedThisTurn); }
  int Liquidation() { return LiquidationValue(actor_, props_, state_.players); }
  bool OwnsCompleteGroup() { return CountCompleteGroups(actor_, props_) > 0; }
  bool Owns(int p) const { return props_[p].owner == actor_; }
  bool Masked(int p) const {
    const std::uint32_t bit = Bit(p);
    return ((state_.refusedLastTurn[actor_] | state_.refusedThisTurn[actor_] | refusedNow_) &
            bit) != 0;
  }

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
            refusedNow_,
            state_.refusedLastTurn[actor_],
            state_.refusedThisTurn[actor_]};
  }

  // Puts the offer of `words` to `partner`.
  bool Ask(int partner, const OfferWords& words, int moneyReceived, int given, int received);
  void Refused(int p) {
    state_.askedThisTurn[p] = 1;
    refusedNow_ |= Bit(p);
  }
  // Applies a change of the dealing: through the game, or straight into a sketch's tables.
  bool Apply(const Outcome& outcome);
  void Mortgage(int p);

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
  void OfferToBuy(int q, int holder, int offer);

  void WriteSummary();

  Tabletop& game_;
  GameState& state_;
  PropertyTable& props_;
  const int actor_;
  const bool sketch_;
  Mode mode_ = Mode::Normal;
  int reserve_ = 0;
  std::uint32_t refusedNow_ = 0;
  bool didMortgage_ = false;
  bool didUnmortgage_ = false;
  bool didBuyHouses_ = false;
  bool didSellHouses_ = false;
  bool didBuyProperty_ = false;
  bool didSellProperty_ = false;
};

int ComputerDealer::GroupOthers(int p) const {
  int count = 0;
  for (int q = kBoardPropertyCount - 1; q >= 0; --q) {
    if (props_[q].group == props_[p].group && props_[q].owner != actor_) ++count;
  }
  return count;
}

bool ComputerDealer::GroupHasHouses(int p) const {
  for (int q = kBoardPropertyCount - 1; q >= 0; --q) {
    if (props_[q].group == props_[p].group && props_[q].houses > 0) return true;
  }
  return props_[p].houses > 0;
}

int ComputerDealer::MostHousesInGroupExcept(int p) const {
  int most = 0;
  for (int q = kBoardPropertyCount - 1; q >= 0; --q) {
    if (q != p && props_[q].group == props_[p].group && props_[q].houses > most) {
      most = props_[q].houses;
    }
  }
  return most;
}

bool ComputerDealer::GroupHasMortgage(int p) const {
  for (int q = kBoardPropertyCount - 1; q >= 0; --q) {
    if (props_[q].group == props_[p].group && props_[q].mortgaged != 0) return true;
  }
  return false;
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

bool ComputerDealer::Ask(int partner, const OfferWords& words, int moneyReceived, int given,
                         int received) {
  return game_.AskConsent({partner, game_.OfferText(partner, words), moneyReceived, given,
                           received, false, words});
}

bool ComputerDealer::Apply(const Outcome& outcome) {
  if (!sketch_) return game_.Apply(outcome);
  const Holdings live{state_.players, props_, state_.playerCount};
  if (!CheckOutcome(live, outcome).empty()) return false;
  ApplyOutcome(live, outcome);
  return true;
}

void ComputerDealer::Mortgage(int p) {
  if (Apply({tomtura::Mortgage{actor_, p, false}})) didMortgage_ = true;
}

void ComputerDealer::Run() {
  state_.workPlayers = PlayerTable{};
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const DealSnapshot before = Snapshot();
    DebtPhase();
    AssessRisk();
    for (int cycle = 0; cycle < kInvestmentCycles; ++cycle) InvestmentCycle();
    state_.refusedLastTurn[actor_] = state_.refusedThisTurn[actor_];
    state_.refusedThisTurn[actor_] = refusedNow_;
    if (!InDebt() || CannotPay()) break;
    // A pass that changed nothing would repeat itself for ever.
    if (Snapshot() == before) break;
  }
  if (!sketch_) WriteSummary();
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
    if (Owns(p) && props_[p].mortgaged == 0 && !GroupComplete(p)) Mortgage(p);
  }
}

void ComputerDealer::MortgageBareGroups() {
  if (Liquidation() < 0) return;
  for (int p = kBoardPropertyCount - 1; p >= 0 && InDebt(); --p) {
    if (Owns(p) && props_[p].mortgaged == 0 && props_[p].houses == 0 && !GroupHasHouses(p)) {
      Mortgage(p);
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

  const OfferWords offer = game_.WordsOf(kTextOfferSale, actor_, p, kNobody, price, props_);
  if (!Ask(buyer, offer, -price, kNobody, p)) {
    Refused(p);
    return;
  }
  if (Apply({Deal{actor_, buyer, -price, 0, PropertyBit(p), DealSource::Computer}})) {
    didSellProperty_ = true;
  }
}

void ComputerDealer::SellHouses() {
  for (int p = 0; p < kBoardPropertyCount && InDebt(); ++p) {
    if (!Owns(p) || props_[p].houses < 1) continue;
    if (MostHousesInGroupExcept(p) > props_[p].houses) continue;
    if (Apply({Houses{actor_, p, -1, DealSource::Computer}})) didSellHouses_ = true;
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
    if (Apply({Houses{actor_, target, 1, DealSource::Computer}})) didBuyHouses_ = true;
  }
  return wanted;
}

void ComputerDealer::RaiseWanted(int wanted) {
  // Mortgages of incomplete groups for a house it could not pay; these are not logged.
  for (int p = kBoardPropertyCount - 1; p >= 0 && wanted > 0; --p) {
    if (!Owns(p) || props_[p].mortgaged != 0 || GroupComplete(p)) continue;
    if (!Apply({tomtura::Mortgage{actor_, p, false}, false})) continue;
    wanted -= MortgageValue(props_[p]);
    didMortgage_ = true;
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
    if (Apply({tomtura::Mortgage{actor_, p, true}})) didUnmortgage_ = true;
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
    const OfferWords offer =
        amount > 0 ? game_.WordsOf(kTextOfferExchangeGive, actor_, q, c, amount, props_)
                   : game_.WordsOf(kTextOfferExchangeGet, actor_, c, q, -amount, props_);
    if (!Ask(holder, offer, amount, q, c)) {
      Refused(q);
      continue;
    }
    if (Apply(
            {Deal{actor_, holder, amount, PropertyBit(q), PropertyBit(c), DealSource::Computer}})) {
      didBuyProperty_ = true;
    }
  }
}

// Asks `holder` to sell q for `offer`.
void ComputerDealer::OfferToBuy(int q, int holder, int offer) {
  const OfferWords words = game_.WordsOf(kTextOfferPurchase, actor_, q, kNobody, offer, props_);
  if (!Ask(holder, words, offer, q, kNobody)) {
    Refused(q);
    return;
  }
  if (Apply({Deal{actor_, holder, offer, PropertyBit(q), 0, DealSource::Computer}})) {
    didBuyProperty_ = true;
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
    OfferToBuy(q, holder, offer);
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
      OfferToBuy(q, holder, 2 * props_[q].price + kOfferBonus);
      return;
    }
  }
}

// ---- Summary ----

void ComputerDealer::WriteSummary() {
  const std::string name = game_.PlayerName(actor_);
  const bool any = didMortgage_ || didUnmortgage_ || didBuyHouses_ || didSellHouses_ ||
                   didBuyProperty_ || didSellProperty_;
  std::string summary;
  if (!any) {
    summary = game_.FormatCatalogue(kTextNoDeals, name);
  } else {
    summary = name + " ";
    const std::pair<bool, int> parts[] = {{didMortgage_, kTextSummaryMortgaged},
                                          {didUnmortgage_, kTextSummaryUnmortgaged},
                                          {didBuyHouses_, kTextSummaryBuiltHouses},
                                          {didSellHouses_, kTextSummarySoldHouses},
                                          {didBuyProperty_, kTextSummaryBoughtProperties},
                                          {didSellProperty_, kTextSummarySoldProperties}};
    bool first = true;
    for (const auto& [done, text] : parts) {
      if (!done) continue;
      if (!first) summary += " && ";
      summary += game_.Text(text);
      first = false;
    }
  }
  state_.statusText = std::string(CutUtf8(summary, kStatusTextBytes));
  game_.StatusLineChanged();
}

}  // namespace

void RunComputerTransactions(Tabletop& table) {
  ComputerDealer(table, false).Run();
}

void SketchComputerTransactions(Tabletop& table) {
  ComputerDealer(table, true).Run();
}

}  // namespace tomtura
