// SPDX-License-Identifier: GPL-3.0-or-later
// Each edition in one language (offscreen): for each edition, its translations installed, the
// main window's menus and a few dialogs hold no word of the other language and no shortcut letter
// twice, Qt's standard buttons speak the edition's language, and the product in every title is
// Tomtura.
#include <QAbstractButton>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "data/free_text.h"
#include "data/ini_file.h"
#include "net/session.h"
#include "rules/game.h"
#include "test_suites.h"
#include "trade/auction.h"
#include "trade/play_deals.h"
#include "ui/about_dialog.h"
#include "ui/auction_dialog.h"
#include "ui/balloon_tips.h"
#include "ui/chat_dialog.h"
#include "ui/control_ids.h"
#include "ui/network_dialogs.h"
#include "ui/new_game_dialog.h"
#include "ui/password_dialog.h"
#include "ui/play_pages.h"
#include "ui/play_window.h"
#include "ui/qt_net_link.h"
#include "ui/text_window.h"
#include "ui/translation.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// Words the English texts used to show in the Swedish game, and Swedish words an English game
// must not show; each as a whole word, shortcut marks removed.
const QStringList kEnglishWords = {
    "Choose", "Buy",     "Sell",     "Ask",      "Cancel",  "Hide",       "Player",   "Players",
    "Game",   "File",    "Options",  "Help",     "Message", "Price",      "Add",      "Remove",
    "Exit",   "Network", "Name",     "Password", "Piece",   "Include",    "Houses",   "Roll",
    "Save",   "Load",    "Yes",      "No",       "Send",    "Bid",        "Auction",  "Mortgage",
    "About",  "Display", "Music",    "Sound",    "Address", "Value",      "Computer", "Join",
    "Host",   "Rules",   "Homepage", "Street",   "Login",   "Recipients", "Look"};
const QStringList kSwedishWords = {
    "Välj",     "Köp",     "Sälj",         "Fråga",      "Avbryt", "Dölj",   "Spelare",
    "Spel",     "Hjälp",   "Regler",       "Meddelande", "Pris",   "Lägg",   "Ta",
    "Avsluta",  "Nätverk", "Namn",         "Lösenord",   "Pjäs",   "Bygg",   "Hus",
    "Slå",      "Spara",   "Öppna",        "Ja",         "Nej",    "Skicka", "Bud",
    "Inteckna", "Om",      "Musik",        "Ljud",       "Adress", "gata",   "Inställningar",
    "Starta",   "Anslut",  "Datorspelare", "auktion"};

// The game's dialogs, made as the game makes them, over the main window of one edition.
struct EditionDialogs {
  explicit EditionDialogs(Harness& e)
      : deals(*e.game), session(*e.game, recorder, Role::Client), auction(*e.game) {
    Game& game = *e.game;
    windows.push_back(std::make_unique<NewGameDialog>(
        game, e.picture, nullptr, [](QWidget*, const QString&) { return false; },
        [](QWidget*) { return false; }));
    for (int page = 0; page < kPlayPageCount; ++page) {
      windows.push_back(std::make_unique<PlayWindow>(game, deals, e.picture, page, nullptr));
    }
    DecisionRequest login;
    login.kind = DecisionKind::Login;
    windows.push_back(std::make_unique<PasswordDialog>(game, login, nullptr, nullptr));
    windows.push_back(std::make_unique<TextWindow>(game, nullptr, FreeTextBlock::kTips, nullptr));
    windows.push_back(
        std::make_unique<AboutDialog>(QString(), QString(), QIcon(), nullptr, nullptr));
    windows.push_back(std::make_unique<NetworkDialog>(game, nullptr, nullptr, nullptr));
    windows.push_back(std::make_unique<JoinDialog>(
        game, session, link, 1, "P1", [](const QString&, const QString&, QMessageBox::Icon) {},
        nullptr));
    windows.push_back(std::make_unique<ChatDialog>(game, nullptr));
    windows.push_back(std::make_unique<AuctionDialog>(game, auction, nullptr, nullptr));
  }

  PlayWindowDeals deals;
  RecordingLink recorder;
  NetSession session;
  QtNetLink link;
  Auction auction;
  std::vector<std::unique_ptr<QWidget>> windows;
};

// The captions among `captions` that share their shortcut letter ("Pass&word" has 'w'; "&&" is an
// ampersand) with another.
QStringList SharedLetters(const QStringList& captions) {
  QMap<QString, QStringList> byLetter;
  for (const QString& caption : captions) {
    const auto letter = QRegularExpression("&([^&])").match(QString(caption).remove("&&"));
    if (letter.hasMatch()) byLetter[letter.captured(1).toLower()] << caption;
  }
  QStringList shared;
  for (const QStringList& same : std::as_const(byLetter)) {
    if (same.size() > 1) shared << same.join(" / ");
  }
  return shared;
}

// Every group of captions one keyboard reaches at once: the controls a window shows (a page of
// the play window at a time), the menu bar's titles, and each menu's items.
QList<QStringList> ShortcutGroups(const QWidget& window) {
  QList<QStringList> groups{{}};
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&window)) continue;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      groups.first() << button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(widget);
               label != nullptr && label->buddy() != nullptr) {
      groups.first() << label->text();
    } else if (const auto* menuBar = qobject_cast<const QMenuBar*>(widget)) {
      QStringList titles;
      for (const QAction* action : menuBar->actions()) titles << action->text();
      groups << titles;
    } else if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
      QStringList items;
      for (const QAction* action : menu->actions()) items << action->text().section('\t', 0, 0);
      groups << items;
    }
  }
  return groups;
}

