#pragma once
// One of the seven owner-drawn command buttons of the main window: a 25 x 25 icon on the
// window's background pattern, framed in 3-D, or flat with a frame only while the mouse rests
// on it (the hover state of the balloon tips).
#include <QAbstractButton>
#include <QSize>

namespace tomtura {

class BoardPicture;

class CommandButton : public QAbstractButton {
 public:
  static constexpr int kSize = 32;  // width and height

  // `flat` is the window's option, read at every paint.
  CommandButton(int command, int iconIndex, const BoardPicture& picture, const int& flat,
                QWidget* parent);
  int command() const { return command_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int command_;
  int iconIndex_;
  const BoardPicture& picture_;
  const int& flat_;
};

}  // namespace tomtura
