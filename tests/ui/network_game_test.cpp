// SPDX-License-Identifier: GPL-3.0-or-later
// Network games over the loopback between the real main window and other computers without
// windows, each in a thread of its own: the window hosts two clients through the lobby dialog,
// or joins a host through the join dialog; the computers play rounds and must agree on the
// game; a message, a player who leaves and the loss of the last other computer come to the
// window's player as the design says.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <optional>

#include "data/text_ids.h"
#include "net_peer.h"
#include "test_suites.h"
#include "ui/auction_dialog.h"
#include "ui/control_ids.h"
#include "ui/network_dialogs.h"
#include "ui/network_play.h"
#include "ui/new_game_dialog.h"
#include "ui/password_dialog.h"
#include "ui/play_window.h"
#include "ui/question_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

constexpr std::uint64_t kSeed = 11;
constexpr int kRounds = 4;        // the window's player's throws before the computers compare
constexpr int kGiveUpMs = 20000;  // a dialog still open or a game not caught up by then is stuck

// What every computer must hold alike: who is on turn, the players' money and squares, the
// owners, and the throws in the log (the dealing in a play window is noted only where it is done).
QString Describe(const GameState& s) {
  QString text = QString("on turn %1, phase %2\n").arg(s.currentPlayer).arg(int(s.turnPhase));
  for (int p = 0; p < s.playerCount; ++p) {
    text +=
        QString("%1: %2 kr, square %3\n").arg(p).arg(s.players[p].money).arg(s.players[p].position);
  }
  for (const Property& property : s.properties) text += QString("%1 ").arg(property.owner);
  for (const std::string& line : s.log.entries()) {
    if (line.find(" slog ") != std::string::npos) text += '\n' + QString::fromStdString(line);
  }
  return text;
}

// The new-game dialog's Network..., then Host or Join in the choice that follows; -1 for any other
// dialog.
int ChooseNetwork(QDialog& dialog, bool host) {
  if (auto* newGame = dynamic_cast<NewGameDialog*>(&dialog)) {
    newGame->Network();
    return newGame->result();
  }
  auto* choice = qobject_cast<NetworkDialog*>(&dialog);
  if (choice == nullptr) return -1;
  host ? choice->Host() : choice->Join();
  return choice->result();
}

// The window's person: throws on his turns, buys what he can afford, passes in auctions, refuses
// every deal asked of him and gives up a debt. The answers of players elsewhere are shown and
// pass; the network dialogs go to `setUp`.
struct WindowPlayer {
  Harness& h;
  int rolls = 0;
  int local = 0;
  QStringList faults;
  std::function<int(QDialog&)> setUp;
  std::optional<QString> offered;  // the name the new-game dialog offered, once it came

  explicit WindowPlayer(Harness& harness) : h(harness) {
    h.ui.SetTimerIntervalOverride(0);
    FramedDialog::SetTimerOverride(0);
    h.playDialog = [this](QDialog& dialog) { return Answer(dialog); };
  }
  ~WindowPlayer() { FramedDialog::SetTimerOverride(-1); }

  int Answer(QDialog& dialog) {
    const GameState& state = h.game->state;
    if (auto* question = qobject_cast<QuestionDialog*>(&dialog)) {
      if (question->answerPending() || question->kind() != kOfferKind) {
        return question->kind() == kDebtKind ? 2 : 1;
      }
      return state.current().money >= state.properties[state.offeredProperty].price ? 1 : 2;
    }
    if (qobject_cast<ConsentDialog*>(&dialog) != nullptr) return 2;
    if (qobject_cast<PasswordDialog*>(&dialog) != nullptr) return 1;
    if (qobject_cast<AuctionDialog*>(&dialog) != nullptr) return 0;
    if (dynamic_cast<PlayWindow*>(&dialog) != nullptr) return PlayWindow::kCancel;
    if (dynamic_cast<NewGameDialog*>(&dialog) != nullptr && state.networkGame != NetRole::None) {
      faults << "the new-game dialog came during the network game";
    }
    if (setUp) return setUp(dialog);
    faults << QString("unexpected dialog ") + dialog.metaObject()->className();
    return QDialog::Rejected;
  }

  // From now on the new-game dialog is noted, with the name it offers, and closed.
  void AwaitNewGame() {
    setUp = [this](QDialog& dialog) {
      if (auto* newGame = dynamic_cast<NewGameDialog*>(&dialog)) {
        offered = FindControl<QLineEdit>(newGame, NewGameDialog::kName)->text();
      }
      return int(QDialog::Rejected);
    };
  }

