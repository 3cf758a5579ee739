#pragma once
// A drop-down list of pictured items: the closed box keeps the style's frame and arrow and shows
// the chosen item as the drop-down draws it.
#include <QComboBox>

class QPainter;

namespace tomtura {

class ItemComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Draws the chosen item (or nothing) into `field`, the box's edit area.
  virtual void PaintCurrentItem(QPainter& painter, const QRect& field) const = 0;
};

}  // namespace tomtura
