// The question, password, consent and auction dialogs, driven as a player drives them
// (offscreen): what each button and key does to the game, the computer's own answers on
// shortened timers, and a declined purchase that goes to auction through the Qt front end.
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "rules/game.h"
#include "rules/headless.h"
#include "sound/sound.h"
#include "ui/auction_dialog.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"
#include "ui/password_dialog.h"
#include "ui/qt_front_end.h"
#include "ui/question_dialog.h"

using namespace tomtura;

namespace {

constexpr int kFastTimerMs = 10;
constexpr int kGiveUpMs = 3000;  // a dialog that has not closed by then never will
constexpr int kOfferSquare = 1;  // the first street, property 0
constexpr int kTextDebt = 81;
constexpr int kTextOffer = 66;
constexpr int kTextBail = 82;
constexpr int kTextRent = 71;
constexpr int kTextBidTooLow = 58;
constexpr int kTextAuctionOver = 60;
constexpr int kTextConsentTitle = 97;

const QString kBoardFile = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst");

// The rules' front end for dialogs opened directly: the play window is whatever the test says.
class StubFrontEnd : public HeadlessFrontEnd {
 public:
  std::function<int(int page)> playWindow = [](int) { return 2; };
  QList<int> pagesOpened;
  int OpenPlayWindow(int page) override {
    pagesOpened << page;
    return playWindow(page);
  }
};

// A game of the default edition with persons or computer players at the table, all on the
// first street's square.
template <typename FrontEndType>
struct BasicTable {
  FrontEndType ui;
  Game game;
  QStringList errors;  // texts of the error boxes, in order

  explicit BasicTable(std::initializer_list<int> isComputer = {0, 0})
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
  }

  void Catch(FramedDialog& dialog) {
    dialog.SetErrorBox([this](const QString& text) { errors << text; });
  }
  QString Text(int n) const { return QString::fromStdString(game.Text(n)); }
  std::string Format(int n) const {
    return game.FormatCatalogue(n, std::string("Anna"), std::string("Torggatan"), 1200);
  }
};

struct Table : BasicTable<StubFrontEnd> {
  explicit Table(std::initializer_list<int> isComputer = {0, 0}) : BasicTable(isComputer) {
    ui.Attach(game);
  }
};

// Runs `dialog` modally; a dialog still open after kGiveUpMs ends with -1.
int Exec(QDialog& dialog) {
  QTimer::singleShot(kGiveUpMs, &dialog, [&dialog] { dialog.done(-1); });
  return dialog.exec();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { FramedDialog::SetTimerOverride(-1); }

  void questionKindAndEscape_data();
  void questionKindAndEscape();
  void computerAnswersItself_data();
  void computerAnswersItself();
  void debtQuestionStaysWhileMoneyIsShort();

  void passwordDialog_data();
  void passwordDialog();
  void consentEnterRefuses_data();
  void consentEnterRefuses();
  void consentReadsTheWorkingCopy();

  void personsAuction();
  void computerAuctionPlaysAndClosesItself();

  void declinedPurchaseGoesToAuctionThroughTheFrontEnd();
};

// ---- Question dialog ---------------------------------------------------------------------------

// The shipped texts carry the keywords that give each question its kind.
void DialogsTest::questionKindAndEscape_data() {
  QTest::addColumn<int>("text");
  QTest::addColumn<bool>("twoButtons");
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("escape");  // the result of Escape, -1: the question stays
  QTest::newRow("offer") << kTextOffer << true << 4 << 2;
  QTest::newRow("bail") << kTextBail << true << 2 << 2;
  QTest::newRow("debt") << kTextDebt << true << 3 << -1;
  QTest::newRow("rent notice") << kTextRent << false << 5 << 1;
}

void DialogsTest::questionKindAndEscape() {
  QFETCH(int, text);
  QFETCH(bool, twoButtons);
  QFETCH(int, kind);
  QFETCH(int, escape);
  Table table;
  QuestionDialog dialog(table.game, {table.Format(text), twoButtons}, nullptr, nullptr);
  dialog.show();
  QCOMPARE(dialog.kind(), kind);
  QVERIFY(!dialog.answerPending());  // a person answers himself
  QCOMPARE(dialog.button(2)->isVisible(), twoButtons);

  // Escape never gives up a player's game on the debt question.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(dialog.isVisible(), escape == -1);
  if (escape != -1) QCOMPARE(dialog.result(), escape);
  QVERIFY(table.ui.pagesOpened.isEmpty());
}

