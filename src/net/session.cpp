// One computer's side of a network game: lobby, seats, dice, and the messages in the order the
// game takes them.
#include "net/session.h"

#include <algorithm>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"

namespace tomtura {

namespace {

// A press or a bid as the answer to `request`; nullopt when the message is no such answer.
std::optional<Decision> AnswerIn(const DecisionRequest& request, const NetMessage& message) {
  if (request.kind == DecisionKind::AuctionBid) {
    const auto* bid = std::get_if<BidMessage>(&message);
    if (bid == nullptr || bid->player != request.player) return std::nullopt;
    return Decision{bid->controlId, bid->controlId == kControlOk ? bid->amount : 0, nullptr};
  }
  const auto* press = std::get_if<PressMessage>(&message);
  if (press == nullptr) return std::nullopt;
  return Decision{press->controlId, 0, nullptr};
}

}  // namespace

NetSession::NetSession(Game& game, Link& link, Role role)
    : game_(game),
      link_(link),
      role_(role),
      seat_(*this),
      hostDice_(game.rng, [this](const Dice& dice) { SendDice(dice); }),
      clientDice_([this] {
        waitingForDice_ = true;
        Broadcast(RollRequest{});
      }) {
  subscription_ =
      game_.referee.Subscribe([this](const DecisionRequest& request, const Decision& decision,
                                     bool remote) { OnDecision(request, decision, remote); });
  outcomeSubscription_ = game_.referee.SubscribeOutcomes(
      [this](const Outcome& outcome, const DecisionRecord*) { OnOutcome(outcome); });
}

NetSession::~NetSession() {
  game_.referee.Unsubscribe(subscription_);
  game_.referee.Unsubscribe(outcomeSubscription_);
  for (int p = 0; p < kMaxPlayers; ++p) game_.referee.SetSeat(p, nullptr);
  game_.SetDiceSource(nullptr);
}

// ---- Lobby ---------------------------------------------------------------------------------

void NetSession::OpenLobby() {
  tomtura::OpenLobby(game_.state.players, game_.state.playerCount);
}

bool NetSession::Accept(ConnectionId connection) {
  if (inGame_ || role_ != Role::Host) return false;
  if (!AcceptConnection(game_.state.players, game_.state.playerCount, connection)) return false;
  framers_.insert_or_assign(connection, Framer(Role::Host, NetPhase::Lobby));
  if (events.lobbyChanged) events.lobbyChanged();
  return true;
}

void NetSession::Start(const std::string& hostName) {
  GameState& state = game_.state;
  PlayerName name;
  name.setUtf8(hostName);
  NamePlayer(state.players[0], name, 0,
             [this](int record) { return game_.FormatCatalogue(kTextDefaultName, record); });
  std::vector<RosterMessage> rosters =
      RostersAtStart(state.players, state.playerCount, state.settings);
  for (int k = 1; k < state.playerCount; ++k) {
    rosters[k - 1].extended = !classic_;
    link_.Send(PlayerConnection(state.players[k]), EncodeMessage(rosters[k - 1]));
  }
  for (auto& [connection, framer] : framers_) {
    framer.SetPhase(NetPhase::Game);
    framer.SetPlayerCount(state.playerCount);
    framer.SetExtended(Extended(connection));
  }
  state.networkGame = NetRole::Host;
  BeginGame();
  // The game's table goes with the roster, so that every computer plays on the host's streets
  // whatever the edition it was started in.
  Broadcast(StateMessage{state.properties, state.players});
}

void NetSession::Join(const std::string& name) {
  Framer framer(Role::Client, NetPhase::Lobby);
  framer.SetExtended(!classic_);  // offered; the roster says whether the host takes it up
  framers_.insert_or_assign(kHostConnection, std::move(framer));
  JoinMessage join;
  join.name.setUtf8(name);
  join.extended = !classic_;
  link_.Send(kHostConnection, EncodeMessage(join));
}

bool NetSession::Extended(ConnectionId connection) const {
  if (classic_) return false;
  return role_ == Role::Client ? hostExtended_ : extended_.contains(connection);
}

void NetSession::ApplyRoster(const RosterMessage& roster) {
  GameState& state = game_.state;
  const int count = RosterPlayerCount(roster);
  const int here =
      static_cast<int>(std::count_if(roster.players.begin(), roster.players.begin() + count,
                                     [](const Player& player) { return IsPersonHere(player); }));
  if (count < 2 || here != 1) {
    End("a roster without exactly one player here");
    return;
  }
  state.players = roster.players;
  // Every player of a network game sits at his own computer, where nobody asks a password; one
  // that a host left in its records could not be given here.
  for (Player& player : state.players) player.password.clear();
  state.playerCount = count;
  state.settings.auctionOn = roster.auctionOn;
  state.settings.firstLapRule = roster.firstLapRule;
  state.networkGame = NetRole::Client;
  hostExtended_ = roster.extended && !classic_;
  BeginGame();
  if (events.started) events.started();
}

void NetSession::BeginGame() {
  GameState& state = game_.state;
  localPlayer_ = 0;
  for (int p = 0; p < state.playerCount; ++p) {
    if (IsPersonHere(state.players[p])) {
      localPlayer_ = p;
      break;
    }
  }
  for (int p = 0; p < kMaxPlayers; ++p) {
    game_.referee.SetSeat(p, p < state.playerCount && p != localPlayer_ ? &seat_ : nullptr);
  }
  game_.SetDiceSource(role_ == Role::Host ? static_cast<DiceSource*>(&hostDice_) : &clientDice_);
  inGame_ = true;
  decksPending_ = true;
  game_.NewGame(false);
}

// ---- Output --------------------------------------------------------------------------------

void NetSession::Broadcast(const NetMessage& message, ConnectionId except) {
  if (role_ == Role::Client) {
    SendTo(kHostConnection, message);
    return;
  }
  const GameState& state = game_.state;
  for (ConnectionId connection : RelayTargets(state.players, state.playerCount, except)) {
    SendTo(connection, message);
  }
}

void NetSession::SendTo(ConnectionId connection, const NetMessage& message) {
  if (!IsExtended(message) || Extended(connection)) {
    link_.Send(connection, EncodeMessage(message));
  } else if (const auto* offer = std::get_if<OfferMessage>(&message)) {
    link_.Send(connection, EncodeMessage(offer->login));
  }
}

void NetSession::SendDice(const Dice& dice) {
  // The decks go with the first throw, as the host shuffled them.
  if (decksPending_) {
    decksPending_ = false;
    Broadcast(DecksMessage{game_.state.chanceDeck, game_.state.communityDeck});
  }
  Broadcast(DiceMessage{dice.die1, dice.die2});
}

void NetSession::OnDecision(const DecisionRequest& request, const Decision& decision, bool remote) {
  if (remote || !inGame_ || ended_) return;
  switch (request.kind) {
    case DecisionKind::Question:
    case DecisionKind::AuctionClose:
    case DecisionKind::Consent:
      Broadcast(PressMessage{decision.button});
      return;
    case DecisionKind::AuctionBid:
      Broadcast(BidMessage{decision.button, decision.button == kControlOk ? decision.amount : 0,
                           request.player});
      return;
    case DecisionKind::PlayWindow:
      if (decision.commit != nullptr) {
        Broadcast(StateMessage{decision.commit->properties, decision.commit->players});
      }
      return;
    case DecisionKind::Login:
      return;  // a password is given at the player's own computer only
  }
}

void NetSession::OnOutcome(const Outcome& outcome) {
  // The host tells every computer what a player's leaving came to.
  if (role_ != Role::Host || !inGame_ || !std::holds_alternative<tomtura::PlayerGone>(outcome.what))
    return;
  const GameState& state = game_.state;
  Broadcast(StateMessage{state.properties, state.players});
}

void NetSession::SendChat(const std::string& text, const std::vector<int>& addressees) {
  const GameState& state = game_.state;
  if (!inGame_ || ended_) return;
  ChatMessage chat;
  chat.text.setUtf8(text);
  chat.flags.assign(static_cast<std::size_t>(state.playerCount), kChatNotAddressed);
  for (int p = 0; p < state.playerCount; ++p) {
    const bool addressed = addressees.empty() ||
                           std::find(addressees.begin(), addressees.end(), p) != addressees.end();
    if (addressed) chat.flags[static_cast<std::size_t>(p)] = kChatAddressee;
  }
  chat.flags[static_cast<std::size_t>(localPlayer_)] = kChatSender;
  Broadcast(chat);
}

// ---- Input ---------------------------------------------------------------------------------

void NetSession::Deliver(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  const auto found = framers_.find(connection);
  if (found == framers_.end() || ended_) return;
  Framer& framer = found->second;
  framer.Feed(bytes);
  while (std::optional<NetMessage> message = framer.Next()) {
    if (inGame_) {
      inbox_.push_back({connection, std::move(message), LeaveReason::Unknown});
    } else if (const auto* join = std::get_if<JoinMessage>(&*message)) {
      NameJoiner(game_.state.players, game_.state.playerCount, connection, *join,
                 [this](int record) { return game_.FormatCatalogue(kTextDefaultName, record); });
      if (join->extended && !classic_) extended_.insert(connection);
      if (events.lobbyChanged) events.lobbyChanged();
    } else if (const auto* roster = std::get_if<RosterMessage>(&*message)) {
      ApplyRoster(*roster);
    }
  }
  if (!framer.failed()) return;
  // The connection is closed at once; its player leaves when the game takes that in.
  const std::string reason = framer.error();
  if (inGame_ && role_ == Role::Host) {
    link_.Close(connection);
    framers_.erase(connection);
    inbox_.push_back({connection, std::nullopt, LeaveReason::Refused});
  } else {
    Refuse(connection, reason);
  }
}

void NetSession::Lost(ConnectionId connection) {
  if (ended_) return;
  framers_.erase(connection);
  if (inGame_) {
    inbox_.push_back({connection, std::nullopt, LeaveReason::ConnectionLost});
    return;
  }
  if (role_ == Role::Client) {
    End("the host has gone");
  } else if (RemoveLeaver(game_.state.players, game_.state.playerCount, connection) >= 0 &&
             events.lobbyChanged) {
    events.lobbyChanged();
  }
}

std::optional<NetSession::Item> NetSession::Take(bool wait) {
  for (;;) {
    if (!inbox_.empty()) {
      Item item = std::move(inbox_.front());
      inbox_.pop_front();
      return item;
    }
    if (ended_ || !wait) return std::nullopt;
    if (!link_.WaitForInput()) {
      End("nothing more comes from the network");
      return std::nullopt;
    }
  }
}

bool NetSession::HandleAside(const Item& item) {
  if (!item.message) {
    Drop(item.from, item.reason);
    return true;
  }
  const NetMessage& message = *item.message;
  if (std::holds_alternative<StateMessage>(message)) {
    ApplyState(item);
    return true;
  }
  if (const auto* chat = std::get_if<ChatMessage>(&message)) {
    if (role_ == Role::Host) Broadcast(*chat, item.from);
    ShowChat(*chat);
    return true;
  }
  const auto* login = std::get_if<LoginMessage>(&message);
  const auto* offer = std::get_if<OfferMessage>(&message);
  if (login != nullptr || offer != nullptr) {
    if (role_ == Role::Host) Broadcast(message, item.from);
    const OfferMessage asked = offer != nullptr ? *offer : OfferMessage{*login};
    if (asked.login.player == localPlayer_) {
      AnswerConsent(asked);
    } else {
      foreignConsents_.push_back(asked.login.player);  // its answer comes from there
    }
    return true;
  }
  if (std::holds_alternative<PressMessage>(message) && !foreignConsents_.empty()) {
    foreignConsents_.pop_front();
    if (role_ == Role::Host) Broadcast(message, item.from);
    return true;
  }
  return false;
}

void NetSession::ApplyState(const Item& item) {
  const auto& state = std::get<StateMessage>(*item.message);
  GameState& here = game_.state;
  PlayWindowCommit commit;
  commit.properties = state.properties;
  commit.players = state.players;
  // Each computer keeps who sits where as it knows it, and its own (empty) passwords.
  for (int p = 0; p < kMaxPlayers; ++p) {
    SetPlayerConnection(commit.players[p], PlayerConnection(here.players[p]));
    commit.players[p].password = here.players[p].password;
  }
  commit.askedThisTurn = here.askedThisTurn;
  // The street names are the host's, whichever edition a computer plays: never compared, taken
  // by a client from the host.
  for (int p = 0; p < kPropertyCount; ++p) commit.properties[p].name = here.properties[p].name;
  const PlayerTable before = here.players;
  // Only the host takes a player out of the game; a client's commit that does is refused.
  const auto takesOut = [&](int p) {
    return before[p].isBankrupt == 0 && commit.players[p].isBankrupt != 0;
  };
  if (role_ == Role::Host) {
    for (int p = 0; p < here.playerCount; ++p) {
      if (takesOut(p)) {
        Refuse(item.from, "a state that takes a player out of the game");
        return;
      }
    }
  }
  if (!game_.referee.ApplyRemoteCommit(commit)) {
    Refuse(item.from, "a state that does not fit the game");
    return;
  }
  if (role_ == Role::Host) {
    StateMessage relayed = state;
    for (int p = 0; p < kPropertyCount; ++p) relayed.properties[p].name = here.properties[p].name;
    Broadcast(relayed, item.from);
    return;
  }
  if (StreetNamesOf(here.properties) != StreetNamesOf(state.properties)) {
    for (int p = 0; p < kPropertyCount; ++p) here.properties[p].name = state.properties[p].name;
    game_.ui.Changed({Changes::kBoard | Changes::kPanel | Changes::kStatusLine});
  }
  // The host's state that takes a player out of the game: he has left it.
  for (int p = 0; p < here.playerCount; ++p) {
    if (takesOut(p) && events.playerGone) events.playerGone(p);
  }
}

void NetSession::AnswerConsent(const OfferMessage& offer) {
  std::string text = game_.OfferText(offer.login.player, offer.words);
  if (text.empty()) text = offer.login.prompt.utf8();
  // The player here answers in his consent dialog; the referee publishes the answer, which goes
  // out as a press.
  game_.referee.AskConsent({offer.login.player, text, offer.moneyReceived, offer.propertyGiven,
                            offer.propertyReceived, false, offer.words});
}

void NetSession::ShowChat(const ChatMessage& chat) {
  const auto flag = [&](int p) {
    return p < static_cast<int>(chat.flags.size()) ? chat.flags[static_cast<std::size_t>(p)] : 0;
  };
  if (flag(localPlayer_) == kChatNotAddressed || !events.chat) return;
  int sender = 0;
  while (sender < static_cast<int>(chat.flags.size()) && flag(sender) != kChatSender) ++sender;
  events.chat(game_.FormatCatalogue(kTextChatTitle, game_.PlayerName(sender)), chat.text.utf8());
}

Decision NetSession::Await(const DecisionRequest& request) {
  const Decision noAnswer{kControlCancel, 0, nullptr};
  if (request.kind == DecisionKind::Login) return {kControlOk, 0, nullptr};
  const bool ownConsent = request.kind == DecisionKind::Consent && request.insidePlayWindow;
  bool loginSent = false;
  if (request.kind != DecisionKind::Consent && events.awaiting) events.awaiting(request);
  for (;;) {
    if (ended_) return noAnswer;
    // Everybody waits for this player's answer: if he has gone, he leaves now, and his answer
    // is given for him.
    if (role_ == Role::Host && Gone(request.player)) {
      if (!SettleLeavers()) return noAnswer;
      return AnswerForLeaver(request, !ownConsent || loginSent);
    }
    if (ownConsent && !loginSent) {
      // Asked from our play window: the asked player's computer opens the consent dialog.
      OfferMessage offer;
      offer.login.prompt.setUtf8(request.text);
      offer.login.player = request.player;
      offer.moneyReceived = request.moneyReceived;
      offer.propertyGiven = request.propertyGiven;
      offer.propertyReceived = request.propertyReceived;
      offer.words = request.words;
      Broadcast(offer);
      loginSent = true;
    }
    std::optional<Item> item = Take(true);
    if (!item) return noAnswer;
    const bool aside = !ownConsent || !item->message ||
                       !std::holds_alternative<PressMessage>(*item->message);
    if (aside && HandleAside(*item)) {
      if (role_ == Role::Host) RefuseForeignConsentsOfLeavers();
      continue;
    }
    const bool fromTheAnswerer =
        role_ == Role::Client || item->from == ConnectionOf(request.player);
    std::optional<Decision> answer =
        item->message && fromTheAnswerer ? AnswerIn(request, *item->message) : std::nullopt;
    if (!answer) {
      Refuse(item->from, "an answer that does not fit the game");
      continue;
    }
    if (role_ == Role::Host) Broadcast(*item->message, item->from);
    DecisionRequest shown = request;
    shown.answerDelayMs = remotePressMs;
    game_.ui.ShowAnswer(shown, *answer);
    return *answer;
  }
}

Decision NetSession::AnswerForLeaver(const DecisionRequest& request, bool othersWait) {
  Decision answer{kControlCancel, 0, nullptr};
  if (request.kind == DecisionKind::AuctionClose) answer.button = kControlOk;
  if (othersWait) {
    if (request.kind == DecisionKind::AuctionBid) {
      Broadcast(BidMessage{kControlCancel, 0, request.player});
    } else {
      Broadcast(PressMessage{answer.button});
    }
  }
  DecisionRequest shown = request;
  shown.answerDelayMs = remotePressMs;
  game_.ui.ShowAnswer(shown, answer);
  return answer;
}

void NetSession::Pump() {
  while (inGame_ && !ended_) {
    if (role_ == Role::Host) {
      RefuseForeignConsentsOfLeavers();
      if (!leaving_.empty() && AllWaitForHost() && !SettleLeavers()) return;
    }
    MoveOnFromALeaver();
    const GameState& state = game_.state;
    const TurnPhase phase = state.turnPhase;
    const bool waitsForThrow = phase == TurnPhase::AwaitRoll || phase == TurnPhase::AwaitLogin ||
                               phase == TurnPhase::GameOver ||
                               (phase == TurnPhase::Rolling && waitingForDice_);
    if (!waitsForThrow) return;
    std::optional<Item> item = Take(false);
    if (!item) return;
    if (HandleAside(*item)) continue;
    const NetMessage& message = *item->message;
    const bool remoteOnTurn = state.currentPlayer != localPlayer_;
    if (const auto* dice = std::get_if<DiceMessage>(&message)) {
      const bool expected = waitingForDice_ || (phase == TurnPhase::AwaitRoll && remoteOnTurn);
      if (role_ == Role::Client && expected && clientDice_.Deliver({dice->die1, dice->die2})) {
        waitingForDice_ = false;
        game_.DiceArrived();
        return;
      }
    } else if (const auto* decks = std::get_if<DecksMessage>(&message)) {
      if (role_ == Role::Client && phase == TurnPhase::AwaitRoll) {
        game_.state.chanceDeck = decks->chance;
        game_.state.communityDeck = decks->community;
        continue;
      }
    } else if (std::holds_alternative<RollRequest>(message)) {
      if (role_ == Role::Host && phase == TurnPhase::AwaitRoll &&
          item->from == ConnectionOf(state.currentPlayer)) {
        game_.BeginThrow();
        return;
      }
    }
    Refuse(item->from, "a message that does not fit the game now");
  }
}

// ---- Leavers and the end -------------------------------------------------------------------

void NetSession::Refuse(ConnectionId from, const std::string& reason) {
  if (role_ == Role::Client) {
    End("the host sent " + reason);
    return;
  }
  link_.Close(from);
  framers_.erase(from);
  if (inGame_) {
    Drop(from, LeaveReason::Refused);
  } else if (RemoveLeaver(game_.state.players, game_.state.playerCount, from) >= 0 &&
             events.lobbyChanged) {
    events.lobbyChanged();
  }
}

void NetSession::Drop(ConnectionId connection, LeaveReason reason) {
  if (role_ == Role::Client) {
    End("the host has gone");
    return;
  }
  const GameState& state = game_.state;
  const int p = RecordOfConnection(state.players, state.playerCount, connection);
  framers_.erase(connection);
  if (p < 0 || state.players[p].isBankrupt != 0 || Gone(p)) return;
  leaving_.emplace(p, reason);
}

bool NetSession::AllWaitForHost() const {
  const GameState& state = game_.state;
  if (!foreignConsents_.empty()) return false;
  if (state.turnPhase != TurnPhase::AwaitRoll && state.turnPhase != TurnPhase::AwaitLogin) {
    return false;
  }
  const int current = state.currentPlayer;
  return Gone(current) || !game_.referee.IsRemote(current);
}

bool NetSession::SettleLeavers() {
  while (!leaving_.empty() && !ended_) {
    const auto [p, reason] = *leaving_.begin();
    leaving_.erase(leaving_.begin());
    left_.insert(p);
    // As after a bankruptcy his properties go back to the bank, free of mortgages; every
    // computer learns it from the state sent with the outcome.
    game_.referee.Apply({tomtura::PlayerGone{p, reason}});
    if (PlayersInGame() < 2) {
      End(game_.Text(kTextConnectionLost));
      break;
    }
    if (events.playerLeft && !events.playerLeft(p)) {
      End(std::string());
      break;
    }
  }
  return !ended_;
}

void NetSession::RefuseForeignConsentsOfLeavers() {
  // The asker's computer and all others wait for the asked player's press: he leaves now, and
  // his no goes to every computer, the asker's included.
  while (!ended_ && !foreignConsents_.empty() && Gone(foreignConsents_.front())) {
    if (!SettleLeavers()) return;
    foreignConsents_.pop_front();
    Broadcast(PressMessage{kControlCancel});
  }
}

// A player who has left cannot take his turn: it goes on to the next player still in.
void NetSession::MoveOnFromALeaver() {
  GameState& state = game_.state;
  const bool waiting =
      state.turnPhase == TurnPhase::AwaitRoll || state.turnPhase == TurnPhase::AwaitLogin;
  if (!waiting || state.current().isBankrupt == 0 || PlayersInGame() == 0) return;
  do {
    state.currentPlayer = (state.currentPlayer + 1) % state.playerCount;
  } while (state.current().isBankrupt != 0);
  state.doublesInRow = 0;
  state.turnPhase = TurnPhase::AwaitRoll;
  game_.ui.Changed({Changes::kStatusLine | Changes::kCentre});
  if (state.currentPlayer == localPlayer_) game_.ui.Changed({Changes::kFocusRoll});
}

void NetSession::End(const std::string& why) {
  if (ended_) return;
  ended_ = true;
  if (events.ended) events.ended(why);
}

int NetSession::PlayersInGame() const {
  const GameState& state = game_.state;
  int count = 0;
  for (int p = 0; p < state.playerCount; ++p) count += state.players[p].isBankrupt == 0 ? 1 : 0;
  return count;
}

ConnectionId NetSession::ConnectionOf(int player) const {
  if (role_ == Role::Client) return kHostConnection;
  const GameState& state = game_.state;
  if (player <= 0 || player >= state.playerCount || left_.contains(player)) return -1;
  return PlayerConnection(state.players[player]);
}

}  // namespace tomtura
