// SPDX-License-Identifier: GPL-3.0-or-later
// tomtura-sim: plays seeded games of computer players without any window and prints what
// happened in them, as text or as one JSON object.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <fmt/core.h>

#include "data/ini_file.h"
#include "data/strength.h"
#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "sim/net_play.h"
#include "store/data_paths.h"
#include "store/editions.h"
#include "store/history_file.h"
#include "store/saved_game.h"

namespace tomtura {
namespace {

constexpr int kDefaultMaxTurns = 2000;
constexpr int kMaxGames = 10000000;
constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;
constexpr auto kProgressEvery = std::chrono::milliseconds(200);

struct Options {
  int games = 1;
  int players = 4;
  bool playersGiven = false;
  std::uint64_t seed = 1;
  // The strength of the computer in each seat, in seat order (all Normal when empty); with
  // rotateSeats the seating moves round by one seat each game.
  std::vector<Strength> levels;
  bool rotateSeats = false;
  int maxTurns = kDefaultMaxTurns;
  std::string board;
  bool json = false;
  std::string load;
  std::string save;
  // A network game instead of a series: host or join.
  bool host = false;
  std::string join;
  int port = 4711;
  std::string name;
  int leaveAfter = -1;
  int dropAfter = -1;
  int graceSeconds = 120;
  std::string onDrop = "leave";
  int computers = 0;
  Strength computerLevel = Strength::Normal;
  std::string dropAt;
  bool classic = false;
  std::string decisionTimes;
  std::string statsCsv;
  bool help = false;
};

constexpr std::string_view kUsage =
    "usage: tomtura-sim --games N --players K --seed S [--max-turns T] [--board FILE]\n"
    "                   [--levels L1,L2,... [--rotate-seats]] [--json] [--load FILE.tom]\n"
    "                   [--save FILE.tom] [--stats-csv FILE]\n"
    "       (levels: easy, normal, hard; one per seat)\n"
    "       tomtura-sim --host [--port Q] (--players N | --load FILE.tom) [--seed S] [--name "
    "NAME]\n"
    "                   [--save FILE.tom]\n"
    "                   [--max-turns T] [--computers K [--computer-level L]] [--grace S]\n"
    "                   [--on-drop wait|computer|leave] [--classic]\n"
    "       tomtura-sim --join ADDRESS [--port P] --name NAME [--seed S] [--save FILE.tom]\n"
    "                   [--max-turns T] [--leave-after THROWS] [--decision-times FILE]\n"
    "                   [--drop-at offer|card|jail|debt|bid|consent|play] [--drop-after THROWS]\n"
    "                   [--classic]\n"
    "       tomtura-sim --help\n";

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A comma-separated list of 2 to 6 strengths; an error message, or empty when it is sound.
std::string ParseLevels(std::string_view text, std::vector<Strength>& levels) {
  levels.clear();
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    const std::optional<Strength> strength = ParseStrength(word);
    if (!strength) return fmt::format("--levels: unknown strength '{}' (easy, normal, hard)", word);
    levels.push_back(*strength);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (levels.size() < 2 || levels.size() > static_cast<std::size_t>(kMaxPlayers)) {
    return fmt::format("--levels needs 2 to {} strengths", kMaxPlayers);
  }
  return {};
}

// Reads the command line; an error message, or empty when it is sound.
std::string ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string_view flag = argv[i];
    if (flag == "--help" || flag == "-h") {
      options.help = true;
      return {};
    }
    if (flag == "--json" || flag == "--host" || flag == "--classic") {
      (flag == "--json" ? options.json : flag == "--host" ? options.host : options.classic) = true;
      continue;
    }
    if (flag == "--rotate-seats") {
      options.rotateSeats = true;
      continue;
    }
    if (i + 1 >= argc) return fmt::format("{} needs a value", flag);
    std::string_view value = argv[++i];
    auto bounded = [&](int& field, int low, int high) -> std::string {
      auto number = ParseNumber<int>(value);
      if (!number || *number < low || *number > high) {
        return fmt::format("{} must be a number from {} to {}", flag, low, high);
      }
      field = *number;
      return {};
    };
    std::string error;
    if (flag == "--games") {
      error = bounded(options.games, 1, kMaxGames);
    } else if (flag == "--players") {
      error = bounded(options.players, 2, kMaxPlayers);
      options.playersGiven = true;
    } else if (flag == "--levels") {
      error = ParseLevels(value, options.levels);
    } else if (flag == "--max-turns") {
      error = bounded(options.maxTurns, 0, 1 << 30);
    } else if (flag == "--seed") {
      auto number = ParseNumber<std::uint64_t>(value);
      if (!number) error = "--seed must be a whole number from 0 up";
      options.seed = number.value_or(0);
    } else if (flag == "--board") {
      options.board = value;
    } else if (flag == "--load") {
      options.load = value;
    } else if (flag == "--save") {
      options.save = value;
    } else if (flag == "--join") {
      options.join = value;
    } else if (flag == "--port") {
      error = bounded(options.port, 0, 65535);
    } else if (flag == "--name") {
      options.name = value;
    } else if (flag == "--stats-csv") {
      options.statsCsv = value;
    } else if (flag == "--decision-times") {
      options.decisionTimes = value;
    } else if (flag == "--grace") {
      error = bounded(options.graceSeconds, 0, 86400);
    } else if (flag == "--on-drop") {
      options.onDrop = value;
      if (!IsDropChoice(options.onDrop)) error = "--on-drop takes wait, computer or leave";
    } else if (flag == "--drop-after") {
      error = bounded(options.dropAfter, 0, 1 << 30);
    } else if (flag == "--computers") {
      error = bounded(options.computers, 0, kMaxPlayers - 1);
    } else if (flag == "--computer-level") {
      const std::optional<Strength> level = ParseStrength(value);
      if (level)
        options.computerLevel = *level;
      else
        error = "--computer-level takes easy, normal or hard";
    } else if (flag == "--drop-at") {
      options.dropAt = value;
      if (!IsDropKind(options.dropAt)) {
        error = "--drop-at takes offer, card, jail, debt, bid, consent or play";
      }
    } else if (flag == "--leave-after") {
      error = bounded(options.leaveAfter, 0, 1 << 30);
    } else {
      error = fmt::format("unknown option {}", flag);
    }
    if (!error.empty()) return error;
  }
  if (options.host && !options.join.empty()) return "--host and --join exclude each other";
  if (!options.levels.empty()) {
    const int count = static_cast<int>(options.levels.size());
    if (options.playersGiven && count != options.players) {
      return fmt::format("--levels names {} strengths for {} players", count, options.players);
    }
    options.players = count;
    if (options.host || !options.join.empty() || !options.load.empty()) {
      return "--levels seats a series of new games; not with --host, --join or --load";
    }
  }
  if (options.rotateSeats && options.levels.empty()) return "--rotate-seats needs --levels";
  if (options.host && options.computers >= options.players) {
    return "--computers must leave a seat to the host";
  }
  return {};
}

