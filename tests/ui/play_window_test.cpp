// SPDX-License-Identifier: GPL-3.0-or-later
// The play window driven through its controls (offscreen): what its fields refuse as typed, the
// pages it closes, and how it answers. The deals themselves are the core's
// (tests/trade/play_deals_test.cpp).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <tuple>

#include "data/text_ids.h"
#include "test_suites.h"
#include "ui/control_ids.h"
#include "ui/play_pages.h"
#include "ui/play_window.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

constexpr int kBuyPage = int(PlayPage::Buy);
constexpr int kSellPage = int(PlayPage::Sell);
constexpr int kMortgagePage = int(PlayPage::Mortgage);

// A new game of two persons; P1, on turn, owns or wants a property of `owner`'s and has
// `money`. Every offer put to P2 is counted and refused.
struct PlayTable : Harness {
  int offers = 0;
  std::unique_ptr<PlayWindowDeals> deals;

  PlayTable(int owner, int property, int money) {
    Start({0, 0});
    game->state.properties[property].owner = static_cast<std::int16_t>(owner);
    game->state.players[0].money = money;
    playDialog = [this](QDialog&) {
      ++offers;
      return int(QDialog::Rejected);
    };
  }
  // The window on `page`, over fresh working copies.
  std::unique_ptr<PlayWindow> Open(int page) {
    deals = std::make_unique<PlayWindowDeals>(*game);
    return std::make_unique<PlayWindow>(*game, *deals, picture, page, nullptr);
  }
};

void Click(PlayWindow& window, int page, int id) {
  Control<QPushButton>(window.page(page), id)->click();
}

}  // namespace

class PlayWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void askChecksItsFieldsFirst();
  void pagesThatSpendAreClosedWhileInDebt();
  void saleThatLeavesTheDebtorUnableToPayClosesAsOk();
  void afterAnOfferNothingIsChosenThatThePlayerDidNotChoose();
  void listPagesGoOnWithTheNextProperty();
};

// The price takes six digits only; a refused check shows the core's reason and asks nobody; a
// street its owner refused leaves the list.
void PlayWindowTest::askChecksItsFieldsFirst() {
  PlayTable t(1, 5, 1000);
  const auto window = t.Open(kBuyPage);
  auto* price = Control<QLineEdit>(window->page(kBuyPage), kIdPrice);
  QTest::keyClicks(price, "12a3x4567");
  QCOMPARE(price->text(), QString("123456"));
  Click(*window, kBuyPage, kIdAsk);  // above the working money
  QCOMPARE(t.shown, QStringList{t.Text(kTextNotEnoughMoney)});
  QCOMPARE(t.offers, 0);
  price->setText("900");
  Click(*window, kBuyPage, kIdAsk);
  QCOMPARE(t.offers, 1);
  QCOMPARE(Control<QComboBox>(window->page(kBuyPage), kIdPartnerProperty)->findData(5), -1);
}

// In debt, a page that spends opens closed, with the reason (which pages: the core's); once a
// mortgage has paid the debt it opens again.
void PlayWindowTest::pagesThatSpendAreClosedWhileInDebt() {
  PlayTable t(0, 9, -500);
  const auto window = t.Open(kSellPage);
  window->SelectPage(kBuyPage);
  QCOMPARE(window->currentPage(), kBuyPage);
  QVERIFY(!window->page(kBuyPage)->isEnabled());
  QCOMPARE(t.shown, QStringList{t.Text(kTextInDebt)});

  window->SelectPage(kMortgagePage);
  QVERIFY(window->page(kMortgagePage)->isEnabled());
  QCOMPARE(Control<QLabel>(window->page(kMortgagePage), kIdAmount)->text(), QString("1 700 kr"));
  Click(*window, kMortgagePage, kIdMortgageButton);
  t.shown.clear();
  window->SelectPage(kBuyPage);
  QVERIFY(window->page(kBuyPage)->isEnabled());
  QVERIFY(t.shown.isEmpty());
}

// A refused sale that leaves the debtor unable to pay closes the window with its own answer;
// the referee, not the window, acts on it.
void PlayWindowTest::saleThatLeavesTheDebtorUnableToPayClosesAsOk() {
  PlayTable t(0, 0, -5000);
  const auto window = t.Open(kSellPage);
  Control<QLineEdit>(window->page(kSellPage), kIdPrice)->setText("100");
  Click(*window, kSellPage, kIdAsk);
  QCOMPARE(t.offers, 1);
  QCOMPARE(window->result(), PlayWindow::kCannotPay);
  QCOMPARE(t.game->state.players[0].money, -5000);
}

// After an offer is refused the street leaves its list and nothing takes its place, nor keeps
// its price: a second Ask offers nothing the player did not choose. The same on the sale page.
void PlayWindowTest::afterAnOfferNothingIsChosenThatThePlayerDidNotChoose() {
  const std::tuple<int, int> cases[] = {{kBuyPage, kIdPartnerProperty},
                                        {kSellPage, kIdOwnProperty}};
  for (const auto& [page, listId] : cases) {
    const int owner = page == kBuyPage ? 1 : 0;
    PlayTable t(owner, 5, 30000);
    t.game->state.properties[6].owner = static_cast<std::int16_t>(owner);
    const auto window = t.Open(page);  // street 5 chosen, 6 next in the list
    auto* price = Control<QLineEdit>(window->page(page), kIdPrice);
    price->setText("900");
    Click(*window, page, kIdAsk);
    auto* list = Control<QComboBox>(window->page(page), listId);
    QCOMPARE(list->currentIndex(), -1);
    QVERIFY(price->text().isEmpty());
    t.ForgetBoxes();
    Click(*window, page, kIdAsk);
    QCOMPARE(t.shown, QStringList{t.Text(kTextNothingChosen)});
    QCOMPARE(t.offers, 1);
  }
}

// A page that acts on one property at a time goes on with the property that takes the place
// of the one acted on: three streets are mortgaged with one choice and three presses, and an
// emptied list chooses nothing. Its empty field keeps the item colour under the focus.
void PlayWindowTest::listPagesGoOnWithTheNextProperty() {
  PlayTable t(0, 5, 30000);
  GameState& state = t.game->state;
  state.properties[6].owner = state.properties[8].owner = 0;
  const auto window = t.Open(kMortgagePage);
  auto* list = Control<QComboBox>(window->page(kMortgagePage), kIdProperty);
  QCOMPARE(list->currentData().toInt(), 5);
  for (const int next : {6, 8, -1}) {
    Click(*window, kMortgagePage, kIdMortgageButton);
    QCOMPARE(list->currentIndex() >= 0 ? list->currentData().toInt() : -1, next);
  }
  for (const int p : {5, 6, 8})
    QCOMPARE(window->deals().properties()[p].mortgaged, std::uint16_t{1});
  QCOMPARE(list->count(), 0);

  QImage field(200, 18, QImage::Format_RGB32);
  for (const int property : {-1, 5}) {
    field.fill(Qt::white);
    QPainter painter(&field);
    DrawPropertyItem(painter, field.rect(), property, state.properties, true, t.picture, QFont());
    painter.end();
    const bool purple = field.pixelColor(field.width() - 8, 9) == QColor(128, 0, 128);
    QCOMPARE(purple, property >= 0);
  }
}

TOMTURA_TEST_SUITE(PlayWindowTest);
#include "play_window_test.moc"
