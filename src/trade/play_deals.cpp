// The play window's deals on the working copies, and their commit.
#include "trade/play_deals.h"

#include <utility>

#include "data/property_rules.h"

namespace tomtura {
namespace {

constexpr int kTextPartnerAnswers = 95;  // "%s answers %s", with text 96 for a no
constexpr int kTextNotWord = 96;

// First and last entry of the run of equal `group` values around p.
std::pair<int, int> GroupRun(const PropertyTable& table, int p) {
  int first = p;
  int last = p;
  while (first > 0 && table[first - 1].group == table[p].group) --first;
  while (last + 1 < kPropertyCount && table[last + 1].group == table[p].group) ++last;
  return {first, last};
}

}  // namespace

PlayWindowDeals::PlayWindowDeals(Game& game) : game_(game), actor_(game.state.currentPlayer) {
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

std::string PlayWindowDeals::BuyOfferText(int partner, int wanted, int own, int price) const {
  const std::string partnerName = players()[partner].name.utf8();
  const std::string actorName = players()[actor_].name.utf8();
  if (own >= 0) {
    return game_.FormatCatalogue(100, partnerName, actorName, game_.OfferName(wanted, properties()),
                                 game_.OfferName(own, properties()), price);
  }
  return game_.FormatCatalogue(101, partnerName, actorName, game_.OfferName(wanted, properties()),
                               price);
}

std::string PlayWindowDeals::SellOfferText(int partner, int own, int partnerProperty,
                                           int price) const {
  const std::string partnerName = players()[partner].name.utf8();
  const std::string actorName = players()[actor_].name.utf8();
  if (partnerProperty >= 0) {
    return game_.FormatCatalogue(103, partnerName, actorName, game_.OfferName(own, properties()),
                                 game_.OfferName(partnerProperty, properties()), price);
  }
  return game_.FormatCatalogue(104, partnerName, actorName, game_.OfferName(own, properties()),
                               price);
}

bool PlayWindowDeals::AskPartner(int partner, const std::string& offer, int moneyReceived,
                                 int given, int received, int dealt) {
  const bool yes = game_.referee.AskConsent(partner, offer, moneyReceived, given, received, true);
  game_.ui.ShowMessage(AnswerText(partner, dealt, yes), MessageIcon::Information);
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

PlayWindowDeals::Outcome PlayWindowDeals::AskBuy(int partner, int wanted, bool exchange, int own,
                                                 int price) {
  if (wanted < 0) return Outcome::NothingChosen;
  if (price > workMoney()) return Outcome::NotEnoughMoney;
  if (exchange && own < 0) return Outcome::NothingChosen;
  if (!exchange) own = -1;
  const std::string offer = BuyOfferText(partner, wanted, own, price);
  if (!AskPartner(partner, offer, price, wanted, own, wanted)) {
    game_.state.askedThisTurn[wanted] = 1;
    return Outcome::Refused;
  }
  auto& table = game_.state.workProperties;
  auto& people = game_.state.workPlayers;
  table[wanted].owner = static_cast<std::int16_t>(actor_);
  if (own >= 0) table[own].owner = static_cast<std::int16_t>(partner);
  people[partner].money += price;
  people[actor_].money -= price;
  return Outcome::Done;
}

PlayWindowDeals::Outcome PlayWindowDeals::AskSell(int partner, int own, bool exchange,
                                                  int partnerProperty, int price) {
  if (own < 0 || (exchange && partnerProperty < 0)) return Outcome::NothingChosen;
  if (!exchange) partnerProperty = -1;
  const std::string offer = SellOfferText(partner, own, partnerProperty, price);
  if (!AskPartner(partner, offer, -price, partnerProperty, own, own)) {
    game_.state.askedThisTurn[own] = 1;
    return Outcome::Refused;
  }
  auto& table = game_.state.workProperties;
  auto& people = game_.state.workPlayers;
  table[own].owner = static_cast<std::int16_t>(partner);
  if (partnerProperty >= 0) table[partnerProperty].owner = static_cast<std::int16_t>(actor_);
  people[partner].money -= price;
  people[actor_].money += price;
  return Outcome::Done;
}

bool PlayWindowDeals::CannotPayAfterSale() {
  return game_.CannotPay(properties(), players(), true);
}

PlayWindowDeals::Outcome PlayWindowDeals::Mortgage(int p) {
  if (p < 0) return Outcome::NothingChosen;
  Property& property = game_.state.workProperties[p];
  game_.state.workPlayers[actor_].money += MortgageValue(property);
  property.mortgaged = 1;
  return Outcome::Done;
}

PlayWindowDeals::Outcome PlayWindowDeals::Unmortgage(int p) {
  if (p < 0) return Outcome::NothingChosen;
  Property& property = game_.state.workProperties[p];
  const int cost = UnmortgageCost(property);
  if (workMoney() < cost) return Outcome::NotEnoughMoney;
  game_.state.workPlayers[actor_].money -= cost;
  property.mortgaged = 0;
  return Outcome::Done;
}

PlayWindowDeals::Outcome PlayWindowDeals::BuyHouse(int p) {
  if (p < 0) return Outcome::NothingChosen;
  auto& table = game_.state.workProperties;
  // Houses go up evenly: no other street of the group may have fewer.
  for (int i = 0; i < 24; ++i) {
    if (i != p && table[i].group == table[p].group && table[i].houses < table[p].houses) {
      return Outcome::Uneven;
    }
  }
  if (workMoney() < table[p].housePrice) return Outcome::NotEnoughMoney;
  game_.state.workPlayers[actor_].money -= table[p].housePrice;
  table[p].houses += 1;
  return Outcome::Done;
}

PlayWindowDeals::Outcome PlayWindowDeals::SellHouse(int p) {
  if (p < 0) return Outcome::NothingChosen;
  auto& table = game_.state.workProperties;
  for (int i = 0; i < kStreetCount; ++i) {
    if (i != p && table[i].group == table[p].group && table[i].houses > table[p].houses) {
      return Outcome::Uneven;
    }
  }
  game_.state.workPlayers[actor_].money += HouseRefund(table[p]);
  table[p].houses -= 1;
  return Outcome::Done;
}

void PlayWindowDeals::Commit(bool logLines) {
  GameState& state = game_.state;
  const std::string actorName = state.players[actor_].name.utf8();
  auto ownerName = [&](int owner) {
    return owner >= 0 && owner < kMaxPlayers ? state.players[owner].name.utf8() : std::string();
  };
  for (int p = 0; p < kPropertyCount && logLines; ++p) {
    const Property& before = state.properties[p];
    const Property& after = state.workProperties[p];
    const std::string name = before.name.utf8();
    if (after.owner == actor_ && before.owner != actor_) {
      game_.LogText(actor_, kTextLogBoughtFrom, "%s köpte %s av %s", actorName, name,
                    ownerName(before.owner));
    }
    if (after.owner != actor_ && before.owner == actor_) {
      game_.LogText(actor_, kTextLogSoldTo, "%s sålde %s till %s", actorName, name,
                    ownerName(after.owner));
    }
    if (after.houses > before.houses) {
      game_.LogText(actor_, kTextLogBuilt, "%s köpte %s på %s", actorName,
                    after.houses == kHotel ? game_.TextOr(kTextLogHotelWord, "hotell")
                                           : game_.TextOr(kTextLogHouseWord, "hus"),
                    name);
    }
    if (after.houses < before.houses) {
      game_.LogText(actor_, kTextLogHouseSoldOn, "%s sålde hus på %s", actorName, name);
    }
    if (after.mortgaged && !before.mortgaged) {
      game_.LogText(actor_, kTextLogMortgaged, "%s intecknade %s", actorName, name);
    }
    if (!after.mortgaged && before.mortgaged) {
      game_.LogText(actor_, kTextLogUnmortgaged, "%s upptecknade %s", actorName, name);
    }
  }
  if (state.properties != state.workProperties || state.players != state.workPlayers) {
    state.unsavedProgress = true;
  }
  state.properties = state.workProperties;
  state.players = state.workPlayers;
  game_.RefreshPropertyLists();
  game_.ui.BoardChanged();
  game_.ui.PanelChanged();
}

}  // namespace tomtura
