// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The board view: the 685 x 685 board with owner marks, mortgage marks, buildings and tokens,
// scrolled in steps of 8 pixels or stretched to the window. The board with its marks is kept
// in an off-screen picture that is rebuilt only when owners, mortgages or buildings change.
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <string>

#include "ui/board_picture.h"
#include "ui/scroll_drag.h"

class QMenu;

namespace tomtura {

class Game;

constexpr int kTokenSize = 40;
constexpr int kCornerSize = 86;
constexpr int kSquarePitch = 57;
constexpr int kEdgeOrigin = 29;  // square s of the top edge starts at x = 29 + 57 s

// ---- Board geometry --------------------------------------------------------------------------

// The square under a point of the unstretched board, or -1 for a point off the board or in the
// middle of it.
int SquareAt(QPoint boardPoint);

// The edge coordinate of square s that its marks hang from: the left x of squares on the top and
// bottom edges, the top y of squares on the right and left edges. -1 for corners.
int SquareEdge(int square);

// Where player i's token is drawn, in board coordinates, small: on GO in the band below its
// amount, in the jail corner a visitor on the visitors' strip (the first clear of its words) and
// a prisoner behind the bars, on a square of an edge on the board's middle just inside the
// square (two abreast, then further rows towards the centre), so that no token hides a label,
// a name or a building. The free-parking and go-to-jail corners keep the rules' places. Their
// places in the game state are unchanged.
QRect TokenRect(const GameState& state, int player);
// The labels the tokens leave free: GO's word and amount, and the jail corner's words.
inline constexpr QRect kGoCorner(0, 0, 86, 86);
inline constexpr QRect kJailCorner(599, 0, 86, 86);
inline constexpr QRect kJailBars(598, 20, 67, 65);  // in the picture: the bars and their sign
inline constexpr QRect kGoLabel(0, 0, 86, 54);
inline constexpr QRect kJailTopLabel(601, 3, 62, 14);
inline constexpr QRect kJailSideLabel(668, 22, 14, 62);

// Where the stretched board stands in a client area: the largest square that fits, centred, so
// that the board keeps its proportions.
QRect StretchedBoardRect(QSize client);

// A point of the view's client area in board coordinates: plus the scroll offsets, or scaled
// back from the stretched board's square when the board is stretched.
QPoint ViewToBoard(QPoint viewPoint, QPoint scroll, QSize client, bool stretched);

// A rectangle of the board in the view's client coordinates: less the scroll offsets, or
// scaled to the stretched board's square (rounded outwards, for the smoothed edges of scaled
// pictures).
QRect ViewRect(const QRect& board, QPoint scroll, QSize client, bool stretched);

// ---- The property card ---------------------------------------------------------------------

// What the card says about the rent of property p, as UTF-8.
std::string CardRentText(const Game& game, int property);
// The whole card text: name, price, owner and rent.
std::string CardText(const Game& game, int property);

// ---- The view --------------------------------------------------------------------------------

class BoardView : public DragScrollArea {
  Q_OBJECT

 public:
  BoardView(Game& game, const BoardPicture& picture, QWidget* parent = nullptr);
  ~BoardView() override;

  // Owners, mortgages or buildings changed: rebuild the board picture at the next paint.
  void MarkDirty();
  // After a step of the current token: follow it, and repaint the places of the tokens it left
  // and joined (the rules' from-place is not needed: tokens are drawn by their squares).
  void TokenStepped(int fromX, int fromY);
  // Centres the current token, rebuilds the marks and repaints the whole view.
  void CentreOnCurrentPlayer();
  void SetStretched(bool on);
  // A new game starts at offset (0, 0).
  void ResetScroll();
  bool stretched() const { return stretchBoard; }

  bool boardIsDirty() const { return boardDirty; }
  // The property the card shows (or showed last), -1 before the first card.
  int cardProperty() const { return cardProperty_; }
  // Opens the card for the square under a client point; false when there is nothing to show.
  bool ShowCardAt(QPoint viewPoint, QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  int PageStep(const QAbstractSlider* bar) const override;

 private:
  void AdaptScrollBars();
  void FollowToken();
  void RebuildBoardImage();
  void DrawTokens(QPainter& painter, QPoint origin) const;
  QPoint BoardScroll() const;

  Game& game;
  const BoardPicture& picture;
  QPixmap boardImage;
  QPixmap stretchedImage;  // boardImage averaged down to a client much smaller than the board
  QMenu* cardMenu = nullptr;
  bool boardDirty = true;
  bool stretchBoard = false;
  int cardProperty_ = -1;
  // Where each token was drawn last, in board coordinates: a step redraws it there and anew.
  mutable std::array<QRect, kMaxPlayers> drawnTokens{};
};

}  // namespace tomtura
