// The outcomes of the game: their checks, and the one place where money, owners, houses and
// mortgages change.
#include "data/outcome.h"

#include <fmt/format.h>

#include <limits>

#include "data/property_rules.h"

namespace tomtura {

namespace {

bool IsPlayer(const Holdings& h, int player) {
  return player >= 0 && player < h.playerCount && player < kMaxPlayers;
}

bool InGame(const Holdings& h, int player) {
  return IsPlayer(h, player) && h.players[player].isBankrupt == 0;
}

bool IsProperty(int p, int count = kPropertyCount) {
  return p >= 0 && p < count;
}

bool OwnedBy(const Holdings& h, int p, int player) {
  return IsProperty(p) && h.properties[p].owner == player;
}

// Whether `player`'s money can change by `delta` and still be held by his record.
bool MoneyFits(const Holdings& h, int player, std::int64_t delta) {
  if (player == kBank) return true;
  const std::int64_t after = std::int64_t{h.players[player].money} + delta;
  return after >= std::numeric_limits<std::int32_t>::min() &&
         after <= std::numeric_limits<std::int32_t>::max();
}

void AddMoney(const Holdings& h, int player, std::int64_t delta) {
  if (player == kBank) return;
  h.players[player].money = static_cast<std::int32_t>(h.players[player].money + delta);
}

// Every property of `player` goes back to the bank, free of houses and mortgages.
void ReturnToBank(const Holdings& h, int player) {
  for (Property& property : h.properties) {
    if (property.owner != player) continue;
    property.owner = kNobody;
    property.mortgaged = 0;
    property.houses = 0;
  }
}

std::string Check(const Holdings& h, const Purchase& o) {
  if (!InGame(h, o.player)) return "the buyer is not in the game";
  if (!IsProperty(o.property, kBoardPropertyCount)) return "no such property on the board";
  const Property& property = h.properties[o.property];
  if (property.owner != kNobody) return "the property is not the bank's";
  if (o.price < 0 || (!o.auction && o.price != property.price)) return "not the property's price";
  if (!MoneyFits(h, o.player, -std::int64_t{o.price})) return "more money than a record holds";
  return {};
}

std::string Check(const Holdings& h, const Deal& o) {
  if (!InGame(h, o.actor) || !InGame(h, o.partner) || o.actor == o.partner) {
    return "the partners are not two players in the game";
  }
  if ((o.toActor & o.toPartner) != 0 || ((o.toActor | o.toPartner) >> kPropertyCount) != 0) {
    return "no such properties";
  }
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((o.toActor & PropertyBit(p)) != 0 && !OwnedBy(h, p, o.partner)) {
      return "a property the partner does not own";
    }
    if ((o.toPartner & PropertyBit(p)) != 0 && !OwnedBy(h, p, o.actor)) {
      return "a property the proposer does not own";
    }
  }
  if (!MoneyFits(h, o.actor, -std::int64_t{o.money}) || !MoneyFits(h, o.partner, o.money)) {
    return "more money than a record holds";
  }
  return {};
}

std::string Check(const Holdings& h, const Payment& o) {
  const bool fromOk = o.from == kBank || InGame(h, o.from);
  const bool toOk = o.to == kBank || InGame(h, o.to);
  if (!fromOk || !toOk || o.from == o.to) return "the payer or payee is not in the game";
  if (o.amount < 0) return "a negative amount";
  if (!MoneyFits(h, o.from, -std::int64_t{o.amount}) || !MoneyFits(h, o.to, o.amount)) {
    return "more money than a record holds";
  }
  return {};
}

std::string Check(const Holdings& h, const Repairs& o) {
  if (!InGame(h, o.player)) return "the player is not in the game";
  if (o.amount < 0) return "a negative amount";
  if (!MoneyFits(h, o.player, -std::int64_t{o.amount})) return "more money than a record holds";
  return {};
}

std::string Check(const Holdings& h, const Mortgage& o) {
  if (!InGame(h, o.player)) return "the player is not in the game";
  if (!IsProperty(o.property, kBoardPropertyCount) || !OwnedBy(h, o.property, o.player)) {
    return "a property the player does not own";
  }
  const Property& property = h.properties[o.property];
  if (o.lift) {
    if (property.mortgaged == 0) return "the property is not mortgaged";
    if (!MoneyFits(h, o.player, -std::int64_t{UnmortgageCost(property)})) {
      return "more money than a record holds";
    }
  } else {
    if (property.mortgaged != 0) return "the property is mortgaged already";
    if (property.houses != 0) return "a property with houses cannot be mortgaged";
    if (!MoneyFits(h, o.player, MortgageValue(property))) return "more money than a record holds";
  }
  return {};
}

std::string Check(const Holdings& h, const Houses& o) {
  if (!InGame(h, o.player)) return "the player is not in the game";
  if (!IsProperty(o.property, kStreetCount) || !OwnedBy(h, o.property, o.player)) {
    return "a street the player does not own";
  }
  const Property& street = h.properties[o.property];
  const int after = street.houses + o.count;
  if (o.count == 0 || after < 0 || after > kHotel)
    return "more or fewer houses than a street holds";
  if (o.count > 0 && street.mortgaged != 0) return "houses on a mortgaged street";
  const std::int64_t delta = o.count > 0 ? -std::int64_t{street.housePrice} * o.count
                                         : std::int64_t{HouseRefund(street)} * -o.count;
  if (!MoneyFits(h, o.player, delta)) return "more money than a record holds";
  return {};
}

std::string Check(const Holdings& h, const JailCard& o) {
  if (!InGame(h, o.player)) return "the player is not in the game";
  if (o.card != kChanceJailCard && o.card != kCommunityJailCard) return "not a jail card";
  if (o.used ? !OwnedBy(h, o.card, o.player) : h.properties[o.card].owner != kNobody) {
    return o.used ? "a jail card the player does not hold" : "a jail card somebody holds";
  }
  return {};
}

std::string Check(const Holdings& h, const Bankruptcy& o) {
  return InGame(h, o.player) ? std::string() : "the player is not in the game";
}

std::string Check(const Holdings& h, const PlayerGone& o) {
  return InGame(h, o.player) ? std::string() : "the player is not in the game";
}

void Apply(const Holdings& h, const Purchase& o) {
  AddMoney(h, o.player, -std::int64_t{o.price});
  h.properties[o.property].owner = static_cast<std::int16_t>(o.player);
}

void Apply(const Holdings& h, const Deal& o) {
  AddMoney(h, o.actor, -std::int64_t{o.money});
  AddMoney(h, o.partner, o.money);
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((o.toActor & PropertyBit(p)) != 0)
      h.properties[p].owner = static_cast<std::int16_t>(o.actor);
    if ((o.toPartner & PropertyBit(p)) != 0) {
      h.properties[p].owner = static_cast<std::int16_t>(o.partner);
    }
  }
}

