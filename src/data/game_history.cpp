// The history of a game, moved on by each outcome as it is applied.
#include "data/game_history.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>

#include "data/property_rules.h"

namespace tomtura {

std::int64_t AssetValue(const Property& property) {
  if (property.mortgaged != 0) return MortgageValue(property);
  return std::int64_t{property.price} + std::int64_t{property.houses} * property.housePrice;
}

std::int64_t Worth(const PlayerTable& players, const PropertyTable& properties, int player) {
  if (player < 0 || player >= kMaxPlayers) return 0;
  std::int64_t worth = players[player].money;
  for (const Property& property : properties) {
    if (property.owner == player) worth += AssetValue(property);
  }
  return worth;
}

namespace {

bool IsSeat(int player) {
  return player >= 0 && player < kMaxPlayers;
}

std::int64_t MaskValue(const PropertyTable& properties, std::uint32_t mask) {
  std::int64_t value = 0;
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((mask & PropertyBit(p)) != 0) value += AssetValue(properties[p]);
  }
  return value;
}

}  // namespace

void GameHistory::Begin(const GameState& state, HistoryStart start) {
  start_ = start;
  playerCount_ = std::clamp(state.playerCount, 0, kMaxPlayers);
  points_.clear();
  tallies_ = {};
  creditors_.fill(kBank);
  current_ = TurnPoint{};
  for (int p = 0; p < kMaxPlayers; ++p) {
    current_.cash[p] = p < playerCount_ ? state.players[p].money : 0;
    current_.worth[p] = p < playerCount_ ? Worth(state.players, state.properties, p) : 0;
  }
  AddPoint(kNobody);
  if (IsSeat(state.currentPlayer) && state.current().jailTurns > 0) {
    ++tallies_[state.currentPlayer].jailTurns;
  }
}

void GameHistory::AddPoint(int player) {
  if (points_.size() < kMaxPoints) {
    TurnPoint point = current_;
    point.turn = points_.empty() ? 0 : points_.back().turn + 1;
    point.player = player;
    points_.push_back(point);
    if (pointAdded) pointAdded(points_.back());
  }
  current_.bankPaid = 0;
  current_.bankTook = 0;
}

void GameHistory::TurnPassed(const GameState& state, int from) {
  AddPoint(from);
  if (IsSeat(state.currentPlayer) && state.current().jailTurns > 0) {
    ++tallies_[state.currentPlayer].jailTurns;
  }
}

void GameHistory::Finished(const GameState& state) {
  AddPoint(state.currentPlayer);
}

void GameHistory::Gain(int player, std::int64_t cash, std::int64_t worth) {
  if (!IsSeat(player)) return;
  current_.cash[player] += cash;
  current_.worth[player] += worth;
}

// Money from one party to the other; the bank's side counts as paid out or taken in. A payer
// left in debt remembers whom he owes, should he go bankrupt over it.
void GameHistory::Pay(int from, int to, std::int64_t amount) {
  Gain(from, -amount, -amount);
  Gain(to, amount, amount);
  if (from == kBank) current_.bankPaid += amount;
  if (to == kBank) current_.bankTook += amount;
  if (IsSeat(from) && current_.cash[from] < 0) creditors_[from] = to;
}

void GameHistory::Note(const Outcome& outcome, const GameState& after) {
  const PropertyTable& properties = after.properties;
  std::visit(
      [&](const auto& o) {
        using T = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<T, Purchase>) {
          Pay(o.player, kBank, o.price);
          Gain(o.player, 0, AssetValue(properties[o.property]));
          ++tallies_[o.player].bought;
        } else if constexpr (std::is_same_v<T, Deal>) {
          const std::int64_t toActor = MaskValue(properties, o.toActor);
          const std::int64_t toPartner = MaskValue(properties, o.toPartner);
          Pay(o.actor, o.partner, o.money);
          Gain(o.actor, 0, toActor - toPartner);
          Gain(o.partner, 0, toPartner - toActor);
          ++tallies_[o.actor].deals;
          ++tallies_[o.partner].deals;
        } else if constexpr (std::is_same_v<T, Payment>) {
          Pay(o.from, o.to, o.amount);
          PlayerTally* payer = IsSeat(o.from) ? &tallies_[o.from] : nullptr;
          PlayerTally* payee = IsSeat(o.to) ? &tallies_[o.to] : nullptr;
          switch (o.reason) {
            case PaymentReason::Rent:
              if (payer) payer->rentPaid += o.amount;
              if (payee) payee->rentReceived += o.amount;
              break;
            case PaymentReason::Tax:
              if (payer) payer->taxes += o.amount;
              break;
            case PaymentReason::Salary:
              if (payee) payee->salary += o.amount;
              break;
            case PaymentReason::Bail:
            case PaymentReason::Charges:
              if (payer) payer->bailAndFees += o.amount;
              break;
            case PaymentReason::Card:
            case PaymentReason::Gift:
              if (payer) payer->cards -= o.amount;
              if (payee) payee->cards += o.amount;
              break;
          }
        } else if constexpr (std::is_same_v<T, Repairs>) {
          Pay(o.player, kBank, o.amount);
          tallies_[o.player].cards -= o.amount;
        } else if constexpr (std::is_same_v<T, Mortgage>) {
          const Property& property = properties[o.property];
          const std::int64_t value = MortgageValue(property);
          const std::int64_t unmortgaged =
              std::int64_t{property.price} + std::int64_t{property.houses} * property.housePrice;
          if (o.lift) {
            Pay(o.player, kBank, UnmortgageCost(property));
            Gain(o.player, 0, unmortgaged - value);
            ++tallies_[o.player].mortgagesLifted;
          } else {
            Pay(kBank, o.player, value);
            Gain(o.player, 0, value - unmortgaged);
            ++tallies_[o.player].mortgages;
          }
        } else if constexpr (std::is_same_v<T, Houses>) {
          const Property& street = properties[o.property];
          if (o.count > 0) {
            const std::int64_t cost = std::int64_t{street.housePrice} * o.count;
            Pay(o.player, kBank, cost);
            Gain(o.player, 0, cost);
            tallies_[o.player].housesBought += o.count;
          } else {
            const std::int64_t refund = std::int64_t{HouseRefund(street)} * -o.count;
            Pay(kBank, o.player, refund);
            Gain(o.player, 0, -std::int64_t{street.housePrice} * -o.count);
            tallies_[o.player].housesSold += -o.count;
          }
        } else if constexpr (std::is_same_v<T, JailCard>) {
          const std::int64_t value = AssetValue(properties[o.card]);
          Gain(o.player, 0, o.used ? -value : value);
        } else {
          // A bankruptcy or a player gone: everything he owned is the bank's, his money stays.
          current_.worth[o.player] = current_.cash[o.player];
          if constexpr (std::is_same_v<T, Bankruptcy>) {
            const int creditor = creditors_[o.player];
            if (IsSeat(creditor) && creditor != o.player) ++tallies_[creditor].bankruptciesCaused;
          }
        }
      },
      outcome.what);
}

GameHistory GameHistory::Restore(HistoryStart start, int playerCount, std::vector<TurnPoint> points,
                                 const std::array<PlayerTally, kMaxPlayers>& tallies,
                                 const TurnPoint& current,
                                 const std::array<std::int32_t, kMaxPlayers>& creditors) {
  GameHistory history;
  history.start_ = start;
  history.playerCount_ = playerCount;
  history.points_ = std::move(points);
  history.tallies_ = tallies;
  history.current_ = current;
  history.creditors_ = creditors;
  return history;
}

}  // namespace tomtura
