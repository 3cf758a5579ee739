// SPDX-License-Identifier: GPL-3.0-or-later
// The board view (offscreen): the squares under the mouse, the card, scrolling and drawing.
#include <QScrollBar>
#include <QtTest>
#include <utility>

#include "test_suites.h"
#include "ui/board_view.h"
#include "view_fixture.h"

using namespace tomtura;

class BoardViewTest : public QObject {
  Q_OBJECT

 private slots:
  void squareUnderAPointStretchedOrNot();
  void cardRentText();
  void scrollBarsFollowTheClientSize();
  void tokensMarksAndCardsAsDrawn();
  void tokensLeaveLabelsAndNamesSeen();
};

void BoardViewTest::squareUnderAPointStretchedOrNot() {
  // The corners, the edges' far ends, and points just off the board or inside the ring.
  const std::pair<QPoint, int> cases[] = {{{40, 40}, 0},    {{680, 5}, 10},   {{684, 590}, 19},
                                          {{342, 342}, -1}, {{685, 300}, -1}, {{-1, 300}, -1}};
  for (const auto& [point, square] : cases) {
    QCOMPARE(std::pair(point, SquareAt(point)), std::pair(point, square));
  }
  // A point just inside the edge that a square's marks hang from lies on that square.
  for (int s = 1; s < kSquareCount; ++s) {
    if (s % 10 == 0) continue;
    const int e = SquareEdge(s) + 2;
    const QPoint inside[] = {{e, 40}, {640, e}, {e, 640}, {40, e}};
    QCOMPARE(SquareAt(inside[s / 10]), s);
  }

  // A stretched board keeps its proportions: the largest square that fits, centred; points
  // beside it are off the board.
  QCOMPARE(StretchedBoardRect({800, 600}), QRect(100, 0, 600, 600));
  QCOMPARE(StretchedBoardRect({500, 900}), QRect(0, 200, 500, 500));
  // The centre of a wide client's square is the board's centre; the corners stay corners.
  QCOMPARE(ViewToBoard({492 + 342, 342}, {}, {1670, 685}, true), QPoint(342, 342));
  QCOMPARE(SquareAt(ViewToBoard({100 + 20, 20}, {}, {800, 600}, true)), 0);
  QCOMPARE(ViewToBoard({50, 300}, {}, {800, 600}, true), QPoint(-1, -1));
  QCOMPARE(SquareAt(ViewToBoard({750, 300}, {}, {800, 600}, true)), -1);
}

void BoardViewTest::cardRentText() {
  ViewFixture f;
  PropertyTable& t = f.game.state.properties;
  // Station 22; the owners of stations 22..25 and the rent shown for 22.
  const std::pair<std::array<int, 4>, std::string> stations[] = {{{0, 0, 0, 0}, "4000 kr"},
                                                                 {{0, 1, 1, kNobody}, "500 kr"}};
  for (const auto& [owners, rent] : stations) {
    for (int i = 0; i < 4; ++i) t[22 + i].owner = std::int16_t(owners[i]);
    QCOMPARE(CardRentText(f.game, 22), rent);
  }
  t[22].owner = 0;
  t[22].mortgaged = 1;
  QCOMPARE(CardRentText(f.game, 22), std::string("pantsatt"));

  // A street doubles its bare rent for a complete group; houses have their own rent.
  t[0].owner = 0;
  QCOMPARE(CardRentText(f.game, 0), std::string("100 kr"));
  t[1].owner = 0;
  QCOMPARE(CardRentText(f.game, 0), std::string("200 kr"));
  t[1].houses = kHotel;
  QCOMPARE(CardRentText(f.game, 1), std::string("250 kr"));
  t[26].owner = 1;
  QCOMPARE(CardRentText(f.game, 26), std::string("1 x tärningen"));
  t[27].owner = 1;
  QCOMPARE(CardRentText(f.game, 26), std::string("2 x tärningen"));
  QCOMPARE(CardText(f.game, 0), std::string("Gata 0\n1000 kr\nAnna\n200 kr"));
  QCOMPARE(CardText(f.game, 5), std::string("Gata 5\n1500 kr\nbanken\n-"));
}

void BoardViewTest::scrollBarsFollowTheClientSize() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {400, 300});
  QTRY_VERIFY(view.horizontalScrollBar()->isVisible());
  const QSize client = view.viewport()->size();
  QCOMPARE(view.maxScroll(), QSize(kBoardSize - client.width(), kBoardSize - client.height()));

  // A page on a short range still moves by one step instead of rounding back to where it was.
  view.resize(650, 300);
  QVERIFY(view.maxScroll().width() / 10 < kScrollStep);
  view.horizontalScrollBar()->setValue(0);
  view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(view.scrollOffset().x(), kScrollStep);

  // A move snaps down to a step of 8, except within 4 pixels of the maximum.
  QCOMPARE(ScrollBarTarget(QAbstractSlider::SliderMove, 0, 385, 38, 203), 200);
  QCOMPARE(ScrollBarTarget(QAbstractSlider::SliderMove, 0, 385, 38, 381), 385);
  // A drag moves the content with the mouse in whole steps, within the range.
  QCOMPARE(DragScrollDelta(100, 85, 0, 385), 8);
  QCOMPARE(DragScrollDelta(100, 50, 380, 385), 5);

  view.SetStretched(true);
  QVERIFY(!view.horizontalScrollBar()->isVisible());
  QCOMPARE(view.scrollOffset(), QPoint(0, 0));
}

