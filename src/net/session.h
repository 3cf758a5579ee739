#pragma once
// One computer's side of a network game: the lobby (the host's list of joined players, a
// client's wait for the roster), then the game itself. In the game every computer runs the
// whole game; the session seats the players of the other computers (their answers arrive as
// messages), throws the dice (the host) or takes the host's (a client), sends what the players
// here decide, and takes what arrives only when the game asks for it, so that every computer
// applies each message at the same point of the game. It reaches the network through a Link
// that moves bytes; it has no sockets of its own.
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "data/outcome.h"
#include "net/framer.h"
#include "net/lobby.h"
#include "net/messages.h"
#include "rules/decision.h"
#include "rules/dice.h"
#include "rules/seats.h"
#include "store/saved_game.h"

namespace tomtura {

class Game;

// The connection of the host as a client sees it.
constexpr ConnectionId kHostConnection = 0;

class NetSession : public RemoteInbox {
 public:
  // Moves this computer's bytes and waits for more.
  class Link {
   public:
    virtual ~Link() = default;
    // Host: to the client on `connection`; client: to the host.
    virtual void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) = 0;
    virtual void Close(ConnectionId connection) = 0;
    // Returns when more has been delivered (Deliver, Lost) or something else needs the game;
    // false when nothing more can come.
    virtual bool WaitForInput() = 0;
    // The same, returning after `ms` milliseconds at the latest (true then).
    virtual bool WaitAtMost(int ms) {
      (void)ms;
      return WaitForInput();
    }
  };

  // What the host does when a player's connection breaks: wait for him to come back, let this
  // computer play his seat until he is back, or let him go.
  enum class DropChoice { Wait, Computer, Leave };

  // What the front end is told.
  struct Events {
    std::function<void()> lobbyChanged;  // host: a player joined or left the lobby
    std::function<void()> started;       // client: the roster came, the game has begun
    // A message for the player here: its title and text.
    std::function<void(const std::string& title, const std::string& text)> chat;
    // Host: a player has left the game; true to go on without him (text 31).
    std::function<bool(int player)> playerLeft;
    // Client: the host tells that a player has left the game.
    std::function<void(int player)> playerGone;
    // A question or auction turn of a player at another computer waits for his answer.
    std::function<void(const DecisionRequest& request)> awaiting;
    // Host: the connection of a player who may come back has broken; the host's choice.
    std::function<DropChoice(int player)> dropped;
    // Who is missing, who plays for whom, changed (Seats()).
    std::function<void()> seatsChanged;
    // A client that came back has caught up with the game, after `ms` milliseconds.
    std::function<void(int ms)> caughtUp;
    // The network game is over (the host gone, or too few players left): why, for text 30.
    std::function<void(const std::string& why)> ended;
  };

  NetSession(Game& game, Link& link, Role role);
  ~NetSession() override;
  NetSession(const NetSession&) = delete;
  NetSession& operator=(const NetSession&) = delete;

  Role role() const { return role_; }
  bool inGame() const { return inGame_; }
  bool ended() const { return ended_; }

  // Keeps to the design's messages alone: announces no extended ones and takes none up, so that
  // a computer that follows the design exactly can host or join. Set before the lobby.
  void SetClassic(bool classic) { classic_ = classic; }
  // Whether the computer at the other end of `connection` (a client: the host) speaks the
  // extended messages with this one.
  bool Extended(ConnectionId connection) const;

  // Host: how long the seat of a player whose connection broke is kept for him (zero: he
  // leaves at once); a computer that joins with his name in that time takes it back.
  void SetGrace(std::chrono::milliseconds grace) { grace_ = grace; }
  // Where each player's answers come from now, and for how many seconds a missing player's seat
  // is still kept: the host's own view, a client's as the host last told it.
  std::array<SeatState, kMaxPlayers> Seats() const;
  // Host: a joining computer is welcome, to take back the seat of a player who is missing.
  bool AwaitsReturn() const { return !absent_.empty(); }
  // Client: the game is being caught up with after coming back.
  bool catchingUp() const { return catchingUp_; }
  // Client: leaves the game of its own accord, telling the host so when it can.
  void SayGoodbye();