// The data folder: beside the program in a build folder, else the installed share/tomtura.
std::string DataDirectory() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return FindDataDirectory(error ? std::string() : self.string());
}

// The board file of the data folder's default edition.
std::string DefaultBoardPath() {
  return (std::filesystem::path(DataDirectory()) / "tomtura.lst").string();
}

struct Totals {
  int games = 0;
  int finished = 0;
  int stalled = 0;
  std::vector<int> turns;
  std::array<int, kMaxPlayers> winsBySeat{};
  std::array<int, kStrengthCount> winsByLevel{};
  int seats = 0;
  long long bankruptcies = 0;
  long long housesBuilt = 0;
  long long deals = 0;
  double milliseconds = 0;
};

// The header of --stats-csv: one row per player per turn of every game, game and player counted
// from 1, turn 0 being the start; worth is money and what the player owns at its asset value.
constexpr std::string_view kStatsCsvHeader = "game,turn,player,money,worth,on_turn\n";

void AppendStatsRows(std::string& csv, int game, const GameHistory& history) {
  for (const TurnPoint& point : history.points()) {
    for (int p = 0; p < history.playerCount(); ++p) {
      csv += fmt::format("{},{},{},{},{},{}\n", game, point.turn, p + 1, point.cash[p],
                         point.worth[p], point.player == p ? 1 : 0);
    }
  }
}

double Median(std::vector<int> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t mid = values.size() / 2;
  if (values.size() % 2 == 1) return values[mid];
  return (values[mid - 1] + values[mid]) / 2.0;
}