// A bankrupt player's token is not drawn. Owner marks live in the cached board: they change when
// the board is marked dirty, not before.
void BoardViewTest::tokensMarksAndCardsAsDrawn() {
  ViewFixture f;
  Player& bo = f.game.state.players[1];
  bo.position = 20;  // the free-parking corner keeps the rules' places
  bo.tokenX = 300;
  bo.tokenY = 300;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {685, 685});
  QCOMPARE(PixelAt(view, {320, 320}), kToken1Blue);
  bo.isBankrupt = 1;
  QCOMPARE(PixelAt(view, {320, 320}), kBoardGreen);

  const QPoint mark(SquareEdge(1) + 10, 10);  // square 1's owner mark hangs from the top
  QCOMPARE(PixelAt(view, mark), kBoardGreen);
  f.game.state.properties[kBoardLayout[1]].owner = 0;
  QCOMPARE(PixelAt(view, mark), kBoardGreen);
  view.MarkDirty();
  QCOMPARE(qRed(PixelAt(view, mark)), qRed(kToken0Red));
  QVERIFY(!view.boardIsDirty());

  // A card shows only for a property's square.
  const QPoint global = view.mapToGlobal(QPoint(0, 0));
  for (QPoint none : {QPoint(620, 40), QPoint(450, 40), QPoint(280, 40), QPoint(342, 342)}) {
    QVERIFY(!view.ShowCardAt(none, global));  // jail corner, chance, tax, middle
  }
  QCOMPARE(view.cardProperty(), -1);
  QVERIFY(view.ShowCardAt({100, 40}, global));
  QCOMPARE(view.cardProperty(), 0);

  // Stretched to half size, (320, 50) of the client is (640, 100) of the board: square 11.
  view.SetStretched(true);
  view.resize(342, 342);
  QVERIFY(view.ShowCardAt({320, 50}, global));
  QCOMPARE(view.cardProperty(), kBoardLayout[11]);
}

// Tokens hide no label, name or building: on GO they stand below its word and amount, three
// abreast without covering one another; the first visitor of the jail clear of the visitors'
// words, a prisoner behind the bars; on a square of an edge, off the square itself and apart.
void BoardViewTest::tokensLeaveLabelsAndNamesSeen() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.playerCount = kMaxPlayers;
  f.game.NewGame();
  const auto place = [&](const std::vector<int>& players, int square) {
    for (int i = 0; i < kMaxPlayers; ++i) state.players[i].isBankrupt = 1;
    for (int i : players) {
      state.players[i].isBankrupt = 0;
      state.players[i].position = static_cast<std::int16_t>(square);
    }
  };
  for (int count = 1; count <= kMaxPlayers; ++count) {
    std::vector<int> players;
    for (int i = kMaxPlayers - count; i < kMaxPlayers; ++i) players.push_back(i);
    place(players, 0);
    for (int i : players) {
      const QRect token = TokenRect(state, i);
      QVERIFY(kGoCorner.contains(token));
      QVERIFY(!token.intersects(kGoLabel));
      for (int j : players) QVERIFY(j >= i || count > 3 || !token.intersects(TokenRect(state, j)));
    }
  }

  for (int visitor = 0; visitor < kMaxPlayers; ++visitor) {
    place({visitor}, kJailSquare);
    state.players[visitor].jailTurns = 0;
    const QRect token = TokenRect(state, visitor);
    QVERIFY(!token.intersects(kJailTopLabel) && !token.intersects(kJailSideLabel));
    QVERIFY(!kJailBars.contains(token.center()));
    state.players[visitor].jailTurns = 3;
    QVERIFY(kJailBars.contains(TokenRect(state, visitor)));
    state.players[visitor].jailTurns = 0;
  }

  // The squares of the four edges, the ring of the board 86 pixels deep.
  const QRect middle(86, 86, 513, 513);
  for (const int square : {1, 9, 11, 19, 21, 29, 31, 39}) {
    place({0, 1, 2, 3}, square);
    for (int i = 0; i < 4; ++i) {
      const QRect token = TokenRect(state, i);
      QVERIFY2(middle.contains(token), qPrintable(QString::number(square)));
      for (int j = 0; j < i; ++j) QVERIFY(!token.intersects(TokenRect(state, j)));
    }
  }
}

TOMTURA_TEST_SUITE(BoardViewTest);
#include "board_view_test.moc"
