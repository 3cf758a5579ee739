// The steps of a computer player's dealing, as outcomes the game applies.
#include "trade/deal_steps.h"

#include <string>
#include <utility>

#include "data/outcome.h"
#include "data/tabletop.h"
#include "data/text_encoding.h"
#include "data/text_ids.h"

namespace tomtura {

namespace {

std::uint32_t Bit(int p) {
  return std::uint32_t{1} << p;
}

}  // namespace

DealSteps::DealSteps(Tabletop& table, bool sketch)
    : table_(table), state_(table.state), actor_(table.state.currentPlayer), sketch_(sketch) {
  state_.workPlayers = PlayerTable{};
}

bool DealSteps::Masked(int p) const {
  return ((state_.refusedLastTurn[actor_] | state_.refusedThisTurn[actor_] | refusedNow_) &
          Bit(p)) != 0;
}

void DealSteps::Refused(int p) {
  state_.askedThisTurn[p] = 1;
  refusedNow_ |= Bit(p);
}

void DealSteps::ShiftRefusals() {
  state_.refusedLastTurn[actor_] = state_.refusedThisTurn[actor_];
  state_.refusedThisTurn[actor_] = refusedNow_;
}

bool DealSteps::Apply(const Outcome& outcome) {
  if (!sketch_) return table_.Apply(outcome);
  const Holdings live{state_.players, state_.properties, state_.playerCount};
  if (!CheckOutcome(live, outcome).empty()) return false;
  ApplyOutcome(live, outcome);
  return true;
}

bool DealSteps::Ask(int partner, const OfferWords& words, int moneyReceived, int given,
                    int received) {
  return table_.AskConsent(
      {partner, table_.OfferText(partner, words), moneyReceived, given, received, false, words});
}

bool DealSteps::Mortgage(int p, bool logged) {
  if (!Apply({tomtura::Mortgage{actor_, p, false}, logged})) return false;
  didMortgage_ = true;
  return true;
}

bool DealSteps::LiftMortgage(int p) {
  if (!Apply({tomtura::Mortgage{actor_, p, true}})) return false;
  didUnmortgage_ = true;
  return true;
}

bool DealSteps::BuildHouse(int p) {
  if (!Apply({Houses{actor_, p, 1, DealSource::Computer}})) return false;
  didBuyHouses_ = true;
  return true;
}

bool DealSteps::SellHouse(int p) {
  if (!Apply({Houses{actor_, p, -1, DealSource::Computer}})) return false;
  didSellHouses_ = true;
  return true;
}

bool DealSteps::OfferSale(int p, int buyer, int price) {
  const OfferWords words =
      table_.WordsOf(kTextOfferSale, actor_, p, kNobody, price, state_.properties);
  if (!Ask(buyer, words, -price, kNobody, p)) {
    Refused(p);
    return false;
  }
  if (!Apply({Deal{actor_, buyer, -price, 0, PropertyBit(p), DealSource::Computer}})) return false;
  didSellProperty_ = true;
  return true;
}

bool DealSteps::OfferExchange(int q, int holder, int c, int amount) {
  const PropertyTable& props = state_.properties;
  const OfferWords words =
      amount > 0 ? table_.WordsOf(kTextOfferExchangeGive, actor_, q, c, amount, props)
                 : table_.WordsOf(kTextOfferExchangeGet, actor_, c, q, -amount, props);
  if (!Ask(holder, words, amount, q, c)) {
    Refused(q);
    return false;
  }
  if (!Apply(
          {Deal{actor_, holder, amount, PropertyBit(q), PropertyBit(c), DealSource::Computer}})) {
    return false;
  }
  didBuyProperty_ = true;
  return true;
}

bool DealSteps::OfferPurchase(int q, int holder, int offer) {
  const OfferWords words =
      table_.WordsOf(kTextOfferPurchase, actor_, q, kNobody, offer, state_.properties);
  if (!Ask(holder, words, offer, q, kNobody)) {
    Refused(q);
    return false;
  }
  if (!Apply({Deal{actor_, holder, offer, PropertyBit(q), 0, DealSource::Computer}})) return false;
  didBuyProperty_ = true;
  return true;
}

void DealSteps::WriteSummary() {
  if (sketch_) return;
  const std::string name = table_.PlayerName(actor_);
  const bool any = didMortgage_ || didUnmortgage_ || didBuyHouses_ || didSellHouses_ ||
                   didBuyProperty_ || didSellProperty_;
  std::string summary;
  if (!any) {
    summary = table_.FormatCatalogue(kTextNoDeals, name);
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
      summary += table_.Text(text);
      first = false;
    }
  }
  state_.statusText = std::string(CutUtf8(summary, kStatusTextBytes));
  table_.StatusLineChanged();
}

}  // namespace tomtura
