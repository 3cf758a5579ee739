// SPDX-License-Identifier: GPL-3.0-or-later
// The question, password, consent and auction dialogs, driven as a player drives them
// (offscreen): what each button and key returns. Changing the game is the referee's.
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <tuple>

#include "data/text_ids.h"
#include "test_suites.h"
#include "trade/auction.h"
#include "ui/auction_dialog.h"
#include "ui/password_dialog.h"
#include "ui/question_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// A new game of the default edition with persons (0) or computer players (1) at the table, the
// dialogs' error boxes caught.
struct Table : Harness {
  QStringList errors;  // texts of the error boxes, in order

  explicit Table(std::initializer_list<int> isComputer = {0, 0}) { Start(isComputer); }
  void Catch(FramedDialog& dialog) {
    dialog.SetErrorBox([this](const QString& text) { errors << text; });
  }
  // The question of catalogue text `n`, filled in as the rules fill it.
  DecisionRequest Question(int n, bool twoButtons) const {
    return game->referee.QuestionRequest(
        game->FormatCatalogue(n, std::string("Anna"), std::string("Torggatan"), 1200), twoButtons);
  }
  static DecisionRequest Asking(DecisionKind kind, int player) {
    DecisionRequest request;
    request.kind = kind;
    request.player = player;
    return request;
  }
};

// An auction of the table's game in its dialog, shown, and the bid its first bidder is asked for.
struct AuctionScene {
  explicit AuctionScene(Table& table)
      : auction(*table.game),
        dialog(*table.game, auction, nullptr, nullptr),
        turn(Table::Asking(DecisionKind::AuctionBid, auction.bidder())) {
    table.Catch(dialog);
    dialog.show();
    turn.auction = &auction;
  }
  Auction auction;
  AuctionDialog dialog;
  DecisionRequest turn;
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void questionEscape_data();
  void questionEscape();
  void computerAnswerIsShownUntilSkipped_data();
  void computerAnswerIsShownUntilSkipped();
  void remoteQuestionShowsWithoutButtonsUntilItsAnswer();

  void passwordsAreCheckedAsTyped();

  void personsAuction();
  void remoteBiddersTurnHasNothingToPress();

  void titlesAreShownWhole();
};

// ---- Question dialog ---------------------------------------------------------------------------

// Escape declines an offer and acknowledges a notice, but never gives up a player's game on the
// debt question. The kind of each shipped question is tests/assets/board_file_test.cpp's.
void DialogsTest::questionEscape_data() {
  QTest::addColumn<int>("text");
  QTest::addColumn<bool>("twoButtons");
  QTest::addColumn<int>("escape");  // the result of Escape, -1: the question stays
  QTest::newRow("offer") << kTextPurchaseOffer << true << 2;
  QTest::newRow("debt") << kTextDebtQuestion << true << -1;
  QTest::newRow("rent notice") << kTextRent << false << 1;
}

void DialogsTest::questionEscape() {
  QFETCH(int, text);
  QFETCH(bool, twoButtons);
  QFETCH(int, escape);
  Table table;
  QuestionDialog dialog(*table.game, table.Question(text, twoButtons), nullptr, nullptr);
  dialog.show();
  QCOMPARE(dialog.button(2)->isVisible(), twoButtons);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.isVisible(), escape == -1);
  if (escape != -1) QCOMPARE(dialog.result(), escape);
}

// A computer player's answer shows with only the button it chose, and the question closes
// itself with that button when the request's delay has run out, or at once on a key or a click
// on the card; dragging the card only moves it.
void DialogsTest::computerAnswerIsShownUntilSkipped_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("skip");
  for (const int answer : {1, 2}) {
    for (const char* skip : {"wait", "key", "click", "drag"}) {
      QTest::addRow("%d %s", answer, skip) << answer << QString(skip);
    }
  }
}