void DialogsTest::computerAnswersItself_data() {
  QTest::addColumn<int>("money");
  QTest::addColumn<bool>("twoButtons");
  QTest::addColumn<int>("answer");
  QTest::newRow("rich buys") << kStartMoney << true << 1;
  QTest::newRow("poor declines") << 100 << true << 2;
}

// The button not chosen is hidden; the answer comes by itself on the timer.
void DialogsTest::computerAnswersItself() {
  QFETCH(int, money);
  QFETCH(bool, twoButtons);
  QFETCH(int, answer);
  Table table({1, 0});
  table.game.state.players[0].money = money;
  table.game.state.offeredProperty = 0;
  FramedDialog::SetTimerOverride(kFastTimerMs);
  QuestionDialog dialog(table.game, {table.Format(kTextOffer), twoButtons}, nullptr, nullptr);
  QVERIFY(dialog.answerPending());
  QCOMPARE(dialog.button(1)->isEnabled(), answer == 1);
  QCOMPARE(dialog.button(2)->isEnabled(), answer == 2);
  QCOMPARE(Exec(dialog), answer);
}

// Paying sends the player to the selling page; while he is still short the question stays, and
// it closes as soon as the money is enough, or when the play window finds he cannot pay.
void DialogsTest::debtQuestionStaysWhileMoneyIsShort() {
  Table table;
  GameState& state = table.game.state;
  state.players[0].money = -500;
  QuestionDialog dialog(table.game, {table.game.Text(kTextDebt), true}, nullptr, nullptr);
  dialog.show();

  dialog.button(1)->click();
  QCOMPARE(table.ui.pagesOpened, QList<int>{1});
  QVERIFY(dialog.isVisible());
  QCOMPARE(state.turnPhase, TurnPhase::Dealing);

  table.ui.playWindow = [&state](int) {
    state.players[0].money = 100;
    return 1;
  };
  dialog.button(1)->click();
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 1);

  QuestionDialog broke(table.game, {table.game.Text(kTextDebt), true}, nullptr, nullptr);
  broke.show();
  state.players[0].money = -500;
  table.ui.playWindow = [](int) { return 3; };
  broke.button(1)->click();
  QVERIFY(!broke.isVisible());
  QCOMPARE(broke.result(), QuestionDialog::kClosedByPlayWindow);
}

// ---- Password and consent dialogs --------------------------------------------------------------

void DialogsTest::passwordDialog_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("button");
  QTest::addColumn<int>("result");  // -1: still open
  QTest::addColumn<TurnPhase>("phase");
  QTest::newRow("first three count") << "abcd" << 1 << 1 << TurnPhase::AwaitRoll;
  QTest::newRow("wrong") << "abd" << 1 << -1 << TurnPhase::Moving;
  QTest::newRow("cancel") << "abc" << 2 << 0 << TurnPhase::AwaitLogin;
}

