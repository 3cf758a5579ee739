// SPDX-License-Identifier: GPL-3.0-or-later
// The player panel (offscreen): the card texts, what each section shows and where it scrolls.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QtTest>
#include <algorithm>

#include "test_suites.h"
#include "ui/fonts.h"
#include "ui/player_panel.h"
#include "view_fixture.h"

using namespace tomtura;

class PlayerPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void cardTexts();
  void sectionsFollowTheCore();
  void scrollingAndColumns();
  void aLongCardTextWraps();
};

void PlayerPanelTest::cardTexts() {
  struct Case {
    int property;
    bool mortgaged;
    QStringList texts;
  };
  const Case cases[] = {{3, false, {"Hyra", "400/410/420/430/440/450 hus 500+500 pant 650"}},
                        {22, false, {"4000", "Alla"}},
                        {26, false, {"Faktor"}},
                        {29, false, {"Frikort"}},
                        {3, true, {"Pant 650 kr"}}};
  ViewFixture f;
  for (const Case& c : cases) {
    f.game.state.properties[c.property].mortgaged = c.mortgaged;
    QStringList texts;
    for (const PanelCardText& text : PanelCardTexts(f.game, c.property)) {
      texts << QString::fromStdString(text.text);
      // Only the mortgage line is red, and it stands alone, centred.
      QCOMPARE(text.colour == QColor(Qt::red), c.mortgaged);
      if (c.mortgaged) QCOMPARE(text.alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
    QCOMPARE(texts, c.texts);
  }
}

// The lists show the core's lists, and the choice goes back to them. A card stands under a
// list with something in it; with the lists hidden the sections are shorter and show no card.
// The player on turn has the yellow name bar, the others cyan.
void PlayerPanelTest::sectionsFollowTheCore() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.propertyLists[0].items = {0, 1, 22};
  state.propertyLists[0].selected = 0;
  PlayerPanel panel(f.game, f.picture);
  ShowWithClient(panel, {178, 2 * kPlayerBoxHeight});
  panel.Refresh();
  QComboBox* anna = panel.propertyList(0);
  QCOMPARE(anna->count(), 3);
  QVERIFY(anna->isVisible() && panel.propertyList(1)->isVisible());
  QVERIFY(!panel.propertyList(2)->isVisible());  // beyond the player count
  const QPoint cardCorner(10, 180);
  QCOMPARE(PixelAt(panel, cardCorner), qRgb(255, 255, 235));  // the card's light yellow
  QCOMPARE(PixelAt(panel, cardCorner + QPoint(0, kPlayerBoxHeight)), kPanelPatternGrey);

  anna->setFocus();
  QTest::keyClick(anna, Qt::Key_Down);
  QCOMPARE(state.propertyLists[0].selected, 1);
  // The drop-down, made when it first opens, draws its items as the box does: 18 pixels high.
  anna->showPopup();
  QCOMPARE(anna->view()->sizeHintForRow(0), 18);
  anna->hidePopup();

  panel.SetShowCompanies(false);
  QCOMPARE(panel.playerBoxHeight(), kPlayerBoxHeightWithoutLists);
  QVERIFY(!anna->isVisible());
  QCOMPARE(PixelAt(panel, cardCorner), kPanelPatternGrey);

  state.propertyLists[0].Clear();
  panel.Refresh();
  QCOMPARE(anna->count(), 0);

  auto bar = [&](int player) { return PixelAt(panel, {118, player * kPlayerBoxHeight + 10}); };
  QCOMPARE(bar(0), qRgb(255, 255, 0));
  state.currentPlayer = 1;
  QCOMPARE(bar(0), qRgb(0, 255, 255));
}

// Keys and the turn bring a player to the top; wide, the panel stands in columns.
void PlayerPanelTest::scrollingAndColumns() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.playerCount = 6;
  state.players[3].isBankrupt = 1;
  PlayerPanel panel(f.game, f.picture);
  ShowWithClient(panel, {178, 400});
  panel.Refresh();
  state.currentPlayer = 2;
  panel.ScrollToCurrentPlayer();
  QCOMPARE(panel.scrollOffset().y(), 2 * kPlayerBoxHeight);

  // Keys 1..6 skip bankrupt players and players beyond the count.
  for (const int key : {4, 3, 6}) {
    panel.FocusPlayerList(key);
    QCOMPARE(panel.scrollOffset().y(), 4 * kPlayerBoxHeight);
    QVERIFY(panel.propertyList(4)->hasFocus());
  }

  // A panel wide enough holds its sections in columns, row by row in record order, and the lists
  // stand in their sections; six players in a panel two sections high need three columns.
  state.playerCount = 5;
  panel.resize(2 * kPanelColumnWidth, 600);
  panel.Refresh();
  QCOMPARE(panel.columns(), 2);
  QCOMPARE(panel.SectionOrigin(3), QPoint(kPanelColumnWidth, kPlayerBoxHeight));
  QCOMPARE(panel.propertyList(3)->pos().x(), kPanelColumnWidth);
  QCOMPARE(panel.maxScroll(), QSize(0, 3 * kPlayerBoxHeight - 600));
  panel.resize(kPanelColumnWidth, 600);
  QCOMPARE(panel.columns(), 1);
  QCOMPARE(panel.propertyList(3)->pos().x(), 0);
  state.playerCount = 6;
  QCOMPARE(panel.ColumnsNeeded(2 * kPlayerBoxHeight + 10), 3);
  QCOMPARE(panel.ColumnsNeeded(6 * kPlayerBoxHeight), 1);
}

// A card of one text wider than the card (a utility's rent) wraps onto a second line instead of
// being cut at the card's edge.
void PlayerPanelTest::aLongCardTextWraps() {
  std::string texts = kViewTexts;
  texts.replace(texts.find("21=Faktor"), 9,
                "21=Hyran är tärningarnas summa gånger hundra kronor för ett verk");
  ViewFixture f(texts);
  GameState& state = f.game.state;
  state.playerCount = 1;
  constexpr int kUtility = 26;
  state.properties[kUtility].owner = 0;
  f.game.RefreshPropertyLists();
  PropertyList& list = state.propertyLists[0];
  list.selected = static_cast<int>(std::find(list.items.begin(), list.items.end(), kUtility) -
                                   list.items.begin());
  PlayerPanel panel(f.game, f.picture);
  ShowWithClient(panel, {kPanelColumnWidth, 300});
  panel.Refresh();
  const QImage image = panel.viewport()->grab().toImage();
  const int line = QFontMetrics(SmallFont()).height();
  int darkOnSecondLine = 0;
  for (int y = 44 + 2 + line; y < 44 + 2 + 2 * line; ++y) {
    for (int x = 4; x < kPanelBaseWidth - 4; ++x)
      darkOnSecondLine += qGray(image.pixel(x, y)) < 100;
  }
  QVERIFY(darkOnSecondLine > 0);
}

TOMTURA_TEST_SUITE(PlayerPanelTest);
#include "player_panel_test.moc"
