#include "data/game_log.h"

#include <string>

#include "data/text_encoding.h"

namespace tomtura {

void GameLog::Add(int player, std::string_view text) {
  std::string entry(1, std::to_string(player).front());
  entry += CutUtf8(text, kMaxTextBytes);
  if (player == -1) entries_.clear();
  entries_.push_front(std::move(entry));
  if (entries_.size() > kMaxEntries) entries_.pop_back();
}

}  // namespace tomtura
