// One computer's session against a scripted other end: what it makes of what comes, and what it
// sends.
#include "net/session.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "../support/scripted_front_end.h"
#include "data/text_catalogue.h"
#include "data/text_ids.h"
#include "rules/game.h"

namespace tomtura {
namespace {

// Keeps what the session sends; nothing more ever arrives.
class RecordingLink : public NetSession::Link {
 public:
  std::vector<std::pair<ConnectionId, std::vector<std::uint8_t>>> sent;
  std::vector<ConnectionId> closed;
  void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) override {
    sent.emplace_back(connection, std::move(bytes));
  }
  void Close(ConnectionId connection) override { closed.push_back(connection); }
  bool WaitForInput() override { return false; }
};

LoginMessage WithPrompt(const std::string& prompt, int player) {
  LoginMessage login;
  login.prompt.setUtf8(prompt);
  login.player = player;
  return login;
}

// A computer of a network game without windows, playing the edition of `boardFile`.
struct Computer {
  explicit Computer(Role role, const std::string& boardFile = TOMTURA_ASSETS_DIR "/tomtura.lst")
      : game(TextCatalogue::Load(boardFile), ui, 1), session(game, link, role) {
    ui.Attach(game);
  }
  void Receive(const NetMessage& message, ConnectionId from = kHostConnection) {
    session.Deliver(from, EncodeMessage(message));
  }

