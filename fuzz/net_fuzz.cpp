// libFuzzer target of the network wire layer. Whatever bytes a peer sends, in whatever pieces,
// the framer must not crash or read past what it holds, must account for every byte it takes,
// and every message it yields must come back unchanged from its own encoding. The decoder of a
// single payload is driven directly as well, with lengths that do not fit its type.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "net/framer.h"
#include "net/messages.h"

namespace {

using tomtura::Framer;
using tomtura::NetMessage;
using tomtura::NetPhase;
using tomtura::Role;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsSetUp(const NetMessage& m) {
  return std::holds_alternative<tomtura::JoinMessage>(m) ||
         std::holds_alternative<tomtura::RosterMessage>(m);
}

// A yielded message reads back as itself from its own bytes, with nothing left over.
void RequireRoundTrip(const NetMessage& m, const std::vector<std::uint8_t>& bytes, Role role,
                      int playerCount) {
  Framer again(role, IsSetUp(m) ? NetPhase::Lobby : NetPhase::Game, playerCount);
  again.Feed(bytes);
  const std::optional<NetMessage> read = again.Next();
  Require(read.has_value() && *read == m && again.pending() == 0);
}

void FuzzFramer(Role role, NetPhase phase, int playerCount, std::size_t piece,
                std::span<const std::uint8_t> stream) {
  Framer framer(role, phase, playerCount);
  std::size_t fed = 0;
  std::size_t taken = 0;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    const std::size_t n = std::min(piece, stream.size() - at);
    framer.Feed(stream.subspan(at, n));
    fed += n;
    for (;;) {
      const int countBefore = framer.playerCount();
      const std::optional<NetMessage> m = framer.Next();
      if (!m) break;
      const std::vector<std::uint8_t> bytes = tomtura::EncodeMessage(*m);
      taken += bytes.size();
      if (const auto* chat = std::get_if<tomtura::ChatMessage>(&*m)) {
        Require(static_cast<int>(chat->flags.size()) == std::clamp(countBefore, 0, 6));
      }
      RequireRoundTrip(*m, bytes, role, framer.playerCount());
    }
    if (framer.failed()) {
      Require(framer.pending() == 0 && !framer.error().empty());
      return;
    }
    Require(taken + framer.pending() == fed);
  }
}

void FuzzPayload(Role role, int playerCount, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return;
  const std::int32_t type = static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                      static_cast<std::uint32_t>(bytes[3]) << 24);
  const std::span<const std::uint8_t> payload = bytes.subspan(4);
  const tomtura::Decoded<NetMessage> decoded =
      tomtura::DecodePayload(type, payload, role, playerCount);
  Require(decoded.message.has_value() != !decoded.refusal.empty());
  if (decoded.message) {
    const std::optional<std::size_t> size = tomtura::PayloadSize(type, role, playerCount);
    Require(size && *size == payload.size());
    Require(tomtura::EncodeMessage(*decoded.message).size() == 4 + payload.size());
  }
}

}  // namespace

// The first byte chooses the side, the phase and the player count (7 on purpose out of range),
// the second the length of the pieces the rest arrives in.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const Role role = (data[0] & 1) != 0 ? Role::Client : Role::Host;
  const NetPhase phase = (data[0] & 2) != 0 ? NetPhase::Game : NetPhase::Lobby;
  const int playerCount = (data[0] >> 2) & 7;
  const std::size_t piece = data[1] == 0 ? size : data[1];
  const std::span<const std::uint8_t> rest(data + 2, size - 2);
  FuzzFramer(role, phase, playerCount, piece, rest);
  FuzzPayload(role, playerCount, rest);
  return 0;
}
