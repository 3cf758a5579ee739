#include <QPainter>
#include <QScrollBar>
#include <QtTest>

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
  void squareUnderEachPartOfTheBoard_data();
  void squareUnderEachPartOfTheBoard();
  void everyPropertySquareIsFoundAtItsOwnEdge();
  void cardOnlyForPropertySquares();
  void cardRentText_data();
  void cardRentText();
  void cardRentOfStreetsAndUtilities();
  void scrollBarActionsSnap_data();
  void scrollBarActionsSnap();
  void scrollBarsFollowTheClientSize();
  void dragScrollsInStepsOfEight_data();
  void dragScrollsInStepsOfEight();
  void stepRepaintsOnlyWhatTheTokenTouched_data();
  void stepRepaintsOnlyWhatTheTokenTouched();
  void stepFollowsTheToken();
  void bankruptTokenIsNotDrawn();
  void marksChangeOnlyAtARebuild();
};

void BoardViewTest::squareUnderEachPartOfTheBoard_data() {
  QTest::addColumn<QPoint>("point");
  QTest::addColumn<int>("square");
  QTest::newRow("GO corner") << QPoint(40, 40) << 0;
  QTest::newRow("top, first") << QPoint(100, 40) << 1;
  QTest::newRow("top, last") << QPoint(570, 80) << 9;
  QTest::newRow("jail corner, inner part") << QPoint(610, 40) << 10;
  QTest::newRow("jail corner, outer part") << QPoint(680, 5) << 10;
  QTest::newRow("right, first") << QPoint(640, 100) << 11;
  QTest::newRow("right, last") << QPoint(684, 590) << 19;
  QTest::newRow("bottom-right corner, outer part") << QPoint(640, 680) << 20;
  QTest::newRow("bottom, first") << QPoint(560, 640) << 21;
  QTest::newRow("bottom, last") << QPoint(100, 684) << 29;
  QTest::newRow("bottom-left corner") << QPoint(10, 640) << 30;
  QTest::newRow("left, first") << QPoint(40, 560) << 31;
  QTest::newRow("left, last") << QPoint(86, 100) << 39;
  QTest::newRow("centre") << QPoint(342, 342) << -1;
  QTest::newRow("just inside the middle") << QPoint(87, 598) << -1;
  QTest::newRow("right of the board") << QPoint(685, 300) << -1;
  QTest::newRow("below the board") << QPoint(300, 685) << -1;
  QTest::newRow("left of the board") << QPoint(-1, 300) << -1;
}

void BoardViewTest::squareUnderEachPartOfTheBoard() {
  QFETCH(QPoint, point);
  QFETCH(int, square);
  QCOMPARE(SquareAt(point), square);
}

// The marks hang from SquareEdge; a click a little inside a square's edge must find that square.
void BoardViewTest::everyPropertySquareIsFoundAtItsOwnEdge() {
  for (int s = 1; s < kSquareCount; ++s) {
    if (s % 10 == 0) continue;
    const int e = SquareEdge(s) + 2;
    const QPoint inside[] = {{e, 40}, {640, e}, {e, 640}, {40, e}};
    QCOMPARE(SquareAt(inside[s / 10]), s);
  }
  QCOMPARE(SquareEdge(0), -1);
  QCOMPARE(SquareEdge(20), -1);
}

void BoardViewTest::cardOnlyForPropertySquares() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {685, 685});
  const QPoint global = view.mapToGlobal(QPoint(0, 0));
  QVERIFY(!view.ShowCardAt({620, 40}, global));   // jail corner
  QVERIFY(!view.ShowCardAt({450, 40}, global));   // square 7, chance
  QVERIFY(!view.ShowCardAt({280, 40}, global));   // square 4, tax
  QVERIFY(!view.ShowCardAt({342, 342}, global));  // the middle
  QCOMPARE(view.cardProperty(), -1);
  QVERIFY(view.ShowCardAt({100, 40}, global));
  QCOMPARE(view.cardProperty(), 0);

  // Stretched to half size, a click maps back to the board: (320, 50) is (640, 100).
  view.SetStretched(true);
  view.resize(342, 342);
  QVERIFY(view.ShowCardAt({320, 50}, global));  // (640, 100): square 11
  QCOMPARE(view.cardProperty(), kBoardLayout[11]);
  QVERIFY(!view.ShowCardAt({171, 171}, global));
}

