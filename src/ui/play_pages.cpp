// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/play_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "data/property_rules.h"
#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/item_combo_box.h"
#include "ui/play_style.h"
#include "ui/play_window.h"

namespace tomtura {
namespace {

constexpr int kPropertyItemHeight = 18;
constexpr int kDropHeight = 120;
constexpr int kPriceChars = 6;

// ---- Property lists ---------------------------------------------------------------------------

// A drop-down list of properties (item data: the property number), each drawn as the property
// item of the working table.
class PropertyCombo : public ItemComboBox {
 public:
  PropertyCombo(PlayWindow& window, int id, QWidget* parent)
      : ItemComboBox(parent), window_(window) {
    SetControlId(this, id);
    setItemDelegate(new Delegate(window, this));
    setMaxVisibleItems(kDropHeight / kPropertyItemHeight);
    setMinimumWidth(180);
  }

  // Empties the list and adds `properties`; selects `select` (an index, -1 for none).
  void Fill(const std::vector<int>& properties, int select) {
    const QSignalBlocker quiet(this);
    clear();
    for (int p : properties) addItem(Qs(window_.deals().properties()[p].name.utf8()), p);
    setCurrentIndex(select < count() ? select : -1);
  }
  int selectedProperty() const { return currentIndex() >= 0 ? currentData().toInt() : -1; }
  // Selects property p when it is listed, else nothing.
  void SelectProperty(int p) { setCurrentIndex(p >= 0 ? findData(p) : -1); }

  QSize sizeHint() const override {
    return QSize(QComboBox::sizeHint().width(),
                 std::max(QComboBox::sizeHint().height(), kPropertyItemHeight + 6));
  }

 protected:
  void PaintCurrentItem(QPainter& p, const QRect& field) const override {
    if (!isEnabled()) p.setOpacity(0.5);
    DrawPropertyItem(p, field, selectedProperty(), window_.deals().properties(), hasFocus(),
                     window_.picture(), DialogFont());
  }

 private:
  class Delegate : public QStyledItemDelegate {
   public:
    Delegate(PlayWindow& window, QObject* parent) : QStyledItemDelegate(parent), window_(window) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
      const bool focused = (option.state & QStyle::State_Selected) != 0;
      DrawPropertyItem(*p, option.rect, index.data(Qt::UserRole).toInt(),
                       window_.deals().properties(), focused, window_.picture(), DialogFont());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
      return QSize(option.rect.width(), kPropertyItemHeight);
    }

   private:
    PlayWindow& window_;
  };

  PlayWindow& window_;
};

}  // namespace

// ---- Pages ------------------------------------------------------------------------------------

PlayPageBase::PlayPageBase(PlayWindow& window) : QWidget(&window), window_(window) {}

QLabel* PlayPageBase::Static(int id, const QString& text) {
  auto* label = new QLabel(text, this);
  if (id != 0) SetControlId(label, id);
  return label;
}

QPushButton* PlayPageBase::Button(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  SetControlId(button, id);
  button->setAutoDefault(true);
  return button;
}

QString PlayPageBase::Text(int n) const {
  return Qs(window_.game().Text(n));
}

QString PlayPageBase::Money(long long amount) const {
  return Qs(window_.game().texts.money().Write(amount));
}

const Property& PlayPageBase::LiveProperty(int p) const {
  return window_.game().state.properties[p];
}