  // Throws on his own turns until he is on turn with `count` throws made.
  bool PlayTo(int count) {
    const GameState& state = h.game->state;
    const auto onTurn = [&] {
      return state.turnPhase == TurnPhase::AwaitRoll && state.currentPlayer == local &&
             !h.ui.modalOpen();
    };
    return QTest::qWaitFor(
        [&] {
          if (onTurn() && rolls < count) {
            ++rolls;
            h.window->OnCommand(kCmdRoll);
          }
          return !faults.isEmpty() || (rolls >= count && onTurn());
        },
        kGiveUpMs);
  }
};

// Waits until `peer` has caught up with the window's game and compares the two.
bool SameGame(const Harness& h, const NetPeer& peer, QString& here, QString& there) {
  (void)QTest::qWaitFor([&] { return Describe(peer.view().state) == Describe(h.game->state); },
                        kGiveUpMs);
  here = Describe(h.game->state);
  there = Describe(peer.view().state);
  return here == there;
}

// The set-up of a client: Network..., Join, and the join dialog filled in as a person fills it.
// `waitingShown` tells whether the dialog showed the wait for the host's start as it should;
// `whileWaiting` then runs with the dialog still waiting.
std::function<int(QDialog&)> JoinAs(Harness& h, const QString& name, bool* waitingShown,
                                    std::function<void()> whileWaiting) {
  return [&h, name, waitingShown, whileWaiting](QDialog& dialog) {
    if (const int chosen = ChooseNetwork(dialog, false); chosen != -1) return chosen;
    auto* join = qobject_cast<JoinDialog*>(&dialog);
    if (join == nullptr) return int(QDialog::Rejected);
    QTimer::singleShot(kGiveUpMs, join, &QDialog::reject);
    QTimer::singleShot(0, join, [&h, name, waitingShown, whileWaiting, join] {
      FindControl<QLineEdit>(join, JoinDialog::kAddress)->setText("127.0.0.1");
      FindControl<QLineEdit>(join, JoinDialog::kName)->setText(name);
      QTest::mouseClick(FindControl<QPushButton>(join, kIdButton1), Qt::LeftButton);
      // Connected and waiting: the fields are gone and the texts of the wait show.
      *waitingShown =
          QTest::qWaitFor([join] { return join->joined(); }, kGiveUpMs) &&
          FindControl<QLabel>(join, JoinDialog::kProgress)->text() ==
              QString::fromStdString(h.game->FormatCatalogue(kTextJoinedAs, name.toStdString())) &&
          FindControl<QLabel>(join, JoinDialog::kStatus)->text() == h.Text(kTextAwaitingStart) &&
          FindControl(join, JoinDialog::kAddress)->isHidden();
      whileWaiting();
    });
    return join->exec();
  };
}

// How a client window's network game ends.
enum class ClientEnd { HostGoesBeforeTheStart, HostGoes, NewGameLeaves };

}  // namespace

Q_DECLARE_METATYPE(ClientEnd)

class NetworkGameTest : public QObject {
  Q_OBJECT

 private slots:
  void windowHostsTwoClientsAMessageALeaverAndTheEnd();
  void aClientWindowLosesItsHostOrLeaves_data();
  void aClientWindowLosesItsHostOrLeaves();
};

