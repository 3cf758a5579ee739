// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/network_play.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "data/text_ids.h"
#include "net/service_port.h"
#include "rules/commands.h"
#include "rules/game.h"
#include "store/saved_game.h"
#include "ui/chat_dialog.h"
#include "ui/loaded_parts.h"
#include "ui/main_window.h"
#include "ui/net_transport.h"
#include "ui/network_dialogs.h"
#include "ui/qt_front_end.h"

namespace tomtura {
namespace {

QString Qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

NetworkPlay::NetworkPlay(Game& game, QtFrontEnd& ui, MainWindow& window)
    : game_(game), ui_(ui), window_(window) {
  connect(&pump_, &QTimer::timeout, this, &NetworkPlay::OnPumpTick);
}

NetworkPlay::~NetworkPlay() {
  pump_.stop();
  missing_.reset();
  link_.reset();
  session_.reset();
}

// ---- Set-up ----------------------------------------------------------------------------------

bool NetworkPlay::RunSetup(QWidget* parent, const QString& name) {
  savedPlayers_ = game_.state.players;
  savedCount_ = game_.state.playerCount;
  name_ = name;
  // The dialog whose choice of messages holds for the session begun over it.
  const auto basicOnly = [](QWidget* over) {
    const auto* choice = qobject_cast<NetworkDialog*>(over);
    return choice != nullptr && choice->basicOnly();
  };
  NetworkDialog dialog(
      game_,
      [this, basicOnly](QWidget* over) {
        basicOnly_ = basicOnly(over);
        return Host(over);
      },
      [this, basicOnly](QWidget* over) {
        basicOnly_ = basicOnly(over);
        return Join(over);
      },
      parent);
  if (ui_.RunModal(dialog) != QDialog::Accepted || session_ == nullptr) {
    Discard();
    return false;
  }
  started_ = true;
  pump_.start(kPumpMs);
  window_.UpdateMenus();
  return true;
}

bool NetworkPlay::Begin(Role role) {
  Discard();
  const NetworkPart* network = Network();
  if (network == nullptr) {
    ShowBox(Qs(game_.Text(kTextNetworkTitle)),
            tr("The network connection cannot be loaded:\n%1").arg(LoadError()),
            QMessageBox::Critical);
    return false;
  }
  link_ = network->makeTransport();
  session_ = std::make_unique<NetSession>(game_, *link_, role);
  session_->SetClassic(basicOnly_);
  link_->Attach(*session_);
  NetSession::Events& events = session_->events;
  events.lobbyChanged = [this] { emit lobbyChanged(); };
  events.started = [this] { emit started(); };
  events.chat = [this](const std::string& title, const std::string& text) {
    ShowBox(Qs(title), Qs(text), QMessageBox::Information);
  };
  events.playerLeft = [this](int player) {
    const QString text = Qs(game_.FormatCatalogue(kTextPlayerLeft, game_.PlayerName(player)));
    return ui_.Ask(text, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  events.playerGone = [this](int player) {
    ShowBox(Qs(game_.Text(kTextBoxTitle)),
            Qs(game_.FormatCatalogue(kTextPlayerGone, game_.PlayerName(player))),
            QMessageBox::Information);
  };
  events.awaiting = [this](const DecisionRequest& request) { ui_.ShowAwaited(request); };
  events.dropped = [this](int player) { return AskDropChoice(player); };
  events.seatsChanged = [this] { ShowMissing(); };
  events.ended = [this](const std::string& why) { OnEnded(why); };
  return true;
}

// Text 31 with the choice of keeping his seat: Yes lets him go, as ever; the host may also wait
// for him to connect again, or let this computer play for him until he does.
NetSession::DropChoice NetworkPlay::AskDropChoice(int player) {
  QWidget* front = QApplication::activeModalWidget();
  // Standard buttons with captions of their own, so that the answer is the box's result.
  QMessageBox box(QMessageBox::Warning, Qs(game_.Text(kTextBoxTitle)),
                  Qs(game_.FormatCatalogue(kTextPlayerLeft, game_.PlayerName(player))),
                  QMessageBox::Yes | QMessageBox::Retry | QMessageBox::Ignore,
                  front != nullptr ? front : &window_);
  box.button(QMessageBox::Retry)->setText(tr("&Wait for him"));
  box.button(QMessageBox::Ignore)->setText(tr("The &computer plays for him"));
  box.setDefaultButton(QMessageBox::Retry);
  switch (ui_.RunModal(box)) {
    case QMessageBox::Retry:
      return NetSession::DropChoice::Wait;
    case QMessageBox::Ignore:
      return NetSession::DropChoice::Computer;
    default:
      return NetSession::DropChoice::Leave;
  }
}

// A saved network game, chosen in the player's documents folder as the main window's files are:
// the lobby takes it up, its players to come back to their seats.
bool NetworkPlay::ChooseSavedGame() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  const QString filter = Qs(game_.Text(kTextSavedGameFilter)) + " (*.tom)";
  QFileDialog dialog(QApplication::activeModalWidget(), Qs(game_.Text(kTextOpenGameTitle)), folder,
                     filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (ui_.RunModal(dialog) != QDialog::Accepted || session_ == nullptr) return false;
  const QString path = dialog.selectedFiles().value(0);
  std::string error;
  const std::optional<SavedGame> saved =
      LoadGameFile(QFile::encodeName(path).toStdString(), game_.texts, &error);
  if (!saved) {
    if (!error.empty()) ui_.ShowMessage(error, MessageIcon::Error);
    return false;
  }
  session_->OpenSavedLobby(*saved);
  return true;
}

void NetworkPlay::ShowMissing() {
  if (session_ == nullptr) return;
  if (missing_ == nullptr)
    missing_ = std::make_unique<MissingPlayersWindow>(game_, *session_, &window_);
  missing_->Refresh();
}

// A set-up that came to nothing leaves the players entered before it as they were.
void NetworkPlay::Discard() {
  if (session_ == nullptr) return;
  missing_.reset();
  link_.reset();
  session_.reset();
  game_.state.players = savedPlayers_;
  game_.state.playerCount = savedCount_;
}

// The port set, else the game's service; a service that names no port is reported (text 27).
std::optional<int> NetworkPlay::Port() {
  if (port_) return port_;
  const std::optional<int> port = ServicePort(kGameService);
  if (!port) {
    ShowBox(Qs(game_.Text(kTextNetworkTitle)),
            Qs(game_.FormatCatalogue(kTextUnknownPort, std::string(kGameService))),
            QMessageBox::Critical);
  }
  return port;
}

bool NetworkPlay::Host(QWidget* parent) {
  const QString title = Qs(game_.Text(kTextNetworkTitle));
  const std::optional<int> port = Port();
  if (!port) return false;
  if (!Begin(Role::Host)) return false;
  if (!link_->Listen(*port)) {
    const int code = link_->listenError();
    Discard();
    ShowBox(title, Qs(game_.FormatCatalogue(kTextPortTaken, code)), QMessageBox::Critical);
    return false;
  }
  session_->OpenLobby();
  HostLobbyDialog dialog(game_, *session_, LocalAddressText(game_, link_->LocalIPv4()), name_,
                         parent, [this] { return ChooseSavedGame(); });
  connect(this, &NetworkPlay::lobbyChanged, &dialog, &HostLobbyDialog::Refresh);
  if (ui_.RunModal(dialog) == QDialog::Accepted && session_->inGame()) return true;
  Discard();
  return false;
}

bool NetworkPlay::Join(QWidget* parent) {
  const std::optional<int> port = Port();
  if (!port) return false;
  if (!Begin(Role::Client)) return false;
  JoinDialog dialog(
      game_, *session_, *link_, *port, name_,
      [this](const QString& title, const QString& text, QMessageBox::Icon icon) {
        ShowBox(title, text, icon);
      },
      parent);
  // The dialog ends once the roster has been taken in, not from inside the taking.
  connect(this, &NetworkPlay::started, &dialog, &QDialog::accept, Qt::QueuedConnection);
  connect(this, &NetworkPlay::lobbyEnded, &dialog, &JoinDialog::HostLost, Qt::QueuedConnection);
  if (ui_.RunModal(dialog) == QDialog::Accepted && session_->inGame()) return true;
  Discard();
  return false;
}

// Over whichever of our windows is in front, held like every other dialog of the game.
void NetworkPlay::ShowBox(const QString& title, const QString& text, QMessageBox::Icon icon) {
  QWidget* front = QApplication::activeModalWidget();
  QMessageBox box(icon, title, text, QMessageBox::Ok, front != nullptr ? front : &window_);
  ui_.RunModal(box);
}

// ---- The game --------------------------------------------------------------------------------

// The session acts only at the outermost level: never inside a wait for another computer, a
// dialog of the game or another pump, so that what it takes in comes in the order it was sent.
void NetworkPlay::OnPumpTick() {
  if (session_ == nullptr || pumping_ || link_->waiting() || ui_.modalOpen()) return;
  if (endPending_) {
    Finish();
    return;
  }
  pumping_ = true;
  session_->Pump();
  pumping_ = false;
}

// The session may be deep inside the game when it ends (a wait for an answer, a box); what
// follows waits for the next pump tick, when nothing of the game is under way.
void NetworkPlay::OnEnded(const std::string& why) {
  if (!started_) {
    emit lobbyEnded();
    return;
  }
  endPending_ = true;
  endShown_ = !why.empty() && game_.state.gameRunning != 0;
}

void NetworkPlay::Finish() {
  const bool tell = endShown_;
  Leave();
  if (tell) ui_.ShowMessage(game_.Text(kTextConnectionLost), MessageIcon::Exclamation);
  window_.OnCommand(kCmdAddPlayer);
}

void NetworkPlay::SendMessage() {
  if (session_ == nullptr || !started_) {
    ui_.Beep();
    return;
  }
  ChatDialog dialog(game_, &window_);
  if (ui_.RunModal(dialog) != QDialog::Accepted || session_ == nullptr) return;
  session_->SendChat(dialog.text().toStdString(), dialog.addressees());
}

void NetworkPlay::Leave() {
  pump_.stop();
  started_ = false;
  endPending_ = false;
  endShown_ = false;
  game_.StopGame();
  ui_.CloseAwaited();
  missing_.reset();
  link_.reset();
  session_.reset();
  game_.LeaveNetworkGame();
  // The session's end leaves the game marked as networked; this computer plays alone now, and
  // the players entered before the network game are at the table again, for a game not yet
  // begun.
  game_.state.networkGame = NetRole::None;
  game_.state.players = savedPlayers_;
  game_.state.playerCount = savedCount_;
  game_.NewGame(false);
  window_.UpdateMenus();
  window_.RedrawPanel();
  window_.RedrawBoard();
}

void NetworkPlay::Shutdown() {
  if (link_ != nullptr) link_->Interrupt(true);
}

}  // namespace tomtura
