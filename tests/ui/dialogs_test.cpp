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

using namespace tomtura;

namespace {

constexpr int kOfferSquare = 1;  // the first street, property 0
constexpr int kTextDebt = 81;
constexpr int kTextOffer = 66;
constexpr int kTextRent = 71;
constexpr int kTextBidTooLow = 58;

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
struct Table {
  StubFrontEnd ui;
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
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void questionKindAndEscape_data();
  void questionKindAndEscape();
  void debtQuestionStaysWhileMoneyIsShort();

  void passwordCountsTheFirstThreeLetters();
  void consentEnterRefusesWithoutPassword();
  void consentReadsTheWorkingCopy();

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

// Only the first three letters of a password count.
void DialogsTest::passwordCountsTheFirstThreeLetters() {
  Table table;
  table.game.state.players[0].password.setUtf8("abc");
  PasswordDialog dialog(table.game, nullptr, nullptr);
  table.Catch(dialog);
  dialog.show();
  QTest::keyClicks(dialog.passwordField(), "abcd");
  dialog.button(1)->click();
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 1);
  QCOMPARE(table.game.state.turnPhase, TurnPhase::AwaitRoll);
  QVERIFY(table.errors.isEmpty());
}

// A player without a password refuses with Enter: the focus starts on the refusing button.
void DialogsTest::consentEnterRefusesWithoutPassword() {
  Table table;
  table.game.state.consentPlayer = 1;
  ConsentDialog dialog(table.game, "Ett erbjudande", nullptr, nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QVERIFY(!dialog.passwordField()->isVisible());
  QVERIFY(dialog.button(2)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), 0);
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

// Persons at one computer: the bid field takes digits only, a bid must rise; after the last pass
// only OK is left and the winner has paid once.
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
  dialog.passwordField()->setText("abc");
  dialog.bidField()->clear();
  dialog.button(1)->click();
  QCOMPARE(table.errors, QStringList{table.Text(kTextBidTooLow)});
  QCOMPARE(dialog.auction().bidder(), 0);

  dialog.bidField()->setText("500");
  dialog.button(1)->click();
  QCOMPARE(dialog.auction().highestBid(), 500);
  dialog.button(2)->click();
  dialog.button(2)->click();
  QCOMPARE(table.errors.size(), 1);

  QVERIFY(dialog.auction().ended());
  QCOMPARE(table.game.state.players[0].money, kStartMoney - 500);
  QVERIFY(dialog.button(1)->isVisible());
  QVERIFY(dialog.button(2)->isHidden());
  QVERIFY(!dialog.closing());  // a person on turn closes it himself
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
