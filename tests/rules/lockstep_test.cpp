// Two copies of one game, each at its own computer (a thread here), joined by an in-memory
// pipe: each plays its own players and takes the other's answers from the pipe, the host throws
// every die and shuffles the decks. Both copies must apply the same outcomes in the same order,
// and after every throw hold the same game. And a game replayed from its published decisions
// and its dice is the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "rules/seats.h"

namespace tomtura {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);  // a copy that waits longer is stuck
constexpr std::size_t kMaxThrows = 5000;
constexpr int kDice = 1;
constexpr int kRollRequest = 2;
constexpr int kDecks = 3;

// What one copy tells the other.
struct Message {
  static Message Of(int type) {
    Message message;
    message.type = static_cast<Type>(type);
    return message;
  }
  enum class Type { Decision, Dice, RollRequest, Decks } type = Type::Decision;
  DecisionKind kind = DecisionKind::Question;
  int player = 0;
  Decision decision;
  Dice dice;
  Deck chance;
  Deck community;
};

// One direction of the pipe.
class Channel {
 public:
  void Send(Message message) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(message));
    }
    ready_.notify_one();
  }
  void Close() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
  }
  // The next message; nothing when the pipe was closed or nothing came in time.
  std::optional<Message> Receive() {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_for(lock, kPatience, [this] { return closed_ || !queue_.empty(); }) ||
        queue_.empty()) {
      return std::nullopt;
    }
    Message message = std::move(queue_.front());
    queue_.pop_front();
    return message;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Message> queue_;
  bool closed_ = false;
};

// The position of a game as both copies must see it: everything but what each computer only
// shows (token pixels, list selections, the status line) and the play window's scratch copies.
struct Position {
  PlayerTable players;
  PropertyTable properties;
  int currentPlayer, doublesInRow, die1, die2, gameRunning;
  TurnPhase phase;
  std::array<std::uint16_t, kMaxPlayers> firstLap;
  Deck chance, community;
  std::array<std::uint16_t, kPropertyCount> asked;
  std::array<std::uint32_t, kMaxPlayers> refusedLast, refusedThis;
  std::deque<std::string> log;
  bool operator==(const Position&) const = default;
};

Position PositionOf(const GameState& s) {
  Position p{
      s.players,       s.properties,    s.currentPlayer,   s.doublesInRow,    s.die1,
      s.die2,          s.gameRunning,   s.turnPhase,       s.firstLap,        s.chanceDeck,
      s.communityDeck, s.askedThisTurn, s.refusedLastTurn, s.refusedThisTurn, s.log.entries()};
  for (Player& player : p.players) player.tokenX = player.tokenY = 0;
  return p;
}

// The front end of one copy: persons here are answered by the computer's rules, and the game
// is noted at each throw, when its dice have been shown.
class RecordingFrontEnd : public HeadlessFrontEnd {
 public:
  std::vector<Position> positions;
  void StopTimer(GameTimerId timer) override {
    if (timer == GameTimerId::Dice && game().state.turnPhase == TurnPhase::Rolling) {
      positions.push_back(PositionOf(game().state));
    }
    HeadlessFrontEnd::StopTimer(timer);
  }
};

// One computer of the pair: its copy of the game, the seats of the other computer's players
// and the dice of its role.
class Computer : public RemoteInbox {
 public:
  Computer(const TextCatalogue& texts, std::uint64_t seed, bool host, Channel& in, Channel& out)
      : game(texts, ui, seed),
        host_(host),
        in_(in),
        out_(out),
        hostDice_(game.rng, [this](const Dice& dice) { SendDice(dice); }),
        clientDice_([this] { out_.Send(Message::Of(kRollRequest)); }),
        remote_(*this) {
    ui.Attach(game);
    game.SetDiceSource(host ? static_cast<DiceSource*>(&hostDice_) : &clientDice_);
    // What this computer's players decide goes to the other computer.
    game.referee.Subscribe(
        [this](const DecisionRequest& request, const Decision& decision, bool remote) {
          if (remote) return;
          Message message;
          message.kind = request.kind;
          message.player = request.player;
          message.decision = decision;
          out_.Send(std::move(message));
        });
    game.referee.SubscribeOutcomes([this](const Outcome& outcome, const DecisionRecord*) {
      outcomes.push_back(DescribeOutcome(outcome));
    });
  }

  // Seats the players: the same records on both computers, with `mine[i]` telling whether
  // player i plays here.
  void Seat(int players, const std::vector<bool>& mine, const std::vector<int>& isComputer) {
    GameState& state = game.state;
    state.playerCount = players;
    for (int i = 0; i < kMaxPlayers; ++i) {
      Player& player = state.players[i];
      player.name.setUtf8("P" + std::to_string(i + 1));
      player.isComputer = static_cast<std::int16_t>(i < players ? isComputer[i] : 1);
      player.password.setUtf8(i < players && isComputer[i] == 0 ? "pw" : "");
      player.token = static_cast<std::int16_t>(i);
      game.referee.SetSeat(i, i < players && !mine[i] ? &remote_ : nullptr);
    }
    state.settings.auctionOn = 1;
    game.NewGame(false);
  }

