#include "ui/play_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/item_combo_box.h"

namespace tomtura {
namespace {

constexpr int kPageCount = 6;
// Catalogue texts of each page: its entry in the tabs and the window's title.
constexpr int kTabTexts[kPageCount] = {118, 119, 120, 107, 116, 117};
constexpr int kTitleTexts[kPageCount] = {112, 113, 114, 115, 116, 117};

constexpr int kTextPrice = 102;
constexpr int kTextMortgageCaption = 114;
constexpr int kTextMortgageButton = 120;
constexpr int kTextBuyHouseCaption = 116;
constexpr int kTextUnmortgageCaption = 105;
constexpr int kTextUnmortgageExplanation = 106;
constexpr int kTextUnmortgageButton = 107;
constexpr int kTextSellHouseCaption = 109;
constexpr int kTextSellHouseExplanation = 110;
constexpr int kTextSellHouseButton = 111;
constexpr int kTextInDebt = 121;

// Control ids of the pages.
constexpr int kIdHouses = 1012;
constexpr int kIdAmount = 1013;
constexpr int kIdPartnerProperty = 1018;
constexpr int kIdMortgageButton = 1022;
constexpr int kIdAsk = 1023;
constexpr int kIdPartner = 1031;
constexpr int kIdOwnProperty = 1032;
constexpr int kIdInclude = 1033;
constexpr int kIdPrice = 1034;
constexpr int kIdCaption = 1035;
constexpr int kIdProperty = 1037;
constexpr int kIdExplanation = 1038;
constexpr int kIdMortgageValue = 1039;
constexpr int kIdPartnerPrice = 1041;
constexpr int kIdOwnPrice = 1042;
constexpr int kIdHouseButton = 1004;

// Tooltip texts.
constexpr int kTipPartnerDeal = 133;
constexpr int kTipPartnerSale = 134;
constexpr int kTipPartnerProperty = 135;
constexpr int kTipOwnProperty = 136;
constexpr int kTipInclude = 137;
constexpr int kTipPrice = 138;
constexpr int kTipAskBefore = 139;
constexpr int kTipAskAfter = 140;
constexpr int kTipProperty = 141;
constexpr int kTipReturnHouse = 142;
constexpr int kTipBuildHouse = 143;
constexpr int kTipMortgage = 114;
constexpr int kTipUnmortgage = 115;
constexpr int kTipOk = 144;
constexpr int kTipCancel = 145;
constexpr int kTipNameChars = 9;

// The window's geometry, in the proportions of the page frame and its money box.
constexpr QSize kClientSize(620, 340);
constexpr QRect kTabsRect(14, 13, 120, 283);
constexpr int kPageTopGap = 13;
constexpr int kPageRightGap = 14;
constexpr int kPageBottomGap = 44;
constexpr int kFrameGap = 10;
constexpr int kFrameBottomGap = 40;
constexpr int kFrameLeftOfTabs = 2;
constexpr int kMoneyBoxWidth = 70;
constexpr int kMoneyBoxGap = 9;
constexpr int kMoneyBoxHeight = 22;
constexpr int kCoinLeftOfBox = 23;
constexpr QSize kButtonSize(84, 24);
constexpr int kButtonGap = 6;

constexpr int kOuterChamfer = 3;
constexpr int kInnerChamfer = 2;
constexpr int kTabUnselectedIndent = 6;
constexpr int kTabOverhang = 8;
constexpr int kTabTextInset = 7;
constexpr int kPropertyItemHeight = 18;
constexpr int kDropHeight = 120;
constexpr int kPriceChars = 6;

constexpr QColor kGrey(192, 192, 192);
constexpr QColor kDarkGrey(128, 128, 128);
constexpr QColor kMoneyYellow(255, 255, 200);

QString Qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

// ---- The column of tabs -------------------------------------------------------------------------

// Six tabs, one per page, of equal height; the selected one reaches into its page.
class PageTabs : public QWidget {
 public:
  PageTabs(Game& game, std::function<void(int)> select, QWidget* parent)
      : QWidget(parent), select_(std::move(select)) {
    for (int i = 0; i < kPageCount; ++i) texts_[i] = Qs(game.Text(kTabTexts[i]));
    setFocusPolicy(Qt::StrongFocus);
    SetControlId(this, PlayWindow::kIdPageList);
  }

