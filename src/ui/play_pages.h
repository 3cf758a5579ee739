// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six pages of the play window: buying from and selling to another player, mortgaging and
// lifting a mortgage, buying and selling houses. A page shows the working copies of
// PlayWindowDeals and hands each action to them through its window.
#include <QString>
#include <QWidget>

#include "trade/play_deals.h"

class QLabel;
class QPushButton;

namespace tomtura {

struct Property;
class PlayWindow;

// Control ids of the pages.
inline constexpr int kIdHouseButton = 1004;
inline constexpr int kIdHouses = 1012;
inline constexpr int kIdAmount = 1013;
inline constexpr int kIdPartnerProperty = 1018;
inline constexpr int kIdMortgageButton = 1022;
inline constexpr int kIdAsk = 1023;
inline constexpr int kIdPartner = 1031;
inline constexpr int kIdOwnProperty = 1032;
inline constexpr int kIdInclude = 1033;
inline constexpr int kIdPrice = 1034;
inline constexpr int kIdCaption = 1035;
inline constexpr int kIdProperty = 1037;
inline constexpr int kIdExplanation = 1038;
inline constexpr int kIdMortgageValue = 1039;
inline constexpr int kIdPartnerPrice = 1041;
inline constexpr int kIdOwnPrice = 1042;

// What every page has: its window, and the making of its statics and buttons.
class PlayPageBase : public QWidget {
  Q_OBJECT

 public:
  explicit PlayPageBase(PlayWindow& window);
  // Each time the page is shown: its lists, statics and tooltips from the working copies.
  virtual void Refill() = 0;

 protected:
  QLabel* Static(int id, const QString& text = {});
  QPushButton* Button(int id, const QString& text);
  QString Text(int n) const;
  // An amount in the edition's money format.
  QString Money(long long amount) const;
  const Property& LiveProperty(int p) const;

  PlayWindow& window_;
};

// The page `page` of `window`, a child of it.
PlayPageBase* CreatePlayPage(PlayWindow& window, PlayPage page);

}  // namespace tomtura
