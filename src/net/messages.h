#pragma once
// The messages that keep the copies of a network game in step, and their byte images. After
// the set-up every message is a 4-byte type code and a payload whose length follows from the
// type (for a Chat also from the player count), little-endian, with no length field; the Join
// and the Roster of the set-up carry no type code. Records travel as the in-memory images of the
// player and property records. Decoding checks every value before the message reaches a game.
//
// Two computers that both announce it (a mark in the Join's last byte, one in the list handle of
// the Roster's first record, places that carry nothing) also speak the extended messages, types
// 9 to 12: an offer with its terms, the state of the seats, a game to go on with, a goodbye. A
// connection that has not announced them refuses them as unknown; docs/protocol.md has them all.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "data/fixed_text.h"
#include "data/game_state.h"
#include "data/tabletop.h"
#include "store/record_codec.h"

namespace tomtura {

constexpr std::size_t kTypeCodeSize = 4;
constexpr std::size_t kWirePlayerSize = 36;  // 4 bytes of the sender's list handle, then fields
constexpr std::size_t kJoinSize = 11;
constexpr std::size_t kRosterSize = kMaxPlayers * kWirePlayerSize + 8;  // 224
constexpr std::size_t kStatePayloadSize =
    kPropertyCount * kPropertyRecordSize + kMaxPlayers * kWirePlayerSize;  // 1,836
constexpr std::size_t kPressPayloadSize = 4;
constexpr std::size_t kChatTextSize = 256;
constexpr std::size_t kDeckSize = (kCardCount + 1) * 4;  // 68
constexpr std::size_t kDecksPayloadSize = 2 * kDeckSize;
constexpr std::size_t kDicePayloadSize = 8;
constexpr std::size_t kBidPayloadSize = 12;
constexpr std::size_t kLoginPayloadSize = kChatTextSize + 4;
constexpr std::size_t kOfferPayloadSize = kLoginPayloadSize + 9 * 4;  // 296
constexpr std::size_t kSeatsPayloadSize = kMaxPlayers * 8;            // 48
constexpr std::size_t kResumePayloadSize =
    4 + 4 + 2 * kMaxPlayers + 2 * kPropertyCount + 4 * kMaxPlayers * 2 + 4 + 4;  // 136
// The largest message: type code and State payload.
constexpr std::size_t kMessageBufferSize = kTypeCodeSize + kStatePayloadSize;  // 1,840

enum class MessageType : std::int32_t {
  State = 2,
  Press = 3,
  Chat = 4,
  Decks = 5,
  Roll = 6,  // a Roll request from a client, the Dice from the host
  Bid = 7,
  Login = 8,
  // Extended, between computers that both announced them.
  Offer = 9,
  Seats = 10,
  Resume = 11,
  Bye = 12,
};

// The announcement of the extended messages: the Join's last byte, and the list handle of the
// Roster's first record (which the design leaves to the sender's whim).
constexpr std::uint8_t kExtendedJoinMark = 0xA7;
constexpr std::array<std::uint8_t, 4> kExtendedRosterMark = {'T', 'o', 'm', 0xA7};

// The two buttons of a decision window that a Press or a Bid can name.
constexpr std::int32_t kControlOk = 1;
constexpr std::int32_t kControlCancel = 2;

// Chat flags, one per player in record order.
constexpr std::int32_t kChatNotAddressed = 0;
constexpr std::int32_t kChatAddressee = 1;
constexpr std::int32_t kChatSender = 2;

using ChatText = FixedText<kChatTextSize>;

// Which end of a connection reads: the host reads what a client sends, a client what the host
// sends. Type 6 is a Roll request on the host and the Dice on a client; Decks come only from
// the host.
enum class Role { Host, Client };

// The joining player's name, sent once by a client right after it has connected; `extended`
// when it speaks the extended messages.
struct JoinMessage {
  PlayerName name{};
  bool extended = false;
  bool operator==(const JoinMessage&) const = default;
};

// The host's player records as one client is to see them (its own player with isComputer 0),
// and the two rule settings every computer of the game must share; `extended` when the host
// speaks the extended messages.
struct RosterMessage {
  PlayerTable players{};
  std::int32_t auctionOn = 1;
  std::int32_t firstLapRule = 1;
  bool extended = false;
  bool operator==(const RosterMessage&) const = default;
};

// The whole position after a transaction. Receivers keep their own isComputer fields of the
// players in the game.
struct StateMessage {
  PropertyTable properties{};
  PlayerTable players{};
  bool operator==(const StateMessage&) const = default;
};

// A button pressed in a decision window.
struct PressMessage {
  std::int32_t controlId = kControlOk;
  bool operator==(const PressMessage&) const = default;
};

// A text for some of the players; flags holds one entry per player in the game.
struct ChatMessage {
  ChatText text{};
  std::vector<std::int32_t> flags{};
  bool operator==(const ChatMessage&) const = default;
};

// The host's shuffled decks, sent before the first dice of a game.
struct DecksMessage {
  Deck chance{};
  Deck community{};
  bool operator==(const DecksMessage&) const = default;
};

// A client asks the host to throw for the player on turn.
struct RollRequest {
  bool operator==(const RollRequest&) const = default;
};

// The host's throw.
struct DiceMessage {
  std::int32_t die1 = 1;
  std::int32_t die2 = 1;
  bool operator==(const DiceMessage&) const = default;
};

// An auction button pressed by a bidder, with the amount of the bid field.
struct BidMessage {
  std::int32_t controlId = kControlOk;
  std::int32_t amount = 0;
  std::int32_t player = 0;
  bool operator==(const BidMessage&) const = default;
};

// A consent dialog opened for `player`, with the prompt it shows.
struct LoginMessage {
  ChatText prompt{};
  std::int32_t player = 0;
  bool operator==(const LoginMessage&) const = default;
};

// Extended: a consent asked, as a Login carries it, with the deal's terms and words, so that the
// asked computer weighs the deal itself and says it in its own edition.
struct OfferMessage {
  LoginMessage login{};
  std::int32_t moneyReceived = 0;
  std::int32_t propertyGiven = kNobody;
  std::int32_t propertyReceived = kNobody;
  OfferWords words{};
  bool operator==(const OfferMessage&) const = default;
};

// Extended: where each player's answers come from now, as the host sees it.
enum class SeatStatus : std::int32_t {
  Playing = 0,     // at his own computer
  Missing = 1,     // his connection is lost; his seat is kept for `secondsLeft`
  Substitute = 2,  // his connection is lost, and the host's computer plays for him
  Gone = 3,        // out of the game
  Computer = 4,    // a computer player of the host's
};
struct SeatState {
  SeatStatus status = SeatStatus::Playing;
  std::int32_t secondsLeft = 0;
  bool operator==(const SeatState&) const = default;
};
struct SeatsMessage {
  std::array<SeatState, kMaxPlayers> seats{};
  bool operator==(const SeatsMessage&) const = default;
};

// Extended: the game a client takes up in the middle (coming back, or a saved game hosted
// again): what the State and Decks that follow it do not hold.
struct ResumeMessage {
  std::int32_t currentPlayer = 0;
  std::int32_t doublesInRow = 0;
  std::array<std::uint16_t, kMaxPlayers> firstLap{};
  std::array<std::uint16_t, kPropertyCount> askedThisTurn{};
  std::array<std::uint32_t, kMaxPlayers> refusedLastTurn{};
  std::array<std::uint32_t, kMaxPlayers> refusedThisTurn{};
  bool decksPending = false;  // the host sends the decks with the next throw
  std::int32_t replay = 0;    // the messages behind the State and Decks that replay the game
  bool operator==(const ResumeMessage&) const = default;
};

// Extended: a client leaves the game of its own accord, rather than losing its connection.
struct ByeMessage {
  bool operator==(const ByeMessage&) const = default;
};

using NetMessage = std::variant<JoinMessage, RosterMessage, StateMessage, PressMessage, ChatMessage,
                                DecksMessage, RollRequest, DiceMessage, BidMessage, LoginMessage,
                                OfferMessage, SeatsMessage, ResumeMessage, ByeMessage>;

// One of the extended messages, which go only to a computer that announced them.
bool IsExtended(const NetMessage& message);

// A decoded message, or the reason its bytes were refused.
template <typename T>
struct Decoded {
  std::optional<T> message;
  std::string refusal;  // set exactly when message is empty
};

// The bytes to send: the Join and the Roster without a type code, every other message with it.
// A Chat is as long as its flags say.
std::vector<std::uint8_t> EncodeMessage(const NetMessage& message);

// The payload length of a message of type `type` as `reader` receives it, `playerCount`
// players in the game, the extended types only when `extended`; nullopt for a type that side
// does not take (0, 1, 13, ..., 5 and 10 and 11 on the host, 12 on a client).
std::optional<std::size_t> PayloadSize(std::int32_t type, Role reader, int playerCount,
                                       bool extended = false);

// The set-up messages, from exactly kJoinSize or kRosterSize bytes. Refused: a Join name of more
// than 9 characters; a Roster record out of range (see DecodePayload).
Decoded<JoinMessage> DecodeJoin(std::span<const std::uint8_t> bytes);
Decoded<RosterMessage> DecodeRoster(std::span<const std::uint8_t> bytes);

// A typed message from its payload. Refused: a type that `reader` does not take, a payload
// length other than PayloadSize, and
// - State and Roster: a player with position outside 0..39, token outside 0..9, jailTurns
//   outside 0..4, isBankrupt not 0 or 1, or a name or password without its NUL; a property with
//   owner outside -1..5, houses outside 0..5, mortgaged not 0 or 1, or a name without its NUL;
// - Press: a control id other than 1 or 2; Bid: the same, or a player outside 0..5;
// - Chat: a text without its NUL, a flag outside 0..2, not exactly one sender;
// - Decks: a deck that is not a permutation of 1..16, or a next index outside 0..15;
// - Dice: a die outside 1..6; Login: a prompt without its NUL, a player outside 0..5;
// - Offer: as a Login, an actor outside 0..5, a property outside -1..29, a text that is no
//   offer's; Seats: a status outside 0..4, seconds outside 0..86400; Resume: a current player
//   outside 0..5, doubles outside 0..2, an inquiry flag other than 0 or 1, a replay of more
//   than 100,000 messages.
Decoded<NetMessage> DecodePayload(std::int32_t type, std::span<const std::uint8_t> payload,
                                  Role reader, int playerCount, bool extended = false);

// The number of players a Roster brings into the game: its leading records with a name.
int RosterPlayerCount(const RosterMessage& roster);

}  // namespace tomtura