void NetworkGameTest::windowHostsTwoClientsAMessageALeaverAndTheEnd() {
  Harness h({}, kSeed);
  h.SetPlayers({0, 1});  // the players entered before; the lobby replaces them
  h.window->network().SetPort(0);
  WindowPlayer table(h);
  std::unique_ptr<NetPeer> clients[2];
  bool lobbyChecked = false;
  bool joinedInOrder = true;

  table.setUp = [&](QDialog& dialog) {
    if (const int chosen = ChooseNetwork(dialog, true); chosen != -1) return chosen;
    auto* lobby = qobject_cast<HostLobbyDialog*>(&dialog);
    if (lobby == nullptr) return int(QDialog::Rejected);
    auto* players = FindControl<QListWidget>(lobby, HostLobbyDialog::kPlayers);
    auto* start = FindControl<QPushButton>(lobby, kIdButton1);
    auto* address = FindControl<QLabel>(lobby, HostLobbyDialog::kAddress);
    // Nobody yet, and the name of the new-game dialog's first slot is offered for the host.
    lobbyChecked = players->count() == 0 && !start->isEnabled() &&
                   address->text().startsWith(h.Text(kTextAddress).section('%', 0, 0)) &&
                   FindControl<QLineEdit>(lobby, HostLobbyDialog::kName)->text() == "P1";
    const int port = h.window->network().link()->listeningPort();
    for (int i = 0; i < 2; ++i) {
      // The second over IPv6: the window hosts on both stacks.
      clients[i] = std::make_unique<NetPeer>(Role::Client, "Klient" + std::to_string(i + 1),
                                             kSeed + 1 + static_cast<std::uint64_t>(i), port, 2,
                                             i == 0 ? "127.0.0.1" : "::1");
      // One after the other, so that the records come in a known order.
      joinedInOrder =
          QTest::qWaitFor([&] { return players->count() == i + 1; }, kGiveUpMs) && joinedInOrder;
    }
    if (!joinedInOrder) return int(QDialog::Rejected);
    QTimer::singleShot(kGiveUpMs, lobby, &QDialog::reject);
    QTimer::singleShot(0, lobby, [lobby] {
      FindControl<QLineEdit>(lobby, HostLobbyDialog::kName)->setText("Värd");
      QTest::mouseClick(FindControl<QPushButton>(lobby, kIdButton1), Qt::LeftButton);
    });
    return lobby->exec();
  };

  // The lobby: the new-game dialog's Network... leads to it; Start begins the game, which the
  // window then does not start again.
  QCOMPARE(h.window->RunNewGameDialog(), MainWindow::NewGameChoice::NetworkGame);
  QVERIFY(lobbyChecked);
  QVERIFY(joinedInOrder);
  GameState& state = h.game->state;
  QCOMPARE(state.playerCount, 3);
  QCOMPARE(QString::fromStdString(h.game->PlayerName(0)), QString("Värd"));
  QCOMPARE(QString::fromStdString(h.game->PlayerName(2)), QString("Klient2"));
  QCOMPARE(state.networkGame, NetRole::Host);
  QVERIFY(!h.window->action(kCmdAuction)->isEnabled());

  // A few rounds; then the clients have taken in all of it and hold the same game.
  QVERIFY(table.PlayTo(kRounds));
  QVERIFY2(table.faults.isEmpty(), qPrintable(table.faults.join('\n')));
  QString here, there;
  for (auto& client : clients) {
    QVERIFY2(SameGame(h, *client, here, there), qPrintable(here + "\n----\n" + there));
  }
  // Commands of players elsewhere are not this window's.
  state.currentPlayer = 1;
  const int beeps = h.ui.beepCount();
  h.window->OnCommand(kCmdRoll);
  QCOMPARE(h.ui.beepCount(), beeps + 1);
  state.currentPlayer = 0;

  // Client 1 writes to the host only: the window shows it, client 2 does not.
  h.ForgetBoxes();
  clients[0]->SendChat("Hej värden", {0});
  clients[0]->SendChat("Hej alla", {});
  QTRY_VERIFY_WITH_TIMEOUT(h.shown.size() == 2, kGiveUpMs);
  QCOMPARE(h.shown, QStringList({"Hej värden", "Hej alla"}));
  const QString title = QString::fromStdString(h.game->FormatCatalogue(kTextChatTitle, "Klient1"));
  QCOMPARE(h.titles.first(), title);
  QCOMPARE(h.icons.first(), QMessageBox::Information);
  QTRY_COMPARE_WITH_TIMEOUT(clients[1]->view().chats.size(), std::size_t(1), kGiveUpMs);
  QCOMPARE(clients[1]->view().chats.front(), title.toStdString() + ": Hej alla");

  // Client 2's connection breaks; the window asks what to do, and `answer` is pressed.
  const auto client2Breaks = [&](QMessageBox::StandardButton answer) {
    h.ForgetBoxes();
    h.answer = answer;
    clients[1]->Stop();
    QTRY_VERIFY_WITH_TIMEOUT(!h.shown.isEmpty(), kGiveUpMs);
    QCOMPARE(h.shown.first(),
             QString::fromStdString(h.game->FormatCatalogue(kTextPlayerLeft, "Klient2")));
  };

  // Client 2's connection breaks and the window's player waits for him: a small window shows him
  // missing and the seconds his seat is still kept, until his computer joins again by his name.
  client2Breaks(QMessageBox::Retry);
  if (QTest::currentTestFailed()) return;
  MissingPlayersWindow* missing = nullptr;
  QTRY_VERIFY_WITH_TIMEOUT(
      (missing = h.window->findChild<MissingPlayersWindow*>()) != nullptr && missing->isVisible(),
      kGiveUpMs);
  const QString missingText = FindControl<QLabel>(missing, MissingPlayersWindow::kList)->text();
  QVERIFY2(missingText.contains("Klient2") && missingText.contains(" s "), qPrintable(missingText));
  QCOMPARE(state.players[2].isBankrupt, 0);
  clients[1] = std::make_unique<NetPeer>(Role::Client, "Klient2", kSeed + 2,
                                         h.window->network().link()->listeningPort(), 2);
  QTRY_VERIFY_WITH_TIMEOUT(!missing->isVisible(), kGiveUpMs);
  QTRY_VERIFY_WITH_TIMEOUT(clients[1]->view().inGame, kGiveUpMs);

  // Client 2 leaves; the window's player goes on without him, whose streets go back to the bank.
  client2Breaks(QMessageBox::Yes);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(h.icons.first(), QMessageBox::Warning);
  QVERIFY(h.window->network().active());
  QCOMPARE(state.players[2].isBankrupt, 1);
  for (const Property& property : state.properties) QVERIFY(property.owner != 2);

  // The last other computer goes; the host is asked what becomes of his seat (text 31) and lets
  // him go: the game is over here (text 30), and a new one is set up, offering the players
  // entered before the network game.
  h.ForgetBoxes();
  h.answer = QMessageBox::Ok;
  table.AwaitNewGame();
  clients[0]->Stop();
  QTRY_VERIFY_WITH_TIMEOUT(table.offered, kGiveUpMs);
  QCOMPARE(h.shown,
           QStringList({QString::fromStdString(h.game->FormatCatalogue(kTextPlayerLeft, "Klient1")),
                        h.Text(kTextConnectionLost)}));
  QCOMPARE(*table.offered, QString("P1"));
  QCOMPARE(state.playerCount, 2);
  QCOMPARE(state.networkGame, NetRole::None);
  QVERIFY(!h.window->network().active());
  QVERIFY(h.window->action(kCmdAuction)->isEnabled());
}

