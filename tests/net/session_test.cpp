// One computer's session against a scripted other end: what it makes of what comes, and what it
// sends.
#include "net/session.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"

namespace tomtura {
namespace {

// Keeps what the session sends; nothing more ever arrives.
class RecordingLink : public NetSession::Link {
 public:
  std::vector<std::pair<ConnectionId, std::vector<std::uint8_t>>> sent;
  void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) override {
    sent.emplace_back(connection, std::move(bytes));
  }
  void Close(ConnectionId) override {}
  bool WaitForInput() override { return false; }
};

const TextCatalogue& Texts() {
  static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  return texts;
}

// A computer of a network game without windows.
struct Computer {
  explicit Computer(Role role) : session(game, link, role) { ui.Attach(game); }
  void Receive(const NetMessage& message, ConnectionId from = kHostConnection) {
    const std::vector<std::uint8_t> bytes = EncodeMessage(message);
    session.Deliver(from, bytes);
  }

  HeadlessFrontEnd ui;
  Game game{Texts(), ui, 1};
  RecordingLink link;
  NetSession session;
};

// Anna's computer, in a game with the host's player: the roster the host sends her.
RosterMessage RosterForAnna() {
  RosterMessage roster;
  roster.players[0].name.setRaw("Host");
  roster.players[0].isComputer = 2;
  roster.players[1].name.setRaw("Anna");
  return roster;
}

TEST(SessionTest, AClientTakesNoPasswordFromTheRosterNorFromAState) {
  Computer anna(Role::Client);
  anna.session.Join("Anna");
  RosterMessage roster = RosterForAnna();
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

}  // namespace
}  // namespace tomtura
