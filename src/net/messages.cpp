#include "net/messages.h"

#include <fmt/format.h>

#include "data/text_ids.h"

#include <algorithm>

namespace tomtura {

namespace {

// A player record on the wire: the sender's 4-byte list handle (ignored), then the fields.
constexpr std::size_t kWirePlayerFields = 4;
constexpr std::size_t kWireName = kWirePlayerFields;
constexpr std::size_t kWirePassword = kWireName + sizeof(PlayerName);
static_assert(kWirePlayerFields + kPlayerFieldsSize == kWirePlayerSize);

constexpr int kMaxJailTurns = 4;
constexpr int kDieFaces = 6;
constexpr int kMaxDoublesInRow = 2;              // a third double goes to jail at once
constexpr std::int32_t kMaxSeatSeconds = 86400;  // a day; no wait is longer
constexpr std::int32_t kMaxReplay = 100000;      // far more than a turn can send

// Builds a message from the little-endian images of its values, its type code first.
class Writer {
 public:
  Writer() = default;  // the set-up messages, which have no type code
  explicit Writer(MessageType type) { I32(static_cast<std::int32_t>(type)); }

  std::vector<std::uint8_t> Take() { return std::move(out_); }
  void Byte(std::uint8_t value) { out_.push_back(value); }
  void U16(std::uint16_t value) { PutU16(Grow(2), value); }
  void I32(std::int32_t value) { PutI32(Grow(4), value); }
  template <std::size_t N>
  void Text(const FixedText<N>& text) {
    PutText(Grow(N), text);
  }
  void Players(const PlayerTable& players) {
    for (const Player& player : players) {
      std::uint8_t* record = Grow(kWirePlayerSize);
      PutI32(record, 0);
      EncodePlayerFields(player, std::span<std::uint8_t, kPlayerFieldsSize>(
                                     record + kWirePlayerFields, kPlayerFieldsSize));
    }
  }
  void Properties(const PropertyTable& properties) {
    for (const Property& property : properties) {
      EncodePropertyRecord(property, std::span<std::uint8_t, kPropertyRecordSize>(
                                         Grow(kPropertyRecordSize), kPropertyRecordSize));
    }
  }
  void DeckOf(const Deck& deck) {
    for (std::int32_t card : deck.cards) I32(card);
    I32(deck.next);
  }

 private:
  std::uint8_t* Grow(std::size_t n) {
    out_.resize(out_.size() + n);
    return out_.data() + out_.size() - n;
  }
  std::vector<std::uint8_t> out_;
};

// Reads a payload whose length has been checked; each call takes the next field.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}

