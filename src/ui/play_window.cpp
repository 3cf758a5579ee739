// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/play_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/play_pages.h"
#include "ui/play_style.h"
#include "ui/play_tabs.h"

namespace tomtura {
namespace {

// Catalogue texts of the window: its title, by page, and the refusal of a page while in debt.
constexpr int kTitleTexts[kPageCount] = {112, 113, 114, 115, 116, 117};

// The window's geometry, in the proportions of the page frame and its money box.
constexpr QSize kClientSize(620, 340);
constexpr QRect kTabsRect(14, 13, 120, 283);
constexpr int kPageTopGap = 13;
constexpr int kPageRightGap = 14;
constexpr int kPageBottomGap = 44;
constexpr int kFrameGap = 10;
constexpr int kFrameBottomGap = 40;
constexpr int kFrameLeftOfTabs = 2;
constexpr int kMoneyBoxWidth = 90;
constexpr int kMoneyBoxGap = 9;
constexpr int kMoneyBoxHeight = 22;
constexpr int kCoinLeftOfBox = 23;
constexpr QSize kButtonSize(84, 24);
constexpr int kButtonGap = 6;

constexpr QColor kMoneyYellow(255, 255, 200);

}  // namespace

// ---- The window -------------------------------------------------------------------------------

PlayWindow::PlayWindow(Game& game, PlayWindowDeals& deals, const BoardPicture& picture, int page,
                       QWidget* parent)
    : QDialog(parent), game_(game), picture_(picture), deals_(deals) {
  currentPage_ = std::clamp(page, 0, kPageCount - 1);
  setFont(DialogFont());
  QPalette grey = palette();
  grey.setColor(QPalette::Window, kGrey);
  grey.setColor(QPalette::WindowText, Qt::black);
  setPalette(grey);
  setFixedSize(kClientSize);

  tabs_ = new PageTabs(
      game, [this](int i) { SelectPage(i); }, this);
  tabs_->setGeometry(kTabsRect);
  tabs_->SetCurrent(currentPage_);

  for (int i = 0; i < kPageCount; ++i) pages_[i] = CreatePlayPage(*this, static_cast<PlayPage>(i));
  for (int i = 0; i < kPageCount; ++i) {
    pages_[i]->setGeometry(PageArea());
    pages_[i]->setVisible(i == currentPage_);
  }

  auto* ok = new QPushButton(tr("&OK"), this);
  auto* cancel = new QPushButton(tr("&Cancel"), this);
  SetControlId(ok, kIdOk);
  SetControlId(cancel, kIdCancel);
  const int buttonTop = FrameRect().bottom() + 1 + kMoneyBoxGap;
  ok->setGeometry(QRect(QPoint(kTabsRect.left(), buttonTop), kButtonSize));
  cancel->setGeometry(
      QRect(QPoint(kTabsRect.left() + kButtonSize.width() + kButtonGap, buttonTop), kButtonSize));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });

  UpdateTitle();
  pages_[currentPage_]->Refill();
  pages_[currentPage_]->setEnabled(!deals_.PageLocked(static_cast<PlayPage>(currentPage_)));
  tabs_->setFocus();
}

// The pages read the working copies; they go before the copies do.
PlayWindow::~PlayWindow() {
  for (PlayPageBase*& page : pages_) {
    delete page;
    page = nullptr;
  }
  delete tabs_;
}

QWidget* PlayWindow::page(int n) const {
  return n >= 0 && n < kPageCount ? pages_[n] : nullptr;
}

QRect PlayWindow::PageArea() const {
  return QRect(
      QPoint(kTabsRect.left() + kTabsRect.width() + 1, kPageTopGap),
      QPoint(kClientSize.width() - kPageRightGap - 1, kClientSize.height() - kPageBottomGap - 1));
}

QRect PlayWindow::FrameRect() const {
  return QRect(
      QPoint(kTabsRect.left() - kFrameLeftOfTabs, kFrameGap),
      QPoint(kClientSize.width() - kFrameGap - 1, kClientSize.height() - kFrameBottomGap - 1));
}