void Apply(const Holdings& h, const Payment& o) {
  AddMoney(h, o.from, -std::int64_t{o.amount});
  AddMoney(h, o.to, o.amount);
}

void Apply(const Holdings& h, const Repairs& o) {
  AddMoney(h, o.player, -std::int64_t{o.amount});
}

void Apply(const Holdings& h, const Mortgage& o) {
  Property& property = h.properties[o.property];
  if (o.lift) {
    AddMoney(h, o.player, -std::int64_t{UnmortgageCost(property)});
    property.mortgaged = 0;
  } else {
    AddMoney(h, o.player, MortgageValue(property));
    property.mortgaged = 1;
  }
}

void Apply(const Holdings& h, const Houses& o) {
  Property& street = h.properties[o.property];
  // Each house is sold back on its own, so that halves round the same way however many go.
  AddMoney(h, o.player,
           o.count > 0 ? -std::int64_t{street.housePrice} * o.count
                       : std::int64_t{HouseRefund(street)} * -o.count);
  street.houses = static_cast<std::int16_t>(street.houses + o.count);
}

void Apply(const Holdings& h, const JailCard& o) {
  h.properties[o.card].owner = static_cast<std::int16_t>(o.used ? kNobody : o.player);
}

void Apply(const Holdings& h, const Bankruptcy& o) {
  h.players[o.player].isBankrupt = 1;
  ReturnToBank(h, o.player);
}

void Apply(const Holdings& h, const PlayerGone& o) {
  h.players[o.player].isBankrupt = 1;
  h.players[o.player].isComputer = kPersonHere;  // his connection is no more
  ReturnToBank(h, o.player);
}

std::string Party(int player) {
  return player == kBank ? std::string("the bank") : fmt::format("player {}", player);
}

std::string Properties(std::uint32_t mask) {
  std::string list;
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((mask & PropertyBit(p)) == 0) continue;
    list += list.empty() ? "" : ",";
    list += std::to_string(p);
  }
  return list.empty() ? "-" : list;
}

std::string Describe(const Purchase& o) {
  return fmt::format("player {} buys property {} {} for {}", o.player, o.property,
                     o.auction ? "at auction" : "from the bank", o.price);
}
std::string Describe(const Deal& o) {
  return fmt::format("player {} deals with player {}: gets {}, gives {}, pays {}", o.actor,
                     o.partner, Properties(o.toActor), Properties(o.toPartner), o.money);
}
std::string Describe(const Payment& o) {
  static constexpr const char* kReasons[] = {"rent", "tax",  "salary", "bail",
                                             "card", "gift", "charges"};
  return fmt::format("{} pays {} {} ({})", Party(o.from), Party(o.to), o.amount,
                     kReasons[static_cast<int>(o.reason)]);
}
std::string Describe(const Repairs& o) {
  return fmt::format("player {} pays {} for {} houses and {} hotels", o.player, o.amount, o.houses,
                     o.hotels);
}
std::string Describe(const Mortgage& o) {
  return fmt::format("player {} {} property {}", o.player,
                     o.lift ? "lifts the mortgage on" : "mortgages", o.property);
}
std::string Describe(const Houses& o) {
  return fmt::format("player {} {} {} houses on property {}", o.player,
                     o.count > 0 ? "buys" : "sells", o.count > 0 ? o.count : -o.count, o.property);
}
std::string Describe(const JailCard& o) {
  return fmt::format("player {} {} jail card {}", o.player, o.used ? "uses" : "keeps", o.card);
}
std::string Describe(const Bankruptcy& o) {
  return fmt::format("player {} goes bankrupt", o.player);
}
std::string Describe(const PlayerGone& o) {
  return fmt::format("player {} has left (reason {})", o.player, static_cast<int>(o.reason));
}

}  // namespace

std::string CheckOutcome(const Holdings& holdings, const Outcome& outcome) {
  return std::visit([&](const auto& o) { return Check(holdings, o); }, outcome.what);
}

void ApplyOutcome(const Holdings& holdings, const Outcome& outcome) {
  std::visit([&](const auto& o) { Apply(holdings, o); }, outcome.what);
}

void ResetHoldings(GameState& state) {
  for (Player& player : state.players) {
    player.money = kStartMoney;
    player.isBankrupt = 0;
  }
  for (Property& property : state.properties) {
    property.owner = kNobody;
    property.mortgaged = 0;
    property.houses = 0;
  }
}

std::string DescribeOutcome(const Outcome& outcome) {
  return std::visit([](const auto& o) { return Describe(o); }, outcome.what);
}

}  // namespace tomtura
