#pragma once
// Scrolling shared by the board view and the player panel: offsets that move in steps of 8
// pixels, scroll bars switched on only when the content needs them, and dragging the content
// with the left mouse button.
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QPoint>
#include <QSize>
#include <utility>

class QMouseEvent;

namespace tomtura {

constexpr int kScrollStep = 8;       // offsets move in steps of 8 so patterns stay aligned
constexpr int kScrollSnapSlack = 4;  // closer than this to the end, an offset goes to the end

// ---- Scroll arithmetic -----------------------------------------------------------------------

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

// ---- The scroll area ---------------------------------------------------------------------------

// A scroll area whose bars move in steps of 8 and whose content follows a drag with the left
// button. Subclasses give the content's size (FitScrollBars) and the page step of each bar.
class DragScrollArea : public QAbstractScrollArea {
  Q_OBJECT

 public:
  QPoint scrollOffset() const;
  QSize maxScroll() const { return {maxScrollX, maxScrollY}; }

 protected:
  explicit DragScrollArea(QWidget* parent);

  // Switches the bars on and off for content that needs a bar below `needed` and scrolls over
  // `extent`, and sets the ranges. Without `barsAllowed` both bars stay off. The bars are
  // switched here rather than left to show as needed: a bar that is shown would otherwise keep
  // itself needed by the room it takes.
  void FitScrollBars(QSize needed, QSize extent, bool barsAllowed = true);
  // How far a page click on `bar` moves.
  virtual int PageStep(const QAbstractSlider* bar) const = 0;

  // A left-button press starts a drag (unless one is under way); the release ends it.
  void BeginDrag(QPoint at);
  void EndDrag();
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  int maxScrollX = 0;
  int maxScrollY = 0;

 private:
  void OnScrollAction(QAbstractSlider* bar, int action);

  bool dragging = false;
  QPoint dragPoint;
};

}  // namespace tomtura
