// A saved game's history file: its codec, checks and the file beside the saved game.
#include "store/history_file.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "data/ini_file.h"

namespace tomtura {

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'T', 'T', 'S', 'T'};
constexpr std::size_t kHeaderSize = 16;
constexpr int kTallyCount = 14;

// The tallies of a player in file order.
std::array<std::int64_t*, kTallyCount> Fields(PlayerTally& t) {
  return {&t.rentPaid,   &t.rentReceived,      &t.salary,          &t.taxes,
          &t.cards,      &t.bailAndFees,       &t.bought,          &t.housesBought,
          &t.housesSold, &t.mortgages,         &t.mortgagesLifted, &t.deals,
          &t.jailTurns,  &t.bankruptciesCaused};
}

std::size_t RunningSize(int players) {
  return 16 + 17 * static_cast<std::size_t>(players);
}
std::size_t PointSize(int players) {
  return 21 + 16 * static_cast<std::size_t>(players);
}

class Writer {
 public:
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) { Little(v, 2); }
  void U32(std::uint32_t v) { Little(v, 4); }
  void I32(std::int32_t v) { Little(static_cast<std::uint32_t>(v), 4); }
  void I64(std::int64_t v) { Little(static_cast<std::uint64_t>(v), 8); }
  std::vector<std::uint8_t> bytes;

 private:
  void Little(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

// Reads in order; the caller has made sure that every byte asked for is there.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  std::uint8_t U8() { return in_[at_++]; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::int64_t I64() { return static_cast<std::int64_t>(Little(8)); }
  std::int8_t I8() { return static_cast<std::int8_t>(U8()); }

 private:
  std::uint64_t Little(int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= std::uint64_t{in_[at_++]} << (8 * i);
    return v;
  }
  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
};

bool FitsMoney(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

std::optional<GameHistory> Refuse(std::string* fault, std::string_view why) {
  if (fault != nullptr) *fault = why;
  return std::nullopt;
}

}  // namespace

std::string HistoryPath(const std::string& savedGamePath) {
  return savedGamePath + std::string(kHistoryExtension);
}

std::uint32_t SavedGameCheck(std::span<const std::uint8_t> savedGameBytes) {
  std::uint32_t hash = 2166136261u;
  for (std::uint8_t byte : savedGameBytes) {
    hash ^= byte;
    hash *= 16777619u;
  }
  return hash;
}

std::vector<std::uint8_t> EncodeHistory(const GameHistory& history, std::uint32_t savedGameCheck) {
  const int n = history.playerCount();
  Writer out;
  for (std::uint8_t c : kMagic) out.U8(c);
  out.U16(kHistoryVersion);
  out.U32(savedGameCheck);
  out.U8(static_cast<std::uint8_t>(history.start()));
  out.U8(static_cast<std::uint8_t>(n));
  out.U32(static_cast<std::uint32_t>(history.points().size()));
  const TurnPoint& running = history.current();
  out.I64(running.bankPaid);
  out.I64(running.bankTook);
  for (int p = 0; p < n; ++p) {
    out.I64(running.cash[p]);
    out.I64(running.worth[p]);
    out.U8(static_cast<std::uint8_t>(history.creditors()[p]));
  }
  for (int p = 0; p < n; ++p) {
    PlayerTally tally = history.tallies()[p];
    for (const std::int64_t* field : Fields(tally)) out.I64(*field);
  }
  for (const TurnPoint& point : history.points()) {
    out.I32(point.turn);
    out.U8(static_cast<std::uint8_t>(point.player));
    out.I64(point.bankPaid);
    out.I64(point.bankTook);
    for (int p = 0; p < n; ++p) {
      out.I64(point.cash[p]);
      out.I64(point.worth[p]);
    }
  }
  return std::move(out.bytes);
}

