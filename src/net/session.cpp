// One computer's side of a network game: lobby, seats, dice, and the messages in the order the
// game takes them.
#include "net/session.h"

#include <algorithm>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"

namespace tomtura {

namespace {

constexpr int kComputerDealPage = 1;  // the play window's page a computer deals on

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
  if (role_ != Role::Host) return false;
  if (saved_ && !inGame_) {
    // A record is the connection's only once its Join names a player who is awaited.
    framers_.insert_or_assign(connection, Framer(Role::Host, NetPhase::Lobby));
    return true;
  }
  if (inGame_) {
    // In the game only the computer of a player whose seat is kept comes in, by his name.
    if (grace_.count() <= 0 || classic_ || ended_) return false;
    framers_.insert_or_assign(connection, Framer(Role::Host, NetPhase::Lobby));
    return true;
  }
  if (!AcceptConnection(game_.state.players, game_.state.playerCount, connection)) return false;
  framers_.insert_or_assign(connection, Framer(Role::Host, NetPhase::Lobby));
  if (events.lobbyChanged) events.lobbyChanged();
  return true;
}

// A record awaiting its player holds a connection that no computer has.
constexpr ConnectionId kAwaited = -1;

void NetSession::OpenSavedLobby(const SavedGame& saved) {
  saved_ = saved;
  GameState& state = game_.state;
  state.playerCount = saved.playerCount;
  state.players = saved.players;
  for (int p = 0; p < kMaxPlayers; ++p) {
    Player& player = state.players[p];
    player.password.clear();  // nobody at another computer could give it
    if (p == 0) {
      player.isComputer = kPersonHere;
    } else if (!IsComputerPlayer(player)) {
      SetPlayerConnection(player, kAwaited);
    }
  }
  if (events.lobbyChanged) events.lobbyChanged();
}

int NetSession::PlayersAwaited() const {
  if (!saved_ || inGame_) return 0;
  const GameState& state = game_.state;
  int awaited = 0;
  for (int p = 1; p < state.playerCount; ++p) {
    if (state.players[p].isBankrupt == 0 && PlayerConnection(state.players[p]) == kAwaited) {
      ++awaited;
    }
  }
  return awaited;
}

bool NetSession::LeaveLobby(ConnectionId connection) {
  GameState& state = game_.state;
  if (!saved_) return RemoveLeaver(state.players, state.playerCount, connection) >= 0;
  // A saved game's seat is awaited again.
  const int p = RecordOfConnection(state.players, state.playerCount, connection);
  if (p < 0) return false;
  SetPlayerConnection(state.players[p], kAwaited);
  extended_.erase(connection);
  return true;
}

bool NetSession::ClaimSeat(ConnectionId connection, const JoinMessage& join) {
  GameState& state = game_.state;
  if (join.extended && !classic_) {
    for (int p = 1; p < state.playerCount; ++p) {
      Player& player = state.players[p];
      if (player.isBankrupt == 0 && PlayerConnection(player) == kAwaited &&
          player.name == join.name) {
        SetPlayerConnection(player, connection);
        extended_.insert(connection);
        if (events.lobbyChanged) events.lobbyChanged();
        return true;
      }
    }
  }
  // Nobody of that name is awaited, or the computer could not take the game up.
  link_.Close(connection);
  framers_.erase(connection);
  return false;
}

bool NetSession::AddComputer(const std::string& name, Strength strength) {
  if (inGame_ || role_ != Role::Host) return false;
  PlayerName playerName;
  playerName.setUtf8(name);
  if (!AddComputerPlayer(game_.state.players, game_.state.playerCount, playerName, strength)) {
    return false;
  }
  if (events.lobbyChanged) events.lobbyChanged();
  return true;
}

void NetSession::Start(const std::string& hostName) {
  GameState& state = game_.state;
  if (saved_) {
    BeginSavedGame();
    return;
  }
  PlayerName name;
  name.setUtf8(hostName);
  NamePlayer(state.players[0], name, 0,
             [this](int record) { return game_.FormatCatalogue(kTextDefaultName, record); });
  std::vector<RosterMessage> rosters =
      RostersAtStart(state.players, state.playerCount, state.settings);
  for (int k = 1; k < state.playerCount; ++k) {
    if (IsComputerPlayer(state.players[k])) continue;
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
  joinedAt_ = Clock::now();
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
  // The other computers' players answer from there; the host's own computer players here.
  for (int p = 0; p < kMaxPlayers; ++p) {
    const bool elsewhere =
        p < state.playerCount && p != localPlayer_ && !IsComputerPlayer(state.players[p]);
    game_.referee.SetSeat(p, elsewhere ? &seat_ : nullptr);
  }
  game_.SetDiceSource(role_ == Role::Host ? static_cast<DiceSource*>(&hostDice_) : &clientDice_);
  inGame_ = true;
  decksPending_ = true;
  game_.NewGame(false);
  if (role_ == Role::Host) TakeSnapshot();
}

// ---- Output --------------------------------------------------------------------------------

void NetSession::Broadcast(const NetMessage& message, ConnectionId except) {
  if (role_ == Role::Client) {
    SendTo(kHostConnection, message);
    return;
  }
  // What a computer that comes back must replay: everything of the game, not the messages.
  if (inGame_ && !std::holds_alternative<ChatMessage>(message) &&
      !std::holds_alternative<SeatsMessage>(message)) {
    log_.push_back(message);
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
      Broadcast(PressMessage{decision.button});
      return;
    case DecisionKind::Consent:
      // Only a consent asked at another computer is awaited there; one asked here stays here.
      if (answeringConsent_) Broadcast(PressMessage{decision.button});
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
      if (saved_) {
        if (!ClaimSeat(connection, *join)) return;  // closed: its framer is gone
        continue;
      }
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
  } else if (LeaveLobby(connection) && events.lobbyChanged) {
    events.lobbyChanged();
  }
}

std::optional<NetSession::Item> NetSession::Take(bool wait) {
  for (;;) {
    if (!inbox_.empty()) {
      Item item = std::move(inbox_.front());
      inbox_.pop_front();
      // A message that replays the game for a computer that came back.
      if (item.message && !resume_ && replayLeft_ > 0) --replayLeft_;
      return item;
    }
    if (ended_ || !wait) return std::nullopt;
    // A missing player's time may run out meanwhile: the caller looks again then.
    const std::optional<Clock::time_point> deadline = NextDeadline();
    if (deadline) {
      const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
      if (!link_.WaitAtMost(static_cast<int>(std::clamp<long long>(ms.count(), 0, 60000)))) {
        End("nothing more comes from the network");
      }
      if (inbox_.empty()) return std::nullopt;
      continue;
    }
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
  if (const auto* join = std::get_if<JoinMessage>(&message)) {
    if (role_ == Role::Host) Returning(item.from, *join);
    return true;
  }
  if (std::holds_alternative<ByeMessage>(message)) {
    Drop(item.from, LeaveReason::Chose);
    return true;
  }
  if (const auto* seats = std::get_if<SeatsMessage>(&message)) {
    seats_ = seats->seats;
    seatsTold_ = Clock::now();
    if (events.seatsChanged) events.seatsChanged();
    return true;
  }
  if (const auto* resume = std::get_if<ResumeMessage>(&message)) {
    BeginResume(*resume);
    return true;
  }
  if (resume_ && !resumeStateTaken_ && std::holds_alternative<StateMessage>(message)) {
    TakeResumedState(std::get<StateMessage>(message));
    return true;
  }
  if (resume_ && resumeStateTaken_ && std::holds_alternative<DecksMessage>(message)) {
    TakeResumedDecks(std::get<DecksMessage>(message));
    return true;
  }
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
    const int player = asked.login.player;
    if (player == localPlayer_ ||
        (role_ == Role::Host && !game_.referee.IsRemote(player) && !Gone(player))) {
      AnswerConsent(asked);
    } else {
      foreignConsents_.push_back(asked);  // its answer comes from there
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
  // Each computer keeps who sits where as it knows it, its own (empty) passwords and the
  // strengths of its computer players, which no message carries.
  for (int p = 0; p < kMaxPlayers; ++p) {
    SetPlayerConnection(commit.players[p], PlayerConnection(here.players[p]));
    commit.players[p].password = here.players[p].password;
    commit.players[p].strength = here.players[p].strength;
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
  // The player here answers in his consent dialog (or by the computer's rules); the referee
  // publishes the answer, which goes out as a press.
  answeringConsent_ = true;
  game_.referee.AskConsent({offer.login.player, text, offer.moneyReceived, offer.propertyGiven,
                            offer.propertyReceived, false, offer.words});
  answeringConsent_ = false;
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
    if (role_ == Role::Host) {
      // Everybody waits for this player's answer: the moment for his computer to come back,
      // for him to leave when he has gone (his answer then given for him), or for this
      // computer to answer when it plays his seat now.
      CheckAbsences();
      if (returning_.contains(request.player)) Rejoin();
      if (Gone(request.player)) {
        if (!SettleLeavers()) return noAnswer;
        return AnswerForLeaver(request, !ownConsent || loginSent);
      }
      if (!game_.referee.IsRemote(request.player)) {
        const Decision answer = game_.referee.SeatOf(request.player).Decide(request);
        if (ownConsent && loginSent) Broadcast(PressMessage{answer.button == 1 ? 1 : 2});
        return answer;
      }
    } else if (request.player == localPlayer_ && catchingUp_ && !resume_ && replayLeft_ == 0) {
      return AnswerHere(request);
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
    if (!item) continue;
    const bool aside =
        !ownConsent || !item->message || !std::holds_alternative<PressMessage>(*item->message);
    if (aside && HandleAside(*item)) {
      if (role_ == Role::Host) AnswerForeignConsentsOfAbsent();
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
    shown.answerDelayMs = catchingUp_ ? 0 : remotePressMs;
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
    const GameState& state = game_.state;
    if (role_ == Role::Host) {
      CheckAbsences();
      AnswerForeignConsentsOfAbsent();
      // Every computer waits for a throw: the game as it stands is what a computer that comes
      // back starts from, and the moment for it to come back.
      if (state.turnPhase == TurnPhase::AwaitRoll && foreignConsents_.empty()) {
        if (!log_.empty()) TakeSnapshot();
        if (!returning_.empty()) Rejoin();
      }
      if (!leaving_.empty() && AllWaitForHost() && !SettleLeavers()) return;
    } else if (catchingUp_ && !resume_ && replayLeft_ == 0) {
      FinishCatchingUp();
    }
    MoveOnFromALeaver();
    const TurnPhase phase = state.turnPhase;
    // A computer player of the host's (or one playing a missing player's seat) deals at the
    // start of its turn and throws, while every other computer waits for its throw.
    if (role_ == Role::Host && phase == TurnPhase::AwaitRoll && foreignConsents_.empty() &&
        ComputerOnTurnHere()) {
      game_.referee.RunPlayWindow(kComputerDealPage);
      if (ended_) return;
      game_.Roll();
      return;
    }
    const bool waitsForThrow = phase == TurnPhase::AwaitRoll || phase == TurnPhase::AwaitLogin ||
                               phase == TurnPhase::GameOver ||
                               (phase == TurnPhase::Rolling && waitingForDice_);
    if (!waitsForThrow) return;
    std::optional<Item> item = Take(false);
    if (!item) return;
    if (HandleAside(*item)) continue;
    const NetMessage& message = *item->message;
    const bool remoteOnTurn = game_.referee.IsRemote(state.currentPlayer);
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
  } else if (LeaveLobby(from) && events.lobbyChanged) {
    events.lobbyChanged();
  }
}

void NetSession::Drop(ConnectionId connection, LeaveReason reason) {
  if (role_ == Role::Client) {
    End("the host has gone");
    return;
  }
  std::erase_if(returning_, [&](const auto& entry) { return entry.second == connection; });
  const GameState& state = game_.state;
  const int p = RecordOfConnection(state.players, state.playerCount, connection);
  const bool mayReturn =
      reason == LeaveReason::ConnectionLost && grace_.count() > 0 && Extended(connection);
  framers_.erase(connection);
  extended_.erase(connection);
  if (p < 0 || state.players[p].isBankrupt != 0 || Gone(p) || absent_.contains(p)) return;
  // A computer that lost its connection may come back; one that left, or that sent what does
  // not belong to the game, or that could not take up a game in its course, does not.
  const DropChoice choice = !mayReturn       ? DropChoice::Leave
                            : events.dropped ? events.dropped(p)
                                             : DropChoice::Leave;
  if (choice == DropChoice::Leave) {
    leaving_.emplace(p, reason);
    if (mayReturn && events.dropped) letGo_.insert(p);  // the host's answer is given
  } else {
    absent_[p] = {Clock::now() + grace_, choice == DropChoice::Computer};
    // This computer's rules answer for him from now on, until he is back.
    if (choice == DropChoice::Computer) game_.referee.SetSeat(p, nullptr);
  }
  SendSeats();
}

bool NetSession::AllWaitForHost() const {
  const GameState& state = game_.state;
  if (!foreignConsents_.empty()) return false;
  if (state.turnPhase != TurnPhase::AwaitRoll && state.turnPhase != TurnPhase::AwaitLogin) {
    return false;
  }
  const int current = state.currentPlayer;
  return Gone(current) || absent_.contains(current) || !game_.referee.IsRemote(current);
}

bool NetSession::SettleLeavers() {
  bool settled = false;
  while (!leaving_.empty() && !ended_) {
    const auto [p, reason] = *leaving_.begin();
    leaving_.erase(leaving_.begin());
    absent_.erase(p);
    left_.insert(p);
    settled = true;
    // As after a bankruptcy his properties go back to the bank, free of mortgages; every
    // computer learns it from the state sent with the outcome.
    game_.referee.Apply({tomtura::PlayerGone{p, reason}});
    if (PlayersInGame() < 2) {
      End(game_.Text(kTextConnectionLost));
      break;
    }
    if (!letGo_.contains(p) && events.playerLeft && !events.playerLeft(p)) {
      End(std::string());
      break;
    }
  }
  if (settled) SendSeats();
  return !ended_;
}

void NetSession::AnswerForeignConsentsOfAbsent() {
  // The asker's computer and all others wait for the asked player's press: when he has gone he
  // leaves now and his no goes to every computer, the asker's included; when this computer
  // plays his seat, it answers.
  while (!ended_ && !foreignConsents_.empty()) {
    const OfferMessage asked = foreignConsents_.front();
    const int player = asked.login.player;
    // Everybody waits for his answer: the moment for his computer to come back.
    if (returning_.contains(player)) Rejoin();
    if (Gone(player)) {
      if (!SettleLeavers()) return;
      foreignConsents_.pop_front();
      Broadcast(PressMessage{kControlCancel});
    } else if (!game_.referee.IsRemote(player)) {
      foreignConsents_.pop_front();
      AnswerConsent(asked);
    } else {
      return;
    }
  }
}

// ---- Coming back -----------------------------------------------------------------------------

std::array<SeatState, kMaxPlayers> NetSession::Seats() const {
  std::array<SeatState, kMaxPlayers> seats{};
  const GameState& state = game_.state;
  if (role_ == Role::Client) {
    seats = seats_;
    const auto told = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - seatsTold_);
    for (SeatState& seat : seats) {
      if (seat.status == SeatStatus::Missing) {
        seat.secondsLeft =
            std::max<std::int32_t>(0, seat.secondsLeft - static_cast<int>(told.count()));
      }
    }
    return seats;
  }
  const auto now = Clock::now();
  for (int p = 0; p < state.playerCount && p < kMaxPlayers; ++p) {
    const Player& player = state.players[p];
    if (Gone(p) || player.isBankrupt != 0) {
      seats[p].status = SeatStatus::Gone;
    } else if (const auto absent = absent_.find(p); absent != absent_.end()) {
      seats[p].status = absent->second.computerPlays ? SeatStatus::Substitute : SeatStatus::Missing;
      const auto left = std::chrono::ceil<std::chrono::seconds>(absent->second.until - now);
      seats[p].secondsLeft = static_cast<std::int32_t>(std::max<long long>(0, left.count()));
    } else if (IsComputerPlayer(player)) {
      seats[p].status = SeatStatus::Computer;
    }
  }
  return seats;
}

void NetSession::SendSeats() {
  if (role_ != Role::Host || !inGame_) return;
  Broadcast(SeatsMessage{Seats()});
  if (events.seatsChanged) events.seatsChanged();
}

void NetSession::CheckAbsences() {
  const auto now = Clock::now();
  bool changed = false;
  for (auto it = absent_.begin(); it != absent_.end();) {
    // A computer that plays his seat keeps it until he is back; a seat waited for is given up.
    if (it->second.until <= now && !it->second.computerPlays) {
      leaving_.emplace(it->first, LeaveReason::WaitOver);
      std::erase_if(returning_, [&](const auto& entry) { return entry.first == it->first; });
      it = absent_.erase(it);
      changed = true;
    } else {
      ++it;
    }
  }
  if (changed) SendSeats();
}

std::optional<NetSession::Clock::time_point> NetSession::NextDeadline() const {
  std::optional<Clock::time_point> next;
  for (const auto& [p, absence] : absent_) {
    if (absence.computerPlays) continue;
    if (!next || absence.until < *next) next = absence.until;
  }
  return next;
}

void NetSession::Returning(ConnectionId connection, const JoinMessage& join) {
  const GameState& state = game_.state;
  for (const auto& [p, absence] : absent_) {
    if (state.players[p].name == join.name && join.extended && !classic_ &&
        !returning_.contains(p)) {
      returning_[p] = connection;
      return;
    }
  }
  // Nobody of that name is missing: the computer is not let in.
  link_.Close(connection);
  framers_.erase(connection);
}

void NetSession::TakeSnapshot() {
  const GameState& state = game_.state;
  Snapshot snapshot;
  snapshot.players = state.players;
  snapshot.properties = state.properties;
  ResumeMessage& turn = snapshot.turn;
  turn.currentPlayer = state.currentPlayer;
  turn.doublesInRow = state.doublesInRow;
  turn.firstLap = state.firstLap;
  turn.askedThisTurn = state.askedThisTurn;
  turn.refusedLastTurn = state.refusedLastTurn;
  turn.refusedThisTurn = state.refusedThisTurn;
  turn.decksPending = decksPending_;
  snapshot.decks = {state.chanceDeck, state.communityDeck};
  snapshot_ = snapshot;
  log_.clear();
}

void NetSession::Rejoin() {
  GameState& state = game_.state;
  for (const auto& [p, connection] : returning_) {
    SetPlayerConnection(state.players[p], connection);
    extended_.insert(connection);
    if (auto framer = framers_.find(connection); framer != framers_.end()) {
      framer->second.SetPhase(NetPhase::Game);
      framer->second.SetPlayerCount(state.playerCount);
      framer->second.SetExtended(true);
    }
    SendWholeGame(connection, p);
    absent_.erase(p);
    // A computer that played his seat hands it back.
    game_.referee.SetSeat(p, &seat_);
  }
  returning_.clear();
  SendSeats();
}

void NetSession::SendWholeGame(ConnectionId connection, int player) {
  const GameState& state = game_.state;
  RosterMessage roster = RosterOf(state.players, state.playerCount, player, state.settings);
  roster.extended = true;
  link_.Send(connection, EncodeMessage(roster));
  ResumeMessage turn = snapshot_->turn;
  turn.replay = static_cast<std::int32_t>(log_.size());
  SendTo(connection, turn);
  SendTo(connection, StateMessage{snapshot_->properties, snapshot_->players});
  SendTo(connection, snapshot_->decks);
  for (const NetMessage& message : log_) SendTo(connection, message);
}

void NetSession::BeginSavedGame() {
  GameState& state = game_.state;
  const PlayerTable seated = state.players;  // who sits where, as the lobby filled it
  for (auto& [connection, framer] : framers_) {
    framer.SetPhase(NetPhase::Game);
    framer.SetPlayerCount(state.playerCount);
    framer.SetExtended(true);
  }
  state.networkGame = NetRole::Host;
  BeginGame();
  // The new game's decks stay; the rest is the file's, with the seats of this game.
  game_.TakeUpSavedGame(*saved_);
  for (int p = 0; p < kMaxPlayers; ++p) {
    state.players[p].isComputer = seated[p].isComputer;
    state.players[p].password.clear();
  }
  // A player out of the game, or one who did not come back, is not waited for.
  for (int p = 1; p < state.playerCount; ++p) {
    if (PlayerConnection(state.players[p]) == kAwaited && state.players[p].isBankrupt == 0) {
      leaving_.emplace(p, LeaveReason::ConnectionLost);
    }
  }
  decksPending_ = false;
  TakeSnapshot();
  for (int p = 1; p < state.playerCount; ++p) {
    const ConnectionId connection = PlayerConnection(state.players[p]);
    if (connection != kAwaited && !IsComputerPlayer(state.players[p])) {
      SendWholeGame(connection, p);
    }
  }
  saved_.reset();
  TellWhoThrows();
  game_.ui.Changed({Changes::kBoard | Changes::kPanel | Changes::kCentre | Changes::kStatusLine});
}

void NetSession::BeginResume(const ResumeMessage& resume) {
  resume_ = resume;
  resumeStateTaken_ = false;
  catchingUp_ = true;
}

void NetSession::TakeResumedState(const StateMessage& message) {
  GameState& state = game_.state;
  for (int p = 0; p < kMaxPlayers; ++p) {
    Player player = message.players[p];
    SetPlayerConnection(player, PlayerConnection(state.players[p]));
    player.password.clear();
    player.strength = state.players[p].strength;
    state.players[p] = player;
  }
  state.properties = message.properties;
  resumeStateTaken_ = true;
}

void NetSession::TakeResumedDecks(const DecksMessage& decks) {
  GameState& state = game_.state;
  const ResumeMessage& turn = *resume_;
  state.chanceDeck = decks.chance;
  state.communityDeck = decks.community;
  state.currentPlayer = turn.currentPlayer;
  state.doublesInRow = turn.doublesInRow;
  state.firstLap = turn.firstLap;
  state.askedThisTurn = turn.askedThisTurn;
  state.refusedLastTurn = turn.refusedLastTurn;
  state.refusedThisTurn = turn.refusedThisTurn;
  state.turnPhase = TurnPhase::AwaitRoll;
  state.gameRunning = 1;
  game_.RefreshPropertyLists();
  replayLeft_ = turn.replay;
  resume_.reset();
  // Until the messages that replay the game are all taken, the player here answers from them.
  game_.referee.SetSeat(localPlayer_, &seat_);
  game_.ui.Changed({Changes::kBoard | Changes::kPanel | Changes::kStatusLine | Changes::kCentre});
}

Decision NetSession::AnswerHere(const DecisionRequest& request) {
  FinishCatchingUp();
  if (request.kind == DecisionKind::Login) return {kControlOk, 0, nullptr};
  const bool debt =
      request.kind == DecisionKind::Question && request.layout.topic == QuestionTopic::Debt;
  if (!debt) return game_.ui.AskPerson(request);
  // The debt question, as the referee puts it to a player here: to the play window for as
  // long as he is still short.
  for (;;) {
    const Decision answer = game_.ui.AskPerson(request);
    if (answer.button != 1) return answer;
    if (game_.referee.RunPlayWindow(kComputerDealPage) == kPlayWindowCannotPay) {
      return {kControlCancel, 0, nullptr};
    }
    if (game_.state.current().money >= 0) return answer;
  }
}

void NetSession::TellWhoThrows() {
  GameState& state = game_.state;
  if (state.turnPhase != TurnPhase::AwaitRoll) return;
  const bool again = state.doublesInRow > 0;
  state.statusText =
      game_.referee.IsRemote(state.currentPlayer)
          ? game_.FormatCatalogue(kTextRemoteTurn, game_.PlayerName(state.currentPlayer),
                                  again ? game_.Text(kTextRemoteThrowsAgain) : std::string())
          : game_.Text(again ? kTextThrowAgain : kTextYourTurn);
  game_.ui.Changed({Changes::kStatusLine});
}

void NetSession::FinishCatchingUp() {
  if (!catchingUp_) return;
  catchingUp_ = false;
  game_.referee.SetSeat(localPlayer_, nullptr);
  TellWhoThrows();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - joinedAt_).count();
  if (events.caughtUp) events.caughtUp(static_cast<int>(ms));
}

void NetSession::SayGoodbye() {
  if (role_ == Role::Client && inGame_ && Extended(kHostConnection)) {
    link_.Send(kHostConnection, EncodeMessage(ByeMessage{}));
  }
}

// A player who has left cannot take his turn: it goes on to the next player still in.
void NetSession::MoveOnFromALeaver() {
  GameState& state = game_.state;
  const bool waiting =
      state.turnPhase == TurnPhase::AwaitRoll || state.turnPhase == TurnPhase::AwaitLogin;
  if (!waiting || state.current().isBankrupt == 0 || PlayersInGame() == 0) return;
  int next = state.currentPlayer;
  do {
    next = (next + 1) % state.playerCount;
  } while (state.players[next].isBankrupt != 0);
  game_.PassTurnTo(next);
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

bool NetSession::ComputerOnTurnHere() const {
  const int current = game_.state.currentPlayer;
  return !Gone(current) && game_.state.current().isBankrupt == 0 &&
         game_.referee.SeatOf(current).computer();
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
