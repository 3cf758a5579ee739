// Network games in memory: a host and two clients, each a thread with its own copy of the game,
// joined by pipes that carry the real messages as bytes. They meet in the lobby, play seeded
// games to the end and must end with the same game; a client that leaves or that sends garbage
// is dropped and the others play on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "net/session.h"
#include "rules/game.h"

namespace tomtura {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);
constexpr int kMaxThrows = 1500;  // a computer's own throws before a game counts as endless

// Bytes that came to one computer, and from where (the sender's connection as the receiver
// knows it; a lost connection is an empty chunk with `lost`).
struct Chunk {
  ConnectionId from;
  std::vector<std::uint8_t> bytes;
  bool lost = false;
};

class Inbox {
 public:
  // Set when one computer gives up on a game that does not end: the others stop waiting.
  std::atomic<bool>* stop = nullptr;
  void Put(Chunk chunk) {
    {
      std::lock_guard lock(mutex_);
      chunks_.push_back(std::move(chunk));
    }
    ready_.notify_one();
  }
  bool Take(Chunk& chunk) {
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (chunks_.empty()) {
      if (*stop || std::chrono::steady_clock::now() > deadline) return false;
      ready_.wait_for(lock, std::chrono::milliseconds(50));
    }
    chunk = std::move(chunks_.front());
    chunks_.pop_front();
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Chunk> chunks_;
};

struct Computer;

// Where each computer's bytes go: the host knows clients by connection ids 2, 3, ...; a client
// knows only the host.
struct Network {
  std::vector<Computer*> computers;  // 0 the host, then the clients
  std::atomic<bool> stop{false};
};

struct Computer : NetSession::Link {
  Computer(Network& network, int index, std::uint64_t seed)
      : network(network),
        index(index),
        game(Catalogue(), ui, seed),
        session(game, *this, index == 0 ? Role::Host : Role::Client) {
    inbox.stop = &network.stop;
    ui.Attach(game);
    ui.SetDealsAsComputer(true);
    session.remotePressMs = 0;
    session.events.playerLeft = [](int) { return true; };
    session.events.ended = [this](const std::string& why) { endedWhy = why; };
  }

  static const TextCatalogue& Catalogue() {
    static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
    return texts;
  }

  // Link.
  void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) override {
    if (index == 0) {
      Computer* client = network.computers[static_cast<std::size_t>(connection - 1)];
      if (!client->gone) client->inbox.Put({kHostConnection, std::move(bytes)});
    } else if (!gone) {
      network.computers[0]->inbox.Put({ConnectionId(index + 1), std::move(bytes)});
    }
  }
  void Close(ConnectionId connection) override {
    if (index == 0)
      network.computers[static_cast<std::size_t>(connection - 1)]->inbox.Put({0, {}, true});
  }
  bool WaitForInput() override {
    Chunk chunk;
    if (!inbox.Take(chunk)) return false;
    if (chunk.lost) {
      session.Lost(chunk.from);
    } else {
      session.Deliver(chunk.from, chunk.bytes);
    }
    return true;
  }

  // Plays until the game is over (or this computer leaves after `leaveAfter` throws).
  void Play(int leaveAfter = -1) {
    int dealtAt = -1;
    int throws = 0;
    while (!session.ended()) {
      GameState& state = game.state;
      if (state.turnPhase == TurnPhase::GameOver) return;
      session.Pump();
      if (ui.Tick()) continue;
      const bool myTurn = state.currentPlayer == Local() && state.players[Local()].isBankrupt == 0;
      if (state.turnPhase == TurnPhase::AwaitRoll && myTurn) {
        if (leaveAfter >= 0 && throws >= leaveAfter) {
          Leave();
          return;
        }
        // Once a turn the player deals, as the computer would, then throws.
        if (dealtAt != throws && state.doublesInRow == 0) {
          dealtAt = throws;
          game.referee.RunPlayWindow(1);
          continue;
        }
        if (++throws > kMaxThrows) {
          network.stop = true;
          return;
        }
        game.Roll();
        continue;
      }
      if (!WaitForInput()) {
        if (!network.stop) failure = "nothing came in time";
        return;
      }
    }
  }