namespace {

// Pages 0 and 1: buying a property from another player and selling one to him, each with an
// optional property of the other side in exchange.
class TradePage : public PlayPageBase {
 public:
  TradePage(PlayWindow& window, bool selling) : PlayPageBase(window), selling_(selling) {
    partner_ = new QComboBox(this);
    SetControlId(partner_, kIdPartner);
    partner_->setMaxVisibleItems(kDropHeight / kPropertyItemHeight);
    partnerProperty_ = new PropertyCombo(window, kIdPartnerProperty, this);
    ownProperty_ = new PropertyCombo(window, kIdOwnProperty, this);
    price_ = new QLineEdit(this);
    SetControlId(price_, kIdPrice);
    price_->setMaxLength(kPriceChars);
    price_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), price_));
    price_->setMaximumWidth(90);
    include_ = new QCheckBox(PlayPageBase::tr("Include also:"), this);
    SetControlId(include_, kIdInclude);
    ask_ = Button(kIdAsk, PlayPageBase::tr("&Ask"));
    partnerPrice_ = Static(kIdPartnerPrice, PlayPageBase::tr("List price:"));
    ownPrice_ = Static(kIdOwnPrice, PlayPageBase::tr("List price:"));

    for (int n : window.deals().Partners()) {
      partner_->addItem(Qs(window.deals().players()[n].name.utf8()), n);
    }
    partner_->setCurrentIndex(partner_->count() > 0 ? 0 : -1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setVerticalSpacing(8);
    int row = 0;
    auto addRow = [&](QWidget* label, QWidget* field, QWidget* price) {
      grid->addWidget(label, row, 0);
      grid->addWidget(field, row, 1);
      if (price != nullptr) grid->addWidget(price, row, 2);
      ++row;
    };
    if (selling) {
      addRow(new QLabel(PlayPageBase::tr("Sell property:"), this), ownProperty_, ownPrice_);
      addRow(new QLabel(PlayPageBase::tr("Price:"), this), price_, nullptr);
      addRow(new QLabel(PlayPageBase::tr("Choose player:"), this), partner_, nullptr);
      addRow(include_, partnerProperty_, partnerPrice_);
    } else {
      addRow(new QLabel(PlayPageBase::tr("Choose player:"), this), partner_, nullptr);
      addRow(new QLabel(PlayPageBase::tr("Buy property:"), this), partnerProperty_, partnerPrice_);
      addRow(new QLabel(PlayPageBase::tr("Price:"), this), price_, nullptr);
      addRow(include_, ownProperty_, ownPrice_);
    }
    grid->addWidget(ask_, row, 1, Qt::AlignRight);
    // Tab goes down the page as it reads.
    const std::array<QWidget*, 6> order =
        selling ? std::array<QWidget*, 6>{ownProperty_, price_,           partner_,
                                          include_,     partnerProperty_, ask_}
                : std::array<QWidget*, 6>{partner_, partnerProperty_, price_,
                                          include_, ownProperty_,     ask_};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, 110);

    connect(partner_, &QComboBox::currentIndexChanged, this, [this] { PartnerChosen(); });
    connect(include_, &QCheckBox::toggled, this,
            [this](bool on) { (selling_ ? partnerProperty_ : ownProperty_)->setEnabled(on); });
    for (PropertyCombo* list : {partnerProperty_, ownProperty_}) {
      connect(list, &QComboBox::currentIndexChanged, this, [this] { ShowPrices(); });
    }
    connect(ask_, &QPushButton::clicked, this, [this] { Ask(); });
    connect(price_, &QLineEdit::returnPressed, this, [this] { Ask(); });
  }

  void Refill() override {
    const PlayWindowDeals& deals = window_.deals();
    const int partner = Partner();
    const std::vector<int> partnerList =
        partner >= 0 ? deals.TradeList(partner) : std::vector<int>{};
    if (selling_) {
      ownProperty_->Fill(deals.TradeList(deals.actor()), 0);
      ownProperty_->setEnabled(true);
      partnerProperty_->Fill(partnerList, -1);
      partnerProperty_->setEnabled(false);
    } else {
      partnerProperty_->Fill(partnerList, 0);
      ownProperty_->Fill(deals.TradeList(deals.actor()), -1);
      ownProperty_->setEnabled(false);
    }
    {
      const QSignalBlocker quiet(include_);
      include_->setChecked(false);
    }
    ShowPrices();
  }

 private:
  int Partner() const {
    return partner_->currentIndex() >= 0 ? partner_->currentData().toInt() : -1;
  }

  void PartnerChosen() {
    const int partner = Partner();
    const std::vector<int> list =
        partner >= 0 ? window_.deals().TradeList(partner) : std::vector<int>{};
    partnerProperty_->Fill(list, selling_ ? -1 : 0);
    ShowPrices();
  }

  // The ordinary price of each chosen property, from the live table; nothing chosen, nothing.
  void ShowPrices() {
    auto show = [this](QLabel* label, int p) {
      label->setText(
          p >= 0 ? Qs(window_.game().FormatCatalogue(kTextPrice, int{LiveProperty(p).price}))
                 : QString());
    };
    show(partnerPrice_, partnerProperty_->selectedProperty());
    show(ownPrice_, ownProperty_->selectedProperty());
  }

  void Ask() {
    if (!ask_->isEnabled() || !isEnabled()) return;
    PlayWindowDeals& deals = window_.deals();
    const int price = price_->text().left(kPriceChars).toInt();
    const int partner = Partner();
    const bool exchange = include_->isChecked();
    const int wanted = partnerProperty_->selectedProperty();
    const int own = ownProperty_->selectedProperty();
    if (partner < 0) {
      window_.Report(PlayWindowDeals::Result::NothingChosen);
      return;
    }
    window_.EnableChildren(false);
    const PlayWindowDeals::Result outcome =
        selling_ ? deals.AskSell(partner, own, exchange, wanted, price)
                 : deals.AskBuy(partner, wanted, exchange, own, price);
    window_.EnableChildren(true);
    window_.Report(outcome);
    const bool asked =
        outcome == PlayWindowDeals::Result::Done || outcome == PlayWindowDeals::Result::Refused;
    if (!asked) return;
    window_.RepaintMoneyBox();
    if (selling_ && deals.CannotPayAfterSale()) {
      window_.CloseCannotPay();
      return;
    }
    // The street asked about has left the list; nothing takes its place or keeps its price, so
    // that a second Ask cannot offer a street the player did not choose.
    Refill();
    (selling_ ? ownProperty_ : partnerProperty_)->SelectProperty(-1);
    price_->clear();
    ShowPrices();
  }

  bool selling_;
  QComboBox* partner_ = nullptr;
  PropertyCombo* partnerProperty_ = nullptr;  // 1018: the partner's property
  PropertyCombo* ownProperty_ = nullptr;      // 1032: the player's own property
  QLineEdit* price_ = nullptr;
  QCheckBox* include_ = nullptr;
  QPushButton* ask_ = nullptr;
  QLabel* partnerPrice_ = nullptr;  // 1041
  QLabel* ownPrice_ = nullptr;      // 1042
};