  // Plays until the game is over, something goes wrong, or the throws run out.
  void Play() {
    while (!failed) {
      GameState& state = game.state;
      if (state.turnPhase == TurnPhase::GameOver) return;
      if (ui.Tick()) continue;
      // Both copies stop at the same turn when a game has no end.
      if (state.turnPhase == TurnPhase::AwaitRoll && ui.positions.size() >= kMaxThrows) return;
      if (state.turnPhase == TurnPhase::AwaitRoll && !game.referee.IsRemote(state.currentPlayer)) {
        game.Roll();
        if (ui.dicePending() || state.turnPhase != TurnPhase::Rolling) continue;
      } else if (state.turnPhase != TurnPhase::AwaitRoll && state.turnPhase != TurnPhase::Rolling) {
        Fail("stalled in phase " + std::to_string(static_cast<int>(state.turnPhase)));
        return;
      }
      // The throw of a player elsewhere, or the host's dice for our own.
      const std::optional<Message> message = in_.Receive();
      if (!message) return Fail("nothing came while waiting for a throw");
      Handle(*message);
    }
  }

  // RemoteInbox: the answer of a player at the other computer; what his play window committed
  // on the way is applied as it comes.
  Decision Await(const DecisionRequest& request) override {
    std::optional<Message> message = in_.Receive();
    while (message && message->type == Message::Type::Decision &&
           message->kind == DecisionKind::PlayWindow && message->decision.commit != nullptr &&
           game.referee.ApplyRemoteCommit(*message->decision.commit)) {
      message = in_.Receive();
    }
    if (!message || message->type != Message::Type::Decision || message->kind != request.kind ||
        message->player != request.player) {
      Fail("expected the " + std::string(DecisionKindName(request.kind)) + " of player " +
           std::to_string(request.player));
      return {};
    }
    ++decisionsReceived;
    return message->decision;
  }

  void Fail(const std::string& what) {
    if (failed) return;
    failed = true;
    failure = what;
    out_.Close();
    in_.Close();
  }

  RecordingFrontEnd ui;
  Game game;
  std::vector<std::string> outcomes;  // as applied here, described
  bool failed = false;
  std::string failure;
  int decisionsReceived = 0;

 private:
  void SendDice(const Dice& dice) {
    // The decks go with the first throw, as the host shuffled them.
    if (!decksSent_) {
      decksSent_ = true;
      Message decks = Message::Of(kDecks);
      decks.chance = game.state.chanceDeck;
      decks.community = game.state.communityDeck;
      out_.Send(decks);
    }
    Message message = Message::Of(kDice);
    message.dice = dice;
    out_.Send(message);
  }

  void Handle(const Message& message) {
    GameState& state = game.state;
    switch (message.type) {
      case Message::Type::Decks:
        if (host_) return Fail("decks from the client");
        state.chanceDeck = message.chance;
        state.communityDeck = message.community;
        return;
      case Message::Type::Dice:
        if (host_ || !clientDice_.Deliver(message.dice)) return Fail("dice that are not dice");
        game.DiceArrived();
        return;
      case Message::Type::RollRequest:
        if (!host_ || state.turnPhase != TurnPhase::AwaitRoll ||
            !game.referee.IsRemote(state.currentPlayer)) {
          return Fail("a roll out of turn");
        }
        game.BeginThrow();
        return;
      case Message::Type::Decision:
        return Fail("a decision nobody asked for");
    }
  }

  bool host_;
  Channel& in_;
  Channel& out_;
  HostDice hostDice_;
  ClientDice clientDice_;
  RemoteSeat remote_;
  bool decksSent_ = false;
};

const TextCatalogue& Catalogue() {
  static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  return texts;
}

