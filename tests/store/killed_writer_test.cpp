// A writer killed at any moment leaves the old file or the new one, whole: a saved game is
// written again and again by a child process that is killed with SIGKILL at moments spread over
// three writes; after each kill the file must be one of the two complete versions. How many kills
// land while the temporary file exists depends on the machine, so it is recorded, not demanded: a
// write cut short in the middle is tested without timing where a write is made to fail
// (ini_file_test, which also holds the options file's writes to it), and the removal of a killed
// writer's temporary file where one is left on purpose.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "store/saved_game.h"
#include "test_support.h"

namespace tomtura {
namespace {

constexpr int kKills = 100;

// In memory where there is such a folder: what the kill tests is the order of the steps of a
// write, and there the steps are quick, so the test is.
std::filesystem::path ScratchBase() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
}

// Saves versions 0, 1, 0, ... in a child process and kills it after a time spread evenly over
// three writes, kKills times; counts the kills that left a temporary file behind, that is, landed
// in a write.
TEST(KilledWriter, LeavesTheOldOrTheNewSavedGame) {
  TempDir dir(ScratchBase());
  const std::string path = dir.path("game.tom");
  const TextCatalogue texts = TestCatalogue();
  GameState versions[2];
  std::string bytes[2];
  for (int v = 0; v < 2; ++v) {
    versions[v].playerCount = 2 + v;
    versions[v].players[0].money = 1000 * (v + 1);
    versions[v].players[0].name.setRaw(v == 0 ? "Anna" : "Bo");
    const SavedGameBytes encoded = EncodeSavedGame(versions[v]);
    bytes[v].assign(reinterpret_cast<const char*>(encoded.data()), encoded.size());
  }
  ASSERT_NE(bytes[0], bytes[1]);
  const auto write = [&](unsigned v) { SaveGameFile(versions[v], texts, path, nullptr); };

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  for (unsigned v = 0; v < 8; ++v) write(v & 1u);
  const auto oneWrite =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start) / 8;
  const long span = 3 * oneWrite.count() + 1;

  int midWrite = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      (void)!::write(ready[1], "", 1);  // ready to be killed
      for (unsigned version = 0;; version ^= 1u) write(version);
    }
    ::close(ready[1]);
    char go = 0;
    (void)!::read(ready[0], &go, 1);
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(span * kill / kKills));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if (dir.Entries() > 1) ++midWrite;
    const std::string now = ReadBytes(path);
    ASSERT_TRUE(now == bytes[0] || now == bytes[1]) << "not a whole file after kill " << kill;
  }
  ::testing::Test::RecordProperty("killsDuringAWrite", midWrite);

  // The next save removes the temporary files that the killed writers left.
  ASSERT_TRUE(SaveGameFile(versions[1], texts, path, nullptr));
  EXPECT_EQ(dir.Entries(), 1);
}

}  // namespace
}  // namespace tomtura