  // ---- Lobby ----
  // Host: the lobby opens with the host's player alone.
  void OpenLobby();
  // Host: the lobby of a saved network game, its players as the file holds them: the host's is
  // the first, the computer players are the host's, and each other player still in the game
  // takes his seat back by joining with his name (a computer that announced the extended
  // messages; the design has no way to take up a game in its course).
  void OpenSavedLobby(const SavedGame& saved);
  // Host: the players of the saved game who have not come back yet; 0 for a new game's lobby.
  int PlayersAwaited() const;
  // Host: the lobby takes up a saved game.
  bool hostsSavedGame() const { return saved_.has_value() && !inGame_; }
  // Host: a client connected; false when six players are there (the caller closes it).
  bool Accept(ConnectionId connection);
  // Host: a computer player of this computer's takes the next seat; false when six players are
  // there. The other computers see him as a player elsewhere; this computer plays him.
  bool AddComputer(const std::string& name, Strength strength = Strength::Normal);
  // Host: the game starts with the players who have joined: `hostName` names record 0, every
  // client gets his roster, and the game begins here.
  void Start(const std::string& hostName);
  // Client: connected; the joining player's name goes to the host.
  void Join(const std::string& name);

  // ---- Input ----
  // Bytes that arrived on `connection` (a client: from the host). They are read into messages
  // at once; the messages wait until the game takes them.
  void Deliver(ConnectionId connection, std::span<const std::uint8_t> bytes);
  // A connection has closed.
  void Lost(ConnectionId connection);
  // The game waits for a throw: acts on what has come (the dice, a commit, a consent asked at
  // another computer, a message, a player who left). Does nothing while the game is busy.
  void Pump();

  // ---- Output ----
  // A message from the player here to `addressees` (player numbers; empty: everybody).
  void SendChat(const std::string& text, const std::vector<int>& addressees);

  // RemoteInbox: the answer of a player at another computer.
  Decision Await(const DecisionRequest& request) override;

  Events events;
  // How long a press made elsewhere shows before the game goes on.
  int remotePressMs = 500;

 private:
  struct Item {
    ConnectionId from = 0;
    std::optional<NetMessage> message;  // empty: the connection was lost, for `reason`
    LeaveReason reason = LeaveReason::ConnectionLost;
  };

  using Clock = std::chrono::steady_clock;

  // Host: a player whose connection broke, his seat kept for him until `until`, played by this
  // computer meanwhile when `computerPlays`.
  struct Absence {
    Clock::time_point until;
    bool computerPlays = false;
  };

  // Host: the game as it stood the last time every computer waited for a throw, from which a
  // computer that comes back plays the messages sent since (log_) to catch up.
  struct Snapshot {
    PlayerTable players{};
    PropertyTable properties{};
    ResumeMessage turn{};
    DecksMessage decks{};
  };

  void BeginGame();
  // Host: the game of a saved lobby, from its file, to every computer that came back.
  void BeginSavedGame();
  // Host: a computer that takes up the game in its course gets all of it: its roster, the
  // snapshot of the last throw and every message since.
  void SendWholeGame(ConnectionId connection, int player);
  // Host, saved lobby: the Join of a computer that comes back for the player of its name.
  // Host, lobby: the computer on `connection` has gone; true when it held a record.
  bool LeaveLobby(ConnectionId connection);
  // False when the connection is closed instead.
  bool ClaimSeat(ConnectionId connection, const JoinMessage& join);
  void ApplyRoster(const RosterMessage& roster);
  void SeatPlayers();
  void OnDecision(const DecisionRequest& request, const Decision& decision, bool remote);
  void OnOutcome(const Outcome& outcome);
  // Host: to every client but `except`; client: to the host. An extended message goes only to a
  // computer that speaks it, an offer as a Login to one that does not.
  void Broadcast(const NetMessage& message, ConnectionId except = 0);
  void SendTo(ConnectionId connection, const NetMessage& message);
  void SendDice(const Dice& dice);

