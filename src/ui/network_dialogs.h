#pragma once
// The dialogs that set a network game up: the choice between hosting and joining, the host's
// lobby where the joining players appear until the host starts, and a client's connection to
// the host, which waits for the host's start. They show what the session says and hand it what
// the player typed; the lobby's bookkeeping and the messages are the session's.
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tomtura {

class Game;
class NetSession;
class NetTransport;

// Shows a message box over the dialog: its title, text and icon.
using NetworkMessageBox =
    std::function<void(const QString& title, const QString& text, QMessageBox::Icon icon)>;

// This computer's address `address` (four bytes, the first in the highest) and its host name as
// the lobby shows them (text 35).
QString LocalAddressText(const Game& game, quint32 address);

// The control ids are plain enums: lupdate loses the namespace after an enum with a base type.
class NetworkDialog : public QDialog {
  Q_OBJECT

 public:
  enum Control { kHost = 1046, kJoin = 1047, kBasic = 1054 };

  // Runs the next dialog over this one; true when the game has begun.
  using Next = std::function<bool(QWidget* over)>;

  NetworkDialog(const Game& game, Next host, Next join, QWidget* parent);

  void Host();
  void Join();
  // Whether the game keeps to the basic messages that every computer of the design speaks.
  bool basicOnly() const;

 private:
  Next host_;
  Next join_;
  QCheckBox* basic_ = nullptr;
};

class HostLobbyDialog : public QDialog {
  Q_OBJECT

 public:
  enum Control {
    kPlayers = 1043,
    kAddress = 1029,
    kName = 1044,
    kComputer = 1051,
    kStrength = 1052,
    kGrace = 1053,
    kSavedGame = 1056
  };
  static constexpr int kNameChars = 9;
  static constexpr int kDefaultGraceSeconds = 120;
  static constexpr int kMaxGraceSeconds = 3600;

  // Chooses a saved network game and opens the lobby on it; false when none was taken.
  using ChooseSavedGame = std::function<bool()>;

  // `address` is what the address line shows; `name` is offered as the host's player's name.
  HostLobbyDialog(Game& game, NetSession& session, const QString& address, const QString& name,
                  QWidget* parent, ChooseSavedGame chooseSaved = {});

  // The joined players as the lobby holds them; Start once every one of them has given his name.
  void Refresh();
  // A computer player of this computer's, of the strength chosen, takes the next seat, named as
  // a player who gave no name.
  void AddComputer();
  // The game begins with the players who have joined, a dropped player's seat kept as long as
  // chosen.
  void Start();

 private:
  Game& game_;
  NetSession& session_;
  QListWidget* players_ = nullptr;
  QLineEdit* name_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* computer_ = nullptr;
  QComboBox* strength_ = nullptr;
  QSpinBox* grace_ = nullptr;
  QPushButton* saved_ = nullptr;
  ChooseSavedGame chooseSaved_;
};

class JoinDialog : public QDialog {
  Q_OBJECT

 public:
  enum Control { kStatus = 1029, kProgress = 1038, kName = 1044, kAddress = 1045 };
  static constexpr int kAddressChars = 255;

  // Connects through `link` to `port` of the address typed; `name` is offered as the player's
  // name. Boxes go through `box`.
  JoinDialog(Game& game, NetSession& session, NetTransport& link, int port, const QString& name,
             NetworkMessageBox box, QWidget* parent);

  // OK: the connection is tried; the dialog ends when it fails (text 36) or, once connected,
  // when the roster comes.
  void Connect();
  // The host went away, or sent what no game can begin with, before the game began.
  void HostLost();
  bool connecting() const { return connecting_; }
  bool joined() const { return joined_; }

 private:
  void Connected();
  void Failed();

  Game& game_;
  NetSession& session_;
  NetTransport& link_;
  int port_;
  NetworkMessageBox box_;
  bool connecting_ = false;
  bool joined_ = false;
  QLineEdit* address_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* progress_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// Who of the players is missing from a network game, and for how much longer his seat is kept
// or who plays it meanwhile: a small window beside the main window, shown while anybody is
// missing, its seconds counting down.
class MissingPlayersWindow : public QDialog {
  Q_OBJECT

 public:
  enum Control { kList = 1055 };

  MissingPlayersWindow(const Game& game, const NetSession& session, QWidget* parent);

  // Shows the seats as the session has them now; hides the window when nobody is missing.
  void Refresh();

 private:
  const Game& game_;
  const NetSession& session_;
  QLabel* list_ = nullptr;
  QTimer tick_;
};

}  // namespace tomtura
