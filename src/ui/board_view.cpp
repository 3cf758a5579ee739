// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/board_view.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QWidgetAction>
#include <algorithm>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"

namespace tomtura {

namespace {

// Down to three quarters of its side, and at any larger size, bilinear filtering looks as
// averaging the covered pixels does (within a few levels of 255) and costs a fraction of it, so
// the board is filtered as it is painted; a stronger shrink is averaged once and kept.
bool AveragedWhenStretched(QSize board, QSize size) {
  return 4 * size.width() < 3 * board.width() || 4 * size.height() < 3 * board.height();
}

constexpr int kEdgeSquares = 10;  // squares from one corner to the next
constexpr int kFarEdge = 599;     // where the right column and the bottom row begin
constexpr int kTokenPictures = 10;
constexpr int kGroupMarkers = 11;  // groups 0..10
constexpr int kFollowOffset = kTokenSize / 2;
constexpr int kMarkInset = 14;  // marks and buildings are set 14 pixels along the edge
constexpr int kStationRents[] = {4000, 2000, 1000, 500};
constexpr QSize kCardSize(118, 56);
constexpr QRgb kCardColour = qRgb(255, 255, 235);
constexpr int kCardTextX = 24;

// Where the marks of a square go, for the four edges in the order top, right, bottom, left.
// `along` is added to the square's edge coordinate (SquareEdge), `across` is fixed.
struct Place {
  int along;
  int across;
};
struct EdgeMarks {
  bool horizontal;  // top and bottom: `along` is x
  Place owner, mortgage, house, hotel;
  int buildingTurn;  // house and hotel pictures: 0 top and bottom, 1 right, 2 left
};
constexpr EdgeMarks kEdgeMarks[] = {
    {true, {0, 0}, {kMarkInset, 63}, {0, 70}, {kMarkInset, 64}, 0},
    {false, {0, 666}, {kMarkInset, 595}, {-1, 600}, {kMarkInset, 600}, 1},
    {true, {0, 600}, {kMarkInset, 661}, {0, 668}, {kMarkInset, 662}, 0},
    {false, {0, 0}, {kMarkInset, 61}, {-1, 70}, {kMarkInset, 64}, 2},
};
// The first coordinate of square s along its edge is base + sign * 57 * s.
constexpr int kEdgeBase[] = {kEdgeOrigin, -541, 1739, 2309};
constexpr int kEdgeSign[] = {1, 1, -1, -1};

QPoint MarkAt(const EdgeMarks& marks, Place place, int edge, int shift = 0) {
  const int along = edge + place.along + shift;
  return marks.horizontal ? QPoint(along, place.across) : QPoint(place.across, along);
}

bool ValidOwner(int owner) {
  return owner >= 0 && owner < kMaxPlayers;
}

// Scales a board coordinate to a client of `size` pixels, rounding outwards by one pixel so
// that the smoothed edges of a scaled token are covered.
int ScaleDown(int c, int size) {
  return c * size / kBoardSize - 1;
}
int ScaleUp(int c, int size) {
  return (c * size + kBoardSize - 1) / kBoardSize + 1;
}

// The one item of the right-click card: name, price, owner and rent of a property.
class PropertyCard : public QWidget {
 public:
  PropertyCard(const Game& game, const BoardPicture& picture, const int& property)
      : game(game), picture(picture), property(property) {
    setFixedSize(kCardSize);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kCardColour));
    if (property < 0 || property >= kPropertyCount) return;
    const int group = game.state.properties[property].group;
    if (group >= 0 && group < kGroupMarkers) painter.drawPixmap(2, 2, picture.GroupMarker(group));
    painter.setFont(DialogFont());
    painter.setPen(Qt::black);
    const QRect textArea(kCardTextX, 0, width() - kCardTextX, height());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QString::fromStdString(CardText(game, property)));
  }

  // Choosing the item does nothing but close the card. Only a click that began on the card
  // counts, not the release of the button that opened it.
  void mousePressEvent(QMouseEvent*) override { pressed = true; }
  void hideEvent(QHideEvent*) override { pressed = false; }
  void mouseReleaseEvent(QMouseEvent*) override {
    if (!pressed) return;
    pressed = false;
    if (auto* menu = qobject_cast<QMenu*>(parentWidget())) menu->close();
  }

 private:
  const Game& game;
  const BoardPicture& picture;
  const int& property;
  bool pressed = false;
};

}  // namespace

