#include "ui/item_combo_box.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace tomtura {

void ItemComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  PaintCurrentItem(painter, field);
}

void ItemComboBox::showPopup() {
  if (delegateOnOpen_ != nullptr) {
    setItemDelegate(delegateOnOpen_);
    delegateOnOpen_ = nullptr;
  }
  QComboBox::showPopup();
}

}  // namespace tomtura