std::optional<GameHistory> DecodeHistory(std::span<const std::uint8_t> bytes,
                                         std::uint32_t savedGameCheck, const SavedGame& saved,
                                         std::string* fault) {
  if (bytes.size() < kHeaderSize || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return Refuse(fault, "not a history file");
  }
  Reader in(bytes.subspan(kMagic.size()));
  if (in.U16() != kHistoryVersion) return Refuse(fault, "another version");
  if (in.U32() != savedGameCheck) return Refuse(fault, "the history of another saved game");
  const std::uint8_t start = in.U8();
  const int n = in.U8();
  const std::uint32_t count = in.U32();
  if (start > static_cast<std::uint8_t>(HistoryStart::Load)) return Refuse(fault, "no such start");
  if (n < 2 || n > kMaxPlayers || n != saved.playerCount) {
    return Refuse(fault, "another number of players");
  }
  if (count < 1 || count > GameHistory::kMaxPoints) return Refuse(fault, "no such number of turns");
  const std::size_t expected = kHeaderSize + RunningSize(n) +
                               static_cast<std::size_t>(n) * kTallyCount * 8 + count * PointSize(n);
  if (bytes.size() != expected) return Refuse(fault, "cut short or running on");

  const auto isParty = [n](int who) { return who >= kNobody && who < n; };
  TurnPoint running;
  std::array<std::int32_t, kMaxPlayers> creditors;
  creditors.fill(kBank);
  running.bankPaid = in.I64();
  running.bankTook = in.I64();
  for (int p = 0; p < n; ++p) {
    running.cash[p] = in.I64();
    running.worth[p] = in.I64();
    creditors[p] = in.I8();
    if (!isParty(creditors[p])) return Refuse(fault, "a creditor outside the game");
    if (running.cash[p] != saved.players[p].money) return Refuse(fault, "money of another game");
  }
  std::array<PlayerTally, kMaxPlayers> tallies{};
  for (int p = 0; p < n; ++p) {
    for (std::int64_t* field : Fields(tallies[p])) *field = in.I64();
  }
  std::vector<TurnPoint> points(count);
  for (std::uint32_t k = 0; k < count; ++k) {
    TurnPoint& point = points[k];
    point.turn = in.I32();
    point.player = in.I8();
    point.bankPaid = in.I64();
    point.bankTook = in.I64();
    for (int p = 0; p < n; ++p) {
      point.cash[p] = in.I64();
      point.worth[p] = in.I64();
      if (!FitsMoney(point.cash[p])) return Refuse(fault, "money beyond a player's record");
    }
    const bool first = k == 0;
    if (first ? point.turn != 0 || point.player != kNobody
              : point.turn <= points[k - 1].turn || point.player < 0 || point.player >= n) {
      return Refuse(fault, "turns out of order");
    }
  }
  return GameHistory::Restore(static_cast<HistoryStart>(start), n, std::move(points), tallies,
                              running, creditors);
}

bool SaveHistoryFile(const GameHistory& history, const GameState& state, const std::string& path) {
  const SavedGameBytes saved = EncodeSavedGame(state);
  const std::vector<std::uint8_t> bytes = EncodeHistory(history, SavedGameCheck(saved));
  return WriteFileAtomically(
      HistoryPath(SavedGamePath(path)),
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<GameHistory> LoadHistoryFile(const std::string& path, const SavedGame& saved,
                                           std::string* fault) {
  std::vector<std::uint8_t> savedBytes;
  std::vector<std::uint8_t> bytes;
  const std::size_t largest = kHeaderSize + RunningSize(kMaxPlayers) +
                              kMaxPlayers * kTallyCount * 8 +
                              GameHistory::kMaxPoints * PointSize(kMaxPlayers);
  if (ReadFilePrefix(path, kSavedGameSize, savedBytes) == ReadResult::CannotOpen ||
      ReadFilePrefix(HistoryPath(path), largest + 1, bytes) == ReadResult::CannotOpen) {
    return Refuse(fault, "no history beside the saved game");
  }
  return DecodeHistory(bytes, SavedGameCheck(savedBytes), saved, fault);
}

}  // namespace tomtura
