#pragma once
// The board view: the 685 x 685 board with owner marks, mortgage marks, buildings and tokens,
// scrolled in steps of 8 pixels or stretched to the window. The board with its marks is kept
// in an off-screen picture that is rebuilt only when owners, mortgages or buildings change.
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>
#include <utility>

#include "ui/board_picture.h"

class QMenu;

namespace tomtura {

class Game;

constexpr int kTokenSize = 40;
constexpr int kScrollStep = 8;       // offsets move in steps of 8 so patterns stay aligned
constexpr int kScrollSnapSlack = 4;  // closer than this to the end, an offset goes to the end
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

// A point of the view's client area in board coordinates: plus the scroll offsets, or scaled
// back from the client size when the board is stretched.
QPoint ViewToBoard(QPoint viewPoint, QPoint scroll, QSize client, bool stretched);

// The client rectangle a token step has to repaint: the token's old and new places, both 40 x 40,
// 80 pixels deeper when `coversGoPlaces` (the token has just left GO, where a new game may have
// placed it further down the corner). Scaled to the client when stretched.
QRect StepRepaintRect(QPoint from, QPoint to, QPoint scroll, bool coversGoPlaces, QSize client,
                      bool stretched);

// ---- Scroll arithmetic shared by the board view and the player panel ----------------------------

// Which scroll bars {horizontal, vertical} a client area needs: `available` is its size without
// bars, `needed` the size below which a bar appears, `bars` the thickness of the vertical bar
// (width) and the horizontal bar (height). A bar that appears takes room from the other way.
std::pair<bool, bool> NeededScrollBars(QSize available, QSize needed, QSize bars);

// Snaps an offset after a change: below maxScroll - 4 it is rounded down to a multiple of 8,
// else it becomes maxScroll; never below 0.
int SnapScrollOffset(int offset, int maxScroll);

// The offset a scroll bar action leads to from `offset`, snapped. `thumb` is the position the
// thumb was dragged to (used for moves), `page` the page step.
int ScrollBarTarget(QAbstractSlider::SliderAction action, int offset, int maxScroll, int page,
                    int thumb);

// One mouse move of a drag: the distance from `dragPoint` to `mouse`, truncated towards zero to
// a multiple of 8 and limited so that the offset stays within 0..maxScroll. Returns the change
// of the offset (the drag point moves by its negative).
int DragScrollDelta(int dragPoint, int mouse, int offset, int maxScroll);

// ---- The property card ---------------------------------------------------------------------

// What the card says about the rent of property p, as UTF-8.
std::string CardRentText(const Game& game, int property);
// The whole card text: name, price, owner and rent.
std::string CardText(const Game& game, int property);

// ---- The view --------------------------------------------------------------------------------

class BoardView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  BoardView(Game& game, const BoardPicture& picture, QWidget* parent = nullptr);
  ~BoardView() override;

  // Owners, mortgages or buildings changed: rebuild the board picture at the next paint.
  void MarkDirty();
  // After a step of the current token from (fromX, fromY): follow it and repaint the rectangle
  // its old and new places cover.
  void TokenStepped(int fromX, int fromY);
  // Centres the current token, rebuilds the marks and repaints the whole view.
  void CentreOnCurrentPlayer();
  void SetStretched(bool on);
  // A new game starts at offset (0, 0).
  void ResetScroll();
  bool stretched() const { return stretchBoard; }

  QPoint scrollOffset() const;
  QSize maxScroll() const { return {maxScrollX, maxScrollY}; }
  bool boardIsDirty() const { return boardDirty; }
  // The property the card shows (or showed last), -1 before the first card.
  int cardProperty() const { return cardProperty_; }
  // Opens the card for the square under a client point; false when there is nothing to show.
  bool ShowCardAt(QPoint viewPoint, QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void AdaptScrollBars();
  QSize barThickness() const;
  void OnScrollAction(QAbstractSlider* bar, int action);
  void FollowToken();
  void RebuildBoardImage();
  void DrawTokens(QPainter& painter, QPoint origin) const;
  void EndDrag();

  Game& game;
  const BoardPicture& picture;
  QPixmap boardImage;
  QPixmap stretchedImage;  // boardImage scaled to the client while the board is stretched
  QMenu* cardMenu = nullptr;
  bool boardDirty = true;
  bool stretchBoard = false;
  int maxScrollX = 0;
  int maxScrollY = 0;
  bool dragging = false;
  QPoint dragPoint;
  int cardProperty_ = -1;
};

}  // namespace tomtura
