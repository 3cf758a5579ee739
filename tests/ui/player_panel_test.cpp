#include <QComboBox>
#include <QScrollBar>
#include <QtTest>

#include "ui/player_panel.h"
#include "view_fixture.h"

using namespace tomtura;

namespace {

const QRgb kLightYellow = qRgb(255, 255, 235);

void ShowPanel(PlayerPanel& panel, QSize size) {
  panel.setFrameShape(QFrame::NoFrame);
  panel.resize(size);
  panel.show();
  QVERIFY(QTest::qWaitForWindowExposed(&panel));
}

QRgb PixelAt(PlayerPanel& panel, QPoint at) {
  return panel.viewport()->grab().toImage().pixel(at);
}

}  // namespace

class PlayerPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void cardTexts();
  void nameBarColours();
  void listsFollowTheCoreListsAndHideInShortSections();
  void scrollingBringsAPlayerToTheTop();
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

void PlayerPanelTest::nameBarColours() {
  ViewFixture f;
  GameState& state = f.game.state;
  PlayerPanel panel(f.game, f.picture);
  ShowPanel(panel, {178, 2 * kPlayerBoxHeight});
  panel.Refresh();
  auto bar = [&](int player) { return PixelAt(panel, {118, player * kPlayerBoxHeight + 10}); };
  QCOMPARE(bar(0), qRgb(255, 255, 0));
  state.currentPlayer = 1;
  QCOMPARE(bar(0), qRgb(0, 255, 255));
  QCOMPARE(bar(1), qRgb(255, 255, 0));
}

void PlayerPanelTest::listsFollowTheCoreListsAndHideInShortSections() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.propertyLists[0].items = {0, 1, 22};
  state.propertyLists[0].selected = 0;
  PlayerPanel panel(f.game, f.picture);
  ShowPanel(panel, {178, 2 * kPlayerBoxHeight});
  panel.Refresh();
  QComboBox* anna = panel.propertyList(0);
  QCOMPARE(anna->count(), 3);
  QCOMPARE(anna->itemData(2).toInt(), 22);
  QVERIFY(anna->isVisible() && panel.propertyList(1)->isVisible());
  QVERIFY(!panel.propertyList(2)->isVisible());  // beyond the player count

  // Anna's card shows; Bo owns nothing and gets none.
  const QPoint cardCorner(10, 180);
  QCOMPARE(PixelAt(panel, cardCorner), kLightYellow);
  QCOMPARE(PixelAt(panel, cardCorner + QPoint(0, kPlayerBoxHeight)), kPanelPatternGrey);

  // The user's choice goes back to the core's list.
  anna->setFocus();
  QTest::keyClick(anna, Qt::Key_Down);
  QCOMPARE(state.propertyLists[0].selected, 1);

  panel.SetShowCompanies(false);
  QCOMPARE(panel.playerBoxHeight(), kPlayerBoxHeightWithoutLists);
  QVERIFY(!panel.propertyList(0)->isVisible());
  QCOMPARE(PixelAt(panel, {10, 180}), kPanelPatternGrey);  // no card where it stood

  panel.SetShowCompanies(true);
  QCOMPARE(panel.playerBoxHeight(), kPlayerBoxHeight);
  QVERIFY(panel.propertyList(0)->isVisible());
  QCOMPARE(PixelAt(panel, cardCorner), kLightYellow);

  // Once the core's list is empty, the card goes too.
  state.propertyLists[0].Clear();
  panel.Refresh();
  QCOMPARE(anna->count(), 0);
  QCOMPARE(PixelAt(panel, cardCorner), kPanelPatternGrey);
}

void PlayerPanelTest::scrollingBringsAPlayerToTheTop() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.playerCount = 6;
  state.players[3].isBankrupt = 1;
  PlayerPanel panel(f.game, f.picture);
  ShowPanel(panel, {178, 400});
  panel.Refresh();
  state.currentPlayer = 2;
  panel.ScrollToCurrentPlayer();
  QCOMPARE(panel.scrollOffset().y(), 2 * kPlayerBoxHeight);

  // Keys 1..6 skip bankrupt players and players beyond the count.
  panel.FocusPlayerList(4);
  QCOMPARE(panel.scrollOffset().y(), 4 * kPlayerBoxHeight);
  QVERIFY(panel.propertyList(4)->hasFocus());
  panel.FocusPlayerList(3);
  QCOMPARE(panel.scrollOffset().y(), 4 * kPlayerBoxHeight);
  panel.FocusPlayerList(6);
  QCOMPARE(panel.scrollOffset().y(), 4 * kPlayerBoxHeight);
}

QTEST_MAIN(PlayerPanelTest)
#include "player_panel_test.moc"
