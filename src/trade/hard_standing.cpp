// Hard's measure of a player's standing and of what a deal does to it.
#include "trade/hard_standing.h"

#include <algorithm>
#include <array>

#include "data/estate_value.h"
#include "data/outcome.h"
#include "data/property_rules.h"

namespace tomtura {

namespace {

// Throws of each rival over which the standing counts the rent of holdings.
constexpr double kHorizonThrows = 40;
// What a part of an unfinished colour group carries of the group's worth when whole, before
// it is scaled by the square of the share held; halved when another player holds a part too.
constexpr double kUnfinishedShare = 0.35;
constexpr double kSplitGroupFactor = 0.5;
// Money the standing leaves unspent when it reckons the houses a player can build now.
constexpr double kBuildCushion = 2000;
// What a player's income (salary and rents) adds to his money per throw of his, for the houses
// he builds later.
constexpr double kFundsPerThrow = 1000;
// A swap in which both finish something is taken when Hard gains at least this share of what
// the partner gains: it counts as a deal worth kMutualWorth.
constexpr double kMutualShare = 0.8;
constexpr double kMutualWorth = 2000;

int Rivals(const PlayerTable& players, int playerCount, int player) {
  int rivals = 0;
  for (int n = 0; n < playerCount && n < kMaxPlayers; ++n) {
    if (n != player && players[n].isBankrupt == 0) ++rivals;
  }
  return std::max(rivals, 1);
}

// A colour group's entries, what `player` holds of it, and its rent per throw and the cost of
// its houses as if one player held it whole: rate[L] with at least L houses on every entry,
// cost[L] to bring every entry up to L houses.
struct GroupHolding {
  int first = 0;
  int last = 0;
  int held = 0;               // entries of `player`
  int others = 0;             // entries of other players
  bool anyMortgaged = false;  // an entry of the player is mortgaged
  int level = kHotel;         // the fewest houses on an entry
  std::array<double, kHotel + 1> rate{};
  std::array<double, kHotel + 1> cost{};
  int size() const { return last - first + 1; }
  bool whole() const { return held == size(); }
};

GroupHolding HoldingOf(const PropertyTable& table, int first, int last, int player) {
  GroupHolding g;
  g.first = first;
  g.last = last;
  for (int q = first; q <= last; ++q) {
    const Property& street = table[q];
    if (street.owner == player) {
      ++g.held;
      g.anyMortgaged = g.anyMortgaged || street.mortgaged != 0;
    } else if (street.owner != kNobody) {
      ++g.others;
    }
    const int houses = std::clamp<int>(street.houses, 0, kHotel);
    g.level = std::min(g.level, houses);
    const double odds = PropertyOdds(q);
    for (int level = 0; level <= kHotel; ++level) {
      const int h = std::max(level, houses);
      g.rate[level] += odds * (h > 0 ? street.rent[h] : 2 * street.rent[0]);
      g.cost[level] += static_cast<double>(std::max(0, level - houses)) * street.housePrice;
    }
  }
  return g;
}

// The worth of whole group g over the horizon: its rent at `level` houses from now on, and the
// rent of the further houses the player's income will pay for, counted from when it has paid
// for them; each house built loses half its price at the bank.
double WholeGroupWorth(const GroupHolding& g, int level, double rivalThrows) {
  const double now = g.rate[level];
  double best = 0;
  for (int target = level + 1; target <= kHotel; ++target) {
    const double cost = g.cost[target] - g.cost[level];
    const double share = std::max(0.0, 1 - cost / kFundsPerThrow / kHorizonThrows);
    best = std::max(best, (g.rate[target] - now) * rivalThrows * share - cost / 2);
  }
  return now * rivalThrows + best;
}

}  // namespace

double HardStanding(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player) {
  if (player < 0 || player >= kMaxPlayers) return 0;
  const double rivalThrows = kHorizonThrows * Rivals(players, playerCount, player);
  double standing = LiquidationValue(player, table, players);
  double budget = std::max(0.0, players[player].money - kBuildCushion);

  // Whole groups get the houses the money in hand pays for, best return first; an unfinished
  // group a share of what it would be worth whole, by the part held.
  struct Whole {
    GroupHolding g;
    int level;
  };
  std::array<Whole, kStreetCount> wholes;
  int wholeCount = 0;
  double rate = 0;
  for (int first = 0; first < kStreetCount;) {
    int last = first;
    while (last + 1 < kStreetCount && table[last + 1].group == table[first].group) ++last;
    const GroupHolding g = HoldingOf(table, first, last, player);
    first = last + 1;
    if (g.held == 0) continue;
    if (g.whole()) {
      wholes[wholeCount++] = {g, g.level};
      continue;
    }
    const double share = static_cast<double>(g.held) / g.size();
    const double split = g.others > 0 ? kSplitGroupFactor : 1.0;
    standing += std::max(0.0, WholeGroupWorth(g, 0, rivalThrows)) * kUnfinishedShare * share *
                share * split;
    for (int q = g.first; q <= g.last; ++q) {
      if (table[q].owner != player) continue;
      const double r = PropertyOdds(q) * table[q].rent[0];
      rate += table[q].mortgaged != 0 ? r / 2 : r;
    }
  }
  // Houses go where they repay best, reckoned up to any number of houses at once, since a group
  // may pay only from its third house on.
  for (;;) {
    Whole* best = nullptr;
    int bestTarget = 0;
    double bestReturn = 0;
    for (int i = 0; i < wholeCount; ++i) {
      Whole& w = wholes[i];
      if (w.g.anyMortgaged) continue;
      for (int target = w.level + 1; target <= kHotel; ++target) {
        const double cost = w.g.cost[target] - w.g.cost[w.level];
        if (cost > budget) break;
        const double gain = rivalThrows * (w.g.rate[target] - w.g.rate[w.level]);
        // Houses are worth building when their rent outweighs what they lose at the bank.
        if (gain <= cost / 2) continue;
        if (best == nullptr || gain / cost > bestReturn) {
          best = &w;
          bestTarget = target;
          bestReturn = gain / cost;
        }
      }
    }
    if (best == nullptr) break;
    const double cost = best->g.cost[bestTarget] - best->g.cost[best->level];
    budget -= cost;
    standing -= cost / 2;
    best->level = bestTarget;
  }
  for (int i = 0; i < wholeCount; ++i) {
    const double worth = WholeGroupWorth(wholes[i].g, wholes[i].level, rivalThrows);
    standing += wholes[i].g.anyMortgaged ? worth / 2 : worth;
  }
  for (int p = kStreetCount; p < kBoardPropertyCount; ++p) {
    if (table[p].owner != player) continue;
    const double r = PropertyOdds(p) * RentWith(table, p, 0);
    rate += table[p].mortgaged != 0 ? r / 2 : r;
  }
  return standing + rivalThrows * rate;
}

HardDealSides HardStandingsBefore(const PropertyTable& table, const PlayerTable& players,
                                  int playerCount, int player, int partner) {
  return {HardStanding(table, players, playerCount, player),
          HardStanding(table, players, playerCount, partner)};
}

double HardDealGain(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player, int partner, int moneyReceived, int given, int received,
                    const HardDealSides& before) {
  if (player < 0 || player >= kMaxPlayers || partner < 0 || partner >= kMaxPlayers) return 0;
  // The deal played out on copies, as the game would apply it; one it would refuse gains
  // nothing.
  PropertyTable properties = table;
  PlayerTable people = players;
  const Holdings after{people, properties, playerCount};
  Deal deal{player, partner, -moneyReceived, 0, 0, DealSource::Computer};
  if (given >= 0 && given < kPropertyCount) deal.toPartner = PropertyBit(given);
  if (received >= 0 && received < kPropertyCount) deal.toActor = PropertyBit(received);
  const Outcome outcome{deal};
  if (!CheckOutcome(after, outcome).empty()) return kNoGain;
  ApplyOutcome(after, outcome);
  const double mine = HardStanding(properties, people, playerCount, player) - before.mine;
  const double theirs = HardStanding(properties, people, playerCount, partner) - before.theirs;
  // The partner is one rival of several: what he gains is shared out among them.
  const double gain = mine - theirs / Rivals(players, playerCount, player);
  if (mine > 0 && theirs > 0 && mine >= kMutualShare * theirs) return std::max(gain, kMutualWorth);
  return gain;
}

double HardDealGain(const PropertyTable& table, const PlayerTable& players, int playerCount,
                    int player, int partner, int moneyReceived, int given, int received) {
  if (player < 0 || player >= kMaxPlayers || partner < 0 || partner >= kMaxPlayers) return 0;
  return HardDealGain(table, players, playerCount, player, partner, moneyReceived, given, received,
                      HardStandingsBefore(table, players, playerCount, player, partner));
}

int HardReserve(const PropertyTable& table, const PlayerTable& players, int player) {
  int spare = 0;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    const Property& property = table[p];
    if (property.owner != player || property.mortgaged != 0 || property.houses > 0) continue;
    if (p < kStreetCount && OwnsWholeGroup(table, p, player)) continue;
    spare += MortgageValue(property);
  }
  return std::max(0, RentAhead(table, players, player) - spare);
}

}  // namespace tomtura