void DialogsTest::computerAnswerIsShownUntilSkipped() {
  QFETCH(int, answer);
  QFETCH(QString, skip);
  Table table;
  DecisionRequest request = table.Question(kTextPurchaseOffer, true);
  request.answerDelayMs = skip == "wait" ? 50 : 60000;
  QuestionDialog dialog(*table.game, request, nullptr, nullptr, Decision{answer, 0, nullptr});
  QVERIFY(dialog.answerPending());
  QVERIFY(dialog.button(3 - answer)->isHidden());
  bool stillShown = true;
  QTimer::singleShot(0, &dialog, [&] {
    const QPoint inside(20, 20);
    if (skip == "key") QTest::keyClick(&dialog, Qt::Key_S);
    if (skip == "click") QTest::mouseClick(&dialog, Qt::LeftButton, {}, inside);
    if (skip == "drag") {
      QTest::mousePress(&dialog, Qt::LeftButton, {}, inside);
      QTest::mouseMove(&dialog, inside + QPoint(40, 30));
      QTest::mouseRelease(&dialog, Qt::LeftButton, {}, inside + QPoint(40, 30));
      stillShown = dialog.answerPending();
      dialog.SkipAnswer();
    }
  });
  int result = 0;
  QVERIFY(MsTaken([&] { result = dialog.exec(); }) < 10000);
  QCOMPARE(result, answer);
  QVERIFY(stillShown);
}

// A question to a player at another computer shows, without a button to press, until his answer
// arrives; then only his button shows, and the question closes itself after the delay.
void DialogsTest::remoteQuestionShowsWithoutButtonsUntilItsAnswer() {
  Table table;
  DecisionRequest request = table.Question(kTextPurchaseOffer, true);
  request.answerDelayMs = 50;
  table.ui.ShowAwaited(request);
  QuestionDialog* shown = table.ui.awaitedQuestion();
  QVERIFY(shown != nullptr);
  QVERIFY(QTest::qWaitForWindowExposed(shown));
  QVERIFY(shown->button(1)->isHidden() && shown->button(2)->isHidden());
  QTest::keyClick(shown, Qt::Key_Escape);
  QTest::keyClick(shown, Qt::Key_Return);
  QVERIFY(shown->isVisible());

  int result = 0;
  bool firstHidden = false;
  table.playDialog = [&](QDialog& dialog) {
    result = dialog.exec();
    firstHidden = static_cast<QuestionDialog&>(dialog).button(1)->isHidden();
    return result;
  };
  table.ui.ShowAnswer(request, Decision{2, 0, nullptr});
  QCOMPARE(result, 2);
  QVERIFY(firstHidden);
  QCOMPARE(table.ui.awaitedQuestion(), nullptr);
}

// ---- Password and consent dialogs --------------------------------------------------------------

// The password does not show; a wrong one is refused, and only its first three letters count.
// The consent asks for the password of the play window's copy of the players; without one, Enter
// refuses.
void DialogsTest::passwordsAreCheckedAsTyped() {
  Table table({0, 0, 0});
  GameState& state = table.game->state;
  state.players[0].password.setUtf8("abc");
  state.players[1].password.setUtf8("abc");
  state.workPlayers = state.players;
  state.workPlayers[1].password.setUtf8("xyz");
  PasswordDialog login(*table.game, table.Asking(DecisionKind::Login, 0), nullptr, nullptr);
  ConsentDialog consent(*table.game, table.Asking(DecisionKind::Consent, 1), nullptr, nullptr);
  QCOMPARE(login.passwordField()->echoMode(), QLineEdit::Password);
  const std::tuple<LoginDialog*, const char*, const char*> cases[] = {{&login, "abx", "abcd"},
                                                                      {&consent, "abc", "xyz"}};
  for (const auto& [dialog, wrong, right] : cases) {
    table.Catch(*dialog);
    table.errors.clear();
    dialog->show();
    QTest::keyClicks(dialog->passwordField(), wrong);
    dialog->button(1)->click();
    QVERIFY(dialog->isVisible());
    QCOMPARE(table.errors, QStringList{table.Text(kTextWrongPassword)});
    dialog->passwordField()->clear();
    QTest::keyClicks(dialog->passwordField(), right);
    dialog->button(1)->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), 1);
    QCOMPARE(state.turnPhase, TurnPhase::AwaitRoll);  // the phase is the referee's
  }

  // A player without a password refuses with Enter: the focus starts on the refusing button.
  ConsentDialog open(*table.game, table.Asking(DecisionKind::Consent, 2), nullptr, nullptr);
  open.show();
  QVERIFY(QTest::qWaitForWindowActive(&open));
  QVERIFY(!open.passwordField()->isVisible());
  QVERIFY(open.button(2)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!open.isVisible());
  QCOMPARE(open.result(), 0);
}

