#pragma once
// The game log: one line per event, newest first. Each entry starts with the acting player's
// number ('0'..'5', or '-' for -1), followed by the text. The log is bounded so that a long
// game cannot grow it without limit.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace tomtura {

class GameLog {
 public:
  static constexpr std::size_t kMaxEntries = 500;
  static constexpr std::size_t kMaxTextBytes = 255;

  // Adds `text` (UTF-8, cut to 255 bytes at a character boundary) for `player`; player -1
  // empties the log first.
  void Add(int player, std::string_view text);

  const std::deque<std::string>& entries() const { return entries_; }  // newest first
  std::size_t size() const { return entries_.size(); }
  void Clear() { entries_.clear(); }

 private:
  std::deque<std::string> entries_;
};

}  // namespace tomtura
