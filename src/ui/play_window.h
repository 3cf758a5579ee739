#pragma once
// The play window: the player on turn buys from and sells to other players, mortgages and
// unmortgages, and buys and sells houses, on six pages chosen from a column of tabs. Every
// change goes to the working copies of PlayWindowDeals; the window's answer (OK, Cancel, or
// closed because the player cannot pay) goes back to the referee, which commits the copies
// after OK.
#include <QDialog>
#include <array>
#include <memory>

#include "rules/decision.h"
#include "rules/referee.h"
#include "trade/play_deals.h"

namespace tomtura {

class BoardPicture;
class Game;
class PlayPageBase;
class PageTabs;

class PlayWindow : public QDialog {
  Q_OBJECT

 public:
  // Results of the window.
  static constexpr int kOk = kPlayWindowOk;
  static constexpr int kCancel = kPlayWindowCancel;
  // Closed as with OK because a sale's inquiry found that the player cannot pay; a question
  // that opened the window ends too.
  static constexpr int kCannotPay = kPlayWindowCannotPay;

  // Control ids of the window.
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;
  static constexpr int kIdPageList = 1015;

  PlayWindow(Game& game, PlayWindowDeals& deals, const BoardPicture& picture, int page,
             QWidget* parent);
  ~PlayWindow() override;

  int currentPage() const { return currentPage_; }
  // Selecting a page in the tabs: shows it, refilled, or refuses its controls (text 121) when
  // the page spends money and the player's working money is negative.
  void SelectPage(int page);
  QWidget* page(int n) const;

  // OK and Cancel.
  void Ok();
  void Cancel();
  void reject() override { Cancel(); }

  // ---- For the pages ----
  PlayWindowDeals& deals() { return deals_; }
  Game& game() { return game_; }
  const BoardPicture& picture() const { return picture_; }
  // Shows catalogue text `text` in an error box; every message of the window goes this way.
  void ShowError(int text);
  // Shows what a page action came to; true when the deal was made.
  bool Report(PlayWindowDeals::Result outcome);
  // Disables every control of the window while a partner is asked, and enables them again.
  void EnableChildren(bool enable);
  void RepaintMoneyBox();
  // A sale's inquiry left the player unable to pay: the window closes as with OK.
  void CloseCannotPay();

  // Where the pages, their frame and the money box stand.
  QRect PageArea() const;
  QRect FrameRect() const;
  QRect MoneyBox() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateTitle();

  Game& game_;
  const BoardPicture& picture_;
  PlayWindowDeals& deals_;
  int currentPage_ = 0;
  PageTabs* tabs_ = nullptr;
  std::array<PlayPageBase*, kPlayPageCount> pages_{};
  bool closing_ = false;
};

}  // namespace tomtura
