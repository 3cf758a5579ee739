// The play window's deals on the working copies, and their commit.
#include "trade/play_deals.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "data/property_rules.h"
#include "data/text_ids.h"

namespace tomtura {
namespace {

// First and last entry of the run of equal `group` values around p.
std::pair<int, int> GroupRun(const PropertyTable& table, int p) {
  int first = p;
  int last = p;
  while (first > 0 && table[first - 1].group == table[p].group) --first;
  while (last + 1 < kPropertyCount && table[last + 1].group == table[p].group) ++last;
  return {first, last};
}

}  // namespace

PlayWindowDeals::PlayWindowDeals(Tabletop& table)
    : game_(table), actor_(table.state.currentPlayer) {
  game_.state.workProperties = game_.state.properties;
  game_.state.workPlayers = game_.state.players;
}

bool PlayWindowDeals::PageLocked(PlayPage page) const {
  const bool spends =
      page == PlayPage::Buy || page == PlayPage::Unmortgage || page == PlayPage::BuyHouse;
  return spends && workMoney() < 0;
}

bool PlayWindowDeals::GroupHasHouses(int p) const {
  const auto [first, last] = GroupRun(properties(), p);
  for (int i = first; i <= last; ++i) {
    if (properties()[i].houses > 0) return true;
  }
  return false;
}

std::vector<int> PlayWindowDeals::Partners() const {
  std::vector<int> partners;
  for (int i = 0; i < game_.state.playerCount; ++i) {
    if (i != actor_ && !players()[i].isBankrupt) partners.push_back(i);
  }
  return partners;
}

std::vector<int> PlayWindowDeals::TradeList(int player) const {
  std::vector<int> list;
  for (int p = 0; p < kPropertyCount; ++p) {
    const Property& property = properties()[p];
    if (property.owner == player && property.houses == 0 && !GroupHasHouses(p) &&
        !game_.state.askedThisTurn[p]) {
      list.push_back(p);
    }
  }
  return list;
}

std::vector<int> PlayWindowDeals::MortgageList() const {
  std::vector<int> list;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    const Property& property = properties()[p];
    if (property.owner == actor_ && !property.mortgaged && property.houses == 0 &&
        !GroupHasHouses(p)) {
      list.push_back(p);
    }
  }
  return list;
}

std::vector<int> PlayWindowDeals::UnmortgageList() const {
  std::vector<int> list;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    if (properties()[p].owner == actor_ && properties()[p].mortgaged) list.push_back(p);
  }
  return list;
}

std::vector<int> PlayWindowDeals::BuyHouseList() const {
  std::vector<int> list;
  for (int p = 0; p < kStreetCount; ++p) {
    const Property& property = properties()[p];
    if (property.owner != actor_ || property.mortgaged || property.houses >= kHotel) continue;
    const auto [first, last] = GroupRun(properties(), p);
    bool wholeGroup = true;
    for (int i = first; i <= last; ++i) {
      wholeGroup = wholeGroup && properties()[i].owner == actor_ && !properties()[i].mortgaged;
    }
    if (wholeGroup) list.push_back(p);
  }
  return list;
}

std::vector<int> PlayWindowDeals::SellHouseList() const {
  std::vector<int> list;
  for (int p = 0; p < kStreetCount; ++p) {
    if (properties()[p].owner == actor_ && properties()[p].houses > 0) list.push_back(p);
  }
  return list;
}

OfferWords PlayWindowDeals::BuyOfferWords(int wanted, int own, int price) const {
  if (own >= 0) {
    return game_.WordsOf(kTextBuyExchangeOffer, actor_, wanted, own, price, properties());
  }
  return game_.WordsOf(kTextBuyOffer, actor_, wanted, kNobody, price, properties());
}

OfferWords PlayWindowDeals::SellOfferWords(int own, int partnerProperty, int price) const {
  if (partnerProperty >= 0) {
    return game_.WordsOf(kTextSellExchangeOffer, actor_, own, partnerProperty, price, properties());
  }
  return game_.WordsOf(kTextSellOffer, actor_, own, kNobody, price, properties());
}

std::string PlayWindowDeals::BuyOfferText(int partner, int wanted, int own, int price) const {
  return game_.OfferText(partner, BuyOfferWords(wanted, own, price));
}

std::string PlayWindowDeals::SellOfferText(int partner, int own, int partnerProperty,
                                           int price) const {
  return game_.OfferText(partner, SellOfferWords(own, partnerProperty, price));
}