TEST(Lockstep, TwoComputersPlayTheSameGameThrowForThrow) {
  constexpr int kGames = 60;
  int finished = 0;
  int decisions = 0;
  for (int index = 0; index < kGames; ++index) {
    const std::uint64_t seed = SeriesSeed(2026, index);
    const int players = 2 + index % 5;
    // Where each player sits and who he is varies with the game: host or client, person or
    // computer player; player 0 is always the host's.
    std::vector<bool> atHost(players);
    std::vector<int> isComputer(players);
    for (int i = 0; i < players; ++i) {
      atHost[i] = i == 0 || ((seed >> i) & 1) != 0;
      // Persons here never deal, so a game of persons alone could go on for ever.
      isComputer[i] = i == 1 || ((seed >> (i + 8)) % 3) != 0 ? 1 : 0;
    }
    std::vector<bool> atClient(players);
    for (int i = 0; i < players; ++i) atClient[i] = !atHost[i];

    Channel toClient, toHost;
    Computer host(Catalogue(), seed, true, toHost, toClient);
    // The client's own random source differs: nothing shared may come from it.
    Computer client(Catalogue(), seed ^ 0xC11E17, false, toClient, toHost);
    host.Seat(players, atHost, isComputer);
    client.Seat(players, atClient, isComputer);

    std::thread clientThread([&] { client.Play(); });
    host.Play();
    if (host.failed) client.Fail("the host stopped");
    clientThread.join();

    SCOPED_TRACE("game " + std::to_string(index) + ", " + std::to_string(players) + " players");
    ASSERT_FALSE(host.failed) << host.failure;
    ASSERT_FALSE(client.failed) << client.failure;
    const auto [hostAt, clientAt] = std::mismatch(host.outcomes.begin(), host.outcomes.end(),
                                                  client.outcomes.begin(), client.outcomes.end());
    ASSERT_TRUE(hostAt == host.outcomes.end() && clientAt == client.outcomes.end())
        << "the copies differ at outcome " << (hostAt - host.outcomes.begin()) << ": the host's "
        << (hostAt != host.outcomes.end() ? *hostAt : "none") << ", the client's "
        << (clientAt != client.outcomes.end() ? *clientAt : "none");
    const auto& a = host.ui.positions;
    const auto& b = client.ui.positions;
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t throwIndex = 0; throwIndex < a.size(); ++throwIndex) {
      ASSERT_TRUE(a[throwIndex] == b[throwIndex]) << "the copies differ at throw " << throwIndex;
    }
    EXPECT_TRUE(PositionOf(host.game.state) == PositionOf(client.game.state));
    if (host.game.state.turnPhase == TurnPhase::GameOver) ++finished;
    decisions += host.decisionsReceived + client.decisionsReceived;
  }
  // Every game ends, and each copy took many answers from the other.
  EXPECT_EQ(finished, kGames);
  EXPECT_GT(decisions, kGames * 20);
}

// The dice of a game, kept for a replay; and the replay's dice.
class RecordedDice : public DiceSource {
 public:
  explicit RecordedDice(Random& rng) : local_(rng) {}
  Dice Faces() override { return thrown.emplace_back(local_.Faces()); }
  std::vector<Dice> thrown;

 private:
  LocalDice local_;
};

class ReplayedDice : public DiceSource {
 public:
  explicit ReplayedDice(std::vector<Dice> dice) : dice_(std::move(dice)) {}
  Dice Faces() override { return next_ < dice_.size() ? dice_[next_++] : Dice{}; }

 private:
  std::vector<Dice> dice_;
  std::size_t next_ = 0;
};

// Answers every request from a recording, checking it asks what was asked then.
class ReplaySeat : public Seat {
 public:
  struct Entry {
    DecisionKind kind;
    int player;
    Decision decision;
  };
  explicit ReplaySeat(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  Decision Decide(const DecisionRequest& request) override {
    if (next_ >= entries_.size() || entries_[next_].kind != request.kind ||
        entries_[next_].player != request.player) {
      ++mismatches;
      return {};
    }
    return entries_[next_++].decision;
  }
  std::size_t used() const { return next_; }
  int mismatches = 0;

 private:
  std::vector<Entry> entries_;
  std::size_t next_ = 0;
};

TEST(Replay, AGameIsItsDecisionsAndItsDice) {
  // Persons (answered by the computer's rules here, their answers varied a little) and
  // computer players, with passwords and auctions.
  HeadlessFrontEnd ui;
  Game original(Catalogue(), ui, 99);
  ui.Attach(original);
  RecordedDice dice(original.rng);
  original.SetDiceSource(&dice);
  std::vector<ReplaySeat::Entry> decisions;
  original.referee.Subscribe([&](const DecisionRequest& r, const Decision& d, bool) {
    decisions.push_back({r.kind, r.player, d});
  });
  const auto seat = [](Game& game) {
    GameState& state = game.state;
    state.playerCount = 4;
    for (int i = 0; i < 4; ++i) {
      state.players[i].name.setUtf8("P" + std::to_string(i + 1));
      state.players[i].isComputer = static_cast<std::int16_t>(i % 2);
      state.players[i].password.setUtf8(i % 2 == 0 ? "pw" : "");
      state.players[i].token = static_cast<std::int16_t>(i);
    }
    state.settings.auctionOn = 1;
    game.NewGame(false);
  };
  seat(original);
  ASSERT_EQ(ui.Run(3000), HeadlessFrontEnd::RunResult::GameOver);
  ASSERT_GT(decisions.size(), 200u);

  HeadlessFrontEnd replayUi;
  Game replay(Catalogue(), replayUi, 99);
  replayUi.Attach(replay);
  ReplayedDice replayedDice(dice.thrown);
  replay.SetDiceSource(&replayedDice);
  ReplaySeat recording(decisions);
  for (int i = 0; i < kMaxPlayers; ++i) replay.referee.SetSeat(i, &recording);
  seat(replay);
  ASSERT_EQ(replayUi.Run(3000), HeadlessFrontEnd::RunResult::GameOver);
  EXPECT_EQ(recording.mismatches, 0);
  EXPECT_EQ(recording.used(), decisions.size());
  EXPECT_TRUE(PositionOf(replay.state) == PositionOf(original.state));
}

}  // namespace
}  // namespace tomtura
