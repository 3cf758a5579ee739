// A hot-seat game at one computer: two persons with passwords and two computer players play in
// the real main window until each dialog of a person has been through its round. The test is the
// persons: it clicks the Roll button and the command buttons, types passwords and bids and
// presses the buttons of the real dialogs; the computer players answer their own dialogs on
// shortened timers. What each button returns is tests/ui/dialogs_test.cpp's, what the rules make
// of it the core's, games to the end the headless games' (tests/sim).
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <array>

#include "test_suites.h"
#include "ui/auction_dialog.h"
#include "ui/command_button.h"
#include "ui/control_ids.h"
#include "ui/framed_dialog.h"
#include "ui/password_dialog.h"
#include "ui/play_pages.h"
#include "ui/play_window.h"
#include "ui/question_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// Seats: Anna and Bo are persons at the keyboard, Cilla and Dag computer players.
constexpr int kAnna = 0;
constexpr int kCilla = 1;
constexpr int kBo = 2;
const std::array<const char*, 4> kNames = {"Anna", "Cilla", "Bo", "Dag"};
const std::array<const char*, 4> kPasswords = {"ank", "", "bil", ""};

// A game in which every situation the test looks for comes up within a few rounds.
constexpr std::uint64_t kHotSeatSeed = 3;
constexpr int kGameGiveUpMs = 120000;

// The rounds each dialog must have had: a person's answer of each kind, and a computer player's.
enum Round {
  kAnnaLogsIn,
  kBoLogsIn,
  kBoCancelsALogin,
  kAnnaBuys,
  kBoDeclines,
  kBoBids,
  kAnnaPasses,
  kBoConsents,
  kAnnaDeals,
  kCillaAnswers,
  kDagAnswers,
  kRoundCount
};

// The persons at the table: what each presses in each dialog, and the rounds each dialog has had.
// Anything that goes against the rules is collected in `faults`, and the game stops at the first.
class HotSeat {
 public:
  explicit HotSeat(Harness& h) : h_(h), state_(h.game->state) {
    h_.playDialog = [this](QDialog& dialog) { return Play(dialog); };
  }

  QStringList faults;
  std::array<int, kRoundCount> rounds{};

  bool Done() const {
    return rounds[kAnnaLogsIn] > 1 && rounds[kBoLogsIn] > 1 &&
           std::ranges::none_of(rounds, [](int n) { return n == 0; });
  }

  // Called on every tick of the game's event loop while no dialog is open: a person on turn
  // deals once, after her first purchase, and then throws.
  void Poll() {
    if (QApplication::activeModalWidget() != nullptr || h_.ui.modalOpen()) return;
    const int p = state_.currentPlayer;
    const bool awaiting =
        state_.turnPhase == TurnPhase::AwaitLogin || state_.turnPhase == TurnPhase::AwaitRoll;
    if (state_.players[p].isComputer != 0 || !awaiting) return;
    if (p == kAnna && state_.turnPhase == TurnPhase::AwaitRoll && state_.doublesInRow == 0 &&
        !dealt_ && rounds[kAnnaBuys] > 0 && (wanted_ = StreetOfBo()) != kNobody) {
      Click(h_.window->commandButton(kCmdBuyFrom));
      return;
    }
    Click(h_.window->commandButton(kCmdRoll));  // a throw, or a second try at logging in
  }

 private:
  void Fault(const QString& what) {
    if (faults.size() < 10) faults << what;
  }

  // A person's click: only on a button he can see and press.
  void Click(QAbstractButton* button) {
    if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
      Fault("a person's button was missing, hidden or disabled");
      return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
  }

