// SPDX-License-Identifier: GPL-3.0-or-later
// Balloon tips driven by the mouse and keys as a player drives them (offscreen): when a balloon
// shows and with which text, where it stands, and what puts it away; the hover state of the
// flat command buttons; and the balloons of the game's own windows.
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <type_traits>

#include "data/ini_file.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "test_suites.h"
#include "ui/balloon_tips.h"
#include "ui/board_picture.h"
#include "ui/command_button.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

constexpr char kBoard[] =
    "[TEXTS]\n"
    "112=Buy from a player\n"
    "124=Roll the dice\n"
    "125=Your name,|at most nine|characters\n"
    "126=Play over the network\n"
    "131=Add the player|or save the changes\n"
    "133=Deal with\n"
    "134=Sell to\n"
    "143=Build a house\n"
    "139=Send the offer to\n"
    "140=and wait\n"
    "114=Mortgage\n"
    "115=Lift the mortgage\n"
    "144=Close the window\n"
    "145=Undo everything\n"
    "146=Your password\n"
    "147=Bid\n"
    "148=Pass\n";

constexpr int kAddPlayer = 1004;
constexpr int kRemovePlayer = 1005;
constexpr int kName = 1000;
constexpr int kPassword = 1030;
constexpr int kRoll = 40010;

template <typename T>
T* Make(QWidget* parent, int id, const QString& caption, const QRect& place) {
  auto* control = new T(parent);
  SetControlId(control, id);
  if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QLineEdit, T> ||
                std::is_base_of_v<QLabel, T>) {
    control->setText(caption);
  }
  control->setGeometry(place);
  return control;
}

// A game of a small catalogue and a window with a few decorated controls.
struct Panel {
  HeadlessFrontEnd ui;
  Game game{TextCatalogue(IniFile::Parse(kBoard)), ui, 1};
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  QPushButton* add = Make<QPushButton>(window.get(), kAddPlayer, "&Add", {10, 10, 100, 30});
  QPushButton* remove =
      Make<QPushButton>(window.get(), kRemovePlayer, "&Remove", {10, 50, 100, 30});
  QLineEdit* name = Make<QLineEdit>(window.get(), kName, "", {130, 10, 100, 24});
  QLineEdit* password = Make<QLineEdit>(window.get(), kPassword, "", {130, 50, 100, 24});
  QPushButton* roll = Make<QPushButton>(window.get(), kRoll, "Roll", {130, 90, 100, 30});
  QLabel* label = Make<QLabel>(window.get(), 1045, "Address", {10, 90, 100, 30});

  explicit Panel(QPoint at = QPoint(40, 40)) {
    window->setGeometry(QRect(at, QSize(260, 140)));
    InstallTooltips(*window, game);
    window->show();
    window->activateWindow();
  }
};

// Rests the mouse on `control` at `pos` (its centre by default).
void Rest(QWidget* control, QPoint pos = {}) {
  QTest::mouseMove(control, pos.isNull() ? control->rect().center() : pos);
}

bool BalloonShown() {
  return BalloonWindow()->isVisible();
}

// The text of the balloon that shows within two seconds; "(none)" when none does.
QString ShownBalloon() {
  return QTest::qWaitFor(BalloonShown, 2000) ? BalloonText() : QString("(none)");
}

// Whether no balloon shows in time enough for one.
bool NoBalloonAfterTheDelay() {
  QTest::qWait(kBalloonDelayMs + 300);
  return !BalloonShown();
}

}  // namespace

class BalloonTipsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void showsTheControlsTextWhenTheMouseRests();
  void noBalloonWhileAnotherWindowOrAButtonOrModifier();
  void putAwayByKeysClicksLeavingAndHiding_data();
  void putAwayByKeysClicksLeavingAndHiding();
  void placementKeepsTheBalloonOnTheDesktop_data();
  void placementKeepsTheBalloonOnTheDesktop();
  void textsFollowTheControlAndItsNeighbours();
  void lateFlatCommandButtonDrawsItsHoverState();
  void gameWindowsAndDialogsShowCatalogueBalloons();
};

// The mouse leaves every window between tests.
void BalloonTipsTest::cleanup() {
  QCursor::setPos(790, 590);
  QCoreApplication::processEvents();
  QVERIFY(!BalloonShown());
  QVERIFY(HoverControl() == nullptr);
}

