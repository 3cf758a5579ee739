// The board view (offscreen): the squares under the mouse, the card, scrolling and drawing.
#include <QScrollBar>
#include <QtTest>
#include <utility>

#include "ui/board_view.h"
#include "view_fixture.h"

using namespace tomtura;

namespace {

// Shows a view whose client area has exactly the given size.
void ShowWithClient(BoardView& view, QSize client) {
  view.setFrameShape(QFrame::NoFrame);
  view.resize(client);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
}

QRgb PixelAt(BoardView& view, QPoint at) {
  return view.viewport()->grab().toImage().pixel(at);
}

}  // namespace

class BoardViewTest : public QObject {
  Q_OBJECT

 private slots:
  void squareUnderAPoint();
  void stretchedBoardKeepsItsProportions();
  void cardOnlyForPropertySquares();
  void cardRentText();
  void scrollBarsFollowTheClientSize();
  void tokensAndMarksAsDrawn();
  void tokensOnGoAndInTheJailCorner();
};

void BoardViewTest::squareUnderAPoint() {
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
}

// A stretched board keeps its proportions: the largest square that fits, centred; points
// beside it are off the board.
void BoardViewTest::stretchedBoardKeepsItsProportions() {
  QCOMPARE(StretchedBoardRect({800, 600}), QRect(100, 0, 600, 600));
  QCOMPARE(StretchedBoardRect({500, 900}), QRect(0, 200, 500, 500));
  // The centre of a wide client's square is the board's centre; the corners stay corners.
  QCOMPARE(ViewToBoard({492 + 342, 342}, {}, {1670, 685}, true), QPoint(342, 342));
  QCOMPARE(SquareAt(ViewToBoard({100 + 20, 20}, {}, {800, 600}, true)), 0);
  QCOMPARE(ViewToBoard({50, 300}, {}, {800, 600}, true), QPoint(-1, -1));
  QCOMPARE(SquareAt(ViewToBoard({750, 300}, {}, {800, 600}, true)), -1);
}

void BoardViewTest::cardOnlyForPropertySquares() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {685, 685});
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
  using S = QAbstractSlider;
  QCOMPARE(ScrollBarTarget(S::SliderMove, 0, 385, 38, 203), 200);
  QCOMPARE(ScrollBarTarget(S::SliderMove, 0, 385, 38, 381), 385);
  // A drag moves the content with the mouse in whole steps, within the range.
  QCOMPARE(DragScrollDelta(100, 85, 0, 385), 8);
  QCOMPARE(DragScrollDelta(100, 50, 380, 385), 5);

  view.SetStretched(true);
  QVERIFY(!view.horizontalScrollBar()->isVisible());
  QCOMPARE(view.scrollOffset(), QPoint(0, 0));
}

// A bankrupt player's token is not drawn. Owner marks live in the cached board: they change when
// the board is marked dirty, not before.
void BoardViewTest::tokensAndMarksAsDrawn() {
  ViewFixture f;
  Player& bo = f.game.state.players[1];
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
}

// Six tokens at their GO places leave GO's label free and do not cover one another; in the jail
// corner a visitor stands outside the bars and a prisoner behind them.
void BoardViewTest::tokensOnGoAndInTheJailCorner() {
  ViewFixture f;
  GameState& state = f.game.state;
  state.playerCount = kMaxPlayers;
  f.game.NewGame();
  for (int i = 0; i < kMaxPlayers; ++i) {
    const QRect token = TokenRect(state, i);
    QVERIFY(!token.intersects(kGoLabel));
    QVERIFY(kGoCorner.contains(token));
    for (int j = 0; j < i; ++j) QVERIFY(!token.intersects(TokenRect(state, j)));
  }
  Player& bo = state.players[1];
  bo.position = kJailSquare;
  bo.tokenX = 10 * 57 + bo.tokenX;
  QVERIFY(!kJailBars.contains(TokenRect(state, 1).center()));
  bo.jailTurns = 3;
  QVERIFY(kJailBars.contains(TokenRect(state, 1)));
  // Elsewhere a token stands where the rules put it.
  bo.position = 5;
  QCOMPARE(TokenRect(state, 1), QRect(bo.tokenX, bo.tokenY, 40, 40));
}

QTEST_MAIN(BoardViewTest)
#include "board_view_test.moc"
