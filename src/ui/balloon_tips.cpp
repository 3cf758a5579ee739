// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/balloon_tips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/main_layout.h"

namespace tomtura {
namespace {

// ---- The text table ---------------------------------------------------------------------------

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAddPlayer = 1004;  // the new-game dialog's "Add player", the house page's "Add"
constexpr int kIdRemovePlayer = 1005;
constexpr int kIdNetworkButton = 1010;
constexpr int kIdExit = 1011;
constexpr int kIdStrength = 1014;
constexpr int kIdOpenGame = 1051;
constexpr int kIdPageList = 1015;
constexpr int kIdMortgageButton = 1022;
constexpr int kIdAsk = 1023;
constexpr int kIdPartner = 1031;
constexpr int kIdInclude = 1033;
constexpr int kIdPriceOrBid = 1034;

constexpr int kTipAddPlayer = 131;
constexpr int kTipPartnerDeal = 133;
constexpr int kTipPartnerSale = 134;
constexpr int kTipAskBefore = 139;
constexpr int kTipAskAfter = 140;
constexpr int kTipReturnHouse = 142;
constexpr int kTipBuildHouse = 143;
constexpr int kTipMortgage = 114;
constexpr int kTipUnmortgage = 115;
constexpr int kTipPlayOk = 144;
constexpr int kTipPlayCancel = 145;
constexpr int kTipBid = 147;
constexpr int kTipPass = 148;
constexpr int kTipNetwork = 126;
constexpr int kAskNameChars = 9;

// Controls whose balloon is always the same catalogue text.
struct FixedTip {
  int id;
  int text;
};
constexpr std::array<FixedTip, 27> kFixedTips = {{
    {40010, 124}, {40004, 112}, {40005, 113}, {40011, 114}, {40012, 115}, {40006, 116},
    {40008, 117}, {1000, 125},  {1008, 127},  {1007, 128},  {1009, 129},  {1006, 130},
    {1005, 132},  {1018, 135},  {1032, 136},  {1033, 137},  {1034, 138},  {1037, 141},
    {1030, 146},  {1043, 149},  {1044, 150},  {1045, 151},  {1046, 152},  {1047, 153},
    {1048, 154},  {1049, 155},  {1050, 156},
}};

// What a control says on its face: a button's or label's text, a list's chosen item, a field's
// contents.
QString Caption(const QWidget& control) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (const auto* combo = qobject_cast<const QComboBox*>(&control)) return combo->currentText();
  if (const auto* field = qobject_cast<const QLineEdit*>(&control)) return field->text();
  if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  return control.windowTitle();
}

// A caption as said, without its shortcut mark, padding and closing colon, so that a control
// is known by the play window's text in the language shown.
QString Plain(QString caption) {
  caption.remove(QLatin1Char('&'));
  caption = caption.trimmed();
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption.trimmed();
}

bool SaysPlayText(const QWidget& control, const char* source) {
  return Plain(Caption(control)) ==
         Plain(QCoreApplication::translate("tomtura::PlayPageBase", source));
}

// ---- Geometry and colours -------------------------------------------------------------------

const QColor kBalloonColour(255, 255, 200);
const QColor kShadowColour(111, 111, 111);
constexpr int kBodyTop = 10;
constexpr int kBalloonCornerSize = 20;
constexpr std::array<QPoint, 3> kTail = {{{0, 0}, {12, 20}, {25, 15}}};
constexpr int kBalloonTextTop = 14;
constexpr int kBalloonMargin = 20;  // the balloon is this much wider and higher than its text
constexpr int kBalloonOffset = 15;  // from the point the tail touches
constexpr int kShadowOffset = 21;
// The edge rules: past the right edge when x + 27 + text width is beyond it, and then moved
// to 35 pixels plus the text width from it; the bottom likewise with 27 and 45.
constexpr int kRightReach = 27;
constexpr int kRightBack = 35;
constexpr int kBottomReach = 27;
constexpr int kBottomBack = 45;
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextExpandTabs;

QSize TextSize(const QString& text) {
  return QFontMetrics(DialogFont()).boundingRect(QRect(), kTextFlags, text).size();
}

// ---- The two windows ----------------------------------------------------------------------

// A top-level window that never takes the focus and stays above the others.
void MakeFloating(QWidget& window) {
  window.setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus);
  window.setAttribute(Qt::WA_ShowWithoutActivating);
  window.setAttribute(Qt::WA_TransparentForMouseEvents);
  window.setFocusPolicy(Qt::NoFocus);
}

