// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/framed_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {

FramedDialog::FramedDialog(Game& game, const BoardPicture* picture, QWidget* parent,
                           Qt::WindowFlags flags)
    : QDialog(parent, flags), game_(game), picture_(picture) {
  setFont(DialogFont());
}

void FramedDialog::SetTiles(int nx, int ny) {
  if (!windowFlags().testFlag(Qt::FramelessWindowHint)) {
    const int needed = TitleBarWidth(windowTitle());
    while (nx < kMaxTilesX && TiledFrameSize(nx, ny).width() < needed) ++nx;
  }
  tiles_ = QSize(nx, ny);
  setFixedSize(TiledFrameSize(nx, ny));
  update();
}

void FramedDialog::SetBackground(const QColor& colour) {
  background_ = colour;
  // Labels and other plain controls are drawn on the same colour.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, colour);
  setPalette(palette);
  update();
}

void FramedDialog::ShowError(int number) {
  const QString text = QString::fromStdString(game_.Text(number));
  if (errorBox_) {
    errorBox_(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(game_.Text(kTextBoxTitle)), text,
                  QMessageBox::Ok, this);
  WidenForTitle(box);
  box.exec();
}

QPushButton* FramedDialog::MakeButton(int id, const QString& caption, const QRect& place) {
  auto* button = new QPushButton(caption, this);
  SetControlId(button, id);
  button->setGeometry(place);
  return button;
}

void FramedDialog::MakeButtons(const QString& caption1, const QString& caption2) {
  button1_ = MakeButton(kIdButton1, caption1, {});
  button2_ = MakeButton(kIdButton2, caption2, {});
}

QPushButton* FramedDialog::button(int id) const {
  return id == kIdButton1 ? button1_ : id == kIdButton2 ? button2_ : nullptr;
}

QLabel* FramedDialog::MakeMessage(Qt::Alignment alignment) {
  auto* message = new QLabel(this);
  SetControlId(message, kIdMessage);
  message->setAlignment(alignment);
  message->setWordWrap(true);
  return message;
}

FramedDialog::PasswordRow FramedDialog::MakePasswordRow(const QString& caption) {
  auto* label = new QLabel(caption, this);
  SetControlId(label, kIdPasswordLabel);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* field = new QLineEdit(this);
  SetControlId(field, kIdPassword);
  field->setEchoMode(QLineEdit::Password);
  label->setBuddy(field);
  return {label, field};
}

int FramedDialog::ButtonTop(int buttonHeight) const {
  return height() - kFrameBottom - kButtonBottomGap - buttonHeight;
}

// A hidden button is placed too, where the next shown one goes, so that it stands in the row
// when it is shown again.
void FramedDialog::PlaceButtons(int buttonHeight) {
  const int shown = (button1_->isHidden() ? 0 : 1) + (button2_->isHidden() ? 0 : 1);
  const int top = ButtonTop(buttonHeight);
  int left = (width() - shown * kButtonWidth - (shown - 1) * kButtonGap) / 2;
  for (QPushButton* button : {button1_, button2_}) {
    button->setGeometry(left, top, kButtonWidth, buttonHeight);
    if (!button->isHidden()) left += kButtonWidth + kButtonGap;
  }
}

void FramedDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.isValid()) painter.fillRect(rect(), background_);
  PaintContent(painter);
  if (picture_ != nullptr && !picture_->isNull() && tiles_.isValid()) {
    DrawTiledFrame(painter, size(), tiles_.width(), tiles_.height(), *picture_);
  }
}

void FramedDialog::PaintContent(QPainter&) {}

void ShowControl(QWidget* control, bool shown) {
  control->setVisible(shown);
  control->setEnabled(shown);
}

int TitleBarWidth(const QString& title) {
  // The window's icon, its close button and the margins around them, as title bars commonly
  // have them.
  constexpr int kTitleBarAllowance = 110;
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(title) + kTitleBarAllowance;
}

void WidenForTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  // The box sizes itself to its layout when it is shown; a spacer below the rest sets its least
  // width.
  grid->addItem(new QSpacerItem(TitleBarWidth(box.windowTitle()), 0, QSizePolicy::Minimum,
                                QSizePolicy::Minimum),
                grid->rowCount(), 0, 1, grid->columnCount());
}

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      return true;
    default:
      return false;
  }
}

void FocusSelected(QWidget* edit) {
  edit->setFocus(Qt::OtherFocusReason);
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->selectAll();
}

}  // namespace tomtura
