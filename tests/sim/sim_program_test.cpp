// SPDX-License-Identifier: GPL-3.0-or-later
// The tomtura-sim program as a user runs it: its JSON summary, its exit codes, and a saved
// position that loads and saves back unchanged when no turn is played. Network games between
// tomtura-sim processes over loopback (IPv4 and IPv6): a host and two clients play seeded games
// to their end and save the same game; a client that is killed, or that sends garbage, is
// dropped and the others play on.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>

#include "../store/test_support.h"
#include "store/saved_game.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

constexpr auto kGameTime = std::chrono::seconds(60);

// The tomtura-sim program built beside this test program, and a folder for its files.
class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = fs::read_symlink("/proc/self/exe").parent_path() / "tomtura-sim";
    ASSERT_TRUE(fs::exists(program_)) << program_ << " is built with the tests";
  }
  std::string Path(const std::string& name) const { return dir_.path(name); }

  fs::path program_;
  TempDir dir_;
};

class SimProgram : public SimTest {
 protected:
  // Runs the program; its exit code, with its output in out_ and err_.
  int Run(const std::string& arguments) {
    const std::string command =
        program_.string() + " " + arguments + " >" + Path("out") + " 2>" + Path("err");
    const int status = std::system(command.c_str());
    out_ = ReadBytes(Path("out"));
    err_ = ReadBytes(Path("err"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string out_, err_;
};

TEST_F(SimProgram, JsonSummaryAndASavedPositionThatRoundTripsWhenNoTurnIsPlayed) {
  ASSERT_EQ(Run("--games 2 --players 4 --seed 3 --max-turns 30 --json --save " + Path("a.tom")), 0)
      << err_;
  for (const char* key : {"{\"games\":2,", "\"finished\":", "\"wins_by_seat\":[", "\"deals\":"}) {
    EXPECT_NE(out_.find(key), std::string::npos) << key << " in " << out_;
  }
  EXPECT_EQ(err_, "");  // no progress line when stderr is not a terminal
  ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 0 --save " + Path("b.tom")), 0);
  std::string saved = ReadBytes(Path("a.tom"));
  EXPECT_EQ(ReadBytes(Path("b.tom")), saved);
  ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 5 --save " + Path("b.tom")), 0);
  EXPECT_NE(ReadBytes(Path("b.tom")), saved);  // playing on changes it
}

// The table of every turn: a row per player, beginning with each game's starting money; a game
// loaded with its history counts its turns on, one loaded without begins at the load.
TEST_F(SimProgram, StatsCsvHasARowPerPlayerPerTurn) {
  ASSERT_EQ(Run("--games 2 --players 3 --seed 5 --max-turns 20 --save " + Path("a.tom") +
                " --stats-csv " + Path("a.csv")),
            0)
      << err_;
  const std::string csv = ReadBytes(Path("a.csv"));
  EXPECT_EQ(csv.rfind("game,turn,player,money,worth,on_turn\n1,0,1,30000,30000,0\n"
                      "1,0,2,30000,30000,0\n1,0,3,30000,30000,0\n1,1,1,",
                      0),
            0u)
      << csv.substr(0, 200);
  EXPECT_NE(csv.find("\n2,20,3,"), std::string::npos);  // both games, each to the cap
  EXPECT_EQ(csv.find("\n2,21,"), std::string::npos);

  // With its history: the 21 points saved and one more; without: the load and one more.
  for (const bool history : {true, false}) {
    if (!history) fs::remove(Path("a.tom.stats"));
    ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 1 --stats-csv " + Path("b.csv")), 0);
    const std::string table = ReadBytes(Path("b.csv"));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n') - 1, 3 * (history ? 22 : 2));
    EXPECT_EQ(table.find("\n1,21,1,") != std::string::npos, history);
  }
}

// The strengths sit in the seats in the order given, moved round by one seat each game with
// --rotate-seats; the saved game of the last one, before its first turn, shows where they sat.
TEST_F(SimProgram, LevelsSitInTheirSeatsAndMoveRoundEachGame) {
  // The reserved bytes of players 0 and 1: an Easy computer's "SE", a Hard one's "SH".
  const std::pair<std::string, std::string> cases[] = {{"", "SESH"}, {"--rotate-seats", "SHSE"}};
  for (const auto& [rotate, reserved] : cases) {
    ASSERT_EQ(
        Run("--games 2 --levels easy,hard --max-turns 0 --save " + Path("a.tom") + " " + rotate), 0)
        << err_;
    const std::string saved = ReadBytes(Path("a.tom"));  // a whole image: the saved-game tests
    EXPECT_EQ(saved.substr(2, 2) + saved.substr(2 + 34, 2), reserved) << rotate;
  }
  ASSERT_EQ(Run("--games 20 --levels hard,normal --rotate-seats --seed 1"), 0) << err_;
  EXPECT_NE(out_.find("\nwins by level   hard 19 (95.0%, 95% CI 76.4-99.1%)  "
                      "normal 1 (5.0%, 95% CI 0.9-23.6%)\n"),
            std::string::npos)
      << out_;
  ASSERT_EQ(Run("--games 20 --levels hard,normal --rotate-seats --seed 1 --json"), 0) << err_;
  EXPECT_NE(out_.find("\"wins_by_level\":{\"hard\":{\"wins\":19,"), std::string::npos) << out_;
}

// Bad input fails with a message; asked for its usage, it prints it and succeeds, whatever else
// the line holds.
TEST_F(SimProgram, BadInputFailsWithAMessageAndHelpPrintsTheUsage) {
  WriteBytes(Path("bad.tom"), "not a saved game");
  const std::pair<std::string, int> cases[] = {{"--help", 0},
                                               {"-h", 0},
                                               {"--games 2 --help", 0},
                                               {"--load " + Path("bad.tom"), 1},
                                               {"--board " + Path("missing.lst"), 1},
                                               {"--players 7", 2},
                                               {"--games", 2},
                                               {"--seed -4", 2},
                                               {"--colour blue", 2},
                                               {"--stats-csv " + Path("none/x.csv"), 1},
                                               {"--levels hard", 2},
                                               {"--levels hard,expert", 2},
                                               {"--levels hard,normal --players 3", 2},
                                               {"--rotate-seats", 2},
                                               {"--levels hard,easy --load a.tom", 2}};
  for (const auto& [arguments, exitCode] : cases) {
    EXPECT_EQ(Run(arguments), exitCode) << arguments;
    const std::string& said = exitCode == 0 ? out_ : err_;
    EXPECT_EQ(said.rfind(exitCode == 0 ? "usage: tomtura-sim " : "tomtura-sim: ", 0), 0u)
        << arguments;
    EXPECT_EQ(out_.size() + err_.size(), said.size()) << arguments;  // nothing on the other
  }
}

class NetworkGames : public SimTest {
 protected:
  void TearDown() override {
    for (pid_t pid : running_) kill(pid, SIGKILL);
    for (pid_t pid : running_) waitpid(pid, nullptr, 0);
  }

  // Starts the program with `arguments` (words parted by blanks), its output going to the file
  // `output`.
  pid_t Start(const std::string& arguments, const std::string& output) {
    std::istringstream in(arguments);
    std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    const pid_t pid = fork();
    if (pid == 0) {
      if (freopen(Path(output).c_str(), "w", stdout) == nullptr) _exit(127);
      if (freopen(Path(output + ".err").c_str(), "w", stderr) == nullptr) _exit(127);
      std::vector<char*> argv = {const_cast<char*>(program_.c_str())};
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      execv(program_.c_str(), argv.data());
      _exit(127);
    }
    running_.push_back(pid);
    outputs_[pid] = output;
    return pid;
  }
  // The exit code of `pid`, or -1 when it does not end in time (it is killed).
  int Finish(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + kGameTime;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid, &status, WNOHANG)) == 0) {
      if (std::chrono::steady_clock::now() > deadline) kill(pid, SIGKILL);  // it ends by a signal
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::erase(running_, pid);
    // A program already waited for, or never started, has no exit code to give.
    return ended == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Waits until the program's output holds `line`.
  bool Printed(const std::string& output, const std::string& line) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      if (ReadBytes(Path(output)).find(line + "\n") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  // The port a host printed; -1 (a failure, and no port a client can reach) when it prints none.
  int PortOf(const std::string& output) {
    for (int attempt = 0; attempt < 500; ++attempt) {
      const std::string text = ReadBytes(Path(output));
      if (text.rfind("port ", 0) == 0 && text.find('\n') != std::string::npos) {
        return std::atoi(text.c_str() + 5);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << output << " printed no port";
    return -1;
  }
  // Waits for each program and expects it to end well.
  void ExpectSuccess(std::initializer_list<pid_t> pids) {
    for (pid_t pid : pids) {
      EXPECT_EQ(Finish(pid), 0) << outputs_[pid] << ": " << ReadBytes(Path(outputs_[pid] + ".err"));
    }
  }
  // Each program writes `name` (its output) and name.tom (the game as it ended). A host's pid
  // comes with the port it printed (braces evaluate in order: the host is started first).
  std::pair<pid_t, int> Host(const std::string& name, int players, int seed,
                             const std::string& more = "") {
    return {Start(fmt::format("--host --port 0 --players {} --seed {} --save {} {}", players, seed,
                              Path(name + ".tom"), more),
                  name),
            PortOf(name)};
  }
  pid_t Client(const std::string& name, int port, int seed, const std::string& more = "",
               const std::string& address = "127.0.0.1") {
    return Start(fmt::format("--join {} --port {} --name {} --seed {} --save {} {}", address, port,
                             name, seed, Path(name + ".tom"), more),
                 name);
  }
  // A client that the host printing `host` has seen join.
  pid_t Joined(const std::string& host, const std::string& name, int port, int seed,
               const std::string& more = "") {
    const pid_t pid = Client(name, port, seed, more);
    EXPECT_TRUE(Printed(host, "joined " + name));
    return pid;
  }
  // The saved game `name`.tom.
  std::optional<SavedGame> Saved(const std::string& name) {
    return LoadGameFile(Path(name + ".tom"), TestCatalogue(), nullptr);
  }
  // Two saved games as every computer must hold the game: who sits where differs by computer,
  // and the strength of the host's computer players is the host's alone.
  static bool Same(const SavedGame& a, const SavedGame& b) {
    const auto shared = [](PlayerTable players) {
      for (Player& player : players) {
        player.strength = Strength::Normal;
        player.isComputer = 0;
      }
      return players;
    };
    return a.playerCount == b.playerCount && shared(a.players) == shared(b.players) &&
           a.properties == b.properties && a.currentPlayer == b.currentPlayer &&
           a.firstLap == b.firstLap;
  }
  // The game that every one of `names` saved; nullopt (a failure) when one saved another.
  std::optional<SavedGame> Agreed(std::initializer_list<std::string> names) {
    std::optional<SavedGame> first;
    for (const std::string& name : names) {
      const std::optional<SavedGame> saved = Saved(name);
      if (!saved || (first && !Same(*first, *saved))) {
        ADD_FAILURE() << name << " saved another game";
        return std::nullopt;
      }
      if (!first) first = saved;
    }
    return first;
  }
  // Host `n` and the clients Anna`n` (joined first) and Bo`n` play a game of `seed` to its end.
  std::optional<SavedGame> PlayOfThree(const std::string& n, int seed,
                                       const std::string& annaMore = "",
                                       const std::string& boAddress = "127.0.0.1") {
    const auto [host, port] = Host("host" + n, 3, seed);
    const pid_t anna = Joined("host" + n, "Anna" + n, port, seed + 100, annaMore);
    const pid_t bo = Client("Bo" + n, port, seed + 200, "", boAddress);
    ExpectSuccess({host, anna, bo});
    return Agreed({"host" + n, "Anna" + n, "Bo" + n});
  }
  std::vector<pid_t> running_;
  std::map<pid_t, std::string> outputs_;
};

TEST_F(NetworkGames, AHostAndTwoClientsPlaySeededGamesToTheSameEnd) {
  for (int seed : {1, 2, 3, 4, 6}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const auto a = PlayOfThree(std::to_string(seed), seed, "", "::1");  // Bo over IPv6
    ASSERT_TRUE(a);
    EXPECT_EQ(a->players[0].name.utf8(), "Värd");
  }
}

TEST_F(NetworkGames, AClientWhoLeavesMidGameIsDroppedAndTheOthersPlayOn) {
  const auto [host, port] = Host("host", 3, 2);
  const pid_t anna = Joined("host", "Anna", port, 102);
  const pid_t bo = Client("Bo", port, 202, "--leave-after 30");
  ExpectSuccess({bo});
  EXPECT_EQ(ReadBytes(Path("Bo")), "left the game after 30 own throws\n");
  ExpectSuccess({host, anna});
  const auto a = Agreed({"host", "Anna"});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->players[2].isBankrupt, 1);
  // Bo, who left, is out of the game and owns nothing; what the bank got back is free.
  for (const Property& property : a->properties) {
    EXPECT_NE(property.owner, 2);
    EXPECT_TRUE(property.owner != kNobody || property.mortgaged + property.houses == 0)
        << property.name.utf8();
  }
}

// A client killed while a decision of its player is pending. Without a seat kept for him the
// host answers it for him as every other computer does (no, a pass, the auction closed), he
// leaves the game at that point everywhere, and the two left play the game to its end and agree.
// With his seat kept and his program started again (kill -9, then a rejoin), it takes up the game
// where it stands, his pending decision included, and all three play the very game that nobody's
// leaving would have given.
TEST_F(NetworkGames, AClientKilledInTheMiddleOfADecisionLeavesOrComesBackEverywhereTheSame) {
  const auto undisturbed = PlayOfThree("quiet", 1);
  ASSERT_TRUE(undisturbed);
  const std::vector<std::string> kinds = {"offer", "card",    "jail", "debt",
                                          "bid",   "consent", "play"};
  for (bool rejoin : {false, true}) {
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      const std::string& kind = kinds[i];
      SCOPED_TRACE(kind + (rejoin ? ", rejoined" : ", gone"));
      const std::string n = std::to_string(i) + (rejoin ? "r" : "");
      const auto [host, port] = Host("host" + n, 3, 1, rejoin ? "--grace 30 --on-drop wait" : "");
      pid_t anna = Joined("host" + n, "Anna" + n, port, 101, "--drop-at " + kind);
      const pid_t bo = Client("Bo" + n, port, 201);
      Finish(anna);
      EXPECT_EQ(ReadBytes(Path("Anna" + n)), "killed at " + kind + "\n");
      if (rejoin) {
        anna = Client("Anna" + n, port, 101);
        ExpectSuccess({anna});
        EXPECT_NE(ReadBytes(Path("Anna" + n)).find("caught up in "), std::string::npos);
      }
      ExpectSuccess({host, bo});
      const auto a =
          rejoin ? Agreed({"host" + n, "Bo" + n, "Anna" + n}) : Agreed({"host" + n, "Bo" + n});
      ASSERT_TRUE(a);
      if (rejoin) {
        SavedGame quiet = *undisturbed;  // the same game under other names
        for (int p = 0; p < kMaxPlayers; ++p) quiet.players[p].name = a->players[p].name;
        EXPECT_TRUE(Same(*a, quiet));
      } else {
        EXPECT_EQ(a->players[1].isBankrupt, 1);
      }
    }
  }
}

// A client of the English edition in the Swedish host's game plays on the host's streets: the
// deals of the three agree, and every saved game names them in Swedish.
TEST_F(NetworkGames, AClientOfAnotherEditionPlaysOnTheHostsStreetsAndDeals) {
  const auto a = PlayOfThree("", 4, "--board " TOMTURA_ASSETS_DIR "/tomtura_en.lst");
  ASSERT_TRUE(a);
  EXPECT_EQ(ReadBytes(Path("Anna")).find(", 0 deals"), std::string::npos);
  EXPECT_EQ(a->properties[0].name.utf8(), "Lergropsvägen");
}

// The host seats a computer player of its own, of the strength it chose; a client that keeps to
// the design's messages sees him as a player at another computer, and both play the game to the
// same end, the host's computer player keeping his strength.
TEST_F(NetworkGames, TheHostsComputerPlayerPlaysWithAClientOfTheDesign) {
  const std::pair<int, Strength> games[] = {{2, Strength::Hard}, {3, Strength::Easy}};
  for (const auto& [seed, level] : games) {
    SCOPED_TRACE(seed);
    const std::string n = std::to_string(seed);
    const auto [host, port] = Host(
        "host" + n, 3, seed, "--computers 1 --computer-level " + std::string(StrengthName(level)));
    const pid_t anna = Client("Anna" + n, port, seed + 100, "--classic");
    ExpectSuccess({host, anna});
    const auto a = Agreed({"host" + n, "Anna" + n});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->players[1].name.utf8(), "Dator 1");
    EXPECT_EQ(a->players[1].strength, level);
  }
}

// A network game saved by the host in its course is hosted again from the file: the players
// take back their own seats by name, whatever order they come in, a name the game does not
// hold is turned away, and the three play the game on from where it stood to the same end.
TEST_F(NetworkGames, ASavedNetworkGameIsTakenUpAgainWithEveryPlayerInHisSeat) {
  const auto [first, firstPort] = Host("first", 3, 5, "--max-turns 20");
  Joined("first", "Anna", firstPort, 105, "--max-turns 20");
  Client("Bo", firstPort, 205, "--max-turns 20");
  Finish(first);
  // The position from which the game goes on: the host owns every street, the others have
  // almost nothing. A game that started anew could not end within 40 turns.
  const std::optional<SavedGame> before = Saved("first");
  ASSERT_TRUE(before);
  ASSERT_EQ(before->players[1].name.utf8(), "Anna");
  GameState position;
  position.playerCount = before->playerCount;
  position.players = before->players;
  position.properties = before->properties;
  position.currentPlayer = before->currentPlayer;
  position.firstLap = before->firstLap;
  for (Property& property : position.properties) {
    if (property.price > 0) property.owner = 0;
  }
  position.players[1].money = position.players[2].money = 1;
  ASSERT_TRUE(SaveGameFile(position, TestCatalogue(), Path("first.tom"), nullptr));

  const pid_t host =
      Start("--host --port 0 --load " + Path("first.tom") + " --seed 6 --save " + Path("again.tom"),
            "again");
  const int port = PortOf("again");
  EXPECT_NE(Finish(Client("Cecilia", port, 305)), 0);
  const pid_t bo = Joined("again", "Bo", port, 205);
  const pid_t anna = Client("Anna", port, 105);
  ExpectSuccess({host, anna, bo});
  const auto a = Agreed({"again", "Anna", "Bo"});
  ASSERT_TRUE(a);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(a->players[p].name, before->players[p].name);
  const std::string said = ReadBytes(Path("again"));
  const std::size_t over = said.find("game over after ");
  ASSERT_NE(over, std::string::npos) << said;
  EXPECT_LT(std::atoi(said.c_str() + over + 16), 40) << said;
  EXPECT_NE(said.find("won by Värd"), std::string::npos) << said;
}

// A client that joins, then sends bytes that are no message.
TEST_F(NetworkGames, AClientThatSendsGarbageIsDroppedAndTheOthersPlayOn) {
  const auto [host, port] = Host("host", 3, 8);
  const pid_t anna = Joined("host", "Anna", port, 108);
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const char join[11] = "Mallory";
  ASSERT_EQ(send(s, join, sizeof join, 0), 11);
  char roster[224];
  ASSERT_EQ(recv(s, roster, sizeof roster, MSG_WAITALL), 224);
  const unsigned char garbage[] = {99, 0, 0, 0, 1, 2, 3, 4};
  send(s, garbage, sizeof garbage, MSG_NOSIGNAL);
  ExpectSuccess({host, anna});
  close(s);
  const auto a = Agreed({"host", "Anna"});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->players[2].name.utf8(), "Mallory");
  EXPECT_EQ(a->players[2].isBankrupt, 1);
}

}  // namespace
}  // namespace tomtura