void DialogsTest::passwordDialog() {
  QFETCH(QString, typed);
  QFETCH(int, button);
  QFETCH(int, result);
  QFETCH(TurnPhase, phase);
  Table table;
  table.game.state.players[0].password.setUtf8("abc");
  PasswordDialog dialog(table.game, nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QCOMPARE(dialog.message()->text(), QStringLiteral("Anna, skriv ditt lösenord:"));
  QCOMPARE(dialog.focusWidget(), dialog.passwordField());
  QTest::keyClicks(dialog.passwordField(), typed);
  dialog.button(button)->click();

  QCOMPARE(dialog.isVisible(), result == -1);
  QCOMPARE(table.game.state.turnPhase, phase);
  if (result == -1) {
    QCOMPARE(table.errors, QStringList{table.Text(kTextWrongPassword)});
    QCOMPARE(dialog.passwordField()->selectedText(), typed);
  } else {
    QVERIFY(table.errors.isEmpty());
    QCOMPARE(dialog.result(), result);
  }
}

void DialogsTest::consentEnterRefuses_data() {
  QTest::addColumn<QString>("password");
  QTest::newRow("with password") << "abc";
  QTest::newRow("without password") << "";
}

// Enter refuses whether the asked player types his password first or has none.
void DialogsTest::consentEnterRefuses() {
  QFETCH(QString, password);
  Table table;
  table.game.state.players[1].password.setUtf8(password.toStdString());
  table.game.state.consentPlayer = 1;
  ConsentDialog dialog(table.game, "Ett erbjudande", nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QCOMPARE(dialog.passwordField()->isVisible(), !password.isEmpty());
  QWidget* focus = password.isEmpty() ? static_cast<QWidget*>(dialog.button(2))
                                      : static_cast<QWidget*>(dialog.passwordField());
  QVERIFY(focus->hasFocus());
  QTest::keyClicks(QApplication::focusWidget(), password);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 0);
  QVERIFY(table.errors.isEmpty());
}

// Name and password come from the play window's copy, which is filled from the live records
// only when it is empty.
void DialogsTest::consentReadsTheWorkingCopy() {
  Table table;
  GameState& state = table.game.state;
  state.consentPlayer = 1;
  {
    ConsentDialog dialog(table.game, "Erbjudande", nullptr, nullptr);
    QCOMPARE(state.workPlayers, state.players);
    QCOMPARE(state.turnPhase, TurnPhase::Dealing);
    QCOMPARE(dialog.windowTitle(), table.Text(kTextConsentTitle).replace("%s", "Bo"));
    dialog.button(1)->click();  // no password asked
    QCOMPARE(dialog.result(), 1);
  }
  QCOMPARE(state.turnPhase, TurnPhase::Moving);

  state.players[1].password.setUtf8("abc");
  state.workPlayers[1].name.setUtf8("Kopian");
  state.workPlayers[1].password.setUtf8("xyz");
  ConsentDialog dialog(table.game, "Erbjudande", nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QVERIFY(dialog.windowTitle().contains("Kopian"));
  dialog.passwordField()->setText("abc");
  dialog.button(1)->click();
  QVERIFY(dialog.isVisible());
  QCOMPARE(table.errors, QStringList{table.Text(kTextWrongPassword)});
  dialog.passwordField()->setText("xyz");
  dialog.button(1)->click();
  QCOMPARE(dialog.result(), 1);
}

// ---- Auction dialog ----------------------------------------------------------------------------

// Persons at one computer: the bid field takes digits only, a bid needs the bidder's password
// and must rise, a pass needs neither; after the last pass only OK is left and the winner has
// paid once.
void DialogsTest::personsAuction() {
  Table table({0, 0, 0});
  table.game.state.players[0].password.setUtf8("abc");
  table.game.state.players[1].password.setUtf8("xyz");
  AuctionDialog dialog(table.game, nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QCOMPARE(dialog.bidField()->text(), QStringLiteral("0"));
  dialog.bidField()->clear();
  QTest::keyClicks(dialog.bidField(), "5a0 -0");
  QCOMPARE(dialog.bidField()->text(), QStringLiteral("500"));
  dialog.passwordField()->setText("abz");
  dialog.button(1)->click();
  QCOMPARE(dialog.auction().highestBid(), 0);
  QCOMPARE(dialog.focusWidget(), dialog.passwordField());
  QCOMPARE(dialog.passwordField()->selectedText(), QStringLiteral("abz"));
  dialog.passwordField()->setText("abc");
  dialog.bidField()->clear();
  dialog.button(1)->click();
  QCOMPARE(dialog.focusWidget(), dialog.bidField());
  QCOMPARE(table.errors, QStringList({table.Text(kTextWrongPassword), table.Text(kTextBidTooLow)}));
  QCOMPARE(dialog.auction().bidder(), 0);

  dialog.bidField()->setText("500");
  dialog.button(1)->click();
  QCOMPARE(dialog.auction().highestBid(), 500);
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Tomtura – auktion. Budgivare: Bo"));
  QVERIFY(dialog.passwordField()->text().isEmpty());
  dialog.button(2)->click();
  QVERIFY(!dialog.passwordField()->isVisible());  // Cilla has none
  dialog.button(2)->click();
  QCOMPARE(table.errors.size(), 2);

  QVERIFY(dialog.auction().ended());
  QCOMPARE(table.game.state.players[0].money, kStartMoney - 500);
  QCOMPARE(dialog.windowTitle(), table.Text(kTextAuctionOver));
  QVERIFY(dialog.button(1)->isVisible());
  for (int id : {2, AuctionDialog::kIdBid, AuctionDialog::kIdBidLabel, kIdPassword}) {
    QVERIFY2(FindControl(&dialog, id)->isHidden(), qPrintable(QString::number(id)));
  }
  QVERIFY(!dialog.closing());  // a person on turn closes it himself
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 0);
  QCOMPARE(table.game.state.players[0].money, kStartMoney - 500);
}

// Computer players only: they bid on timer 2 and timer 1 closes the ended auction.
void DialogsTest::computerAuctionPlaysAndClosesItself() {
  Table table({1, 1, 1});
  table.game.state.players[2].money = 50;  // too poor to take part beyond passing
  FramedDialog::SetTimerOverride(kFastTimerMs);
  AuctionDialog dialog(table.game, nullptr, nullptr);
  table.Catch(dialog);
  const int winner = Exec(dialog);
  QVERIFY(dialog.auction().ended());
  QCOMPARE(winner, dialog.winner());
  QVERIFY(table.errors.isEmpty());
  const int paid = dialog.auction().highestBid();
  QVERIFY(paid >= table.game.state.properties[0].price);
  QCOMPARE(table.game.state.players[winner].money, kStartMoney - paid);
  QCOMPARE(table.game.state.turnPhase, TurnPhase::Dealing);
}

// ---- Through the Qt front end ------------------------------------------------------------------

// A person declines the offer, bids in the auction (his first password wrong, which the front
// end's one route for message boxes shows), the other passes, and the winner owns and has paid.
void DialogsTest::declinedPurchaseGoesToAuctionThroughTheFrontEnd() {
  BasicTable<QtFrontEnd> table;
  QTemporaryDir dir;
  BoardPicture picture;
  SoundEffects sound(table.game.texts, dir.path());
  MainWindow window(table.game, table.ui, picture, sound, dir.path());
  Game& game = table.game;
  QtFrontEnd& ui = table.ui;
  GameState& state = game.state;
  state.players[0].password.setUtf8("abc");
  state.players[1].position = 0;
  state.die1 = 1;
  state.die2 = 2;
  state.gameRunning = 1;

  QStringList seen;
  ui.SetModalRunner([&](QDialog& dialog) -> int {
    seen << dialog.metaObject()->className();
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
      seen << box->text();
      return QMessageBox::Ok;
    }
    dialog.show();
    if (auto* question = qobject_cast<QuestionDialog*>(&dialog)) {
      question->button(2)->click();
    } else if (auto* auction = qobject_cast<AuctionDialog*>(&dialog)) {
      auction->bidField()->setText("900");
      auction->passwordField()->setText("xyz");
      auction->button(1)->click();
      auction->passwordField()->setText("abc");
      auction->button(1)->click();
      auction->button(2)->click();  // Bo passes
      auction->button(1)->click();  // OK after the end
    }
    return dialog.result();
  });
  QCOMPARE(game.ResolveLanding(false), 1);

  QCOMPARE(seen, QStringList({"tomtura::QuestionDialog", "tomtura::AuctionDialog", "QMessageBox",
                              QString::fromStdString(game.Text(kTextWrongPassword))}));
  QCOMPARE(state.properties[0].owner, 0);
  QCOMPARE(state.players[0].money, kStartMoney - 900);
  QCOMPARE(QString::fromStdString(state.log.entries().front()),
           QStringLiteral("0Anna  buy  Lergropsvägen in auction for 900 $ "));
  QVERIFY(!ui.modalOpen());
  QCOMPARE(state.currentPlayer, 1);
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