void BoardViewTest::cardRentText_data() {
  QTest::addColumn<QList<int>>("stationOwners");
  QTest::addColumn<int>("houses");
  QTest::addColumn<bool>("mortgaged");
  QTest::addColumn<QString>("rent");
  // Station 22 is the card's property; the list gives the owners of stations 22..25.
  QTest::newRow("all four stations") << QList<int>{0, 0, 0, 0} << 0 << false << "4000 kr";
  QTest::newRow("one station missing") << QList<int>{0, 0, 1, 0} << 0 << false << "2000 kr";
  QTest::newRow("one with the bank") << QList<int>{0, kNobody, 0, 0} << 0 << false << "2000 kr";
  QTest::newRow("alone") << QList<int>{0, 1, 1, kNobody} << 0 << false << "500 kr";
  QTest::newRow("mortgaged") << QList<int>{0, 0, 0, 0} << 0 << true << "pantsatt";
  QTest::newRow("no owner") << QList<int>{kNobody, 0, 0, 0} << 0 << false << "-";
}

void BoardViewTest::cardRentText() {
  QFETCH(QList<int>, stationOwners);
  QFETCH(int, houses);
  QFETCH(bool, mortgaged);
  QFETCH(QString, rent);
  ViewFixture f;
  for (int i = 0; i < 4; ++i)
    f.game.state.properties[22 + i].owner = std::int16_t(stationOwners[i]);
  f.game.state.properties[22].houses = std::int16_t(houses);
  f.game.state.properties[22].mortgaged = mortgaged;
  QCOMPARE(QString::fromStdString(CardRentText(f.game, 22)), rent);
}

// Streets double the bare rent for a complete group, houses use their own rent, utilities
// give the dice factor.
void BoardViewTest::cardRentOfStreetsAndUtilities() {
  ViewFixture f;
  PropertyTable& t = f.game.state.properties;
  t[0].owner = 0;
  QCOMPARE(CardRentText(f.game, 0), std::string("100 kr"));
  t[1].owner = 0;
  QCOMPARE(CardRentText(f.game, 0), std::string("200 kr"));
  t[1].houses = 3;
  QCOMPARE(CardRentText(f.game, 1), std::string("230 kr"));
  t[1].houses = kHotel;
  QCOMPARE(CardRentText(f.game, 1), std::string("250 kr"));
  t[26].owner = 1;
  QCOMPARE(CardRentText(f.game, 26), std::string("1 x tärningen"));
  t[27].owner = 1;
  QCOMPARE(CardRentText(f.game, 26), std::string("2 x tärningen"));
  QCOMPARE(CardText(f.game, 0), std::string("Gata 0\n1000 kr\nAnna\n200 kr"));
  QCOMPARE(CardText(f.game, 5), std::string("Gata 5\n1500 kr\nbanken\n-"));
}

void BoardViewTest::scrollBarActionsSnap_data() {
  QTest::addColumn<int>("action");
  QTest::addColumn<int>("offset");
  QTest::addColumn<int>("maxScroll");
  QTest::addColumn<int>("thumb");
  QTest::addColumn<int>("expected");
  const int page = QAbstractSlider::SliderPageStepAdd;
  const int pageBack = QAbstractSlider::SliderPageStepSub;
  const int line = QAbstractSlider::SliderSingleStepAdd;
  const int lineBack = QAbstractSlider::SliderSingleStepSub;
  const int move = QAbstractSlider::SliderMove;
  // Page right from 0 with a maximum of 385: 38, rounded down to 32.
  QTest::newRow("page right") << page << 0 << 385 << 0 << 32;
  QTest::newRow("page right near the end") << page << 352 << 385 << 0 << 385;
  QTest::newRow("page right just short of the slack") << page << 336 << 385 << 0 << 368;
  QTest::newRow("page left") << pageBack << 385 << 385 << 0 << 344;
  QTest::newRow("page left past 0") << pageBack << 16 << 385 << 0 << 0;
  QTest::newRow("line right") << line << 5 << 385 << 0 << 8;
  QTest::newRow("line right into the slack") << line << 376 << 385 << 0 << 385;
  QTest::newRow("line left from the end") << lineBack << 385 << 385 << 0 << 376;
  QTest::newRow("line left past 0") << lineBack << 3 << 385 << 0 << 0;
  QTest::newRow("thumb") << move << 0 << 385 << 203 << 200;
  QTest::newRow("thumb near the end") << move << 0 << 385 << 381 << 385;
}