QRect PlayWindow::MoneyBox() const {
  const QRect frame = FrameRect();
  const int right = frame.left() + frame.width();
  return QRect(right - kMoneyBoxWidth, frame.top() + frame.height() + kMoneyBoxGap, kMoneyBoxWidth,
               kMoneyBoxHeight);
}

void PlayWindow::UpdateTitle() {
  setWindowTitle(Qs(game_.Text(kTitleTexts[currentPage_])));
}

void PlayWindow::SelectPage(int page) {
  if (page < 0 || page >= kPageCount || closing_) return;
  pages_[currentPage_]->hide();
  currentPage_ = page;
  tabs_->SetCurrent(page);
  UpdateTitle();
  const bool locked = deals_.PageLocked(static_cast<PlayPage>(page));
  if (locked) ShowError(kTextInDebt);
  pages_[page]->setEnabled(!locked);
  pages_[page]->Refill();
  pages_[page]->show();
}

void PlayWindow::ShowError(int text) {
  game_.ui.ShowMessage(game_.Text(text), MessageIcon::Error);
}

bool PlayWindow::Report(PlayWindowDeals::Result outcome) {
  switch (outcome) {
    case PlayWindowDeals::Result::Done:
      return true;
    case PlayWindowDeals::Result::Refused:
      return false;
    case PlayWindowDeals::Result::NothingChosen:
    case PlayWindowDeals::Result::NotEnoughMoney:
    case PlayWindowDeals::Result::Uneven:
      ShowError(static_cast<int>(outcome));
      return false;
  }
  return false;
}

void PlayWindow::EnableChildren(bool enable) {
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    const auto* asPage = dynamic_cast<PlayPageBase*>(child);
    const bool locked = asPage != nullptr && child == pages_[currentPage_] &&
                        deals_.PageLocked(static_cast<PlayPage>(currentPage_));
    child->setEnabled(enable && !locked);
  }
  if (enable) activateWindow();
}

void PlayWindow::RepaintMoneyBox() {
  update(MoneyBox().adjusted(-kCoinLeftOfBox, 0, 0, 0));
}

void PlayWindow::Ok() {
  if (closing_) return;
  closing_ = true;
  done(kOk);
}

void PlayWindow::Cancel() {
  if (closing_) return;
  closing_ = true;
  done(kCancel);
}

void PlayWindow::CloseCannotPay() {
  if (closing_) return;
  closing_ = true;
  done(kCannotPay);
}

void PlayWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  // Enter in a price field asks the partner; it must not also commit the window.
  if (enter && focusWidget() != nullptr && ControlId(focusWidget()) == kIdPrice &&
      qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)) {
    SelectPage((currentPage_ + 1) % kPageCount);
    return;
  }
  if (event->key() == Qt::Key_Backtab && (event->modifiers() & Qt::ControlModifier)) {
    SelectPage((currentPage_ + kPageCount - 1) % kPageCount);
    return;
  }
  QDialog::keyPressEvent(event);
}

void PlayWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kGrey);
  const QRect frame = FrameRect();
  Frame3D(p, frame, true, true, kOuterChamfer);
  Frame3D(p, frame.adjusted(1, 1, -1, -1), true, false, kInnerChamfer);

  const QRect box = MoneyBox();
  p.fillRect(box, kMoneyYellow);
  Frame3D(p, box, false, false, 0);
  Frame3D(p, box.adjusted(1, 1, -1, -1), false, true, 0);
  const QString amount = Qs(game_.texts.money().Write(deals_.workMoney()));
  p.setFont(FittedFont(BoldFont(), amount, box.width() - 6));
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter, amount);
  const QPixmap& coin = picture_.Coin();
  p.drawPixmap(box.left() - kCoinLeftOfBox, box.top() + (box.height() - coin.height()) / 2, coin);
}

}  // namespace tomtura
