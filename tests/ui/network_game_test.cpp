// SPDX-License-Identifier: GPL-3.0-or-later
// Network games over the loopback between the real main window and other computers without
// windows, each in a thread of its own: the window hosts two clients through the lobby dialog,
// or joins a host through the join dialog; a message, a player who leaves and the loss of the
// last other computer come to the window's player as the design says. Playing the game to the same
// end on each computer is the headless network games' (tests/sim).
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
#include "ui/control_ids.h"
#include "ui/framed_dialog.h"
#include "ui/network_dialogs.h"
#include "ui/network_play.h"
#include "ui/new_game_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

constexpr std::uint64_t kNetworkSeed = 11;

// The new-game dialog noted, with the name it offers, and closed.
std::function<int(QDialog&)> NoteNewGame(std::optional<QString>& offered) {
  return [&offered](QDialog& dialog) {
    if (auto* newGame = dynamic_cast<NewGameDialog*>(&dialog)) {
      offered = FindControl<QLineEdit>(newGame, NewGameDialog::kName)->text();
    }
    return int(QDialog::Rejected);
  };
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
  Harness h({}, kNetworkSeed);
  h.SetPlayers({0, 1});  // the players entered before; the lobby replaces them
  h.window->network().SetPort(0);
  std::optional<QString> offered;
  std::unique_ptr<NetPeer> clients[2];
  bool lobbyChecked = false;
  bool joinedInOrder = true;

  int dialogsInTheGame = 0;  // none comes, the new-game dialog least of all: nobody throws
  h.playDialog = [&](QDialog& dialog) {
    if (h.game->state.networkGame != NetRole::None) {
      ++dialogsInTheGame;
      return int(QDialog::Rejected);
    }
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
                                             kNetworkSeed + 1 + static_cast<std::uint64_t>(i), port,
                                             2, i == 0 ? "127.0.0.1" : "::1");
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
  state.gameRunning = 1;  // as after the first throw: a game to lose

  // Client 1 writes to the host only: the window shows it, client 2 does not.
  for (auto& client : clients) QTRY_VERIFY_WITH_TIMEOUT(client->view().inGame, kGiveUpMs);
  h.ForgetBoxes();
  clients[0]->SendChat("Hej värden", {0});
  clients[0]->SendChat("Hej alla", {});
  QTRY_COMPARE_WITH_TIMEOUT(h.shown, QStringList({"Hej värden", "Hej alla"}), kGiveUpMs);
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
    const std::string left = h.game->FormatCatalogue(kTextPlayerLeft, "Klient2");
    QTRY_COMPARE_WITH_TIMEOUT(h.shown.value(0), QString::fromStdString(left), kGiveUpMs);
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
  clients[1] = std::make_unique<NetPeer>(Role::Client, "Klient2", kNetworkSeed + 2,
                                         h.window->network().link()->listeningPort(), 2);
  QTRY_VERIFY_WITH_TIMEOUT(!missing->isVisible(), kGiveUpMs);
  QTRY_VERIFY_WITH_TIMEOUT(clients[1]->view().inGame, kGiveUpMs);

  // Client 2 leaves; the window's player goes on without him, whose streets go back to the bank.
  state.properties[1].owner = 2;
  client2Breaks(QMessageBox::Yes);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(h.icons.first(), QMessageBox::Warning);
  QVERIFY(h.window->network().active());
  QCOMPARE(state.players[2].isBankrupt, 1);
  for (const Property& property : state.properties) QVERIFY(property.owner != 2);

  // The last other computer goes; the host is asked what becomes of his seat (text 31) and lets
  // him go: the game is over here (text 30), and a new one is set up, offering the players
  // entered before the network game.
  QCOMPARE(dialogsInTheGame, 0);
  h.ForgetBoxes();
  h.answer = QMessageBox::Ok;
  h.playDialog = NoteNewGame(offered);
  clients[0]->Stop();
  QTRY_VERIFY_WITH_TIMEOUT(offered, kGiveUpMs);
  QCOMPARE(h.shown,
           QStringList({QString::fromStdString(h.game->FormatCatalogue(kTextPlayerLeft, "Klient1")),
                        h.Text(kTextConnectionLost)}));
  QCOMPARE(*offered, QString("P1"));
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
  NetPeer host(Role::Host, "Värd", kNetworkSeed, 0, early ? 3 : 2);  // early: waits for two more
  QTRY_VERIFY(host.port() != 0);
  Harness h({}, kNetworkSeed);
  if (early) h.SetPlayers({0, 1});
  h.window->network().SetPort(host.port());
  std::optional<QString> offered;
  bool waitingShown = false;
  h.playDialog = JoinAs(h, "Cilla", &waitingShown, [&] {
    if (early) host.Stop();
  });
  QCOMPARE(h.window->RunNewGameDialog(),
           early ? MainWindow::NewGameChoice::Players : MainWindow::NewGameChoice::NetworkGame);
  QVERIFY(waitingShown);
  GameState& state = h.game->state;
  if (early) {
    QCOMPARE(h.shown, QStringList({h.Text(kTextConnectionLost)}));
    QCOMPARE(QString::fromStdString(h.game->PlayerName(0)), QString("P1"));
  } else {
    QCOMPARE(state.networkGame, NetRole::Client);
    state.gameRunning = 1;  // as after the first throw: a game to lose
    QCOMPARE(state.playerCount, 2);
    QCOMPARE(QString::fromStdString(h.game->PlayerName(1)), QString("Cilla"));
    h.playDialog = NoteNewGame(offered);
  }
  if (end == ClientEnd::HostGoes) {
    host.Stop();
    QTRY_VERIFY_WITH_TIMEOUT(offered, kGiveUpMs);
    QCOMPARE(h.shown, QStringList({h.Text(kTextConnectionLost)}));
  } else if (end == ClientEnd::NewGameLeaves) {
    h.answer = QMessageBox::Cancel;
    h.window->OnCommand(kCmdNewGame);
    QCOMPARE(h.shown, QStringList({h.Text(kTextLeaveNetwork)}));
    QVERIFY(h.window->network().active());
    h.answer = QMessageBox::Ok;
    h.window->OnCommand(kCmdNewGame);
    QVERIFY(offered);
    QTRY_VERIFY_WITH_TIMEOUT(host.view().ended, kGiveUpMs);
  }
  QVERIFY(!h.window->network().active());
  QCOMPARE(state.networkGame, NetRole::None);
  QCOMPARE(state.playerCount, early ? 2 : 0);
}

TOMTURA_TEST_SUITE(NetworkGameTest);
#include "network_game_test.moc"
