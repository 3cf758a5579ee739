// The question, password, consent and auction dialogs, driven as a player drives them
// (offscreen): what each button and key does to the game.
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "rules/game.h"
#include "headless/headless_front_end.h"
#include "ui/auction_dialog.h"
#include "ui/password_dialog.h"
#include "ui/question_dialog.h"
#include "trade/auction.h"

using namespace tomtura;

namespace {

constexpr int kOfferSquare = 1;  // the first street, property 0
constexpr int kTextDebt = 81;
constexpr int kTextOffer = 66;
constexpr int kTextRent = 71;
constexpr int kTextBidTooLow = 58;

const QString kBoardFile = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst");

// A game of the default edition with persons or computer players at the table, all on the
// first street's square.
struct Table {
  HeadlessFrontEnd ui;
  Game game;
  QStringList errors;  // texts of the error boxes, in order

  explicit Table(std::initializer_list<int> isComputer = {0, 0})
      : game(TextCatalogue::Load(kBoardFile.toStdString()), ui, 11) {
    game.texts.LoadPropertyTable(game.state.properties);
    static const char* kNames[] = {"Anna", "Bo", "Cilla", "Dag", "Eva", "Frej"};
    GameState& state = game.state;
    int i = 0;
    for (int computer : isComputer) {
      state.players[i].name.setUtf8(kNames[i]);
      state.players[i].isComputer = static_cast<std::int16_t>(computer);
      state.players[i].money = kStartMoney;
      state.players[i].position = kOfferSquare;
      ++i;
    }
    state.playerCount = i;
    state.currentPlayer = 0;
    state.turnPhase = TurnPhase::Moving;
    ui.Attach(game);
  }

  void Catch(FramedDialog& dialog) {
    dialog.SetErrorBox([this](const QString& text) { errors << text; });
  }
  QString Text(int n) const { return QString::fromStdString(game.Text(n)); }
  std::string Format(int n) const {
    return game.FormatCatalogue(n, std::string("Anna"), std::string("Torggatan"), 1200);
  }
  DecisionRequest Question(const std::string& text, bool twoButtons) const {
    return game.referee.QuestionRequest(text, twoButtons);
  }
  DecisionRequest Asking(DecisionKind kind, int player) const {
    DecisionRequest request;
    request.kind = kind;
    request.player = player;
    request.text = "Ett erbjudande";
    request.title = "Bo";
    return request;
  }
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void questionKindAndEscape_data();
  void questionKindAndEscape();
  void computerAnswerShowsAloneAndClosesItself();

  void passwordCountsTheFirstThreeLetters();
  void consentEnterRefusesWithoutPassword();
  void consentChecksTheCopysPassword();

