#include "ui/scroll_drag.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace tomtura {

// ---- Scroll arithmetic -----------------------------------------------------------------------

std::pair<bool, bool> NeededScrollBars(QSize available, QSize needed, QSize bars) {
  bool horizontal = false;
  bool vertical = false;
  for (int pass = 0; pass < 2; ++pass) {
    horizontal = available.width() - (vertical ? bars.width() : 0) < needed.width();
    vertical = available.height() - (horizontal ? bars.height() : 0) < needed.height();
  }
  return {horizontal, vertical};
}

int SnapScrollOffset(int offset, int maxScroll) {
  if (offset < maxScroll - kScrollSnapSlack) {
    offset -= offset % kScrollStep;
  } else {
    offset = maxScroll;
  }
  return std::max(offset, 0);
}

int ScrollBarTarget(QAbstractSlider::SliderAction action, int offset, int maxScroll, int page,
                    int thumb) {
  using Slider = QAbstractSlider;
  if (action == Slider::SliderSingleStepAdd) offset += kScrollStep;
  if (action == Slider::SliderSingleStepSub) offset -= kScrollStep;
  if (action == Slider::SliderPageStepAdd) offset += page;
  if (action == Slider::SliderPageStepSub) offset -= page;
  if (action == Slider::SliderToMinimum) offset = 0;
  if (action == Slider::SliderToMaximum) offset = maxScroll;
  if (action == Slider::SliderMove) offset = thumb;
  return SnapScrollOffset(offset, maxScroll);
}

int DragScrollDelta(int dragPoint, int mouse, int offset, int maxScroll) {
  int delta = dragPoint - mouse;
  delta -= delta % kScrollStep;  // towards zero
  return std::clamp(offset + delta, 0, std::max(maxScroll, 0)) - offset;
}

// ---- The scroll area ---------------------------------------------------------------------------

DragScrollArea::DragScrollArea(QWidget* parent) : QAbstractScrollArea(parent) {
  // Moves without a button arrive too, so that a drag whose release went elsewhere ends.
  viewport()->setMouseTracking(true);
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setSingleStep(kScrollStep);
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, bar](int action) { OnScrollAction(bar, action); });
  }
}

QPoint DragScrollArea::scrollOffset() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void DragScrollArea::FitScrollBars(QSize needed, QSize extent, bool barsAllowed) {
  const QSize available = contentsRect().size();
  const QSize bars(verticalScrollBar()->sizeHint().width(),
                   horizontalScrollBar()->sizeHint().height());
  const auto [horizontal, vertical] =
      barsAllowed ? NeededScrollBars(available, needed, bars) : std::pair(false, false);
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const QSize client(available.width() - (vertical ? bars.width() : 0),
                     available.height() - (horizontal ? bars.height() : 0));
  maxScrollX = horizontal ? extent.width() - client.width() : 0;
  maxScrollY = vertical ? extent.height() - client.height() : 0;
  // The page step only sizes the thumb; page clicks are worked out in OnScrollAction.
  horizontalScrollBar()->setPageStep(std::max(1, client.width()));
  verticalScrollBar()->setPageStep(std::max(1, client.height()));
  // Shrinking a range pulls the offset in, so the content's far edge stays at the view's edge.
  horizontalScrollBar()->setRange(0, maxScrollX);
  verticalScrollBar()->setRange(0, maxScrollY);
}

void DragScrollArea::OnScrollAction(QAbstractSlider* bar, int action) {
  bar->setSliderPosition(ScrollBarTarget(static_cast<QAbstractSlider::SliderAction>(action),
                                         bar->value(), bar->maximum(), PageStep(bar),
                                         bar->sliderPosition()));
}

// ---- Dragging ----------------------------------------------------------------------------------

void DragScrollArea::BeginDrag(QPoint at) {
  if (dragging) return;
  dragging = true;
  dragPoint = at;
  viewport()->setCursor(Qt::ClosedHandCursor);
}

void DragScrollArea::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging) return;
  // Without the button the view has lost the mouse: the drag is over.
  if (!(event->buttons() & Qt::LeftButton)) {
    EndDrag();
    return;
  }
  const QPoint at = event->position().toPoint();
  const QPoint scroll = scrollOffset();
  const int dx = DragScrollDelta(dragPoint.x(), at.x(), scroll.x(), maxScrollX);
  const int dy = DragScrollDelta(dragPoint.y(), at.y(), scroll.y(), maxScrollY);
  if (dx == 0 && dy == 0) return;
  horizontalScrollBar()->setValue(scroll.x() + dx);
  verticalScrollBar()->setValue(scroll.y() + dy);
  dragPoint -= QPoint(dx, dy);
}

void DragScrollArea::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EndDrag();
}

void DragScrollArea::EndDrag() {
  if (!dragging) return;
  dragging = false;
  viewport()->unsetCursor();
}

}  // namespace tomtura