void BalloonTipsTest::showsTheControlsTextWhenTheMouseRests() {
  Panel panel;
  QVERIFY(QTest::qWaitForWindowActive(panel.window.get()));
  Rest(panel.add, {20, 10});
  QTest::qWait(kBalloonDelayMs - 200);
  QVERIFY(!BalloonShown());
  // Each movement starts the delay again.
  Rest(panel.add, {30, 12});
  QTest::qWait(kBalloonDelayMs - 200);
  QVERIFY(!BalloonShown());
  QCOMPARE(ShownBalloon(), QString("Add the player\nor save the changes"));

  // Tail at the mouse: the balloon 15 pixels down and right of it, its shadow 6 further.
  const QPoint mouse = panel.add->mapToGlobal(QPoint(30, 12));
  // Its size: the text's, laid out as the balloon lays it out, and a margin of 10 about it.
  const QFontMetrics metrics(DialogFont());
  const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextExpandTabs;
  const QSize size = metrics.boundingRect(QRect(), flags, BalloonText()).size() + QSize(20, 20);
  QCOMPARE(BalloonWindow()->geometry(), QRect(mouse + QPoint(15, 15), size));
  QCOMPARE(BalloonShadow()->geometry(), QRect(mouse + QPoint(21, 21), size));
  QVERIFY(BalloonShadow()->isVisible());
  QCOMPARE(BalloonWindow()->mask(), BalloonShape(size));

  // Once it stands, moving within the control leaves it where it is.
  Rest(panel.add, {40, 14});
  QTest::qWait(50);
  QVERIFY(BalloonShown());
  QCOMPARE(BalloonWindow()->geometry().topLeft(), mouse + QPoint(15, 15));
}

// No balloon in a window that is not active, nor while a mouse button or a modifier is held.
void BalloonTipsTest::noBalloonWhileAnotherWindowOrAButtonOrModifier() {
  Panel panel;
  QWidget other;
  other.setGeometry(420, 40, 200, 100);
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  Rest(panel.password);
  QVERIFY(NoBalloonAfterTheDelay());

  panel.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(panel.window.get()));
  QTest::mousePress(panel.password, Qt::LeftButton, {}, {20, 10});
  Rest(panel.password, {30, 12});  // a drag: the button stays down
  QVERIFY(NoBalloonAfterTheDelay());
  QTest::mouseRelease(panel.password, Qt::LeftButton, {}, {30, 12});

  QMouseEvent shifted(QEvent::MouseMove, QPointF(40, 12),
                      QPointF(panel.password->mapToGlobal(QPoint(40, 12))), Qt::NoButton,
                      Qt::NoButton, Qt::ShiftModifier);
  QApplication::sendEvent(panel.password, &shifted);
  QVERIFY(NoBalloonAfterTheDelay());

  // With nothing held the same control shows its balloon.
  Rest(panel.password, {50, 12});
  QCOMPARE(ShownBalloon(), QString("Your password"));
}

// What puts away the balloon of the panel's name field.
using PutAway = std::function<void(Panel&)>;
Q_DECLARE_METATYPE(PutAway)

void BalloonTipsTest::putAwayByKeysClicksLeavingAndHiding_data() {
  QTest::addColumn<PutAway>("how");
  QTest::addColumn<bool>("ontoLabel");  // the mouse is left on a static text
  QTest::newRow("a key") << PutAway([](Panel& p) { QTest::keyClick(p.name, Qt::Key_A); }) << false;
  QTest::newRow("a click") << PutAway([](Panel& p) { QTest::mouseClick(p.name, Qt::LeftButton); })
                           << false;
  QTest::newRow("leaving the control") << PutAway([](Panel& p) {
    Rest(p.window.get(), {120, 130});
  }) << false;
  QTest::newRow("onto a static text") << PutAway([](Panel& p) { Rest(p.label); }) << true;
  QTest::newRow("the control hidden") << PutAway([](Panel& p) { p.name->hide(); }) << false;
  QTest::newRow("the control destroyed") << PutAway([](Panel& p) { delete p.name; }) << false;
}

