#pragma once
// A network game at this computer, as the main window holds it: the set-up dialogs, then the
// session and its link for as long as the game lasts, a timer that lets the session act on what
// has come while the game waits for a throw, and what the session tells the players here (a
// message, a player who has left, the end of the game).
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "data/game_state.h"
#include "net/session.h"

class QWidget;

namespace tomtura {

class Game;
class MainWindow;
class MissingPlayersWindow;
class QtFrontEnd;
class NetTransport;

class NetworkPlay : public QObject {
  Q_OBJECT

 public:
  // How often the session looks at what has come while the game waits.
  static constexpr int kPumpMs = 50;

  NetworkPlay(Game& game, QtFrontEnd& ui, MainWindow& window);
  ~NetworkPlay() override;

  // The port to host on and to connect to; without one the game's service gives it (0: any free
  // port, for tests).
  void SetPort(std::optional<int> port) { port_ = port; }

  // The network dialog over `parent`, offering `name` as this computer's player's name; true
  // when a network game has begun, by the host's Start or the roster that came to this client.
  bool RunSetup(QWidget* parent, const QString& name = {});

  bool active() const { return session_ != nullptr; }
  NetSession* session() const { return session_.get(); }
  NetTransport* link() const { return link_.get(); }

  // The message dialog; what the player writes goes to the players he chose.
  void SendMessage();
  // This computer leaves the network game: its connections close and the game's players go.
  void Leave();
  // The program ends: a wait for another computer gives up at once.
  void Shutdown();

 signals:
  // The lobby changed (the host); the game began (a client); the set-up came to nothing because
  // the host went away.
  void lobbyChanged();
  void started();
  void lobbyEnded();

 private:
  bool Host(QWidget* parent);
  bool Join(QWidget* parent);
  // A new session and link for `role`; Discard drops them. False, said to the player, when the
  // network part cannot be loaded.
  bool Begin(Role role);
  void Discard();
  std::optional<int> Port();
  void ShowBox(const QString& title, const QString& text, QMessageBox::Icon icon);
  // Host: the connection of `player` broke; the host chooses what happens to his seat.
  NetSession::DropChoice AskDropChoice(int player);
  void ShowMissing();
  // Host: the lobby takes up a saved network game the host chooses; false when none.
  bool ChooseSavedGame();

  void OnPumpTick();
  void OnEnded(const std::string& why);
  // The network game is over: the session and link go, and a new game is set up.
  void Finish();

  Game& game_;
  QtFrontEnd& ui_;
  MainWindow& window_;
  std::optional<int> port_;
  std::unique_ptr<NetTransport> link_;
  std::unique_ptr<NetSession> session_;
  std::unique_ptr<MissingPlayersWindow> missing_;
  bool basicOnly_ = false;  // the set-up's choice: only the design's messages
  QTimer pump_;
  bool started_ = false;
  bool pumping_ = false;
  bool endPending_ = false;  // the session has ended; it goes at the next safe moment
  bool endShown_ = false;    // text 30 is shown then
  // The players entered before a set-up that came to nothing are put back.
  PlayerTable savedPlayers_{};
  std::int32_t savedCount_ = 0;
  QString name_;
};

}  // namespace tomtura