  void SetCurrent(int page) {
    current_ = page;
    update();
  }
  int itemHeight() const { return height() / kPageCount; }
  QRect ItemRect(int i) const { return QRect(0, i * itemHeight(), width(), itemHeight()); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), kGrey);
    p.setFont(DialogFont());
    for (int i = 0; i < kPageCount; ++i) {
      const QRect item = ItemRect(i);
      const bool selected = i == current_;
      QRect tab = item;
      if (!selected) tab.setLeft(tab.left() + kTabUnselectedIndent);
      tab.setRight(tab.right() + kTabOverhang);
      p.fillRect(tab, kGrey);
      Frame3D(p, tab, true, true, kOuterChamfer);
      Frame3D(p, tab.adjusted(1, 1, -1, -1), true, false, kInnerChamfer);
      const QRect text = tab.adjusted(kTabTextInset, 0, -kTabOverhang, 0);
      p.setPen(Qt::black);
      p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts_[i]);
      if (selected && hasFocus()) {
        const QRect bound = p.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter, texts_[i]);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(bound.adjusted(-1, 0, 0, -1));
      }
      if (!selected) {
        const int r = item.left() + item.width();
        p.setPen(Qt::white);
        p.drawLine(r - 1, item.top(), r - 1, item.bottom());
        p.setPen(kDarkGrey);
        p.drawLine(r - 2, item.top(), r - 2, item.bottom());
      }
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    const int i = event->position().toPoint().y() / std::max(1, itemHeight());
    if (i >= 0 && i < kPageCount) Choose(i);
  }
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Up:
        Choose(std::max(0, current_ - 1));
        break;
      case Qt::Key_Down:
        Choose(std::min(kPageCount - 1, current_ + 1));
        break;
      case Qt::Key_Home:
        Choose(0);
        break;
      case Qt::Key_End:
        Choose(kPageCount - 1);
        break;
      default:
        QWidget::keyPressEvent(event);
    }
  }
  void focusInEvent(QFocusEvent*) override { update(); }
  void focusOutEvent(QFocusEvent*) override { update(); }

 private:
  void Choose(int i) {
    if (i != current_) select_(i);
  }

  std::array<QString, kPageCount> texts_;
  int current_ = 0;
  std::function<void(int)> select_;
};

namespace {

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

class PlayPageBase : public QWidget {
 public:
  explicit PlayPageBase(PlayWindow& window) : QWidget(&window), window_(window) {}
  // Each time the page is shown: its lists, statics and tooltips from the working copies.
  virtual void Refill() = 0;

 protected:
  QLabel* Static(int id, const QString& text = {}) {
    auto* label = new QLabel(text, this);
    if (id != 0) SetControlId(label, id);
    return label;
  }
  QPushButton* Button(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    SetControlId(button, id);
    button->setAutoDefault(true);
    return button;
  }
  QString Text(int n) const { return Qs(window_.game().Text(n)); }
  const Property& LiveProperty(int p) const { return window_.game().state.properties[p]; }

