#pragma once
// The help window: the tips or the rules of the board file in a read-only text field inside the
// tile frame, with OK. An edition of the board brings its own words.
#include "data/free_text.h"
#include "ui/framed_dialog.h"

class QPlainTextEdit;

namespace tomtura {

class TextWindow : public FramedDialog {
  Q_OBJECT

 public:
  static constexpr int kIdText = 1010;

  // Reads `block` from the board file the game was loaded from. `picture` gives the frame.
  TextWindow(Game& game, const BoardPicture* picture, FreeTextBlock block, QWidget* parent);

  QPlainTextEdit* text() const { return text_; }

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace tomtura
