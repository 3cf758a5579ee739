#include "data/estate_value.h"

#include <algorithm>
#include <cstdlib>

namespace tomtura {

namespace {

constexpr int kDiceSums = 13;  // sums 2..12, index = sum
constexpr int kOddsRounds = 200;
constexpr std::array<int, 5> kStationRents = {0, 500, 1000, 2000, 4000};
constexpr int kUtilityRentFactor = 100;
constexpr int kAverageThrow = 7;
constexpr int kLeastThrow = 2;
constexpr int kMostThrow = 12;

std::array<double, kSquareCount> ComputeLandingOdds() {
  std::array<double, kSquareCount> standing{};
  standing.fill(1.0 / kSquareCount);
  std::array<double, kSquareCount> landing{};
  for (int round = 0; round < kOddsRounds; ++round) {
    landing.fill(0);
    for (int from = 0; from < kSquareCount; ++from) {
      for (int sum = kLeastThrow; sum < kDiceSums; ++sum) {
        landing[(from + sum) % kSquareCount] += standing[from] * ThrowOdds(sum);
      }
    }
    standing = landing;
    standing[kJailSquare] += standing[kGoToJailSquare];
    standing[kGoToJailSquare] = 0;
  }
  return landing;
}

std::array<int, kPropertyCount> ComputeSquares() {
  std::array<int, kPropertyCount> squares{};
  squares.fill(-1);
  for (int s = 0; s < kSquareCount; ++s) {
    if (kBoardLayout[s] >= 0) squares[kBoardLayout[s]] = s;
  }
  return squares;
}

}  // namespace

double ThrowOdds(int sum) {
  constexpr int kWays = 36;
  constexpr int kMostLikely = 7;
  constexpr int kWaysToSeven = 6;
  if (sum < kLeastThrow || sum > kMostThrow) return 0;
  return (kWaysToSeven - std::abs(sum - kMostLikely)) / static_cast<double>(kWays);
}

const std::array<double, kSquareCount>& LandingOdds() {
  static const std::array<double, kSquareCount> odds = ComputeLandingOdds();
  return odds;
}

double PropertyOdds(int p) {
  static const std::array<int, kPropertyCount> squares = ComputeSquares();
  if (p < 0 || p >= kPropertyCount || squares[p] < 0) return 0;
  return LandingOdds()[squares[p]];
}

std::pair<int, int> GroupRunOf(const PropertyTable& table, int p) {
  int first = p;
  int last = p;
  while (first > 0 && table[first - 1].group == table[p].group) --first;
  while (last + 1 < kPropertyCount && table[last + 1].group == table[p].group) ++last;
  return {first, last};
}

int SingleMissingOfRun(const PropertyTable& table, int p, int player) {
  const auto [first, last] = GroupRunOf(table, p);
  int missing = kNobody;
  for (int q = first; q <= last; ++q) {
    if (table[q].owner == player) continue;
    if (missing != kNobody) return kNobody;
    missing = q;
  }
  return missing;
}

bool OwnsWholeGroup(const PropertyTable& table, int p, int player) {
  const auto [first, last] = GroupRunOf(table, p);
  for (int q = first; q <= last; ++q) {
    if (table[q].owner != player) return false;
  }
  return true;
}

bool FinishesGroup(const PropertyTable& table, int p, int player) {
  if (p < 0 || p >= kStreetCount) return false;
  const auto [first, last] = GroupRunOf(table, p);
  for (int q = first; q <= last; ++q) {
    if (q != p && table[q].owner != player) return false;
  }
  return true;
}

int RentWith(const PropertyTable& table, int p, int houses) {
  const Property& property = table[p];
  const int owner = property.owner;
  const auto [first, last] = GroupRunOf(table, p);
  int held = 0;
  for (int q = first; q <= last; ++q) held += table[q].owner == owner && owner != kNobody ? 1 : 0;
  if (property.group == kStationGroup) {
    return kStationRents[std::clamp(held, 1, static_cast<int>(kStationRents.size()) - 1)];
  }
  if (property.group == kUtilityGroup)
    return kAverageThrow * std::max(held, 1) * kUtilityRentFactor;
  if (property.group >= kJailCardGroup || p >= kStreetCount) return 0;
  houses = std::clamp(houses, 0, kHotel);
  if (houses > 0) return property.rent[houses];
  const bool whole = held == last - first + 1;
  return whole ? 2 * property.rent[0] : property.rent[0];
}

double ExpectedRent(const PropertyTable& table, int p) {
  if (table[p].owner == kNobody || table[p].mortgaged != 0) return 0;
  return PropertyOdds(p) * RentWith(table, p, table[p].houses);
}

int RentAhead(const PropertyTable& table, const PlayerTable& players, int player) {
  int most = 0;
  const int position = players[player].position;
  for (int k = kLeastThrow; k <= kMostThrow; ++k) {
    const int p = kBoardLayout[(position + k) % kSquareCount];
    if (p < 0) continue;
    const Property& property = table[p];
    if (property.owner == kNobody || property.owner == player || property.mortgaged != 0) continue;
    most = std::max(most, RentWith(table, p, property.houses));
  }
  return most;
}

}  // namespace tomtura