  PlayWindow& window_;
};

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
    include_ = new QCheckBox(selling ? "Include also" : "Include also:  ", this);
    SetControlId(include_, kIdInclude);
    ask_ = Button(kIdAsk, "Ask  ");
    partnerPrice_ = Static(kIdPartnerPrice, "Ord. Pris:");
    ownPrice_ = Static(kIdOwnPrice, "Ord. Pris:");

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
      addRow(new QLabel("Sell firm  ", this), ownProperty_, ownPrice_);
      addRow(new QLabel("Price", this), price_, nullptr);
      addRow(new QLabel("Choose player:    ", this), partner_, nullptr);
      addRow(include_, partnerProperty_, partnerPrice_);
    } else {
      addRow(new QLabel("Choose Player: ", this), partner_, nullptr);
      addRow(new QLabel("Buy street", this), partnerProperty_, partnerPrice_);
      addRow(new QLabel("Price", this), price_, nullptr);
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
    UpdateTooltips();
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
    UpdateTooltips();
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

  void UpdateTooltips() {
    partner_->setToolTip(
        Text(include_->text().startsWith('I') ? kTipPartnerDeal : kTipPartnerSale));
    partnerProperty_->setToolTip(Text(kTipPartnerProperty));
    ownProperty_->setToolTip(Text(kTipOwnProperty));
    include_->setToolTip(Text(kTipInclude));
    price_->setToolTip(Text(kTipPrice));
    ask_->setToolTip(Text(kTipAskBefore) + ' ' + partner_->currentText().left(kTipNameChars) + ' ' +
                     Text(kTipAskAfter));
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
      window_.Report(PlayWindowDeals::Outcome::NothingChosen);
      return;
    }
    window_.EnableChildren(false);
    const PlayWindowDeals::Outcome outcome =
        selling_ ? deals.AskSell(partner, own, exchange, wanted, price)
                 : deals.AskBuy(partner, wanted, exchange, own, price);
    window_.EnableChildren(true);
    window_.Report(outcome);
    const bool asked =
        outcome == PlayWindowDeals::Outcome::Done || outcome == PlayWindowDeals::Outcome::Refused;
    if (!asked) return;
    window_.RepaintMoneyBox();
    if (selling_ && deals.CannotPayAfterSale()) {
      window_.CloseCannotPay();
      return;
    }
    Refill();
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
  // The list's tooltip and the button's, by the button's caption.
  void UpdateTooltips(QChar firstLetter, int tipIfFirst, int tipOtherwise) {
    list_->setToolTip(Text(kTipProperty));
    button_->setToolTip(Text(button_->text().startsWith(firstLetter) ? tipIfFirst : tipOtherwise));
  }
  // False when the action did not go through; else the money box and the page show its result.
  bool Done(PlayWindowDeals::Outcome outcome) {
    if (!window_.Report(outcome)) return false;
    window_.RepaintMoneyBox();
    Refill();
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
                            : "Välj en gata. Banken lånar dig halva priset, "
                              "som visas nedan."),
        unmortgage_(unmortgage) {
    amount_ = Static(kIdAmount);
    QFont amountFont = amount_->font();
    amountFont.setBold(true);
    amount_->setFont(amountFont);
    button_ =
        Button(kIdMortgageButton, Text(unmortgage ? kTextUnmortgageButton : kTextMortgageButton));

    auto* value = new QHBoxLayout;
    value->addWidget(Static(kIdMortgageValue, "Value of mortgage"));
    value->addWidget(amount_);
    value->addStretch();
    Arrange(value);
  }

  void Refill() override {
    const PlayWindowDeals& deals = window_.deals();
    list_->Fill(unmortgage_ ? deals.UnmortgageList() : deals.MortgageList(), 0);
    ShowFigures();
    UpdateTooltips('I', kTipMortgage, kTipUnmortgage);
  }

 private:
  // Half the price: what the bank lends, and what the lift shows (its cost is a twentieth more).
  void ShowFigures() override {
    const int p = list_->selectedProperty();
    amount_->setText(p >= 0 ? QString::number(window_.deals().properties()[p].price / 2)
                            : QString());
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
                         : "Välj en gata i en hel färggrupp. Husen byggs ett i taget "
                           "och jämnt över gruppen; det femte är ett hotell."),
        selling_(selling) {
    houses_ = Static(kIdHouses);
    housePrice_ = Static(kIdPrice);
    button_ = Button(kIdHouseButton, selling ? Text(kTextSellHouseButton) : "  Add    ");

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel("Houses", this), 0, 0);
    figures->addWidget(houses_, 0, 1);
    figures->addWidget(new QLabel("House price", this), 1, 0);
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
    UpdateTooltips('L', kTipReturnHouse, kTipBuildHouse);
  }

 private:
  void ShowFigures() override {
    const int p = list_->selectedProperty();
    const PropertyTable& table = window_.deals().properties();
    houses_->setText(p >= 0 ? QString::number(table[p].houses) : QString());
    housePrice_->setText(p >= 0 ? QString::number(table[p].housePrice) : QString());
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

// ---- The window -------------------------------------------------------------------------------

PlayWindow::PlayWindow(Game& game, PlayWindowDeals& deals, const BoardPicture& picture, int page,
                       QWidget* parent)
    : QDialog(parent), game_(game), picture_(picture), deals_(deals) {
  currentPage_ = std::clamp(page, 0, kPageCount - 1);
  setFont(DialogFont());
  QPalette grey = palette();
  grey.setColor(QPalette::Window, kGrey);
  grey.setColor(QPalette::WindowText, Qt::black);
  setPalette(grey);
  setFixedSize(kClientSize);

  tabs_ = new PageTabs(
      game, [this](int i) { SelectPage(i); }, this);
  tabs_->setGeometry(kTabsRect);
  tabs_->SetCurrent(currentPage_);

  pages_ = {new TradePage(*this, false),    new TradePage(*this, true),
            new MortgagePage(*this, false), new MortgagePage(*this, true),
            new HousePage(*this, false),    new HousePage(*this, true)};
  for (int i = 0; i < kPageCount; ++i) {
    pages_[i]->setGeometry(PageArea());
    pages_[i]->setVisible(i == currentPage_);
  }

  auto* ok = new QPushButton("&OK", this);
  auto* cancel = new QPushButton("&Cancel", this);
  SetControlId(ok, kIdOk);
  SetControlId(cancel, kIdCancel);
  ok->setToolTip(Qs(game.Text(kTipOk)));
  cancel->setToolTip(Qs(game.Text(kTipCancel)));
  const int buttonTop = FrameRect().bottom() + 1 + kMoneyBoxGap;
  ok->setGeometry(QRect(QPoint(kTabsRect.left(), buttonTop), kButtonSize));
  cancel->setGeometry(
      QRect(QPoint(kTabsRect.left() + kButtonSize.width() + kButtonGap, buttonTop), kButtonSize));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });

  UpdateTitle();
  pages_[currentPage_]->Refill();
  pages_[currentPage_]->setEnabled(!deals_.PageLocked(static_cast<PlayPage>(currentPage_)));
  tabs_->setFocus();
}

