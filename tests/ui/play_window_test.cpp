// The play window driven through its controls (offscreen): deals on the working copies, the
// messages it shows, and what OK and Cancel leave in the game.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <memory>

#include "rules/game.h"
#include "headless/headless_front_end.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/play_window.h"

using namespace tomtura;

namespace {

// Records the messages and answers consents from a script (no when it runs out).
class RecordingFrontEnd : public HeadlessFrontEnd {
 public:
  QStringList shown;
  std::deque<bool> consents;
  QStringList offers;

  bool AskConsent(const std::string& offer) override {
    offers << QString::fromStdString(offer);
    const bool yes = !consents.empty() && consents.front();
    if (!consents.empty()) consents.pop_front();
    return yes;
  }
  void ShowMessage(const std::string& text, MessageIcon) override {
    shown << QString::fromStdString(text);
  }
};

// The default edition's board and texts; Anna (on turn) and Bo are persons, Dator is not.
struct Table {
  RecordingFrontEnd ui;
  Game game{TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst"), ui, 3};
  BoardPicture picture;

  Table() {
    game.texts.LoadPropertyTable(game.state.properties);
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    picture.SetSheet(sheet);
    GameState& s = game.state;
    s.playerCount = 3;
    const char* names[] = {"Anna", "Bo", "Dator"};
    for (int n = 0; n < 3; ++n) {
      s.players[n].name.setUtf8(names[n]);
      s.players[n].money = kStartMoney;
    }
    s.players[2].isComputer = 1;
    s.currentPlayer = 0;
    s.turnPhase = TurnPhase::AwaitRoll;
  }
  void Own(int player, std::initializer_list<int> properties) {
    for (int p : properties) game.state.properties[p].owner = static_cast<std::int16_t>(player);
  }
  QString Text(int n) const { return QString::fromStdString(game.Text(n)); }
};

template <typename T>
T* Control(PlayWindow& window, int page, int id) {
  T* control = FindControl<T>(window.page(page), id);
  if (control == nullptr) qFatal("control %d missing on page %d", id, page);
  return control;
}

// Chooses property p in a property list.
void Choose(QComboBox* list, int p) {
  const int index = list->findData(p);
  QVERIFY2(index >= 0, qPrintable(QString("property %1 not listed").arg(p)));
  list->setCurrentIndex(index);
}

void Click(PlayWindow& window, int page, int id) {
  Control<QPushButton>(window, page, id)->click();
}

constexpr int kBuyPage = 0;
constexpr int kSellPage = 1;
constexpr int kMortgagePage = 2;
constexpr int kUnmortgagePage = 3;
constexpr int kHousePage = 4;

}  // namespace

class PlayWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void cancelAfterSeveralDealsLeavesTheGameAsItWas();
  void twoHousesGiveOneLogLineAndUnevenIsRefused();
  void askChecksItsFieldsFirst();
  void unmortgageShowsHalfAndChargesATwentiethMore();
  void pagesThatSpendAreClosedWhileInDebt();
  void saleThatLeavesTheDebtorUnableToPayClosesAsOk();
};

void PlayWindowTest::cancelAfterSeveralDealsLeavesTheGameAsItWas() {
  Table t;
  t.Own(0, {2, 3, 4, 9});
  t.Own(1, {0, 1, 12});
  t.game.state.log.Add(0, "före");
  const GameState before = t.game.state;
  t.ui.consents = {true, false};
  {
    PlayWindow window(t.game, t.picture, kBuyPage, nullptr);
    QCOMPARE(t.game.state.turnPhase, TurnPhase::Dealing);
    // Bo sells Lergropsvägen, then refuses Rådhusgatan.
    Choose(Control<QComboBox>(window, kBuyPage, 1018), 0);
    Control<QLineEdit>(window, kBuyPage, 1034)->setText("1500");
    Click(window, kBuyPage, 1023);
    Choose(Control<QComboBox>(window, kBuyPage, 1018), 12);
    Click(window, kBuyPage, 1023);
    QCOMPARE(t.ui.offers.size(), 2);
    QCOMPARE(Control<QComboBox>(window, kBuyPage, 1018)->findData(12), -1);  // asked once only
    // A mortgage and a house.
    window.SelectPage(kMortgagePage);
    Choose(Control<QComboBox>(window, kMortgagePage, 1037), 9);
    Click(window, kMortgagePage, 1022);
    window.SelectPage(kHousePage);
    Click(window, kHousePage, 1004);
    QCOMPARE(window.deals().workMoney(), kStartMoney - 1500 + 3400 / 2 - 1000);
    QVERIFY(t.ui.shown.isEmpty());
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(window.result(), PlayWindow::kCancel);
  }
  const GameState& after = t.game.state;
  QVERIFY(after.players == before.players);
  QVERIFY(after.properties == before.properties);
  QVERIFY(after.log.entries() == before.log.entries());
  QCOMPARE(after.turnPhase, TurnPhase::AwaitRoll);
  for (int p = 0; p < kPropertyCount; ++p) QCOMPARE(after.askedThisTurn[p], p == 12 ? 1 : 0);
}

