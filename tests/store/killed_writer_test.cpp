// A writer killed at any moment leaves the old file or the new one, whole: a saved game and an
// options file are written again and again by a child process that is killed with SIGKILL at
// moments spread over three writes; after each kill the file must be one of the two complete
// versions. How many kills land while the temporary file exists depends on the machine, so it is
// recorded, not demanded: a write cut short in the middle is tested without timing where a
// write is made to fail (ini_file_test), and the removal of a killed writer's temporary file
// where one is left on purpose.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "data/ini_file.h"
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

// Runs `write(version)` for versions 0, 1, 0, ... in a child process and kills it with SIGKILL
// after a time spread evenly over three writes, kKills times; after each kill the file at `path`
// must hold one of `versions` whole. Records how many kills left a temporary file behind, that
// is, landed in a write.
void KillWriterRepeatedly(const TempDir& dir, const std::string& path,
                          const std::string (&versions)[2],
                          const std::function<void(unsigned)>& write) {
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
      const char go = 1;
      (void)!::write(ready[1], &go, 1);
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
    if (now != versions[0] && now != versions[1]) {
      ADD_FAILURE() << "not a whole file after kill " << kill;
      break;
    }
  }
  ::testing::Test::RecordProperty("killsDuringAWrite", midWrite);
}

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

  KillWriterRepeatedly(dir, path, bytes,
                       [&](unsigned v) { SaveGameFile(versions[v], texts, path, nullptr); });

  // The next save removes the temporary files that the killed writers left.
  ASSERT_TRUE(SaveGameFile(versions[1], texts, path, nullptr));
  EXPECT_EQ(dir.Entries(), 1);
}

TEST(KilledWriter, LeavesTheOldOrTheNewOptions) {
  TempDir dir(ScratchBase());
  const std::string path = dir.path("tomtura.lst");
  // Long comment lines: quick to read, slow enough to write that kills land in the write.
  std::string text = "[LJUD]\nLjud=0\n";
  for (int i = 0; i < 20; ++i) text += "; " + std::string(4000, 'a' + i) + "\n";
  WriteBytes(path, text);
  const std::string versions[2] = {text, "[LJUD]\nLjud=1\n" + text.substr(14)};

  KillWriterRepeatedly(dir, path, versions, [&](unsigned v) {
    IniFile::Load(path).Write("LJUD", "Ljud", v == 0 ? "1" : "0");
  });
  // The next write (of a value neither version holds, so that it is not skipped as changing
  // nothing) removes what the killed writers left.
  ASSERT_TRUE(IniFile::Load(path).Write("LJUD", "Ljud", "2"));
  EXPECT_EQ(dir.Entries(), 1);
}

}  // namespace
}  // namespace tomtura
