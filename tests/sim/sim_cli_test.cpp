// SPDX-License-Identifier: GPL-3.0-or-later
// The tomtura-sim program as a user runs it: its JSON summary, its exit codes, and a saved
// position that loads and saves back unchanged when no turn is played.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../store/test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

class SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = fs::read_symlink("/proc/self/exe").parent_path() / "tomtura-sim";
    ASSERT_TRUE(fs::exists(program_)) << program_ << " is built with the tests";
  }
  // Runs the program; its exit code, with its output in out_ and err_.
  int Run(const std::string& arguments) {
    const std::string command =
        program_.string() + " " + arguments + " >" + Path("out") + " 2>" + Path("err");
    const int status = std::system(command.c_str());
    out_ = ReadBytes(Path("out"));
    err_ = ReadBytes(Path("err"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Path(const std::string& name) const { return dir_.path(name); }

  fs::path program_;
  TempDir dir_;
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
  EXPECT_EQ(saved.size(), 1840u);
  EXPECT_EQ(ReadBytes(Path("b.tom")), saved);
  ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 5 --save " + Path("b.tom")), 0);
  EXPECT_NE(ReadBytes(Path("b.tom")), saved);  // playing on changes it
}

// Asked for its usage, it prints it and succeeds, whatever else the line holds.
TEST_F(SimProgram, HelpPrintsTheUsage) {
  for (const char* arguments : {"--help", "-h", "--games 2 --help"}) {
    EXPECT_EQ(Run(arguments), 0) << arguments;
    EXPECT_EQ(out_.rfind("usage: tomtura-sim ", 0), 0u) << arguments;
    EXPECT_EQ(err_, "") << arguments;
  }
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

  const auto rows = [&] {
    const std::string table = ReadBytes(Path("b.csv"));
    return std::count(table.begin(), table.end(), '\n') - 1;
  };
  ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 1 --stats-csv " + Path("b.csv")), 0);
  EXPECT_EQ(rows(), 3 * 22);  // the 21 points saved and one more
  EXPECT_NE(ReadBytes(Path("b.csv")).find("\n1,21,1,"), std::string::npos);
  fs::remove(Path("a.tom.stats"));
  ASSERT_EQ(Run("--load " + Path("a.tom") + " --max-turns 1 --stats-csv " + Path("b.csv")), 0);
  EXPECT_EQ(rows(), 3 * 2);
  EXPECT_EQ(ReadBytes(Path("b.csv")).find("\n1,21,"), std::string::npos);
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
    const std::string saved = ReadBytes(Path("a.tom"));
    ASSERT_EQ(saved.size(), 1840u);
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

TEST_F(SimProgram, BadInputFailsWithAMessage) {
  WriteBytes(Path("bad.tom"), "not a saved game");
  const std::pair<std::string, int> cases[] = {{"--load " + Path("bad.tom"), 1},
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
    EXPECT_EQ(err_.rfind("tomtura-sim: ", 0), 0u) << arguments;
    EXPECT_EQ(out_, "") << arguments;
  }
}

}  // namespace
}  // namespace tomtura
