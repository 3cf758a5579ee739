#include "store/record_codec.h"

#include <fmt/format.h>

namespace tomtura {

namespace {

// Offsets inside the player fields (behind the record's leading bytes).
constexpr std::size_t kPlayerName = 0;
constexpr std::size_t kPlayerPassword = 10;
constexpr std::size_t kPlayerIsComputer = 14;
constexpr std::size_t kPlayerTokenX = 16;
constexpr std::size_t kPlayerTokenY = 18;
constexpr std::size_t kPlayerPosition = 20;
constexpr std::size_t kPlayerToken = 22;
constexpr std::size_t kPlayerMoney = 24;
constexpr std::size_t kPlayerJailTurns = 28;
constexpr std::size_t kPlayerIsBankrupt = 30;

// Offsets inside a 54-byte property record.
constexpr std::size_t kPropertyPrice = 30;
constexpr std::size_t kPropertyHousePrice = 32;
constexpr std::size_t kPropertyRent = 34;
constexpr std::size_t kPropertyGroup = 46;
constexpr std::size_t kPropertyHouses = 48;
constexpr std::size_t kPropertyMortgaged = 50;
constexpr std::size_t kPropertyOwner = 52;

}  // namespace

void EncodePropertyRecord(const Property& property,
                          std::span<std::uint8_t, kPropertyRecordSize> out) {
  std::uint8_t* p = out.data();
  PutText(p, property.name);
  PutU16(p + kPropertyPrice, static_cast<std::uint16_t>(property.price));
  PutU16(p + kPropertyHousePrice, static_cast<std::uint16_t>(property.housePrice));
  for (std::size_t i = 0; i < property.rent.size(); ++i) {
    PutU16(p + kPropertyRent + 2 * i, property.rent[i]);
  }
  PutU16(p + kPropertyGroup, static_cast<std::uint16_t>(property.group));
  PutU16(p + kPropertyHouses, static_cast<std::uint16_t>(property.houses));
  PutU16(p + kPropertyMortgaged, property.mortgaged);
  PutU16(p + kPropertyOwner, static_cast<std::uint16_t>(property.owner));
}

Property DecodePropertyRecord(std::span<const std::uint8_t, kPropertyRecordSize> in) {
  const std::uint8_t* p = in.data();
  std::array<std::uint16_t, 6> rent{};
  for (std::size_t i = 0; i < rent.size(); ++i) rent[i] = GetU16(p + kPropertyRent + 2 * i);
  Property property{.name = {},
                    .price = GetI16(p + kPropertyPrice),
                    .housePrice = GetI16(p + kPropertyHousePrice),
                    .rent = rent,
                    .group = GetI16(p + kPropertyGroup),
                    .houses = GetI16(p + kPropertyHouses),
                    .mortgaged = GetU16(p + kPropertyMortgaged),
                    .owner = GetI16(p + kPropertyOwner)};
  GetText(p, property.name);
  return property;
}

void EncodePlayerFields(const Player& player, std::span<std::uint8_t, kPlayerFieldsSize> out) {
  std::uint8_t* p = out.data();
  PutText(p + kPlayerName, player.name);
  PutText(p + kPlayerPassword, player.password);
  PutU16(p + kPlayerIsComputer, static_cast<std::uint16_t>(player.isComputer));
  PutU16(p + kPlayerTokenX, static_cast<std::uint16_t>(player.tokenX));
  PutU16(p + kPlayerTokenY, static_cast<std::uint16_t>(player.tokenY));
  PutU16(p + kPlayerPosition, static_cast<std::uint16_t>(player.position));
  PutU16(p + kPlayerToken, static_cast<std::uint16_t>(player.token));
  PutI32(p + kPlayerMoney, player.money);
  PutU16(p + kPlayerJailTurns, static_cast<std::uint16_t>(player.jailTurns));
  PutU16(p + kPlayerIsBankrupt, static_cast<std::uint16_t>(player.isBankrupt));
}

Player DecodePlayerFields(std::span<const std::uint8_t, kPlayerFieldsSize> in) {
  const std::uint8_t* p = in.data();
  Player player{.name = {},
                .password = {},
                .isComputer = GetI16(p + kPlayerIsComputer),
                .tokenX = GetI16(p + kPlayerTokenX),
                .tokenY = GetI16(p + kPlayerTokenY),
                .position = GetI16(p + kPlayerPosition),
                .token = GetI16(p + kPlayerToken),
                .money = GetI32(p + kPlayerMoney),
                .jailTurns = GetI16(p + kPlayerJailTurns),
                .isBankrupt = GetI16(p + kPlayerIsBankrupt)};
  GetText(p + kPlayerName, player.name);
  GetText(p + kPlayerPassword, player.password);
  return player;
}

std::string PlayerRecordFault(const Player& player) {
  if (player.position < 0 || player.position >= kSquareCount) {
    return fmt::format("position {} outside 0..{}", player.position, kSquareCount - 1);
  }
  if (player.token < 0 || player.token > kMaxToken) {
    return fmt::format("token {} outside 0..{}", player.token, kMaxToken);
  }
  return {};
}

std::string PropertyRecordFault(const Property& property) {
  if (property.owner < kNobody || property.owner >= kMaxPlayers) {
    return fmt::format("owner {} outside {}..{}", property.owner, kNobody, kMaxPlayers - 1);
  }
  if (property.houses < 0 || property.houses > kHotel) {
    return fmt::format("houses {} outside 0..{}", property.houses, kHotel);
  }
  return {};
}

}  // namespace tomtura