class Balloon : public QWidget {
 public:
  Balloon() {
    MakeFloating(*this);
    setFont(DialogFont());
  }
  void SetText(const QString& text) {
    text_ = text;
    update();
  }
  const QString& text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), kBalloonColour);
    painter.setFont(DialogFont());
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(0, kBalloonTextTop, 0, 0), kTextFlags, text_);
    // The outline: the pixels of the shape that have a neighbour outside it.
    const QRegion shape = BalloonShape(size());
    const QRegion inner = shape & shape.translated(1, 0) & shape.translated(-1, 0) &
                          shape.translated(0, 1) & shape.translated(0, -1);
    painter.setClipRegion(shape - inner);
    painter.fillRect(rect(), Qt::black);
  }

 private:
  QString text_;
};

// Darkens what lies beneath it: the screen under its place is taken before it is shown and
// painted back multiplied by the shadow colour, so no compositor is needed.
class Shadow : public QWidget {
 public:
  Shadow() { MakeFloating(*this); }
  void TakeBackground(const QRect& place) {
    QScreen* screen = QGuiApplication::screenAt(place.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    beneath_ = screen != nullptr
                   ? screen->grabWindow(0, place.x(), place.y(), place.width(), place.height())
                   : QPixmap();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (beneath_.isNull()) {
      painter.fillRect(rect(), Qt::white);
    } else {
      painter.drawPixmap(0, 0, beneath_);
    }
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(rect(), kShadowColour);
  }

 private:
  QPixmap beneath_;
};

// ---- The one balloon and the hover state -----------------------------------------------------

class BalloonTips : public QObject {
 public:
  static BalloonTips& Instance() {
    static BalloonTips* tips = nullptr;
    if (tips == nullptr) {
      tips = new BalloonTips;
      // The windows go before the application does.
      qAddPostRoutine([] {
        delete tips;
        tips = nullptr;
      });
    }
    return *tips;
  }

  Balloon& balloon() { return balloon_; }
  Shadow& shadow() { return shadow_; }
  const QWidget* hover() const { return hover_; }

  // The mouse moved inside `control` with no button or modifier down.
  void Rest(QWidget* control, const Game* game, QPoint cursor) {
    if (hover_ != control) {
      Reset();
      hover_ = control;
      game_ = game;
      watch_ = connect(control, &QObject::destroyed, this, [this] { Forget(); });
      control->update();
    }
    cursor_ = cursor;
    timer_.stop();
    if (!balloon_.isVisible()) timer_.start(kBalloonDelayMs);
  }

  // Leaving, a click, a key, hiding: the balloon goes and nothing is hovered.
  void Reset() {
    QWidget* left = hover_;
    Forget();
    if (left != nullptr) left->update();
  }

 private:
  BalloonTips() {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Show(); });
  }

  void Forget() {
    timer_.stop();
    balloon_.hide();
    shadow_.hide();
    disconnect(watch_);
    hover_ = nullptr;
    game_ = nullptr;
  }

  void Show() {
    if (hover_ == nullptr || game_ == nullptr) return;
    const QWidget* active = QApplication::activeWindow();
    if (active == nullptr || active == hover_ || !active->isAncestorOf(hover_)) return;
    const QWidget* owner = TipOwner(*hover_);
    if (owner == nullptr) return;
    const QString text = TooltipText(*owner, *game_);
    if (text.isEmpty()) return;

    const QSize textSize = TextSize(text);
    QScreen* screen = QGuiApplication::screenAt(cursor_);
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->geometry() : QRect();
    const QPoint at = BalloonPlace(cursor_, textSize, desktop);
    const QSize size = textSize + QSize(kBalloonMargin, kBalloonMargin);
    const QRegion shape = BalloonShape(size);

    const QRect shadowPlace(at + QPoint(kShadowOffset, kShadowOffset), size);
    shadow_.TakeBackground(shadowPlace);
    shadow_.setGeometry(shadowPlace);
    shadow_.setMask(shape);
    shadow_.show();
    balloon_.SetText(text);
    balloon_.setGeometry(QRect(at + QPoint(kBalloonOffset, kBalloonOffset), size));
    balloon_.setMask(shape);
    balloon_.show();
  }

  // The control whose balloon a widget shows: itself when it has an id; a part of a compound
  // control (a list's viewport, a scroll bar) shows its control's. Static texts show none.
  static const QWidget* TipOwner(const QWidget& widget) {
    const QWidget* w = &widget;
    if (qobject_cast<const QLabel*>(w) != nullptr || qobject_cast<const QGroupBox*>(w) != nullptr) {
      return nullptr;
    }
    while (ControlId(w) == 0 && !w->isWindow() && w->parentWidget() != nullptr &&
           !w->parentWidget()->isWindow()) {
      w = w->parentWidget();
    }
    return w;
  }

  Balloon balloon_;
  Shadow shadow_;
  QTimer timer_;
  QWidget* hover_ = nullptr;
  const Game* game_ = nullptr;
  QPoint cursor_;
  QMetaObject::Connection watch_;
};