void NetworkGameTest::aClientWindowLosesItsHostOrLeaves_data() {
  QTest::addColumn<ClientEnd>("end");
  QTest::newRow("the host goes before the start") << ClientEnd::HostGoesBeforeTheStart;
  QTest::newRow("the host goes") << ClientEnd::HostGoes;
  QTest::newRow("New Game leaves") << ClientEnd::NewGameLeaves;
}

// A host that goes ends a client's join dialog, or its game, with text 30: before his start the
// players entered before are as they were, after it the new-game dialog comes. New Game in a
// network game asks text 6: Cancel leaves the game going, OK leaves it for the new-game dialog,
// and the host sees this computer go.
void NetworkGameTest::aClientWindowLosesItsHostOrLeaves() {
  QFETCH(ClientEnd, end);
  const bool early = end == ClientEnd::HostGoesBeforeTheStart;
  NetPeer host(Role::Host, "Värd", kSeed, 0, early ? 3 : 2);  // early: waits for two more
  QTRY_VERIFY(host.port() != 0);
  Harness h({}, kSeed);
  if (early) h.SetPlayers({0, 1});
  h.window->network().SetPort(host.port());
  WindowPlayer table(h);
  bool waitingShown = false;
  table.setUp = JoinAs(h, "Cilla", &waitingShown, [&] {
    if (early) host.Stop();
  });
  QCOMPARE(h.window->RunNewGameDialog(),
           early ? MainWindow::NewGameChoice::Players : MainWindow::NewGameChoice::NetworkGame);
  QVERIFY(waitingShown);
  const GameState& state = h.game->state;
  if (early) {
    QCOMPARE(h.shown, QStringList({h.Text(kTextConnectionLost)}));
    QCOMPARE(QString::fromStdString(h.game->PlayerName(0)), QString("P1"));
  } else {
    QCOMPARE(state.networkGame, NetRole::Client);
    QCOMPARE(state.playerCount, 2);
    QCOMPARE(QString::fromStdString(h.game->PlayerName(1)), QString("Cilla"));
    table.AwaitNewGame();
  }
  if (end == ClientEnd::HostGoes) {
    host.Stop();
    QTRY_VERIFY_WITH_TIMEOUT(table.offered, kGiveUpMs);
    QCOMPARE(h.shown, QStringList({h.Text(kTextConnectionLost)}));
  } else if (end == ClientEnd::NewGameLeaves) {
    h.answer = QMessageBox::Cancel;
    h.window->OnCommand(kCmdNewGame);
    QCOMPARE(h.shown, QStringList({h.Text(kTextLeaveNetwork)}));
    QVERIFY(h.window->network().active());
    h.answer = QMessageBox::Ok;
    h.window->OnCommand(kCmdNewGame);
    QVERIFY(table.offered);
    QTRY_VERIFY_WITH_TIMEOUT(host.view().ended, kGiveUpMs);
  }
  QVERIFY(!h.window->network().active());
  QCOMPARE(state.networkGame, NetRole::None);
  QCOMPARE(state.playerCount, early ? 2 : 0);
}

TOMTURA_TEST_SUITE(NetworkGameTest);
#include "network_game_test.moc"
