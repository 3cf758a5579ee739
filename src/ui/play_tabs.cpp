#include "ui/play_tabs.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/play_window.h"

namespace tomtura {

namespace {

// Catalogue texts of the tabs, by page.
constexpr int kTabTexts[kPageCount] = {118, 119, 120, 107, 116, 117};

constexpr int kTabUnselectedIndent = 6;
constexpr int kTabOverhang = 8;
constexpr int kTabTextInset = 7;

constexpr QColor kDarkGrey(128, 128, 128);

}  // namespace

PageTabs::PageTabs(Game& game, std::function<void(int)> select, QWidget* parent)
    : QWidget(parent), select_(std::move(select)) {
  for (int i = 0; i < kPageCount; ++i) texts_[i] = Qs(game.Text(kTabTexts[i]));
  setFocusPolicy(Qt::StrongFocus);
  SetControlId(this, PlayWindow::kIdPageList);
}

void PageTabs::SetCurrent(int page) {
  current_ = page;
  update();
}

void PageTabs::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kGrey);
  p.setFont(DialogFont());
  for (int i = 0; i < kPageCount; ++i) {
    const QRect item = ItemRect(i);
    const bool selected = i == current_;
    QRect tab = item;
    if (!selected) tab.setLeft(tab.left() + kTabUnselectedIndent);
    tab.setRight(tab.right() + kTabOverhang);
    p.fillRect(tab, kGrey);
    Frame3D(p, tab, true, true, kOuterChamfer);
    Frame3D(p, tab.adjusted(1, 1, -1, -1), true, false, kInnerChamfer);
    const QRect text = tab.adjusted(kTabTextInset, 0, -kTabOverhang, 0);
    p.setPen(Qt::black);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts_[i]);
    if (selected && hasFocus()) {
      const QRect bound = p.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter, texts_[i]);
      p.setPen(QPen(Qt::black, 1, Qt::DotLine));
      p.drawRect(bound.adjusted(-1, 0, 0, -1));
    }
    if (!selected) {
      const int r = item.left() + item.width();
      p.setPen(Qt::white);
      p.drawLine(r - 1, item.top(), r - 1, item.bottom());
      p.setPen(kDarkGrey);
      p.drawLine(r - 2, item.top(), r - 2, item.bottom());
    }
  }
}

void PageTabs::mousePressEvent(QMouseEvent* event) {
  const int i = event->position().toPoint().y() / std::max(1, itemHeight());
  if (i >= 0 && i < kPageCount) Choose(i);
}

void PageTabs::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      Choose(std::max(0, current_ - 1));
      break;
    case Qt::Key_Down:
      Choose(std::min(kPageCount - 1, current_ + 1));
      break;
    case Qt::Key_Home:
      Choose(0);
      break;
    case Qt::Key_End:
      Choose(kPageCount - 1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void PageTabs::focusInEvent(QFocusEvent*) {
  update();
}

void PageTabs::focusOutEvent(QFocusEvent*) {
  update();
}

void PageTabs::Choose(int i) {
  if (i != current_) select_(i);
}

}  // namespace tomtura