// ---- Board geometry --------------------------------------------------------------------------

int SquareAt(QPoint b) {
  if (b.x() < 0 || b.y() < 0 || b.x() >= kBoardSize || b.y() >= kBoardSize) return -1;
  // Steps of 57 counted from x (or y) 29 give the square along an edge; the far corner is
  // 86 pixels wide, so the count stops at it.
  auto along = [](int c) { return std::min((c - kEdgeOrigin) / kSquarePitch, kEdgeSquares); };
  if (b.y() <= kCornerSize) return along(b.x());
  if (b.x() >= kFarEdge) return kEdgeSquares + along(b.y());
  if (b.y() >= kFarEdge) return 3 * kEdgeSquares - along(b.x());
  if (b.x() <= kCornerSize) return (4 * kEdgeSquares - along(b.y())) % kSquareCount;
  return -1;
}

int SquareEdge(int s) {
  if (s <= 0 || s >= kSquareCount || s % kEdgeSquares == 0) return -1;
  const int side = s / kEdgeSquares;
  return kEdgeBase[side] + kEdgeSign[side] * kSquarePitch * s;
}

namespace {

constexpr int kSmallToken = 26;
constexpr int kAbreastStep = 27;  // two tokens side by side on one square's apron
// GO's tokens stand in the band below its amount.
constexpr int kGoTokenTop = 56;
// Visitors of the jail: the first in the corner where the two visitors' strips meet, clear of
// their words; the others on the strips.
constexpr QRect kVisitorCorner(663, 0, 22, 22);
constexpr QPoint kVisitorSlots[kMaxPlayers] = {{663, 0},  {659, 21}, {633, -5},
                                               {659, 45}, {607, -5}, {659, 62}};
constexpr QPoint kPrisonerSlots[kMaxPlayers] = {{604, 30}, {634, 30}, {604, 56},
                                                {634, 56}, {619, 43}, {619, 30}};

int SquareOf(const Player& player) {
  return ((player.position % kSquareCount) + kSquareCount) % kSquareCount;
}

// Player i's place among the players in the game who stand with him (in the jail corner:
// among the visitors, or among the prisoners), and how many they are.
std::pair<int, int> RankOnSquare(const GameState& state, int i) {
  const Player& self = state.players[static_cast<std::size_t>(i)];
  const auto together = [&](const Player& other) {
    return other.isBankrupt == 0 && SquareOf(other) == SquareOf(self) &&
           (SquareOf(self) != kJailSquare || (other.jailTurns > 0) == (self.jailTurns > 0));
  };
  int rank = 0;
  int count = 0;
  const int players = std::clamp<int>(state.playerCount, 0, kMaxPlayers);
  for (int n = 0; n < players; ++n) {
    if (n != i && !together(state.players[static_cast<std::size_t>(n)])) continue;
    if (n < i) ++rank;
    ++count;
  }
  return {rank, std::max(count, 1)};
}

}  // namespace

QRect TokenRect(const GameState& state, int i) {
  const Player& player = state.players[static_cast<std::size_t>(i)];
  const int square = SquareOf(player);
  const auto [rank, count] = RankOnSquare(state, i);
  const QSize small(kSmallToken, kSmallToken);
  if (square == 0) {
    // Up to three abreast; more close up, overlapping, within the corner.
    const int step = count <= 3 ? kAbreastStep : (kCornerSize - kSmallToken) / (count - 1);
    const int left = count <= 3 ? 3 : 0;
    return QRect(QPoint(left + rank * step, kGoTokenTop), small);
  }
  if (square == kJailSquare) {
    if (player.jailTurns == 0 && rank == 0) return kVisitorCorner;
    return QRect((player.jailTurns > 0 ? kPrisonerSlots : kVisitorSlots)[rank], small);
  }
  if (square % kEdgeSquares == 0) {
    return QRect(player.tokenX, player.tokenY, kTokenSize, kTokenSize);
  }
  // A square of an edge: its tokens stand on the board's middle just inside it, two abreast and
  // further rows towards the centre, so that the square's name, price and buildings stay seen.
  const int along = SquareEdge(square) + 2 + kAbreastStep * (rank % 2);
  const int row = rank / 2;
  constexpr int kInner = kBoardSize - kCornerSize;
  switch (square / kEdgeSquares) {
    case 0:
      return QRect(QPoint(along, kCornerSize + row * kSmallToken), small);
    case 1:
      return QRect(QPoint(kInner - (row + 1) * kSmallToken, along), small);
    case 2:
      return QRect(QPoint(along, kInner - (row + 1) * kSmallToken), small);
    default:
      return QRect(QPoint(kCornerSize + row * kSmallToken, along), small);
  }
}

