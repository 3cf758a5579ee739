#pragma once
// A drop-down list of pictured items: the closed box keeps the style's frame and arrow and shows
// the chosen item as the drop-down draws it.
#include <QComboBox>

class QAbstractItemDelegate;
class QPainter;

namespace tomtura {

class ItemComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  // Installs `delegate` (a child of this box) as the drop-down's when it first opens: setting
  // it at once would make the drop-down's list, its frame and scroll bars with it, which a
  // window of many boxes then pays for before its first frame.
  void SetItemDelegateOnOpen(QAbstractItemDelegate* delegate) { delegateOnOpen_ = delegate; }
  void showPopup() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Draws the chosen item (or nothing) into `field`, the box's edit area.
  virtual void PaintCurrentItem(QPainter& painter, const QRect& field) const = 0;

 private:
  QAbstractItemDelegate* delegateOnOpen_ = nullptr;
};

}  // namespace tomtura