double Mean(const std::vector<int>& values) {
  if (values.empty()) return 0;
  double sum = 0;
  for (int v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

// The strength seated at `seat` in game `index`: the levels in order, moved round by one seat
// each game when they rotate.
Strength LevelAt(const Options& options, int index, int seat) {
  const int count = static_cast<int>(options.levels.size());
  const int shift = options.rotateSeats ? index % count : 0;
  return options.levels[(seat - shift + count) % count];
}

// The levels in the order the command line first names them.
std::vector<Strength> NamedLevels(const Options& options) {
  std::vector<Strength> named;
  for (Strength level : options.levels) {
    if (std::find(named.begin(), named.end(), level) == named.end()) named.push_back(level);
  }
  return named;
}

// A share of `games` with its 95% confidence interval (Wilson's score interval).
struct Share {
  double share = 0;
  double low = 0;
  double high = 0;
};

Share WinShare(int wins, int games) {
  if (games <= 0) return {};
  constexpr double z = 1.959964;
  const double n = games;
  const double p = wins / n;
  const double denominator = 1 + z * z / n;
  const double centre = (p + z * z / (2 * n)) / denominator;
  const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
  return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

void PrintSummary(const Options& options, const Totals& totals) {
  const double msPerGame = totals.games > 0 ? totals.milliseconds / totals.games : 0;
  std::string wins;
  for (int seat = 0; seat < totals.seats; ++seat) {
    wins += fmt::format("{}{}", seat == 0 ? "" : options.json ? "," : " ", totals.winsBySeat[seat]);
  }
  if (options.json) {
    fmt::print(
        "{{\"games\":{},\"finished\":{},\"unfinished\":{},\"stalled\":{},\"players\":{},"
        "\"seed\":{},\"max_turns\":{},\"turns_median\":{},\"turns_mean\":{:.2f},"
        "\"wins_by_seat\":[{}],\"bankruptcies\":{},\"houses_built\":{},\"deals\":{},"
        "\"ms_per_game\":{:.3f}",
        totals.games, totals.finished, totals.games - totals.finished, totals.stalled, totals.seats,
        options.seed, options.maxTurns, Median(totals.turns), Mean(totals.turns), wins,
        totals.bankruptcies, totals.housesBuilt, totals.deals, msPerGame);
    if (!options.levels.empty()) {
      std::string levels;
      for (Strength level : NamedLevels(options)) {
        const int won = totals.winsByLevel[static_cast<int>(level)];
        const Share share = WinShare(won, totals.games);
        levels += fmt::format(
            "{}\"{}\":{{\"wins\":{},\"share\":{:.4f},\"low\":{:.4f},"
            "\"high\":{:.4f}}}",
            levels.empty() ? "" : ",", StrengthName(level), won, share.share, share.low,
            share.high);
      }
      fmt::print(",\"rotate_seats\":{},\"wins_by_level\":{{{}}}", options.rotateSeats, levels);
    }
    fmt::print("}}\n");
    return;
  }
  fmt::print("games           {}\n", totals.games);
  fmt::print("finished        {} ({} stopped at the cap of {} turns", totals.finished,
             totals.games - totals.finished - totals.stalled, options.maxTurns);
  if (totals.stalled > 0) fmt::print(", {} stalled", totals.stalled);
  fmt::print(")\n");
  fmt::print("turns           median {}, mean {:.1f}\n", Median(totals.turns), Mean(totals.turns));
  fmt::print("wins by seat    {}\n", wins);
  if (!options.levels.empty()) {
    std::string levels;
    for (Strength level : NamedLevels(options)) {
      const int won = totals.winsByLevel[static_cast<int>(level)];
      const Share share = WinShare(won, totals.games);
      levels += fmt::format("{}{} {} ({:.1f}%, 95% CI {:.1f}-{:.1f}%)", levels.empty() ? "" : "  ",
                            StrengthName(level), won, 100 * share.share, 100 * share.low,
                            100 * share.high);
    }
    fmt::print("wins by level   {}\n", levels);
  }
  fmt::print("bankruptcies    {}\n", totals.bankruptcies);
  fmt::print("houses built    {}\n", totals.housesBuilt);
  fmt::print("deals made      {}\n", totals.deals);
  fmt::print("time per game   {:.3f} ms\n", msPerGame);
}

int Simulate(const Options& options) {
  const std::string boardPath = options.board.empty() ? DefaultBoardPath() : options.board;
  TextCatalogue catalogue = TextCatalogue::Load(boardPath);
  if (!catalogue.file().ok()) {
    fmt::print(stderr, "tomtura-sim: cannot read the board file {}\n", boardPath);
    return kExitFailure;
  }

  std::vector<IniFile> editionFiles;
  FindEditions(DataDirectory(), &editionFiles);
  const std::vector<StreetNames> editionNames = EditionStreetNames(editionFiles);
  const bool progress = isatty(STDERR_FILENO) != 0;
  auto lastProgress = std::chrono::steady_clock::now();
  Totals totals;
  std::string csv(kStatsCsvHeader);
  for (int index = 0; index < options.games; ++index) {
    auto start = std::chrono::steady_clock::now();
    HeadlessFrontEnd ui;
    Game game(catalogue, ui, SeriesSeed(options.seed, index));
    ui.Attach(game);
    game.editionStreetNames = editionNames;
    if (!options.load.empty()) {
      std::string error;
      const std::optional<SavedGame> saved = LoadGameFile(options.load, game.texts, &error);
      if (!saved) {
        // The catalogue's message names the file itself.
        if (error.empty()) error = options.load + ": cannot open the file";
        fmt::print(stderr, "tomtura-sim: {}\n", error);
        return kExitFailure;
      }
      const std::optional<GameHistory> history = LoadHistoryFile(options.load, *saved);
      game.Resume(*saved, history ? &*history : nullptr);
    } else {
      SeatComputerPlayers(game, options.players);
      if (!options.levels.empty()) {
        for (int seat = 0; seat < options.players; ++seat) {
          game.state.players[seat].strength = LevelAt(options, index, seat);
        }
      }
    }

    HeadlessFrontEnd::RunResult result = ui.Run(options.maxTurns);
    auto end = std::chrono::steady_clock::now();
    totals.milliseconds += std::chrono::duration<double, std::milli>(end - start).count();

    const GameState& state = game.state;
    totals.seats = std::max(totals.seats, state.playerCount);
    ++totals.games;
    totals.turns.push_back(ui.stats().turns);
    totals.bankruptcies += ui.stats().bankruptcies;
    totals.housesBuilt += ui.stats().housesBuilt;
    totals.deals += ui.stats().deals;
    if (result == HeadlessFrontEnd::RunResult::Stalled) ++totals.stalled;
    if (result == HeadlessFrontEnd::RunResult::GameOver) {
      ++totals.finished;
      for (int seat = 0; seat < state.playerCount; ++seat) {
        if (state.players[seat].isBankrupt != 0) continue;
        ++totals.winsBySeat[seat];
        ++totals.winsByLevel[static_cast<int>(state.players[seat].strength)];
      }
    }

    if (!options.statsCsv.empty()) AppendStatsRows(csv, index + 1, game.history);
    if (index + 1 == options.games && !options.save.empty()) {
      std::string error;
      if (!SaveGameFile(game.state, game.texts, options.save, &error) ||
          !SaveHistoryFile(game.history, game.state, options.save)) {
        fmt::print(stderr, "tomtura-sim: {}\n",
                   error.empty() ? "cannot write " + options.save : error);
        return kExitFailure;
      }
    }
    if (progress && (end - lastProgress >= kProgressEvery || index + 1 == options.games)) {
      lastProgress = end;
      fmt::print(stderr, "\rgame {} of {}", index + 1, options.games);
      if (index + 1 == options.games) fmt::print(stderr, "\n");
    }
  }
  if (!options.statsCsv.empty() && !WriteFileAtomically(options.statsCsv, csv)) {
    fmt::print(stderr, "tomtura-sim: cannot write {}\n", options.statsCsv);
    return kExitFailure;
  }
  PrintSummary(options, totals);
  return 0;
}

int PlayNetwork(const Options& options) {
  const std::string boardPath = options.board.empty() ? DefaultBoardPath() : options.board;
  TextCatalogue catalogue = TextCatalogue::Load(boardPath);
  if (!catalogue.file().ok()) {
    fmt::print(stderr, "tomtura-sim: cannot read the board file {}\n", boardPath);
    return kExitFailure;
  }
  NetPlayOptions net;
  net.host = options.host;
  net.address = options.join;
  net.port = options.port;
  net.players = options.players;
  net.computers = options.computers;
  net.load = options.load;
  net.computerLevel = options.computerLevel;
  net.name = options.name;
  net.seed = options.seed;
  net.save = options.save;
  net.leaveAfter = options.leaveAfter;
  net.dropAt = options.dropAt;
  net.dropAfter = options.dropAfter;
  net.graceSeconds = options.graceSeconds;
  net.onDrop = options.onDrop;
  net.classic = options.classic;
  net.maxTurns = options.maxTurns;
  net.decisionTimes = options.decisionTimes;
  return PlayNetworkGame(catalogue, net);
}

}  // namespace
}  // namespace tomtura

int main(int argc, char** argv) {
  tomtura::Options options;
  std::string error = tomtura::ParseOptions(argc, argv, options);
  if (!error.empty()) {
    fmt::print(stderr, "tomtura-sim: {}\n{}", error, tomtura::kUsage);
    return tomtura::kExitUsage;
  }
  if (options.help) {
    fmt::print("{}", tomtura::kUsage);
    return 0;
  }
  if (options.host || !options.join.empty()) return tomtura::PlayNetwork(options);
  return tomtura::Simulate(options);
}
