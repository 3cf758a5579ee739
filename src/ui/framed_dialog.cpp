#include "ui/framed_dialog.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

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
  box.exec();
}

QPushButton* FramedDialog::MakeButton(int id, const QString& caption, const QRect& place) {
  auto* button = new QPushButton(caption, this);
  SetControlId(button, id);
  button->setGeometry(place);
  return button;
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

void FocusSelected(QWidget* edit) {
  edit->setFocus(Qt::OtherFocusReason);
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->selectAll();
}

}  // namespace tomtura
