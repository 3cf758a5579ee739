// The wire layer against byte images laid out by hand from the message layouts (never taken
// from the encoder), and the framer fed those bytes in every kind of piece.
#include <gtest/gtest.h>

#include "net/framer.h"
#include "net/messages.h"

namespace tomtura {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t offset, const Bytes& bytes) {
  for (std::uint8_t byte : bytes) b.at(offset++) = byte;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A text field of n bytes: the characters, then zeros.
Bytes Field(std::string_view text, std::size_t n) {
  Bytes b(text.begin(), text.end());
  b.resize(n);
  return b;
}

// Player 5 with a distinct value in every field; property 0 with its name and game fields.
StateMessage StateValue() {
  StateMessage s;
  Property& ax = s.properties[0];
  ax.name.setRaw("Ax");
  ax.price = 1200;
  ax.houses = 5;
  ax.mortgaged = 1;
  ax.owner = 3;
  Player& eva = s.players[5];
  eva.name.setRaw("Eva");
  eva.password.setRaw("q");
  eva.isComputer = 2;
  eva.tokenX = 80;
  eva.tokenY = -3;
  eva.position = 39;
  eva.token = 9;
  eva.money = -70000;
  eva.jailTurns = 4;
  eva.isBankrupt = 1;
  return s;
}

// Type 2, the properties from 4 (54 bytes each), the players from 1624 (36 bytes each).
Bytes StateBytes() {
  Bytes b(1840, 0);
  b[0] = 2;
  for (std::size_t p = 0; p < 30; ++p) Put(b, 4 + 54 * p + 52, {0xFF, 0xFF});  // owner -1
  Put(b, 4, {'A', 'x'});
  Put(b, 34, {0xB0, 0x04});        // price 1200
  Put(b, 52, {5, 0, 1, 0, 3, 0});  // hotel, mortgaged, owner 3
  Put(b, 1808, {'E', 'v', 'a'});
  Put(b, 1818, {'q'});
  Put(b, 1822,
      {2, 0, 0x50, 0, 0xFD, 0xFF, 39, 0, 9, 0,  // isComputer .. token
       0x90, 0xEE, 0xFE, 0xFF, 4, 0, 1, 0});    // -70000 kr, jail 4, bankrupt
  return b;
}

// What client 1 of three receives: record 3 has no name, so neither it nor record 4 is in play.
RosterMessage RosterValue() {
  RosterMessage r{.auctionOn = 0, .firstLapRule = 1};
  r.players[0].name.setRaw("Ho");
  r.players[0].isComputer = 2;
  r.players[1].name.setRaw("Bo");
  r.players[1].money = 30000;
  r.players[2].name.setRaw("Cy");
  r.players[2].isComputer = 0x0203;
  r.players[3].password.setRaw("abc");
  r.players[4].name.setRaw("Ex");
  return r;
}

Bytes RosterBytes() {
  Bytes b(224, 0);
  Put(b, 4, {'H', 'o'});
  Put(b, 18, {2, 0});
  Put(b, 40, {'B', 'o'});
  Put(b, 64, {0x30, 0x75, 0, 0});
  Put(b, 76, {'C', 'y'});
  Put(b, 90, {3, 2});
  Put(b, 122, {'a', 'b', 'c'});
  Put(b, 148, {'E', 'x'});
  Put(b, 216, {0, 0, 0, 0, 1, 0, 0, 0});
  return b;
}

// Chance 16, 15, .., 1 with next 15; community 1..16 with next 0.
DecksMessage DecksValue() {
  DecksMessage d;
  for (int i = 0; i < 16; ++i) {
    d.chance.cards[i] = 16 - i;
    d.community.cards[i] = i + 1;
  }
  d.chance.next = 15;
  return d;
}

Bytes DecksBytes() {
  Bytes b = {5, 0, 0, 0};
  for (std::uint8_t card = 16; card >= 1; --card) b.insert(b.end(), {card, 0, 0, 0});
  b.insert(b.end(), {15, 0, 0, 0});
  for (std::uint8_t card = 1; card <= 16; ++card) b.insert(b.end(), {card, 0, 0, 0});
  b.insert(b.end(), {0, 0, 0, 0});
  return b;
}

// From client 1 of four players to the host and client 3.
const Bytes kChatBytes =
    Cat({{4, 0, 0, 0}, Field("Hej d\xE5", 256), {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}});
const Bytes kLoginBytes = Cat({{8, 0, 0, 0}, Field("OK?", 256), {3, 0, 0, 0}});

template <typename T>
T WithText(T message, std::string_view utf8) {
  if constexpr (std::is_same_v<T, JoinMessage>) message.name.setUtf8(utf8);
  if constexpr (std::is_same_v<T, ChatMessage>) message.text.setUtf8(utf8);
  if constexpr (std::is_same_v<T, LoginMessage>) message.prompt.setUtf8(utf8);
  return message;
}

struct Reading {
  Role reader;
  NetPhase phase;
  int playerCount;
  bool extended = false;
};
constexpr Reading kHostLobby{Role::Host, NetPhase::Lobby, 1};
constexpr Reading kClientLobby{Role::Client, NetPhase::Lobby, 0};
constexpr Reading kHostGame{Role::Host, NetPhase::Game, 4};
constexpr Reading kClientGame{Role::Client, NetPhase::Game, 4};
constexpr Reading kHostExtended{Role::Host, NetPhase::Game, 4, true};
constexpr Reading kClientExtended{Role::Client, NetPhase::Game, 4, true};
constexpr Reading kClientLobbyExtended{Role::Client, NetPhase::Lobby, 0, true};

// Anna (3) is asked to buy property 7, mortgaged, from player 0 for 700 (text 101).
OfferMessage OfferValue() {
  OfferMessage o{WithText(LoginMessage{.player = 3}, "OK?"), -700, kNobody, 7};
  o.words = {101, 0, 7, kNobody, 700, true, false};
  return o;
}
const Bytes kOfferBytes =
    Cat({{9, 0, 0, 0},
         Field("OK?", 256),
         {3, 0, 0, 0, 0x44, 0xFD, 0xFF, 0xFF},
         {0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0, 101, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0},
         {0xFF, 0xFF, 0xFF, 0xFF, 0xBC, 2, 0, 0, 1, 0, 0, 0}});

// Player 1 missing for 93 seconds more, player 2 played by the host's computer, 4 gone.
SeatsMessage SeatsValue() {
  SeatsMessage s;
  s.seats[1] = {SeatStatus::Missing, 93};
  s.seats[2] = {SeatStatus::Substitute, 0};
  s.seats[4] = {SeatStatus::Gone, 0};
  return s;
}
const Bytes kSeatsBytes = Cat({{10, 0, 0, 0},
                               Bytes(8, 0),
                               {1, 0, 0, 0, 93, 0, 0, 0},
                               {2, 0, 0, 0, 0, 0, 0, 0},
                               Bytes(8, 0),
                               {3, 0, 0, 0, 0, 0, 0, 0},
                               Bytes(8, 0)});

// Player 2 on turn after a double, players 0 and 2 on their first lap, property 5 asked about,
// player 1's refusals of the last turn 0 and 31, the decks still to go with the next throw.
ResumeMessage ResumeValue() {
  ResumeMessage r{.currentPlayer = 2, .doublesInRow = 1, .firstLap = {257, 0, 257}};
  r.askedThisTurn[5] = 1;
  r.refusedLastTurn[1] = 0x80000001u;
  r.decksPending = true;
  r.replay = 3;
  return r;
}
Bytes ResumeBytes() {
  Bytes b = Cat({{11, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 1}, Bytes(6, 0)});
  Bytes asked(60, 0);
  asked[10] = 1;
  Bytes refused(48, 0);
  Put(refused, 4, {1, 0, 0, 0x80});
  return Cat({b, asked, refused, {1, 0, 0, 0, 3, 0, 0, 0}});
}

// One message read as a connection reads it; nullopt with *error set when it is refused.
std::optional<NetMessage> ReadOne(const Bytes& bytes, Reading how, std::string* error) {
  Framer framer(how.reader, how.phase, how.playerCount);
  framer.SetExtended(how.extended);
  framer.Feed(bytes);
  std::optional<NetMessage> message = framer.Next();
  *error = framer.error();
  if (message && framer.pending() != 0) ADD_FAILURE() << "bytes left behind the message";
  return message;
}

TEST(WireTest, EveryMessageMatchesItsHandLaidBytesBothWays) {
  const struct {
    NetMessage message;
    Reading how;
    Bytes bytes;
  } cases[] = {
      {WithText(JoinMessage{}, "Bo"), kHostLobby, Field("Bo", 11)},
      {WithText(JoinMessage{}, "\u00c5sa"), kHostLobby, Field("\xC5sa", 11)},  // Windows-1252
      {RosterValue(), kClientLobby, RosterBytes()},
      {StateValue(), kClientGame, StateBytes()},
      {PressMessage{2}, kHostGame, {3, 0, 0, 0, 2, 0, 0, 0}},
      {WithText(ChatMessage{.flags = {1, 2, 0, 1}}, "Hej d\u00e5"), kHostGame, kChatBytes},
      {DecksValue(), kClientGame, DecksBytes()},
      {RollRequest{}, kHostGame, {6, 0, 0, 0}},
      {DiceMessage{6, 1}, kClientGame, {6, 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0}},
      {BidMessage{1, -25000, 5},
       kClientGame,
       {7, 0, 0, 0, 1, 0, 0, 0, 0x58, 0x9E, 0xFF, 0xFF, 5, 0, 0, 0}},
      {WithText(LoginMessage{.player = 3}, "OK?"), kClientGame, kLoginBytes},
      // The extended messages, and their announcements.
      {JoinMessage{WithText(JoinMessage{}, "Bo").name, true}, kHostLobby,
       Cat({Field("Bo", 10), {0xA7}})},
      {RosterMessage{RosterValue().players, 0, 1, true}, kClientLobbyExtended,
       [] {
         Bytes b = RosterBytes();
         Put(b, 0, {'T', 'o', 'm', 0xA7});
         return b;
       }()},
      {OfferValue(), kHostExtended, kOfferBytes},
      {SeatsValue(), kClientExtended, kSeatsBytes},
      {ResumeValue(), kClientExtended, ResumeBytes()},
      {ByeMessage{}, kHostExtended, {12, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    EXPECT_EQ(EncodeMessage(c.message), c.bytes);
    std::string error;
    EXPECT_EQ(ReadOne(c.bytes, c.how, &error), c.message) << error;
  }
  // A text is cut to its field; bytes behind a NUL and the sender's list handle mean nothing.
  const Bytes chat = EncodeMessage(WithText(ChatMessage{}, std::string(300, 'x')));
  EXPECT_EQ(Bytes(chat.begin() + 4, chat.end()), Field(std::string(255, 'x'), 256));
  std::string error;
  EXPECT_EQ(ReadOne({'B', 'o', 0, 'z', 'z', 'z', 'z', 'z', 'z', 'z', 'z'}, kHostLobby, &error),
            NetMessage(WithText(JoinMessage{}, "Bo")));
  Bytes state = StateBytes();
  Put(state, 1624, {0xAA, 0xBB, 0xCC, 0xDD});
  EXPECT_EQ(ReadOne(state, kHostGame, &error), NetMessage(StateValue()));
}

TEST(NetValidationTest, EachOutOfRangeValueIsRefusedWithItsReason) {
  const Bytes dice = {6, 0, 0, 0, 1, 0, 0, 0, 6, 0, 0, 0};
  const Bytes bid = {7, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0};
  const struct {
    Bytes base;
    Reading how;
    std::size_t offset;
    Bytes patch;
    const char* refusal;  // a part of the reason; nullptr = the patched bytes are accepted
  } cases[] = {
      {Field("", 11), kHostLobby, 0, Field("ABCDEFGHI", 10), nullptr},
      {Field("", 11), kHostLobby, 0, Field("ABCDEFGHIJ", 10), "name longer than 9"},
      {RosterBytes(), kClientLobby, 60, {40, 0}, "roster: player 1: position 40"},
      {StateBytes(), kClientGame, 1828, {40, 0}, "player 5: position 40 outside 0..39"},
      {StateBytes(), kClientGame, 1830, {10, 0}, "token 10"},
      {StateBytes(), kClientGame, 1836, {5, 0}, "jailTurns 5"},
      {StateBytes(), kClientGame, 1838, {2, 0}, "isBankrupt 2"},
      {StateBytes(), kClientGame, 1808, Bytes(10, 'x'), "player 5: name without its NUL"},
      {StateBytes(), kClientGame, 1818, Bytes(4, 'p'), "player 5: password without"},
      {StateBytes(), kClientGame, 1832, {0, 0, 0, 0x80}, nullptr},  // money is any i32
      {StateBytes(), kClientGame, 56, {6, 0}, "property 0: owner 6"},
      {StateBytes(), kClientGame, 52, {6, 0}, "property 0: houses 6"},
      {StateBytes(), kClientGame, 54, {2, 0}, "mortgaged 2"},
      {StateBytes(), kClientGame, 382, Bytes(30, 'n'), "property 7: name without"},
      {{3, 0, 0, 0, 1, 0, 0, 0}, kHostGame, 4, {3, 0, 0, 0}, "control id 3"},
      {kChatBytes, kHostGame, 4, Bytes(256, 'a'), "text without its NUL"},
      {kChatBytes, kHostGame, 268, {3, 0, 0, 0}, "flag 3 of player 2"},
      {kChatBytes, kHostGame, 260, {2, 0, 0, 0}, "2 senders"},
      {kChatBytes, kHostGame, 264, {1, 0, 0, 0}, "0 senders"},
      {DecksBytes(), kClientGame, 4, {17, 0, 0, 0}, "chance deck: card 17"},
      {DecksBytes(), kClientGame, 132, {0, 0, 0, 0}, "community deck: card 0"},
      {DecksBytes(), kClientGame, 76, {1, 0, 0, 0}, "community deck: card 1 twice"},
      {DecksBytes(), kClientGame, 68, {16, 0, 0, 0}, "chance deck: next 16"},
      {dice, kClientGame, 4, {0, 0, 0, 0}, "die 0 outside 1..6"},
      {dice, kClientGame, 8, {7, 0, 0, 0}, "die 7"},
      {bid, kHostGame, 4, {3, 0, 0, 0}, "control id 3"},
      {bid, kHostGame, 12, {6, 0, 0, 0}, "player 6 outside 0..5"},
      {kLoginBytes, kClientGame, 260, {6, 0, 0, 0}, "player 6"},
      {kLoginBytes, kClientGame, 4, Bytes(256, 'a'), "prompt without its NUL"},
      {kOfferBytes, kClientExtended, 276, {99, 0, 0, 0}, "text 99 is no offer"},
      {kOfferBytes, kClientExtended, 284, {30, 0, 0, 0}, "property 30 outside -1..29"},
      {kOfferBytes, kClientExtended, 280, {6, 0, 0, 0}, "player 6"},
      {kOfferBytes, kClientExtended, 296, {4, 0, 0, 0}, "marks 4"},
      {kSeatsBytes, kClientExtended, 12, {5, 0, 0, 0}, "seat 1: status 5"},
      {kSeatsBytes, kClientExtended, 16, {0xFF, 0xFF, 0xFF, 0xFF}, "-1 seconds"},
      {ResumeBytes(), kClientExtended, 4, {6, 0, 0, 0}, "player 6"},
      {ResumeBytes(), kClientExtended, 8, {3, 0, 0, 0}, "doubles 3"},
      {ResumeBytes(), kClientExtended, 28, {2, 0}, "inquiry flag 2"},
      {ResumeBytes(), kClientExtended, 136, {0xFF, 0xFF, 0xFF, 0xFF}, "replay of -1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refusal == nullptr ? std::to_string(c.offset) : c.refusal);
    std::string error;
    ASSERT_TRUE(ReadOne(c.base, c.how, &error)) << error;
    Bytes bytes = c.base;
    Put(bytes, c.offset, c.patch);
    const bool read = ReadOne(bytes, c.how, &error).has_value();
    EXPECT_EQ(read, c.refusal == nullptr) << error;
    EXPECT_NE(error.find(c.refusal == nullptr ? "" : c.refusal), std::string::npos) << error;
  }
  // An unknown type code has no length: it is refused from its four bytes alone.
  // An extended message is unknown where it was not announced, or on the wrong side.
  const std::pair<Reading, Bytes> codes[] = {
      {kHostGame, {0, 0, 0, 0}},        {kClientGame, {1, 0, 0, 0}},
      {kClientGame, {9, 0, 0, 0}},      {kHostGame, {12, 0, 0, 0}},
      {kHostExtended, {10, 0, 0, 0}},   {kClientExtended, {12, 0, 0, 0}},
      {kClientExtended, {13, 0, 0, 0}}, {kHostGame, {5, 0, 0, 0}},  // decks come only from the host
      {kClientGame, {2, 0, 0, 1}}};
  for (const auto& [how, code] : codes) {
    std::string error;
    EXPECT_FALSE(ReadOne(code, how, &error));
    EXPECT_EQ(error.rfind("unknown type code", 0), 0u) << error;
  }
}

// What a client reads after Start, and the byte count at which each message is complete.
TEST(FramerTest, AnyPiecesYieldEachMessageWithItsLastByte) {
  const Bytes stream =
      Cat({RosterBytes(),
           DecksBytes(),
           {6, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0},
           Cat({{4, 0, 0, 0}, Field("Hi", 256), {0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}}),
           StateBytes()});
  const std::vector<std::pair<std::size_t, NetMessage>> want = {
      {224, RosterValue()},
      {364, DecksValue()},
      {376, DiceMessage{2, 3}},
      {648, WithText(ChatMessage{.flags = {0, 2, 1}}, "Hi")},  // three players: the roster's
      {2488, StateValue()}};
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, stream.size()}) {
    SCOPED_TRACE(piece);
    Framer framer(Role::Client, NetPhase::Lobby);
    std::vector<std::pair<std::size_t, NetMessage>> got, wantInPieces;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      const std::size_t n = std::min(piece, stream.size() - at);
      framer.Feed(std::span(stream).subspan(at, n));
      while (std::optional<NetMessage> m = framer.Next()) got.emplace_back(at + n, *m);
    }
    // Each message comes with the piece that holds its last byte.
    for (const auto& [end, message] : want) {
      wantInPieces.emplace_back(std::min((end + piece - 1) / piece * piece, stream.size()),
                                message);
    }
    EXPECT_EQ(got, wantInPieces) << framer.error();
    EXPECT_EQ(framer.pending(), 0u);
  }
}

TEST(FramerTest, UnreadBytesWaitForTheCallerAndThePhase) {
  Framer framer(Role::Host, NetPhase::Lobby, 2);
  framer.Feed(Cat({Field("Bo", 11), {6, 0, 0, 0}}));  // a join, then a roll request
  EXPECT_EQ(framer.Next(), NetMessage(WithText(JoinMessage{}, "Bo")));
  EXPECT_FALSE(framer.Next());  // four bytes are no join
  framer.SetPhase(NetPhase::Game);
  EXPECT_EQ(framer.Next(), NetMessage(RollRequest{}));

  framer.Feed(Bytes{3, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0, 2});  // a press and part of a bid
  EXPECT_EQ(framer.Next(), NetMessage(PressMessage{1}));
  EXPECT_FALSE(framer.Next());
  EXPECT_EQ(framer.pending(), 5u);
  framer.Feed(Bytes{0, 0, 0, 0x10, 0x27, 0, 0, 4, 0, 0, 0});
  EXPECT_EQ(framer.Next(), NetMessage(BidMessage{2, 10000, 4}));

  // A refused message stops the stream for good.
  const Bytes press = {3, 0, 0, 0, 2, 0, 0, 0};
  framer.Feed(Cat({press, {3, 0, 0, 0, 9, 0, 0, 0}, press}));
  EXPECT_EQ(framer.Next(), NetMessage(PressMessage{2}));
  EXPECT_FALSE(framer.Next());
  EXPECT_EQ(framer.error(), "type 3: control id 9 not 1 or 2");
  framer.Feed(press);
  EXPECT_FALSE(framer.Next());
  EXPECT_EQ(framer.pending(), 0u);
}

}  // namespace
}  // namespace tomtura