bool PlayWindowDeals::AskPartner(int partner, const OfferWords& words, int moneyReceived, int given,
                                 int received, int dealt) {
  const bool yes = game_.AskConsent(
      {partner, game_.OfferText(partner, words), moneyReceived, given, received, true, words});
  game_.Tell(AnswerText(partner, dealt, yes), false);
  return yes;
}

std::string PlayWindowDeals::AnswerText(int partner, int dealt, bool accepted) const {
  const std::string partnerName = players()[partner].name.utf8();
  const int text = accepted ? kTextDealAccepted : kTextDealRefused;
  if (game_.texts.HasText(text)) {
    return game_.FormatCatalogue(text, partnerName, game_.OfferName(dealt, properties()));
  }
  // An older board file has only the answer that names the partner.
  return game_.FormatCatalogue(kTextPartnerAnswers, partnerName,
                               accepted ? std::string() : game_.Text(kTextNotWord));
}

PlayWindowDeals::Result PlayWindowDeals::Work(const Outcome& outcome) {
  const Holdings work{game_.state.workPlayers, game_.state.workProperties, game_.state.playerCount};
  if (!CheckOutcome(work, outcome).empty()) return Result::NothingChosen;
  ApplyOutcome(work, outcome);
  return Result::Done;
}

PlayWindowDeals::Result PlayWindowDeals::AskBuy(int partner, int wanted, bool exchange, int own,
                                                int price) {
  if (wanted < 0) return Result::NothingChosen;
  if (price > workMoney()) return Result::NotEnoughMoney;
  if (exchange && own < 0) return Result::NothingChosen;
  if (!exchange) own = -1;
  if (!AskPartner(partner, BuyOfferWords(wanted, own, price), price, wanted, own, wanted)) {
    game_.state.askedThisTurn[wanted] = 1;
    return Result::Refused;
  }
  return Work({Deal{actor_, partner, price, PropertyBit(wanted), own >= 0 ? PropertyBit(own) : 0,
                    DealSource::PlayWindow}});
}

PlayWindowDeals::Result PlayWindowDeals::AskSell(int partner, int own, bool exchange,
                                                 int partnerProperty, int price) {
  if (own < 0 || (exchange && partnerProperty < 0)) return Result::NothingChosen;
  if (!exchange) partnerProperty = -1;
  if (!AskPartner(partner, SellOfferWords(own, partnerProperty, price), -price, partnerProperty,
                  own, own)) {
    game_.state.askedThisTurn[own] = 1;
    return Result::Refused;
  }
  return Work(
      {Deal{actor_, partner, -price, partnerProperty >= 0 ? PropertyBit(partnerProperty) : 0,
            PropertyBit(own), DealSource::PlayWindow}});
}

bool PlayWindowDeals::CannotPayAfterSale() {
  const GameState& state = game_.state;
  if (!CannotPayDebt(actor_, properties(), players(), state.askedThisTurn)) return false;
  game_.Tell(game_.FormatCatalogue(kTextCannotPay, players()[actor_].name.utf8()), true);
  game_.StatusLineChanged();
  return true;
}

PlayWindowDeals::Result PlayWindowDeals::Mortgage(int p) {
  if (p < 0) return Result::NothingChosen;
  return Work({tomtura::Mortgage{actor_, p, false}});
}

PlayWindowDeals::Result PlayWindowDeals::Unmortgage(int p) {
  if (p < 0) return Result::NothingChosen;
  if (workMoney() < UnmortgageCost(properties()[p])) return Result::NotEnoughMoney;
  return Work({tomtura::Mortgage{actor_, p, true}});
}

PlayWindowDeals::Result PlayWindowDeals::BuyHouse(int p) {
  if (p < 0) return Result::NothingChosen;
  const PropertyTable& table = properties();
  // Houses go up evenly: no other street of the group may have fewer.
  for (int i = 0; i < 24; ++i) {
    if (i != p && table[i].group == table[p].group && table[i].houses < table[p].houses) {
      return Result::Uneven;
    }
  }
  if (workMoney() < table[p].housePrice) return Result::NotEnoughMoney;
  return Work({Houses{actor_, p, 1, DealSource::PlayWindow}});
}