  const std::uint8_t* Take(std::size_t n) {
    const std::uint8_t* at = in_.data() + pos_;
    pos_ += n;
    return at;
  }
  std::int32_t I32() { return GetI32(Take(4)); }
  std::uint16_t U16() { return GetU16(Take(2)); }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

std::vector<std::uint8_t> Encode(const JoinMessage& m) {
  Writer w;
  w.Text(m.name);
  w.Byte(m.extended ? kExtendedJoinMark : 0);  // the 11th byte of the name buffer
  return w.Take();
}

std::vector<std::uint8_t> Encode(const RosterMessage& m) {
  Writer w;
  w.Players(m.players);
  w.I32(m.auctionOn);
  w.I32(m.firstLapRule);
  std::vector<std::uint8_t> bytes = w.Take();
  if (m.extended) std::copy(kExtendedRosterMark.begin(), kExtendedRosterMark.end(), bytes.begin());
  return bytes;
}

std::vector<std::uint8_t> Encode(const StateMessage& m) {
  Writer w(MessageType::State);
  w.Properties(m.properties);
  w.Players(m.players);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const PressMessage& m) {
  Writer w(MessageType::Press);
  w.I32(m.controlId);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const ChatMessage& m) {
  Writer w(MessageType::Chat);
  w.Text(m.text);
  for (std::int32_t flag : m.flags) w.I32(flag);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const DecksMessage& m) {
  Writer w(MessageType::Decks);
  w.DeckOf(m.chance);
  w.DeckOf(m.community);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const RollRequest&) {
  return Writer(MessageType::Roll).Take();
}

std::vector<std::uint8_t> Encode(const DiceMessage& m) {
  Writer w(MessageType::Roll);
  w.I32(m.die1);
  w.I32(m.die2);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const BidMessage& m) {
  Writer w(MessageType::Bid);
  w.I32(m.controlId);
  w.I32(m.amount);
  w.I32(m.player);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const LoginMessage& m) {
  Writer w(MessageType::Login);
  w.Text(m.prompt);
  w.I32(m.player);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const OfferMessage& m) {
  Writer w(MessageType::Offer);
  w.Text(m.login.prompt);
  w.I32(m.login.player);
  w.I32(m.moneyReceived);
  w.I32(m.propertyGiven);
  w.I32(m.propertyReceived);
  w.I32(m.words.text);
  w.I32(m.words.actor);
  w.I32(m.words.first);
  w.I32(m.words.second);
  w.I32(m.words.amount);
  w.I32((m.words.firstMortgaged ? 1 : 0) | (m.words.secondMortgaged ? 2 : 0));
  return w.Take();
}

std::vector<std::uint8_t> Encode(const SeatsMessage& m) {
  Writer w(MessageType::Seats);
  for (const SeatState& seat : m.seats) {
    w.I32(static_cast<std::int32_t>(seat.status));
    w.I32(seat.secondsLeft);
  }
  return w.Take();
}

std::vector<std::uint8_t> Encode(const ResumeMessage& m) {
  Writer w(MessageType::Resume);
  w.I32(m.currentPlayer);
  w.I32(m.doublesInRow);
  for (std::uint16_t flag : m.firstLap) w.U16(flag);
  for (std::uint16_t flag : m.askedThisTurn) w.U16(flag);
  for (std::uint32_t mask : m.refusedLastTurn) w.I32(static_cast<std::int32_t>(mask));
  for (std::uint32_t mask : m.refusedThisTurn) w.I32(static_cast<std::int32_t>(mask));
  w.I32(m.decksPending ? 1 : 0);
  w.I32(m.replay);
  return w.Take();
}

std::vector<std::uint8_t> Encode(const ByeMessage&) {
  return Writer(MessageType::Bye).Take();
}

// ---- Decoding: each returns the refusal, empty when the value may be used ------------------

template <std::size_t N>
std::string ReadText(Reader& r, FixedText<N>& text, const char* what) {
  const std::uint8_t* in = r.Take(N);
  if (!TextTerminated<N>(in)) return fmt::format("{} without its NUL", what);
  GetText(in, text);
  return {};
}

std::string ReadPlayer(Reader& r, Player& player) {
  const std::uint8_t* in = r.Take(kWirePlayerSize);
  if (!TextTerminated<sizeof(PlayerName)>(in + kWireName)) return "name without its NUL";
  if (!TextTerminated<sizeof(Password)>(in + kWirePassword)) return "password without its NUL";
  player = DecodePlayerFields(
      std::span<const std::uint8_t, kPlayerFieldsSize>(in + kWirePlayerFields, kPlayerFieldsSize));
  if (std::string fault = PlayerRecordFault(player); !fault.empty()) return fault;
  if (player.jailTurns < 0 || player.jailTurns > kMaxJailTurns) {
    return fmt::format("jailTurns {} outside 0..{}", player.jailTurns, kMaxJailTurns);
  }
  if (player.isBankrupt != 0 && player.isBankrupt != 1) {
    return fmt::format("isBankrupt {} not 0 or 1", player.isBankrupt);
  }
  return {};
}

std::string ReadPlayers(Reader& r, PlayerTable& players) {
  for (int i = 0; i < kMaxPlayers; ++i) {
    if (std::string why = ReadPlayer(r, players[i]); !why.empty()) {
      return fmt::format("player {}: {}", i, why);
    }
  }
  return {};
}

std::string ReadProperties(Reader& r, PropertyTable& properties) {
  for (int p = 0; p < kPropertyCount; ++p) {
    const std::uint8_t* in = r.Take(kPropertyRecordSize);
    Property& property = properties[p];
    std::string why;
    if (!TextTerminated<sizeof(PropertyName)>(in)) {
      why = "name without its NUL";
    } else {
      property = DecodePropertyRecord(
          std::span<const std::uint8_t, kPropertyRecordSize>(in, kPropertyRecordSize));
      why = PropertyRecordFault(property);
      if (why.empty() && property.mortgaged > 1) {
        why = fmt::format("mortgaged {} not 0 or 1", property.mortgaged);
      }
    }
    if (!why.empty()) return fmt::format("property {}: {}", p, why);
  }
  return {};
}

std::string ReadDeck(Reader& r, Deck& deck, const char* what) {
  std::uint32_t seen = 0;
  for (std::int32_t& card : deck.cards) {
    card = r.I32();
    if (card < 1 || card > kCardCount) {
      return fmt::format("{} deck: card {} outside 1..{}", what, card, kCardCount);
    }
    if ((seen & (1u << card)) != 0) return fmt::format("{} deck: card {} twice", what, card);
    seen |= 1u << card;
  }
  deck.next = r.I32();
  if (deck.next < 0 || deck.next >= kCardCount) {
    return fmt::format("{} deck: next {} outside 0..{}", what, deck.next, kCardCount - 1);
  }
  return {};
}

std::string ControlRefusal(std::int32_t controlId) {
  if (controlId == kControlOk || controlId == kControlCancel) return {};
  return fmt::format("control id {} not {} or {}", controlId, kControlOk, kControlCancel);
}

std::string PlayerIndexRefusal(std::int32_t player) {
  if (player >= 0 && player < kMaxPlayers) return {};
  return fmt::format("player {} outside 0..{}", player, kMaxPlayers - 1);
}

std::string ReadChat(Reader& r, int playerCount, ChatMessage& chat) {
  if (std::string why = ReadText(r, chat.text, "text"); !why.empty()) return why;
  int senders = 0;
  for (int i = 0; i < playerCount; ++i) {
    const std::int32_t flag = r.I32();
    if (flag < kChatNotAddressed || flag > kChatSender) {
      return fmt::format("flag {} of player {} outside 0..2", flag, i);
    }
    if (flag == kChatSender) ++senders;
    chat.flags.push_back(flag);
  }
  if (senders != 1) return fmt::format("{} senders, not one", senders);
  return {};
}

std::string PropertyIndexRefusal(std::int32_t p) {
  if (p >= kNobody && p < kPropertyCount) return {};
  return fmt::format("property {} outside -1..{}", p, kPropertyCount - 1);
}

bool IsOfferText(std::int32_t text) {
  switch (text) {
    case 0:
    case kTextOfferSale:
    case kTextOfferExchangeGive:
    case kTextOfferExchangeGet:
    case kTextOfferPurchase:
    case kTextBuyExchangeOffer:
    case kTextBuyOffer:
    case kTextSellExchangeOffer:
    case kTextSellOffer:
      return true;
    default:
      return false;
  }
}

std::string ReadOffer(Reader& r, OfferMessage& offer) {
  std::string why = ReadText(r, offer.login.prompt, "prompt");
  offer.login.player = r.I32();
  offer.moneyReceived = r.I32();
  offer.propertyGiven = r.I32();
  offer.propertyReceived = r.I32();
  OfferWords& words = offer.words;
  words.text = r.I32();
  words.actor = r.I32();
  words.first = r.I32();
  words.second = r.I32();
  words.amount = r.I32();
  const std::int32_t marks = r.I32();
  words.firstMortgaged = (marks & 1) != 0;
  words.secondMortgaged = (marks & 2) != 0;
  if (why.empty()) why = PlayerIndexRefusal(offer.login.player);
  for (std::int32_t p : {offer.propertyGiven, offer.propertyReceived, words.first, words.second}) {
    if (why.empty()) why = PropertyIndexRefusal(p);
  }
  if (why.empty() && words.actor != kNobody) why = PlayerIndexRefusal(words.actor);
  if (why.empty() && !IsOfferText(words.text)) why = fmt::format("text {} is no offer", words.text);
  if (why.empty() && (marks & ~3) != 0) why = fmt::format("marks {} not 0..3", marks);
  return why;
}

std::string ReadSeats(Reader& r, SeatsMessage& seats) {
  for (std::size_t i = 0; i < seats.seats.size(); ++i) {
    const std::int32_t status = r.I32();
    const std::int32_t seconds = r.I32();
    if (status < 0 || status > static_cast<std::int32_t>(SeatStatus::Computer)) {
      return fmt::format("seat {}: status {} outside 0..4", i, status);
    }
    if (seconds < 0 || seconds > kMaxSeatSeconds) {
      return fmt::format("seat {}: {} seconds outside 0..{}", i, seconds, kMaxSeatSeconds);
    }
    seats.seats[i] = {static_cast<SeatStatus>(status), seconds};
  }
  return {};
}

std::string ReadResume(Reader& r, ResumeMessage& resume) {
  resume.currentPlayer = r.I32();
  resume.doublesInRow = r.I32();
  for (std::uint16_t& flag : resume.firstLap) flag = r.U16();
  for (std::uint16_t& flag : resume.askedThisTurn) flag = r.U16();
  for (std::uint32_t& mask : resume.refusedLastTurn) mask = static_cast<std::uint32_t>(r.I32());
  for (std::uint32_t& mask : resume.refusedThisTurn) mask = static_cast<std::uint32_t>(r.I32());
  const std::int32_t flags = r.I32();
  resume.decksPending = flags == 1;
  resume.replay = r.I32();
  if (std::string why = PlayerIndexRefusal(resume.currentPlayer); !why.empty()) return why;
  if (resume.doublesInRow < 0 || resume.doublesInRow > kMaxDoublesInRow) {
    return fmt::format("doubles {} outside 0..{}", resume.doublesInRow, kMaxDoublesInRow);
  }
  for (std::uint16_t flag : resume.askedThisTurn) {
    if (flag > 1) return fmt::format("inquiry flag {} not 0 or 1", flag);
  }
  if (flags != 0 && flags != 1) return fmt::format("flags {} not 0 or 1", flags);
  if (resume.replay < 0 || resume.replay > kMaxReplay) {
    return fmt::format("replay of {} messages outside 0..{}", resume.replay, kMaxReplay);
  }
  return {};
}

std::string ReadDice(Reader& r, DiceMessage& dice) {
  dice.die1 = r.I32();
  dice.die2 = r.I32();
  for (std::int32_t die : {dice.die1, dice.die2}) {
    if (die < 1 || die > kDieFaces) return fmt::format("die {} outside 1..{}", die, kDieFaces);
  }
  return {};
}

// Wraps a value and its refusal into the result of a decoder.
template <typename Result, typename T>
Decoded<Result> Finish(T value, std::string refusal) {
  Decoded<Result> result;
  if (refusal.empty()) {
    result.message = std::move(value);
  } else {
    result.refusal = std::move(refusal);
  }
  return result;
}

std::string LengthRefusal(std::size_t got, std::size_t want) {
  if (got == want) return {};
  return fmt::format("{} bytes where {} belong", got, want);
}

}  // namespace

std::vector<std::uint8_t> EncodeMessage(const NetMessage& message) {
  return std::visit([](const auto& m) { return Encode(m); }, message);
}

bool IsExtended(const NetMessage& message) {
  return std::holds_alternative<OfferMessage>(message) ||
         std::holds_alternative<SeatsMessage>(message) ||
         std::holds_alternative<ResumeMessage>(message) ||
         std::holds_alternative<ByeMessage>(message);
}

std::optional<std::size_t> PayloadSize(std::int32_t type, Role reader, int playerCount,
                                       bool extended) {
  switch (static_cast<MessageType>(type)) {
    case MessageType::State:
      return kStatePayloadSize;
    case MessageType::Press:
      return kPressPayloadSize;
    case MessageType::Chat:
      return kChatTextSize + 4 * static_cast<std::size_t>(std::clamp(playerCount, 0, kMaxPlayers));
    case MessageType::Decks:
      if (reader == Role::Host) return std::nullopt;
      return kDecksPayloadSize;
    case MessageType::Roll:
      return reader == Role::Host ? 0 : kDicePayloadSize;
    case MessageType::Bid:
      return kBidPayloadSize;
    case MessageType::Login:
      return kLoginPayloadSize;
    case MessageType::Offer:
      if (!extended) return std::nullopt;
      return kOfferPayloadSize;
    case MessageType::Seats:
      if (!extended || reader == Role::Host) return std::nullopt;
      return kSeatsPayloadSize;
    case MessageType::Resume:
      if (!extended || reader == Role::Host) return std::nullopt;
      return kResumePayloadSize;
    case MessageType::Bye:
      if (!extended || reader == Role::Client) return std::nullopt;
      return 0;
  }
  return std::nullopt;
}

Decoded<JoinMessage> DecodeJoin(std::span<const std::uint8_t> bytes) {
  if (std::string why = LengthRefusal(bytes.size(), kJoinSize); !why.empty()) {
    return Finish<JoinMessage>(JoinMessage{}, "join: " + why);
  }
  JoinMessage join;
  std::string why;
  if (!TextTerminated<sizeof(PlayerName)>(bytes.data())) {
    why = fmt::format("join: name longer than {} characters", sizeof(PlayerName) - 1);
  } else {
    GetText(bytes.data(), join.name);
  }
  join.extended = bytes[sizeof(PlayerName)] == kExtendedJoinMark;
  return Finish<JoinMessage>(std::move(join), std::move(why));
}

Decoded<RosterMessage> DecodeRoster(std::span<const std::uint8_t> bytes) {
  if (std::string why = LengthRefusal(bytes.size(), kRosterSize); !why.empty()) {
    return Finish<RosterMessage>(RosterMessage{}, "roster: " + why);
  }
  Reader r(bytes);
  RosterMessage roster;
  roster.extended =
      std::equal(kExtendedRosterMark.begin(), kExtendedRosterMark.end(), bytes.begin());
  std::string why = ReadPlayers(r, roster.players);
  roster.auctionOn = r.I32();
  roster.firstLapRule = r.I32();
  return Finish<RosterMessage>(std::move(roster), why.empty() ? why : "roster: " + why);
}

Decoded<NetMessage> DecodePayload(std::int32_t type, std::span<const std::uint8_t> payload,
                                  Role reader, int playerCount, bool extended) {
  playerCount = std::clamp(playerCount, 0, kMaxPlayers);
  const std::optional<std::size_t> size = PayloadSize(type, reader, playerCount, extended);
  if (!size) return Finish<NetMessage>(NetMessage{}, fmt::format("unknown type code {}", type));
  if (std::string why = LengthRefusal(payload.size(), *size); !why.empty()) {
    return Finish<NetMessage>(NetMessage{}, fmt::format("type {}: {}", type, why));
  }
  Reader r(payload);
  NetMessage message;
  std::string why;
  switch (static_cast<MessageType>(type)) {
    case MessageType::State: {
      StateMessage& state = message.emplace<StateMessage>();
      why = ReadProperties(r, state.properties);
      if (why.empty()) why = ReadPlayers(r, state.players);
      break;
    }
    case MessageType::Press:
      why = ControlRefusal(message.emplace<PressMessage>(PressMessage{r.I32()}).controlId);
      break;
    case MessageType::Chat:
      why = ReadChat(r, playerCount, message.emplace<ChatMessage>());
      break;
    case MessageType::Decks: {
      DecksMessage& decks = message.emplace<DecksMessage>();
      why = ReadDeck(r, decks.chance, "chance");
      if (why.empty()) why = ReadDeck(r, decks.community, "community");
      break;
    }
    case MessageType::Roll:
      if (reader == Role::Host) {
        message.emplace<RollRequest>();
      } else {
        why = ReadDice(r, message.emplace<DiceMessage>());
      }
      break;
    case MessageType::Bid: {
      BidMessage& bid = message.emplace<BidMessage>();
      bid.controlId = r.I32();
      bid.amount = r.I32();
      bid.player = r.I32();
      why = ControlRefusal(bid.controlId);
      if (why.empty()) why = PlayerIndexRefusal(bid.player);
      break;
    }
    case MessageType::Login: {
      LoginMessage& login = message.emplace<LoginMessage>();
      why = ReadText(r, login.prompt, "prompt");
      login.player = r.I32();
      if (why.empty()) why = PlayerIndexRefusal(login.player);
      break;
    }
    case MessageType::Offer:
      why = ReadOffer(r, message.emplace<OfferMessage>());
      break;
    case MessageType::Seats:
      why = ReadSeats(r, message.emplace<SeatsMessage>());
      break;
    case MessageType::Resume:
      why = ReadResume(r, message.emplace<ResumeMessage>());
      break;
    case MessageType::Bye:
      message.emplace<ByeMessage>();
      break;
  }
  if (!why.empty()) why = fmt::format("type {}: {}", type, why);
  return Finish<NetMessage>(std::move(message), std::move(why));
}

int RosterPlayerCount(const RosterMessage& roster) {
  int count = 0;
  while (count < kMaxPlayers && !roster.players[count].name.empty()) ++count;
  return count;
}

}  // namespace tomtura