void BalloonTipsTest::putAwayByKeysClicksLeavingAndHiding() {
  QFETCH(PutAway, how);
  QFETCH(bool, ontoLabel);
  Panel panel;
  QVERIFY(QTest::qWaitForWindowActive(panel.window.get()));
  panel.name->setFocus();
  Rest(panel.name);
  QTRY_VERIFY_WITH_TIMEOUT(BalloonShown(), 2000);
  QVERIFY(HoverControl() == panel.name);
  how(panel);
  QVERIFY(!BalloonShown());
  QVERIFY(!BalloonShadow()->isVisible());
  QVERIFY(HoverControl() == (ontoLabel ? panel.label : nullptr));
  // Static texts never show a balloon, even with an id of the table.
  if (ontoLabel) QVERIFY(NoBalloonAfterTheDelay());
}

void BalloonTipsTest::placementKeepsTheBalloonOnTheDesktop_data() {
  QTest::addColumn<QPoint>("cursor");
  QTest::addColumn<QRect>("desktop");
  QTest::addColumn<QPoint>("place");
  const QRect screen(0, 0, 800, 600);
  // A text of 100 x 30: the balloon is 120 x 50 and stands 15 right of and below the place.
  QTest::newRow("room enough") << QPoint(100, 100) << screen << QPoint(100, 100);
  QTest::newRow("right edge") << QPoint(700, 100) << screen << QPoint(665, 100);
  QTest::newRow("bottom edge") << QPoint(100, 560) << screen << QPoint(100, 525);
  // Within 8 pixels of the edges the balloon would pass them; it is held inside.
  QTest::newRow("just short of the right") << QPoint(670, 100) << screen << QPoint(665, 100);
  QTest::newRow("just short of the bottom") << QPoint(100, 540) << screen << QPoint(100, 535);
  QTest::newRow("second screen") << QPoint(1500, 100) << QRect(800, 0, 800, 600)
                                 << QPoint(1465, 100);
}

void BalloonTipsTest::placementKeepsTheBalloonOnTheDesktop() {
  QFETCH(QPoint, cursor);
  QFETCH(QRect, desktop);
  QFETCH(QPoint, place);
  const QSize text(100, 30);
  QCOMPARE(BalloonPlace(cursor, text, desktop), place);
  for (int x = desktop.left(); x < desktop.left() + desktop.width(); x += 7) {
    for (int y = desktop.top(); y < desktop.top() + desktop.height(); y += 11) {
      const QRect balloon(BalloonPlace({x, y}, text, desktop) + QPoint(15, 15),
                          text + QSize(20, 20));
      QVERIFY2(desktop.contains(balloon), qPrintable(QString("%1, %2").arg(x).arg(y)));
    }
  }
}

void BalloonTipsTest::textsFollowTheControlAndItsNeighbours() {
  HeadlessFrontEnd ui;
  const Game game(TextCatalogue(IniFile::Parse(kBoard)), ui, 1);
  const auto text = [&game](const QWidget* control) { return TooltipText(*control, game); };

  // "Add" asks for the new-game dialog's text only beside a "Remove"; on a house page its
  // caption, padding aside, chooses between building and giving back (language_test).
  QWidget newGame;
  auto* add = Make<QPushButton>(&newGame, 1004, "&Add player", {});
  Make<QPushButton>(&newGame, 1005, "&Remove", {});
  QCOMPARE(text(add), QString("Add the player\nor save the changes"));
  QWidget housePage;
  QCOMPARE(text(Make<QPushButton>(&housePage, 1004, "  Add    ", {})), QString("Build a house"));

  // The trade page: the player list by the include box's caption, "Ask" by the player's name
  // cut to nine characters.
  QWidget tradePage;
  auto* partner = Make<QComboBox>(&tradePage, 1031, "", {});
  partner->addItem("Annabella Svensson");
  auto* include = Make<QPushButton>(&tradePage, 1033, "Include also", {});
  auto* ask = Make<QPushButton>(&tradePage, 1023, "Ask", {});
  QCOMPARE(text(partner), QString("Deal with"));
  include->setText("Sell also");
  QCOMPARE(text(partner), QString("Sell to"));
  QCOMPARE(text(ask), QString("Send the offer to Annabella and wait"));
  partner->clear();
  QCOMPARE(text(ask), QString("Send the offer to  and wait"));

  QWidget mortgagePage;
  auto* mortgage = Make<QPushButton>(&mortgagePage, 1022, "Inteckna", {});
  QCOMPARE(text(mortgage), QString("Mortgage"));
  mortgage->setText("Lös in");
  QCOMPARE(text(mortgage), QString("Lift the mortgage"));

  // OK and Cancel speak only in the play window (a page list) and the auction (a bid field
  // that shows).
  QWidget playWindow;
  Make<QWidget>(&playWindow, 1015, "", {});
  QCOMPARE(text(Make<QPushButton>(&playWindow, 1, "&OK", {})), QString("Close the window"));
  QCOMPARE(text(Make<QPushButton>(&playWindow, 2, "&Cancel", {})), QString("Undo everything"));
  QWidget auction;
  auto* bid = Make<QLineEdit>(&auction, 1034, "", {});
  auto* ok = Make<QPushButton>(&auction, 1, "&OK", {});
  auto* pass = Make<QPushButton>(&auction, 2, "&Cancel", {});
  auction.show();
  QCOMPARE(text(ok), QString("Bid"));
  QCOMPARE(text(pass), QString("Pass"));
  bid->hide();
  QCOMPARE(text(ok), QString());
  QWidget question;
  QCOMPARE(text(Make<QPushButton>(&question, 1, "&Yes", {})), QString());

  // 1010 is the new-game dialog's network button; the help windows' text fields share the id.
  QWidget plain;
  QCOMPARE(text(Make<QPushButton>(&plain, 1010, "&Network...", {})),
           QString("Play over the network"));
  QCOMPARE(text(Make<QLineEdit>(&plain, 1010, "", {})), QString());
  QCOMPARE(text(Make<QPushButton>(&plain, 1011, "Exit", {})), QString("Exit Tomtura"));
  // A command button names its key, once; the real board's text of Roll has it already.
  QCOMPARE(text(Make<QPushButton>(&plain, 40010, "", {})), QString("Roll the dice (S)"));
  QCOMPARE(text(Make<QPushButton>(&plain, 40004, "", {})), QString("Buy from a player (K)"));
  QCOMPARE(text(Make<QPushButton>(&plain, 999, "", {})), QString());
}

