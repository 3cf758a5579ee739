#include "net/framer.h"

namespace tomtura {

void Framer::Feed(std::span<const std::uint8_t> bytes) {
  if (failed()) return;
  // Drop what has been taken before growing, so a long game keeps a small buffer.
  if (read_ > 0) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(read_));
    read_ = 0;
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<NetMessage> Framer::Next() {
  if (failed()) return std::nullopt;
  return phase_ == NetPhase::Lobby ? NextSetUp() : NextTyped();
}

std::optional<NetMessage> Framer::Fail(std::string error) {
  error_ = std::move(error);
  buffer_.clear();
  read_ = 0;
  return std::nullopt;
}

std::optional<NetMessage> Framer::NextSetUp() {
  const std::size_t size = role_ == Role::Host ? kJoinSize : kRosterSize;
  if (pending() < size) return std::nullopt;
  const std::span<const std::uint8_t> bytes(buffer_.data() + read_, size);
  if (role_ == Role::Host) {
    Decoded<JoinMessage> join = DecodeJoin(bytes);
    if (!join.message) return Fail(std::move(join.refusal));
    read_ += size;
    return NetMessage(std::move(*join.message));
  }
  Decoded<RosterMessage> roster = DecodeRoster(bytes);
  if (!roster.message) return Fail(std::move(roster.refusal));
  read_ += size;
  phase_ = NetPhase::Game;
  playerCount_ = RosterPlayerCount(*roster.message);
  extended_ = extended_ && roster.message->extended;
  return NetMessage(std::move(*roster.message));
}

std::optional<NetMessage> Framer::NextTyped() {
  if (pending() < kTypeCodeSize) return std::nullopt;
  const std::int32_t type = GetI32(buffer_.data() + read_);
  const std::optional<std::size_t> size = PayloadSize(type, role_, playerCount_, extended_);
  // An unknown type has no known length: nothing behind it can be read in step.
  if (!size) return Fail("unknown type code " + std::to_string(type));
  if (pending() < kTypeCodeSize + *size) return std::nullopt;
  Decoded<NetMessage> message = DecodePayload(
      type, std::span<const std::uint8_t>(buffer_.data() + read_ + kTypeCodeSize, *size), role_,
      playerCount_, extended_);
  if (!message.message) return Fail(std::move(message.refusal));
  read_ += kTypeCodeSize + *size;
  return message.message;
}

}  // namespace tomtura