QRect StretchedBoardRect(QSize client) {
  const int side = std::max(0, std::min(client.width(), client.height()));
  return QRect((client.width() - side) / 2, (client.height() - side) / 2, side, side);
}

QPoint ViewToBoard(QPoint p, QPoint scroll, QSize client, bool stretched) {
  if (!stretched) return p + scroll;
  const QRect square = StretchedBoardRect(client);
  if (square.width() <= 0) return {-1, -1};
  const QPoint inside = p - square.topLeft();
  if (inside.x() < 0 || inside.y() < 0) return {-1, -1};
  return {(inside.x() * kBoardSize + 1) / square.width(),
          (inside.y() * kBoardSize + 1) / square.height()};
}

QRect ViewRect(const QRect& board, QPoint scroll, QSize client, bool stretched) {
  if (!stretched) return board.translated(-scroll);
  const QRect square = StretchedBoardRect(client);
  const int left = square.left() + ScaleDown(board.left(), square.width());
  const int top = square.top() + ScaleDown(board.top(), square.height());
  const int right = square.left() + ScaleUp(board.left() + board.width(), square.width());
  const int bottom = square.top() + ScaleUp(board.top() + board.height(), square.height());
  return QRect(left, top, right - left, bottom - top);
}

// ---- The property card ---------------------------------------------------------------------

std::string CardRentText(const Game& game, int p) {
  if (p < 0 || p >= kPropertyCount) return {};
  const PropertyTable& table = game.state.properties;
  const Property& property = table[p];
  if (property.mortgaged) return game.Text(kTextMortgaged);
  if (!ValidOwner(property.owner)) return "-";
  if (property.houses > 0) {
    const int houses = std::min<int>(property.houses, kHotel);
    return game.FormatCatalogue(kTextCardRent, static_cast<int>(property.rent[houses]));
  }
  // The other members of the group (a contiguous run of the table) that this owner lacks.
  int first = p;
  while (first > 0 && table[first - 1].group == property.group) --first;
  int othersOwned = 0;
  for (int i = first; i < kPropertyCount && table[i].group == property.group; ++i) {
    if (table[i].owner != property.owner) ++othersOwned;
  }
  const int rent = property.rent[0];
  int amount = rent;
  if (property.group >= 0 && property.group < kStationGroup) {
    amount = othersOwned == 0 ? 2 * rent : rent;
  } else if (property.group == kStationGroup) {
    amount = kStationRents[std::min(othersOwned, 3)];
  } else if (property.group == kUtilityGroup) {
    return game.FormatCatalogue(kTextCardUtilityRent, othersOwned == 0 ? 2 : 1);
  }
  return game.FormatCatalogue(kTextCardRent, amount);
}

std::string CardText(const Game& game, int p) {
  if (p < 0 || p >= kPropertyCount) return {};
  const Property& property = game.state.properties[p];
  const std::string owner =
      ValidOwner(property.owner) ? game.PlayerName(property.owner) : game.Text(kTextNoOwner);
  return game.FormatCatalogue(kTextCard, game.PropertyName(p), static_cast<int>(property.price),
                              owner, CardRentText(game, p));
}

// ---- The view --------------------------------------------------------------------------------