// ---- Auction dialog ----------------------------------------------------------------------------

// A person's turn in the auction: the bid field takes digits only, a bid must rise and needs
// the bidder's password; what the dialog returns is the bid or the pass. After the end only OK
// is left.
void DialogsTest::personsAuction() {
  Table table({0, 0, 0});
  GameState& state = table.game->state;
  state.players[0].password.setUtf8("abc");
  AuctionScene scene(table);
  auto& [auction, dialog, turn] = scene;
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
  turn.kind = DecisionKind::AuctionClose;
  dialog.ShowTurn(turn);
  QVERIFY(dialog.button(2)->isHidden());
  QVERIFY(dialog.bidField()->isHidden());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.Await(), 1);
  QVERIFY(dialog.isVisible());  // the front end closes it when the auction is over
}

// The turn of a bidder at another computer, or a computer's: the auction as it stands, with
// nothing to type in or press here (which once answered a bid of nothing, or passed for him);
// then his bid shows.
void DialogsTest::remoteBiddersTurnHasNothingToPress() {
  Table table({0, 0, 0});
  AuctionScene scene(table);
  auto& [auction, dialog, turn] = scene;
  turn.answerDelayMs = 50;
  dialog.ShowRemoteTurn(turn);
  QVERIFY(dialog.button(1)->isHidden() && dialog.button(2)->isHidden());
  QVERIFY(dialog.bidField()->isReadOnly());
  QCOMPARE(dialog.message()->text(), QString::fromStdString(auction.message()));
  dialog.PressBid();
  dialog.PressPass();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.answered());
  QVERIFY(table.errors.isEmpty());

  dialog.ShowComputerMove(turn, Decision{1, 700, nullptr});
  QCOMPARE(dialog.bidField()->text(), QStringLiteral("700"));
  QCOMPARE(dialog.Await(), 1);
  QCOMPARE(dialog.answer().amount, 700);

  // A bid shown stays until its delay runs out (above), or a key or a click takes it at once.
  turn.answerDelayMs = 60000;
  const std::function<void()> skips[] = {
      [&] { QTest::keyClick(&dialog, Qt::Key_Space); },
      [&] { QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(20, 20)); }};
  for (const auto& skip : skips) {
    dialog.ShowComputerMove(turn, Decision{1, 800, nullptr});
    QVERIFY(dialog.computerMovePending());
    QTimer::singleShot(0, &dialog, skip);
    int result = 0;
    QVERIFY(MsTaken([&] { result = dialog.Await(); }) < 10000);
    QCOMPARE(result, 1);
    QCOMPARE(dialog.answer().amount, 800);
  }
}

// ---- Titles ------------------------------------------------------------------------------------

// A dialog with a title bar is as wide as its title needs, however short its text: the message
// boxes of the game, the login and consent dialogs, the auction.
void DialogsTest::titlesAreShownWhole() {
  Table table({0, 0, 0});
  QStringList narrow;
  const auto check = [&narrow](QWidget& window) {
    if (window.width() < TitleBarWidth(window.windowTitle())) {
      narrow << QString("%1: %2").arg(window.windowTitle()).arg(window.width());
    }
  };
  table.ui.SetModalRunner([&](QDialog& dialog) {
    dialog.show();
    check(dialog);
    dialog.hide();
    return int(QMessageBox::Ok);
  });
  table.ui.Ask("Nej!", QMessageBox::Warning, QMessageBox::Ok);
  QMessageBox chat(QMessageBox::Information, "Meddelande från Wilhelmina", "Hej", QMessageBox::Ok);
  table.ui.RunModal(chat);

  PasswordDialog login(*table.game, table.Asking(DecisionKind::Login, 0), nullptr, nullptr);
  check(login);
  DecisionRequest consent = table.Asking(DecisionKind::Consent, 1);
  consent.title = table.game->FormatCatalogue(97, std::string("Wilhelmin"));
  table.game->state.workPlayers = table.game->state.players;
  ConsentDialog asked(*table.game, consent, nullptr, nullptr);
  check(asked);
  AuctionScene bids(table);
  bids.dialog.ShowTurn(bids.turn);
  check(bids.dialog);
  QVERIFY2(narrow.isEmpty(), qPrintable(narrow.join('\n')));
}

TOMTURA_TEST_SUITE(DialogsTest);
#include "dialogs_test.moc"
