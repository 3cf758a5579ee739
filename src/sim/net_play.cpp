// A network game over plain sockets: the host listens, accepts and starts; a client connects
// and joins; both then play the game with the session of the core, polling their sockets while
// the game waits.
#include "sim/net_play.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <fmt/core.h>

#include "headless/headless_front_end.h"
#include "net/session.h"
#include "rules/game.h"
#include "store/history_file.h"
#include "store/saved_game.h"

namespace tomtura {
namespace {

constexpr int kExitFailure = 1;
constexpr int kPollMs = 60000;    // a game that hears nothing for this long has lost its peers
constexpr int kWaitStepMs = 200;  // the game looks at the clock this often while it waits
constexpr int kSellPage = 1;

class SocketLink : public NetSession::Link {
 public:
  ~SocketLink() override {
    for (const auto& [connection, socket] : sockets_) close(socket);
    if (listener_ >= 0) close(listener_);
  }

  void Attach(NetSession& session) { session_ = &session; }

  // Host: listens on `port` (0: any free port) of every address, IPv6 and IPv4 alike (IPv4
  // alone where the system has no IPv6); the port actually taken, or -1.
  int Listen(int port) {
    listener_ = socket(AF_INET6, SOCK_STREAM, 0);
    if (listener_ >= 0) {
      const int no = 0;
      setsockopt(listener_, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
      sockaddr_in6 address{};
      address.sin6_family = AF_INET6;
      address.sin6_addr = in6addr_any;
      address.sin6_port = htons(static_cast<std::uint16_t>(port));
      return BindAndListen(reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return BindAndListen(reinterpret_cast<sockaddr*>(&address), sizeof address);
  }

  // Client: connects to the host, a name or an address of either family, trying each address
  // the name stands for in turn; false when none answers.
  bool Connect(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    // An IPv6 address may come in the brackets of a URL.
    const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
    const std::string name = bracketed ? host.substr(1, host.size() - 2) : host;
    if (getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
      return false;
    }
    int connected = -1;
    for (addrinfo* at = found; at != nullptr && connected < 0; at = at->ai_next) {
      const int s = socket(at->ai_family, at->ai_socktype, at->ai_protocol);
      if (s < 0) continue;
      if (connect(s, at->ai_addr, at->ai_addrlen) == 0) {
        connected = s;
      } else {
        close(s);
      }
    }
    freeaddrinfo(found);
    if (connected < 0) return false;
    Keep(kHostConnection, connected);
    return true;
  }

  void StopListening() {
    if (listener_ >= 0) close(listener_);
    listener_ = -1;
  }

  void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) override {
    const auto found = sockets_.find(connection);
    if (found == sockets_.end()) return;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = send(found->second, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0 && errno != EINTR) return;  // the loss is noticed when reading
      if (n > 0) sent += static_cast<std::size_t>(n);
    }
  }

  void Close(ConnectionId connection) override {
    const auto found = sockets_.find(connection);
    if (found == sockets_.end()) return;
    close(found->second);
    sockets_.erase(found);
  }

  bool WaitForInput() override { return Wait(kPollMs); }
  bool WaitAtMost(int ms) override { return Wait(ms) || silentMs() < kPollMs; }

  // How long nothing has come from the network.
  long long silentMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 lastInput_)
        .count();
  }

 private:
  // Waits up to `ms` for input and hands it on; false when nothing came (or nothing can).
  bool Wait(int ms) {
    std::vector<pollfd> watched;
    std::vector<ConnectionId> owners;
    if (listener_ >= 0) {
      watched.push_back({listener_, POLLIN, 0});
      owners.push_back(-1);
    }
    for (const auto& [connection, s] : sockets_) {
      watched.push_back({s, POLLIN, 0});
      owners.push_back(connection);
    }
    if (watched.empty()) return false;
    const int ready = poll(watched.data(), watched.size(), ms);
    if (ready <= 0) return ready < 0 && errno == EINTR;
    lastInput_ = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < watched.size(); ++i) {
      if (watched[i].revents == 0) continue;
      if (owners[i] < 0) {
        AcceptOne();
        continue;
      }
      std::array<std::uint8_t, 4096> buffer{};
      const ssize_t n = recv(watched[i].fd, buffer.data(), buffer.size(), 0);
      if (n > 0) {
        session_->Deliver(owners[i], std::span(buffer.data(), static_cast<std::size_t>(n)));
      } else if (n == 0 || errno != EINTR) {
        Close(owners[i]);
        session_->Lost(owners[i]);
      }
    }
    return true;
  }