QString PageText(PlayWindow& window, int n) {
  return Qs(window.game().Text(n));
}

// The pages that act on one property of a list: a bold caption, an explanation, the list, the
// page's figures for the chosen property and one button. Each action that goes through repaints
// the money box and refills the page.
class ListPage : public PlayPageBase {
 public:
  ListPage(PlayWindow& window, const QString& caption, const QString& explanation)
      : PlayPageBase(window) {
    caption_ = Static(kIdCaption, caption);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    explanation_ = Static(kIdExplanation, explanation);
    explanation_->setWordWrap(true);
    list_ = new PropertyCombo(window, kIdProperty, this);
  }

 protected:
  // Lays the page out with `figures` between the list and the button, and connects both.
  void Arrange(QLayout* figures) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(8);
    layout->addWidget(caption_);
    layout->addWidget(explanation_);
    layout->addWidget(list_);
    layout->addLayout(figures);
    layout->addWidget(button_, 0, Qt::AlignRight);
    layout->addStretch();

    connect(list_, &QComboBox::currentIndexChanged, this, [this] { ShowFigures(); });
    connect(button_, &QPushButton::clicked, this, [this] { Act(); });
  }
  // False when the action did not go through; else the money box and the page show its result.
  // The property acted on stays chosen while it is still listed, so that a second house goes
  // where the first went; one that has left the list gives its place to the property now
  // standing there, so that several are mortgaged or built on without choosing each anew. The
  // list shows what the button acts on.
  bool Done(PlayWindowDeals::Result outcome) {
    if (!window_.Report(outcome)) return false;
    const int actedOn = list_->selectedProperty();
    const int place = list_->currentIndex();
    window_.RepaintMoneyBox();
    Refill();
    list_->SelectProperty(actedOn);
    if (list_->currentIndex() < 0 && list_->count() > 0) {
      list_->setCurrentIndex(std::clamp(place, 0, list_->count() - 1));
    }
    ShowFigures();
    return true;
  }
  virtual void ShowFigures() = 0;
  virtual void Act() = 0;

  QLabel* caption_ = nullptr;
  QLabel* explanation_ = nullptr;
  PropertyCombo* list_ = nullptr;
  QPushButton* button_ = nullptr;
};

