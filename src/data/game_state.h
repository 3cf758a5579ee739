#pragma once
// The records of one game: players, the property table, the fixed board layout, the decks and
// the turn variables. There is one GameState; every rule reads and writes it in place.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/fixed_text.h"
#include "data/game_log.h"
#include "data/strength.h"

namespace tomtura {

constexpr int kMaxPlayers = 6;
constexpr int kPropertyCount = 30;       // 22 streets, 4 stations, 2 utilities, 2 jail cards
constexpr int kStreetCount = 22;         // entries 0..21 carry houses
constexpr int kBoardPropertyCount = 28;  // entries 0..27 lie on the board
constexpr int kSquareCount = 40;
constexpr int kCardCount = 16;
constexpr int kChanceJailCard = 28;
constexpr int kCommunityJailCard = 29;
constexpr int kStationGroup = 8;
constexpr int kUtilityGroup = 9;
constexpr int kJailCardGroup = 10;
constexpr int kHotel = 5;  // `houses` value of a hotel
constexpr int kJailSquare = 10;
constexpr int kGoToJailSquare = 30;
constexpr int kStartMoney = 30000;
constexpr int kSalary = 4000;
constexpr int kBail = 1000;
constexpr int kNobody = -1;

// Fixed-size text fields of the records (bytes, NUL included).
using PlayerName = FixedText<10>;
using Password = FixedText<4>;
using PropertyName = FixedText<30>;

constexpr std::int16_t kPersonHere = 0;
constexpr std::int16_t kComputerPlayer = 1;

struct Player {
  PlayerName name;
  Password password;  // empty = no password; computer players never have one
  // Who plays the record: kPersonHere, kComputerPlayer, or a player at another computer (on
  // the host the field holds his connection; read it through the network layer's accessors).
  std::int16_t isComputer = 0;
  std::int16_t tokenX = 0;  // token's top-left pixel on the 685 x 685 board
  std::int16_t tokenY = 0;
  std::int16_t position = 0;  // square 0..39
  std::int16_t token = 0;     // token picture 0..9
  std::int32_t money = 0;
  std::int16_t jailTurns = 0;  // 0 = free; 4 on arrival in jail
  std::int16_t isBankrupt = 0;
  // A computer player's strength. Not one of the record's shared fields: a saved game keeps it
  // in the record's reserved bytes, and a network message does not carry it.
  Strength strength = Strength::Normal;

  bool operator==(const Player&) const = default;
};

// A person who plays at this computer.
inline bool IsPersonHere(const Player& player) {
  return player.isComputer == kPersonHere;
}
// A computer player of this computer's rules (on a client, the host's computer players are
// players elsewhere).
inline bool IsComputerPlayer(const Player& player) {
  return player.isComputer == kComputerPlayer;
}

// One entry of the property table; its 54-byte little-endian image is a file format.
struct Property {
  PropertyName name;
  std::int16_t price = 0;
  std::int16_t housePrice = 0;
  std::array<std::uint16_t, 6> rent{};  // 0..4 houses, then hotel
  std::int16_t group = 0;
  std::int16_t houses = 0;  // 0..4, 5 = hotel
  std::uint16_t mortgaged = 0;
  std::int16_t owner = kNobody;