  int BindAndListen(sockaddr* address, socklen_t size) {
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(listener_, address, size) != 0 || listen(listener_, 5) != 0) return -1;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&bound), &length);
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&bound);
    const auto* in4 = reinterpret_cast<const sockaddr_in*>(&bound);
    return ntohs(bound.ss_family == AF_INET6 ? in6->sin6_port : in4->sin_port);
  }

  void Keep(ConnectionId connection, int s) {
    const int yes = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    sockets_[connection] = s;
  }

  void AcceptOne() {
    const int s = accept(listener_, nullptr, nullptr);
    if (s < 0) return;
    const ConnectionId connection = nextConnection_++;
    Keep(connection, s);
    if (!session_->Accept(connection)) Close(connection);  // six players are there
  }

  NetSession* session_ = nullptr;
  std::map<ConnectionId, int> sockets_;
  int listener_ = -1;
  std::chrono::steady_clock::time_point lastInput_ = std::chrono::steady_clock::now();
  ConnectionId nextConnection_ = 2;
};

// The kinds of decision at which a process can be made to die, with the requests they match.
bool DropMatches(const std::string& kind, const DecisionRequest& request) {
  const QuestionTopic topic = request.layout.topic;
  switch (request.kind) {
    case DecisionKind::Question:
      return (kind == "offer" && topic == QuestionTopic::Offer) ||
             (kind == "card" && (topic == QuestionTopic::Card || topic == QuestionTopic::Notice)) ||
             (kind == "jail" && topic == QuestionTopic::Jail) ||
             (kind == "debt" && topic == QuestionTopic::Debt);
    case DecisionKind::AuctionBid:
      return kind == "bid";
    case DecisionKind::Consent:
      return kind == "consent";
    case DecisionKind::PlayWindow:
      return kind == "play";
    default:
      return false;
  }
}

// The player here is answered by the computer's rules, and the process dies, as if killed, at
// the decision it was told to die at: the others see its connection go in the middle of it.
class NetFrontEnd : public HeadlessFrontEnd {
 public:
  explicit NetFrontEnd(std::string dropAt) : dropAt_(std::move(dropAt)) {}
  Decision AskPerson(const DecisionRequest& request) override {
    if (!dropAt_.empty() && DropMatches(dropAt_, request)) {
      fmt::print("killed at {}\n", dropAt_);
      std::fflush(stdout);
      raise(SIGKILL);
    }
    return HeadlessFrontEnd::AskPerson(request);
  }

 private:
  std::string dropAt_;
};

int JoinedPlayers(const GameState& state) {
  int joined = 1;
  for (int p = 1; p < state.playerCount; ++p) joined += state.players[p].name.empty() ? 0 : 1;
  return joined;
}

}  // namespace

bool IsDropChoice(const std::string& choice) {
  return choice == "wait" || choice == "computer" || choice == "leave";
}

bool IsDropKind(const std::string& kind) {
  for (const char* known : {"offer", "card", "jail", "debt", "bid", "consent", "play"}) {
    if (kind == known) return true;
  }
  return false;
}