// Pages 2 and 3: mortgaging a property and lifting a mortgage.
class MortgagePage : public ListPage {
 public:
  MortgagePage(PlayWindow& window, bool unmortgage)
      : ListPage(window,
                 PageText(window, unmortgage ? kTextUnmortgageCaption : kTextMortgageCaption),
                 unmortgage ? PageText(window, kTextUnmortgageExplanation)
                            : PlayPageBase::tr("Choose a property. The bank lends you half "
                                               "its price, shown below.")),
        unmortgage_(unmortgage) {
    amount_ = Static(kIdAmount);
    QFont amountFont = amount_->font();
    amountFont.setBold(true);
    amount_->setFont(amountFont);
    button_ =
        Button(kIdMortgageButton, Text(unmortgage ? kTextUnmortgageButton : kTextMortgageButton));

    auto* value = new QHBoxLayout;
    value->addWidget(Static(kIdMortgageValue, PlayPageBase::tr("Value of mortgage:")));
    value->addWidget(amount_);
    value->addStretch();
    Arrange(value);
  }

  void Refill() override {
    const PlayWindowDeals& deals = window_.deals();
    list_->Fill(unmortgage_ ? deals.UnmortgageList() : deals.MortgageList(), 0);
    ShowFigures();
  }

 private:
  // Half the price: what the bank lends, and what the lift shows (its cost is a twentieth more).
  void ShowFigures() override {
    const int p = list_->selectedProperty();
    amount_->setText(p >= 0 ? Money(MortgageValue(window_.deals().properties()[p])) : QString());
  }

  void Act() override {
    const int p = list_->selectedProperty();
    PlayWindowDeals& deals = window_.deals();
    Done(unmortgage_ ? deals.Unmortgage(p) : deals.Mortgage(p));
  }

  bool unmortgage_;
  QLabel* amount_ = nullptr;
};

// Pages 4 and 5: buying and selling houses, one at a time and evenly over the group.
class HousePage : public ListPage {
 public:
  HousePage(PlayWindow& window, bool selling)
      : ListPage(window, PageText(window, selling ? kTextSellHouseCaption : kTextBuyHouseCaption),
                 selling ? PageText(window, kTextSellHouseExplanation)
                         : PlayPageBase::tr("Choose a street in a whole colour group. Houses "
                                            "are built one at a time and evenly across the "
                                            "group; the fifth is a hotel.")),
        selling_(selling) {
    houses_ = Static(kIdHouses);
    housePrice_ = Static(kIdPrice);
    button_ =
        Button(kIdHouseButton, selling ? Text(kTextSellHouseButton) : PlayPageBase::tr("Add"));

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(PlayPageBase::tr("Houses:"), this), 0, 0);
    figures->addWidget(houses_, 0, 1);
    figures->addWidget(new QLabel(PlayPageBase::tr("House price:"), this), 1, 0);
    figures->addWidget(housePrice_, 1, 1);
    figures->setColumnStretch(2, 1);
    Arrange(figures);
  }

  // The property chosen before stays chosen while it is still listed.
  void Refill() override {
    const PlayWindowDeals& deals = window_.deals();
    const int previous = list_->selectedProperty();
    const std::vector<int> list = selling_ ? deals.SellHouseList() : deals.BuyHouseList();
    const auto kept = std::find(list.begin(), list.end(), previous);
    list_->Fill(list, kept != list.end() ? static_cast<int>(kept - list.begin()) : 0);
    ShowFigures();
  }

 private:
  void ShowFigures() override {
    const int p = list_->selectedProperty();
    const PropertyTable& table = window_.deals().properties();
    houses_->setText(p >= 0 ? QString::number(table[p].houses) : QString());
    housePrice_->setText(p >= 0 ? Money(table[p].housePrice) : QString());
  }

  void Act() override {
    const int p = list_->selectedProperty();
    PlayWindowDeals& deals = window_.deals();
    if (Done(selling_ ? deals.SellHouse(p) : deals.BuyHouse(p))) list_->setFocus();
  }

  bool selling_;
  QLabel* houses_ = nullptr;
  QLabel* housePrice_ = nullptr;
};

}  // namespace

PlayPageBase* CreatePlayPage(PlayWindow& window, PlayPage page) {
  switch (page) {
    case PlayPage::Buy:
      return new TradePage(window, false);
    case PlayPage::Sell:
      return new TradePage(window, true);
    case PlayPage::Mortgage:
      return new MortgagePage(window, false);
    case PlayPage::Unmortgage:
      return new MortgagePage(window, true);
    case PlayPage::BuyHouse:
      return new HousePage(window, false);
    case PlayPage::SellHouse:
      return new HousePage(window, true);
  }
  return nullptr;
}

}  // namespace tomtura