// A control added late is decorated when the window is decorated again, which adds nothing for
// the controls decorated before; a flat command button draws its hover state.
void BalloonTipsTest::lateFlatCommandButtonDrawsItsHoverState() {
  Panel panel;
  const auto helpers = [&panel] {
    int count = 0;
    for (QObject* child : panel.window->children()) count += child->isWidgetType() ? 0 : 1;
    return count;
  };
  const int before = helpers();
  BoardPicture picture;  // no sheet: the button's pattern is the window colour
  const int flat = 1;
  auto* button = new CommandButton(kRoll, 0, picture, flat, panel.window.get());
  button->setGeometry(200, 100, CommandButton::kSize, CommandButton::kSize);
  button->show();
  InstallTooltips(*panel.window, panel.game);
  InstallTooltips(*panel.window, panel.game);
  QCOMPARE(helpers(), before);
  QVERIFY(QTest::qWaitForWindowActive(panel.window.get()));
  const QImage plain = button->grab().toImage();

  Rest(button, {10, 10});
  QVERIFY(HoverControl() == button);
  const QImage hovered = button->grab().toImage();
  QVERIFY(hovered != plain);
  QCOMPARE(ShownBalloon(), QString("Roll the dice (S)"));

  Rest(panel.window.get(), {150, 135});
  QVERIFY(HoverControl() == nullptr);
  QCOMPARE(button->grab().toImage(), plain);
}

void BalloonTipsTest::gameWindowsAndDialogsShowCatalogueBalloons() {
  Harness h;
  // Offscreen windows have no stacking order, so the dialog stands beside the window.
  h.window->setGeometry(20, 20, 360, 240);
  h.window->show();
  h.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
  Rest(h.window->commandButton(kRoll));
  QCOMPARE(ShownBalloon(), h.Text(kTextRollTip));

  // Every dialog of the game is decorated as it is run.
  QString shown;
  h.playDialog = [&shown](QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog)) return 0;
    Rest(FindControl(&dialog, kPassword));
    shown = ShownBalloon();
    return 0;
  };
  QDialog dialog(h.window.get());
  dialog.setGeometry(450, 320, 200, 80);
  Make<QLineEdit>(&dialog, kPassword, "", {20, 20, 100, 24});
  h.ui.RunModal(dialog);
  QCOMPARE(shown, h.Text(kTextPasswordTip));
}

TOMTURA_TEST_SUITE(BalloonTipsTest);
#include "balloon_tips_test.moc"