// The pages read the working copies; they go before the copies do.
PlayWindow::~PlayWindow() {
  for (PlayPageBase*& page : pages_) {
    delete page;
    page = nullptr;
  }
  delete tabs_;
}

QWidget* PlayWindow::page(int n) const {
  return n >= 0 && n < kPageCount ? pages_[n] : nullptr;
}

QRect PlayWindow::PageArea() const {
  return QRect(
      QPoint(kTabsRect.left() + kTabsRect.width() + 1, kPageTopGap),
      QPoint(kClientSize.width() - kPageRightGap - 1, kClientSize.height() - kPageBottomGap - 1));
}

QRect PlayWindow::FrameRect() const {
  return QRect(
      QPoint(kTabsRect.left() - kFrameLeftOfTabs, kFrameGap),
      QPoint(kClientSize.width() - kFrameGap - 1, kClientSize.height() - kFrameBottomGap - 1));
}

QRect PlayWindow::MoneyBox() const {
  const QRect frame = FrameRect();
  const int right = frame.left() + frame.width();
  return QRect(right - kMoneyBoxWidth, frame.top() + frame.height() + kMoneyBoxGap, kMoneyBoxWidth,
               kMoneyBoxHeight);
}

void PlayWindow::UpdateTitle() {
  setWindowTitle(Qs(game_.Text(kTitleTexts[currentPage_])));
}

void PlayWindow::SelectPage(int page) {
  if (page < 0 || page >= kPageCount || closing_) return;
  pages_[currentPage_]->hide();
  currentPage_ = page;
  tabs_->SetCurrent(page);
  UpdateTitle();
  const bool locked = deals_.PageLocked(static_cast<PlayPage>(page));
  if (locked) ShowError(kTextInDebt);
  pages_[page]->setEnabled(!locked);
  pages_[page]->Refill();
  pages_[page]->show();
}

void PlayWindow::ShowError(int text) {
  game_.ui.ShowMessage(game_.Text(text), MessageIcon::Error);
}

bool PlayWindow::Report(PlayWindowDeals::Outcome outcome) {
  switch (outcome) {
    case PlayWindowDeals::Outcome::Done:
      return true;
    case PlayWindowDeals::Outcome::Refused:
      return false;
    case PlayWindowDeals::Outcome::NothingChosen:
    case PlayWindowDeals::Outcome::NotEnoughMoney:
    case PlayWindowDeals::Outcome::Uneven:
      ShowError(static_cast<int>(outcome));
      return false;
  }
  return false;
}

void PlayWindow::EnableChildren(bool enable) {
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    const auto* asPage = dynamic_cast<PlayPageBase*>(child);
    const bool locked = asPage != nullptr && child == pages_[currentPage_] &&
                        deals_.PageLocked(static_cast<PlayPage>(currentPage_));
    child->setEnabled(enable && !locked);
  }
  if (enable) activateWindow();
}

void PlayWindow::RepaintMoneyBox() {
  update(MoneyBox().adjusted(-kCoinLeftOfBox, 0, 0, 0));
}

void PlayWindow::Ok() {
  if (closing_) return;
  closing_ = true;
  done(kOk);
}

void PlayWindow::Cancel() {
  if (closing_) return;
  closing_ = true;
  done(kCancel);
}

void PlayWindow::CloseCannotPay() {
  if (closing_) return;
  closing_ = true;
  done(kCannotPay);
}

void PlayWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  // Enter in a price field asks the partner; it must not also commit the window.
  if (enter && focusWidget() != nullptr && ControlId(focusWidget()) == kIdPrice &&
      qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)) {
    SelectPage((currentPage_ + 1) % kPageCount);
    return;
  }
  if (event->key() == Qt::Key_Backtab && (event->modifiers() & Qt::ControlModifier)) {
    SelectPage((currentPage_ + kPageCount - 1) % kPageCount);
    return;
  }
  QDialog::keyPressEvent(event);
}

void PlayWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kGrey);
  const QRect frame = FrameRect();
  Frame3D(p, frame, true, true, kOuterChamfer);
  Frame3D(p, frame.adjusted(1, 1, -1, -1), true, false, kInnerChamfer);

  const QRect box = MoneyBox();
  p.fillRect(box, kMoneyYellow);
  Frame3D(p, box, false, false, 0);
  Frame3D(p, box.adjusted(1, 1, -1, -1), false, true, 0);
  p.setFont(BoldFont());
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter, QString::number(deals_.workMoney()));
  const QPixmap& coin = picture_.Coin();
  p.drawPixmap(box.left() - kCoinLeftOfBox, box.top() + (box.height() - coin.height()) / 2, coin);
}

}  // namespace tomtura