  // A person's answer once the dialog runs: `text` typed into `field`, then `button` clicked.
  void Press(QDialog& dialog, QAbstractButton* button, QLineEdit* field = nullptr,
             const QString& text = {}) {
    QTimer::singleShot(0, &dialog, [this, button, field, text] {
      if (field != nullptr) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
      }
      Click(button);
    });
  }

  int Play(QDialog& dialog) {
    QTimer::singleShot(kGiveUpMs, &dialog, [this, &dialog] {
      Fault(QString("a dialog stayed open: ") + dialog.metaObject()->className());
      if (auto* auction = qobject_cast<AuctionDialog*>(&dialog)) {
        auction->reject();
      } else {
        dialog.done(-1);
      }
    });
    const int p = state_.currentPlayer;
    const bool person = state_.players[p].isComputer == 0;
    if (auto* question = qobject_cast<QuestionDialog*>(&dialog)) {
      if (!person) {
        ++rounds[p == kCilla ? kCillaAnswers : kDagAnswers];
        return question->exec();
      }
      // Anna buys what she can afford; Bo sends every offer to auction.
      const bool buys =
          p == kAnna && state_.current().money >= state_.properties[state_.offeredProperty].price;
      if (question->kind() == kOfferKind) ++rounds[buys ? kAnnaBuys : kBoDeclines];
      Press(dialog, question->button(buys || question->kind() != kOfferKind ? 1 : 2));
      return question->exec();
    }
    if (auto* consent = qobject_cast<ConsentDialog*>(&dialog)) {
      // Bo sells to Anna with his password; a person asked by a computer player refuses.
      if (p == kAnna && consent->asked() == kBo) {
        ++rounds[kBoConsents];
        Press(dialog, consent->button(kIdButton1), consent->passwordField(), kPasswords[kBo]);
      } else {
        Press(dialog, consent->button(kIdButton2));
      }
      return consent->exec();
    }
    if (auto* login = qobject_cast<PasswordDialog*>(&dialog)) {
      // Bo cancels his first login; after that both type their passwords.
      if (!person) Fault("a computer player was asked a password");
      if (p == kBo && rounds[kBoCancelsALogin] == 0) {
        ++rounds[kBoCancelsALogin];
        Press(dialog, login->button(kIdButton2));
        const int result = login->exec();
        if (result == 1) Fault("a cancelled login was taken for a password");
        return result;
      }
      Press(dialog, login->button(kIdButton1), login->passwordField(), kPasswords[p]);
      const int result = login->exec();
      if (result == 1) ++rounds[p == kAnna ? kAnnaLogsIn : kBoLogsIn];
      return result;
    }
    if (auto* auction = qobject_cast<AuctionDialog*>(&dialog)) return Auction(*auction);
    if (auto* window = dynamic_cast<PlayWindow*>(&dialog)) return Deal(*window);
    Fault(QString("unexpected dialog ") + dialog.metaObject()->className());
    return QDialog::Rejected;
  }

  // One turn of an auction (the dialog stays open for the whole auction): Bo raises while it is
  // cheap for him, with his password; Anna passes, which needs none.
  int Auction(AuctionDialog& dialog) {
    const tomtura::Auction& auction = dialog.auction();
    const int bidder = auction.bidder();
    if (dialog.closing()) {
      if (state_.current().isComputer == 0) Press(dialog, dialog.button(kIdButton1));
    } else if (state_.players[bidder].isComputer == 0 && !dialog.computerMovePending()) {
      const int bid = auction.highestBid() + 100;
      if (bidder == kBo && bid <= state_.players[kBo].money / 3) {
        dialog.bidField()->setText(QString::number(bid));
        Press(dialog, dialog.button(kIdButton1), dialog.passwordField(), kPasswords[kBo]);
        ++rounds[kBoBids];
      } else {
        Press(dialog, dialog.button(kIdButton2));
        rounds[kAnnaPasses] += bidder == kAnna ? 1 : 0;
      }
    }
    return dialog.Await();
  }

  // A street of Bo's without houses or mortgage that Anna can well afford, if there is one.
  int StreetOfBo() const {
    for (int p = 0; p < kPropertyCount; ++p) {
      const Property& property = state_.properties[p];
      if (property.owner == kBo && property.houses == 0 && property.mortgaged == 0 &&
          property.price + 1000 < state_.players[kAnna].money) {
        return p;
      }
    }
    return kNobody;
  }

  // Anna asks Bo for the street at its price (he consents with his password), mortgages one of
  // her own and presses OK; the street is hers once the referee has committed the window.
  int Deal(PlayWindow& window) {
    if (wanted_ == kNobody) Fault("a play window nobody opened");
    dealt_ = true;
    const int wanted = std::exchange(wanted_, kNobody);
    QTimer::singleShot(0, &window, [this, &window, wanted] {
      QWidget* buy = window.page(int(PlayPage::Buy));
      auto* partner = FindControl<QComboBox>(buy, kIdPartner);
      partner->setCurrentIndex(partner->findData(kBo));
      auto* street = FindControl<QComboBox>(buy, kIdPartnerProperty);
      street->setCurrentIndex(street->findData(wanted));
      FindControl<QLineEdit>(buy, kIdPrice)
          ->setText(QString::number(state_.properties[wanted].price));
      Click(FindControl<QPushButton>(buy, kIdAsk));
      window.SelectPage(int(PlayPage::Mortgage));
      QWidget* mortgage = window.page(int(PlayPage::Mortgage));
      if (FindControl<QComboBox>(mortgage, kIdProperty)->count() > 0) {
        Click(FindControl<QPushButton>(mortgage, kIdMortgageButton));
      }
      Click(FindControl<QPushButton>(&window, PlayWindow::kIdOk));
    });
    const int result = window.exec();
    QTimer::singleShot(0, h_.window.get(), [this, wanted] {
      if (state_.properties[wanted].owner != kAnna) Fault("Anna's deal with Bo was not committed");
      ++rounds[kAnnaDeals];
    });
    return result;
  }

  Harness& h_;
  GameState& state_;
  int wanted_ = kNobody;  // the street Anna is about to ask Bo for
  bool dealt_ = false;
};

}  // namespace

class HotSeatTest : public QObject {
  Q_OBJECT

 private slots:
  void twoPersonsAndTwoComputersGoThroughEachDialog();
};

void HotSeatTest::twoPersonsAndTwoComputersGoThroughEachDialog() {
  Harness h({}, kHotSeatSeed);
  h.SetPlayers({0, 1, 0, 1});  // Cilla and Dag computer players
  GameState& state = h.game->state;
  for (int i = 0; i < 4; ++i) {
    state.players[i].name.setUtf8(kNames[i]);
    state.players[i].password.setUtf8(kPasswords[i]);
  }
  state.settings.auctionOn = 1;
  state.settings.firstLapRule = 0;  // offers from the first throw on
  h.ui.SetTimerIntervalOverride(0);
  FramedDialog::SetTimerOverride(0);
  HotSeat table(h);
  h.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
  h.window->StartNewGame();

  // Plays until every dialog has had its round, a fault, or the time runs out.
  QEventLoop loop;
  QTimer poll;
  poll.callOnTimeout([&] {
    if (table.Done() || !table.faults.isEmpty()) {
      loop.quit();
      return;
    }
    table.Poll();
  });
  poll.start(0);
  QTimer::singleShot(kGameGiveUpMs, &loop, &QEventLoop::quit);
  loop.exec();
  FramedDialog::SetTimerOverride(-1);
  QVERIFY2(table.faults.isEmpty(), qPrintable(table.faults.join('\n')));
  QStringList rounds;
  for (int n : table.rounds) rounds << QString::number(n);
  QVERIFY2(table.Done(), qPrintable("rounds: " + rounds.join(' ')));
}

TOMTURA_TEST_SUITE(HotSeatTest);
#include "hot_seat_test.moc"