int PlayNetworkGame(const TextCatalogue& texts, const NetPlayOptions& options) {
  NetFrontEnd ui(options.dropAt);
  Game game(texts, ui, options.seed);
  ui.Attach(game);
  ui.SetDealsAsComputer(true);
  SocketLink link;
  NetSession session(game, link, options.host ? Role::Host : Role::Client);
  link.Attach(session);
  session.remotePressMs = 0;
  session.SetClassic(options.classic);
  session.events.playerLeft = [](int) { return true; };
  session.SetGrace(std::chrono::seconds(options.graceSeconds));
  session.events.dropped = [&options](int) {
    if (options.onDrop == "wait") return NetSession::DropChoice::Wait;
    if (options.onDrop == "computer") return NetSession::DropChoice::Computer;
    return NetSession::DropChoice::Leave;
  };
  session.events.caughtUp = [](int ms) {
    fmt::print("caught up in {} ms\n", ms);
    std::fflush(stdout);
  };
  std::string endedWhy;
  std::FILE* times =
      options.decisionTimes.empty() ? nullptr : std::fopen(options.decisionTimes.c_str(), "w");
  if (times != nullptr) {
    // The decisions every computer takes in the same order: questions and auctions.
    game.referee.Subscribe([times](const DecisionRequest& request, const Decision&, bool remote) {
      if (request.kind != DecisionKind::Question && request.kind != DecisionKind::AuctionBid &&
          request.kind != DecisionKind::AuctionClose) {
        return;
      }
      const auto now = std::chrono::steady_clock::now().time_since_epoch();
      fmt::print(times, "{} {}\n",
                 std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(), remote ? 1 : 0);
    });
  }
  session.events.ended = [&](const std::string& why) { endedWhy = why.empty() ? "ended" : why; };
  // Deals between players, made here or at another computer.
  int deals = 0;
  game.referee.SubscribeOutcomes([&deals](const Outcome& outcome, const DecisionRecord*) {
    if (std::holds_alternative<Deal>(outcome.what)) ++deals;
  });

  if (options.host) {
    const int port = link.Listen(options.port);
    if (port < 0) {
      fmt::print(stderr, "tomtura-sim: cannot listen on port {}\n", options.port);
      return kExitFailure;
    }
    fmt::print("port {}\n", port);
    std::fflush(stdout);
    if (!options.load.empty()) {
      std::string error;
      const std::optional<SavedGame> saved = LoadGameFile(options.load, game.texts, &error);
      if (!saved) {
        fmt::print(stderr, "tomtura-sim: {}\n",
                   error.empty() ? options.load + ": cannot open the file" : error);
        return kExitFailure;
      }
      session.OpenSavedLobby(*saved);
      // Each player of the saved game takes his seat back, in whatever order they come.
      std::vector<bool> back(kMaxPlayers, false);
      while (session.PlayersAwaited() > 0) {
        if (!link.WaitForInput()) {
          fmt::print(stderr, "tomtura-sim: the players did not come\n");
          return kExitFailure;
        }
        for (int p = 1; p < game.state.playerCount; ++p) {
          const Player& player = game.state.players[p];
          if (!back[p] && player.isComputer > kComputerPlayer) {
            back[p] = true;
            fmt::print("joined {}\n", game.PlayerName(p));
          }
        }
        std::fflush(stdout);
      }
    } else {
      session.OpenLobby();
    }
    for (int k = 1; k <= options.computers && options.load.empty(); ++k) {
      session.AddComputer("Dator " + std::to_string(k), options.computerLevel);
    }
    int announced = 1 + options.computers;
    while (options.load.empty() && JoinedPlayers(game.state) < options.players) {
      if (!link.WaitForInput()) {
        fmt::print(stderr, "tomtura-sim: the players did not come\n");
        return kExitFailure;
      }
      // Who has joined, in the order of the records, so that a caller can see the order.
      for (; announced < JoinedPlayers(game.state); ++announced) {
        fmt::print("joined {}\n", game.PlayerName(announced));
      }
      std::fflush(stdout);
    }
    // A player whose connection breaks may come back while his seat is kept.
    if (options.graceSeconds <= 0 || options.onDrop == "leave") link.StopListening();
    session.Start(options.name.empty() ? "Värd" : options.name);
  } else {
    if (!link.Connect(options.address, options.port)) {
      fmt::print(stderr, "tomtura-sim: cannot connect to {} port {}\n", options.address,
                 options.port);
      return kExitFailure;
    }
    session.Join(options.name);
    while (!session.inGame()) {
      if (session.ended() || !link.WaitForInput()) {
        fmt::print(stderr, "tomtura-sim: the host did not start the game\n");
        return kExitFailure;
      }
    }
  }

  // The player here deals once a turn, as the computer would, then throws.
  int throws = 0;
  int dealtAt = -1;
  GameState& state = game.state;
  int local = -1;
  for (int p = 0; p < state.playerCount; ++p) {
    if (IsPersonHere(state.players[p])) local = p;
  }
  while (!session.ended() && state.turnPhase != TurnPhase::GameOver) {
    session.Pump();
    if (ui.Tick()) continue;
    // The turns are the same on every computer, so all stop at the same turn.
    if (state.turnPhase == TurnPhase::AwaitRoll && ui.stats().turns >= options.maxTurns) break;
    // A computer that came back throws only once it has caught up with the game.
    if (state.turnPhase == TurnPhase::AwaitRoll && state.currentPlayer == local &&
        !game.referee.IsRemote(local)) {
      if (throws == options.leaveAfter) {
        session.SayGoodbye();
        fmt::print("left the game after {} own throws\n", throws);
        return 0;
      }
      if (throws == options.dropAfter) {
        fmt::print("killed after {} own throws\n", throws);
        std::fflush(stdout);
        raise(SIGKILL);
      }
      if (dealtAt != throws && state.doublesInRow == 0) {
        dealtAt = throws;
        game.referee.RunPlayWindow(kSellPage);
        continue;
      }
      ++throws;
      game.Roll();
      continue;
    }
    if (!link.WaitAtMost(kWaitStepMs) || link.silentMs() > kPollMs) break;
  }

  if (!options.save.empty()) {
    std::string error;
    if (!SaveGameFile(state, game.texts, options.save, &error) ||
        !SaveHistoryFile(game.history, state, options.save)) {
      fmt::print(stderr, "tomtura-sim: {}\n",
                 error.empty() ? "cannot write " + options.save : error);
      return kExitFailure;
    }
  }
  if (times != nullptr) std::fclose(times);
  const bool over = state.turnPhase == TurnPhase::GameOver;
  int winner = -1;
  for (int p = 0; p < state.playerCount && over; ++p) {
    if (state.players[p].isBankrupt == 0) winner = p;
  }
  fmt::print("{} after {} turns, {} own throws, {} deals{}{}\n",
             over ? "game over" : "game not finished", ui.stats().turns, throws, deals,
             winner >= 0 ? ", won by " + game.PlayerName(winner) : std::string(),
             endedWhy.empty() ? std::string() : " (" + endedWhy + ")");
  return over ? 0 : kExitFailure;
}

}  // namespace tomtura