  bool operator==(const Property&) const = default;
};

using PropertyTable = std::array<Property, kPropertyCount>;
using PlayerTable = std::array<Player, kMaxPlayers>;

// The names of a property table's entries, in property order: the streets a game is played on.
using StreetNames = std::array<PropertyName, kPropertyCount>;
StreetNames StreetNamesOf(const PropertyTable& table);

enum class SquareKind : int {
  Corner = -1,
  Community = -2,
  Chance = -3,
  Tax = -4,
  GoToJail = -5,
  Go = -6
};

// Square -> property number 0..27, or a negative SquareKind.
constexpr std::array<int, kSquareCount> kBoardLayout = {
    -6, 0,  -2, 1,  -4, 22, 2,  -3, 3,  4,  -1, 5,  26, 6,  7,  23, 8,  -2, 9,  10,
    -1, 11, -3, 12, 13, 24, 14, 27, 15, 16, -5, 17, 18, -2, 19, 25, -3, 20, -4, 21};

// Whether this computer plays a network game, and its part in it. The values are those the
// game has always kept.
enum class NetRole : std::int32_t { None = 0, Host = 0x401, Client = 0x402 };

enum class TurnPhase : int {
  AwaitRoll = 0,
  Rolling = 1,
  Moving = 2,
  ToJail = 3,
  AwaitLogin = 4,
  GameOver = 5,
  Dealing = 9,
};

// A deck of 16 card numbers (a permutation of 1..16) and the index of the next card.
struct Deck {
  std::array<std::int32_t, kCardCount> cards{};
  std::int32_t next = 0;
  bool operator==(const Deck&) const = default;
};

// A player's property list on the panel: property numbers in ascending order (so the jail
// cards 28 and 29 stand at its end) and the selected item. The lists belong to the six slots,
// not to the players: loading a game or moving records keeps them where they are.
struct PropertyList {
  std::vector<int> items;
  int selected = -1;  // index into items, -1 = none
  bool visible = false;

  // Inserts p before the first greater item and selects it.
  void InsertSorted(int p);
  // Appends p (a jail card) and selects the last item.
  void Append(int p);
  void RemoveAt(int index);
  void SelectFirst() { selected = items.empty() ? -1 : 0; }
  void Clear() {
    items.clear();
    selected = -1;
  }
};

// Options the rules read; the front end reads and writes them in the board file.
struct RuleSettings {
  int firstLapRule = 1;  // "FirstLap"
  int soundOn = 1;       // "Ljud"
  int musicOn = 1;       // "Musik"
  int fastMoves = 0;     // "Snabb"
  int auctionOn = 1;     // "Auction"
};

struct GameState {
  PlayerTable players{};
  PropertyTable properties{};
  std::array<PropertyList, kMaxPlayers> propertyLists{};

  std::int32_t playerCount = 0;
  std::int32_t currentPlayer = 0;
  TurnPhase turnPhase = TurnPhase::AwaitRoll;
  std::int32_t doublesInRow = 0;
  std::int32_t die1 = 1;
  std::int32_t die2 = 1;
  std::int32_t stepsToMove = 0;
  std::int32_t diceFrame = 0;
  std::array<std::uint16_t, kMaxPlayers> firstLap{};
  Deck chanceDeck;
  Deck communityDeck;
  std::int32_t offeredProperty = 0;
  std::array<std::uint16_t, kPropertyCount> askedThisTurn{};
  std::string statusText;  // UTF-8, at most kStatusTextBytes bytes
  // Said on the status line at the end of the turn, before its usual text (why a landing did
  // nothing); emptied there.
  std::string statusNote;
  std::int32_t gameRunning = 0;
  // The game has changed since it was last saved, loaded or begun: a throw, a landing, a deal, an
  // auction. Only then does throwing it away ask first.
  bool unsavedProgress = false;
  NetRole networkGame = NetRole::None;
  std::int32_t consentPlayer = 0;

  // Offers refused in this and the previous turn of each player (bit p = property p).
  std::array<std::uint32_t, kMaxPlayers> refusedLastTurn{};
  std::array<std::uint32_t, kMaxPlayers> refusedThisTurn{};

  // The play window's working copies; the consent dialog reads names and passwords from
  // workPlayers and refills it from the live records when it finds it empty.
  PlayerTable workPlayers{};
  PropertyTable workProperties{};

  RuleSettings settings;
  GameLog log;

  Player& current() { return players[currentPlayer]; }
  const Player& current() const { return players[currentPlayer]; }
};

constexpr std::size_t kStatusTextBytes = 127;

// Rebuilds every in-play player's property list from the owners, keeping each selection when
// it is still in range, else selecting the first item.
void RebuildPropertyLists(GameState& state);

}  // namespace tomtura