BoardView::BoardView(Game& game, const BoardPicture& picture, QWidget* parent)
    : DragScrollArea(parent), game(game), picture(picture) {
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  cardMenu = new QMenu(this);
  auto* item = new QWidgetAction(cardMenu);
  item->setDefaultWidget(new PropertyCard(game, picture, cardProperty_));
  cardMenu->addAction(item);
  AdaptScrollBars();
}

BoardView::~BoardView() = default;

void BoardView::MarkDirty() {
  boardDirty = true;
  viewport()->update();
}

void BoardView::SetStretched(bool on) {
  if (stretchBoard == on) return;
  stretchBoard = on;
  EndDrag();
  AdaptScrollBars();
  viewport()->update();
}

void BoardView::ResetScroll() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

void BoardView::AdaptScrollBars() {
  const QSize board(kBoardSize, kBoardSize);
  FitScrollBars(board, board, !stretchBoard);
}

// A tenth of the range, but never less than one step: smaller pages would be rounded away.
int BoardView::PageStep(const QAbstractSlider* bar) const {
  return std::max(bar->maximum() / 10, kScrollStep);
}

void BoardView::scrollContentsBy(int dx, int dy) {
  if (stretchBoard) return;
  viewport()->scroll(dx, dy);
}

void BoardView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  AdaptScrollBars();
  if (stretchBoard) viewport()->update();
}

void BoardView::FollowToken() {
  const GameState& state = game.state;
  if (state.currentPlayer < 0 || state.currentPlayer >= kMaxPlayers) return;
  const Player& player = state.players[state.currentPlayer];
  const QSize client = viewport()->size();
  if (maxScrollX != 0) {
    horizontalScrollBar()->setValue(
        std::clamp(player.tokenX - client.width() / 2 + kFollowOffset, 0, maxScrollX));
  }
  if (maxScrollY != 0) {
    verticalScrollBar()->setValue(
        std::clamp(player.tokenY - client.height() / 2 + kFollowOffset, 0, maxScrollY));
  }
}

void BoardView::TokenStepped(int, int) {
  const GameState& state = game.state;
  if (state.currentPlayer < 0 || state.currentPlayer >= kMaxPlayers) return;
  FollowToken();
  // The token and those it leaves or joins move to new places on their squares: every token's
  // place before the step and after it is redrawn.
  const int count = std::clamp<int>(state.playerCount, 0, kMaxPlayers);
  for (int i = 0; i < count; ++i) {
    for (const QRect& place : {drawnTokens[static_cast<std::size_t>(i)], TokenRect(state, i)}) {
      if (place.isValid()) {
        viewport()->update(ViewRect(place, BoardScroll(), viewport()->size(), stretchBoard));
      }
    }
  }
}

void BoardView::CentreOnCurrentPlayer() {
  // A minimised main window has nothing to centre.
  if (window()->width() <= 36) return;
  FollowToken();
  MarkDirty();
}

// ---- Painting --------------------------------------------------------------------------------

void BoardView::RebuildBoardImage() {
  if (boardImage.isNull()) boardImage = QPixmap(kBoardSize, kBoardSize);
  stretchedImage = QPixmap();
  QPainter painter(&boardImage);
  if (picture.isNull()) {
    painter.fillRect(boardImage.rect(), Qt::lightGray);
  } else {
    painter.drawImage(QPoint(0, 0), picture.sheet(), sheet::kBoard);
  }
  const GameState& state = game.state;
  for (int square = 0; square < kSquareCount; ++square) {
    const int p = kBoardLayout[square];
    const int e = SquareEdge(square);
    if (p < 0 || e < 0) continue;
    const Property& property = state.properties[p];
    const EdgeMarks& marks = kEdgeMarks[square / kEdgeSquares];
    if (ValidOwner(property.owner)) {
      const int token = state.players[property.owner].token;
      if (token >= 0 && token < kTokenPictures) {
        painter.drawPixmap(MarkAt(marks, marks.owner, e), picture.OwnerMark(token));
      }
      if (property.mortgaged) {
        painter.drawPixmap(MarkAt(marks, marks.mortgage, e), picture.MortgageMark());
      }
    }
    if (property.houses == kHotel) {
      painter.drawPixmap(MarkAt(marks, marks.hotel, e), picture.Hotel(marks.buildingTurn));
    } else {
      for (int i = 0; i < property.houses && i < kHotel - 1; ++i) {
        painter.drawPixmap(MarkAt(marks, marks.house, e, kMarkInset * i),
                           picture.House(marks.buildingTurn));
      }
    }
  }
  boardDirty = false;
}