// Every text a widget and its children show: titles, captions, labels, tooltips.
QStringList ShownTexts(const QWidget& top) {
  QStringList texts{top.windowTitle()};
  QList<const QWidget*> widgets{&top};
  for (const QWidget* child : top.findChildren<QWidget*>()) widgets << child;
  for (const QWidget* widget : widgets) {
    texts << widget->toolTip();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) texts << button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) texts << label->text();
    if (const auto* dock = qobject_cast<const QDockWidget*>(widget)) texts << dock->windowTitle();
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
      texts << menu->title();
      for (const QAction* action : menu->actions()) texts << action->text().section('\t', 0, 0);
    }
  }
  texts.removeAll(QString());
  return texts;
}

// The texts among `texts` that hold one of `words` as a whole word, or (for an English game)
// a Swedish letter.
QStringList Foreign(const QStringList& texts, const QStringList& words, bool english) {
  QStringList found;
  for (QString text : texts) {
    text.remove('&');
    for (const QString& word : words) {
      const QRegularExpression whole("(^|[^\\w])" + QRegularExpression::escape(word) + "($|[^\\w])",
                                     QRegularExpression::UseUnicodePropertiesOption);
      if (whole.match(text).hasMatch()) found << word + " in \"" + text + "\"";
    }
    if (english && text.contains(QRegularExpression("[åäöÅÄÖ]"))) found << "\"" + text + "\"";
  }
  return found;
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { InstallTranslations("en", QString()); }

  void windowsSpeakTheEditionsLanguage_data();
  void windowsSpeakTheEditionsLanguage();
  void balloonsKnowTranslatedCaptions();
};

void LanguageTest::windowsSpeakTheEditionsLanguage_data() {
  QTest::addColumn<QString>("boardFile");
  QTest::addColumn<QString>("language");
  // Each edition's board file and translations stand beside the test, as beside the program.
  const QDir here(QCoreApplication::applicationDirPath());
  QTest::newRow("sv") << here.filePath("tomtura.lst") << "sv";
  QTest::newRow("en") << here.filePath("tomtura_en.lst") << "en";
}

void LanguageTest::windowsSpeakTheEditionsLanguage() {
  QFETCH(QString, boardFile);
  QFETCH(QString, language);
  const bool english = language == "en";
  const IniFile board = IniFile::Load(boardFile.toStdString());
  QCOMPARE(QString::fromStdString(board.GetString("EDITION", "Language", "")), language);
  InstallTranslations(language, QCoreApplication::applicationDirPath());
  Harness e({}, 7, boardFile);  // the edition's main window, with two persons at the table
  e.Start({0, 0});
  EditionDialogs dialogs(e);
  QList<QWidget*> windows{e.window.get()};
  for (const std::unique_ptr<QWidget>& window : dialogs.windows) windows << window.get();

  // Every window names the product in its title and shows no foreign word; in every window, and
  // in the menu bar and each menu, no two captions share a shortcut letter.
  const QStringList& foreignWords = english ? kSwedishWords : kEnglishWords;
  QStringList foreign, shared;
  for (QWidget* window : windows) {
    // The play window is titled by its page, without the product's name.
    const QString title = window->windowTitle();
    const bool named = title.contains("Tomtura") || qobject_cast<PlayWindow*>(window) != nullptr;
    QVERIFY2(named && !title.contains("Brikanda"), qPrintable(title));
    foreign << Foreign(ShownTexts(*window), foreignWords, english);
    for (const QStringList& group : ShortcutGroups(*window)) shared << SharedLetters(group);
  }
  QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join('\n')));
  QVERIFY2(shared.isEmpty(), qPrintable(shared.join('\n')));

  // Qt's file dialog, as the game opens it, and its own buttons, as in the game's questions.
  QFileDialog files(nullptr, QString(), e.dir.path(), "(*.tom)");
  files.setOption(QFileDialog::DontUseNativeDialog);
  const QStringList fileTexts = Foreign(ShownTexts(files), foreignWords, english);
  QVERIFY2(fileTexts.isEmpty(), qPrintable(fileTexts.join('\n')));

  QMessageBox box(QMessageBox::Question, QString(), QString(),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  const QStringList buttons = {box.button(QMessageBox::Yes)->text(),
                               box.button(QMessageBox::No)->text(),
                               box.button(QMessageBox::Cancel)->text()};
  QCOMPARE(buttons, english ? QStringList({"&Yes", "&No", "Cancel"})
                            : QStringList({"&Ja", "&Nej", "Avbryt"}));
}

// The balloons of the play window that depend on a caption find it in the language shown: the
// include box of a trade page and the house page's button.
void LanguageTest::balloonsKnowTranslatedCaptions() {
  constexpr int kTipPartnerDeal = 133;
  constexpr int kTipReturnHouse = 142;
  constexpr int kTipBuildHouse = 143;
  const QString here = QCoreApplication::applicationDirPath();
  InstallTranslations("sv", here);
  Harness e({}, 7, QDir(here).filePath("tomtura.lst"));
  e.Start({0, 0});
  PlayWindowDeals deals(*e.game);
  const std::pair<PlayPage, int> expected[] = {{PlayPage::Buy, kTipPartnerDeal},
                                               {PlayPage::Sell, kTipPartnerDeal},
                                               {PlayPage::BuyHouse, kTipBuildHouse},
                                               {PlayPage::SellHouse, kTipReturnHouse}};
  for (const auto& [page, tip] : expected) {
    PlayWindow window(*e.game, deals, e.picture, int(page), nullptr);
    const int id = tip == kTipPartnerDeal ? kIdPartner : kIdHouseButton;
    const QWidget* control = Control(window.page(int(page)), id);
    QCOMPARE(TooltipText(*control, *e.game), e.Text(tip));
  }
}

TOMTURA_TEST_SUITE(LanguageTest);
#include "language_test.moc"
