// The network dialogs where they fail or decide something themselves (offscreen): a join that
// cannot connect, a port that cannot be listened on, and the addressees the message dialog
// gives the session, checked in the bytes that leave this computer.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include "data/text_ids.h"
#include "net/messages.h"
#include "net/session.h"
#include "test_suites.h"
#include "ui/chat_dialog.h"
#include "ui/control_ids.h"
#include "ui/framed_dialog.h"
#include "ui/network_dialogs.h"
#include "ui/network_play.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// A port on which nobody listens: taken from the system, then let go.
int UnusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

}  // namespace

class NetworkDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void aJoinOrHostThatFailsSaysWhy_data();
  void aJoinOrHostThatFailsSaysWhy();
  void messageAddressees_data();
  void messageAddressees();
};

void NetworkDialogsTest::aJoinOrHostThatFailsSaysWhy_data() {
  QTest::addColumn<bool>("host");
  QTest::newRow("join") << false;
  QTest::newRow("host") << true;
}

// A join: the host name is looked up and shown dotted; nobody answers on the port, so the join
// ends with text 36 instead of waiting. A host: another program holds the port, so the lobby does
// not open, and text 29 says why. The players entered before are as they were.
void NetworkDialogsTest::aJoinOrHostThatFailsSaysWhy() {
  QFETCH(bool, host);
  QTcpServer holder;
  QVERIFY(holder.listen(QHostAddress::AnyIPv4, 0));
  Harness h;
  h.SetPlayers({0, 1});
  h.window->network().SetPort(host ? holder.serverPort() : UnusedPort());
  QString addressShown;
  int lobbies = 0;
  h.playDialog = [&](QDialog& dialog) {
    if (const int chosen = ChooseNetwork(dialog, host); chosen != -1) return chosen;
    lobbies += qobject_cast<HostLobbyDialog*>(&dialog) != nullptr ? 1 : 0;
    auto* join = qobject_cast<JoinDialog*>(&dialog);
    if (join == nullptr) return int(QDialog::Rejected);
    auto* address = FindControl<QLineEdit>(join, JoinDialog::kAddress);
    QTimer::singleShot(0, join, [&, join, address] {
      address->setText("localhost");
      FindControl<QLineEdit>(join, JoinDialog::kName)->setText("Bo");
      QTest::mouseClick(FindControl<QPushButton>(join, kIdButton1), Qt::LeftButton);
    });
    connect(address, &QLineEdit::textChanged, join,
            [&](const QString& text) { addressShown = text; });
    return join->exec();
  };
  QVERIFY(!h.window->network().RunSetup(nullptr));
  QCOMPARE(addressShown, host ? QString() : QString("127.0.0.1"));
  QCOMPARE(lobbies, 0);
  QCOMPARE(h.titles, QStringList({h.Text(kTextNetworkTitle)}));  // one box
  QVERIFY(h.shown.first().startsWith(host ? h.Text(kTextPortTaken).section('(', 0, 0)
                                          : h.Text(kTextConnectFailed)));
  QCOMPARE(h.icons.first(), QMessageBox::Critical);
  QVERIFY(!h.window->network().active());
  const GameState& state = h.game->state;
  QCOMPARE(state.networkGame, NetRole::None);
  QCOMPARE(state.playerCount, 2);
  QCOMPARE(QString::fromStdString(h.game->PlayerName(1)), QString("P2"));
}

// Client 1 of a three-player game (the host is player 0, client 2 player 2). The flags are one
// per player: 2 the sender, 1 an addressee, 0 not addressed.
void NetworkDialogsTest::messageAddressees_data() {
  QTest::addColumn<QList<int>>("selectedRows");
  QTest::addColumn<bool>("toAll");
  QTest::addColumn<QList<int>>("flags");
  QTest::newRow("the host only") << QList<int>{0} << false << QList<int>{1, 2, 0};
  QTest::newRow("client 2 only") << QList<int>{1} << false << QList<int>{0, 2, 1};
  QTest::newRow("nobody chosen") << QList<int>{} << false << QList<int>{1, 2, 1};
  QTest::newRow("the box overrides") << QList<int>{1} << true << QList<int>{1, 2, 1};
}

void NetworkDialogsTest::messageAddressees() {
  QFETCH(QList<int>, selectedRows);
  QFETCH(bool, toAll);
  QFETCH(QList<int>, flags);
  Harness h;
  RecordingLink link;
  NetSession session(*h.game, link, Role::Client);
  session.Join("Bo");
  RosterMessage roster;
  const char* names[] = {"Värd", "Bo", "Cilla"};
  const std::int16_t seats[] = {2, 0, 3};
  for (int p = 0; p < 3; ++p) {
    roster.players[p].name.setUtf8(names[p]);
    roster.players[p].isComputer = seats[p];
    roster.players[p].token = static_cast<std::int16_t>(p);
  }
  session.Deliver(kHostConnection, EncodeMessage(roster));
  QVERIFY(session.inGame());

  ChatDialog dialog(*h.game, nullptr);
  auto* receivers = FindControl<QListWidget>(&dialog, ChatDialog::kReceivers);
  QCOMPARE(receivers->count(), 2);
  QCOMPARE(receivers->item(1)->text(), QString("Cilla"));
  for (int row : selectedRows) receivers->item(row)->setSelected(true);
  FindControl<QCheckBox>(&dialog, ChatDialog::kAll)->setChecked(toAll);
  // A text longer than a message holds is cut as it is typed.
  FindControl<QPlainTextEdit>(&dialog, ChatDialog::kMessage)->setPlainText(QString(300, 'x'));
  FindControl<QPushButton>(&dialog, kIdButton1)->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.text().size(), 255);

  link.sent.clear();
  session.SendChat(dialog.text().toStdString(), dialog.addressees());
  ChatMessage expected;
  expected.text.setUtf8(std::string(255, 'x'));
  expected.flags.assign(flags.begin(), flags.end());
  QVERIFY(link.sent == std::vector({EncodeMessage(expected)}));
}

TOMTURA_TEST_SUITE(NetworkDialogsTest);
#include "network_dialogs_test.moc"