  // The next message (or lost connection) in the order it came; with `wait`, waits for one.
  std::optional<Item> Take(bool wait);
  // Acts on a message that no decision waits for (a commit, a message, a consent asked
  // elsewhere and its answer, a lost connection); false when it is not one of those.
  bool HandleAside(const Item& item);
  void ApplyState(const Item& item);
  // The player here is asked a consent from another computer's play window: the offer's own
  // words when they came, else the prompt as it was sent.
  void AnswerConsent(const OfferMessage& offer);
  void ShowChat(const ChatMessage& chat);
  // Host: the player who plays over `connection` has gone (his connection closed, or he sent
  // what he must not). He leaves the game at the next point where every computer still in it
  // waits for the same thing (SettleLeavers), so that all take his leaving in at one point of
  // the game. A client: the host has gone, and the game ends.
  void Drop(ConnectionId connection, LeaveReason reason);
  // Host: the players who have gone leave the game now, each with an outcome that every
  // computer learns from the state sent with it; false when the network game ended with them.
  bool SettleLeavers();
  // Host: whether every computer still in the game waits for something that only this computer
  // (or a player who has gone) can give, so that a player's leaving is taken in at the same
  // point everywhere: a turn of a player here or of one who has gone, with no consent asked
  // elsewhere.
  bool AllWaitForHost() const;
  // Host: a consent asked at another computer of a player who has gone is refused for him; one
  // of a player whose seat this computer plays now is answered here; the computer of an asked
  // player who comes back takes his seat now, everybody waiting for his answer.
  void AnswerForeignConsentsOfAbsent();
  // Host: the answer for a player who has left, the same on every computer: no to a question or
  // a consent, a pass at an auction, the closing of it. Sent as his press or bid when
  // `othersWait`, that is when the other computers wait for it.
  Decision AnswerForLeaver(const DecisionRequest& request, bool othersWait);
  void MoveOnFromALeaver();
  // Host: the connection is closed and its player goes; client: the game ends.
  void Refuse(ConnectionId from, const std::string& reason);

  // ---- Coming back ----
  // Host: a missing player's time is up: he leaves (or, a computer playing his seat, stays
  // played by it).
  void CheckAbsences();
  // Host: the earliest moment at which a missing player's time is up; none when nobody is.
  std::optional<Clock::time_point> NextDeadline() const;
  // Host: a Join on a connection made during the game: the computer of a missing player, by
  // his name, which takes his seat back at the next point where it can (RejoinDue).
  void Returning(ConnectionId connection, const JoinMessage& join);
  // Host: the returning computers take their seats back now: each gets the game from the last
  // snapshot and every message since, and plays on from there.
  void Rejoin();
  void TakeSnapshot();
  void SendSeats();
  // Client: the game a returning computer takes up, from the host's Resume, State and Decks.
  void BeginResume(const ResumeMessage& resume);
  void TakeResumedState(const StateMessage& state);
  void TakeResumedDecks(const DecksMessage& decks);
  // Client: the answer of the player here to a decision the game put to him while catching up,
  // once the messages that replay the game are all taken: his own seat again.
  Decision AnswerHere(const DecisionRequest& request);
  void FinishCatchingUp();
  // The status line says who throws now, as at the end of a turn.
  void TellWhoThrows();
  void End(const std::string& why);
  int PlayersInGame() const;
  // Host: the player on turn is played by this computer's rules.
  bool ComputerOnTurnHere() const;
  // Host: where `player`'s answers come from; -1 when he has left.
  ConnectionId ConnectionOf(int player) const;
  bool Gone(int player) const { return left_.contains(player) || leaving_.contains(player); }

  Game& game_;
  Link& link_;
  Role role_;
  bool classic_ = false;
  std::set<ConnectionId> extended_;  // host: the clients that speak the extended messages
  bool hostExtended_ = false;        // client: the host speaks them
  RemoteSeat seat_;
  HostDice hostDice_;
  ClientDice clientDice_;
  std::map<ConnectionId, Framer> framers_;
  std::deque<Item> inbox_;
  bool inGame_ = false;
  bool ended_ = false;
  bool decksPending_ = true;
  bool waitingForDice_ = false;
  // Consents asked at one computer of a player at another, oldest first.
  std::deque<OfferMessage> foreignConsents_;
  int localPlayer_ = 0;
  bool answeringConsent_ = false;       // a consent asked elsewhere is answered here
  std::map<int, LeaveReason> leaving_;  // host: players gone, not yet out of the game, and why
  std::set<int> left_;                  // players who have left the game
  std::set<int> letGo_;                 // host: let go when his connection broke
  std::chrono::milliseconds grace_{0};
  std::map<int, Absence> absent_;               // host: players whose connection broke
  std::map<int, ConnectionId> returning_;       // host: their computers, joined again
  std::optional<Snapshot> snapshot_;            // host
  std::optional<SavedGame> saved_;              // host: the saved game its lobby takes up
  std::vector<NetMessage> log_;                 // host: what was sent since the snapshot
  std::array<SeatState, kMaxPlayers> seats_{};  // client: as the host last told them
  Clock::time_point seatsTold_{};               // client: when
  // Client: coming back: the Resume taken, its State and Decks still to come.
  std::optional<ResumeMessage> resume_;
  bool resumeStateTaken_ = false;
  bool catchingUp_ = false;
  int replayLeft_ = 0;  // messages that replay the game, still to be taken
  Clock::time_point joinedAt_{};
  int subscription_ = 0;
  int outcomeSubscription_ = 0;
};

}  // namespace tomtura