  int Local() const {
    for (int p = 0; p < game.state.playerCount; ++p) {
      if (game.state.players[p].isComputer == 0 && game.state.players[p].isBankrupt == 0) return p;
    }
    return -1;
  }

  void Leave() {
    gone = true;
    network.computers[0]->inbox.Put({ConnectionId(index + 1), {}, true});
  }

  Network& network;
  int index;
  HeadlessFrontEnd ui;
  Game game;
  NetSession session;
  Inbox inbox;
  bool gone = false;
  std::string failure;
  std::string endedWhy;
};

// A host and `clients` clients meet in the lobby; the host starts the game.
struct Table {
  Table(int clients, std::uint64_t seed) {
    for (int i = 0; i <= clients; ++i) {
      owned.push_back(
          std::make_unique<Computer>(network, i, seed * 7 + static_cast<std::uint64_t>(i)));
      network.computers.push_back(owned.back().get());
    }
    Computer& host = *owned[0];
    host.game.state.settings.auctionOn = 1;
    host.session.OpenLobby();
    for (int i = 1; i <= clients; ++i) {
      EXPECT_TRUE(host.session.Accept(ConnectionId(i + 1)));
      owned[static_cast<std::size_t>(i)]->session.Join("Klient" + std::to_string(i));
      EXPECT_TRUE(host.WaitForInput());  // the Join
    }
    host.session.Start("Värd");
    for (int i = 1; i <= clients; ++i)
      EXPECT_TRUE(owned[static_cast<std::size_t>(i)]->WaitForInput());
  }

  // Every computer plays in its own thread; `leaver` leaves after a few throws of his own.
  void Play(int leaver = -1) {
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < owned.size(); ++i) {
      threads.emplace_back(
          [this, i, leaver] { owned[i]->Play(static_cast<int>(i) == leaver ? 3 : -1); });
    }
    owned[0]->Play();
    for (std::thread& thread : threads) thread.join();
  }

  Network network;
  std::vector<std::unique_ptr<Computer>> owned;
};

// The game as every computer must hold it, but for who sits where.
std::pair<PlayerTable, PropertyTable> Position(const GameState& state) {
  PlayerTable players = state.players;
  for (Player& player : players) player.isComputer = 0;
  return {players, state.properties};
}

TEST(NetworkGame, ThreeComputersPlaySeededGamesToTheSameEnd) {
  // Games that end: persons here cannot weigh an offer made at another computer, so they refuse
  // it, and some games have nobody who ever completes a group.
  for (std::uint64_t seed : {1, 6, 7, 8, 9}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Table table(2, seed);
    const GameState& host = table.owned[0]->game.state;
    ASSERT_EQ(host.playerCount, 3);
    EXPECT_EQ(table.owned[2]->game.state.players[2].name.utf8(), "Klient2");
    EXPECT_EQ(table.owned[1]->game.state.players[0].name.utf8(), "Värd");
    table.Play();
    for (const auto& computer : table.owned) {
      EXPECT_EQ(computer->failure, "");
      EXPECT_EQ(computer->game.state.turnPhase, TurnPhase::GameOver);
      EXPECT_TRUE(Position(computer->game.state) == Position(host));
    }
  }
}

TEST(NetworkGame, AClientWhoLeavesGivesUpAndTheOthersPlayOn) {
  Table table(2, 11);
  table.Play(2);
  const GameState& host = table.owned[0]->game.state;
  EXPECT_EQ(host.players[2].isBankrupt, 1);
  for (const Property& property : host.properties) EXPECT_NE(property.owner, 2);
  EXPECT_EQ(host.turnPhase, TurnPhase::GameOver);
  EXPECT_TRUE(Position(table.owned[1]->game.state) == Position(host));
}

}  // namespace
}  // namespace tomtura