void BoardView::DrawTokens(QPainter& painter, QPoint origin) const {
  const GameState& state = game.state;
  const int count = std::clamp<int>(state.playerCount, 0, kMaxPlayers);
  for (int i = 0; i < count; ++i) {
    const Player& player = state.players[i];
    if (player.isBankrupt || player.token < 0 || player.token >= kTokenPictures) continue;
    const QPixmap& token = picture.Token(player.token);
    const QRect place = TokenRect(state, i);
    drawnTokens[static_cast<std::size_t>(i)] = place;
    if (stretchBoard) {
      const QRect square = StretchedBoardRect(viewport()->size());
      const double scale = double(square.width()) / kBoardSize;
      painter.drawPixmap(
          QRectF(square.left() + place.left() * scale, square.top() + place.top() * scale,
                 place.width() * scale, place.height() * scale),
          token, QRectF(token.rect()));
    } else if (place.size() == token.size()) {
      painter.drawPixmap(place.topLeft() + origin, token);
    } else {
      painter.save();
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawPixmap(place.translated(origin), token);
      painter.restore();
    }
  }
}

// The scroll offsets, less the margin that centres the whole board in a view wider or higher
// than the board.
QPoint BoardView::BoardScroll() const {
  const QSize client = viewport()->size();
  return scrollOffset() - QPoint(std::max(0, (client.width() - kBoardSize) / 2),
                                 std::max(0, (client.height() - kBoardSize) / 2));
}

void BoardView::paintEvent(QPaintEvent* event) {
  if (boardDirty || boardImage.isNull()) RebuildBoardImage();
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  const QPoint scroll = stretchBoard ? QPoint() : BoardScroll();
  QRect board;
  if (stretchBoard) {
    const QRect square = StretchedBoardRect(viewport()->size());
    board = square & dirty;
    if (board.isEmpty()) {
      // Nothing of the board to paint.
    } else if (AveragedWhenStretched(boardImage.size(), square.size())) {
      if (stretchedImage.size() != square.size()) {
        stretchedImage =
            boardImage.scaled(square.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      }
      painter.drawPixmap(board, stretchedImage, board.translated(-square.topLeft()));
    } else {
      painter.save();
      painter.setClipRect(board);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawPixmap(square, boardImage);
      painter.restore();
    }
  } else {
    board = QRect(-scroll, QSize(kBoardSize, kBoardSize)) & dirty;
    if (!board.isEmpty()) painter.drawPixmap(board, boardImage, board.translated(scroll));
  }
  // A view larger than the board shows the window's background around it.
  const QRegion around = QRegion(dirty) - QRegion(board);
  if (!around.isEmpty()) {
    painter.setClipRegion(around);
    painter.fillRect(dirty, picture.isNull() ? QBrush(Qt::darkGray) : picture.BackgroundBrush());
    painter.setClipping(false);
  }
  if (stretchBoard) painter.setRenderHint(QPainter::SmoothPixmapTransform);
  DrawTokens(painter, -scroll);
}

// ---- Mouse -----------------------------------------------------------------------------------

bool BoardView::ShowCardAt(QPoint viewPoint, QPoint globalPos) {
  const QPoint b = ViewToBoard(viewPoint, BoardScroll(), viewport()->size(), stretchBoard);
  const int square = SquareAt(b);
  if (square < 0 || kBoardLayout[square] < 0) return false;
  cardProperty_ = kBoardLayout[square];
  cardMenu->popup(globalPos);
  return true;
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    ShowCardAt(at, event->globalPosition().toPoint());
    return;
  }
  if (event->button() == Qt::LeftButton && !stretchBoard) BeginDrag(at);
}

}  // namespace tomtura