void BoardViewTest::scrollBarActionsSnap() {
  QFETCH(int, action);
  QFETCH(int, offset);
  QFETCH(int, maxScroll);
  QFETCH(int, thumb);
  QFETCH(int, expected);
  const auto a = static_cast<QAbstractSlider::SliderAction>(action);
  QCOMPARE(ScrollBarTarget(a, offset, maxScroll, maxScroll / 10, thumb), expected);

  // The view's own bar takes the same way, with a page of a tenth of the range.
  if (action == QAbstractSlider::SliderMove) return;
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {kBoardSize - maxScroll, 300});
  // The vertical bar takes part of the width: widen the view by what it takes.
  view.resize(view.width() + kBoardSize - maxScroll - view.viewport()->width(), 300);
  QCOMPARE(view.maxScroll().width(), maxScroll);
  view.horizontalScrollBar()->setValue(offset);
  view.horizontalScrollBar()->triggerAction(a);
  QCOMPARE(view.scrollOffset().x(), expected);
}

void BoardViewTest::scrollBarsFollowTheClientSize() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {700, 690});
  QVERIFY(!view.horizontalScrollBar()->isVisible());
  QVERIFY(!view.verticalScrollBar()->isVisible());
  QCOMPARE(view.maxScroll(), QSize(0, 0));
  QCOMPARE(PixelAt(view, {0, 0}), kBoardGreen);
  QCOMPARE(PixelAt(view, {684, 684}), kBoardGreen);

  view.resize(400, 300);
  QTRY_VERIFY(view.horizontalScrollBar()->isVisible());
  QVERIFY(view.verticalScrollBar()->isVisible());
  const QSize client = view.viewport()->size();
  QCOMPARE(view.maxScroll(), QSize(kBoardSize - client.width(), kBoardSize - client.height()));

  // Scrolled to the far right, a wider view keeps the board's right edge at its own.
  view.horizontalScrollBar()->setValue(view.maxScroll().width());
  view.resize(500, 300);
  QCOMPARE(view.scrollOffset().x(), kBoardSize - view.viewport()->width());

  // A page on a short range still moves by one step instead of rounding back to where it was.
  view.resize(650, 300);
  QCOMPARE(view.maxScroll().width() / 10 < kScrollStep, true);
  view.horizontalScrollBar()->setValue(0);
  view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(view.scrollOffset().x(), kScrollStep);

  view.SetStretched(true);
  QVERIFY(!view.horizontalScrollBar()->isVisible());
  QVERIFY(!view.verticalScrollBar()->isVisible());
  QCOMPARE(view.scrollOffset(), QPoint(0, 0));
}

void BoardViewTest::dragScrollsInStepsOfEight_data() {
  QTest::addColumn<int>("dragPoint");
  QTest::addColumn<int>("mouse");
  QTest::addColumn<int>("offset");
  QTest::addColumn<int>("delta");
  QTest::newRow("less than a step") << 100 << 93 << 40 << 0;
  QTest::newRow("mouse left: board moves right") << 100 << 85 << 40 << 8;
  QTest::newRow("mouse right") << 100 << 120 << 40 << -16;
  QTest::newRow("stops at 0") << 100 << 180 << 40 << -40;
  QTest::newRow("stops at the maximum") << 100 << 20 << 280 << 5;
}

void BoardViewTest::dragScrollsInStepsOfEight() {
  QFETCH(int, dragPoint);
  QFETCH(int, mouse);
  QFETCH(int, offset);
  QFETCH(int, delta);
  QCOMPARE(DragScrollDelta(dragPoint, mouse, offset, 285), delta);
}

