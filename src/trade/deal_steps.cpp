// The steps of a computer player's dealing as they change the game.
#include "trade/deal_steps.h"

#include <string>
#include <utility>

#include "data/property_rules.h"
#include "data/text_encoding.h"
#include "rules/game.h"

namespace tomtura {

namespace {

constexpr int kTextSaleOffer = 84;
constexpr int kTextExchangeActorPays = 85;
constexpr int kTextExchangeHolderPays = 86;
constexpr int kTextPurchaseOffer = 87;
constexpr int kTextNothingDone = 88;

std::uint32_t Bit(int p) {
  return std::uint32_t{1} << p;
}

}  // namespace

DealSteps::DealSteps(Game& game)
    : game_(game), state_(game.state), actor_(game.state.currentPlayer) {
  state_.workPlayers = PlayerTable{};
}

Player& DealSteps::self() {
  return state_.players[actor_];
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

void DealSteps::Mortgage(int p, bool logged) {
  state_.properties[p].mortgaged = 1;
  self().money += MortgageValue(state_.properties[p]);
  if (logged) {
    game_.LogText(actor_, kTextLogMortgaged, "%s intecknade %s", game_.PlayerName(actor_),
                  game_.PropertyName(p));
  }
  didMortgage_ = true;
}

void DealSteps::LiftMortgage(int p) {
  state_.properties[p].mortgaged = 0;
  self().money -= UnmortgageCost(state_.properties[p]);
  game_.LogText(actor_, kTextLogUnmortgaged, "%s upptecknade %s", game_.PlayerName(actor_),
                game_.PropertyName(p));
  didUnmortgage_ = true;
}

void DealSteps::BuildHouse(int p) {
  Property& street = state_.properties[p];
  self().money -= street.housePrice;
  street.houses += 1;
  game_.LogText(actor_, kTextLogBuilt, "%s köpte %s på %s", game_.PlayerName(actor_),
                street.houses == kHotel ? game_.TextOr(kTextLogHotelWord, "hotell")
                                        : game_.TextOr(kTextLogHouseWord, "hus"),
                game_.PropertyName(p));
  didBuyHouses_ = true;
}

void DealSteps::SellHouse(int p) {
  Property& street = state_.properties[p];
  street.houses -= 1;
  self().money += HouseRefund(street);
  game_.LogText(actor_, kTextLogHouseSoldFrom, "%s sålde hus från %s", game_.PlayerName(actor_),
                game_.PropertyName(p));
  didSellHouses_ = true;
}

bool DealSteps::OfferSale(int p, int buyer, int price) {
  const PropertyTable& props = state_.properties;
  const std::string offer =
      game_.FormatCatalogue(kTextSaleOffer, game_.PlayerName(buyer), game_.OfferName(p, props),
                            price, game_.PlayerName(actor_));
  if (!game_.referee.AskConsent(buyer, offer, -price, kNobody, p, false)) {
    Refused(p);
    return false;
  }
  state_.properties[p].owner = static_cast<std::int16_t>(buyer);
  self().money += price;
  state_.players[buyer].money -= price;
  game_.LogText(actor_, kTextLogSoldFor, "%s sålde %s till %s för %d kr", game_.PlayerName(actor_),
                game_.PropertyName(p), game_.PlayerName(buyer), price);
  didSellProperty_ = true;
  if (state_.players[buyer].isComputer == 0) {
    game_.RefreshPropertyLists();
    game_.ui.PanelChanged();
  }
  return true;
}

bool DealSteps::OfferExchange(int q, int holder, int c, int amount) {
  const PropertyTable& props = state_.properties;
  std::string offer;
  if (amount > 0) {
    offer = game_.FormatCatalogue(kTextExchangeActorPays, game_.PlayerName(holder),
                                  game_.OfferName(q, props), game_.PlayerName(actor_),
                                  game_.OfferName(c, props), amount);
  } else {
    offer = game_.FormatCatalogue(kTextExchangeHolderPays, game_.PlayerName(holder),
                                  game_.OfferName(c, props), game_.PlayerName(actor_),
                                  game_.OfferName(q, props), -amount);
  }
  if (!game_.referee.AskConsent(holder, offer, amount, q, c, false)) {
    Refused(q);
    return false;
  }
  self().money -= amount;
  state_.players[holder].money += amount;
  state_.properties[c].owner = static_cast<std::int16_t>(holder);
  state_.properties[q].owner = static_cast<std::int16_t>(actor_);
  game_.LogText(actor_, kTextLogExchanged, "%s köpte %s av %s för %s och %d kr",
                game_.PlayerName(actor_), game_.PropertyName(q), game_.PlayerName(holder),
                game_.PropertyName(c), amount);
  didBuyProperty_ = true;
  return true;
}

bool DealSteps::OfferPurchase(int q, int holder, int offer) {
  const std::string text =
      game_.FormatCatalogue(kTextPurchaseOffer, game_.PlayerName(holder),
                            game_.OfferName(q, state_.properties), game_.PlayerName(actor_), offer);
  if (!game_.referee.AskConsent(holder, text, offer, q, kNobody, false)) {
    Refused(q);
    return false;
  }
  self().money -= offer;
  state_.players[holder].money += offer;
  state_.properties[q].owner = static_cast<std::int16_t>(actor_);
  game_.LogText(actor_, kTextLogBoughtFor, "%s köpte %s av %s för %d kr", game_.PlayerName(actor_),
                game_.PropertyName(q), game_.PlayerName(holder), offer);
  didBuyProperty_ = true;
  return true;
}

void DealSteps::WriteSummary() {
  const std::string name = game_.PlayerName(actor_);
  const bool any = didMortgage_ || didUnmortgage_ || didBuyHouses_ || didSellHouses_ ||
                   didBuyProperty_ || didSellProperty_;
  std::string summary;
  if (!any) {
    summary = game_.FormatCatalogue(kTextNothingDone, name);
  } else {
    summary = name + " ";
    const std::pair<bool, int> parts[] = {{didMortgage_, 89},    {didUnmortgage_, 90},
                                          {didBuyHouses_, 91},   {didSellHouses_, 92},
                                          {didBuyProperty_, 93}, {didSellProperty_, 94}};
    bool first = true;
    for (const auto& [done, text] : parts) {
      if (!done) continue;
      if (!first) summary += " && ";
      summary += game_.Text(text);
      first = false;
    }
  }
  state_.statusText = std::string(CutUtf8(summary, kStatusTextBytes));
  if (any) {
    state_.unsavedProgress = true;
    game_.RefreshPropertyLists();
    game_.ui.BoardChanged();
    game_.ui.PanelChanged();
  }
  game_.ui.StatusLineChanged();
}

}  // namespace tomtura