void PlayWindowTest::twoHousesGiveOneLogLineAndUnevenIsRefused() {
  Table t;
  t.Own(0, {0, 1});
  PlayWindow window(t.game, t.picture, kHousePage, nullptr);
  auto* list = Control<QComboBox>(window, kHousePage, 1037);
  QCOMPARE(list->count(), 2);
  Click(window, kHousePage, 1004);
  Click(window, kHousePage, 1004);  // Lergropsvägen again, before Kvarnbacken has one
  QCOMPARE(t.ui.shown, QStringList{t.Text(108)});
  Choose(list, 1);
  Click(window, kHousePage, 1004);
  Choose(list, 0);
  Click(window, kHousePage, 1004);
  QCOMPARE(Control<QLabel>(window, kHousePage, 1012)->text(), QString("2"));
  QCOMPARE(Control<QLabel>(window, kHousePage, 1034)->text(), QString("1000"));
  FindControl<QPushButton>(&window, PlayWindow::kIdOk)->click();
  QCOMPARE(window.result(), PlayWindow::kOk);
  const auto& log = t.game.state.log.entries();  // newest first
  QCOMPARE(int(log.size()), 2);
  QCOMPARE(QString::fromStdString(log[1]), QString("0Anna köpte hus på Lergropsvägen"));
  QCOMPARE(QString::fromStdString(log[0]), QString("0Anna köpte hus på Kvarnbacken"));
  QCOMPARE(t.game.state.players[0].money, kStartMoney - 3000);
}

void PlayWindowTest::askChecksItsFieldsFirst() {
  Table t;
  t.Own(1, {5});
  t.game.state.players[0].money = 1000;
  PlayWindow window(t.game, t.picture, kBuyPage, nullptr);
  auto* price = Control<QLineEdit>(window, kBuyPage, 1034);
  QTest::keyClicks(price, "12a3x4567");
  QCOMPARE(price->text(), QString("123456"));  // digits only, six of them
  Click(window, kBuyPage, 1023);               // above the working money
  Control<QCheckBox>(window, kBuyPage, 1033)->setChecked(true);
  price->setText("900");
  Click(window, kBuyPage, 1023);  // exchange without an own property
  QCOMPARE(t.ui.shown, (QStringList{t.Text(99), t.Text(98)}));
  QVERIFY(t.ui.offers.isEmpty());
}

void PlayWindowTest::unmortgageShowsHalfAndChargesATwentiethMore() {
  Table t;
  t.Own(0, {21});  // Sjöterrassen, 7600
  t.game.state.properties[21].mortgaged = 1;
  t.game.state.players[0].money = 3800 + 380;
  PlayWindow window(t.game, t.picture, kUnmortgagePage, nullptr);
  QCOMPARE(Control<QLabel>(window, kUnmortgagePage, 1013)->text(), QString("3800"));
  Click(window, kUnmortgagePage, 1022);
  QCOMPARE(window.deals().workMoney(), 0);
  QCOMPARE(Control<QComboBox>(window, kUnmortgagePage, 1037)->count(), 0);
  FindControl<QPushButton>(&window, PlayWindow::kIdOk)->click();
  QCOMPARE(QString::fromStdString(t.game.state.log.entries().front()),
           QString("0Anna upptecknade Sjöterrassen"));
}

void PlayWindowTest::pagesThatSpendAreClosedWhileInDebt() {
  Table t;
  t.Own(0, {9});
  t.game.state.players[0].money = -500;
  PlayWindow window(t.game, t.picture, kSellPage, nullptr);
  struct Case {
    int page;
    bool locked;
  };
  for (const Case c : {Case{kBuyPage, true}, Case{kSellPage, false}, Case{kMortgagePage, false},
                       Case{kUnmortgagePage, true}, Case{kHousePage, true}, Case{5, false}}) {
    t.ui.shown.clear();
    window.SelectPage(c.page);
    QCOMPARE(window.currentPage(), c.page);
    QCOMPARE(window.page(c.page)->isEnabled(), !c.locked);
    QCOMPARE(t.ui.shown, c.locked ? QStringList{t.Text(121)} : QStringList{});
  }
  // Mortgaging pays the debt; the pages open again.
  window.SelectPage(kMortgagePage);
  Click(window, kMortgagePage, 1022);
  t.ui.shown.clear();
  window.SelectPage(kBuyPage);
  QVERIFY(window.page(kBuyPage)->isEnabled());
  QVERIFY(t.ui.shown.isEmpty());
}

void PlayWindowTest::saleThatLeavesTheDebtorUnableToPayClosesAsOk() {
  Table t;
  t.Own(0, {0});
  t.game.state.players[0].money = -5000;
  t.ui.consents = {false};
  PlayWindow window(t.game, t.picture, kSellPage, nullptr);
  Control<QLineEdit>(window, kSellPage, 1034)->setText("100");
  Click(window, kSellPage, 1023);
  QCOMPARE(window.result(), PlayWindow::kCannotPay);
  QCOMPARE(t.game.state.turnPhase, TurnPhase::Dealing);  // until the window goes
}

QTEST_MAIN(PlayWindowTest)
#include "play_window_test.moc"