void BoardViewTest::stepRepaintsOnlyWhatTheTokenTouched_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<QPoint>("scroll");
  QTest::addColumn<bool>("goPlaces");
  QTest::addColumn<QRect>("rect");
  QTest::newRow("along the top") << QPoint(29, 29) << QPoint(86, 29) << QPoint(0, 0) << false
                                 << QRect(29, 29, 97, 40);
  QTest::newRow("backwards, scrolled")
      << QPoint(200, 300) << QPoint(143, 300) << QPoint(100, 8) << false << QRect(43, 292, 97, 40);
  QTest::newRow("onto square 1, later player")
      << QPoint(37, 34) << QPoint(94, 34) << QPoint(0, 0) << true << QRect(37, 34, 97, 120);
}

void BoardViewTest::stepRepaintsOnlyWhatTheTokenTouched() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(QPoint, scroll);
  QFETCH(bool, goPlaces);
  QFETCH(QRect, rect);
  QCOMPARE(StepRepaintRect(from, to, scroll, goPlaces, {300, 300}, false), rect);

  // Stretched, the scaled rectangle still covers both scaled token places.
  const QSize client(400, 500);
  const QRect scaled = StepRepaintRect(from, to, {}, goPlaces, client, true);
  for (QPoint at : {from, to}) {
    const QRectF token(at.x() * 400.0 / kBoardSize, at.y() * 500.0 / kBoardSize,
                       kTokenSize * 400.0 / kBoardSize, kTokenSize * 500.0 / kBoardSize);
    QVERIFY(QRectF(scaled).contains(token));
  }
  QVERIFY(scaled.width() < rect.width());
}

void BoardViewTest::stepFollowsTheToken() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {300, 300});
  const QSize client = view.viewport()->size();
  Player& anna = f.game.state.players[0];
  anna.tokenX = 485;
  anna.tokenY = 200;
  view.TokenStepped(428, 200);
  QCOMPARE(view.scrollOffset(),
           QPoint(485 - client.width() / 2 + 20, 200 - client.height() / 2 + 20));
  anna.tokenX = 620;
  anna.tokenY = 620;
  view.TokenStepped(620, 563);
  QCOMPARE(view.scrollOffset(), QPoint(view.maxScroll().width(), view.maxScroll().height()));
}

void BoardViewTest::bankruptTokenIsNotDrawn() {
  ViewFixture f;
  Player& bo = f.game.state.players[1];
  bo.tokenX = 300;
  bo.tokenY = 300;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {685, 685});
  QCOMPARE(PixelAt(view, {320, 320}), kToken1Blue);
  bo.isBankrupt = 1;
  QCOMPARE(PixelAt(view, {320, 320}), kBoardGreen);
  // Scrolled, the token moves with the board.
  bo.isBankrupt = 0;
  view.resize(300, 300);
  view.horizontalScrollBar()->setValue(200);
  view.verticalScrollBar()->setValue(200);
  QCOMPARE(view.scrollOffset(), QPoint(200, 200));
  QCOMPARE(PixelAt(view, {120, 120}), kToken1Blue);
}

// Owner marks live in the cached board: they change when the board is marked dirty, not before.
void BoardViewTest::marksChangeOnlyAtARebuild() {
  ViewFixture f;
  BoardView view(f.game, f.picture);
  ShowWithClient(view, {685, 685});
  const QPoint mark(SquareEdge(1) + 10, 10);  // the owner mark of square 1 hangs from the top
  QCOMPARE(PixelAt(view, mark), kBoardGreen);
  f.game.state.properties[kBoardLayout[1]].owner = 0;
  QCOMPARE(PixelAt(view, mark), kBoardGreen);
  view.MarkDirty();
  QCOMPARE(qRed(PixelAt(view, mark)), qRed(kToken0Red));
  QCOMPARE(view.boardIsDirty(), false);
  f.game.state.properties[kBoardLayout[1]].owner = kNobody;
  view.MarkDirty();
  QCOMPARE(PixelAt(view, mark), kBoardGreen);
}

QTEST_MAIN(BoardViewTest)
#include "board_view_test.moc"