// ---- Decorating a window ------------------------------------------------------------------

constexpr char kDecorationProperty[] = "tomturaTipDecoration";

// One per decorated window: the event filter of each of its controls, and the game whose
// catalogue the texts come from.
class TipDecoration : public QObject {
 public:
  TipDecoration(QWidget& window, const Game& game) : QObject(&window), game_(&game) {}
  void SetGame(const Game& game) { game_ = &game; }

  void Decorate(QWidget& parent) {
    for (QObject* child : parent.children()) {
      auto* control = qobject_cast<QWidget*>(child);
      if (control == nullptr || control->isWindow()) continue;
      auto* previous = control->property(kDecorationProperty).value<QObject*>();
      if (previous != this) {
        if (previous != nullptr) control->removeEventFilter(previous);
        control->installEventFilter(this);
        control->setProperty(kDecorationProperty, QVariant::fromValue<QObject*>(this));
        control->setMouseTracking(true);
      }
      Decorate(*control);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* control = qobject_cast<QWidget*>(watched);
    if (control == nullptr) return false;
    BalloonTips& tips = BalloonTips::Instance();
    switch (event->type()) {
      case QEvent::MouseMove:
        Moved(*control, *static_cast<QMouseEvent*>(event));
        break;
      case QEvent::Leave:
        if (tips.hover() == control) tips.Reset();
        break;
      case QEvent::Hide:
      case QEvent::Show:
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        if (tips.hover() != nullptr) tips.Reset();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void Moved(QWidget& control, const QMouseEvent& event) {
    // With a button or modifier down nothing changes, inside or out.
    if (event.buttons() != Qt::NoButton || event.modifiers() != Qt::NoModifier) return;
    const QPoint global = event.globalPosition().toPoint();
    QWidget* under = QApplication::widgetAt(global);
    // A move that a child did not take comes on to its parent; the child has seen it.
    if (under != nullptr && under != &control && control.isAncestorOf(under)) return;
    const QPoint pos = event.position().toPoint();
    const bool inside = under == &control && pos.x() > 0 && pos.x() < control.width() &&
                        pos.y() > 0 && pos.y() < control.height();
    BalloonTips& tips = BalloonTips::Instance();
    if (inside) {
      tips.Rest(&control, game_, global);
    } else if (tips.hover() != nullptr) {
      tips.Reset();
    }
  }

  const Game* game_;
};

}  // namespace

void InstallTooltips(QWidget& window, const Game& game) {
  BalloonTips::Instance();
  TipDecoration* decoration = nullptr;
  for (QObject* child : window.children()) {
    if (auto* found = dynamic_cast<TipDecoration*>(child)) decoration = found;
  }
  if (decoration == nullptr) {
    decoration = new TipDecoration(window, game);
  } else {
    decoration->SetGame(game);
  }
  decoration->Decorate(window);
}

QString TooltipText(const QWidget& control, const Game& game) {
  const int id = ControlId(&control);
  const QWidget* parent = control.parentWidget();
  const auto text = [&game](int n) { return QString::fromStdString(game.Text(n)); };
  const auto sibling = [parent](int siblingId) -> const QWidget* {
    return parent != nullptr ? FindControl(parent, siblingId) : nullptr;
  };
  switch (id) {
    case kIdAddPlayer:
      if (sibling(kIdRemovePlayer) != nullptr) return text(kTipAddPlayer);
      return text(SaysPlayText(control, "Add") ? kTipBuildHouse : kTipReturnHouse);
    case kIdPartner: {
      const QWidget* include = sibling(kIdInclude);
      return text(include != nullptr && SaysPlayText(*include, "Include also:") ? kTipPartnerDeal
                                                                                : kTipPartnerSale);
    }
    case kIdAsk: {
      const QWidget* partner = sibling(kIdPartner);
      const QString name = partner != nullptr ? Caption(*partner).left(kAskNameChars) : QString();
      return text(kTipAskBefore) + ' ' + name + ' ' + text(kTipAskAfter);
    }
    case kIdMortgageButton:
      return text(Caption(control) == text(kTextMortgageButton) || Caption(control).startsWith('I')
                      ? kTipMortgage
                      : kTipUnmortgage);
    case kIdOk:
    case kIdCancel: {
      if (sibling(kIdPageList) != nullptr) return text(id == kIdOk ? kTipPlayOk : kTipPlayCancel);
      const QWidget* bid = sibling(kIdPriceOrBid);
      if (bid != nullptr && bid->isVisible()) return text(id == kIdOk ? kTipBid : kTipPass);
      return {};
    }
    case kIdNetworkButton:
      // The id is the new-game dialog's button; the text and about windows' fields share it.
      return qobject_cast<const QAbstractButton*>(&control) != nullptr ? text(kTipNetwork)
                                                                       : QString();
    case kIdExit:
      return QCoreApplication::translate("BalloonTips", "Exit Tomtura");
    case kIdStrength:
      return QCoreApplication::translate(
          "BalloonTips",
          "How well the computer plays:\nEasy makes a beginner's mistakes,\nHard plays to win");
    case kIdOpenGame:
      return QCoreApplication::translate("BalloonTips", "Go on with a saved game");
    default:
      break;
  }
  for (const FixedTip& tip : kFixedTips) {
    if (tip.id != id) continue;
    QString shown = text(tip.text);
    // A command button's balloon names its key, as its menu item does.
    if (const char letter = CommandLetter(id); letter != 0) {
      const QString key = QStringLiteral("(%1)").arg(QLatin1Char(letter));
      if (!shown.contains(key)) shown += ' ' + key;
    }
    return shown;
  }
  return {};
}

const QWidget* HoverControl() {
  return BalloonTips::Instance().hover();
}

QRegion BalloonShape(QSize size) {
  const int w = size.width();
  const int h = size.height();
  const int r = kBalloonCornerSize / 2;
  QRegion body(r, kBodyTop, w - kBalloonCornerSize, h - kBodyTop);
  body += QRegion(0, kBodyTop + r, w, h - kBodyTop - kBalloonCornerSize);
  for (const QPoint corner : {QPoint(0, kBodyTop), QPoint(w - kBalloonCornerSize, kBodyTop),
                              QPoint(0, h - kBalloonCornerSize),
                              QPoint(w - kBalloonCornerSize, h - kBalloonCornerSize)}) {
    body +=
        QRegion(corner.x(), corner.y(), kBalloonCornerSize, kBalloonCornerSize, QRegion::Ellipse);
  }
  const QPolygon tail({kTail[0], kTail[1], kTail[2]});
  return (body + QRegion(tail, Qt::WindingFill)) & QRegion(0, 0, w, h);
}

QPoint BalloonPlace(QPoint cursor, QSize textSize, const QRect& desktop) {
  const int right = desktop.x() + desktop.width();
  const int bottom = desktop.y() + desktop.height();
  int x = cursor.x();
  int y = cursor.y();
  if (textSize.width() + x + kRightReach > right) x = right - textSize.width() - kRightBack;
  if (textSize.height() + y + kBottomReach > bottom) y = bottom - textSize.height() - kBottomBack;
  // Within a few pixels of the edge the rules above would leave the balloon standing over it.
  x = std::min(x, right - textSize.width() - kBalloonOffset - kBalloonMargin);
  y = std::min(y, bottom - textSize.height() - kBalloonOffset - kBalloonMargin);
  return {x, y};
}

QWidget* BalloonWindow() {
  return &BalloonTips::Instance().balloon();
}

QWidget* BalloonShadow() {
  return &BalloonTips::Instance().shadow();
}

QString BalloonText() {
  return BalloonTips::Instance().balloon().text();
}

}  // namespace tomtura
