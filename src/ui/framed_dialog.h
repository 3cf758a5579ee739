// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common look of the game's small dialogs: a client area of a whole number of frame tiles,
// filled with one colour and edged with the tiles cut from the sheet, the dialog font, error
// boxes titled with text 0, and timers that tests may shorten.
#include <QColor>
#include <QDialog>
#include <QSize>
#include <QString>
#include <functional>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;

class QMessageBox;

namespace tomtura {

class BoardPicture;
class Game;

// Ids of the controls that several dialogs share.
constexpr int kIdButton1 = 1;
constexpr int kIdButton2 = 2;
constexpr int kIdMessage = 1029;
constexpr int kIdPassword = 1030;
constexpr int kIdPasswordLabel = 1035;

// Catalogue texts of the error boxes.

class FramedDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows an error box with `text`; tests and the front end route every box through one place.
  using ErrorBox = std::function<void(const QString& text)>;

  // `picture` gives the frame tiles; without one the frame is left out.
  FramedDialog(Game& game, const BoardPicture* picture, QWidget* parent,
               Qt::WindowFlags flags = Qt::Dialog);

  // Fixes the client area to nx x ny frame tiles.
  // The frame of nx x ny tiles; wider (up to kMaxTilesX) where the title needs it.
  void SetTiles(int nx, int ny);
  QSize tiles() const { return tiles_; }
  void SetBackground(const QColor& colour);
  QColor background() const { return background_; }

  void SetErrorBox(ErrorBox box) { errorBox_ = std::move(box); }
  // Button 1 or 2, or null for another id.
  QPushButton* button(int id) const;
  // Tests play at a quicker pace: every timer of the dialogs opened from now on runs `ms` long
  // (-1 restores the real intervals).
  static void SetTimerOverride(int ms) { timerOverride_ = ms; }

 protected:
  // The interval to start a timer with.
  static int TimerMs(int ms) { return timerOverride_ >= 0 ? timerOverride_ : ms; }
  // Shows catalogue text `number` in an error box.
  void ShowError(int number);
  // The band of the bottom frame tiles and the gap the buttons keep above it.
  static constexpr int kFrameBottom = 10;
  static constexpr int kButtonBottomGap = 6;
  // The buttons' width and the gap between them; how far a long message may grow the dialog.
  static constexpr int kButtonWidth = 80;
  static constexpr int kButtonGap = 12;
  static constexpr int kMaxTilesX = 9;
  static constexpr int kMaxTilesY = 8;

  // A push button with its control id, caption and size.
  QPushButton* MakeButton(int id, const QString& caption, const QRect& place);
  // Buttons 1 and 2 (button1_, button2_) with their captions.
  void MakeButtons(const QString& caption1, const QString& caption2);
  // The message label (id 1029), word-wrapped.
  QLabel* MakeMessage(Qt::Alignment alignment);
  // The password row: the label (id 1035) with `caption` and the masked field (id 1030), which
  // the label's shortcut focuses.
  struct PasswordRow {
    QLabel* label;
    QLineEdit* field;
  };
  PasswordRow MakePasswordRow(const QString& caption);
  // Where buttons `buttonHeight` high stand: above the bottom tiles.
  int ButtonTop(int buttonHeight) const;
  // The buttons that are shown stand side by side at ButtonTop, centred.
  void PlaceButtons(int buttonHeight);

  void paintEvent(QPaintEvent* event) override;
  // Drawn over the background and under the frame.
  virtual void PaintContent(QPainter& painter);

  Game& game_;
  const BoardPicture* picture_;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;

 private:
  QSize tiles_;
  QColor background_;
  ErrorBox errorBox_;
  static inline int timerOverride_ = -1;
};

// Shows or hides a control and enables or disables it with it.
void ShowControl(QWidget* control, bool shown);
// Gives the focus to a line edit with its whole text selected.
void FocusSelected(QWidget* edit);
// A key that only changes others (Shift, Ctrl, Alt, ...): pressed alone it means nothing.
bool IsModifierKey(int key);

// How wide a window must be for the title bar to show `title` whole, beside the window's icon
// and its buttons.
int TitleBarWidth(const QString& title);
// A message box is made as narrow as its text; it is widened to show its title whole.
void WidenForTitle(QMessageBox& box);

}  // namespace tomtura
