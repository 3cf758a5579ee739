// The play window driven through its controls (offscreen): what its fields refuse, the pages
// it closes, and how it answers. The deals themselves are the core's, tested there.
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

  Decision AskPerson(const DecisionRequest& request) override {
    if (request.kind != DecisionKind::Consent) return HeadlessFrontEnd::AskPerson(request);
    offers << QString::fromStdString(request.text);
    const bool yes = !consents.empty() && consents.front();
    if (!consents.empty()) consents.pop_front();
    return {yes ? 1 : 2, 0, nullptr};
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
  std::unique_ptr<PlayWindowDeals> deals;

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
  // The window on `page`, over fresh working copies.
  std::unique_ptr<PlayWindow> Open(int page) {
    deals = std::make_unique<PlayWindowDeals>(game);
    return std::make_unique<PlayWindow>(game, *deals, picture, page, nullptr);
  }
};

template <typename T>
T* Control(PlayWindow& window, int page, int id) {
  T* control = FindControl<T>(window.page(page), id);
  if (control == nullptr) qFatal("control %d missing on page %d", id, page);
  return control;
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
  void askChecksItsFieldsFirst();
  void pagesThatSpendAreClosedWhileInDebt();
  void saleThatLeavesTheDebtorUnableToPayClosesAsOk();
};

void PlayWindowTest::askChecksItsFieldsFirst() {
  Table t;
  t.Own(1, {5});
  t.game.state.players[0].money = 1000;
  const auto opened = t.Open(kBuyPage);
  PlayWindow& window = *opened;
  auto* price = Control<QLineEdit>(window, kBuyPage, 1034);
  QTest::keyClicks(price, "12a3x4567");
  QCOMPARE(price->text(), QString("123456"));  // digits only, six of them
  Click(window, kBuyPage, 1023);               // above the working money
  Control<QCheckBox>(window, kBuyPage, 1033)->setChecked(true);
  price->setText("900");
  Click(window, kBuyPage, 1023);  // exchange without an own property
  QCOMPARE(t.ui.shown, (QStringList{t.Text(99), t.Text(98)}));
  QVERIFY(t.ui.offers.isEmpty());
  // A refused street leaves the list for the rest of the turn.
  Control<QCheckBox>(window, kBuyPage, 1033)->setChecked(false);
  Click(window, kBuyPage, 1023);
  QCOMPARE(t.ui.offers.size(), 1);
  QCOMPARE(Control<QComboBox>(window, kBuyPage, 1018)->findData(5), -1);
}

void PlayWindowTest::pagesThatSpendAreClosedWhileInDebt() {
  Table t;
  t.Own(0, {9});
  t.game.state.players[0].money = -500;
  const auto opened = t.Open(kSellPage);
  PlayWindow& window = *opened;
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
  // Mortgaging (the page shows half the price) pays the debt; the pages open again.
  window.SelectPage(kMortgagePage);
  QCOMPARE(Control<QLabel>(window, kMortgagePage, 1013)->text(), QString("1700"));
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
  const auto opened = t.Open(kSellPage);
  PlayWindow& window = *opened;
  Control<QLineEdit>(window, kSellPage, 1034)->setText("100");
  Click(window, kSellPage, 1023);
  QCOMPARE(window.result(), PlayWindow::kCannotPay);
  QCOMPARE(t.game.state.players[0].money, -5000);  // the referee commits, not the window
}

QTEST_MAIN(PlayWindowTest)
#include "play_window_test.moc"