PlayWindowDeals::Result PlayWindowDeals::SellHouse(int p) {
  if (p < 0) return Result::NothingChosen;
  const PropertyTable& table = properties();
  for (int i = 0; i < kStreetCount; ++i) {
    if (i != p && table[i].group == table[p].group && table[i].houses > table[p].houses) {
      return Result::Uneven;
    }
  }
  return Work({Houses{actor_, p, -1, DealSource::PlayWindow}});
}

namespace {

// The mortgage and houses of property p as the actor left them: the order that lets each step
// fit (a mortgage is lifted before houses go up, houses are sold before one is taken).
void Adjust(int actor, int p, const Property& was, const Property& now,
            std::vector<Outcome>& steps) {
  const int houses = now.houses - was.houses;
  const bool lifted = was.mortgaged != 0 && now.mortgaged == 0;
  const bool taken = was.mortgaged == 0 && now.mortgaged != 0;
  if (lifted) steps.emplace_back().what = tomtura::Mortgage{actor, p, true};
  if (houses != 0) steps.emplace_back().what = Houses{actor, p, houses, DealSource::PlayWindow};
  if (taken) steps.emplace_back().what = tomtura::Mortgage{actor, p, false};
}

bool SameHoldings(const PlayerTable& a, const PlayerTable& b) {
  for (int i = 0; i < kMaxPlayers; ++i) {
    Player there = b[i];
    there.isComputer = a[i].isComputer;
    if (!(there == a[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<Outcome>> CommitOutcomes(const GameState& before, int actor,
                                                   const PlayerTable& players,
                                                   const PropertyTable& properties) {
  if (actor < 0 || actor >= before.playerCount || actor >= kMaxPlayers) return std::nullopt;
  PlayerTable scratchPlayers = before.players;
  PropertyTable scratchProperties = before.properties;
  const Holdings scratch{scratchPlayers, scratchProperties, before.playerCount};
  std::vector<Outcome> outcomes;
  const auto add = [&](const Outcome& outcome) {
    if (!CheckOutcome(scratch, outcome).empty()) return false;
    ApplyOutcome(scratch, outcome);
    outcomes.push_back(outcome);
    return true;
  };
  const auto addAll = [&](const std::vector<Outcome>& steps) {
    for (const Outcome& step : steps) {
      if (!add(step)) return false;
    }
    return true;
  };

  for (int p = 0; p < before.playerCount && p < kMaxPlayers; ++p) {
    if (before.players[p].isBankrupt == 0 && players[p].isBankrupt != 0 &&
        !add({PlayerGone{p, LeaveReason::Unknown}})) {
      return std::nullopt;
    }
  }
  std::vector<Outcome> leaving;
  std::vector<Outcome> holding;
  for (int p = 0; p < kPropertyCount; ++p) {
    const Property& was = scratchProperties[p];
    const Property& now = properties[p];
    if (was.owner == actor && now.owner != actor) Adjust(actor, p, was, now, leaving);
    if (now.owner == actor) Adjust(actor, p, was, now, holding);
  }
  if (!addAll(leaving)) return std::nullopt;
  for (int partner = 0; partner < before.playerCount && partner < kMaxPlayers; ++partner) {
    if (partner == actor) continue;
    const std::int64_t paid =
        std::int64_t{players[partner].money} - std::int64_t{scratchPlayers[partner].money};
    if (paid < std::numeric_limits<int>::min() || paid > std::numeric_limits<int>::max()) {
      return std::nullopt;
    }
    Deal deal{actor, partner, static_cast<int>(paid), 0, 0, DealSource::PlayWindow};
    for (int p = 0; p < kPropertyCount; ++p) {
      const int was = scratchProperties[p].owner;
      const int now = properties[p].owner;
      if (was == partner && now == actor) deal.toActor |= PropertyBit(p);
      if (was == actor && now == partner) deal.toPartner |= PropertyBit(p);
    }
    if ((deal.money != 0 || deal.toActor != 0 || deal.toPartner != 0) && !add({deal})) {
      return std::nullopt;
    }
  }
  if (!addAll(holding)) return std::nullopt;
  const std::int64_t left =
      std::int64_t{players[actor].money} - std::int64_t{scratchPlayers[actor].money};
  if (left > 0 || left < std::numeric_limits<int>::min()) return std::nullopt;
  if (left < 0 &&
      !add({Payment{actor, kBank, static_cast<int>(-left), PaymentReason::Charges}, false})) {
    return std::nullopt;
  }
  if (scratchProperties != properties || !SameHoldings(scratchPlayers, players)) {
    return std::nullopt;
  }
  return outcomes;
}

}  // namespace tomtura
