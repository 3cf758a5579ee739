// The tomtura-sim program as a user runs it: its JSON summary, its exit codes, and a saved
// position that loads and saves back unchanged when no turn is played.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tomtura {
namespace {

namespace fs = std::filesystem;

class SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = fs::read_symlink("/proc/self/exe").parent_path() / "tomtura-sim";
    if (!fs::exists(program_)) GTEST_SKIP() << "tomtura-sim is not built";
    dir_ =
        fs::temp_directory_path() /
        ("tomtura-sim-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  // Runs the program with `arguments`; its exit code, its output in out_ and err_.
  int Run(const std::string& arguments) {
    std::string command = program_.string() + " " + arguments + " >" + (dir_ / "out").string() +
                          " 2>" + (dir_ / "err").string();
    int status = std::system(command.c_str());
    out_ = Read(dir_ / "out");
    err_ = Read(dir_ / "err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path program_;
  fs::path dir_;
  std::string out_;
  std::string err_;
};

TEST_F(SimProgram, JsonSummaryHasEveryFigure) {
  ASSERT_EQ(Run("--games 3 --players 3 --seed 11 --max-turns 40 --json"), 0) << err_;
  for (const char* key :
       {"\"games\":3,",
        "\"finished\":", "\"turns_median\":", "\"turns_mean\":", "\"wins_by_seat\":[",
        "\"bankruptcies\":", "\"houses_built\":", "\"deals\":", "\"ms_per_game\":"}) {
    EXPECT_NE(out_.find(key), std::string::npos) << key << " in " << out_;
  }
  EXPECT_EQ(out_.front(), '{');
  EXPECT_EQ(out_.substr(out_.size() - 2), "}\n");
  EXPECT_EQ(err_, "");  // no progress line when stderr is not a terminal
}

TEST_F(SimProgram, SavedPositionRoundTripsWhenNoTurnIsPlayed) {
  std::string first = (dir_ / "first.tom").string();
  std::string second = (dir_ / "second.tom").string();
  ASSERT_EQ(Run("--games 1 --players 4 --seed 3 --max-turns 30 --save " + first), 0) << err_;
  ASSERT_EQ(Run("--load " + first + " --max-turns 0 --save " + second), 0) << err_;
  std::string before = Read(first);
  EXPECT_EQ(before.size(), 1840u);
  EXPECT_EQ(Read(second), before);
  // Playing on from the saved position changes it.
  ASSERT_EQ(Run("--load " + first + " --max-turns 5 --save " + second), 0) << err_;
  EXPECT_NE(Read(second), before);
}

TEST_F(SimProgram, BadInputFailsWithAMessage) {
  std::ofstream(dir_ / "bad.tom") << "not a saved game";
  struct Case {
    std::string arguments;
    int exitCode;
  };
  const Case cases[] = {
      {"--load " + (dir_ / "bad.tom").string(), 1},
      {"--load " + (dir_ / "missing.tom").string(), 1},
      {"--board " + (dir_ / "missing.lst").string(), 1},
      {"--players 7", 2},
      {"--games", 2},
      {"--seed -4", 2},
      {"--colour blue", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.arguments), c.exitCode) << c.arguments;
    EXPECT_NE(err_.find("tomtura-sim: "), std::string::npos) << c.arguments;
    EXPECT_EQ(out_, "") << c.arguments;
  }
}

}  // namespace
}  // namespace tomtura
