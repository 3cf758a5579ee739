#include "net/messages.h"

#include <fmt/format.h>

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

// Builds a message from the little-endian images of its values, its type code first.
class Writer {
 public:
  Writer() = default;  // the set-up messages, which have no type code
  explicit Writer(MessageType type) { I32(static_cast<std::int32_t>(type)); }

  std::vector<std::uint8_t> Take() { return std::move(out_); }
  void Byte(std::uint8_t value) { out_.push_back(value); }
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

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

std::vector<std::uint8_t> Encode(const JoinMessage& m) {
  Writer w;
  w.Text(m.name);
  w.Byte(0);  // the 11th byte of the joining computer's name buffer
  return w.Take();
}

std::vector<std::uint8_t> Encode(const RosterMessage& m) {
  Writer w;
  w.Players(m.players);
  w.I32(m.auctionOn);
  w.I32(m.firstLapRule);
  return w.Take();
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

std::optional<std::size_t> PayloadSize(std::int32_t type, Role reader, int playerCount) {
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
  return Finish<JoinMessage>(std::move(join), std::move(why));
}

Decoded<RosterMessage> DecodeRoster(std::span<const std::uint8_t> bytes) {
  if (std::string why = LengthRefusal(bytes.size(), kRosterSize); !why.empty()) {
    return Finish<RosterMessage>(RosterMessage{}, "roster: " + why);
  }
  Reader r(bytes);
  RosterMessage roster;
  std::string why = ReadPlayers(r, roster.players);
  roster.auctionOn = r.I32();
  roster.firstLapRule = r.I32();
  return Finish<RosterMessage>(std::move(roster), why.empty() ? why : "roster: " + why);
}

Decoded<NetMessage> DecodePayload(std::int32_t type, std::span<const std::uint8_t> payload,
                                  Role reader, int playerCount) {
  playerCount = std::clamp(playerCount, 0, kMaxPlayers);
  const std::optional<std::size_t> size = PayloadSize(type, reader, playerCount);
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
