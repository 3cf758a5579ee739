#include "ui/command_button.h"

#include <QPainter>

#include "ui/balloon_tips.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"

namespace tomtura {

namespace {

constexpr int kIconInset = 3;
constexpr int kPressedIconInset = 5;

}  // namespace

CommandButton::CommandButton(int command, int iconIndex, const BoardPicture& picture,
                             const int& flat, QWidget* parent)
    : QAbstractButton(parent),
      command_(command),
      iconIndex_(iconIndex),
      picture_(picture),
      flat_(flat) {
  setFocusPolicy(Qt::StrongFocus);
  // The button is known by its command, as the balloon tips look controls up.
  SetControlId(this, command);
}

QSize CommandButton::sizeHint() const {
  return {kSize, kSize};
}

void CommandButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect r = rect();
  // The window's pattern runs on under the button without a seam.
  if (!picture_.isNull()) {
    painter.setBrushOrigin(-pos());
    painter.fillRect(r, picture_.BackgroundBrush());
  } else {
    painter.fillRect(r, palette().window());
  }
  const bool sunk = isDown() || !isEnabled();
  if (flat_ == 0) {
    Frame3D(painter, r, !sunk, !sunk, 0);
    Frame3D(painter, r.adjusted(1, 1, -1, -1), !sunk, sunk, 0);
  } else if (HoverControl() == this) {
    Frame3D(painter, r, !sunk, false, 0);
  }
  if (!picture_.isNull()) {
    const int inset = sunk ? kPressedIconInset : kIconInset;
    painter.drawPixmap(inset, inset, picture_.ButtonIcon(iconIndex_));
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(r.adjusted(2, 2, -3, -3));
  }
}

}  // namespace tomtura
