#pragma once
// Cuts the byte stream of one connection into whole messages. Bytes are fed as they arrive, in
// any pieces; Next yields a message only once all of its bytes are here, and bytes that have not
// been asked for stay unread, so a caller that must not apply messages yet (a move is under way)
// simply stops asking. Anything that is not a valid message stops the framer for good: the
// caller closes that connection.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/messages.h"

namespace tomtura {

// Lobby: a connection carries one set-up message (a Join on the host, a Roster on a client).
// Game: typed messages.
enum class NetPhase { Lobby, Game };

class Framer {
 public:
  Framer(Role role, NetPhase phase, int playerCount = 0)
      : role_(role), phase_(phase), playerCount_(playerCount) {}

  // Keeps the bytes for Next; ignored once the framer has failed.
  void Feed(std::span<const std::uint8_t> bytes);

  // The next whole message, or nullopt when its bytes have not all arrived or the framer has
  // failed. A Roster moves a client's framer to the game phase with the roster's player count
  // (and the extended messages when both sides announced them), so that messages behind it in
  // the same piece are read as typed messages.
  std::optional<NetMessage> Next();

  bool failed() const { return !error_.empty(); }
  // Why the stream was refused; empty while it has not been.
  const std::string& error() const { return error_; }

  NetPhase phase() const { return phase_; }
  void SetPhase(NetPhase phase) { phase_ = phase; }
  // The number of players, which gives a Chat its length.
  int playerCount() const { return playerCount_; }
  void SetPlayerCount(int playerCount) { playerCount_ = playerCount; }
  // Whether the extended messages are read. On a client waiting for the roster: whether it
  // offers them, which a roster without the host's mark takes back.
  bool extended() const { return extended_; }
  void SetExtended(bool extended) { extended_ = extended; }

  // Bytes held that Next has not yet taken.
  std::size_t pending() const { return buffer_.size() - read_; }

 private:
  std::optional<NetMessage> Fail(std::string error);
  std::optional<NetMessage> NextSetUp();
  std::optional<NetMessage> NextTyped();

  Role role_;
  NetPhase phase_;
  int playerCount_;
  bool extended_ = false;
  std::vector<std::uint8_t> buffer_;
  std::size_t read_ = 0;  // bytes of buffer_ already taken
  std::string error_;
};

}  // namespace tomtura