  void personsAuction();
};

// ---- Question dialog ---------------------------------------------------------------------------

// The shipped texts carry the keywords that give each question its kind.
void DialogsTest::questionKindAndEscape_data() {
  QTest::addColumn<int>("text");
  QTest::addColumn<bool>("twoButtons");
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("escape");  // the result of Escape, -1: the question stays
  QTest::newRow("offer") << kTextOffer << true << 4 << 2;
  QTest::newRow("debt") << kTextDebt << true << 3 << -1;
  QTest::newRow("rent notice") << kTextRent << false << 5 << 1;
}

void DialogsTest::questionKindAndEscape() {
  QFETCH(int, text);
  QFETCH(bool, twoButtons);
  QFETCH(int, kind);
  QFETCH(int, escape);
  Table table;
  QuestionDialog dialog(table.game, table.Question(table.Format(text), twoButtons), nullptr,
                        nullptr);
  dialog.show();
  QCOMPARE(dialog.kind(), kind);
  QVERIFY(!dialog.answerPending());  // a person answers himself
  QCOMPARE(dialog.button(2)->isVisible(), twoButtons);

  // Escape never gives up a player's game on the debt question.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.isVisible(), escape == -1);
  if (escape != -1) QCOMPARE(dialog.result(), escape);
}

// A computer player's answer shows with only the button it chose, and the question closes
// itself with that button when the request's delay has run out.
void DialogsTest::computerAnswerShowsAloneAndClosesItself() {
  Table table;
  DecisionRequest request = table.Question(table.Format(kTextOffer), true);
  request.answerDelayMs = 50;
  QuestionDialog dialog(table.game, request, nullptr, nullptr, Decision{2, 0, nullptr});
  QVERIFY(dialog.answerPending());
  QCOMPARE(dialog.exec(), 2);
  QVERIFY(dialog.button(1)->isHidden());
}

// ---- Password and consent dialogs --------------------------------------------------------------

// Only the first three letters of a password count.
void DialogsTest::passwordCountsTheFirstThreeLetters() {
  Table table;
  table.game.state.players[0].password.setUtf8("abc");
  PasswordDialog dialog(table.game, table.Asking(DecisionKind::Login, 0), nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QTest::keyClicks(dialog.passwordField(), "abcd");
  dialog.button(1)->click();
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 1);
  QCOMPARE(table.game.state.turnPhase, TurnPhase::Moving);  // the phase is the referee's
  QVERIFY(table.errors.isEmpty());
}

// A player without a password refuses with Enter: the focus starts on the refusing button.
void DialogsTest::consentEnterRefusesWithoutPassword() {
  Table table;
  table.game.state.workPlayers = table.game.state.players;
  ConsentDialog dialog(table.game, table.Asking(DecisionKind::Consent, 1), nullptr, nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QVERIFY(!dialog.passwordField()->isVisible());
  QVERIFY(dialog.button(2)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 0);
}

// The asked player's password is the one of the play window's copy of the players.
void DialogsTest::consentChecksTheCopysPassword() {
  Table table;
  GameState& state = table.game.state;
  state.players[1].password.setUtf8("abc");
  state.workPlayers = state.players;
  state.workPlayers[1].password.setUtf8("xyz");
  ConsentDialog dialog(table.game, table.Asking(DecisionKind::Consent, 1), nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Bo"));
  dialog.passwordField()->setText("abc");
  dialog.button(1)->click();
  QVERIFY(dialog.isVisible());
  QCOMPARE(table.errors, QStringList{table.Text(kTextWrongPassword)});
  dialog.passwordField()->setText("xyz");
  dialog.button(1)->click();
  QCOMPARE(dialog.result(), 1);
  QCOMPARE(state.turnPhase, TurnPhase::Moving);
}

// ---- Auction dialog ----------------------------------------------------------------------------

// A person's turn in the auction: the bid field takes digits only, a bid must rise and needs
// the bidder's password; what the dialog returns is the bid or the pass. After the end only OK
// is left.
void DialogsTest::personsAuction() {
  Table table({0, 0, 0});
  GameState& state = table.game.state;
  state.players[0].password.setUtf8("abc");
  Auction auction(table.game);
  AuctionDialog dialog(table.game, auction, nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  DecisionRequest turn = table.Asking(DecisionKind::AuctionBid, auction.bidder());
  turn.auction = &auction;
  dialog.ShowTurn(turn);
  QCOMPARE(dialog.bidField()->text(), QStringLiteral("0"));
  QVERIFY(dialog.passwordField()->isVisible());
  dialog.bidField()->clear();
  QTest::keyClicks(dialog.bidField(), "5a0 -0");
  QCOMPARE(dialog.bidField()->text(), QStringLiteral("500"));
  dialog.button(1)->click();  // no password typed
  dialog.passwordField()->setText("abc");
  dialog.bidField()->clear();
  dialog.button(1)->click();  // nothing bid
  QCOMPARE(table.errors, (QStringList{table.Text(kTextWrongPassword), table.Text(kTextBidTooLow)}));
  dialog.bidField()->setText("500");
  dialog.button(1)->click();
  QCOMPARE(dialog.Await(), 1);
  QCOMPARE(dialog.answer().amount, 500);
  QCOMPARE(auction.highestBid(), 0);  // the referee, not the dialog, takes the bid

  auction.Bid(500);
  turn.player = auction.bidder();
  dialog.ShowTurn(turn);
  QVERIFY(dialog.passwordField()->isHidden());
  dialog.button(2)->click();
  QCOMPARE(dialog.Await(), 2);

  auction.Pass();
  auction.Pass();
  QVERIFY(auction.ended());
  turn.kind = DecisionKind::AuctionClose;
  dialog.ShowTurn(turn);
  QVERIFY(dialog.button(1)->isVisible());
  QVERIFY(dialog.button(2)->isHidden());
  QVERIFY(dialog.bidField()->isHidden());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.Await(), 1);
  QVERIFY(dialog.isVisible());  // the front end closes it when the auction is over
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
