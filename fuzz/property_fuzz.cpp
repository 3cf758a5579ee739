// libFuzzer target of the property table as the board file defines it: the table loaded from
// section "GATOR", the property rules' queries over it with owners, houses and mortgages set
// from a last line ";O:<one byte per entry>", and a few turns of computer players on that
// board, so that prices, rents and groups from an edited file reach the rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/ini_file.h"
#include "data/property_rules.h"
#include "data/text_catalogue.h"
#include "fuzz_support.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"

namespace {

using tomtura::kPropertyCount;
using tomtura::PropertyTable;
using tomtura::fuzz::Require;

constexpr int kTurnsPlayed = 6;

// Owner (0..5, 6 and 7 nobody), houses (0..5) and mortgage of entry p from its byte.
void SetHoldings(PropertyTable& table, std::string_view holdings) {
  for (int p = 0; p < kPropertyCount && p < static_cast<int>(holdings.size()); ++p) {
    const auto b = static_cast<std::uint8_t>(holdings[p]);
    const int owner = b & 7;
    table[p].owner = static_cast<std::int16_t>(owner < tomtura::kMaxPlayers ? owner : -1);
    table[p].houses = static_cast<std::int16_t>((b >> 3) % 6);
    table[p].mortgaged = static_cast<std::uint16_t>((b >> 6) & 1);
  }
}

// The queries over any table: sanitizers watch their arithmetic and indexing; a group scan
// must stay inside p's group.
void QueryTable(const PropertyTable& table) {
  tomtura::PlayerTable players{};
  constexpr std::int32_t kMoney[] = {-2147483647 - 1, -1, 0, 30000, 2000000000, 2147483647};
  for (int i = 0; i < tomtura::kMaxPlayers; ++i) players[i].money = kMoney[i];

  for (int p = -1; p <= kPropertyCount; ++p) {
    const tomtura::GroupMembers group = tomtura::GroupScan(table, p);
    for (const int q : group) {
      Require(table[q].group == table[p].group, "a group holds entries of p's group");
    }
    if (p >= 0 && p < kPropertyCount) {
      tomtura::MortgageValue(table[p]);
      tomtura::UnmortgageCost(table[p]);
      tomtura::HouseRefund(table[p], table[p].houses);
    }
  }
  for (int player = -1; player <= tomtura::kMaxPlayers; ++player) {
    tomtura::CountOwnedProperties(player, table);
    tomtura::CountCompleteGroups(player, table);
    tomtura::LiquidationValue(player, table, players);
  }
}

// A few turns of four computer players on the board; the game must keep its records in range.
void PlayTurns(const tomtura::TextCatalogue& texts, std::uint64_t seed) {
  tomtura::HeadlessFrontEnd ui;
  tomtura::Game game(texts, ui, seed);
  ui.Attach(game);
  tomtura::SeatComputerPlayers(game, 4);
  ui.Run(kTurnsPlayed);
  const tomtura::GameState& state = game.state;
  tomtura::fuzz::RequireStateInRange(state, state.playerCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [fileBytes, holdings] = tomtura::fuzz::SplitCommand(input, "\n;O:");
  const tomtura::TextCatalogue texts(tomtura::IniFile::Parse(fileBytes));

  PropertyTable table{};
  texts.LoadPropertyTable(table);
  SetHoldings(table, holdings);
  QueryTable(table);

  PlayTurns(texts, size);
  return 0;
}