  test_support::ScriptedFrontEnd ui;  // persons answered by the computer's rules
  Game game;
  RecordingLink link;
  NetSession session;
};

TEST(SessionTest, AClientTakesNoPasswordFromTheRosterNorFromAState) {
  Computer anna(Role::Client);
  anna.session.Join("Anna");
  RosterMessage roster;  // a game of the host's player and Anna
  roster.players[0].name.setRaw("Host");
  roster.players[0].isComputer = 2;
  roster.players[1].name.setRaw("Anna");
  roster.players[0].password.setRaw("abc");  // left in the host's records by an earlier game
  roster.players[1].password.setRaw("xyz");
  anna.Receive(roster);
  ASSERT_TRUE(anna.session.inGame());
  const GameState& state = anna.game.state;
  for (const Player& player : state.players) EXPECT_TRUE(player.password.empty());

  // A state from the host that carries them anyway leaves them out, and is taken.
  StateMessage commit{state.properties, state.players};
  commit.players[1].password.setRaw("xyz");
  commit.players[0].money -= 100;  // the host's player paid charges in his play window
  anna.Receive(commit);
  anna.session.Pump();
  EXPECT_FALSE(anna.session.ended());
  EXPECT_EQ(state.players[0].money, kStartMoney - 100);
  EXPECT_TRUE(state.players[1].password.empty());
}

// The host with Anna on connection 12 and Bo on 13, the game begun.
struct HostOfThree : Computer {
  HostOfThree() : Computer(Role::Host) {
    session.OpenLobby();
    for (const auto& [connection, name] :
         {std::pair<ConnectionId, const char*>{12, "Anna"}, {13, "Bo"}}) {
      EXPECT_TRUE(session.Accept(connection));
      JoinMessage join;
      join.name.setRaw(name);
      join.extended = connection == 12;
      session.Deliver(connection, EncodeMessage(join));
    }
    session.Start("Host");
    atStart = game.state.players;
    link.sent.clear();
  }
  PlayerTable atStart;
  std::string LastLog() const { return game.state.log.entries().front(); }
};

// Only the host takes a player out of the game: a client whose commit does is itself the one
// who leaves, in the edition's words, and the others learn it from the host's state.
TEST(SessionTest, AClientsCommitThatTakesAnotherPlayerOutIsRefusedAndItsSenderLeaves) {
  HostOfThree host;
  GameState& state = host.game.state;
  StateMessage commit{state.properties, state.players};
  commit.players[2].isBankrupt = 1;
  host.Receive(commit, 12);
  host.session.Pump();  // the host's player is on turn: everybody waits for him
  EXPECT_EQ(state.players[2].isBankrupt, 0);
  EXPECT_EQ(state.players[1].isBankrupt, 1);
  EXPECT_EQ(host.LastLog(), "1" + host.game.FormatCatalogue(kTextLogLeftGame, "Anna",
                                                            host.game.Text(kTextLeftRefused)));
  ASSERT_EQ(host.link.sent.size(), 1u);
  EXPECT_EQ(host.link.sent[0].first, 13);
  const std::span<const std::uint8_t> bytes(host.link.sent[0].second);
  const auto sent = std::get<StateMessage>(
      *DecodePayload(2, bytes.subspan(kTypeCodeSize), Role::Client, 3).message);
  EXPECT_EQ(sent.players[1].isBankrupt, 1);

  // At Bo's computer the host's state names the player who has left.
  Computer bo(Role::Client);
  bo.session.Join("Bo");
  bo.Receive(RostersAtStart(host.atStart, 3, state.settings)[1]);
  std::vector<int> gone;
  bo.session.events.playerGone = [&](int player) { gone.push_back(player); };
  bo.Receive(sent);
  bo.session.Pump();
  EXPECT_EQ(gone, std::vector<int>{1});
  EXPECT_EQ(bo.game.state.log.entries().front(),
            "1" + bo.game.FormatCatalogue(kTextPlayerGone, "Anna"));
}

// A consent asked of a player at a computer that speaks the extended messages comes as the
// deal's terms, said in that computer's own edition on the host's streets; a computer that
// does not speak them gets a Login with the asker's words.
TEST(SessionTest, AnOfferIsSaidInTheAskedComputersEditionOrSentAsTheAskerWroteIt) {
  HostOfThree host;  // Anna joined announcing the extended messages, Bo as the design has it
  GameState& state = host.game.state;
  ASSERT_TRUE(host.session.Extended(12));
  ASSERT_FALSE(host.session.Extended(13));
  const OfferWords words = host.game.WordsOf(kTextBuyOffer, 0, 1, kNobody, 700, state.properties);
  const OfferMessage offer{WithPrompt("Anna asks", 2), -700, kNobody, 1, words};
  host.Receive(offer, 12);
  host.session.Pump();
  EXPECT_EQ(host.link.sent, (decltype(host.link.sent){{13, EncodeMessage(offer.login)}}));

  // Anna's computer plays the English edition: asked herself, she reads it in English.
  Computer anna(Role::Client, TOMTURA_ASSETS_DIR "/tomtura_en.lst");
  anna.session.Join("Anna");
  RosterMessage roster = RostersAtStart(host.atStart, 3, state.settings)[0];
  roster.extended = true;
  anna.Receive(roster);
  anna.Receive(StateMessage{state.properties, host.atStart});
  anna.session.Pump();
  EXPECT_EQ(anna.game.state.properties[1].name, state.properties[1].name);
  OfferMessage toAnna = offer;
  toAnna.login = WithPrompt(host.game.OfferText(1, words), 1);
  anna.ui.consents = {false};
  anna.Receive(toAnna);
  anna.session.Pump();
  const std::string asked = anna.game.OfferText(1, words);
  EXPECT_EQ(anna.ui.Texts("AskConsent"), std::vector{asked});
  EXPECT_NE(asked.find("\u00a3700"), std::string::npos) << asked;
  EXPECT_NE(asked.find(state.properties[1].name.utf8()), std::string::npos) << asked;
}

// The lobby of a saved game hands each seat only to a computer that joins with that player's
// name and can take a game up in its course; a seat whose computer goes before the start is
// awaited again, in its own place.
TEST(SessionTest, ASavedGamesLobbyGivesEachSeatBackOnlyToItsPlayer) {
  Computer host(Role::Host);
  SavedGame saved{.playerCount = 5};
  const char* names[] = {"Host", "Anna", "Bo", "Dator", "Cecilia"};
  for (int p = 0; p < saved.playerCount; ++p) {
    saved.players[p].name.setRaw(names[p]);
    saved.players[p].isComputer = static_cast<std::int16_t>(p == 3 ? 1 : 20 + p);
    saved.players[p].money = 1000;
  }
  saved.players[4].isBankrupt = 1;  // out of the game: nobody comes back for him
  host.session.OpenSavedLobby(saved);
  EXPECT_EQ(host.session.PlayersAwaited(), 2);

  const struct {
    ConnectionId connection;
    const char* name;
    bool extended, taken;
    int awaitedAfter;
  } cases[] = {
      {30, "Cecilia", true, false, 2},                              // out of the game
      {31, "Dator", true, false, 2},                                // the host's computer player
      {32, "Anna", false, false, 2},                                // cannot take a game up
      {33, "Bo", true, true, 1},       {34, "Bo", true, false, 1},  // his seat is taken
      {35, "Eva", true, false, 1},     {36, "Anna", true, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.connection);
    ASSERT_TRUE(host.session.Accept(c.connection));
    JoinMessage join;
    join.name.setRaw(c.name);
    join.extended = c.extended;
    host.link.closed.clear();
    host.session.Deliver(c.connection, EncodeMessage(join));
    EXPECT_EQ(host.link.closed.empty(), c.taken);
    EXPECT_EQ(host.session.PlayersAwaited(), c.awaitedAfter);
  }
  const PlayerTable& players = host.game.state.players;
  EXPECT_EQ(PlayerConnection(players[1]), 36);
  EXPECT_EQ(PlayerConnection(players[2]), 33);
  EXPECT_TRUE(IsComputerPlayer(players[3]));

  host.session.Lost(33);
  EXPECT_EQ(host.session.PlayersAwaited(), 1);
  EXPECT_EQ(host.game.state.playerCount, 5);
  EXPECT_EQ(players[2].name.utf8(), "Bo");
  EXPECT_EQ(PlayerConnection(players[1]), 36);
}

}  // namespace
}  // namespace tomtura
