#pragma once
// What a decision or a rule of the game brings about, as values: a purchase, a deal between two
// players, a payment, houses, a mortgage, a jail card, a bankruptcy, a player gone. Money,
// owners, houses and mortgages change only by applying one of these (ApplyOutcome), so that a
// listener (the network, a test, the statistics) sees "Anna bought Kvarnbacken for 1100", and a
// change that does not fit the game (CheckOutcome) is refused before it touches it.
#include <cstdint>
#include <string>
#include <variant>

#include "data/game_state.h"

namespace tomtura {

// The other side of a payment to or from the bank.
constexpr int kBank = kNobody;

// Where a deal or a change of houses was made; it decides the words of its log line.
enum class DealSource : std::uint8_t { Computer, PlayWindow };

// A property bought from the bank: at the offered price, or at auction for the highest bid.
struct Purchase {
  int player = 0;
  int property = 0;
  int price = 0;
  bool auction = false;
};

// An exchange between `actor` (who proposed it) and `partner`: `money` from the actor to the
// partner (negative: the partner pays), the properties of the masks changing hands (bit p =
// property p).
struct Deal {
  int actor = 0;
  int partner = 0;
  int money = 0;
  std::uint32_t toActor = 0;
  std::uint32_t toPartner = 0;
  DealSource source = DealSource::Computer;
};

enum class PaymentReason : std::uint8_t {
  Rent,     // to the owner of the square
  Tax,      // to the bank
  Salary,   // from the bank, for passing GO
  Bail,     // to the bank, out of jail
  Card,     // a card's amount, either way
  Gift,     // a card's gift from every other player
  Charges,  // to the bank: a play window's round trips (a mortgage lifted and taken again...)
};

struct Payment {
  int from = kBank;
  int to = kBank;
  int amount = 0;  // at least 0
  PaymentReason reason = PaymentReason::Card;
  std::string note = std::string();  // Rent: the rent message's details, for the log line
};

// A repair card's bill for the houses and hotels of `player`.
struct Repairs {
  int player = 0;
  int houses = 0;
  int hotels = 0;
  int amount = 0;
};

// A property mortgaged (pays its mortgage value) or its mortgage lifted (costs the value and a
// twentieth of the price).
struct Mortgage {
  int player = 0;
  int property = 0;
  bool lift = false;
};

// Houses bought (count > 0, each at the house price) or sold back to the bank (count < 0, each
// at half of it); the fifth house is the hotel.
struct Houses {
  int player = 0;
  int property = 0;
  int count = 0;
  DealSource source = DealSource::Computer;
};

// A jail card drawn and kept, or used (back to its deck).
struct JailCard {
  int player = 0;
  int card = kChanceJailCard;
  bool used = false;
};

// A player who cannot pay leaves the game: everything he owns goes back to the bank, free of
// houses and mortgages.
struct Bankruptcy {
  int player = 0;
};

// Why a player at another computer has left the game.
enum class LeaveReason : std::uint8_t {
  Unknown,         // another computer told us only that he is out
  ConnectionLost,  // his connection broke
  Chose,           // he left the game himself
  Refused,         // his computer sent what does not belong to the game
  WaitOver,        // he did not come back in the time he was given
};

// A player at another computer who has left: as a bankruptcy, and his connection is gone.
struct PlayerGone {
  int player = 0;
  LeaveReason reason = LeaveReason::Unknown;
};

struct Outcome {
  std::variant<Purchase, Deal, Payment, Repairs, Mortgage, Houses, JailCard, Bankruptcy, PlayerGone>
      what;
  bool logged = true;  // a few changes are made without a line in the game log
};

// The tables an outcome changes: the live ones, or the play window's working copies.
struct Holdings {
  PlayerTable& players;
  PropertyTable& properties;
  int playerCount;
};

// Why `outcome` cannot be applied to `holdings` (players and properties out of range, a player
// no longer in the game, a property not his, a mortgage or house count the rules do not allow,
// money beyond what a record holds); empty when it fits.
std::string CheckOutcome(const Holdings& holdings, const Outcome& outcome);

// Applies an outcome that CheckOutcome accepted.
void ApplyOutcome(const Holdings& holdings, const Outcome& outcome);

// The money and holdings of a new game: every player's starting money, every property with the
// bank, free of houses and mortgages.
void ResetHoldings(GameState& state);

// A plain description for test reports and diagnostics ("player 0 buys property 5 for 1100").
std::string DescribeOutcome(const Outcome& outcome);

constexpr std::uint32_t PropertyBit(int p) {
  return std::uint32_t{1} << p;
}

}  // namespace tomtura
