// Benchmarks of the game core with the headless front end: one computer player's turn with
// its dealing, one whole four-player game, the answers and turns of Hard players and a game of
// four of them, and the memory taken by a long series of games.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "rules/seats.h"

namespace tomtura {
namespace {

constexpr int kPlayers = 4;
constexpr int kTurnCap = 5000;
constexpr int kWarmUpTurns = 40;  // a turn is measured once the board has owners and houses
constexpr int kMemoryGames = 10000;
constexpr int kMemoryFirstCheck = 1000;

const TextCatalogue& Board() {
  static const TextCatalogue catalogue = [] {
    std::filesystem::path beside = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::filesystem::path path = beside / "tomtura.lst";
    if (!std::filesystem::exists(path)) {
      path = std::filesystem::path(TOMTURA_ASSETS_DIR) / "tomtura.lst";
    }
    return TextCatalogue::Load(path.string());
  }();
  return catalogue;
}

// One headless game of computer players.
struct Table {
  explicit Table(std::uint64_t seed) : game(Board(), ui, seed) {
    ui.Attach(game);
    SeatComputerPlayers(game, kPlayers);
  }
  HeadlessFrontEnd ui;
  Game game;
};

// Resident set size in kB, from /proc/self/statm.
long ResidentKb() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* file = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(file);
  }
  return resident * 4;
}

void BM_ComputerTurn(benchmark::State& bench) {
  std::uint64_t seed = 1;
  auto table = std::make_unique<Table>(seed);
  table->ui.Run(kWarmUpTurns);
  std::vector<double> micros;
  for (auto _ : bench) {
    if (table->game.state.turnPhase == TurnPhase::GameOver) {
      bench.PauseTiming();
      table = std::make_unique<Table>(++seed);
      table->ui.Run(kWarmUpTurns);
      bench.ResumeTiming();
    }
    auto start = std::chrono::steady_clock::now();
    table->ui.Run(1);
    auto end = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(micros.begin(), micros.end());
  if (!micros.empty()) bench.counters["median_turn_us"] = micros[micros.size() / 2];
}
BENCHMARK(BM_ComputerTurn);

void BM_FourPlayerGame(benchmark::State& bench) {
  std::uint64_t seed = 0;
  long turns = 0;
  long finished = 0;
  for (auto _ : bench) {
    Table table(SeriesSeed(1, static_cast<int>(seed++)));
    if (table.ui.Run(kTurnCap) == HeadlessFrontEnd::RunResult::GameOver) ++finished;
    turns += table.ui.stats().turns;
  }
  bench.counters["turns_per_game"] =
      benchmark::Counter(static_cast<double>(turns), benchmark::Counter::kAvgIterations);
  bench.counters["finished_share"] =
      benchmark::Counter(static_cast<double>(finished), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FourPlayerGame)->Unit(benchmark::kMillisecond);

// Hard players at every seat of a four-player game.
struct HardTable : Table {
  explicit HardTable(std::uint64_t seed) : Table(seed) {
    for (int n = 0; n < kPlayers; ++n) game.state.players[n].strength = Strength::Hard;
  }
};

// A computer's seat that times each of its answers.
class TimedComputerSeat : public Seat {
 public:
  TimedComputerSeat(Game& game, std::vector<double>& micros) : game_(game), micros_(micros) {}
  Decision Decide(const DecisionRequest& request) override {
    const auto start = std::chrono::steady_clock::now();
    const Decision decision = ComputerDecision(game_, request);
    micros_.push_back(MicrosSince(start));
    return decision;
  }
  bool computer() const override { return true; }

  static double MicrosSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
  }

 private:
  Game& game_;
  std::vector<double>& micros_;
};

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Every answer of Hard players (offers, bail, deals, bids) and every turn (its dealing, throw
// and landing) of whole games, timed one by one: the 99th percentiles.
void BM_HardDecisions(benchmark::State& bench) {
  std::vector<double> answers;
  std::vector<double> turns;
  int seed = 0;
  for (auto _ : bench) {
    HardTable table(SeriesSeed(3, seed++));
    TimedComputerSeat seat(table.game, answers);
    for (int n = 0; n < kPlayers; ++n) table.game.referee.SetSeat(n, &seat);
    for (int turn = 0; turn < kTurnCap; ++turn) {
      const auto start = std::chrono::steady_clock::now();
      const auto result = table.ui.Run(1);
      turns.push_back(TimedComputerSeat::MicrosSince(start));
      if (result != HeadlessFrontEnd::RunResult::TurnLimit) break;
    }
  }
  bench.counters["answer_p99_us"] = Percentile(answers, 0.99);
  bench.counters["turn_p99_us"] = Percentile(turns, 0.99);
  bench.counters["answers"] = static_cast<double>(answers.size());
}
BENCHMARK(BM_HardDecisions)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_HardFourPlayerGame(benchmark::State& bench) {
  std::uint64_t seed = 0;
  long turns = 0;
  for (auto _ : bench) {
    HardTable table(SeriesSeed(1, static_cast<int>(seed++)));
    table.ui.Run(kTurnCap);
    turns += table.ui.stats().turns;
  }
  bench.counters["turns_per_game"] =
      benchmark::Counter(static_cast<double>(turns), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HardFourPlayerGame)->Unit(benchmark::kMillisecond);

// Resident memory after 1,000 and after 10,000 games: a leak or an unbounded structure shows
// as growth between the two.
void BM_MemoryOverTenThousandGames(benchmark::State& bench) {
  long afterFirst = 0;
  long afterAll = 0;
  for (auto _ : bench) {
    for (int i = 0; i < kMemoryGames; ++i) {
      Table table(SeriesSeed(7, i));
      table.ui.Run(kTurnCap);
      if (i + 1 == kMemoryFirstCheck) afterFirst = ResidentKb();
    }
    afterAll = ResidentKb();
  }
  bench.counters["rss_kb_after_1000"] = static_cast<double>(afterFirst);
  bench.counters["rss_kb_after_10000"] = static_cast<double>(afterAll);
  bench.counters["rss_growth_kb"] = static_cast<double>(afterAll - afterFirst);
}
BENCHMARK(BM_MemoryOverTenThousandGames)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tomtura

BENCHMARK_MAIN();
